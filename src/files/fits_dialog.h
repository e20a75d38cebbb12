// FITS DETAILS: the dialog that shows and edits the FITS details, and the commands around it.
#pragma once
#include "platform/dialog.h"

class TFITSDialog : public Dialog {
public:
    static constexpr int RESOURCE = 11;
    TFITSDialog();
    void SetupWindow() override;
    void Paint(Painter&) override;
    bool CanClose() override;

    int time_value = 0;     // the hour offset shown

private:
    void ShowValues();
    void DecrementHr();
    void IncrementHr();
    void Set8bit();
    void SetSBIG();
    void EndDialog();
};

void CmFITSSave();
void CmEditFITSText();
void CmViewFITSText();

// Message boxes as QMessageBox windows without an owner, with plain text.
#pragma once
#include "platform/message_box.h"

class QtMessageBoxes : public MessageBoxes {
public:
    BoxAnswer show(const std::string& caption, const std::string& text, BoxButtons buttons, BoxIcon icon) override;
};

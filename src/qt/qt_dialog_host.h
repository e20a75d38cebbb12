// Dialogs shown as QDialog windows built from the dialog's control list. Each control becomes a
// widget at its pixel position (object name "control_ID"); the widgets mirror the dialog's state
// and report the user's clicks, scroll-bar actions, edits and the close box back to the dialog.
// Changes made by the program update the widgets without being reported back.
#pragma once
#include <QDialog>
#include <QPointer>
#include <memory>
#include <vector>

#include "platform/dialog.h"

class DialogWindow;

class QtDialogHost : public DialogHost {
public:
    // PARENT owns modeless dialogs and is the owner of modal ones when no other is open.
    void set_parent(QWidget* parent) { parent_ = parent; }
    int run_modal(Dialog& dialog) override;
    void create_modeless(Dialog& dialog) override;
    // The dialog window opened last that is still open (modal or modeless), or nullptr.
    QDialog* last_open() const;

private:
    QWidget* owner() const;
    QPointer<QWidget> parent_;
    std::vector<QPointer<QDialog>> opened_;
};

// The window of one dialog.
class DialogWindow : public QDialog {
    Q_OBJECT
public:
    DialogWindow(Dialog& dialog, bool modal, QWidget* parent);
    ~DialogWindow() override;

    Dialog* dialog() const { return dialog_; }
    QWidget* control_widget(int id) const;
    // Modal: the nested loop, unless the dialog already ended while it was being set up.
    int run();

    // What the dialog's view asks for.
    void sync_control(int id);
    void sync_caption();
    void end(int result);
    void remove(int result);

public slots:
    void reject() override;   // Escape and the close box: the dialog decides

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void place_by_flow();
    QWidget* make_widget(size_t index);
    void sync(size_t index);
    bool alive() const { return dialog_ != nullptr; }
    void clicked(size_t index);
    void scrolled(size_t index, ScrollCode code, int pos);
    void typed(size_t index, const std::string& text);

    Dialog* dialog_;
    std::unique_ptr<DialogView> view_;
    std::vector<QWidget*> widgets_;      // one per control, in the dialog's order
    std::vector<bool> crlf_;             // multi-line edits whose text uses CR LF line ends
    std::vector<bool> thumb_released_;   // scroll bars: the thumb was let go in this release
    bool modal_;
    bool ended_ = false;
    bool syncing_ = false;
    int result_ = IDCANCEL;
};

// The headless implementations of the platform services, answering from the script and
// printing transcript lines.
#pragma once
#include <string>

#include "platform/desktop.h"
#include "platform/dialog.h"
#include "platform/event_pump.h"
#include "platform/file_dialog.h"
#include "platform/main_frame.h"
#include "platform/message_box.h"
#include "script_session.h"

class HeadlessBoxes : public MessageBoxes {
public:
    explicit HeadlessBoxes(ScriptSession& s) : session_(s) {}
    BoxAnswer show(const std::string& caption, const std::string& text, BoxButtons buttons, BoxIcon) override
    {
        return session_.answer_box(caption, text, buttons);
    }
private:
    ScriptSession& session_;
};

class HeadlessFileDialogs : public FileDialogs {
public:
    explicit HeadlessFileDialogs(ScriptSession& s) : session_(s) {}
    std::optional<std::string> choose(const FileDialogRequest& request) override { return session_.answer_file_dialog(request); }
private:
    ScriptSession& session_;
};

class HeadlessPump : public EventPump {
public:
    explicit HeadlessPump(ScriptSession& s) : session_(s) {}
    void drain(const std::function<void(PressKind)>& on_press) override { session_.drain(on_press); }
    bool quitting() const override { return session_.quitting(); }
private:
    ScriptSession& session_;
};

class HeadlessDesktop : public Desktop {
public:
    explicit HeadlessDesktop(ScriptSession& s) : session_(s) {}
    void set_cursor(CursorShape shape) override { cursor_ = shape; }
    CursorShape cursor() const override { return cursor_; }
    void beep() override { session_.print("beep"); }
    ScreenPoint pointer() const override { return pointer_; }
    void move_pointer(ScreenPoint p) override { pointer_ = p; }
    bool show_help(const std::string& index_file) override;
private:
    ScriptSession& session_;
    CursorShape cursor_ = CursorShape::Arrow;
    ScreenPoint pointer_;
};

class HeadlessFrame : public MainFrame {
public:
    explicit HeadlessFrame(ScriptSession& s) : session_(s) {}
    void set_caption(const std::string& caption) override;
    std::string caption() const override { return caption_; }
    void invalidate() override { dirty_ = true; }
    void repaint_now() override;
    ClientSize client_size() const override { return {702, 400}; }
    void set_scroll_range(int x_range, int y_range) override;
    void scroll_to(int x, int y) override;
    int scroll_x() const override { return scroll_x_; }
    int scroll_y() const override { return scroll_y_; }
    void set_telescope_button(bool present) override { telescope_button_ = present; }
    void close() override { session_.request_quit(); }

    bool telescope_button() const { return telescope_button_; }
    void paint_if_dirty() { if (dirty_) repaint_now(); }

private:
    ScriptSession& session_;
    std::string caption_ = "Skyvane";
    bool dirty_ = false;
    int x_range_ = 200, y_range_ = 200, scroll_x_ = 0, scroll_y_ = 0;
    bool telescope_button_ = false;
};

class HeadlessDialogHost : public DialogHost {
public:
    explicit HeadlessDialogHost(ScriptSession& s) : session_(s) {}
    int run_modal(Dialog& dialog) override { return session_.run_modal(dialog); }
    void create_modeless(Dialog& dialog) override { session_.open_modeless(dialog); }
private:
    ScriptSession& session_;
};

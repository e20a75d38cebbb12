// Dialogs written once, shown by either backend. A dialog holds the state of its controls
// (addressed by numeric id); the backend's view mirrors that state and reports the user's
// actions back as clicks, scroll notifications and edits, which the dialog's response table
// maps to its handlers.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "painter.h"

enum class ControlKind {
    Button, DefaultButton, CheckBox, RadioButton, Edit, MultiLineEdit,
    HScroll, VScroll, Static, GroupBox, PaintArea
};

enum class ScrollCode { LineUp, LineDown, PageUp, PageDown, ThumbTrack, ThumbPosition, EndScroll, Press, Release };

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;

struct ControlSpec {
    int id = -1;            // -1 for static texts nobody addresses
    ControlKind kind = ControlKind::Static;
    std::string text;
    int x = 0, y = 0, w = 0, h = 0;   // layout in pixels of the dialog's client area
    int group = 0;          // radio buttons of one group share a number
};

struct ControlState {
    ControlSpec def;         // what the dialog declared for the control
    std::string text;       // edits and statics; captions of buttons
    int checked = 0;        // check boxes and radio buttons
    int pos = 0, min = 0, max = 100, page = 10;   // scroll bars
    bool enabled = true;
    bool visible = true;
};

class Dialog;

// What a backend does for one shown dialog.
class DialogView {
public:
    virtual ~DialogView() = default;
    virtual void control_changed(int id) = 0;   // state of a control changed in the model
    virtual void caption_changed() = 0;
    virtual void invalidate() = 0;              // repaint the dialog's drawing
    virtual void end_modal(int result) = 0;     // modal dialogs: leave the nested loop
    virtual void destroy(int result) = 0;       // modeless dialogs: remove the window
    virtual void raise() {}
};

// The backend side: runs a dialog modally or creates it modelessly.
class DialogHost {
public:
    virtual ~DialogHost() = default;
    virtual int run_modal(Dialog& dialog) = 0;
    virtual void create_modeless(Dialog& dialog) = 0;
};

class Dialog {
public:
    Dialog(int resource, std::string caption, int width, int height, std::vector<ControlSpec> controls);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Running.
    int Execute();          // modal; returns the id that closed it
    void Create();          // modeless; stays until CloseWindow or the close box
    void CloseWindow(int result = IDCANCEL);
    bool is_open() const { return view_ != nullptr; }
    bool is_modal() const { return modal_; }

    // Hooks a dialog class overrides.
    virtual void SetupWindow() {}                 // after the view exists, before it shows
    virtual void Paint(Painter&) {}               // the dialog's own drawing
    virtual bool CanClose() { return true; }      // OK pressed: may the dialog close?
    virtual void Destroyed() {}                   // after a modeless dialog has gone

    // Control access.
    void SetText(int id, const std::string& text);
    std::string GetText(int id) const;
    void SetCheck(int id, int checked);
    int GetCheck(int id) const;
    void SetScrollRange(int id, int min, int max, int page = 1);
    void SetScrollPos(int id, int pos);
    int GetScrollPos(int id) const;
    void EnableControl(int id, bool enabled);
    void ShowControl(int id, bool visible);
    void SetCaption(const std::string& caption);
    void Invalidate();
    bool has_control(int id) const;

    // Response table.
    void on_click(int id, std::function<void()> handler);
    void on_scroll(int id, std::function<void(ScrollCode, int)> handler);
    void on_change(int id, std::function<void()> handler);

    // What the backend reports.
    void user_clicked(int id);
    void user_scrolled(int id, ScrollCode code, int pos);
    void user_typed(int id, const std::string& text);
    void user_closed();     // the close box

    // What the backend reads.
    int resource() const { return resource_; }
    const std::string& caption() const { return caption_; }
    int width() const { return width_; }
    int height() const { return height_; }
    const std::vector<ControlState>& controls() const { return controls_; }
    const ControlState* control(int id) const;

    // Backends attach and detach their view.
    void attach(DialogView* view, bool modal);
    void detach();

private:
    ControlState* find(int id);
    void changed(int id);

    int resource_;
    std::string caption_;
    int width_, height_;
    std::vector<ControlState> controls_;
    std::map<int, std::function<void()>> clicks_;
    std::map<int, std::function<void(ScrollCode, int)>> scrolls_;
    std::map<int, std::function<void()>> changes_;
    DialogView* view_ = nullptr;
    bool modal_ = false;
};

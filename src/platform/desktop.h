// Small desktop services: cursor shape, beep, pointer position, help viewer.
#pragma once
#include <string>

enum class CursorShape { Arrow, Wait, Cross, UpArrow };

struct ScreenPoint { int x = 0; int y = 0; };

class Desktop {
public:
    virtual ~Desktop() = default;
    virtual void set_cursor(CursorShape shape) = 0;
    virtual CursorShape cursor() const = 0;
    virtual void beep() = 0;
    // Pointer position in client coordinates of the main window, and moving it there.
    virtual ScreenPoint pointer() const = 0;
    virtual void move_pointer(ScreenPoint p) = 0;
    // Opens the help pages at their contents; false when no help can be shown.
    virtual bool show_help(const std::string& index_file) = 0;
};

// Shows the wait cursor for the life of the guard and restores the previous one on every exit.
class WaitCursor {
public:
    explicit WaitCursor(Desktop& d) : desktop_(d), previous_(d.cursor()) { d.set_cursor(CursorShape::Wait); }
    ~WaitCursor() { desktop_.set_cursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
private:
    Desktop& desktop_;
    CursorShape previous_;
};

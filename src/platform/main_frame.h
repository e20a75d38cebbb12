// The main frame as the logic sees it: caption, the client window's repaint and scrolling, and the
// control bar's optional telescope button. The backend asks the logic for the client window's
// drawing (app's paint routine) and for menu item states (the command enablers).
#pragma once
#include <string>

struct ClientSize { int width = 0; int height = 0; };

class MainFrame {
public:
    virtual ~MainFrame() = default;
    virtual void set_caption(const std::string& caption) = 0;
    virtual std::string caption() const = 0;
    virtual void invalidate() = 0;                 // repaint the client window soon
    virtual void repaint_now() = 0;                // repaint the client window at once
    virtual ClientSize client_size() const = 0;
    virtual void set_scroll_range(int x_range, int y_range) = 0;
    virtual void scroll_to(int x, int y) = 0;
    virtual int scroll_x() const = 0;
    virtual int scroll_y() const = 0;
    virtual void set_telescope_button(bool present) = 0;
    virtual bool is_minimized() const { return false; }
    virtual void close() = 0;                      // E&xit
};

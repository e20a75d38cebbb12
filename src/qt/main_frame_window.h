// The decorated frame: menu bar, accelerators, the control bar of picture buttons (identifier
// 32041), the status bar with its hints and key indicators, and the scrolling client view. Menu
// items, accelerators and buttons send their command numbers to the command map; item states come
// from the command enablers when a menu is about to show and, for the buttons and the menu-bar
// items, at every idle tick.
#pragma once
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <vector>

#include "platform/main_frame.h"

class QAction;
class QLabel;
class QMenu;
class QTimer;
class QToolBar;
class ClientView;

class MainFrameWindow : public QMainWindow, public MainFrame {
    Q_OBJECT
public:
    MainFrameWindow();
    ~MainFrameWindow() override;

    // MainFrame
    void set_caption(const std::string& caption) override;
    std::string caption() const override;
    void invalidate() override;
    void repaint_now() override;
    ClientSize client_size() const override;
    void set_scroll_range(int x_range, int y_range) override;
    void scroll_to(int x, int y) override;
    int scroll_x() const override;
    int scroll_y() const override;
    void set_telescope_button(bool present) override;
    bool is_minimized() const override { return isMinimized(); }
    void close() override;

    ClientView* client() const { return client_; }
    QToolBar* control_bar() const { return bar_; }
    // The command number behind a menu item, menu-bar item or button (0 for none).
    static int command_of(const QAction* action);
    // Runs when the frame is closed (the program ends).
    void on_closed(std::function<void()> handler) { on_closed_ = std::move(handler); }
    // Brings every button and menu-bar item up to date with the enablers.
    void update_command_states();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build_menus();
    void build_accelerators();
    void build_control_bar();
    void build_status_bar();
    QAction* command_action(int command, const QString& text);
    void add_button(QAction* button);
    void update_menu(QMenu* menu);
    void trigger(int command);
    void update_indicators(const QKeyEvent* key);

    ClientView* client_ = nullptr;
    QToolBar* bar_ = nullptr;
    QAction* telescope_ = nullptr;
    std::vector<QAction*> bar_items_;   // buttons and the menu-bar items, refreshed when idle
    QTimer* idle_ = nullptr;
    QLabel* caps_ = nullptr;
    QLabel* num_ = nullptr;
    QLabel* overtype_ = nullptr;
    bool caps_on_ = false, num_on_ = false, overtype_on_ = false;
    std::function<void()> on_closed_;
};

// Cursor shapes, beep, pointer position over the main window's client area, and the help viewer.
#pragma once
#include <QPointer>
#include <QWidget>

#include "platform/desktop.h"

#include <QTextBrowser>

class QtDesktop : public Desktop {
public:
    ~QtDesktop() override;
    // The widget whose coordinates pointer() and move_pointer() use.
    void set_client(QWidget* client) { client_ = client; }

    void set_cursor(CursorShape shape) override;
    CursorShape cursor() const override { return shape_; }
    void beep() override;
    ScreenPoint pointer() const override;
    void move_pointer(ScreenPoint p) override;
    bool show_help(const std::string& index_file) override;
    QTextBrowser* help_window() const { return help_; }

private:
    CursorShape shape_ = CursorShape::Arrow;
    QPointer<QWidget> client_;
    QPointer<QTextBrowser> help_;
};

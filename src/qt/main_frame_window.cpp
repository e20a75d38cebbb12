#include "main_frame_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "app/core/commands.h"
#include "app/core/menu_table.h"
#include "client_view.h"
#include "control_bar_icons.h"

namespace {
constexpr const char* COMMAND = "command";
constexpr const char* BITMAP = "bitmap";

QFont gadget_font(const QFont& base)
{
    QFont f = base;
    f.setPointSize(10);
    return f;
}

Qt::Key letter_key(char letter)
{
    return static_cast<Qt::Key>(Qt::Key_A + (letter - 'A'));
}
}

MainFrameWindow::MainFrameWindow()
{
    setObjectName("frame");
    setWindowTitle("Skyvane");
    client_ = new ClientView(this);
    setCentralWidget(client_);
    build_menus();
    build_accelerators();
    build_control_bar();
    build_status_bar();
    move(0, 0);
    resize(710, 500);

    // Button states follow the enablers while the program is idle.
    idle_ = new QTimer(this);
    idle_->setInterval(250);
    connect(idle_, &QTimer::timeout, this, &MainFrameWindow::update_command_states);
    idle_->start();
    qApp->installEventFilter(this);
}

MainFrameWindow::~MainFrameWindow()
{
    qApp->removeEventFilter(this);
}

int MainFrameWindow::command_of(const QAction* action)
{
    return action ? action->property(COMMAND).toInt() : 0;
}

QAction* MainFrameWindow::command_action(int command, const QString& text)
{
    auto* action = new QAction(text, this);
    action->setProperty(COMMAND, command);
    action->setStatusTip(QString::fromStdString(command_hint(command)));
    connect(action, &QAction::triggered, this, [this, command] { trigger(command); });
    return action;
}

void MainFrameWindow::build_menus()
{
    QMenuBar* bar = menuBar();
    for (const Menu& menu : menu_bar()) {
        const QString title = QString::fromStdString(menu.title);
        if (menu.command != 0) {
            QAction* single = command_action(menu.command, title);
            bar->addAction(single);
            bar_items_.push_back(single);
            continue;
        }
        QMenu* pull_down = bar->addMenu(title);
        for (const MenuItem& item : menu.items) {
            if (item.id == 0) {
                pull_down->addSeparator();
                continue;
            }
            // The shortcut text follows a tab exactly as written ("CTL+O", "Ctl+Q "); the
            // action carries no key sequence of its own, so Qt adds nothing to it.
            pull_down->addAction(command_action(item.id, QString::fromStdString(item.text())));
        }
        connect(pull_down, &QMenu::aboutToShow, this, [this, pull_down] { update_menu(pull_down); });
    }
}

void MainFrameWindow::update_menu(QMenu* menu)
{
    for (QAction* action : menu->actions()) {
        const int command = command_of(action);
        if (command == 0)
            continue;
        const CommandState state = command_state(command);
        action->setEnabled(state.enabled);
        action->setCheckable(state.checked);
        action->setChecked(state.checked);
    }
}

void MainFrameWindow::build_accelerators()
{
    for (const Accelerator& key : accelerators()) {
        QKeyCombination combination(letter_key(key.key));
        if (key.control)
            combination = QKeyCombination(Qt::ControlModifier, letter_key(key.key));
        else if (key.alt)
            combination = QKeyCombination(Qt::AltModifier, letter_key(key.key));
        auto* shortcut = new QShortcut(QKeySequence(combination), this);
        shortcut->setContext(Qt::WindowShortcut);
        shortcut->setObjectName(QString("accelerator_%1").arg(key.command));
        const int command = key.command;
        connect(shortcut, &QShortcut::activated, this, [this, command] { trigger(command); });
    }
}

void MainFrameWindow::build_control_bar()
{
    bar_ = new QToolBar("Control bar", this);
    bar_->setObjectName(QString::number(CONTROL_BAR_ID));
    bar_->setMovable(false);
    bar_->setFloatable(false);
    bar_->setIconSize(QSize(32, 32));
    bar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar_->setFont(gadget_font(font()));
    bar_->toggleViewAction()->setVisible(false);
    bar_->setContextMenuPolicy(Qt::PreventContextMenu);
    // Picture buttons sit close together as on the original bar; the gaps are explicit.
    bar_->layout()->setSpacing(0);
    bar_->setStyleSheet("QToolButton { padding: 0px; margin: 0px; }");
    addToolBar(Qt::TopToolBarArea, bar_);
    for (const ControlBarEntry& entry : ::control_bar()) {
        if (entry.bitmap == 0) {
            auto* gap = new QWidget(bar_);
            gap->setFixedWidth(entry.gap);
            bar_->addWidget(gap);
            continue;
        }
        QString hint = QString::fromStdString(command_hint(entry.command));
        QAction* button = command_action(entry.command, hint.isEmpty() ? QString("Command %1").arg(entry.command) : hint);
        button->setProperty(BITMAP, entry.bitmap);
        button->setIcon(QIcon(control_bar_picture(entry.bitmap)));
        add_button(button);
        bar_items_.push_back(button);
    }
}

void MainFrameWindow::add_button(QAction* button)
{
    bar_->addAction(button);
    QWidget* widget = bar_->widgetForAction(button);
    widget->setFixedSize(34, 34);   // the 32 x 32 picture and its edge
    widget->installEventFilter(this);
}

void MainFrameWindow::set_telescope_button(bool present)
{
    if (present && !telescope_) {
        telescope_ = command_action(TELESCOPE_BUTTON, QString::fromStdString(command_hint(TELESCOPE_BUTTON)));
        telescope_->setProperty(BITMAP, TELESCOPE_BUTTON);
        telescope_->setIcon(QIcon(control_bar_picture(TELESCOPE_BUTTON)));
        add_button(telescope_);
        bar_items_.push_back(telescope_);
        update_command_states();
    } else if (!present && telescope_) {
        bar_->removeAction(telescope_);
        std::erase(bar_items_, telescope_);
        telescope_->deleteLater();
        telescope_ = nullptr;
    }
}

void MainFrameWindow::build_status_bar()
{
    QStatusBar* status = statusBar();
    status->setFont(gadget_font(font()));
    status->setSizeGripEnabled(false);
    auto indicator = [status](const char* name) {
        auto* label = new QLabel(status);
        label->setObjectName(name);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance("CAPS") + 12);
        status->addPermanentWidget(label);
        return label;
    };
    caps_ = indicator("caps_lock");
    num_ = indicator("num_lock");
    overtype_ = indicator("overtype");
    update_indicators(nullptr);
}

// The lock indicators: from the key state the window system reports where it does (X11 state
// bits LockMask and Mod2Mask), otherwise by following the lock keys.
void MainFrameWindow::update_indicators(const QKeyEvent* key)
{
    if (key && key->type() == QEvent::KeyPress) {
        const bool x11 = QGuiApplication::platformName() == "xcb";
        const quint32 state = key->nativeModifiers();
        if (x11) {
            caps_on_ = (state & 0x02) != 0;
            num_on_ = (state & 0x10) != 0;
            // The state is the one before this key took effect.
            if (key->key() == Qt::Key_CapsLock)
                caps_on_ = !caps_on_;
            if (key->key() == Qt::Key_NumLock)
                num_on_ = !num_on_;
        } else {
            if (key->key() == Qt::Key_CapsLock)
                caps_on_ = !caps_on_;
            if (key->key() == Qt::Key_NumLock)
                num_on_ = !num_on_;
        }
        if (key->key() == Qt::Key_Insert && !key->isAutoRepeat())
            overtype_on_ = !overtype_on_;
    }
    caps_->setText(caps_on_ ? "CAPS" : "");
    num_->setText(num_on_ ? "NUM" : "");
    overtype_->setText(overtype_on_ ? "OVR" : "");
}

bool MainFrameWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The control bar shows its hints in the status bar only, not as tool tips.
    if (event->type() == QEvent::ToolTip && qobject_cast<QToolButton*>(watched) && watched->parent() == bar_)
        return true;
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() && !static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
        // Each key press passes once per receiver; the window copy is skipped.
        update_indicators(static_cast<QKeyEvent*>(event));
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainFrameWindow::update_command_states()
{
    for (QAction* action : bar_items_)
        action->setEnabled(command_state(command_of(action)).enabled);
}

void MainFrameWindow::trigger(int command)
{
    // An accelerator or button whose item is disabled does nothing; during a long operation the
    // command map itself refuses exclusive commands with a beep.
    if (!command_state(command).enabled && !long_operation_running())
        return;
    dispatch_command(command);
}

void MainFrameWindow::set_caption(const std::string& caption)
{
    setWindowTitle(QString::fromStdString(caption));
}

std::string MainFrameWindow::caption() const
{
    return windowTitle().toStdString();
}

void MainFrameWindow::invalidate()
{
    client_->viewport()->update();
}

void MainFrameWindow::repaint_now()
{
    client_->repaint_now();
}

ClientSize MainFrameWindow::client_size() const
{
    return {client_->viewport()->width(), client_->viewport()->height()};
}

void MainFrameWindow::set_scroll_range(int x_range, int y_range) { client_->set_scroll_range(x_range, y_range); }
void MainFrameWindow::scroll_to(int x, int y) { client_->scroll_to(x, y); }
int MainFrameWindow::scroll_x() const { return client_->scroll_x(); }
int MainFrameWindow::scroll_y() const { return client_->scroll_y(); }

void MainFrameWindow::close()
{
    QMainWindow::close();
}

void MainFrameWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    idle_->stop();
    if (on_closed_)
        on_closed_();
}

// The real Qt window on the offscreen platform: the frame and its decorations, the enablers,
// the first refresh, the stop poll's press counting, dialogs built from control lists, and the
// file dialog's filters.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>
#include <cstdlib>
#include <memory>

#include "app/application.h"
#include "app/core/commands.h"
#include "app/core/menu_table.h"
#include "platform/dialog.h"
#include "platform/services.h"
#include "qt/client_view.h"
#include "qt/main_frame_window.h"
#include "qt/qt_backend.h"
#include "qt/qt_file_dialogs.h"

// The window system's own key path (shortcut map, ShortcutOverride, KeyPress), as QtTest uses it.
Q_GUI_EXPORT void qt_handleKeyEvent(QWindow* window, QEvent::Type type, int key, Qt::KeyboardModifiers mods,
                                    const QString& text = QString(), bool autorep = false, ushort count = 1);

namespace {
QApplication& application()
{
    static int argc = 1;
    static char name[] = "test_qt";
    static char* argv[] = {name, nullptr};
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// Lets the event loop run for MS milliseconds.
void pump_for(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs WORK from the event loop after MS milliseconds (used to answer modal windows).
void later(int ms, std::function<void()> work)
{
    QTimer::singleShot(ms, qApp, std::move(work));
}

class QtWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        application();
        char pattern[] = "/tmp/skyvane-qt-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        setenv("SKYVANE_ROOT", root_.c_str(), 1);
        backend_ = std::make_unique<QtBackend>(Paths::default_root());
        backend_->install();
        start_program();
        frame().update_command_states();
        frame().show();
        pump_for(50);
    }

    void TearDown() override
    {
        backend_.reset();
        QDir(QString::fromStdString(root_)).removeRecursively();
    }

    MainFrameWindow& frame() { return *backend_->frame; }

    QMenu* menu(const QString& title)
    {
        for (QAction* a : frame().menuBar()->actions())
            if (a->text() == title && a->menu())
                return a->menu();
        return nullptr;
    }

    static QAction* item(QMenu* menu, int command)
    {
        for (QAction* a : menu->actions())
            if (MainFrameWindow::command_of(a) == command)
                return a;
        return nullptr;
    }

    // Shows MENU as the user would, so its enablers run, and closes it again.
    static void open_and_close(QMenu* menu)
    {
        menu->popup(QPoint(0, 0));
        pump_for(20);
        menu->hide();
    }

    std::vector<QAction*> buttons()
    {
        std::vector<QAction*> out;
        for (QAction* a : frame().control_bar()->actions())
            if (MainFrameWindow::command_of(a) != 0)
                out.push_back(a);
        return out;
    }

    std::string root_;
    std::unique_ptr<QtBackend> backend_;
};

TEST_F(QtWindowTest, FrameHasTheCaptionPlaceAndMenuBar)
{
    EXPECT_EQ(frame().windowTitle(), "Skyvane");
    EXPECT_EQ(frame().pos(), QPoint(0, 0));
    EXPECT_EQ(frame().size(), QSize(710, 500));

    QStringList titles;
    for (QAction* a : frame().menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles, QStringList({"&File", "&Edit", "&View", "&Label", "&Contrast", "Filter&s ", "&Merging",
                                   "&Histogram", "Help"}));
    // Label and Histogram are commands on the bar itself, without a pull-down.
    for (QAction* a : frame().menuBar()->actions())
        if (a->text() == "&Label" || a->text() == "&Histogram") {
            EXPECT_EQ(a->menu(), nullptr) << a->text().toStdString();
        }

    struct Case { const char* menu; int command; const char* text; };
    const Case cases[] = {
        {"&File", 24332, "&Open...\tCTL+O"},
        {"&File", 24336, "&Quick Save as FITS...\tCtl+Q "},
        {"&File", 24310, "E&xit"},
        {"&Edit", 9, "&Undo Last Filter\tCTL+U"},
        {"&Contrast", 120, "&Remove Background\tCTL+B "},
    };
    for (const Case& c : cases) {
        QMenu* m = menu(c.menu);
        ASSERT_NE(m, nullptr) << c.menu;
        QAction* a = item(m, c.command);
        ASSERT_NE(a, nullptr) << c.command;
        EXPECT_EQ(a->text(), QString(c.text));
        // The shortcut text is the item's own; a key sequence on the action would add Qt's.
        EXPECT_TRUE(a->shortcut().isEmpty()) << c.command;
    }
    EXPECT_EQ(item(menu("&File"), 24332)->statusTip(), "Get an image from Disk");
}

TEST_F(QtWindowTest, EnablersDisableAndCheckItemsWhenTheMenuOpens)
{
    QMenu* file = menu("&File");
    open_and_close(file);
    // The telescope setting is 'n' before any settings file exists.
    for (int command : {22, 23, 24})
        EXPECT_FALSE(item(file, command)->isEnabled()) << command;
    EXPECT_TRUE(item(file, 24332)->isEnabled());

    QMenu* view = menu("&View");
    open_and_close(view);
    EXPECT_FALSE(item(view, 118)->isChecked());
    dispatch_command(118);
    open_and_close(view);
    EXPECT_TRUE(item(view, 118)->isCheckable());
    EXPECT_TRUE(item(view, 118)->isChecked());
    EXPECT_FALSE(item(view, 301)->isChecked());
    dispatch_command(118);
    open_and_close(view);
    EXPECT_FALSE(item(view, 118)->isChecked());
}

TEST_F(QtWindowTest, ControlBarHasItsButtonsAndTheTelescopeButtonComesAndGoes)
{
    QToolBar* bar = frame().control_bar();
    EXPECT_EQ(bar->objectName(), QString::number(CONTROL_BAR_ID));
    EXPECT_EQ(bar->iconSize(), QSize(32, 32));
    EXPECT_EQ(bar->font().pointSize(), 10);
    auto list = buttons();
    ASSERT_EQ(list.size(), 17u);
    EXPECT_EQ(MainFrameWindow::command_of(list.front()), 24333);
    EXPECT_EQ(MainFrameWindow::command_of(list[1]), 24335);
    EXPECT_EQ(MainFrameWindow::command_of(list.back()), 111);
    for (QAction* a : list) {
        EXPECT_NE(MainFrameWindow::command_of(a), TELESCOPE_BUTTON);
        // Every button fits on the bar of a 710-pixel frame (none in the overflow menu).
        EXPECT_TRUE(bar->widgetForAction(a)->isVisible()) << MainFrameWindow::command_of(a);
    }
    EXPECT_EQ(list[3]->statusTip(), "Main Camera Control");

    frame().set_telescope_button(true);
    list = buttons();
    ASSERT_EQ(list.size(), 18u);
    EXPECT_EQ(MainFrameWindow::command_of(list.back()), TELESCOPE_BUTTON);
    // Its enabler follows the telescope setting, still 'n'.
    EXPECT_FALSE(list.back()->isEnabled());
    frame().set_telescope_button(false);
    EXPECT_EQ(buttons().size(), 17u);
}

TEST_F(QtWindowTest, ClientAreaShowsTheBackgroundUntilTheFirstRefreshThenTheImage)
{
    ClientView* client = frame().client();
    const QImage before = client->viewport()->grab().toImage();
    ASSERT_FALSE(before.isNull());
    bool only_background = true;
    for (int y = 0; y < before.height(); y += 7)
        for (int x = 0; x < before.width(); x += 7)
            if (before.pixelColor(x, y) != QColor(192, 192, 192))
                only_background = false;
    EXPECT_TRUE(only_background);

    dispatch_command(118);
    pump_for(50);
    const QImage after = client->viewport()->grab().toImage();
    after.save("qt_smoke_false_colour.png");
    // The false-colour palette: dark blue-red at the bottom of the ramp, red above green and
    // blue in the middle, none of it grey.
    int coloured = 0;
    for (int y = 0; y < after.height(); y += 5)
        for (int x = 0; x < after.width(); x += 5) {
            const QColor c = after.pixelColor(x, y);
            if (c.red() > c.green() && c.red() > c.blue())
                ++coloured;
        }
    EXPECT_GT(coloured, 100);
    EXPECT_TRUE(frame().windowTitle().startsWith("Skyvane - ")) << frame().windowTitle().toStdString();
}

TEST_F(QtWindowTest, AltXClosesTheFrameAndEndsTheProgram)
{
    auto* shortcut = frame().findChild<QShortcut*>("accelerator_24310");
    ASSERT_NE(shortcut, nullptr);
    EXPECT_EQ(shortcut->key(), QKeySequence(Qt::ALT | Qt::Key_X));
    frame().activateWindow();
    pump_for(20);
    qt_handleKeyEvent(frame().windowHandle(), QEvent::KeyPress, Qt::Key_X, Qt::AltModifier, "x");
    qt_handleKeyEvent(frame().windowHandle(), QEvent::KeyRelease, Qt::Key_X, Qt::AltModifier, "x");
    pump_for(20);
    EXPECT_FALSE(frame().isVisible());
    EXPECT_TRUE(backend_->pump.quitting());
}

// The stop poll hears presses taken from the queue at its own level, once each; a key that a
// message box opened inside the operation consumes is the box's.
TEST_F(QtWindowTest, PumpCountsPressesAtItsOwnLevelOnly)
{
    QWidget* viewport = frame().client()->viewport();
    std::vector<PressKind> seen;
    auto record = [&](PressKind k) { seen.push_back(k); };

    // A key through the window system's path (ShortcutOverride, then KeyPress) and a left and a
    // right button press.
    frame().activateWindow();
    pump_for(20);
    QMetaObject::invokeMethod(qApp, [&] {
        qt_handleKeyEvent(frame().windowHandle(), QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    }, Qt::QueuedConnection);
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton})
        QCoreApplication::postEvent(viewport, new QMouseEvent(QEvent::MouseButtonPress, QPointF(5, 5),
                                                              viewport->mapToGlobal(QPointF(5, 5)), b, b, Qt::NoModifier));
    backend_->pump.drain(record);
    EXPECT_EQ(seen, (std::vector<PressKind>{PressKind::Key, PressKind::LeftButton, PressKind::RightButton}));

    // Outside drain nothing is counted.
    seen.clear();
    QCoreApplication::postEvent(viewport, new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a"));
    pump_for(20);
    EXPECT_TRUE(seen.empty());

    // A message box opened by something the drain dispatched takes its own Return key; the key
    // posted after it reaches the poll.
    BoxAnswer answer = BoxAnswer::Cancel;
    QMetaObject::invokeMethod(qApp, [&] {
        later(50, [] {
            if (QWidget* box = QApplication::activeModalWidget())
                QCoreApplication::postEvent(box, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r"));
        });
        answer = services().boxes->show("Skyvane", "Stop?", BoxButtons::OkCancel);
        QCoreApplication::postEvent(viewport, new QKeyEvent(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, "b"));
    }, Qt::QueuedConnection);
    backend_->pump.drain(record);
    EXPECT_EQ(answer, BoxAnswer::Ok);
    EXPECT_EQ(seen, std::vector<PressKind>{PressKind::Key});
}

// A small dialog with one control of each kind that reports back.
class SampleDialog : public Dialog {
public:
    SampleDialog()
        : Dialog(99, "Sample", 200, 150, {
              {101, ControlKind::CheckBox, "&Check", 10, 10, 90, 18},
              {102, ControlKind::RadioButton, "One", 10, 30, 60, 18, 1},
              {103, ControlKind::RadioButton, "Two", 80, 30, 60, 18, 1},
              {104, ControlKind::Edit, "", 10, 52, 100, 20},
              {105, ControlKind::HScroll, "", 10, 78, 120, 16},
              {-1, ControlKind::Static, "&Value", 140, 78, 50, 16},
              {IDOK, ControlKind::DefaultButton, "OK", 10, 110, 60, 24},
          })
    {
        on_click(101, [this] { ++check_clicks; });
        on_change(104, [this] { ++edits; });
        on_scroll(105, [this](ScrollCode code, int) {
            codes.push_back(code);
            if (code == ScrollCode::LineDown)
                SetScrollPos(105, GetScrollPos(105) + 1);
        });
    }
    void SetupWindow() override
    {
        SetCheck(101, 1);
        SetCheck(102, 1);
        SetScrollRange(105, 10, 16);
        SetScrollPos(105, 12);
        if (close_in_setup)
            CloseWindow(IDCANCEL);
    }
    void Paint(Painter& p) override { p.fill_rect({150, 110, 190, 140}, {255, 0, 0}); }
    void Destroyed() override { ++destroyed; }

    int check_clicks = 0, edits = 0, destroyed = 0;
    bool close_in_setup = false;
    std::vector<ScrollCode> codes;
};

TEST_F(QtWindowTest, ModelessDialogMirrorsItsControlsAndReportsTheUser)
{
    SampleDialog dialog;
    dialog.Create();
    auto* window = qobject_cast<DialogWindow*>(backend_->dialogs.last_open());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Sample");
    EXPECT_EQ(window->size(), QSize(200, 150));
    pump_for(20);

    auto* check = window->findChild<QCheckBox*>("control_101");
    auto* one = window->findChild<QRadioButton*>("control_102");
    auto* two = window->findChild<QRadioButton*>("control_103");
    auto* edit = window->findChild<QLineEdit*>("control_104");
    auto* bar = window->findChild<QScrollBar*>("control_105");
    ASSERT_TRUE(check && one && two && edit && bar);
    EXPECT_EQ(check->geometry(), QRect(10, 10, 90, 18));
    EXPECT_TRUE(check->isChecked());
    EXPECT_TRUE(one->isChecked());
    EXPECT_EQ(bar->value(), 12);

    check->click();
    EXPECT_EQ(dialog.GetCheck(101), 0);
    EXPECT_FALSE(check->isChecked());
    EXPECT_EQ(dialog.check_clicks, 1);

    // Radio buttons of a group: the dialog keeps them exclusive; clicking the checked one again
    // leaves it checked.
    two->click();
    EXPECT_EQ(dialog.GetCheck(103), 1);
    EXPECT_EQ(dialog.GetCheck(102), 0);
    EXPECT_FALSE(one->isChecked());
    two->click();
    EXPECT_TRUE(two->isChecked());
    EXPECT_EQ(dialog.GetCheck(103), 1);

    // The program's text shows without being reported back; the user's typing is.
    dialog.SetText(104, "ab");
    EXPECT_EQ(edit->text(), "ab");
    EXPECT_EQ(dialog.edits, 0);
    edit->setFocus();
    edit->setCursorPosition(2);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_C, Qt::NoModifier, "c");
    QCoreApplication::sendEvent(edit, &key);
    EXPECT_EQ(dialog.GetText(104), "abc");
    EXPECT_EQ(dialog.edits, 1);

    // The bar moves only as far as the dialog moves it: a line step it takes, a page step it
    // ignores.
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(dialog.GetScrollPos(105), 13);
    EXPECT_EQ(bar->value(), 13);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar->value(), 13);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(dialog.codes, (std::vector<ScrollCode>{ScrollCode::LineDown, ScrollCode::PageDown, ScrollCode::LineUp}));
    dialog.SetScrollPos(105, 15);
    EXPECT_EQ(bar->value(), 15);

    // Disabled and hidden controls follow the dialog.
    dialog.EnableControl(101, false);
    EXPECT_FALSE(check->isEnabled());
    dialog.ShowControl(103, false);
    EXPECT_TRUE(two->isHidden());

    // The dialog's drawing lies under its controls, in dialog pixels.
    const QImage shot = window->grab().toImage();
    EXPECT_EQ(shot.pixelColor(170, 125), QColor(255, 0, 0));
    dialog.SetCaption("Renamed");
    EXPECT_EQ(window->windowTitle(), "Renamed");

    // The close box ends the dialog through the dialog.
    QPointer<DialogWindow> guard(window);
    window->close();
    EXPECT_FALSE(dialog.is_open());
    EXPECT_EQ(dialog.destroyed, 1);
    pump_for(20);
    EXPECT_TRUE(guard.isNull());
}

TEST_F(QtWindowTest, ModalDialogReturnsTheButtonThatEndedIt)
{
    SampleDialog dialog;
    later(50, [] {
        auto* window = qobject_cast<DialogWindow*>(QApplication::activeModalWidget());
        if (window)
            if (auto* ok = qobject_cast<QAbstractButton*>(window->control_widget(IDOK)))
                ok->click();
    });
    EXPECT_EQ(dialog.Execute(), IDOK);
    EXPECT_FALSE(dialog.is_open());

    // Escape is the close box: Cancel.
    later(50, [] {
        if (QWidget* window = QApplication::activeModalWidget())
            QCoreApplication::postEvent(window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    });
    EXPECT_EQ(dialog.Execute(), IDCANCEL);

    // A dialog that ends while it is being set up does not wait for the user.
    SampleDialog quick;
    quick.close_in_setup = true;
    EXPECT_EQ(quick.Execute(), IDCANCEL);
    EXPECT_EQ(backend_->dialogs.last_open(), nullptr);
}

TEST_F(QtWindowTest, HelpOpensTheIndexPageOrReportsThatItCannot)
{
    EXPECT_FALSE(services().desktop->show_help(root_ + "/no-help/index.html"));
    const QString index = QString::fromStdString(root_) + "/index.html";
    QFile f(index);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<html><body><h1>Contents</h1></body></html>");
    f.close();
    ASSERT_TRUE(services().desktop->show_help(index.toStdString()));
    QTextBrowser* browser = backend_->desktop.help_window();
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->isVisible());
    EXPECT_TRUE(browser->toPlainText().contains("Contents"));
}

TEST(QtFileDialogFilters, ProgramFilterStringsBecomeNameFilters)
{
    struct Case { const char* filter; QStringList expected; };
    const Case cases[] = {
        {"Halvoran (~*.)|~*.*|FITS files|*.FIT|All Files|*.*|",
         {"Halvoran (~*.) (~* ~*.*)", "FITS files (*.FIT)", "All Files (*)"}},
        {"Tiff file (*.TIF)|*.TIF|All Files(*.*)|*.*|", {"Tiff file (*.TIF) (*.TIF)", "All Files(*.*) (*)"}},
        {"Pictures|*.bmp;*.tif|", {"Pictures (*.bmp *.tif)"}},
        {"", {"All Files (*)"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(qt_name_filters(c.filter), c.expected) << c.filter;
}

TEST_F(QtWindowTest, FileDialogMatchesPatternsWithoutCaseAndRemembersTheFolder)
{
    const QString dir = QString::fromStdString(root_) + "/images";
    QDir().mkpath(dir);
    for (const char* name : {"m42.fit", "notes.txt"}) {
        QFile f(dir + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    FileDialogRequest request;
    request.filter = "Halvoran (~*.)|~*.*|FITS files|*.FIT|All Files|*.*|";
    request.filter_index = 2;
    request.initial_name = dir.toStdString() + "/m42.fit";

    QFileDialog dialog;
    prepare_file_dialog(dialog, request);
    // The patterns stay hidden, as the descriptions are what the program shows.
    EXPECT_EQ(dialog.selectedNameFilter(), "FITS files");
    EXPECT_EQ(dialog.directory().absolutePath(), dir);
    bool loaded = false;
    auto* model = dialog.findChild<QFileSystemModel*>();
    ASSERT_NE(model, nullptr);
    QObject::connect(model, &QFileSystemModel::directoryLoaded, [&] { loaded = true; });
    dialog.show();
    for (int i = 0; i < 100 && !loaded; ++i)
        pump_for(20);
    pump_for(50);
    const QModelIndex fit = model->index(dir + "/m42.fit");
    const QModelIndex txt = model->index(dir + "/notes.txt");
    ASSERT_TRUE(fit.isValid());
    EXPECT_TRUE(model->flags(fit) & Qt::ItemIsEnabled);
    EXPECT_TRUE(!txt.isValid() || !(model->flags(txt) & Qt::ItemIsEnabled));
    dialog.hide();

    // Choosing a file returns its native path and makes its folder the current one.
    later(100, [dir] {
        if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            d->selectFile(dir + "/m42.fit");
            QMetaObject::invokeMethod(d, "accept", Qt::DirectConnection);
        }
    });
    const auto chosen = services().file_dialogs->choose(request);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, (dir + "/m42.fit").toStdString());
    EXPECT_EQ(services().paths->current_folder(), dir.toStdString());
}
}

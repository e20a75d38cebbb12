#include "qt_script.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QPointer>
#include <QScrollBar>

#include "app/core/commands.h"
#include "client_view.h"
#include "main_frame_window.h"
#include "qt_backend.h"

namespace {
// How long a line waits for the dialog, box or file dialog it acts on to appear.
constexpr qint64 TARGET_TIMEOUT_MS = 5000;

void post_click(QWidget* target, QPoint at, Qt::MouseButton button)
{
    const QPointF local(at);
    const QPointF global(target->mapToGlobal(at));
    QCoreApplication::postEvent(target, new QMouseEvent(QEvent::MouseButtonPress, local, global, button, button, Qt::NoModifier));
    QCoreApplication::postEvent(target, new QMouseEvent(QEvent::MouseButtonRelease, local, global, button, Qt::NoButton, Qt::NoModifier));
}
}

QtScriptDriver::QtScriptDriver(Script script, QtBackend& backend, std::FILE* out)
    : script_(std::move(script)), backend_(backend), out_(out)
{
    ticker_.setInterval(5);
    connect(&ticker_, &QTimer::timeout, this, &QtScriptDriver::advance);
}

void QtScriptDriver::start()
{
    elapsed_.start();
    for (const ScriptAction& action : script_.scheduled) {
        QTimer::singleShot(static_cast<int>(action.ms), this, [this, action] {
            std::string why;
            if (!apply(action, why) || !why.empty())
                error(action, why.empty() ? "nothing to act on" : why);
        });
    }
    ticker_.start();
}

void QtScriptDriver::error(const ScriptAction& action, const std::string& why)
{
    std::fprintf(out_, "error %d %s\n", action.line, quote(why).c_str());
    std::fflush(out_);
}

QWidget* QtScriptDriver::top_dialog() const
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return backend_.dialogs.last_open();
}

// Takes the next line when the previous one has been taken. A line that blocks (a command that
// opens a modal dialog) has already been taken, so the timer, which keeps firing inside the
// nested loop, goes on with the lines after it.
void QtScriptDriver::advance()
{
    if (applying_ || queued_ || next_ >= script_.sequence.size())
        return;
    if (elapsed_.elapsed() < resume_at_)
        return;
    const ScriptAction action = script_.sequence[next_];
    applying_ = true;
    std::string why;
    if (!apply(action, why) && why.empty()) {
        // The target has not appeared yet: try again on a later tick, within limits.
        if (tried_since_ < 0)
            tried_since_ = elapsed_.elapsed();
        if (elapsed_.elapsed() - tried_since_ < TARGET_TIMEOUT_MS) {
            applying_ = false;
            return;
        }
        why = "nothing to act on";
        ++next_;
    }
    tried_since_ = -1;
    if (!why.empty())
        error(action, why);
    applying_ = false;
}

bool QtScriptDriver::apply(const ScriptAction& a, std::string& why)
{
    const bool in_sequence = !a.scheduled;
    auto take = [&] {
        if (in_sequence) {
            ++next_;
            applying_ = false;   // the lines after this one may run while it blocks
        }
    };
    ClientView* client = backend_.frame->client();
    switch (a.kind) {
    case ActionKind::Command:
        take();
        run_queued([id = a.id] { dispatch_command(id); });
        return true;
    case ActionKind::Wait:
        take();
        resume_at_ = elapsed_.elapsed() + a.ms;
        return true;
    case ActionKind::Shot: {
        take();
        QWidget* target = top_dialog();
        if (!target)
            target = backend_.frame.get();
        if (!target->grab().save(QString::fromStdString(a.text), "PNG"))
            why = "cannot write " + a.text;
        return true;
    }
    case ActionKind::Quit:
        take();
        quit();
        return true;
    case ActionKind::Key: {
        take();
        QWidget* target = QApplication::focusWidget();
        if (!target)
            target = QApplication::activeWindow() ? QApplication::activeWindow() : backend_.frame.get();
        QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " "));
        QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " "));
        return true;
    }
    case ActionKind::LeftClick:
    case ActionKind::RightClick:
        take();
        post_click(client->viewport(), QPoint(a.x, a.y), a.kind == ActionKind::LeftClick ? Qt::LeftButton : Qt::RightButton);
        return true;
    case ActionKind::Move: {
        take();
        const QPointF local(a.x, a.y);
        QCoreApplication::postEvent(client->viewport(), new QMouseEvent(QEvent::MouseMove, local,
            QPointF(client->viewport()->mapToGlobal(QPoint(a.x, a.y))), Qt::NoButton, Qt::NoButton, Qt::NoModifier));
        return true;
    }
    case ActionKind::Press:
    case ActionKind::Type:
    case ActionKind::Scroll:
    case ActionKind::Close: {
        auto* window = qobject_cast<DialogWindow*>(top_dialog());
        if (!window || !window->dialog())
            return false;
        if (a.kind == ActionKind::Close) {
            take();
            run_queued([window = QPointer<DialogWindow>(window)] { if (window) window->close(); });
            return true;
        }
        QWidget* widget = window->control_widget(a.id);
        if (!widget) {
            take();
            why = "no control " + std::to_string(a.id) + " in the dialog";
            return true;
        }
        take();
        QPointer<DialogWindow> guard(window);
        if (a.kind == ActionKind::Press) {
            if (auto* button = qobject_cast<QAbstractButton*>(widget))
                run_queued([button = QPointer<QAbstractButton>(button)] { if (button) button->click(); });
            else
                why = "control " + std::to_string(a.id) + " is not a button";
        } else if (a.kind == ActionKind::Type) {
            const QString text = QString::fromStdString(a.text);
            if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
                run_queued([edit = QPointer<QLineEdit>(edit), text] {
                    if (!edit)
                        return;
                    edit->setText(text);
                    emit edit->textEdited(text);
                });
            } else if (auto* multi = qobject_cast<QPlainTextEdit*>(widget)) {
                run_queued([multi = QPointer<QPlainTextEdit>(multi), text] { if (multi) multi->setPlainText(text); });
            } else {
                why = "control " + std::to_string(a.id) + " is not an edit field";
            }
        } else if (qobject_cast<QScrollBar*>(widget)) {
            run_queued([guard, id = a.id, code = a.scroll, pos = a.pos] {
                if (guard && guard->dialog())
                    guard->dialog()->user_scrolled(id, code, pos);
            });
        } else {
            why = "control " + std::to_string(a.id) + " is not a scroll bar";
        }
        return true;
    }
    case ActionKind::Reply: {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return false;
        take();
        const QMessageBox::StandardButton wanted = a.text == "ok" ? QMessageBox::Ok
                                                   : a.text == "cancel" ? QMessageBox::Cancel
                                                   : a.text == "yes" ? QMessageBox::Yes : QMessageBox::No;
        if (QAbstractButton* button = box->button(wanted))
            run_queued([button = QPointer<QAbstractButton>(button)] { if (button) button->click(); });
        else
            why = "the message box has no " + a.text + " button";
        return true;
    }
    case ActionKind::Choose: {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return false;
        take();
        run_queued([dialog = QPointer<QFileDialog>(dialog), cancel = a.cancel, path = QString::fromStdString(a.text)] {
            if (!dialog)
                return;
            if (cancel) {
                dialog->reject();
            } else {
                dialog->selectFile(path);
                // accept() is protected; the dialog's own Open/Save button does the same.
                QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
            }
        });
        return true;
    }
    case ActionKind::Show:
        take();
        why = "show is not available in the window";
        return true;
    }
    take();
    why = "unknown action";
    return true;
}

void QtScriptDriver::run_queued(std::function<void()> work)
{
    queued_ = true;
    QMetaObject::invokeMethod(this, [this, work = std::move(work)] {
        queued_ = false;
        work();
    }, Qt::QueuedConnection);
}

// Ends the program: every open box and dialog is left, then the frame closes.
void QtScriptDriver::quit()
{
    ticker_.stop();
    backend_.pump.set_quitting();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible())
            d->reject();
    backend_.frame->close();
    QCoreApplication::exit(0);
}

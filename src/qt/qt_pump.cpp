#include "qt_pump.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QThread>

QtEventPump::QtEventPump()
{
    QCoreApplication::instance()->installEventFilter(this);
}

QtEventPump::~QtEventPump()
{
    if (auto* app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

void QtEventPump::drain(const std::function<void(PressKind)>& on_press)
{
    levels_.push_back({&on_press, QThread::currentThread()->loopLevel()});
    last_event_ = nullptr;
    last_receiver_ = nullptr;
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    levels_.pop_back();
}

void QtEventPump::report(PressKind kind)
{
    const auto* on_press = levels_.back().on_press;
    (*on_press)(kind);
}

// The same press offered again to a parent of the widget that ignored it. Keys travel up as the
// same event object; mouse presses as a copy with the parent's local position, so a press is
// known by its time stamp, button and screen position.
bool QtEventPump::seen_before(QObject* watched, QEvent* event)
{
    if (!last_receiver_ || event->type() != last_type_)
        return false;
    const auto* input = static_cast<QInputEvent*>(event);
    if (input->timestamp() != last_stamp_)
        return false;
    if (event->type() == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != last_button_ || mouse->globalPosition() != last_global_)
            return false;
    } else if (event != last_event_) {
        return false;
    }
    for (QObject* o = last_receiver_->parent(); o; o = o->parent())
        if (o == watched)
            return true;
    return false;
}

bool QtEventPump::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride && type != QEvent::MouseButtonPress)
        return false;
    if (levels_.empty() || levels_.back().loop_level != QThread::currentThread()->loopLevel())
        return false;
    if (!watched->isWidgetType() && !watched->isWindowType())
        return false;
    // Widgets see the press first; the window-level copy of the same input is skipped.
    if (watched->isWindowType())
        return false;
    if (seen_before(watched, event)) {
        last_receiver_ = watched;
        return false;
    }
    auto* input = static_cast<QInputEvent*>(event);
    if (type == QEvent::MouseButtonPress) {
        last_event_ = event;
        last_receiver_ = watched;
        last_stamp_ = input->timestamp();
        last_key_ = 0;
        last_type_ = type;
        last_button_ = static_cast<QMouseEvent*>(event)->button();
        last_global_ = static_cast<QMouseEvent*>(event)->globalPosition();
        // The menu bar and its pull-downs stand for the frame's non-client area: pressing there
        // opens a menu, it does not stop the operation.
        if (qobject_cast<QMenuBar*>(watched) || qobject_cast<QMenu*>(watched))
            return false;
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton)
            report(PressKind::LeftButton);
        else if (mouse->button() == Qt::RightButton)
            report(PressKind::RightButton);
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    // A key arrives as ShortcutOverride and then, unless a shortcut took it, as KeyPress with the
    // same time stamp: one press.
    const bool override_then_press = type == QEvent::KeyPress && last_type_ == QEvent::ShortcutOverride
                                     && last_key_ == key->key() && input->timestamp() == last_stamp_;
    last_event_ = event;
    last_receiver_ = watched;
    last_stamp_ = input->timestamp();
    last_key_ = key->key();
    last_type_ = type;
    if (!override_then_press)
        report(PressKind::Key);
    return false;
}

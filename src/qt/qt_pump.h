// The stop poll's pump on the Qt event loop. While drain() runs, an application-wide filter
// reports every key press (KeyPress or ShortcutOverride, so accelerator keys count too) and every
// left or right mouse-button press, before the event is delivered normally. Only the innermost
// drain hears presses, and only those taken at its own event-loop level: a message box or modal
// dialog opened by something the drain dispatched runs its own event loop, and the presses that
// loop consumes belong to that box, not to the long operation.
#pragma once
#include <QObject>
#include <QPointF>
#include <functional>
#include <vector>

#include "platform/event_pump.h"

class QtEventPump : public QObject, public EventPump {
    Q_OBJECT
public:
    QtEventPump();
    ~QtEventPump() override;

    void drain(const std::function<void(PressKind)>& on_press) override;
    bool quitting() const override { return quitting_; }
    // The main window was closed or the script ended.
    void set_quitting() { quitting_ = true; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Level {
        const std::function<void(PressKind)>* on_press;
        int loop_level;
    };
    void report(PressKind kind);

    std::vector<Level> levels_;
    bool quitting_ = false;
    // One physical press reaches the filter more than once: a key as ShortcutOverride and then
    // KeyPress, and any unaccepted event again for each parent widget it propagates to.
    bool seen_before(QObject* watched, QEvent* event);

    const QEvent* last_event_ = nullptr;
    QObject* last_receiver_ = nullptr;
    quint64 last_stamp_ = 0;
    int last_key_ = 0;
    int last_type_ = 0;
    Qt::MouseButton last_button_ = Qt::NoButton;
    QPointF last_global_;
};

// The message-queue pump used by long operations: it dispatches what is pending and tells the
// caller about every key or mouse-button press it took from the queue itself.
#pragma once
#include <functional>

enum class PressKind { Key, LeftButton, RightButton, Control };

class EventPump {
public:
    virtual ~EventPump() = default;
    // Drains the pending input. For each press taken here, on_press runs before the press is
    // dispatched normally (so a stop request is set before nested handlers see the event).
    virtual void drain(const std::function<void(PressKind)>& on_press) = 0;
    // True once the program has been asked to end (window closed, script finished).
    virtual bool quitting() const = 0;
};

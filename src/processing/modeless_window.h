// Ownership of a modeless tool window: the command creates it, the window's own close path
// hands it back here, and the object is deleted later, never from inside its own handler.
#pragma once
#include <memory>
#include <utility>
#include <vector>

#include "platform/dialog.h"

// Deletes the windows that have closed since the last call. Called when a window opens and at
// start-up, when no handler of a closed window can still be running.
void collect_closed_windows();
// Takes a closed window for deletion at the next collect_closed_windows().
void retire_window(std::unique_ptr<Dialog> window);
// Drops every window without reaching back to its (gone) view: a fresh program in tests.
void forget_all_windows();

template <class T>
class ModelessWindow {
public:
    T* get() const { return window_.get(); }
    explicit operator bool() const { return window_ != nullptr; }
    T* operator->() const { return window_.get(); }

    template <class... Args>
    T& open(Args&&... args)
    {
        collect_closed_windows();
        window_ = std::make_unique<T>(std::forward<Args>(args)...);
        T& w = *window_;
        w.Create();
        return w;
    }
    // From the window's Destroyed(): the pointer is cleared now, the object goes later.
    void release()
    {
        if (window_)
            retire_window(std::move(window_));
    }
    // A fresh program: the view belongs to services that no longer exist.
    void forget()
    {
        if (window_) {
            window_->detach();
            retire_window(std::move(window_));
        }
    }

private:
    std::unique_ptr<T> window_;
};

// The message loop: pending events first, then due timers, then one idle frame or a wait.
#include "engine/platform/MessageLoop.hpp"

#include <algorithm>
#include <utility>

namespace ad::platform {

namespace {

// The tick counter wraps, so "due" is decided on the signed distance, valid for gaps under 24 days.
int32_t TicksUntil(uint32_t due, uint32_t now) {
    return static_cast<int32_t>(due - now);
}

} // namespace

MessageLoop::MessageLoop(Window& window, TickSource& ticks) : window_(window), ticks_(ticks) {}

int MessageLoop::AddTimer(uint32_t intervalMs, std::function<void()> callback) {
    timers_.push_back(Timer{intervalMs, 0, false, std::move(callback)});
    return static_cast<int>(timers_.size()) - 1;
}

void MessageLoop::SetTimerEnabled(int id, bool enabled) {
    if (id < 0 || static_cast<size_t>(id) >= timers_.size())
        return;
    Timer& timer = timers_[static_cast<size_t>(id)];
    if (timer.enabled == enabled)
        return; // re-enabling a running timer does not restart its count
    timer.enabled = enabled;
    if (enabled)
        timer.due = ticks_.Ticks() + timer.interval;
}

bool MessageLoop::TimerEnabled(int id) const {
    return id >= 0 && static_cast<size_t>(id) < timers_.size() && timers_[static_cast<size_t>(id)].enabled;
}

void MessageLoop::Run() {
    while (RunOnce()) {
    }
}

bool MessageLoop::RunOnce() {
    if (terminated_)
        return false;
    WindowEvent event;
    while (!terminated_ && window_.PollEvent(event))
        Dispatch(event);
    if (!terminated_)
        RunDueTimers();
    if (terminated_)
        return false;

    idleDone_ = true;
    if (handlers_.idle)
        handlers_.idle(idleDone_);
    if (terminated_)
        return false;
    if (!idleDone_)
        return true;

    if (window_.WaitEvent(event, MillisecondsToNextTimer()))
        Dispatch(event);
    return !terminated_;
}

void MessageLoop::Dispatch(const WindowEvent& event) {
    switch (event.kind) {
    case EventKind::KeyDown:
        if (handlers_.keyDown)
            handlers_.keyDown(event.key);
        break;
    case EventKind::MouseMove:
        if (handlers_.mouseMove)
            handlers_.mouseMove(event.x, event.y);
        break;
    case EventKind::MouseDown:
        if (handlers_.mouseDown)
            handlers_.mouseDown(event.button, event.x, event.y);
        break;
    case EventKind::Close:
        // Without a handler nobody could ever end the loop from the window, so closing ends it.
        if (handlers_.close) {
            handlers_.close();
        } else {
            Terminate();
        }
        break;
    case EventKind::Expose:
        break; // the next idle frame redraws the whole window anyway
    case EventKind::ToggleFullScreen:
        if (handlers_.toggleFullScreen)
            handlers_.toggleFullScreen();
        break;
    case EventKind::PadButton:
        if (handlers_.padButton)
            handlers_.padButton(event.pad);
        break;
    case EventKind::PadStick:
        if (handlers_.padStick)
            handlers_.padStick(event.x, event.y);
        break;
    case EventKind::PadRemoved:
        if (handlers_.padRemoved)
            handlers_.padRemoved();
        break;
    }
}

void MessageLoop::RunDueTimers() {
    // Index loop: a callback may add timers, which can move the vector's elements.
    for (size_t i = 0; i < timers_.size() && !terminated_; ++i) {
        const uint32_t now = ticks_.Ticks();
        if (!timers_[i].enabled || TicksUntil(timers_[i].due, now) > 0)
            continue;
        // A late timer fires once and counts its next interval from now, like a desktop timer.
        timers_[i].due = now + timers_[i].interval;
        std::function<void()> callback = timers_[i].callback;
        if (callback)
            callback();
    }
}

uint32_t MessageLoop::MillisecondsToNextTimer() {
    uint32_t wait = kWaitForever;
    bool any = false;
    const uint32_t now = ticks_.Ticks();
    for (const Timer& timer : timers_) {
        if (!timer.enabled)
            continue;
        const uint32_t until = static_cast<uint32_t>(std::max<int32_t>(0, TicksUntil(timer.due, now)));
        wait = any ? std::min(wait, until) : until;
        any = true;
    }
    return wait;
}

} // namespace ad::platform

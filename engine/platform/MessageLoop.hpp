// The message loop of the main window: drains pending events, runs timers, then one idle frame.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "TickSource.hpp"
#include "Window.hpp"

namespace ad::platform {

// Dispatches window events to handlers and runs the idle frame. An idle handler leaves `done`
// false to be called again at once; true makes the loop wait for the next event (or timer).
class MessageLoop {
public:
    struct Handlers {
        std::function<void(int key)> keyDown;
        std::function<void(MouseButton button, int x, int y)> mouseDown;
        std::function<void(int x, int y)> mouseMove;
        std::function<void()> close; // the window was asked to close
        std::function<void()> toggleFullScreen;
        std::function<void(PadButton button)> padButton;
        std::function<void(int x, int y)> padStick; // the left stick, each axis -32768..32767
        std::function<void()> padRemoved;
        std::function<void(bool& done)> idle;
    };

    MessageLoop(Window& window, TickSource& ticks);

    Handlers& On() { return handlers_; }

    // A window timer: fires `callback` on the main thread every `intervalMs` while enabled. It is
    // created disabled (as the form's timer is designed); enabling starts the count from then.
    int AddTimer(uint32_t intervalMs, std::function<void()> callback);
    void SetTimerEnabled(int id, bool enabled);
    bool TimerEnabled(int id) const;

    // Ends Run() after the current turn.
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }

    // Runs until Terminate().
    void Run();
    // One turn: every pending event, due timers, then the idle frame (or a wait when it is done).
    // Returns false once terminated.
    bool RunOnce();

private:
    struct Timer {
        uint32_t interval;
        uint32_t due;
        bool enabled;
        std::function<void()> callback;
    };

    void Dispatch(const WindowEvent& event);
    void RunDueTimers();
    uint32_t MillisecondsToNextTimer();

    Window& window_;
    TickSource& ticks_;
    Handlers handlers_;
    std::vector<Timer> timers_;
    bool terminated_ = false;
    bool idleDone_ = false;
};

} // namespace ad::platform

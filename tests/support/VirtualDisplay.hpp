// A virtual X display of a test's own (Xvfb), for running the real program as a player would: the
// windows shown on it, and key presses sent to them. Its own display keeps other tests' windows away.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace vimbo::test {

struct ShownWindow {
    unsigned long id = 0;
    std::string name;
    // Windows the game makes carry a class; the message boxes' windows do not.
    bool hasClass = false;
    int width = 0;
    int height = 0;
};

class VirtualDisplay {
public:
    // Starts Xvfb with one screen of the given size and waits until it takes connections. Without
    // Xvfb (or xdotool, which sends the keys) Available() is false and the test should skip.
    VirtualDisplay(int width, int height);
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    bool Available() const { return !name_.empty(); }
    // The display's name (":N"), for DISPLAY.
    const std::string& Name() const { return name_; }
    const std::string& Problem() const { return problem_; }
    // The server's process, a child of the test's.
    pid_t Server() const { return server_; }

    // The top-level windows shown now.
    std::vector<ShownWindow> Shown() const;
    // Waits up to `seconds` for a shown window named `name` that `accept` takes; false when none came.
    bool WaitForWindow(const std::string& name, bool (*accept)(const ShownWindow&), ShownWindow& found,
                       int seconds = 60) const;
    // Waits up to `seconds` until no shown window named `name` is one `accept` takes (the server
    // takes down a dead program's windows in its own time); false when one is still shown then.
    bool WaitUntilNoWindow(const std::string& name, bool (*accept)(const ShownWindow&), int seconds = 60) const;
    // Gives the window the keyboard (there is no window manager to do it) and presses `key` there.
    void PressKey(const ShownWindow& window, const std::string& key) const;

private:
    pid_t server_ = -1;
    std::string name_;
    std::string problem_;
};

} // namespace vimbo::test

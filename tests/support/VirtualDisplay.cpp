// A test's own Xvfb, its shown windows read through Xlib and key presses sent with xdotool.
#include "tests/support/VirtualDisplay.hpp"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vimbo::test {

namespace {

bool OnPath(const std::string& program) {
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

std::string ReadLine(int fd) {
    std::string line;
    char c = 0;
    while (::read(fd, &c, 1) == 1 && c != '\n')
        line += c;
    return line;
}

} // namespace

VirtualDisplay::VirtualDisplay(int width, int height) {
    if (!OnPath("Xvfb") || !OnPath("xdotool")) {
        problem_ = "no Xvfb or no xdotool";
        return;
    }
    int ready[2];
    if (::pipe(ready) != 0) {
        problem_ = "no pipe";
        return;
    }
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    const std::string fd = std::to_string(ready[1]);
    server_ = ::fork();
    if (server_ == 0) {
        ::close(ready[0]);
        const int quiet = ::open("/dev/null", O_WRONLY);
        ::dup2(quiet, STDOUT_FILENO);
        ::dup2(quiet, STDERR_FILENO);
        // Xvfb writes the number of the display it took once it takes connections.
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
                 static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(ready[1]);
    const std::string number = server_ > 0 ? ReadLine(ready[0]) : "";
    ::close(ready[0]);
    if (number.empty()) {
        problem_ = "Xvfb did not start";
        return;
    }
    name_ = ":" + number;
}

VirtualDisplay::~VirtualDisplay() {
    if (server_ <= 0)
        return;
    ::kill(server_, SIGTERM);
    int status = 0;
    while (::waitpid(server_, &status, 0) < 0 && errno == EINTR) {
    }
}

std::vector<ShownWindow> VirtualDisplay::Shown() const {
    std::vector<ShownWindow> shown;
    Display* display = XOpenDisplay(name_.c_str());
    if (display == nullptr)
        return shown;
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) != 0) {
        for (unsigned i = 0; i < count; ++i) {
            XWindowAttributes attributes{};
            if (XGetWindowAttributes(display, children[i], &attributes) == 0 ||
                attributes.map_state != IsViewable)
                continue;
            ShownWindow window;
            window.id = children[i];
            window.width = attributes.width;
            window.height = attributes.height;
            XTextProperty title{};
            if (XGetWMName(display, children[i], &title) != 0 && title.value != nullptr) {
                window.name.assign(reinterpret_cast<const char*>(title.value), title.nitems);
                XFree(title.value);
            }
            XClassHint hint{};
            if (XGetClassHint(display, children[i], &hint) != 0) {
                window.hasClass = true;
                XFree(hint.res_name);
                XFree(hint.res_class);
            }
            shown.push_back(window);
        }
        XFree(children);
    }
    XCloseDisplay(display);
    return shown;
}

bool VirtualDisplay::WaitForWindow(const std::string& name, bool (*accept)(const ShownWindow&),
                                   ShownWindow& found, int seconds) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        for (const ShownWindow& window : Shown())
            if (window.name == name && accept(window)) {
                found = window;
                return true;
            }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

bool VirtualDisplay::WaitUntilNoWindow(const std::string& name, bool (*accept)(const ShownWindow&),
                                       int seconds) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (;;) {
        bool shown = false;
        for (const ShownWindow& window : Shown())
            shown = shown || (window.name == name && accept(window));
        if (!shown)
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

void VirtualDisplay::PressKey(const ShownWindow& window, const std::string& key) const {
    const std::string id = std::to_string(window.id);
    const std::string prefix = "DISPLAY=" + name_ + " xdotool ";
    std::system((prefix + "windowfocus " + id + " >/dev/null 2>&1").c_str());
    std::system((prefix + "key --window " + id + " " + key + " >/dev/null 2>&1").c_str());
}

} // namespace vimbo::test

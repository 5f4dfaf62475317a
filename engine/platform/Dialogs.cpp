// Modal message boxes, each shown by a program of its own that the game waits for; falling back to
// standard error when no display is available. Tests can intercept them.
#include "engine/platform/Dialogs.hpp"

#include <SDL2/SDL.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <initializer_list>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

#include "engine/platform/Files.hpp"
#include "engine/platform/MessageText.hpp"
#include "engine/platform/QuitSignals.hpp"

extern char** environ;

namespace ad::platform {

namespace {

// The box program's exit status when it could not show a box (no display).
constexpr int kBoxProgramNoBox = 3;
// Where the box program keeps the pipe whose end tells the game that the box is gone.
constexpr int kBoxProgramLifeline = 3;

enum class BoxShown { Closed, EndedBySignal, NoDisplay, NoProgram };

std::string& TitleStorage() {
    static std::string title;
    return title;
}

std::function<void(const std::string&, const std::string&)>& HandlerStorage() {
    static std::function<void(const std::string&, const std::string&)> handler;
    return handler;
}

std::string& ProgramStorage() {
    static std::string program;
    return program;
}

std::string BoxProgram() {
    return ProgramStorage().empty() ? ProgramFolder() + kMessageBoxProgramName : ProgramStorage();
}

pid_t SpawnBoxProgram(const std::string& caption, const std::string& text, int lifeline) {
    const std::string program = BoxProgram();
    const std::string parent = std::to_string(::getpid());
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A process group of its own lets the game end the box with whatever draws it; the signals the
    // game catches take their default action again there.
    posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t defaults, none;
    sigemptyset(&defaults);
    for (const int signal : {SIGHUP, SIGINT, SIGTERM, SIGPIPE})
        sigaddset(&defaults, signal);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_adddup2(&files, lifeline, kBoxProgramLifeline);
    char* const arguments[] = {const_cast<char*>(program.c_str()), const_cast<char*>(caption.c_str()),
                               const_cast<char*>(text.c_str()), const_cast<char*>(parent.c_str()), nullptr};
    pid_t child = -1;
    if (posix_spawn(&child, program.c_str(), &files, &attributes, arguments, environ) != 0)
        child = -1;
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attributes);
    return child;
}

int Reap(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

// Waits until the box and all it started are gone (the last of them closes the lifeline), or until
// a quit signal arrives, which ends the box at once.
BoxShown WaitForBox(pid_t box, int lifeline) {
    for (;;) {
        pollfd waits[2] = {{lifeline, POLLIN, 0}, {QuitSignalDescriptor(), POLLIN, 0}};
        const int ready = ::poll(waits, QuitSignalDescriptor() >= 0 ? 2 : 1, -1);
        if (ready < 0 && errno == EINTR)
            continue;
        if (QuitSignalled() != 0) {
            ::kill(-box, SIGKILL);
            Reap(box);
            return BoxShown::EndedBySignal;
        }
        char ignored[16];
        if (ready > 0 && waits[0].revents != 0 && ::read(lifeline, ignored, sizeof ignored) <= 0)
            break;
    }
    const int status = Reap(box);
    return WIFEXITED(status) && WEXITSTATUS(status) == kBoxProgramNoBox ? BoxShown::NoDisplay
                                                                        : BoxShown::Closed;
}

BoxShown ShowThroughBoxProgram(const std::string& caption, const std::string& text) {
    if (::access(BoxProgram().c_str(), X_OK) != 0)
        return BoxShown::NoProgram;
    int lifeline[2];
    if (::pipe2(lifeline, O_CLOEXEC) != 0)
        return BoxShown::NoProgram;
    const pid_t box = SpawnBoxProgram(caption, text, lifeline[1]);
    ::close(lifeline[1]);
    const BoxShown shown = box > 0 ? WaitForBox(box, lifeline[0]) : BoxShown::NoProgram;
    ::close(lifeline[0]);
    return shown;
}

void WriteToStandardError(const std::string& caption, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

} // namespace

void SetApplicationTitle(const std::string& title) {
    TitleStorage() = title;
}

const std::string& ApplicationTitle() {
    return TitleStorage();
}

void SetMessageHandler(std::function<void(const std::string& caption, const std::string& text)> handler) {
    HandlerStorage() = std::move(handler);
}

void SetMessageBoxProgram(const std::string& path) {
    ProgramStorage() = path;
}

void ShowMessage(const std::string& text) {
    const std::string& caption = ApplicationTitle();
    if (const auto& handler = HandlerStorage()) {
        handler(caption, text);
        return;
    }
    // The game is ending on a signal (its terminal may be gone): no box would be seen to its end.
    if (QuitSignalled() != 0) {
        WriteToStandardError(caption, text);
        return;
    }
    switch (ShowThroughBoxProgram(caption, text)) {
    case BoxShown::Closed:
    case BoxShown::EndedBySignal:
        return;
    case BoxShown::NoDisplay:
        WriteToStandardError(caption, text);
        return;
    case BoxShown::NoProgram:
        break;
    }
    // Without the box program the box is shown from here, which a signal cannot end. SDL can show a
    // message box without SDL_Init; it fails cleanly when there is no display.
    const std::string wrapped = WrapMessageText(text, MessageColumnsForScreen(0));
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption.c_str(), wrapped.c_str(), nullptr) != 0)
        WriteToStandardError(caption, text);
}

} // namespace ad::platform

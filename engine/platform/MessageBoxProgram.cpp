// The program that shows one message box for the game: the box lives in a process of its own, so
// that the game can end it when a signal ends the game, and it ends itself (with everything it
// started to draw the box) when the game dies. Its text is wrapped to fit the screen.
// Usage: admessagebox <caption> <text> <the game's process id>; ends with 0 once the box is closed,
// 3 when no box could be shown.
#include <SDL2/SDL.h>

#include <csignal>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <sys/prctl.h>
#include <unistd.h>

#include "engine/platform/MessageText.hpp"

namespace {

constexpr int kShown = 0;
constexpr int kUsage = 2;
constexpr int kNoBox = 3;

// The box may be drawn by a process the box library starts; the game made this program the leader
// of a process group of its own, so ending the group ends them all.
void EndBoxGroup(int) {
    ::kill(0, SIGKILL);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4)
        return kUsage;
    struct sigaction end {};
    end.sa_handler = EndBoxGroup;
    sigemptyset(&end.sa_mask);
    for (const int signal : {SIGHUP, SIGINT, SIGTERM})
        ::sigaction(signal, &end, nullptr);
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != static_cast<pid_t>(std::atol(argv[3])))
        EndBoxGroup(0); // the game died before the line above took effect

    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    int screenWidth = 0;
    if (SDL_Init(SDL_INIT_VIDEO) == 0) {
        SDL_DisplayMode desktop{};
        if (SDL_GetDesktopDisplayMode(0, &desktop) == 0)
            screenWidth = desktop.w;
    }
    const std::string text =
        ad::platform::WrapMessageText(argv[2], ad::platform::MessageColumnsForScreen(screenWidth));
    const int shown = SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, argv[1], text.c_str(), nullptr);
    SDL_Quit();
    return shown == 0 ? kShown : kNoBox;
}

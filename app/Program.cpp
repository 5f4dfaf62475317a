// The program entry's work: the application title, the main window, the form and the message loop.
#include "app/Program.hpp"

#include <string>

#include "app/Form.hpp"
#include "app/ProgramFiles.hpp"
#include "engine/platform/Dialogs.hpp"
#include "engine/platform/Files.hpp"
#include "engine/platform/MessageLoop.hpp"
#include "engine/platform/QuitSignals.hpp"
#include "engine/platform/Random.hpp"
#include "engine/platform/SdlAudioDevice.hpp"
#include "engine/platform/TickSource.hpp"
#include "engine/render/AdSetupForm.hpp"

namespace vimbo {

namespace {

constexpr int kDesignedClientWidth = 772;
constexpr int kDesignedClientHeight = 699;

} // namespace

int RunProgram() {
    // Closing the terminal the game was started from, a shutdown or Ctrl+C end the game as closing
    // its window does: through FormClose, which saves.
    ad::platform::CatchQuitSignals();
    ad::platform::SetApplicationTitle("vimbo 2");
    // Every game differs: the one generator is seeded from the clock once (tests seed it themselves).
    ad::platform::TickSource& ticks = ad::platform::SystemTicks();
    ad::platform::Randomize(ticks);
    const ProgramPlace place = PrepareProgramFiles(ad::platform::ProgramFolder());
    if (!place.problem.empty())
        ad::platform::ShowMessage(place.problem);
    std::string error;
    auto window = ad::platform::CreateSdlWindow(kDesignedClientWidth, kDesignedClientHeight, "Form1", error);
    if (!window) {
        ad::platform::ShowMessage("The game window could not be opened: " + error);
        return 1;
    }
    ad::platform::MessageLoop loop(*window, ticks);
    ad::platform::SdlAudioDevice audio;
    ad::TAdSetupForm setupForm;
    TForm1 form(*window, loop, ticks, place.files, &audio, setupForm);
    loop.On().close = [&] {
        form.FormClose();
        loop.Terminate();
    };
    if (const std::optional<int> exitCode = form.Open())
        return *exitCode;
    window->Show();
    loop.Run();
    return 0;
}

} // namespace vimbo

// The game in a real window on a display: it opens, runs frames, logs, and closes cleanly.
#include <filesystem>
#include <fstream>

#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/Form.hpp"
#include "engine/platform/SdlAudioDevice.hpp"
#include "engine/platform/Dialogs.hpp"
#include "engine/platform/TickSource.hpp"
#include "game/GameState.hpp"
#include "tests/support/DisplayTests.hpp"
#include "tests/support/HeadlessSurface.hpp"
#include "tests/support/ScriptedSetup.hpp"
#include "tests/support/TestPaths.hpp"

namespace {

TEST(GameWindow, OpensRunsFramesAndClosesWhenAskedTo) {
    std::string error;
    auto window = ad::platform::CreateSdlWindow(772, 699, "Form1", error);
    if (!window)
        GTEST_SKIP() << "no display: " << error;
    vimbo::ResetGameState();
    setenv("SDL_AUDIODRIVER", "dummy", 1); // the game opens its audio device; tests must not sound
    ad::platform::SetApplicationTitle("vimbo 2");
    const std::string folder = vimbo::test::MakeTempFolder("window");
    std::filesystem::create_symlink(vimbo::test::SoftwarePluginPath(), folder + "SoftwareAdPlugin.so");

    ad::platform::MessageLoop loop(*window, ad::platform::SystemTicks());
    {
        ad::platform::SdlAudioDevice audio;
        vimbo::FormFiles files(folder);
        files.log = folder + "adlog.txt";
        files.save = folder + "save";
        vimbo::test::ScriptedSetupPresenter setup;
        vimbo::TForm1 form(*window, loop, ad::platform::SystemTicks(), files, &audio, setup);
        bool closed = false;
        loop.On().close = [&] {
            closed = true;
            form.FormClose();
            loop.Terminate();
        };
        form.FormCreate();
        ASSERT_FALSE(form.ExitRequested());
        window->Show();
        int frames = 0;
        auto idle = loop.On().idle;
        loop.On().idle = [&](bool& done) {
            idle(done);
            if (++frames == 30) {
                SDL_Event quit{};
                quit.type = SDL_QUIT;
                SDL_PushEvent(&quit);
            }
        };
        loop.Run();
        EXPECT_TRUE(closed);
        EXPECT_GE(frames, 30);
        EXPECT_EQ(window->Caption(), "vimbo 2");
    }
    vimbo::test::KeepLoadedLibrariesResident();
    std::ifstream log(folder + "adlog.txt");
    std::string line;
    bool surfaceLogged = false;
    while (std::getline(log, line)) {
        ASSERT_GE(line.size(), 42u) << line;
        EXPECT_EQ(line[0], '[') << line;
        EXPECT_EQ(line.substr(19, 2), "  ") << line;
        EXPECT_EQ(line.substr(40, 2), "  ") << line;
        EXPECT_EQ(line.find("Error"), std::string::npos) << line;
        surfaceLogged = surfaceLogged || line.rfind("[Info]               TAdDraw:             ", 0) == 0;
    }
    EXPECT_TRUE(surfaceLogged);
    std::filesystem::remove_all(folder);
}

} // namespace

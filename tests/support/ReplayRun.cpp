// Playing a recording through the scenario driver.
#include "tests/support/ReplayRun.hpp"

#include "app/SaveFile.hpp"
#include "tests/support/GameChecksum.hpp"
#include "tests/support/GameDriver.hpp"

namespace vimbo::test {

ReplayRun PlayReplay(const Replay& replay, std::optional<ReplayStart> start) {
    ReplayRun run;
    GameDriverOptions options;
    options.playback = FormPlayback{start.value_or(replay.Start()), {}, {}};
    // The menu offers Continue when the save file exists, as it did in the recorded run.
    if (replay.Start().saveExisted) {
        options.saveText = "";
        options.playback->saveStandIn = kSaveFileName;
    }
    GameDriver game(options);
    ReplayPlayer player(replay, game.Form(), game.Loop(), [&game](uint32_t tick) { game.SetClock(tick); });
    while (player.Step()) {
        // As the driver's own frames do: every frame takes the particle workers' result of the one before.
        if (game.Form().Particles)
            game.Form().Particles->WaitForCalculations();
        run.checksums[player.FramesRun()] = GameStateChecksum(game.Running() ? &game.Engine() : nullptr);
    }
    run.outcome = player.Outcome();
    run.recordedMs = player.RecordedMs();
    run.messages = game.Messages();
    return run;
}

} // namespace vimbo::test

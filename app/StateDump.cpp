// Writing the diagnostic dump.
#include "app/StateDump.hpp"

#include <cstdio>
#include <utility>

#include "engine/platform/AtomicFile.hpp"
#include "frontend/Backgrounds.hpp"
#include "frontend/Digits.hpp"
#include "frontend/Menus.hpp"
#include "game/Blocks.hpp"
#include "game/Collectibles.hpp"
#include "game/Effects.hpp"
#include "game/Enemy.hpp"
#include "game/GameState.hpp"
#include "game/Player.hpp"
#include "game/Tail.hpp"

namespace vimbo {

namespace {

template <typename T> int32_t Count(const ad::TSpriteEngine* engine) {
    return engine != nullptr ? engine->CountOfClass<T>() : 0;
}

// The shortest general form with up to 15 significant digits; a whole value has no fraction.
std::string FormatReal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

const char* Flag(bool value) {
    return value ? "true" : "false";
}

} // namespace

std::string FormatStateDump(const ad::TSpriteEngine* engine) {
    const std::pair<const char*, std::string> lines[] = {
        {"THvost", std::to_string(Count<THvost>(engine))},
        {"TCursor", std::to_string(Count<TCursor>(engine))},
        {"TScoreFly", std::to_string(Count<TScoreFly>(engine))},
        {"TScoreFly2", std::to_string(Count<TScoreFly2>(engine))},
        {"THUD", std::to_string(Count<THUD>(engine))},
        {"THUDPause", std::to_string(Count<THUDPause>(engine))},
        {"THUDGo", std::to_string(Count<THUDGo>(engine))},
        {"TStar", std::to_string(Count<TStar>(engine))},
        {"TDigital", std::to_string(Count<TDigital>(engine))},
        {"TEnemy1", std::to_string(Count<TEnemy1>(engine))},
        {"TVit1", std::to_string(Count<TVit1>(engine))},
        {"TPlayer", std::to_string(Count<TPlayer>(engine))},
        {"TBlock", std::to_string(Count<TBlock>(engine))},
        {"TWall", std::to_string(Count<TWall>(engine))},
        {"TFon2", std::to_string(Count<TFon2>(engine))},
        {"TFon", std::to_string(Count<TFon>(engine))},
        {"tmrNewGame", Flag(tmrNewGame)},
        {"nastarte", Flag(nastarte)},
        {"showW", Flag(showW)},
        {"MainMenuE", Flag(MainMenuE)},
        {"gameover", Flag(gameover)},
        {"gameover2", Flag(gameover2)},
        {"gameover3", Flag(gameover3)},
        {"temneet", Flag(temneet)},
        {"score", std::to_string(score)},
        {"topscore", std::to_string(topscore)},
        {"level", std::to_string(level)},
        {"level_c", std::to_string(level_c)},
        {"lives", std::to_string(lives)},
        {"EnInWall", Flag(EnInWall)},
        {"paused", Flag(paused)},
        {"Ireal", FormatReal(Ireal)},
    };
    std::string text;
    for (const auto& [label, value] : lines)
        text += std::string(label) + "=" + value + "\r\n";
    return text;
}

std::string DumpState(const ad::TSpriteEngine* engine, const std::string& path) {
    if (ad::platform::WriteFileAtomically(path, FormatStateDump(engine)))
        return {};
    return "The state dump could not be written to \"" + path + "\".";
}

} // namespace vimbo

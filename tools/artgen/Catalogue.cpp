// The list of every picture with its resource name and frame size.
#include "Pictures.hpp"

namespace artgen {

std::vector<ArtItem> Catalogue() {
    return {
        {"b3", 24, 24, MakeBlocks},
        {"player", 24, 24, MakePlayer},
        {"Enemy", 24, 24, MakeEnemy},
        {"Hvost", 24, 24, MakeHvost},
        {"vit1", 24, 24, MakeVit1},
        {"vit2", 24, 24, MakeVit2},
        {"wall", 24, 24, MakeWall},
        {"digital", 16, 16, MakeDigits},
        {"level", 90, 16, [] { return MakeLabel("LEVEL", 90, 16); }},
        {"Score", 90, 16, [] { return MakeLabel("SCORE", 90, 16); }},
        {"TopScore", 56, 14, [] { return MakeLabel("TOP", 56, 14); }},
        {"lives", 90, 16, [] { return MakeLabel("LIVES", 90, 16); }},
        {"star", 72, 72, MakeStar},
        {"pause", 82, 20, MakePause},
        {"scoreup", 64, 16, [] { return MakeScorePopups(true); }},
        {"scoredown", 64, 16, [] { return MakeScorePopups(false); }},
        {"newgame", 128, 20, [] { return MakeMenuItem("NEW GAME", 128); }},
        {"continue", 128, 20, [] { return MakeMenuItem("CONTINUE", 128); }},
        {"options", 112, 20, [] { return MakeMenuItem("OPTIONS", 112); }},
        {"exit", 64, 20, [] { return MakeMenuItem("EXIT", 64); }},
        {"menup", 160, 80, MakeMenuPanel},
        {"cursor", 18, 18, MakeCursor},
        {"kelvoranth", 1020, 84, MakeTitle},
        {"gameover", 138, 14, [] { return MakeLabel("GAME OVER", 138, 14); }},
        {"gameover2", 274, 224, MakeGameOverBanner},
        {"top", 56, 14, [] { return MakeLabel("TOP", 56, 14); }},
        {"fon", 1920, 1080, MakeFon},
        {"fon2", 1920, 1080, MakeFon2},
        {"music", 80, 20, [] { return MakeMenuItem("MUSIC", 80); }},
        {"back", 64, 20, [] { return MakeMenuItem("BACK", 64); }},
        {"easynormalhard", 96, 20, MakeEasyNormalHard},
        {"difficulty", 160, 20, [] { return MakeMenuItem("DIFFICULTY", 160); }},
        {"onoff", 47, 20, MakeOnOff},
        {"sounds", 96, 20, [] { return MakeMenuItem("SOUNDS", 96); }},
        {"particle1", 32, 32, [] { return MakeParticle(1); }},
        {"particle2", 32, 32, [] { return MakeParticle(2); }},
        {"particle3", 32, 32, [] { return MakeParticle(3); }},
        {"particle4", 32, 32, [] { return MakeParticle(4); }},
        {"particle5", 18, 18, [] { return MakeParticle(5); }},
        {"cursor0", 4, 4, MakeCursor0},
    };
}

} // namespace artgen

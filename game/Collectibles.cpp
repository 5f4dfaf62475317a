// Placing the collectible, its sparkle and glow, and the scoring after every meal.
#include "game/Collectibles.hpp"

#include <algorithm>
#include <optional>

#include "engine/platform/Random.hpp"
#include "engine/render/AdCanvas.hpp"
#include "game/Blocks.hpp"
#include "game/Effects.hpp"
#include "game/GameScreen.hpp"
#include "game/GameState.hpp"
#include "game/LevelLoading.hpp"
#include "game/Sound.hpp"
#include "game/Tail.hpp"
#include "game/World.hpp"

namespace vimbo {

SpriteRef<TVit1> vit;
int32_t vitMode;
int32_t vitCol, vitRow, vitOffX, vitOffY;

namespace {

constexpr int32_t kBigOdds = 30;
// Draws before the placement gives up on chance and takes the first fitting cell in map order; only
// a map without any fitting cell (none ships) would get there.
constexpr int kPlacementDraws = 100000;
constexpr int32_t kHighestLevel = 20;

bool FloorLine(size_t index) {
    return index < mapLines.size() && mapLines[index] == ".";
}

// A corridor cell one cell wide that neither actor starts on.
bool FitsCollectible(int column, int row) {
    const auto wall = [](int c, int r) { return !InMaze(c, r) || MazeAt(maze, c, r) == kWallCell; };
    if ((column == 30 && row == 29) || (column == 1 && row == 1))
        return false;
    return wall(column - 1, row - 1) && wall(column + 1, row - 1) && wall(column - 1, row + 1) &&
           wall(column + 1, row + 1);
}

bool PickCell(int& column, int& row) {
    for (int draw = 0; draw < kPlacementDraws; ++draw) {
        const int index = ad::platform::Random(kMazeCells);
        if (!FloorLine(static_cast<size_t>(index)))
            continue;
        column = index % kMazeColumns;
        row = index / kMazeColumns;
        if (FitsCollectible(column, row))
            return true;
    }
    for (int index = 0; index < kMazeCells; ++index) {
        column = index % kMazeColumns;
        row = index / kMazeColumns;
        if (FloorLine(static_cast<size_t>(index)) && FitsCollectible(column, row))
            return true;
    }
    return false;
}

} // namespace

void ResetCollectibleState() {
    vitMode = 0;
    vitCol = vitRow = vitOffX = vitOffY = 0;
}

int32_t LevelForScore(int32_t score) {
    return std::clamp(1 + score / 200, 1, kHighestLevel);
}

int32_t PointsForFrame(double animPos) {
    if (animPos >= 12)
        return 100;
    if (animPos >= 8)
        return 30;
    if (animPos >= 4)
        return 20;
    return 10;
}

void SpawnVit() {
    vitMode = ad::platform::Random(kBigOdds);
    if (nastarte)
        vitMode = 1;
    int column = 0, row = 0;
    if (!PickCell(column, row))
        return;
    vitCol = column;
    vitRow = row;
    vitOffX = column * 24;
    vitOffY = row * 24;
    VitCreate();
}

void VitCreate() {
    auto* collectible = new TVit1(world.SpriteEngine);
    vit = collectible;
    collectible->SetImage(FindImage("vit1"));
    const double left = vitOffX + screenW / 2.0 - 384;
    if (vitMode != 0) {
        collectible->AnimSpeed = 4.0;
        collectible->AnimPos = 0;
        collectible->SetAnimStart(0);
        collectible->SetAnimStop(3);
        // Three in five small ones are worth 10, one in five 20, one in five 30.
        const int32_t kind = ad::platform::Random(5);
        if (kind == 4) {
            collectible->AnimPos = 4;
            collectible->SetAnimStart(4);
            collectible->SetAnimStop(7);
        } else if (kind == 3) {
            collectible->AnimPos = 8;
            collectible->SetAnimStart(8);
            collectible->SetAnimStop(11);
        }
        collectible->SetX(left);
        collectible->SetY(vitOffY + screenH / 2.0 - 387);
    } else {
        collectible->AnimSpeed = 6.0;
        collectible->AnimPos = 13;
        collectible->SetAnimStart(13);
        collectible->SetAnimStop(16);
        collectible->SetX(left);
        collectible->SetY(vitOffY + screenH / 2.0 - 384);
    }
    collectible->SetZ(10);
    collectible->SetAngle(0);
    if (!nastarte)
        EmitParticles(world.EatParticles, 6, ad::AdTrunc(collectible->X()) - 1,
                      ad::AdTrunc(collectible->Y()) + 8);
}

void TVit1::DoMove(double timeGap) {
    TGameSprite::DoMove(timeGap);
    if (vit.Usable() && vit->AnimPos >= 12 && vit->AnimPos <= 15)
        EmitParticles(world.GlowParticles, 1, ad::AdTrunc(X()) + 12, ad::AdTrunc(Y()) + 12);
}

void TVit1::DoDraw() {
    TGameSprite::DoDraw();
    ad::TAdDraw* draw = world.AdDraw;
    if (draw == nullptr || draw->Canvas() == nullptr || draw->Scene() == nullptr)
        return;
    ad::TAdCanvas& canvas = *draw->Canvas();
    canvas.Brush.BlendMode = 1;
    canvas.Brush.SetColor(
        ad::Ad_ARGB(static_cast<uint8_t>(std::clamp(ad::AdRound(Alpha() / 2), 0, 255)), 255, 128, 255));
    canvas.Brush.SetGradientColor(ad::Ad_ARGB(0, 255, 255, 255));
    canvas.Pen.Style = 0;
    const ad::TSpriteRect bounds = GetBoundsRect();
    canvas.Circle(bounds.left + ad::AdRound(Width() / 2), bounds.top + ad::AdRound(Height() / 2), 30);
    // The glow goes down now, so the second drawing lies over it.
    canvas.Release();
    canvas.Brush.BlendMode = 2;
    if (Image() != nullptr)
        Image()->SetColor(Color);
    const ad::AdColor ambient = draw->Scene()->AmbientColor();
    draw->Scene()->SetAmbientColor(ad::Ad_ARGB(255, 255, 255, 255));
    TGameSprite::DoDraw();
    draw->Scene()->SetAmbientColor(ambient);
}

void checkscore() {
    for (int32_t n = 1; n <= static_cast<int32_t>(lifeBonusGiven.size()); ++n) {
        bool& given = lifeBonusGiven[static_cast<size_t>(n - 1)];
        if (given || score < n * 1000)
            continue;
        given = true;
        lives += 1;
        const std::optional<ScreenPoint> digit =
            world.Screen != nullptr ? world.Screen->LivesDigit() : std::nullopt;
        if (digit)
            EmitParticles(world.BonusParticles, 10, ad::AdTrunc(digit->x) + 5, ad::AdTrunc(digit->y) + 8);
        PlaySoundRes("sfx3_1");
    }
    topscore = std::max(topscore, score);
    if (score >= 0)
        level_c = LevelForScore(score);
    if (level_c == level) {
        SpawnVit();
        return;
    }
    if (showW) {
        showW = false;
        walldestroy();
        EnInWall = false;
    }
    levelChanged = true;
    levelBonus = level < level_c ? hvostLen : 0;
    nastarte = true;
    bgScroll = true;
    tmrRestart = true;
    Ireal = 255.0;
    if (score <= 0)
        level_c = 1;
    level = level_c;
    StartStar();
    vit.Remove();
}

} // namespace vimbo

// The game-state checksum: 64-bit FNV-1a over the state's bytes, doubles by their bit patterns.
#include "app/StateChecksum.hpp"

#include <cstring>
#include <string>
#include <type_traits>
#include <typeinfo>

#include "engine/platform/Random.hpp"
#include "engine/sprites/AdImageSprites.hpp"
#include "frontend/Menus.hpp"
#include "game/Blocks.hpp"
#include "game/Collectibles.hpp"
#include "game/Enemy.hpp"
#include "game/GameState.hpp"
#include "game/LevelLoading.hpp"
#include "game/Player.hpp"
#include "game/Tail.hpp"

namespace vimbo {

namespace {

class Hasher {
public:
    void Bytes(const void* data, size_t size) {
        const auto* bytes = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < size; ++i) {
            hash_ ^= bytes[i];
            hash_ *= 0x100000001B3ull;
        }
    }
    template <typename T> void Add(const T& value) {
        static_assert(std::is_arithmetic_v<T>);
        Bytes(&value, sizeof value);
    }
    void Add(const std::string& text) {
        Add(text.size());
        Bytes(text.data(), text.size());
    }
    template <typename T, size_t N> void Add(const std::array<T, N>& values) {
        for (const T& value : values)
            Add(value);
    }
    uint64_t Value() const { return hash_; }

private:
    uint64_t hash_ = 0xCBF29CE484222325ull;
};

void AddGlobals(Hasher& h, bool withMusic) {
    h.Add(maze);
    for (const auto value : {score, topscore, level, level_c, lives, levelBonus, hvostLen, screenW, screenH})
        h.Add(value);
    if (withMusic)
        h.Add(musicTicks);
    h.Add(difficulty);
    for (const bool flag : {soundOn, musicOn, MainMenuE, paused, nastarte, gameover, gameover2, gameover3,
                            temneet, svetleet, tmrNewGame, tmrRestart, showOptions, levelChanged, playerDied,
                            starActive, showW, EnInWall, bgScroll})
        h.Add(flag);
    if (withMusic)
        h.Add(trackEnded);
    for (const bool flag : {showFps, dumpArmed})
        h.Add(flag);
    h.Add(lifeBonusGiven);
    for (const double value : {Ireal, originX, originY, playerSpeed, curSpeed})
        h.Add(value);
    h.Add(fonColor);
    h.Add(fon2Color);
    h.Add(trailX);
    h.Add(trailY);
    h.Add(lastPoints);
    h.Add(mapLines.size());
}

void AddActors(Hasher& h) {
    h.Add(player.Usable());
    if (player.Usable()) {
        const TPlayer& p = *player.get();
        for (const double value : {p.dx, p.dy, p.vx, p.vy})
            h.Add(value);
        h.Add(p.cellX);
        h.Add(p.cellY);
        h.Add(p.dir);
        h.Add(p.nextDir);
    }
    h.Add(enemy.Usable());
    if (enemy.Usable()) {
        const TEnemy1& e = *enemy.get();
        for (const double value : {e.dx, e.dy, e.vx, e.vy})
            h.Add(value);
        h.Add(e.cellX);
        h.Add(e.cellY);
        for (const std::string* text : {&e.dir, &e.pathDir, &e.nextDir})
            h.Add(*text);
    }
    for (const auto value : {enemySpeed, pathLen, dUp, dRight, dDown, dLeft, vitMode, vitCol, vitRow, vitOffX,
                             vitOffY, blockIndex, blockBase, wallCol, wallRow})
        h.Add(value);
    for (const double value : {stuckTime, wallTimer, wallX, wallY})
        h.Add(value);
    h.Add(atJunction);
    h.Add(blockColor);
    h.Add(hoverName);
    h.Add(mouseX);
    h.Add(mouseY);
}

// Every sprite in Z order: its class, place, size and look, which covers the menus, the heads-up
// display, the blocks, the tail and the backgrounds alike.
void AddSprites(Hasher& h, const ad::TSpriteEngine& engine) {
    const auto& sprites = engine.Children();
    h.Add(sprites.Count());
    for (int32_t i = 0; i < sprites.Count(); ++i) {
        const ad::TSprite& sprite = *sprites[i];
        h.Add(std::string(typeid(sprite).name()));
        for (const double value : {sprite.X(), sprite.Y(), sprite.Width(), sprite.Height()})
            h.Add(value);
        h.Add(sprite.Z());
        for (const bool flag : {sprite.Visible, sprite.CanMove, sprite.Deaded()})
            h.Add(flag);
        if (const auto* image = dynamic_cast<const ad::TImageSprite*>(&sprite)) {
            h.Add(image->AnimPos);
            h.Add(image->AnimSpeed);
            h.Add(image->AnimActive);
        }
        if (const auto* rich = dynamic_cast<const ad::TImageSpriteEx*>(&sprite)) {
            h.Add(rich->Angle());
            h.Add(rich->Alpha());
            h.Add(rich->Color);
        }
    }
}

} // namespace

uint64_t StateChecksum(const ad::TSpriteEngine* engine, bool withMusic) {
    Hasher h;
    AddGlobals(h, withMusic);
    AddActors(h);
    if (engine != nullptr)
        AddSprites(h, *engine);
    // A copy draws the generator's next number without moving the game's own.
    ad::platform::RandomGenerator next = ad::platform::ProcessRandom();
    h.Add(next.Next());
    return h.Value();
}

} // namespace vimbo

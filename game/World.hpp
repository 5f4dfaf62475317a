// The engine objects the game's rules work on. The main form owns them for the whole run and lends
// them here, so every actor, builder and handler reaches the same sprite engine, images and surface.
#pragma once

#include <functional>
#include <string>

#include "engine/platform/AudioDevice.hpp"
#include "engine/render/AdDraws.hpp"
#include "engine/render/AdImages.hpp"
#include "engine/sprites/AdPixelTest.hpp"
#include "engine/sprites/AdSprites.hpp"

namespace ad {
class TAdParticleSystem;
}

namespace vimbo {

class GameScreen;

struct GameWorld {
    ad::TAdDraw* AdDraw = nullptr;
    ad::TAdImageList* AdImageList = nullptr;
    ad::TSpriteEngine* SpriteEngine = nullptr;
    ad::TAdSpritePixelCollisionTester* AdCollisionTester = nullptr;
    ad::TAdParticleSystem* EatParticles = nullptr;
    ad::TAdParticleSystem* EnemyParticles = nullptr;
    ad::TAdParticleSystem* BonusParticles = nullptr;
    ad::TAdParticleSystem* GlowParticles = nullptr;
    // The file whose presence offers Continue (the values kept between runs).
    std::string SaveFileName = "save";
    // Closes the main form: shutdown, then the end of the message loop. Nothing may touch sprites
    // after it.
    std::function<void()> CloseForm;
    // What the rules ask of the screen (the display's digits, the game-over banner); without one
    // the rules place no bursts or popups by the digits and show no banner.
    GameScreen* Screen = nullptr;
    // Where effects and music sound; without one (the start value) the game is silent.
    ad::platform::AudioDevice* Audio = nullptr;
};

extern GameWorld world;

// The image of that name in the image list, or nullptr (a sprite then has no picture and no size).
ad::TAdImage* FindImage(const std::string& name);

// Emits `count` particles of the system at the point; nothing while the system does not exist.
void EmitParticles(ad::TAdParticleSystem* system, int count, int x, int y);

} // namespace vimbo

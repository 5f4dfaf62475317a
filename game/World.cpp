// The engine objects lent to the game, and the small conveniences over them.
#include "game/World.hpp"

#include "engine/particles/AdParticles.hpp"

namespace vimbo {

GameWorld world;

ad::TAdImage* FindImage(const std::string& name) {
    return world.AdImageList != nullptr ? world.AdImageList->Find(name) : nullptr;
}

void EmitParticles(ad::TAdParticleSystem* system, int count, int x, int y) {
    if (system != nullptr)
        system->Emit(count, x, y);
}

} // namespace vimbo

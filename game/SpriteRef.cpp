// The registry of global sprite references, so a freed sprite leaves no reference behind.
#include "game/SpriteRef.hpp"

#include <algorithm>
#include <vector>

namespace vimbo {

namespace {

// References are globals (and arrays of them) living for the whole run; a few thousand in all.
std::vector<SpriteRefBase*>& Registry() {
    static std::vector<SpriteRefBase*> registry;
    return registry;
}

} // namespace

SpriteRefBase::SpriteRefBase() {
    Registry().push_back(this);
}

SpriteRefBase::~SpriteRefBase() {
    std::erase(Registry(), this);
}

void ForgetSprite(const ad::TSprite* sprite) {
    for (SpriteRefBase* ref : Registry())
        if (ref->Raw() == sprite)
            ref->Reset();
}

void ForgetAllSprites() {
    for (SpriteRefBase* ref : Registry())
        ref->Reset();
}

} // namespace vimbo

// The point query behind the actors' probes.
#include "game/ActorProbes.hpp"

namespace vimbo {

const ad::TSprite* VisibleSpriteAt(const ad::TSpriteEngine& engine, double x, double y) {
    const ad::TOwningSpriteList& sprites = engine.Children();
    for (int32_t i = sprites.Count() - 1; i >= 0; --i) {
        const ad::TSprite* sprite = sprites[i];
        if (!sprite->Visible)
            continue;
        const ad::TSpriteRect r = sprite->GetBoundsRect();
        if (r.left <= x && x <= r.right && r.top <= y && y <= r.bottom)
            return sprite;
    }
    return nullptr;
}

} // namespace vimbo

// The star that turns over the runner when a life or a level ends, and the score popups.
#pragma once

#include "game/SpriteRef.hpp"

namespace vimbo {

class TStar : public TGameSprite {
public:
    explicit TStar(ad::TSprite* parent) : TGameSprite(parent) {}
};

// The popup of points won, and of points lost to the enemy.
class TScoreFly : public TGameSprite {
public:
    explicit TScoreFly(ad::TSprite* parent) : TGameSprite(parent) {}
};

class TScoreFly2 : public TGameSprite {
public:
    explicit TScoreFly2(ad::TSprite* parent) : TGameSprite(parent) {}
};

extern SpriteRef<TStar> star;

} // namespace vimbo

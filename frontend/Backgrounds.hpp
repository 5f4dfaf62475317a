// The two tinted background layers behind the maze and the menus: they scroll in the menus and
// drift against the runner in play.
#pragma once

#include "game/SpriteRef.hpp"

namespace vimbo {

class TFon : public TGameSprite {
public:
    explicit TFon(ad::TSprite* parent) : TGameSprite(parent) {}
};

class TFon2 : public TGameSprite {
public:
    explicit TFon2(ad::TSprite* parent) : TGameSprite(parent) {}
};

} // namespace vimbo

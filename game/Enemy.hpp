// The enemy: it races the runner for the collectible along the routes of its path search, drags its
// tail, is held by the placed wall and costs the runner a life when it catches it.
#pragma once

#include <cstdint>
#include <string>

#include "game/SpriteRef.hpp"

namespace vimbo {

class TEnemy1 : public TGameSprite {
public:
    explicit TEnemy1(ad::TSprite* parent) : TGameSprite(parent) {}

    double dx = 0;
    double dy = 0;
    int32_t cellX = 0;
    int32_t cellY = 0;
    std::string dir;
    std::string pathDir;
    std::string nextDir;
    double vx = 0;
    double vy = 0;
};

extern SpriteRef<TEnemy1> enemy;

} // namespace vimbo

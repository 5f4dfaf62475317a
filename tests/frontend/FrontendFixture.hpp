// A headless game world for front-end tests: the software renderer, the game's image catalogue and a
// sprite engine, lent to the game through `world` as the form does.
#pragma once

#include <gtest/gtest.h>

#include "app/ImageLoading.hpp"
#include "game/GameState.hpp"
#include "game/World.hpp"
#include "tests/support/HeadlessSurface.hpp"

namespace vimbo::test {

class FrontendFixture : public ::testing::Test {
protected:
    static constexpr int kScreenW = 1024, kScreenH = 768;

    void SetUp() override {
        ResetGameState();
        ASSERT_TRUE(surface_.draw->Initialized());
        LoadImageCatalogue(images_, kScreenW, kScreenH);
        images_.Restore();
        engine_.SetSurface(surface_.draw.get());
        screenW = kScreenW;
        screenH = kScreenH;
        world.AdImageList = &images_;
        world.SpriteEngine = &engine_;
    }
    void TearDown() override {
        world.AdImageList = nullptr;
        world.SpriteEngine = nullptr;
        ResetGameState();
    }
    // Moves and frees as a frame does; drawing adds nothing these tests look at.
    void Frame(double seconds = 0.016) {
        engine_.Move(seconds);
        engine_.Dead();
    }

    HeadlessSurface surface_{kScreenW, kScreenH};
    ad::TAdImageList images_{surface_.draw.get()};
    ad::TSpriteEngine engine_{nullptr};
};

} // namespace vimbo::test

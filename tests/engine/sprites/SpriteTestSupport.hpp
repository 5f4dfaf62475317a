// Helpers of the sprite tests: a sprite whose behaviour each test scripts, a tester that records the
// pairs handed to it, and images built from small pixel pictures.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/render/AdImages.hpp"
#include "engine/sprites/AdImageSprites.hpp"
#include "engine/sprites/AdPixelTest.hpp"
#include "engine/sprites/AdSprites.hpp"

namespace vimbo::test {

// A sprite with a name whose move, draw and collision response are set by the test; it appends its
// name to a shared log when drawn and records the sprites it collided with.
class ProbeSprite : public ad::TSprite {
public:
    ProbeSprite(ad::TSprite* parent, std::string name, double x = 0, double y = 0, double w = 0, double h = 0,
                std::vector<std::string>* drawLog = nullptr);

    void DoMove(double timeGap) override;
    void DoDraw() override;
    void DoCollision(ad::TSprite* sprite, bool& done) override;

    std::string name;
    std::vector<std::string>* drawLog;
    int moves = 0;
    std::vector<ad::TSprite*> hits;
    std::function<void(ProbeSprite&)> onMove;
    std::function<void(ProbeSprite&, ad::TSprite*, bool&)> onCollision;
};

// Derived classes, to tell exact class from "is an instance of".
class BlockSprite : public ProbeSprite {
public:
    using ProbeSprite::ProbeSprite;
};
class SpecialBlockSprite : public BlockSprite {
public:
    using BlockSprite::BlockSprite;
};

// Records every pair it is given; Flush only counts.
class RecordingTester : public ad::TAdSpriteCollisionTester {
public:
    void Test(ad::TSprite* sprite1, ad::TSprite* sprite2) override { pairs.emplace_back(sprite1, sprite2); }
    void Flush() override { ++flushes; }

    std::vector<std::pair<ad::TSprite*, ad::TSprite*>> pairs;
    int flushes = 0;
};

// An image from rows of characters: '#' opaque white, 'r' opaque red, 'g' opaque green, '.' clear.
// All rows have the same length; the pattern size is given (0 for one pattern).
ad::TAdImage* PictureImage(ad::TAdImageList& list, const std::vector<std::string>& rows, int patternWidth = 0,
                           int patternHeight = 0);
// A w x h image, all opaque in one colour (0xAARRGGBB), in patterns of pw x ph.
ad::TAdImage* SolidImage(ad::TAdImageList& list, int w, int h, uint32_t argb, int pw = 0, int ph = 0);

// Names of the sprites of a list, in list order.
template <typename List> std::string Names(const List& list) {
    std::string out;
    for (int32_t i = 0; i < list.Count(); ++i) {
        if (!out.empty())
            out += ' ';
        out += static_cast<ProbeSprite*>(list.Items(i))->name;
    }
    return out;
}

} // namespace vimbo::test

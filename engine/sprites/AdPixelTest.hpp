// Collision testing beyond rectangles: the tester interface the sprite tree hands candidates to, and
// the pixel-exact test that draws both sprites through the renderer plugin and counts overlapping pixels.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/render/AdDraws.hpp"
#include "engine/sprites/AdSpriteLists.hpp"

namespace ad {

class TSprite;

class TAdSpriteCollisionTester {
public:
    virtual ~TAdSpriteCollisionTester() = default;
    // sprite1 is the colliding sprite, sprite2 the candidate.
    virtual void Test(TSprite* sprite1, TSprite* sprite2) = 0;
    // Delivers the decisions on every pair tested since the last flush.
    virtual void Flush() = 0;
};

// Draws both objects of a pair into a small texture: the first marks the stencil where it has opaque
// pixels, the second is counted by an occlusion query where it lands on marks. The counts are read at
// Flush, so the plugin can work on all tests of a scan before the first result is needed.
class TAdPixelCollisionTester {
public:
    // Called at Flush for every pair with overlapping pixels, in test order.
    using Callback = void (*)(void* data, void* object1, void* object2);
    // Draws the object into target so that the top-left corner of its rectangle lands on the offset.
    using DrawProc = void (*)(void* data, void* object, TAdRenderingSurface* target, int32_t offsetX,
                              int32_t offsetY);

    static constexpr int32_t kTargetSize = 32;
    // Alpha-masked drawing with the stencil test, as the plugin's option bits define them.
    static constexpr uint16_t kTargetOptions = 106;

    explicit TAdPixelCollisionTester(TAdDraw* surface);
    ~TAdPixelCollisionTester();
    TAdPixelCollisionTester(const TAdPixelCollisionTester&) = delete;
    TAdPixelCollisionTester& operator=(const TAdPixelCollisionTester&) = delete;

    // Rectangles that share no pixel are dropped without a test.
    void Test(void* object1, const TSpriteRect& rect1, Callback callback, void* callbackData,
              DrawProc drawProc, void* drawData, const TSpriteRect& rect2, void* object2);
    void Flush();

    TAdDraw* Surface() const { return surface_; }
    TAdTextureSurface* TextureSurface() const { return textureSurface_.get(); }
    // Items in the pool, used or free, and those used since the last flush.
    int32_t PoolSize() const { return static_cast<int32_t>(items_.size()); }
    int32_t ItemCount() const { return itemCount_; }

private:
    struct Item {
        void* object1 = nullptr;
        void* object2 = nullptr;
        Callback callback = nullptr;
        void* callbackData = nullptr;
        std::unique_ptr<AdOcclusionQuery> query;
    };

    Item& NextItem();
    // Query objects belong to the plugin's device and do not outlive its re-initialisation.
    void DropItems();

    std::unique_ptr<TAdTextureSurface> textureSurface_;
    TAdDraw* surface_;
    std::vector<std::unique_ptr<Item>> items_;
    size_t cursor_ = 0;
    int32_t itemCount_ = 0;
    int handlerId_ = 0;
};

// The tester the game gives its actors: pixel-exact, with DoCollision called at Flush for each pair
// whose opaque pixels meet, until a response sets Done.
class TAdSpritePixelCollisionTester : public TAdSpriteCollisionTester {
public:
    explicit TAdSpritePixelCollisionTester(TAdDraw* surface);

    void Test(TSprite* sprite1, TSprite* sprite2) override;
    void Flush() override;

    TAdPixelCollisionTester* PixelTester() const { return pixelTester_.get(); }
    bool Done = false;

private:
    static void Decide(void* data, void* object1, void* object2);
    static void DrawSprite(void* data, void* object, TAdRenderingSurface* target, int32_t offsetX,
                           int32_t offsetY);

    std::unique_ptr<TAdPixelCollisionTester> pixelTester_;
};

} // namespace ad

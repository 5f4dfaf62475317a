// The pixel-exact collision test: stencil marking and occlusion counting in a 32 x 32 texture, with
// pooled query items, and the sprite tester that feeds it and delivers DoCollision.
#include "engine/sprites/AdPixelTest.hpp"

#include <algorithm>

#include "engine/sprites/AdSprites.hpp"

namespace ad {

TAdPixelCollisionTester::TAdPixelCollisionTester(TAdDraw* surface)
    : textureSurface_(nullptr), surface_(surface) {
    handlerId_ = surface_->SurfaceEventList.Add([this](TAdSurfaceEvent event) {
        if (event == seInitialize || event == seFinalize)
            DropItems();
    });
    try {
        textureSurface_ = std::make_unique<TAdTextureSurface>(surface_);
    } catch (...) {
        surface_->SurfaceEventList.Remove(handlerId_);
        throw;
    }
    textureSurface_->SetOptions(kTargetOptions);
    textureSurface_->SetSize(kTargetSize, kTargetSize);
    if (surface_->Initialized())
        DropItems();
}

TAdPixelCollisionTester::~TAdPixelCollisionTester() {
    DropItems();
    textureSurface_.reset();
    surface_->SurfaceEventList.Remove(handlerId_);
}

void TAdPixelCollisionTester::DropItems() {
    items_.clear();
    cursor_ = 0;
    itemCount_ = 0;
}

TAdPixelCollisionTester::Item& TAdPixelCollisionTester::NextItem() {
    if (cursor_ >= items_.size()) {
        auto item = std::make_unique<Item>();
        item->query.reset(surface_->AppObject()->CreateOcclusionQuery());
        items_.push_back(std::move(item));
    }
    ++itemCount_;
    return *items_[cursor_++];
}

void TAdPixelCollisionTester::Test(void* object1, const TSpriteRect& rect1, Callback callback,
                                   void* callbackData, DrawProc drawProc, void* drawData,
                                   const TSpriteRect& rect2, void* object2) {
    const TSpriteRect i{std::max(rect1.left, rect2.left), std::max(rect1.top, rect2.top),
                        std::min(rect1.right, rect2.right), std::min(rect1.bottom, rect2.bottom)};
    if (i.left >= i.right || i.top >= i.bottom)
        return;
    // Without a running plugin there is nothing to create queries on, and nothing could be counted.
    if (!surface_->CanDraw() || !textureSurface_->CanDraw())
        return;
    AdApplication* app = surface_->AppObject();
    Item& item = NextItem();

    textureSurface_->ClearSurface(0);
    // The intersection, whatever its size, is drawn scaled onto the small target.
    textureSurface_->Setup2DScene(i.right - i.left, i.bottom - i.top);

    app->SetStencilOptions(1, 0xFFFF, kAdStencilAlways);
    app->SetStencilEvent(kAdStencilOnPass, kAdStencilReplace);
    drawProc(drawData, object1, textureSurface_.get(), rect1.left - i.left, rect1.top - i.top);

    app->SetStencilOptions(0, 0xFFFF, kAdStencilLess);
    app->SetStencilEvent(kAdStencilOnPass, kAdStencilKeep);
    if (item.query != nullptr)
        item.query->StartQuery();
    drawProc(drawData, object2, textureSurface_.get(), rect2.left - i.left, rect2.top - i.top);
    if (item.query != nullptr)
        item.query->StopQuery();

    item.object1 = object1;
    item.object2 = object2;
    item.callback = callback;
    item.callbackData = callbackData;
    app->SetStencilOptions(0, 0xFFFF, kAdStencilAlways);
}

void TAdPixelCollisionTester::Flush() {
    // Taken before any callback runs: a response may not add to the pairs being delivered.
    const size_t count = std::min(static_cast<size_t>(itemCount_), items_.size());
    cursor_ = 0;
    itemCount_ = 0;
    for (size_t n = 0; n < count && n < items_.size(); ++n) {
        Item& item = *items_[n];
        if (item.query != nullptr && item.query->PixelCount() > 0)
            item.callback(item.callbackData, item.object1, item.object2);
    }
}

TAdSpritePixelCollisionTester::TAdSpritePixelCollisionTester(TAdDraw* surface)
    : pixelTester_(std::make_unique<TAdPixelCollisionTester>(surface)) {}

void TAdSpritePixelCollisionTester::Test(TSprite* sprite1, TSprite* sprite2) {
    Done = false;
    pixelTester_->Test(sprite1, sprite1->GetBoundsRect(), &Decide, this, &DrawSprite, this,
                       sprite2->GetBoundsRect(), sprite2);
}

void TAdSpritePixelCollisionTester::Flush() {
    pixelTester_->Flush();
}

void TAdSpritePixelCollisionTester::Decide(void* data, void* object1, void* object2) {
    auto* self = static_cast<TAdSpritePixelCollisionTester*>(data);
    if (!self->Done)
        static_cast<TSprite*>(object1)->DoCollision(static_cast<TSprite*>(object2), self->Done);
}

void TAdSpritePixelCollisionTester::DrawSprite(void* data, void* object, TAdRenderingSurface* target,
                                               int32_t offsetX, int32_t offsetY) {
    (void)data;
    auto* sprite = static_cast<TSprite*>(object);
    TSpriteEngine* engine = sprite->Engine();
    if (engine == nullptr)
        return;
    TAdRenderingSurface* previous = engine->Surface();
    engine->SetSurface(target);
    const double x = sprite->X(), y = sprite->Y();
    sprite->SetX(x - sprite->GetBoundsRect().left + offsetX);
    sprite->SetY(y - sprite->GetBoundsRect().top + offsetY);
    sprite->Draw();
    engine->ReplaceSurface(previous);
    sprite->SetX(x);
    sprite->SetY(y);
}

} // namespace ad

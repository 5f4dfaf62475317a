// The sprite tree: structure and grid upkeep, the per-frame move, draw and freeing, the collision scan
// and the point queries.
#include "engine/sprites/AdSprites.hpp"

#include <algorithm>

#include "engine/sprites/AdPixelTest.hpp"

namespace ad {

namespace {

// Cell coordinates stay far enough inside the 32-bit range that widths and the scan's widening by
// one cell never overflow.
constexpr double kCellLimit = 1 << 29;

int32_t CellFloor(double value) {
    if (!(value == value))
        return 0;
    return static_cast<int32_t>(std::floor(std::clamp(value, -kCellLimit, kCellLimit)));
}

int32_t CellCeil(double value) {
    if (!(value == value))
        return 0;
    return static_cast<int32_t>(std::ceil(std::clamp(value, -kCellLimit, kCellLimit)));
}

int32_t SaturatingAdd(int32_t a, int32_t b) {
    const int64_t sum = static_cast<int64_t>(a) + b;
    return static_cast<int32_t>(
        std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

bool Contains(const TSpriteRect& r, double x, double y) {
    return r.left <= x && x <= r.right && r.top <= y && y <= r.bottom;
}

void GridAdd(TAd2DSpriteList& grid, TSprite* sprite, const TSpriteRect& r) {
    grid.Add(sprite, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void GridRemove(TAd2DSpriteList& grid, TSprite* sprite, const TSpriteRect& r) {
    grid.Remove(sprite, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

} // namespace

int32_t SpriteZ(const TSprite* sprite) {
    return sprite->Z();
}

TSprite::TSprite(TSprite* parent) : parent_(parent) {
    if (parent_ == nullptr)
        return;
    engine_ = parent_->engine_;
    parent_->AddChild(std::unique_ptr<TSprite>(this));
}

TSprite::~TSprite() {
    if (deaded_ && engine_ != nullptr && engine_ != this)
        engine_->ForgetDead(this);
    Clear();
}

void TSprite::Clear() {
    // The children go out of the list before they are freed, so no destructor sees a freed sibling.
    TOwningSpriteList doomed = std::move(children_);
    children_ = TOwningSpriteList{};
    grid_.ClearCells();
    doomed.Clear();
}

void TSprite::AddChild(std::unique_ptr<TSprite> sprite) {
    TSprite* child = sprite.get();
    children_.Add(std::move(sprite));
    const TSpriteRect cells = child->GetCellRect();
    GridAdd(grid_, child, cells);
    child->cellRect_ = cells;
}

std::unique_ptr<TSprite> TSprite::RemoveChild(TSprite* sprite) {
    std::unique_ptr<TSprite> held = children_.Extract(sprite);
    GridRemove(grid_, sprite, sprite->cellRect_);
    return held;
}

void TSprite::UpdateChildCells(TSprite* sprite) {
    const TSpriteRect cells = sprite->GetCellRect();
    if (cells == sprite->cellRect_)
        return;
    GridRemove(grid_, sprite, sprite->cellRect_);
    GridAdd(grid_, sprite, cells);
    sprite->cellRect_ = cells;
}

void TSprite::SetX(double value) {
    x_ = value;
    if (parent_ != nullptr)
        parent_->UpdateChildCells(this);
}

void TSprite::SetY(double value) {
    y_ = value;
    if (parent_ != nullptr)
        parent_->UpdateChildCells(this);
}

void TSprite::SetWidth(double value) {
    width_ = value;
    if (parent_ != nullptr)
        parent_->UpdateChildCells(this);
}

void TSprite::SetHeight(double value) {
    height_ = value;
    if (parent_ != nullptr)
        parent_->UpdateChildCells(this);
}

void TSprite::SetZ(int32_t value) {
    if (value == z_)
        return;
    z_ = value;
    if (parent_ == nullptr)
        return;
    std::unique_ptr<TSprite> self = parent_->RemoveChild(this);
    if (self != nullptr)
        parent_->AddChild(std::move(self));
}

TSpriteRect TSprite::GetBoundsRect() const {
    const int32_t left = AdRound(AbsoluteX()), top = AdRound(AbsoluteY());
    return {left, top, SaturatingAdd(left, AdRound(width_)), SaturatingAdd(top, AdRound(height_))};
}

TSpriteRect TSprite::GetCellRect() const {
    const int32_t size = parent_ != nullptr ? parent_->GridSize : GridSize;
    const double g = static_cast<double>(std::max(size, 1));
    return {CellFloor(x_ / g), CellFloor(y_ / g), CellCeil(x_ / g + width_ / g),
            CellCeil(y_ / g + height_ / g)};
}

TSpriteRect TSprite::GetCollisionCellRect() const {
    const TSpriteRect cells = GetCellRect();
    TSpriteRect r{cells.left - 1, cells.top - 1, cells.right + 1, cells.bottom + 1};
    if (engine_ == nullptr)
        return r;
    const TAd2DSpriteList& grid = engine_->grid_;
    return {std::max(r.left, grid.MinX()), std::max(r.top, grid.MinY()), std::min(r.right, grid.MaxX()),
            std::min(r.bottom, grid.MaxY())};
}

bool TSprite::TestCollision(TSprite* sprite) {
    (void)sprite;
    return true;
}

void TSprite::DoMove(double timeGap) {
    (void)timeGap;
    if (AutoOptimize)
        grid_.Optimize();
}

void TSprite::DoCollision(TSprite* sprite, bool& done) {
    (void)sprite;
    (void)done;
}

void TSprite::Move(double timeGap) {
    if (!CanMove)
        return;
    // Sprites created during this loop may or may not move this frame, depending on their Z.
    const int32_t count = children_.Count();
    for (int32_t i = 0; i < count && i < children_.Count(); ++i)
        children_[i]->Move(timeGap);
    DoMove(timeGap);
}

void TSprite::Draw() {
    if (!Visible)
        return;
    TSpriteEngine* engine = engine_;
    if (engine != nullptr && engine->surface_ != nullptr)
        engine->surface_->Activate();
    for (int32_t i = 0; i < children_.Count(); ++i) {
        TSprite* child = children_[i];
        if (!Clipping || engine == nullptr || AdRectsOverlap(child->GetBoundsRect(), engine->surfaceRect_))
            child->Draw();
    }
    DoDraw();
}

void TSprite::Dead() {
    if (parent_ == nullptr || engine_ == nullptr || deaded_)
        return;
    engine_->deadList_.push_back(this);
    deaded_ = true;
}

TSprite* TSprite::GetSpriteAt(double x, double y) const {
    for (int32_t i = children_.Count() - 1; i >= 0; --i)
        if (Contains(children_[i]->GetBoundsRect(), x, y))
            return children_[i];
    return nullptr;
}

void TSprite::GetSpritesAt(double x, double y, TSpriteList* list, const TSpriteClass& filter) const {
    if (list == nullptr)
        return;
    list->Clear();
    for (int32_t i = 0; i < children_.Count(); ++i) {
        TSprite* child = children_[i];
        if (Contains(child->GetBoundsRect(), x, y) && filter.isInstance(child))
            list->Add(child);
    }
}

void TSprite::GetSpritesAt(double x, double y, TSpriteList* list) const {
    GetSpritesAt(x, y, list, SpriteClassOf<TSprite>());
}

int32_t TSprite::CountOfClass(const TSpriteClass& cls) const {
    int32_t count = 0;
    for (int32_t i = 0; i < children_.Count(); ++i) {
        const TSprite* child = children_[i];
        if (typeid(*child) == *cls.type)
            ++count;
        count += child->CountOfClass(cls);
    }
    return count;
}

int32_t TSprite::Collision() {
    int32_t result = 0;
    TSpriteEngine* engine = engine_;
    // A scan started from inside another one would overwrite the engine's scan state and marks.
    if (engine != nullptr && engine->collisionRunning_)
        return 0;
    if (engine != nullptr)
        engine->collisionRunning_ = true;
    if (!deaded_ && engine != nullptr && CanDoCollisions) {
        engine->collisionCount_ = 0;
        engine->collisionSprite_ = this;
        engine->collisionDone_ = false;
        engine->collisionRect_ = GetBoundsRect();
        if (!engine->BruteForceCollision) {
            ScanCells(GetCollisionCellRect());
        } else {
            const int32_t count = engine->children_.Count();
            for (int32_t i = 0; i < count && i < engine->children_.Count() && !engine->collisionDone_; ++i)
                CheckCollisionWith(engine->children_[i]);
        }
        engine->collisionSprite_ = nullptr;
        result = engine->collisionCount_;
    }
    if (CollisionTester != nullptr)
        CollisionTester->Flush();
    if (engine != nullptr)
        engine->collisionRunning_ = false;
    return result;
}

void TSprite::ScanCells(const TSpriteRect& cells) {
    TSpriteEngine* engine = engine_;
    TAd2DSpriteList& grid = engine->grid_;
    for (int32_t x = cells.left; x <= cells.right && !engine->collisionDone_; ++x)
        for (int32_t y = cells.top; y <= cells.bottom && !engine->collisionDone_; ++y)
            // The cell is looked up again at every step: a response may move sprites and grow the grid.
            for (int32_t i = 0; i < grid.Cell(x, y).Count(); ++i) {
                TSprite* candidate = grid.Cell(x, y).Items(i);
                if (candidate->visited_)
                    continue;
                candidate->visited_ = true;
                engine->visitedSprites_.push_back(candidate);
                CheckCollisionWith(candidate);
                if (engine->collisionDone_)
                    break;
            }
    // The marks are cleared through the list of marked sprites rather than the cells, so a candidate
    // that a response moved out of the scanned cells is not left marked for every later scan.
    for (TSprite* sprite : engine->visitedSprites_)
        sprite->visited_ = false;
    engine->visitedSprites_.clear();
}

bool TSprite::CollidesWith(const TSprite&) const {
    return true;
}

void TSprite::CheckCollisionWith(TSprite* sprite) {
    TSpriteEngine* engine = engine_;
    if (engine == nullptr || engine->collisionSprite_ == nullptr || !sprite->CanDoCollisions)
        return;
    TSprite* colliding = engine->collisionSprite_;
    if (sprite != colliding && colliding->CollidesWith(*sprite)) {
        if (colliding->CollisionTester != nullptr) {
            colliding->CollisionTester->Test(colliding, sprite);
        } else if (AdRectsCollide(sprite->GetBoundsRect(), engine->collisionRect_) &&
                   sprite->TestCollision(colliding)) {
            ++engine->collisionCount_;
            colliding->DoCollision(sprite, engine->collisionDone_);
            if (colliding->deaded_ || !colliding->CanDoCollisions)
                engine->collisionDone_ = true;
        }
    }
    for (int32_t i = 0; i < sprite->children_.Count() && !engine->collisionDone_; ++i)
        CheckCollisionWith(sprite->children_[i]);
}

TSpriteEngine::TSpriteEngine(TAdRenderingSurface* surface) : TSprite(nullptr) {
    engine_ = this;
    SetSurface(surface);
}

TSpriteEngine::~TSpriteEngine() {
    // The sprites go while the engine's own members still exist: their destructors may consult them.
    deadList_.clear();
    Clear();
}

void TSpriteEngine::SetSurface(TAdRenderingSurface* surface) {
    if (surface == nullptr || surface == surface_)
        return;
    ReplaceSurface(surface);
}

void TSpriteEngine::ReplaceSurface(TAdRenderingSurface* surface) {
    surface_ = surface;
    surfaceRect_ =
        surface != nullptr ? TSpriteRect{0, 0, surface->GetWidth(), surface->GetHeight()} : TSpriteRect{};
}

void TSpriteEngine::Move(double timeGap) {
    if (surface_ != nullptr)
        surfaceRect_ = {0, 0, surface_->GetWidth(), surface_->GetHeight()};
    TSprite::Move(timeGap);
}

void TSpriteEngine::ForgetDead(TSprite* sprite) {
    auto at = std::find(deadList_.begin(), deadList_.end(), sprite);
    if (at != deadList_.end())
        deadList_.erase(at);
}

void TSpriteEngine::Dead() {
    // Freeing while a scan holds references to candidates, or from a destructor run by this pass,
    // would leave dangling pointers; such sprites wait for the next pass.
    if (collisionRunning_ || freeingRunning_)
        return;
    freeingRunning_ = true;
    freeing_.swap(deadList_);
    // A marked sprite below another marked one goes with its ancestor's subtree and is not freed again.
    std::erase_if(freeing_, [this](const TSprite* sprite) {
        for (const TSprite* up = sprite->Parent(); up != nullptr && up != this; up = up->Parent())
            if (up->Deaded())
                return true;
        return false;
    });
    for (TSprite* sprite : freeing_)
        sprite->parent_->RemoveChild(sprite).reset();
    freeing_.clear();
    freeingRunning_ = false;
}

} // namespace ad

// The sprite tree: `TSprite` (a node with position, size, Z order, owned children and their grid) and
// `TSpriteEngine` (the root holding the drawing surface, the dead list and the collision scan).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <typeinfo>
#include <vector>

#include "engine/render/AdDraws.hpp"
#include "engine/sprites/AdSpriteLists.hpp"

namespace ad {

class TSpriteEngine;
class TAdSpriteCollisionTester;

// Rounds to the nearest integer, halves to even, clamped to the 32-bit range (NaN gives 0).
inline int32_t AdRound(double value) {
    const double r = std::nearbyint(value);
    if (!(r == r))
        return 0;
    if (r <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (r >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(r);
}

// Rounds towards zero, clamped to the 32-bit range (NaN gives 0).
inline int32_t AdTrunc(double value) {
    return AdRound(std::trunc(value));
}

// Whether two pixel rectangles (right and bottom exclusive) share at least one pixel.
inline bool AdRectsOverlap(const TSpriteRect& a, const TSpriteRect& b) {
    return std::max(a.left, b.left) < std::min(a.right, b.right) &&
           std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

// Whether the collision scan counts two rectangles as touching: by their edges, so that for two
// non-empty rectangles it is AdRectsOverlap, and an empty one (a point) touches a rectangle it lies
// strictly inside. A zero-sized sprite at a point (a mouse hot spot) thereby finds what lies under it.
inline bool AdRectsCollide(const TSpriteRect& a, const TSpriteRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// A sprite class as a value: exact identity for counting, "is an instance of" for filters.
struct TSpriteClass {
    const std::type_info* type;
    bool (*isInstance)(const TSprite* sprite);
};

template <typename T> const TSpriteClass& SpriteClassOf() {
    static const TSpriteClass cls{&typeid(T),
                                  [](const TSprite* s) { return dynamic_cast<const T*>(s) != nullptr; }};
    return cls;
}

class TSprite {
public:
    // Links the sprite under parent at once (the parent owns it from here on; keep the pointer as a
    // reference). A sprite without parent belongs to whoever created it.
    explicit TSprite(TSprite* parent);
    // Frees the children; the sprite is not taken out of its parent (the engine's Dead does that).
    virtual ~TSprite();
    TSprite(const TSprite&) = delete;
    TSprite& operator=(const TSprite&) = delete;

    // Virtual operations, in the order derived classes rely on.
    virtual TSpriteRect GetBoundsRect() const;
    virtual TSpriteRect GetCellRect() const;
    // Asked on a candidate whether the colliding sprite may hit it.
    virtual bool TestCollision(TSprite* sprite);
    // Per-frame behaviour; timeGap in seconds.
    virtual void DoMove(double timeGap);
    virtual void DoDraw() {}
    // Collision response of the colliding sprite; setting done stops the running scan.
    virtual void DoCollision(TSprite* sprite, bool& done);
    // A free slot kept so the table of derived classes lines up; nothing calls it.
    virtual void ReservedSlot() {}
    virtual void SetX(double value);
    virtual void SetY(double value);
    virtual void SetWidth(double value);
    virtual void SetHeight(double value);
    virtual TSpriteRect GetCollisionCellRect() const;
    virtual void CheckCollisionWith(TSprite* sprite);
    // Draws the children (clipped against the engine's surface), then this sprite.
    virtual void Draw();
    // Marks the sprite dead; the engine frees it in its own Dead.
    virtual void Dead();
    // The top-most direct child whose bounds contain the point, edges inclusive.
    virtual TSprite* GetSpriteAt(double x, double y) const;
    virtual void GetSpritesAt(double x, double y, TSpriteList* list, const TSpriteClass& filter) const;
    virtual void GetSpritesAt(double x, double y, TSpriteList* list) const;
    // Whether this sprite, scanning for collisions, answers a hit on `other` at all. Candidates it
    // rules out are passed over before any test: a pixel test draws both sprites, and a sprite that
    // ignores most of what it overlaps (a background under every actor) would pay for it each scan.
    virtual bool CollidesWith(const TSprite& other) const;

    template <typename T> void GetSpritesAt(double x, double y, TSpriteList* list) const {
        GetSpritesAt(x, y, list, SpriteClassOf<T>());
    }

    // Moves the children present at the start (if CanMove), then this sprite.
    void Move(double timeGap);
    // Runs the collision scan of this sprite; the number of rectangle hits counted.
    int32_t Collision();
    // Re-inserts the sprite among its siblings when the value differs.
    void SetZ(int32_t value);
    // Frees every child.
    void Clear();
    // Sprites in the subtree below whose class is exactly cls.
    int32_t CountOfClass(const TSpriteClass& cls) const;
    template <typename T> int32_t CountOfClass() const { return CountOfClass(SpriteClassOf<T>()); }

    double AbsoluteX() const { return parent_ != nullptr ? x_ + parent_->AbsoluteX() : x_; }
    double AbsoluteY() const { return parent_ != nullptr ? y_ + parent_->AbsoluteY() : y_; }

    TSprite* Parent() const { return parent_; }
    TSpriteEngine* Engine() const { return engine_; }
    const TOwningSpriteList& Children() const { return children_; }
    const TAd2DSpriteList& Grid() const { return grid_; }
    TAd2DSpriteList& Grid() { return grid_; }
    double X() const { return x_; }
    double Y() const { return y_; }
    double Width() const { return width_; }
    double Height() const { return height_; }
    int32_t Z() const { return z_; }
    bool Deaded() const { return deaded_; }
    const TSpriteRect& CellRect() const { return cellRect_; }
    bool Visited() const { return visited_; }

    bool Visible = true;
    bool CanMove = true;
    bool CanDoCollisions = true;
    int32_t GridSize = 128;
    bool AutoOptimize = true;
    // Consulted on the engine only: the scan walks all of the engine's children instead of the grid.
    bool BruteForceCollision = false;
    bool Clipping = true;
    TAdSpriteCollisionTester* CollisionTester = nullptr;

protected:
    TSpriteEngine* engine_ = nullptr;

private:
    friend class TSpriteEngine;
    void AddChild(std::unique_ptr<TSprite> sprite);
    std::unique_ptr<TSprite> RemoveChild(TSprite* sprite);
    void UpdateChildCells(TSprite* sprite);
    void ScanCells(const TSpriteRect& cells);

    TOwningSpriteList children_;
    TSprite* parent_;
    double x_ = 0;
    double y_ = 0;
    double width_ = 0;
    double height_ = 0;
    int32_t z_ = 0;
    bool deaded_ = false;
    TAd2DSpriteList grid_;
    TSpriteRect cellRect_{};
    bool visited_ = false;
};

class TSpriteEngine : public TSprite {
public:
    // A surface of nullptr is allowed; SetSurface can follow.
    explicit TSpriteEngine(TAdRenderingSurface* surface);
    ~TSpriteEngine() override;

    // Frees the sprites marked dead since the last call.
    void Dead() override;
    // Sets the drawing target and SurfaceRect to its size; nullptr and the current surface are ignored.
    virtual void SetSurface(TAdRenderingSurface* surface);

    // Refreshes SurfaceRect from the surface, then moves the tree.
    void Move(double timeGap);

    TAdRenderingSurface* Surface() const { return surface_; }
    // In the order the sprites were marked.
    const std::vector<TSprite*>& DeadList() const { return deadList_; }
    int32_t CollisionCount() const { return collisionCount_; }
    TSprite* CollisionSprite() const { return collisionSprite_; }
    bool CollisionDone() const { return collisionDone_; }
    const TSpriteRect& CollisionRect() const { return collisionRect_; }
    const TSpriteRect& SurfaceRect() const { return surfaceRect_; }

private:
    friend class TSprite;
    friend class TAdSpritePixelCollisionTester;
    // Puts a drawing target in place even when it is nullptr (the pixel test hands the previous one back).
    void ReplaceSurface(TAdRenderingSurface* surface);
    // A marked sprite freed by other means (its parent cleared) leaves the dead list.
    void ForgetDead(TSprite* sprite);

    TAdRenderingSurface* surface_ = nullptr;
    std::vector<TSprite*> deadList_;
    int32_t collisionCount_ = 0;
    TSprite* collisionSprite_ = nullptr;
    bool collisionDone_ = false;
    TSpriteRect collisionRect_{};
    TSpriteRect surfaceRect_{};
    // A scan and the delivery of its results, or the freeing pass, is running: neither may nest.
    bool collisionRunning_ = false;
    bool freeingRunning_ = false;
    // Sprites marked Visited in the running scan, so every mark is cleared even if one moved away.
    std::vector<TSprite*> visitedSprites_;
    // Reused by Dead so freeing allocates nothing in steady state.
    std::vector<TSprite*> freeing_;
};

} // namespace ad

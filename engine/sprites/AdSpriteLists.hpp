// The lists of the sprite tree: Z-ordered sprite lists (owning for children, referencing for grid
// cells and query results) and the grid of cells that keeps collision queries local.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "engine/render/AdPluginApi.hpp"

namespace ad {

class TSprite;
int32_t SpriteZ(const TSprite* sprite);

// Sprites ascending by Z. A new sprite goes before the first one of equal or greater Z, so among
// equal Z the newest stands first: it is drawn beneath the older ones and found last from the top.
template <typename Holder> class TBasicSpriteList {
public:
    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    bool Empty() const { return items_.empty(); }
    TSprite* Items(int32_t index) const { return Raw(items_[static_cast<size_t>(index)]); }
    TSprite* operator[](int32_t index) const { return Items(index); }

    void Add(Holder sprite) {
        const int32_t z = SpriteZ(Raw(sprite));
        // The list is always sorted by Z (SetZ re-inserts), so the insertion point can be searched.
        auto at = std::partition_point(items_.begin(), items_.end(),
                                       [z](const Holder& item) { return SpriteZ(Raw(item)) < z; });
        items_.insert(at, std::move(sprite));
    }

    int32_t IndexOf(const TSprite* sprite) const {
        for (size_t i = 0; i < items_.size(); ++i)
            if (Raw(items_[i]) == sprite)
                return static_cast<int32_t>(i);
        return -1;
    }

    // Takes the first occurrence out of the list and hands it back (empty if absent).
    Holder Extract(const TSprite* sprite) {
        const int32_t index = IndexOf(sprite);
        if (index < 0)
            return Holder{};
        Holder held = std::move(items_[static_cast<size_t>(index)]);
        items_.erase(items_.begin() + index);
        return held;
    }

    // Empties the list; owned sprites are freed one by one in list order.
    void Clear() {
        for (Holder& item : items_)
            item = Holder{};
        items_.clear();
    }

private:
    static TSprite* Raw(TSprite* sprite) { return sprite; }
    static TSprite* Raw(const std::unique_ptr<TSprite>& sprite) { return sprite.get(); }

    std::vector<Holder> items_;
};

// References only: grid cells, query results, the engine's dead list.
using TSpriteList = TBasicSpriteList<TSprite*>;
// The children of a sprite, which it owns.
using TOwningSpriteList = TBasicSpriteList<std::unique_ptr<TSprite>>;

// A rectangle of pixels or of grid cells (columns left..right-1, rows top..bottom-1).
using TSpriteRect = AdRect;

// The grid of a sprite's children, addressed by cell column and row, both possibly negative. It grows
// by appending columns and rows; keys grown below the minimum leave the key arrays unsorted until
// Optimize puts every cell back at the position of its key.
class TAd2DSpriteList {
public:
    TAd2DSpriteList();

    int32_t MinX() const { return minX_; }
    int32_t MinY() const { return minY_; }
    int32_t MaxX() const { return maxX_; }
    int32_t MaxY() const { return maxY_; }
    bool Unsorted() const { return unsorted_; }
    const std::vector<int32_t>& XKeys() const { return xKeys_; }
    const std::vector<int32_t>& YKeys() const { return yKeys_; }

    // Enters the sprite, by Z, in every cell of columns left..left+width-1 and rows top..top+height-1,
    // growing the grid first as far as needed.
    void Add(TSprite* sprite, int32_t left, int32_t top, int32_t width, int32_t height);
    // Takes the sprite's first occurrence out of every covered cell.
    void Remove(TSprite* sprite, int32_t left, int32_t top, int32_t width, int32_t height);
    // The list of a cell inside the bounds.
    TSpriteList& Cell(int32_t x, int32_t y);
    void Optimize();
    // Empties every cell; the grid keeps its size.
    void ClearCells();

private:
    size_t ColumnIndex(int32_t x) const;
    size_t RowIndex(int32_t y) const;
    void Grow(int32_t dx, int32_t dy);

    int32_t minX_ = 0;
    int32_t minY_ = 0;
    int32_t maxY_ = 0;
    int32_t maxX_ = 0;
    bool unsorted_ = false;
    std::vector<int32_t> xKeys_;
    std::vector<int32_t> yKeys_;
    std::vector<std::vector<TSpriteList>> cells_;
};

} // namespace ad

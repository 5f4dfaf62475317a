// The grid of sprite cells: growth to any side, lookup by key, and re-sorting after growth.
#include "engine/sprites/AdSpriteLists.hpp"

namespace ad {

TAd2DSpriteList::TAd2DSpriteList() : xKeys_{0}, yKeys_{0}, cells_(1) {
    cells_[0].resize(1);
}

size_t TAd2DSpriteList::ColumnIndex(int32_t x) const {
    if (!unsorted_)
        return static_cast<size_t>(static_cast<int64_t>(x) - minX_);
    return static_cast<size_t>(std::find(xKeys_.begin(), xKeys_.end(), x) - xKeys_.begin());
}

size_t TAd2DSpriteList::RowIndex(int32_t y) const {
    if (!unsorted_)
        return static_cast<size_t>(static_cast<int64_t>(y) - minY_);
    return static_cast<size_t>(std::find(yKeys_.begin(), yKeys_.end(), y) - yKeys_.begin());
}

TSpriteList& TAd2DSpriteList::Cell(int32_t x, int32_t y) {
    return cells_[ColumnIndex(x)][RowIndex(y)];
}

void TAd2DSpriteList::Grow(int32_t dx, int32_t dy) {
    const size_t rows = yKeys_.size();
    for (int32_t i = 0; i < (dx < 0 ? -dx : dx); ++i) {
        cells_.emplace_back(rows);
        xKeys_.push_back(dx > 0 ? ++maxX_ : --minX_);
    }
    if (dx < 0)
        unsorted_ = true;
    for (int32_t i = 0; i < (dy < 0 ? -dy : dy); ++i) {
        for (auto& column : cells_)
            column.emplace_back();
        yKeys_.push_back(dy > 0 ? ++maxY_ : --minY_);
    }
    if (dy < 0)
        unsorted_ = true;
}

void TAd2DSpriteList::Add(TSprite* sprite, int32_t left, int32_t top, int32_t width, int32_t height) {
    if (width <= 0 || height <= 0)
        return; // covers no cell: nothing to enter, nothing to grow for
    const int32_t right = left + width - 1, bottom = top + height - 1;
    if (left < minX_)
        Grow(left - minX_, 0);
    if (right > maxX_)
        Grow(right - maxX_, 0);
    if (top < minY_)
        Grow(0, top - minY_);
    if (bottom > maxY_)
        Grow(0, bottom - maxY_);
    for (int32_t x = left; x <= right; ++x) {
        auto& column = cells_[ColumnIndex(x)];
        for (int32_t y = top; y <= bottom; ++y)
            column[RowIndex(y)].Add(sprite);
    }
}

void TAd2DSpriteList::Remove(TSprite* sprite, int32_t left, int32_t top, int32_t width, int32_t height) {
    const int32_t right = std::min(left + width - 1, maxX_), bottom = std::min(top + height - 1, maxY_);
    for (int32_t x = std::max(left, minX_); x <= right; ++x) {
        auto& column = cells_[ColumnIndex(x)];
        for (int32_t y = std::max(top, minY_); y <= bottom; ++y)
            column[RowIndex(y)].Extract(sprite);
    }
}

void TAd2DSpriteList::Optimize() {
    if (!unsorted_)
        return;
    std::vector<std::vector<TSpriteList>> sorted(cells_.size());
    for (size_t c = 0; c < cells_.size(); ++c) {
        auto& column = sorted[static_cast<size_t>(static_cast<int64_t>(xKeys_[c]) - minX_)];
        column.resize(yKeys_.size());
        for (size_t r = 0; r < yKeys_.size(); ++r)
            column[static_cast<size_t>(static_cast<int64_t>(yKeys_[r]) - minY_)] = std::move(cells_[c][r]);
    }
    cells_ = std::move(sorted);
    for (size_t c = 0; c < xKeys_.size(); ++c)
        xKeys_[c] = minX_ + static_cast<int32_t>(c);
    for (size_t r = 0; r < yKeys_.size(); ++r)
        yKeys_[r] = minY_ + static_cast<int32_t>(r);
    unsorted_ = false;
}

void TAd2DSpriteList::ClearCells() {
    for (auto& column : cells_)
        for (auto& cell : column)
            cell.Clear();
}

} // namespace ad

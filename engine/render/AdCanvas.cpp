// Canvas drawing objects and their display lists.
#include "engine/render/AdCanvas.hpp"

#include <cmath>
#include <numbers>

namespace ad {

namespace {

struct RimPoint {
    float x, y;
};

// Rim point i of kRimSteps - 1 around the ellipse; the vertical radius is taken as it is, so a
// rectangle of width 0 still gives finite points.
RimPoint RimAt(const AdRect& rect, int i) {
    const double cx = (rect.left + rect.right) / 2.0, cy = (rect.top + rect.bottom) / 2.0;
    const double w = rect.right - rect.left, h = rect.bottom - rect.top;
    const double a = 2.0 * std::numbers::pi * i / (TAdCanvasEllipseObject::kRimSteps - 1);
    return {static_cast<float>(cx + std::cos(a) * w / 2.0), static_cast<float>(cy + std::sin(a) * h / 2.0)};
}

AdVertex ColouredVertex(float x, float y, AdColor color) {
    AdVertex v;
    v.x = x;
    v.y = y;
    v.color = color;
    return v;
}

} // namespace

// ---- Drawing objects -------------------------------------------------------------------------

std::vector<AdVertex> TAdCanvasEllipseObject::BuildFan(const AdRect& rect, const TAdBrush& brush) {
    constexpr int n = kRimSteps;
    const AdColor rim = brush.Style == 2 ? brush.GradientColor() : brush.Color();
    std::vector<AdVertex> fan;
    fan.reserve(n + 1);
    fan.push_back(ColouredVertex(static_cast<float>((rect.left + rect.right) / 2.0),
                                 static_cast<float>((rect.top + rect.bottom) / 2.0), brush.Color()));
    for (int i = 0; i < n - 1; ++i) {
        const RimPoint p = RimAt(rect, i);
        fan.push_back(ColouredVertex(p.x, p.y, rim));
    }
    fan.push_back(fan[1]);
    return fan;
}

std::vector<AdVertex> TAdCanvasEllipseObject::BuildOutline(const AdRect& rect, AdColor color) {
    std::vector<AdVertex> line;
    for (int i = 0; i <= kRimSteps - 1; ++i) {
        const RimPoint p = RimAt(rect, i % (kRimSteps - 1));
        const float x = std::round(p.x), y = std::round(p.y);
        if (!line.empty() && line.back().x == x && line.back().y == y)
            continue;
        line.push_back(ColouredVertex(x, y, color));
    }
    return line;
}

void TAdCanvasEllipseObject::Draw(TAdCanvas& canvas) {
    AdMesh* mesh = canvas.ShapeMesh();
    if (mesh == nullptr)
        return;
    mesh->SetTexture(nullptr);
    mesh->SetIndices(nullptr, 0);
    mesh->SetMatrix(AdMatrix::Identity());
    if (Brush.Style != 0) {
        const std::vector<AdVertex> fan = BuildFan(Rect, Brush);
        mesh->SetVertices(fan.data(), static_cast<int>(fan.size()));
        mesh->SetPrimitiveCount(static_cast<int>(fan.size()) - 2);
        mesh->Update();
        mesh->Draw(Brush.BlendMode, kAdPrimitiveTriangleFan);
    }
    if (Pen.Style != 0) {
        const std::vector<AdVertex> line = BuildOutline(Rect, Pen.Color);
        if (line.size() < 2)
            return;
        mesh->SetVertices(line.data(), static_cast<int>(line.size()));
        mesh->SetPrimitiveCount(static_cast<int>(line.size()) - 1);
        mesh->Update();
        mesh->Draw(kAdBlendAlpha, kAdPrimitiveLineStrip);
    }
}

void TAdCanvasTextObject::Draw(TAdCanvas& canvas) {
    if (Font != nullptr)
        Font->TextOut(canvas.Surface(), X, Y, Text, Pen.Color);
}

// ---- TAdCanvas -------------------------------------------------------------------------------

TAdCanvas::TAdCanvas(TAdRenderingSurface* surface) : surface_(surface) {
    TAdDraw* parent = surface_ != nullptr ? surface_->Parent() : nullptr;
    if (parent != nullptr && parent->CanDraw())
        mesh_.reset(parent->AppObject()->CreateMesh());
}

TAdCanvas::~TAdCanvas() = default;

void TAdCanvas::Append(std::unique_ptr<TAdCanvasObject> object) {
    if (currentList_ == nullptr) {
        displayLists_.emplace_back();
        currentList_ = &displayLists_.back();
    }
    currentList_->push_back(std::move(object));
}

void TAdCanvas::TextOut(int32_t x, int32_t y, const std::string& text) {
    Append(std::make_unique<TAdCanvasTextObject>(Pen, Brush, x, y, text, Font));
}

void TAdCanvas::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    Append(std::make_unique<TAdCanvasEllipseObject>(Pen, Brush, AdRect{left, top, right, bottom}));
}

size_t TAdCanvas::PendingObjects() const {
    size_t count = 0;
    for (const auto& list : displayLists_)
        count += list.size();
    return count;
}

void TAdCanvas::Release() {
    std::vector<TAdCanvasDisplayList> lists;
    lists.swap(displayLists_);
    currentList_ = nullptr;
    if (surface_ == nullptr || lists.empty())
        return;
    surface_->Activate();
    if (!surface_->CanDraw())
        return;
    for (auto& list : lists)
        for (auto& object : list)
            object->Draw(*this);
}

} // namespace ad

// Emission set-up, movement and geometry of the point and billboard particles.
#include "engine/particles/AdParticleClasses.hpp"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "engine/platform/Random.hpp"

namespace ad {

namespace {

int32_t RoundToInt32(double value) {
    if (!(value == value))
        return 0;
    constexpr double kMax = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::nearbyint(std::clamp(value, -kMax, kMax)));
}

} // namespace

// ---- TAdParticleParameter --------------------------------------------------------------------

double TAdParticleParameter::ValueAt(double age, double lifetime) const {
    // A particle without a lifetime never gets past its start value (it dies in its first move).
    if (!(lifetime > 0.0))
        return start;
    return start + (stop - start) / lifetime * age;
}

void TAdParticleParameter::Vary() {
    const int32_t k = platform::Random(RoundToInt32(variation));
    const double f = (static_cast<double>(k) - variation) / 100.0;
    start += start * f;
    stop += stop * f;
}

// ---- TAdParticleList -------------------------------------------------------------------------

void TAdParticleList::Add(std::unique_ptr<TAdParticle> particle) {
    if (particle != nullptr)
        items_.push_back(std::move(particle));
}

void TAdParticleList::Delete(size_t index) {
    if (index < items_.size())
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
}

void TAdParticleList::RemoveDead() {
    std::erase_if(items_, [](const std::unique_ptr<TAdParticle>& p) { return p->Dead(); });
}

// ---- TAdStdParticle --------------------------------------------------------------------------

TAdStdParticle::TAdStdParticle(TAdParticleSystem* system) : TAdParticle(system) {}

std::unique_ptr<TAdParticle> TAdStdParticle::CreateSame(TAdParticleSystem* system) const {
    return std::make_unique<TAdStdParticle>(system);
}

void TAdStdParticle::Assign(const TAdParticle& source) {
    const auto* other = dynamic_cast<const TAdStdParticle*>(&source);
    if (other == nullptr)
        return;
    lifetime = other->lifetime;
    lifetimevariation = other->lifetimevariation;
    xvelocity = other->xvelocity;
    yvelocity = other->yvelocity;
    zvelocity = other->zvelocity;
    creationangle = other->creationangle;
    creationanglerange = other->creationanglerange;
}

void TAdStdParticle::Setup(int32_t x, int32_t y) {
    Position = {static_cast<float>(x), static_cast<float>(y), 0.0f};
    const double lo = creationangle - creationanglerange / 2.0;
    const double hi = creationangle + creationanglerange / 2.0;
    const double radians = (lo + platform::RandomFloat() * (hi - lo)) * std::numbers::pi / 180.0;
    xvelocity.Vary();
    yvelocity.Vary();
    zvelocity.Vary();
    const double v = lifetimevariation;
    lifetime += lifetime * (2.0 * platform::RandomFloat() * v - v) / 200.0;
    Direction = {static_cast<float>(std::cos(radians)), static_cast<float>(std::sin(radians)), 0.0f};
}

void TAdStdParticle::Move(double timeGap) {
    const double t = Age;
    const float step = static_cast<float>(timeGap);
    Position.x += Direction.x * step * static_cast<float>(xvelocity.ValueAt(t, lifetime));
    Position.y += Direction.y * step * static_cast<float>(yvelocity.ValueAt(t, lifetime));
    Position.z += Direction.z * step * static_cast<float>(zvelocity.ValueAt(t, lifetime));
    Age += timeGap;
    // A lifetime of 0 or less (a large lifetime variation can make one) ends the particle at once.
    if (Age > lifetime || !(lifetime > 0.0))
        Kill();
}

void TAdStdParticle::WriteGeometry(TAdParticleGeometry& geometry) const {
    if (!geometry.Fits(1))
        return;
    AdVertex& vertex = geometry.Vertices[static_cast<size_t>(geometry.VertexCount)];
    vertex = AdVertex{};
    vertex.x = Position.x;
    vertex.y = Position.y;
    vertex.z = Position.z;
    vertex.color = AdParticleRampColor(geometry.Colors, Age, lifetime);
    geometry.VertexCount += 1;
    geometry.PrimitiveCount += 1;
}

void TAdStdParticle::UpdateBounds(TAdParticleGeometry& geometry) const {
    // A point covers the pixel it falls into.
    const double x = std::floor(Position.x), y = std::floor(Position.y);
    geometry.AddBounds(x, y, x + 1.0, y + 1.0);
}

// ---- TAdBillboardParticle --------------------------------------------------------------------

TAdBillboardParticle::TAdBillboardParticle(TAdParticleSystem* system) : TAdStdParticle(system) {}

std::unique_ptr<TAdParticle> TAdBillboardParticle::CreateSame(TAdParticleSystem* system) const {
    return std::make_unique<TAdBillboardParticle>(system);
}

void TAdBillboardParticle::Assign(const TAdParticle& source) {
    TAdStdParticle::Assign(source);
    const auto* billboard = dynamic_cast<const TAdBillboardParticle*>(&source);
    if (billboard == nullptr)
        return;
    size = billboard->size;
    angle = billboard->angle;
}

void TAdBillboardParticle::Setup(int32_t x, int32_t y) {
    TAdStdParticle::Setup(x, y);
    size.Vary();
    angle.Vary();
    CurrentSize = size.start;
    CurrentAngle = angle.start;
}

void TAdBillboardParticle::Move(double timeGap) {
    TAdStdParticle::Move(timeGap);
    CurrentSize = size.ValueAt(Age, lifetime);
    CurrentAngle = angle.ValueAt(Age, lifetime);
}

void TAdBillboardParticle::Corners(int textureWidth, int textureHeight, float xs[4], float ys[4]) const {
    const double hw = textureWidth * 0.5 * CurrentSize;
    const double hh = textureHeight * 0.5 * CurrentSize;
    const double x = Position.x, y = Position.y;
    if (std::abs(CurrentAngle) <= 0.001) {
        const double cx[4] = {x - hw, x + hw, x - hw, x + hw};
        const double cy[4] = {y - hh, y - hh, y + hh, y + hh};
        for (int i = 0; i < 4; ++i) {
            xs[i] = static_cast<float>(cx[i]);
            ys[i] = static_cast<float>(cy[i]);
        }
        return;
    }
    constexpr double pi = std::numbers::pi;
    const double r = std::sqrt(hw * hw + hh * hh);
    const double offsets[4] = {5.0 * pi / 4.0, 7.0 * pi / 4.0, 3.0 * pi / 4.0, pi / 4.0};
    for (int i = 0; i < 4; ++i) {
        const double a = CurrentAngle + offsets[i];
        xs[i] = static_cast<float>(x + r * std::cos(a));
        ys[i] = static_cast<float>(y + r * std::sin(a));
    }
}

void TAdBillboardParticle::WriteGeometry(TAdParticleGeometry& geometry) const {
    if (!geometry.Fits(4))
        return;
    float xs[4], ys[4];
    Corners(geometry.TextureWidth, geometry.TextureHeight, xs, ys);
    const AdColor color = AdParticleRampColor(geometry.Colors, Age, lifetime);
    const float us[4] = {0.0f, 1.0f, 0.0f, 1.0f};
    const float vs[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    const int first = geometry.VertexCount;
    for (int i = 0; i < 4; ++i) {
        AdVertex& vertex = geometry.Vertices[static_cast<size_t>(first + i)];
        vertex = AdVertex{};
        vertex.x = xs[i];
        vertex.y = ys[i];
        vertex.z = Position.z;
        vertex.color = color;
        vertex.u = us[i];
        vertex.v = vs[i];
    }
    const int order[6] = {0, 1, 2, 1, 3, 2};
    for (int i = 0; i < 6; ++i)
        geometry.Indices[static_cast<size_t>(geometry.IndexCount + i)] =
            static_cast<uint16_t>(first + order[i]);
    geometry.VertexCount += 4;
    geometry.IndexCount += 6;
    geometry.PrimitiveCount += 2;
}

void TAdBillboardParticle::UpdateBounds(TAdParticleGeometry& geometry) const {
    float xs[4], ys[4];
    Corners(geometry.TextureWidth, geometry.TextureHeight, xs, ys);
    const auto [minX, maxX] = std::minmax({xs[0], xs[1], xs[2], xs[3]});
    const auto [minY, maxY] = std::minmax({ys[0], ys[1], ys[2], ys[3]});
    geometry.AddBounds(minX, minY, maxX, maxY);
}

} // namespace ad

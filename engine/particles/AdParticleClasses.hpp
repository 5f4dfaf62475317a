// The particles of a particle system: the parameter that interpolates over a particle's life, the
// abstract particle, the point particle `TAdStdParticle`, the textured quad `TAdBillboardParticle`,
// and the list that owns them.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/particles/AdParticleGeometry.hpp"

namespace ad {

class TAdParticleSystem;

// A value going linearly from `start` at age 0 to `stop` at the end of the lifetime.
struct TAdParticleParameter {
    double start = 0.0;
    double stop = 0.0;
    double variation = 0.0;

    double ValueAt(double age, double lifetime) const;
    // Shrinks start and stop by a random share set by `variation` (draws once from the generator).
    void Vary();
};

// The shape of a particle class: what the worker and the mesh need to know about it.
struct TAdParticleClass {
    int VerticesPerParticle = 1;
    int IndicesPerParticle = 0;
    int PrimitiveType = kAdPrimitivePoints;
};

class TAdParticle {
public:
    explicit TAdParticle(TAdParticleSystem* system) : system_(system) {}
    virtual ~TAdParticle() = default;
    TAdParticle(const TAdParticle&) = delete;
    TAdParticle& operator=(const TAdParticle&) = delete;

    TAdParticleSystem* System() const { return system_; }
    bool Dead() const { return dead_; }

    virtual int VerticesPerParticle() const = 0;
    virtual int IndicesPerParticle() const = 0;
    virtual int PrimitiveType() const = 0;
    // A new particle of the same class for the given system (settings not copied: see Assign).
    virtual std::unique_ptr<TAdParticle> CreateSame(TAdParticleSystem* system) const = 0;
    virtual void Kill() { dead_ = true; }
    // Places a freshly assigned particle at (x, y) and draws its random variations.
    virtual void Setup(int32_t x, int32_t y) = 0;
    // Copies the settings of a template; settings of classes the source lacks stay as they are.
    virtual void Assign(const TAdParticle& source) = 0;
    virtual void Move(double timeGap) = 0;
    virtual void WriteGeometry(TAdParticleGeometry& geometry) const = 0;
    virtual void UpdateBounds(TAdParticleGeometry& geometry) const = 0;

    TAdParticleClass Class() const { return {VerticesPerParticle(), IndicesPerParticle(), PrimitiveType()}; }

private:
    TAdParticleSystem* system_;
    bool dead_ = false;
};

struct TAdParticleVector {
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

// A point flying from its emission point in a random direction of the creation cone.
class TAdStdParticle : public TAdParticle {
public:
    explicit TAdStdParticle(TAdParticleSystem* system);

    TAdParticleVector Position;
    TAdParticleVector Direction;
    double Age = 0.0;
    double lifetime = 1.0;
    double lifetimevariation = 0.0; // percent
    TAdParticleParameter xvelocity{100.0, 100.0, 0.0};
    TAdParticleParameter yvelocity{100.0, 100.0, 0.0};
    TAdParticleParameter zvelocity{0.0, 0.0, 0.0};
    int32_t creationangle = 0;        // degrees
    int32_t creationanglerange = 360; // degrees

    int VerticesPerParticle() const override { return 1; }
    int IndicesPerParticle() const override { return 0; }
    int PrimitiveType() const override { return kAdPrimitivePoints; }
    std::unique_ptr<TAdParticle> CreateSame(TAdParticleSystem* system) const override;
    void Setup(int32_t x, int32_t y) override;
    void Assign(const TAdParticle& source) override;
    void Move(double timeGap) override;
    void WriteGeometry(TAdParticleGeometry& geometry) const override;
    void UpdateBounds(TAdParticleGeometry& geometry) const override;
};

// A texture-sized quad that grows or shrinks and turns over its life.
class TAdBillboardParticle : public TAdStdParticle {
public:
    explicit TAdBillboardParticle(TAdParticleSystem* system);

    double CurrentSize = 1.0;
    double CurrentAngle = 0.0;
    TAdParticleParameter size{1.0, 1.0, 0.0};  // factor on the texture's size
    TAdParticleParameter angle{0.0, 0.0, 0.0}; // radians

    int VerticesPerParticle() const override { return 4; }
    int IndicesPerParticle() const override { return 6; }
    int PrimitiveType() const override { return kAdPrimitiveTriangles; }
    std::unique_ptr<TAdParticle> CreateSame(TAdParticleSystem* system) const override;
    void Setup(int32_t x, int32_t y) override;
    void Assign(const TAdParticle& source) override;
    void Move(double timeGap) override;
    void WriteGeometry(TAdParticleGeometry& geometry) const override;
    void UpdateBounds(TAdParticleGeometry& geometry) const override;

    // The four corners in the order top-left, top-right, bottom-left, bottom-right (unrotated).
    void Corners(int textureWidth, int textureHeight, float xs[4], float ys[4]) const;
};

// The particles a system's worker moves; deleting a particle from the list frees it.
class TAdParticleList {
public:
    size_t Count() const { return items_.size(); }
    TAdParticle& operator[](size_t index) const { return *items_[index]; }
    void Add(std::unique_ptr<TAdParticle> particle);
    void Delete(size_t index);
    // Frees every dead particle, keeping the order of the others.
    void RemoveDead();
    void Clear() { items_.clear(); }

private:
    std::vector<std::unique_ptr<TAdParticle>> items_;
};

} // namespace ad

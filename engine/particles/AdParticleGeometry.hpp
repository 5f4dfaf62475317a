// What one calculation of a particle system reads and writes: the colour ramp and texture size it
// works with, the vertex and index buffers it fills, and the particles' bounding rectangle.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/render/AdPluginApi.hpp"

namespace ad {

// 16-bit indices address at most this many vertices; particles beyond it are moved but not drawn.
inline constexpr int kAdParticleMaxVertices = 65536;

// The colour of a particle at age `age` of `lifetime` seconds on a ramp whose first entry is age 0.
AdColor AdParticleRampColor(const std::vector<AdColor>& colors, double age, double lifetime);

struct TAdParticleGeometry {
    // Inputs, copied from the system at each hand-over so the worker never reads the system's own.
    std::vector<AdColor> Colors;
    int TextureWidth = 0;
    int TextureHeight = 0;

    // Results. The buffers only grow (by doubling); the counts say how much of them is valid.
    std::vector<AdVertex> Vertices;
    std::vector<uint16_t> Indices;
    int VertexCount = 0;
    int IndexCount = 0;
    int PrimitiveCount = 0;
    AdRect Bounds{};

    // Empties the counts and the bounds and makes room for the given numbers of vertices and indices.
    void Reset(size_t vertices, size_t indices);
    // Whether a particle of this many vertices still fits under the 16-bit index limit.
    bool Fits(int vertices) const { return VertexCount + vertices <= kAdParticleMaxVertices; }
    // Widens the bounds to the box [left, right) x [top, bottom).
    void AddBounds(double left, double top, double right, double bottom);
    // Turns the collected box into Bounds (all zero when nothing was added).
    void FinishBounds();

private:
    bool hasBounds_ = false;
    double minX_ = 0, minY_ = 0, maxX_ = 0, maxY_ = 0;
};

} // namespace ad

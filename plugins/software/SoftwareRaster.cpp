// Triangle, line and point scan conversion of the CPU renderer: exact fixed-point edge functions,
// spans computed per row, attributes stepped incrementally along each span.
#include "plugins/software/SoftwareRaster.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "plugins/common/LineWalk.hpp"
#include "plugins/software/SoftwareBlend.hpp"
#include "plugins/software/SoftwareSpans.hpp"

namespace ad::software {
namespace {

constexpr int kSubBits = 8;
constexpr int64_t kSub = int64_t{1} << kSubBits;
constexpr int64_t kHalf = kSub / 2;
// Beyond this distance (in pixels) vertices are clipped first, so edge products fit in 64 bits.
constexpr float kGuardBand = 1 << 19;
constexpr double kTexelOne = 4294967296.0; // 1.0 in 32.32 fixed point
constexpr double kColorOne = 65536.0;      // 1.0 in 16.16 fixed point

// Rounds half away from zero like llround, without the library call (values stay far inside int64).
inline int64_t Round64(double v) {
    return static_cast<int64_t>(v < 0 ? v - 0.5 : v + 0.5);
}
inline int32_t Round32(double v) {
    return static_cast<int32_t>(v < 0 ? v - 0.5 : v + 0.5);
}

// Texel coordinates in 32.32 fixed point. Far-off values behave like the clamped edge texel anyway,
// so they are bounded to keep start + step x width (under 65536 pixels) inside int64.
inline int64_t TexelFixed(double texels) {
    if (!(texels == texels))
        return 0; // NaN
    return Round64(std::clamp(texels, -268435456.0, 268435456.0) * kTexelOne);
}
inline int64_t TexelStepFixed(double texelsPerPixel) {
    if (!(texelsPerPixel == texelsPerPixel))
        return 0;
    return Round64(std::clamp(texelsPerPixel, -16384.0, 16384.0) * kTexelOne);
}

int64_t FloorDiv(int64_t a, int64_t b) { // b > 0
    const int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}
int64_t CeilDiv(int64_t a, int64_t b) {
    return -FloorDiv(-a, b);
}

// A channel rounded half away from zero and clamped to 0..255 (NaN gives 0), as lround and a clamp
// would, without the library call: v + 0.5 is exact in double for any float below 2^28.
uint32_t ChannelByte(float v) {
    if (!(v > 0.0f))
        return 0;
    if (v >= 255.0f)
        return 255;
    return static_cast<uint32_t>(static_cast<double>(v) + 0.5);
}

uint32_t PackFloatColor(const float c[4]) {
    return (ChannelByte(c[3]) << 24) | (ChannelByte(c[0]) << 16) | (ChannelByte(c[1]) << 8) |
           ChannelByte(c[2]);
}

bool SameColor(const RasterVertex& a, const RasterVertex& b) {
    return std::equal(a.color, a.color + 4, b.color);
}

// Picks the colour kind of a primitive whose vertices all carry v's colour when flat is true.
ColourKind ChooseKind(bool flat, const RasterVertex& v, const DrawSetup& setup, uint32_t& flatColor) {
    const FragmentState& fs = setup.fragments;
    const bool textured = setup.texture.texels != nullptr;
    if (!flat)
        return fs.lit ? ColourKind::GouraudLit : ColourKind::Gouraud;
    flatColor = PackFloatColor(v.color);
    if (!fs.lit)
        return flatColor == 0xFFFFFFFFu && textured ? ColourKind::White : ColourKind::Flat;
    // texel x white = texel exactly, and without a texture the colour itself is the first factor,
    // so in both cases one product with the ambient colour gives the same bits as two.
    if (flatColor == 0xFFFFFFFFu) {
        flatColor = fs.ambient;
        return ColourKind::Flat;
    }
    if (!textured) {
        flatColor = Modulate(flatColor, fs.ambient);
        return ColourKind::Flat;
    }
    return ColourKind::FlatLit;
}

bool InsideGuard(const RasterVertex& v) {
    return std::fabs(v.x) < kGuardBand && std::fabs(v.y) < kGuardBand;
}

// Linear attribute plane over the triangle: q(x, y) = base + dx * (x - x0) + dy * (y - y0).
struct Plane {
    double base = 0, dx = 0, dy = 0;
    double At(double ox, double oy) const { return base + dx * ox + dy * oy; }
};

Plane MakePlane(double q0, double q1, double q2, double ex1, double ey1, double ex2, double ey2,
                double invArea) {
    Plane p;
    p.base = q0;
    p.dx = ((q1 - q0) * ey2 - (q2 - q0) * ey1) * invArea;
    p.dy = ((q2 - q0) * ex1 - (q1 - q0) * ex2) * invArea;
    return p;
}

struct Edge {
    int64_t a = 0, b = 0, c = 0; // E(X, Y) = a X + b Y + c in 1/256 pixel units
    int64_t bias = 0;            // 0 for left and top edges, -1 otherwise: E + bias >= 0 is inside
};

Edge MakeEdge(int64_t xa, int64_t ya, int64_t xb, int64_t yb) {
    Edge e;
    e.a = ya - yb;
    e.b = xb - xa;
    e.c = -(e.a * xa + e.b * ya);
    const bool topLeft = e.a > 0 || (e.a == 0 && e.b > 0);
    e.bias = topLeft ? 0 : -1;
    return e;
}

// floor(k / d) for a k that grows by the same step from row to row, kept without dividing again.
class FloorDivStepper {
public:
    FloorDivStepper() = default;
    FloorDivStepper(int64_t k, int64_t step, int64_t d)
        : q_(FloorDiv(k, d)), r_(k - q_ * d), d_(d), qStep_(FloorDiv(step, d)), rStep_(step - qStep_ * d) {}
    // A bound that never binds: floor(k / d) stays at q.
    static FloorDivStepper Constant(int64_t q) {
        FloorDivStepper s;
        s.q_ = q;
        return s;
    }
    int64_t Quotient() const { return q_; }
    void Next() {
        q_ += qStep_;
        r_ += rStep_;
        const bool carry = r_ >= d_;
        r_ -= carry ? d_ : 0;
        q_ += carry;
    }

private:
    int64_t q_ = 0, r_ = 0, d_ = 1, qStep_ = 0, rStep_ = 0; // k = q d + r with 0 <= r < d
};

// The columns each row of a triangle covers, row after row from the first: an edge with a > 0
// bounds them from the left at ceil(-k / (256 a)), one with a < 0 from the right at
// floor(k / (-256 a)), one with a = 0 empties the row where k < 0; k is the edge function (plus
// bias) at the row's first pixel centre. A triangle of non-zero area has at most two edges of each
// side and one flat edge; the unused places hold bounds that never bind.
class RowSpans {
public:
    RowSpans() = default;
    RowSpans(const Edge (&edges)[3], int firstRow, int64_t colFirst, int64_t colLast)
        : colFirst_(colFirst), colLast_(colLast) {
        const int64_t yc = firstRow * kSub + kHalf;
        int lefts = 0, rights = 0;
        for (const Edge& e : edges) {
            const int64_t k = e.a * kHalf + e.b * yc + e.c + e.bias, step = e.b * kSub;
            if (e.a > 0 && lefts < 2)
                left_[lefts++] = FloorDivStepper(k, step, e.a * kSub); // -floor(k / d) = ceil(-k / d)
            else if (e.a < 0 && rights < 2)
                right_[rights++] = FloorDivStepper(k, step, -e.a * kSub);
            else if (e.a == 0) {
                flatK_ = k;
                flatStep_ = step;
            }
        }
    }

    // Columns lo..hi of the current row (none when lo > hi); then moves on to the next row.
    void Next(int64_t& lo, int64_t& hi) {
        lo = std::max({colFirst_, -left_[0].Quotient(), -left_[1].Quotient()});
        hi = std::min({colLast_, right_[0].Quotient(), right_[1].Quotient()});
        hi = flatK_ < 0 ? lo - 1 : hi;
        left_[0].Next();
        left_[1].Next();
        right_[0].Next();
        right_[1].Next();
        flatK_ += flatStep_;
    }

private:
    static constexpr int64_t kFar = int64_t{1} << 40; // beyond any column
    int64_t colFirst_ = 0, colLast_ = -1;
    FloorDivStepper left_[2] = {FloorDivStepper::Constant(kFar), FloorDivStepper::Constant(kFar)};
    FloorDivStepper right_[2] = {FloorDivStepper::Constant(kFar), FloorDivStepper::Constant(kFar)};
    int64_t flatK_ = 0, flatStep_ = 0;
};

// One run of fragments of a row: its first column, its length, its loop and the loop's start values.
struct Run {
    int x = 0, n = 0;
    SpanFunction span = nullptr;
    SpanInput in;
};

void DrawRun(const Run& run, int py, const DrawSetup& setup) {
    SoftwareFramebuffer& fb = *setup.target.buffer;
    uint8_t* stencil = setup.fragments.stencilTest ? fb.StencilRow(py) + run.x : nullptr;
    run.span(run.in, setup.texture, setup.fragments, fb.ColorRow(py) + run.x, stencil, run.n);
}

// A triangle inside the guard band, set up to hand out its runs row after row.
class TriangleRows {
public:
    TriangleRows(const RasterVertex& v0, const RasterVertex& v1, const RasterVertex& v2,
                 const DrawSetup& setup);

    bool Empty() const { return rowFirst_ > rowLast_; }
    int FirstRow() const { return rowFirst_; }
    int LastRow() const { return rowLast_; }
    bool Covers(int py) const { return py >= rowFirst_ && py <= rowLast_; }

    // The run of row py; rows are asked for in order from FirstRow() to LastRow(). False when the
    // row has no pixel of the triangle.
    bool NextRow(int py, Run& run);

private:
    const DrawSetup& setup_;
    int rowFirst_ = 0, rowLast_ = -1;
    RowSpans rows_;
    double x0_ = 0, y0_ = 0;
    Plane ps_, pt_, pc_[4];
    bool textured_ = false, gouraud_ = false;
    SpanInput in_;
    SpanFunction clampedSpan_ = nullptr, rowSpan_ = nullptr;
};

TriangleRows::TriangleRows(const RasterVertex& v0, const RasterVertex& v1, const RasterVertex& v2,
                           const DrawSetup& setup)
    : setup_(setup) {
    const RasterVertex* v[3] = {&v0, &v1, &v2};
    int64_t X[3], Y[3];
    for (int i = 0; i < 3; ++i) {
        X[i] = Round64(static_cast<double>(v[i]->x) * kSub);
        Y[i] = Round64(static_cast<double>(v[i]->y) * kSub);
    }
    int64_t area = (X[1] - X[0]) * (Y[2] - Y[0]) - (Y[1] - Y[0]) * (X[2] - X[0]);
    if (area == 0)
        return;
    if (area < 0) { // both windings are drawn; make the inside positive
        std::swap(v[1], v[2]);
        std::swap(X[1], X[2]);
        std::swap(Y[1], Y[2]);
        area = -area;
    }
    const Edge edges[3] = {MakeEdge(X[0], Y[0], X[1], Y[1]), MakeEdge(X[1], Y[1], X[2], Y[2]),
                           MakeEdge(X[2], Y[2], X[0], Y[0])};

    const RasterTarget& target = setup.target;
    const int64_t minY = std::min({Y[0], Y[1], Y[2]}), maxY = std::max({Y[0], Y[1], Y[2]});
    const int64_t minX = std::min({X[0], X[1], X[2]}), maxX = std::max({X[0], X[1], X[2]});
    const int rowFirst = static_cast<int>(std::max<int64_t>(CeilDiv(minY - kHalf, kSub), target.clipTop));
    const int rowLast =
        static_cast<int>(std::min<int64_t>(FloorDiv(maxY - kHalf, kSub), target.clipBottom - 1));
    const int64_t colFirst = std::max<int64_t>(CeilDiv(minX - kHalf, kSub), target.clipLeft);
    const int64_t colLast = std::min<int64_t>(FloorDiv(maxX - kHalf, kSub), target.clipRight - 1);
    if (rowFirst > rowLast || colFirst > colLast)
        return;

    // Attribute planes from the snapped positions, so interpolation agrees with coverage.
    x0_ = static_cast<double>(X[0]) / kSub;
    y0_ = static_cast<double>(Y[0]) / kSub;
    const double ex1 = static_cast<double>(X[1] - X[0]) / kSub, ey1 = static_cast<double>(Y[1] - Y[0]) / kSub;
    const double ex2 = static_cast<double>(X[2] - X[0]) / kSub, ey2 = static_cast<double>(Y[2] - Y[0]) / kSub;
    const double invArea = 1.0 / (ex1 * ey2 - ex2 * ey1);
    auto plane = [&](double q0, double q1, double q2) {
        return MakePlane(q0, q1, q2, ex1, ey1, ex2, ey2, invArea);
    };

    const TexelView& tex = setup.texture;
    textured_ = tex.texels != nullptr;
    uint32_t flatColor = 0xFFFFFFFFu;
    const bool flat = SameColor(*v[0], *v[1]) && SameColor(*v[0], *v[2]);
    const ColourKind kind = ChooseKind(flat, *v[0], setup, flatColor);
    gouraud_ = kind == ColourKind::Gouraud || kind == ColourKind::GouraudLit;
    const bool tests = setup.fragments.NeedsTests(setup.blendMode);

    in_.flat = flatColor;
    if (textured_) {
        ps_ = plane(v[0]->s, v[1]->s, v[2]->s);
        pt_ = plane(v[0]->t, v[1]->t, v[2]->t);
        in_.ds = TexelStepFixed(ps_.dx);
        in_.dt = TexelStepFixed(pt_.dx);
    }
    if (gouraud_) {
        for (int k = 0; k < 4; ++k) {
            pc_[k] = plane(v[0]->color[k], v[1]->color[k], v[2]->color[k]);
            in_.dcolor[k] = Round32(pc_[k].dx * kColorOne);
        }
    }
    SpanKey key{kind, textured_ ? TexMode::Clamped : TexMode::None, setup.blendMode, tests, tex.alpha};
    clampedSpan_ = SelectSpanFunction(key, setup.spanLevel);
    key.mode = TexMode::Row;
    rowSpan_ = textured_ ? SelectSpanFunction(key, setup.spanLevel) : clampedSpan_;

    rows_ = RowSpans(edges, rowFirst, colFirst, colLast);
    rowFirst_ = rowFirst;
    rowLast_ = rowLast;
}

bool TriangleRows::NextRow(int py, Run& run) {
    int64_t lo, hi;
    rows_.Next(lo, hi);
    if (lo > hi)
        return false;
    run.x = static_cast<int>(lo);
    run.n = static_cast<int>(hi - lo + 1);
    run.in = in_;
    run.span = clampedSpan_;
    const double ox = run.x + 0.5 - x0_, oy = py + 0.5 - y0_;
    if (textured_) {
        const TexelView& tex = setup_.texture;
        SpanInput& in = run.in;
        in.s = TexelFixed(ps_.At(ox, oy));
        in.t = TexelFixed(pt_.At(ox, oy));
        const int64_t sEnd = in.s + in.ds * (run.n - 1);
        const int64_t ty = in.t >> 32;
        if (in.dt == 0 && ty >= 0 && ty < tex.height && (in.s >> 32) >= 0 && (in.s >> 32) < tex.width &&
            (sEnd >> 32) >= 0 && (sEnd >> 32) < tex.width)
            run.span = rowSpan_;
    }
    if (gouraud_)
        for (int k = 0; k < 4; ++k)
            run.in.color[k] = Round32(pc_[k].At(ox, oy) * kColorOne);
    return true;
}

void DrawRows(TriangleRows& triangle, const DrawSetup& setup) {
    Run run;
    for (int py = triangle.FirstRow(); py <= triangle.LastRow(); ++py)
        if (triangle.NextRow(py, run))
            DrawRun(run, py, setup);
}

void RasterizeClipped(const RasterVertex& v0, const RasterVertex& v1, const RasterVertex& v2,
                      const DrawSetup& setup) {
    TriangleRows triangle(v0, v1, v2, setup);
    DrawRows(triangle, setup);
}

// Whether `right` starts where `left` ends and carries on exactly as left's loop would have: the same
// loop and colour, and the texel coordinates and colours left's steps reach. One run over both then
// draws the pixels the two draw.
bool Continues(const Run& left, const Run& right) {
    const SpanInput &a = left.in, &b = right.in;
    if (left.x + left.n != right.x || left.span != right.span || a.flat != b.flat || a.ds != b.ds ||
        a.dt != b.dt || a.s + a.ds * left.n != b.s || a.t + a.dt * left.n != b.t)
        return false;
    for (int k = 0; k < 4; ++k)
        if (a.dcolor[k] != b.dcolor[k] ||
            int64_t{a.color[k]} + int64_t{a.dcolor[k]} * left.n != int64_t{b.color[k]})
            return false;
    return true;
}

// Sutherland-Hodgman against the guard band; only huge triangles come here.
void RasterizeHuge(const RasterVertex& v0, const RasterVertex& v1, const RasterVertex& v2,
                   const DrawSetup& setup) {
    RasterVertex buf[2][8];
    int n = 3;
    buf[0][0] = v0;
    buf[0][1] = v1;
    buf[0][2] = v2;
    int cur = 0;
    const float limit = kGuardBand * 0.5f;
    for (int plane = 0; plane < 4; ++plane) {
        auto dist = [&](const RasterVertex& p) {
            switch (plane) {
            case 0:
                return p.x + limit;
            case 1:
                return limit - p.x;
            case 2:
                return p.y + limit;
            default:
                return limit - p.y;
            }
        };
        int m = 0;
        for (int i = 0; i < n; ++i) {
            const RasterVertex& a = buf[cur][i];
            const RasterVertex& b = buf[cur][(i + 1) % n];
            const float da = dist(a), db = dist(b);
            if (da >= 0)
                buf[1 - cur][m++] = a;
            if ((da >= 0) != (db >= 0))
                buf[1 - cur][m++] = plugin::Lerp(a, b, da / (da - db));
        }
        cur = 1 - cur;
        n = m;
        if (n < 3)
            return;
    }
    for (int i = 1; i + 1 < n; ++i)
        RasterizeClipped(buf[cur][0], buf[cur][i], buf[cur][i + 1], setup);
}

// Draws one fragment at (px, py) with the attributes of v; lines and points share it.
void DrawFragment(int px, int py, const RasterVertex& v, const DrawSetup& setup) {
    const RasterTarget& target = setup.target;
    if (px < target.clipLeft || px >= target.clipRight || py < target.clipTop || py >= target.clipBottom)
        return;
    const TexelView& tex = setup.texture;
    const bool textured = tex.texels != nullptr;
    SpanInput in;
    const ColourKind kind = ChooseKind(false, v, setup, in.flat);
    for (int k = 0; k < 4; ++k)
        in.color[k] = Round32(v.color[k] * kColorOne);
    if (textured) {
        in.s = TexelFixed(v.s);
        in.t = TexelFixed(v.t);
    }
    const SpanKey key{kind, textured ? TexMode::Clamped : TexMode::None, setup.blendMode,
                      setup.fragments.NeedsTests(setup.blendMode), tex.alpha};
    const SpanFunction span = SelectSpanFunction(key, setup.spanLevel);
    SoftwareFramebuffer& fb = *target.buffer;
    span(in, tex, setup.fragments, fb.ColorRow(py) + px,
         setup.fragments.stencilTest ? fb.StencilRow(py) + px : nullptr, 1);
}

} // namespace

void RasterizeTriangle(const RasterVertex& v0, const RasterVertex& v1, const RasterVertex& v2,
                       const DrawSetup& setup) {
    if (setup.target.Empty() || !plugin::Finite(v0) || !plugin::Finite(v1) || !plugin::Finite(v2))
        return;
    if (InsideGuard(v0) && InsideGuard(v1) && InsideGuard(v2))
        RasterizeClipped(v0, v1, v2, setup);
    else
        RasterizeHuge(v0, v1, v2, setup);
}

void RasterizeTrianglePair(const RasterVertex& a0, const RasterVertex& a1, const RasterVertex& a2,
                           const RasterVertex& b0, const RasterVertex& b1, const RasterVertex& b2,
                           const DrawSetup& setup) {
    if (setup.target.Empty())
        return;
    const RasterVertex* all[6] = {&a0, &a1, &a2, &b0, &b1, &b2};
    if (!std::all_of(all, all + 6,
                     [](const RasterVertex* v) { return plugin::Finite(*v) && InsideGuard(*v); })) {
        RasterizeTriangle(a0, a1, a2, setup);
        RasterizeTriangle(b0, b1, b2, setup);
        return;
    }
    TriangleRows first(a0, a1, a2, setup), second(b0, b1, b2, setup);
    if (first.Empty() || second.Empty()) {
        DrawRows(first, setup);
        DrawRows(second, setup);
        return;
    }
    // Row by row, the first triangle's run before the second's: a pixel both cover is drawn in the
    // order the triangles come, and no other pixel is drawn twice.
    const int top = std::min(first.FirstRow(), second.FirstRow());
    const int bottom = std::max(first.LastRow(), second.LastRow());
    Run a, b;
    for (int py = top; py <= bottom; ++py) {
        const bool hasA = first.Covers(py) && first.NextRow(py, a);
        const bool hasB = second.Covers(py) && second.NextRow(py, b);
        if (hasA && hasB && Continues(a, b)) {
            a.n += b.n;
            DrawRun(a, py, setup);
        } else if (hasA && hasB && Continues(b, a)) {
            b.n += a.n;
            DrawRun(b, py, setup);
        } else {
            if (hasA)
                DrawRun(a, py, setup);
            if (hasB)
                DrawRun(b, py, setup);
        }
    }
}

void RasterizeLine(const RasterVertex& v0, const RasterVertex& v1, const DrawSetup& setup) {
    if (setup.target.Empty() || !plugin::Finite(v0) || !plugin::Finite(v1))
        return;
    const RasterTarget& target = setup.target;
    const plugin::PixelBounds bounds{target.clipLeft, target.clipTop, target.clipRight, target.clipBottom};
    plugin::WalkLine(v0, v1, bounds, [&setup](int px, int py, const RasterVertex& frag) {
        DrawFragment(px, py, frag, setup);
    });
}

void RasterizePoint(const RasterVertex& v, const DrawSetup& setup) {
    if (setup.target.Empty() || !plugin::Finite(v))
        return;
    DrawFragment(plugin::PointPixelX(v), plugin::PointPixelY(v), v, setup);
}

} // namespace ad::software

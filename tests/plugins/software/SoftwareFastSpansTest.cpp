// The CPU renderer's fast fragment loops against its scalar loops: the same runs over the same
// pixels must leave exactly the same colours, stencil values and occlusion counts.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "plugins/software/SoftwareFastSpans.hpp"

namespace {

using namespace ad::software;

// The vector levels this processor runs; a level it lacks cannot be compared here.
std::vector<SpanLevel> FastLevels() {
    std::vector<SpanLevel> levels;
    for (const SpanLevel level : {SpanLevel::Sse2, SpanLevel::Avx2})
        if (SpanLevelAvailable(level))
            levels.push_back(level);
    return levels;
}

std::string Describe(const SpanKey& key, SpanLevel level, int count) {
    std::ostringstream out;
    out << "level " << static_cast<int>(level) << " kind " << static_cast<int>(key.kind) << " texmode "
        << static_cast<int>(key.mode) << " blend " << key.blendMode << " tests " << key.tests << " alpha "
        << static_cast<int>(key.alpha) << " count " << count;
    return out.str();
}

// Random texels whose alpha channel holds what `alpha` promises.
std::vector<uint32_t> Texels(std::mt19937& random, int n, TexelAlpha alpha) {
    std::vector<uint32_t> texels(static_cast<size_t>(n));
    for (uint32_t& t : texels) {
        uint32_t a = random() & 0xFF;
        if (alpha == TexelAlpha::Opaque)
            a = 255;
        else if (alpha == TexelAlpha::Keyed || random() % 3 == 0)
            a = random() % 2 ? 255 : 0; // runs of both ends as well as blending in between
        t = a << 24 | (random() & 0xFFFFFF);
    }
    return texels;
}

// One run drawn by a level onto its own copy of the destination.
struct Outcome {
    std::vector<uint32_t> colours;
    std::vector<uint8_t> stencil;
    uint32_t counted = 0;
};

class SpanRig {
public:
    explicit SpanRig(uint32_t seed) : random(seed) {}

    Outcome Run(const SpanKey& key, SpanLevel level, const SpanInput& in, const TexelView& tex,
                FragmentState fs, int offset, int count) const {
        Outcome out{background, stencil, 0};
        if (fs.queryCounter != nullptr)
            fs.queryCounter = &out.counted;
        uint8_t* stencilRun = fs.stencilTest ? out.stencil.data() + offset : nullptr;
        SelectSpanFunction(key, level)(in, tex, fs, out.colours.data() + offset, stencilRun, count);
        return out;
    }

    // Compares every fast level with the scalar loops on one run; false after a reported difference.
    bool Compare(const SpanKey& key, const SpanInput& in, const TexelView& tex, const FragmentState& fs,
                 int offset, int count) const {
        const Outcome expected = Run(key, SpanLevel::Scalar, in, tex, fs, offset, count);
        for (const SpanLevel level : FastLevels()) {
            const Outcome got = Run(key, level, in, tex, fs, offset, count);
            for (size_t i = 0; i < got.colours.size(); ++i)
                if (got.colours[i] != expected.colours[i]) {
                    ADD_FAILURE() << Describe(key, level, count) << ": pixel " << i << std::hex << " is "
                                  << got.colours[i] << ", scalar " << expected.colours[i];
                    return false;
                }
            if (got.stencil != expected.stencil || got.counted != expected.counted) {
                ADD_FAILURE() << Describe(key, level, count) << ": stencil or count differs, counted "
                              << got.counted << " against " << expected.counted;
                return false;
            }
        }
        return true;
    }

    void NewDestination(int size) {
        background.resize(static_cast<size_t>(size));
        stencil.resize(static_cast<size_t>(size));
        for (uint32_t& p : background)
            p = random();
        for (uint8_t& s : stencil)
            s = static_cast<uint8_t>(random() % 4);
    }

    // Texel coordinates for a run of `count` pixels; Row keeps every column and the row inside.
    SpanInput Coordinates(TexMode mode, const TexelView& tex, int count) {
        SpanInput in;
        auto fixed = [&](int texel) { return int64_t{texel} << 32 | (random() & 0xFFFFFFFFu); };
        if (mode == TexMode::Row) {
            in.t = fixed(static_cast<int>(random() % tex.height));
            const int64_t first = fixed(static_cast<int>(random() % tex.width));
            const int64_t last = fixed(static_cast<int>(random() % tex.width));
            if (count < tex.width && random() % 2 == 0) {
                // One texel per pixel, exactly or nearly: the columns may or may not stay consecutive.
                const int64_t drift = random() % 3 == 0 ? 0 : static_cast<int64_t>(random() % 4096) - 2048;
                in.ds = (int64_t{1} << 32) + drift * static_cast<int64_t>(random() % 2048);
                in.s = fixed(static_cast<int>(random() % (tex.width - count)));
                if (in.s + in.ds * (count - 1) >= int64_t{tex.width} << 32 || in.s + in.ds * (count - 1) < 0)
                    in.ds = int64_t{1} << 32;
            } else {
                in.s = first;
                in.ds = count > 1 ? (last - first) / (count - 1) : 0;
            }
        } else if (mode == TexMode::Clamped) {
            // Both directions, from outside the texture across it and beyond.
            in.s = fixed(static_cast<int>(random() % (3 * tex.width)) - tex.width);
            in.t = fixed(static_cast<int>(random() % (3 * tex.height)) - tex.height);
            in.ds = static_cast<int64_t>(random() % 0x200000000u) - 0x100000000;
            in.dt = static_cast<int64_t>(random() % 0x200000000u) - 0x100000000;
        }
        in.flat = random();
        return in;
    }

    FragmentState Fragments(bool tests) {
        FragmentState fs;
        fs.ambient = random() % 2 ? random() | 0xFF000000u : random();
        fs.lit = true;
        if (!tests)
            return fs;
        fs.alphaMask = random() % 2 != 0;
        fs.stencilTest = random() % 3 != 0;
        fs.stencil.reference = static_cast<uint8_t>(random() % 4);
        fs.stencil.mask = random() % 4 ? 0xFF : 0x01;
        fs.stencil.function = static_cast<int>(random() % 8);
        for (int& op : fs.stencil.operations)
            op = static_cast<int>(random() % 6);
        fs.queryCounter = random() % 4 ? &unusedCounter : nullptr;
        return fs;
    }

    mutable std::mt19937 random;
    std::vector<uint32_t> background;
    std::vector<uint8_t> stencil;
    uint32_t unusedCounter = 0;
};

constexpr ColourKind kKinds[] = {ColourKind::White, ColourKind::Flat, ColourKind::FlatLit,
                                 ColourKind::Gouraud, ColourKind::GouraudLit};
constexpr TexMode kModes[] = {TexMode::None, TexMode::Row, TexMode::Clamped};
constexpr TexelAlpha kAlphas[] = {TexelAlpha::Mixed, TexelAlpha::Keyed, TexelAlpha::Opaque};
constexpr int kBlendModes[] = {ad::kAdBlendAlpha, ad::kAdBlendAdd, ad::kAdBlendMultiply};
// Run lengths around the groups of four and eight pixels and the fetch buffer's size.
constexpr int kCounts[] = {0,  1,  2,  3,  4,   5,   6,   7,   8,   9,   12,  14,
                           15, 16, 17, 63, 127, 128, 129, 131, 255, 256, 300, 1000};

TEST(SoftwareFastSpans, EveryLoopMatchesTheScalarLoopPixelForPixel) {
    SpanRig rig(2024);
    int runs = 0;
    for (const TexelAlpha alpha : kAlphas)
        for (const int maxWidth : {40, 1100}) {
            const int w = 1 + static_cast<int>(rig.random() % maxWidth),
                      h = 1 + static_cast<int>(rig.random() % 20);
            const std::vector<uint32_t> texels = Texels(rig.random, w * h, alpha);
            const TexelView tex{texels.data(), w, h, alpha};
            for (const ColourKind kind : kKinds)
                for (const TexMode mode : kModes)
                    for (const int blend : kBlendModes)
                        for (const bool tests : {false, true})
                            for (const int count : kCounts) {
                                const SpanKey key{kind, mode, blend, tests, alpha};
                                const int offset = static_cast<int>(rig.random() % 5);
                                rig.NewDestination(count + 8);
                                SpanInput in = rig.Coordinates(mode, tex, count);
                                for (int k = 0; k < 4; ++k) { // Gouraud kinds: a ramp crossing 0 and 255
                                    in.color[k] =
                                        static_cast<int32_t>(rig.random() % (300 << 16)) - (20 << 16);
                                    in.dcolor[k] = static_cast<int32_t>(rig.random() % (8 << 16)) - (4 << 16);
                                }
                                ASSERT_TRUE(rig.Compare(key, in, tex, rig.Fragments(tests), offset, count));
                                ++runs;
                            }
        }
    EXPECT_EQ(runs, 3 * 2 * 5 * 3 * 3 * 2 * static_cast<int>(std::size(kCounts)));
}

// Colours where the loops take their shortcuts: all-transparent and all-opaque groups of four, a
// tint of alpha 255 or 0, untextured opaque fills, and keyed texels seen through a translucent tint.
TEST(SoftwareFastSpans, ShortcutsForTransparentAndOpaqueGroupsMatch) {
    SpanRig rig(77);
    std::vector<uint32_t> texels(64);
    for (size_t i = 0; i < texels.size(); ++i) // groups of 4 and 8 of either end, then alternating
        texels[i] =
            (i < 24 ? (i / 8 % 2 ? 0xFF000000u : 0u) : (i % 2 ? 0xFF000000u : 0u)) | rig.random() >> 8;
    const TexelView keyed{texels.data(), 64, 1, TexelAlpha::Keyed};
    for (const uint32_t flat : {0xFFFFFFFFu, 0xFF80C040u, 0xC8FFFFFFu, 0x00FFFFFFu, 0x01402010u})
        for (const int blend : kBlendModes)
            for (const ColourKind kind : {ColourKind::White, ColourKind::Flat, ColourKind::FlatLit})
                for (const TexMode mode : {TexMode::None, TexMode::Row})
                    for (const bool tests : {false, true}) {
                        rig.NewDestination(72);
                        SpanInput in;
                        in.flat = flat;
                        in.s = int64_t{0x80000000};
                        in.ds = int64_t{1} << 32;
                        FragmentState fs = rig.Fragments(tests);
                        fs.ambient = 0xFFC0A080u;
                        ASSERT_TRUE(
                            rig.Compare({kind, mode, blend, tests, TexelAlpha::Keyed}, in, keyed, fs, 3, 64));
                    }
}

// Scales just off one texel per pixel, where the last pixel of a run lands exactly on, or one
// step before, the next texel column.
TEST(SoftwareFastSpans, RunsNearOneTexelPerPixelTakeTheSameColumns) {
    SpanRig rig(5);
    const std::vector<uint32_t> texels = Texels(rig.random, 64, TexelAlpha::Mixed);
    const TexelView tex{texels.data(), 64, 1, TexelAlpha::Mixed};
    const int64_t one = int64_t{1} << 32, half = one / 2;
    for (const int count : {5, 9, 17, 33})
        for (const int64_t edge : {-half, half}) // the last pixel's fraction reaches 0 or 1
            for (const int64_t nudge : {-1, 0, 1}) {
                SpanInput in;
                in.s = 3 * one + half + nudge;
                in.ds = one + edge / (count - 1);
                rig.NewDestination(count + 8);
                for (const ColourKind kind : {ColourKind::White, ColourKind::Flat})
                    for (const int blend : kBlendModes)
                        ASSERT_TRUE(rig.Compare({kind, TexMode::Row, blend, false, TexelAlpha::Mixed}, in,
                                                tex, rig.Fragments(false), 0, count));
            }
}

} // namespace

// The scalar fragment loops of the CPU rasteriser, one pixel at a time: the reference whose pixels
// every vector level reproduces, and the loops for what the vector levels leave out. One instance
// per colour kind, texel fetch, blend mode and test set; the choice of loop for a draw.
#include "plugins/software/SoftwareSpans.hpp"

#include <algorithm>

#include "plugins/software/SoftwareBlend.hpp"
#include "plugins/software/SoftwareFastSpans.hpp"

namespace ad::software {

bool StencilPasses(const StencilState& st, uint8_t stored) {
    const int ref = st.reference & st.mask;
    const int val = stored & st.mask;
    switch (st.function) {
    case kAdStencilNever:
        return false;
    case kAdStencilLess:
        return ref < val;
    case kAdStencilLessEqual:
        return ref <= val;
    case kAdStencilEqual:
        return ref == val;
    case kAdStencilGreaterEqual:
        return ref >= val;
    case kAdStencilGreater:
        return ref > val;
    case kAdStencilNotEqual:
        return ref != val;
    default:
        return true; // kAdStencilAlways and unknown codes
    }
}

uint8_t StencilApply(int operation, uint8_t stored, uint8_t reference) {
    switch (operation) {
    case kAdStencilReplace:
        return reference;
    case kAdStencilZero:
        return 0;
    case kAdStencilIncrement:
        return stored == 255 ? stored : static_cast<uint8_t>(stored + 1);
    case kAdStencilDecrement:
        return stored == 0 ? stored : static_cast<uint8_t>(stored - 1);
    case kAdStencilInvert:
        return static_cast<uint8_t>(~stored);
    default:
        return stored; // kAdStencilKeep and unknown codes
    }
}

namespace {

inline uint32_t PackFixedColor(const int32_t c[4]) {
    auto ch = [](int32_t v) { return static_cast<uint32_t>(std::clamp((v + 0x8000) >> 16, 0, 255)); };
    return (ch(c[3]) << 24) | (ch(c[0]) << 16) | (ch(c[1]) << 8) | ch(c[2]);
}

template <ColourKind K, TexMode M, int BlendMode, bool Tests>
void FillSpan(const SpanInput& in, const TexelView& tex, const FragmentState& fs, uint32_t* dst,
              uint8_t* stencil, int count) {
    int64_t s = in.s, t = in.t;
    int32_t c[4] = {in.color[0], in.color[1], in.color[2], in.color[3]};
    const uint32_t* row = nullptr;
    if constexpr (M == TexMode::Row)
        row = tex.texels + static_cast<size_t>(t >> 32) * tex.width;
    const int maxX = tex.width - 1, maxY = tex.height - 1;
    // Local copies keep the loop free of reloads through the aliasing destination pointer.
    const uint32_t flat = in.flat, ambient = fs.ambient;
    const StencilState st = fs.stencil;
    const bool alphaMask = fs.alphaMask, stencilTest = fs.stencilTest;
    uint32_t counted = 0;

    for (int i = 0; i < count; ++i) {
        uint32_t src;
        if constexpr (M == TexMode::None) {
            src = 0xFFFFFFFFu;
        } else if constexpr (M == TexMode::Row) {
            src = row[s >> 32];
            s += in.ds;
        } else {
            const int x = static_cast<int>(std::clamp<int64_t>(s >> 32, 0, maxX));
            const int y = static_cast<int>(std::clamp<int64_t>(t >> 32, 0, maxY));
            src = tex.texels[static_cast<size_t>(y) * tex.width + x];
            s += in.ds;
            t += in.dt;
        }
        if constexpr (K == ColourKind::Flat || K == ColourKind::FlatLit) {
            src = M == TexMode::None ? flat : Modulate(src, flat);
        } else if constexpr (K == ColourKind::Gouraud || K == ColourKind::GouraudLit) {
            const uint32_t vc = PackFixedColor(c);
            src = M == TexMode::None ? vc : Modulate(src, vc);
            for (int k = 0; k < 4; ++k)
                c[k] += in.dcolor[k];
        }
        if constexpr (K == ColourKind::FlatLit || K == ColourKind::GouraudLit)
            src = Modulate(src, ambient);

        if constexpr (Tests) {
            if (alphaMask && (src >> 24) == 0)
                continue;
            if (stencilTest) {
                const uint8_t stored = stencil[i];
                if (!StencilPasses(st, stored)) {
                    stencil[i] = StencilApply(st.operations[kAdStencilOnFail], stored, st.reference);
                    continue;
                }
                stencil[i] = StencilApply(st.operations[kAdStencilOnPass], stored, st.reference);
            }
            ++counted;
        }
        if constexpr (BlendMode == kAdBlendAlpha) {
            const uint32_t a = src >> 24;
            if (a == 255)
                dst[i] = src;
            else if (a != 0)
                dst[i] = BlendAlpha(src, dst[i]);
        } else {
            dst[i] = Blend<BlendMode>(src, dst[i]);
        }
    }
    if constexpr (Tests) {
        if (fs.queryCounter != nullptr)
            *fs.queryCounter += counted;
    }
}

template <ColourKind K, TexMode M, int BlendMode> SpanFunction PickTests(bool tests) {
    return tests ? &FillSpan<K, M, BlendMode, true> : &FillSpan<K, M, BlendMode, false>;
}

template <ColourKind K, TexMode M> SpanFunction PickBlend(int blendMode, bool tests) {
    switch (blendMode) {
    case kAdBlendAdd:
        return PickTests<K, M, kAdBlendAdd>(tests);
    case kAdBlendMultiply:
        return PickTests<K, M, kAdBlendMultiply>(tests);
    default:
        return PickTests<K, M, kAdBlendAlpha>(tests);
    }
}

template <ColourKind K> SpanFunction PickMode(TexMode mode, int blendMode, bool tests) {
    switch (mode) {
    case TexMode::None:
        return PickBlend<K, TexMode::None>(blendMode, tests);
    case TexMode::Row:
        return PickBlend<K, TexMode::Row>(blendMode, tests);
    default:
        return PickBlend<K, TexMode::Clamped>(blendMode, tests);
    }
}

} // namespace

SpanLevel BestSpanLevel() {
    static const SpanLevel best = SpanLevelAvailable(SpanLevel::Avx2)   ? SpanLevel::Avx2
                                  : SpanLevelAvailable(SpanLevel::Sse2) ? SpanLevel::Sse2
                                                                        : SpanLevel::Scalar;
    return best;
}

SpanFunction SelectSpanFunction(const SpanKey& key, SpanLevel level) {
    SpanKey k = key;
    // Without a texture, white is just a flat colour.
    if (k.kind == ColourKind::White && k.mode == TexMode::None)
        k.kind = ColourKind::Flat;
    if (level != SpanLevel::Scalar)
        if (const SpanFunction fast = SelectFastSpan(k, level))
            return fast;
    switch (k.kind) {
    case ColourKind::White:
        return PickMode<ColourKind::White>(k.mode, k.blendMode, k.tests);
    case ColourKind::Flat:
        return PickMode<ColourKind::Flat>(k.mode, k.blendMode, k.tests);
    case ColourKind::FlatLit:
        return PickMode<ColourKind::FlatLit>(k.mode, k.blendMode, k.tests);
    case ColourKind::Gouraud:
        return PickMode<ColourKind::Gouraud>(k.mode, k.blendMode, k.tests);
    default:
        return PickMode<ColourKind::GouraudLit>(k.mode, k.blendMode, k.tests);
    }
}

} // namespace ad::software

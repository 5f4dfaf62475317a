// SSE2 fragment loops of the CPU renderer. A run's texels are fetched into a small buffer, then
// shaded and blended four pixels at a time with the integer formulas of SoftwareBlend.hpp.
#include "plugins/software/SoftwareFastSpans.hpp"

#include <algorithm>
#include <cstring>

#include "plugins/software/SoftwareBlend.hpp"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ad::software {

#if defined(__SSE2__)
namespace {

// Pixels fetched per pass: the buffer stays in the first-level cache between fetching and blending.
constexpr int kChunk = 128;

// Four pixels with every channel widened to a 16-bit lane: pixels 0 and 1 in lo, 2 and 3 in hi.
struct Wide {
    __m128i lo, hi;
};

inline __m128i Load4(const uint32_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline void Store4(uint32_t* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}
inline Wide Widen(__m128i p) {
    const __m128i zero = _mm_setzero_si128();
    return {_mm_unpacklo_epi8(p, zero), _mm_unpackhi_epi8(p, zero)};
}
inline __m128i Narrow(const Wide& w) {
    return _mm_packus_epi16(w.lo, w.hi);
}
inline Wide Splat(uint32_t colour) {
    const __m128i w = _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(colour)), _mm_setzero_si128());
    return {w, w};
}

// Div255 on lanes holding 0..255 * 255. With t = x + 128 = 256 h + l, (t * 257) >> 16 is
// h + floor((l + h + l / 256) / 256), which equals Div255's h + floor((l + h) / 256).
inline __m128i Div255Lanes(__m128i x) {
    return _mm_mulhi_epu16(_mm_add_epi16(x, _mm_set1_epi16(128)), _mm_set1_epi16(257));
}
inline Wide Mul255(const Wide& a, const Wide& b) {
    return {Div255Lanes(_mm_mullo_epi16(a.lo, b.lo)), Div255Lanes(_mm_mullo_epi16(a.hi, b.hi))};
}
inline __m128i AlphaLanes(__m128i w) {
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(w, 0xFF), 0xFF);
}
// The blend formulas treat the source's alpha channel as 255 where they scale the destination's
// alpha (alpha blend, glow) or keep it (multiply); see SoftwareBlend.hpp.
inline __m128i FullAlpha(__m128i w) {
    return _mm_or_si128(w, _mm_set_epi16(255, 0, 0, 0, 255, 0, 0, 0));
}

// Bits 3, 7, 11 and 15 set for the pixels whose alpha byte equals the byte of `v`.
inline int AlphaBytesEqual(__m128i p, __m128i v) {
    return _mm_movemask_epi8(_mm_cmpeq_epi8(p, v)) & 0x8888;
}
constexpr int kAllFour = 0x8888;

template <int Mode> inline __m128i BlendHalf(__m128i s, __m128i d) {
    const __m128i a = AlphaLanes(s);
    if constexpr (Mode == kAdBlendAlpha) {
        const __m128i ia = _mm_xor_si128(a, _mm_set1_epi16(255));
        return Div255Lanes(_mm_add_epi16(_mm_mullo_epi16(FullAlpha(s), a), _mm_mullo_epi16(d, ia)));
    } else if constexpr (Mode == kAdBlendAdd) {
        return Div255Lanes(_mm_mullo_epi16(FullAlpha(s), a)); // added to the destination with saturation
    } else {
        return Div255Lanes(_mm_mullo_epi16(FullAlpha(s), d));
    }
}

template <int Mode> inline __m128i Blend4(const Wide& s, __m128i dst) {
    const Wide d = Widen(dst);
    const __m128i out = _mm_packus_epi16(BlendHalf<Mode>(s.lo, d.lo), BlendHalf<Mode>(s.hi, d.hi));
    if constexpr (Mode == kAdBlendAdd)
        return _mm_adds_epu8(dst, out);
    else
        return out;
}

// The first m (1 to 3) pixels at p in the low lanes, the other lanes zero (transparent), read
// without touching memory past them.
inline __m128i LoadFirst(const uint32_t* p, int m) {
    const __m128i first = m == 1 ? _mm_cvtsi32_si128(static_cast<int>(p[0]))
                                 : _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
    return m == 3 ? _mm_unpacklo_epi64(first, _mm_cvtsi32_si128(static_cast<int>(p[2]))) : first;
}
inline void StoreFirst(uint32_t* p, __m128i v, int m) {
    if (m == 1) {
        p[0] = static_cast<uint32_t>(_mm_cvtsi128_si32(v));
        return;
    }
    _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v);
    if (m == 3)
        p[2] = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(v, 8)));
}

// Runs `four` (texels, pixels -> new pixels) on the last n % 4 pixels, padded with transparent
// texels whose results are dropped.
template <typename Four> inline void PaddedTail(const uint32_t* src, uint32_t* dst, int n, Four&& four) {
    const int m = n % 4, at = n - m;
    if (m != 0)
        StoreFirst(dst + at, four(LoadFirst(src + at, m), LoadFirst(dst + at, m)), m);
}

// The colour before blending: texel as it is, x one colour, or x one colour then x ambient.
template <ColourKind K> struct Shader {
    Shader(uint32_t flatColour, uint32_t ambientColour)
        : flat(flatColour), ambient(ambientColour), flatWide(Splat(flatColour)),
          ambientWide(Splat(ambientColour)), keepsOpaque(KeepsOpaque(flatColour, ambientColour)) {}

    // Whether an opaque texel stays opaque: the alpha products round(255 x / 255) = x leave 255 only
    // when every factor is 255.
    static bool KeepsOpaque(uint32_t flatColour, uint32_t ambientColour) {
        if constexpr (K == ColourKind::White)
            return true;
        else if constexpr (K == ColourKind::Flat)
            return flatColour >> 24 == 255;
        else
            return (flatColour & ambientColour) >> 24 == 255;
    }

    uint32_t Apply(uint32_t t) const {
        if constexpr (K == ColourKind::White)
            return t;
        else if constexpr (K == ColourKind::Flat)
            return Modulate(t, flat);
        else
            return Modulate(Modulate(t, flat), ambient);
    }
    Wide Apply(const Wide& t) const {
        if constexpr (K == ColourKind::White)
            return t;
        else if constexpr (K == ColourKind::Flat)
            return Mul255(t, flatWide);
        else
            return Mul255(Mul255(t, flatWide), ambientWide);
    }
    void ApplyRun(uint32_t* p, int n) const {
        if constexpr (K == ColourKind::White)
            return;
        int i = 0;
        for (; i + 4 <= n; i += 4)
            Store4(p + i, Narrow(Apply(Widen(Load4(p + i)))));
        PaddedTail(p, p, n, [this](__m128i t, __m128i) { return Narrow(Apply(Widen(t))); });
    }

    uint32_t flat, ambient;
    Wide flatWide, ambientWide;
    bool keepsOpaque; // an opaque texel stays opaque after shading
};

// The four pixels d become under four texels t shaded by `shader`. An opaque fragment in blend
// mode 0 replaces its pixel, and Keyed texels either replace it or leave it.
template <int Mode, ColourKind K, bool Keyed>
inline __m128i BlendFour(__m128i t, __m128i d, const Shader<K>& shader) {
    if constexpr (Mode == kAdBlendAlpha) {
        if (shader.keepsOpaque && AlphaBytesEqual(t, _mm_set1_epi32(-1)) == kAllFour)
            return K == ColourKind::White ? t : Narrow(shader.Apply(Widen(t)));
        if constexpr (Keyed) {
            const __m128i clear = _mm_cmpeq_epi32(_mm_srli_epi32(t, 24), _mm_setzero_si128());
            return _mm_or_si128(_mm_and_si128(clear, d), _mm_andnot_si128(clear, t));
        }
    }
    return Blend4<Mode>(shader.Apply(Widen(t)), d);
}

// Blends the texels src[0..n) shaded by `shader` into dst; groups of four fragments of alpha 0,
// which change nothing in blend modes 0 and 1, are skipped. Inlined into the run's loop: sprite
// runs are short and the shader's constants are best kept in registers.
template <int Mode, ColourKind K, bool Keyed>
[[gnu::always_inline]] inline void BlendRun(const uint32_t* src, uint32_t* dst, int n,
                                            const Shader<K>& shader) {
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m128i t = Load4(src + i);
        if (Mode != kAdBlendMultiply && AlphaBytesEqual(t, _mm_setzero_si128()) == kAllFour)
            continue;
        Store4(dst + i, BlendFour<Mode, K, Keyed>(t, Load4(dst + i), shader));
    }
    PaddedTail(src, dst, n,
               [&shader](__m128i t, __m128i d) { return BlendFour<Mode, K, Keyed>(t, d, shader); });
}

// Walks the texel coordinates of a run as the scalar loops do.
template <TexMode M> class TexelFetch {
public:
    TexelFetch(const SpanInput& in, const TexelView& tex) : in_(in), tex_(tex), s_(in.s), t_(in.t) {
        if constexpr (M == TexMode::Row)
            row_ = tex.texels + static_cast<size_t>(t_ >> 32) * tex.width;
    }

    // The next n texels: in the texture itself where they lie side by side in it, else in buf. When
    // only the first few of them do, n is cut to those; the rest come on the next call.
    const uint32_t* View(uint32_t* buf, int& n) {
        if constexpr (M == TexMode::Row) {
            const int side = SideBySide(n);
            if (side == n || side >= kMinStretch) {
                n = side;
                const uint32_t* first = row_ + (s_ >> 32);
                s_ += in_.ds * n;
                return first;
            }
        }
        Gather(buf, n);
        return buf;
    }

    // The next n texels, written to out.
    void Fill(uint32_t* out, int n) {
        for (int done = 0; done < n;) {
            int part = n - done;
            const uint32_t* texels = View(out + done, part);
            if (texels != out + done)
                std::memcpy(out + done, texels, static_cast<size_t>(part) * sizeof(uint32_t));
            done += part;
        }
    }

private:
    // Shorter stretches of side-by-side texels are gathered rather than blended in a separate pass.
    static constexpr int kMinStretch = 16;

    // How many of the next n pixels (at least one) take texel columns going up one by one. With f
    // the fraction of s and e = ds - 1, pixel i does while 0 <= f + i e < 1.
    int SideBySide(int n) const {
        const int64_t one = int64_t{1} << 32, f = s_ & (one - 1), e = in_.ds - one;
        int64_t last; // the last i that still does
        if (e > 0)
            last = (one - 1 - f) / e;
        else if (e < 0)
            last = f / -e;
        else
            last = n;
        return static_cast<int>(std::min<int64_t>(last + 1, n));
    }

    void Gather(uint32_t* out, int n) {
        if constexpr (M == TexMode::Row) {
            const int64_t ds = in_.ds;
            int64_t s = s_;
            int i = 0;
            for (; i + 4 <= n; i += 4, s += 4 * ds) {
                out[i] = row_[s >> 32];
                out[i + 1] = row_[(s + ds) >> 32];
                out[i + 2] = row_[(s + 2 * ds) >> 32];
                out[i + 3] = row_[(s + 3 * ds) >> 32];
            }
            for (; i < n; ++i, s += ds)
                out[i] = row_[s >> 32];
            s_ = s;
        } else if constexpr (M == TexMode::Clamped) {
            const int maxX = tex_.width - 1, maxY = tex_.height - 1;
            for (int i = 0; i < n; ++i, s_ += in_.ds, t_ += in_.dt) {
                const int x = static_cast<int>(std::clamp<int64_t>(s_ >> 32, 0, maxX));
                const int y = static_cast<int>(std::clamp<int64_t>(t_ >> 32, 0, maxY));
                out[i] = tex_.texels[static_cast<size_t>(y) * tex_.width + x];
            }
        } else {
            std::fill_n(out, n, 0xFFFFFFFFu); // untextured: white, shaded into the flat colour
        }
    }

    const SpanInput& in_;
    const TexelView& tex_;
    int64_t s_, t_;
    const uint32_t* row_ = nullptr;
};

// The per-pixel tests of the scalar loops on shaded fragments; a fragment that fails is made
// transparent so that blending leaves its pixel alone. Returns the fragments that passed.
uint32_t TestRun(uint32_t* frag, uint8_t* stencil, int n, const FragmentState& fs) {
    const StencilState st = fs.stencil;
    uint32_t counted = 0;
    for (int i = 0; i < n; ++i) {
        if (fs.alphaMask && (frag[i] >> 24) == 0)
            continue;
        if (fs.stencilTest) {
            const uint8_t stored = stencil[i];
            if (!StencilPasses(st, stored)) {
                stencil[i] = StencilApply(st.operations[kAdStencilOnFail], stored, st.reference);
                frag[i] = 0;
                continue;
            }
            stencil[i] = StencilApply(st.operations[kAdStencilOnPass], stored, st.reference);
        }
        ++counted;
    }
    return counted;
}

template <ColourKind K, TexMode M, int Mode, bool Tests, bool Keyed>
void FastSpan(const SpanInput& in, const TexelView& tex, const FragmentState& fs, uint32_t* dst,
              uint8_t* stencil, int count) {
    const Shader<K> shader(in.flat, fs.ambient);
    if constexpr (M == TexMode::None && Mode == kAdBlendAlpha && !Tests) {
        const uint32_t colour = shader.Apply(0xFFFFFFFFu);
        if (colour >> 24 == 255) { // an opaque rectangle: a fill
            std::fill_n(dst, count, colour);
            return;
        }
    }
    TexelFetch<M> fetch(in, tex);
    alignas(16) uint32_t buf[kChunk];
    uint32_t counted = 0;
    for (int start = 0; start < count;) {
        int n = std::min(kChunk, count - start);
        if constexpr (Tests) {
            fetch.Fill(buf, n);
            shader.ApplyRun(buf, n);
            counted += TestRun(buf, fs.stencilTest ? stencil + start : nullptr, n, fs);
            BlendRun<Mode, ColourKind::White, false>(buf, dst + start, n, Shader<ColourKind::White>(0, 0));
        } else {
            const uint32_t* texels = fetch.View(buf, n);
            BlendRun<Mode, K, Keyed>(texels, dst + start, n, shader);
        }
        start += n;
    }
    if constexpr (Tests) {
        if (fs.queryCounter != nullptr)
            *fs.queryCounter += counted;
    }
}

// Opaque texels under white vertex colours, alpha blended: the texels themselves.
template <TexMode M>
void CopySpan(const SpanInput& in, const TexelView& tex, const FragmentState&, uint32_t* dst, uint8_t*,
              int count) {
    TexelFetch<M>(in, tex).Fill(dst, count);
}

template <ColourKind K, TexMode M, int Mode> SpanFunction PickVariant(const SpanKey& key) {
    if (key.tests)
        return &FastSpan<K, M, Mode, true, false>;
    if constexpr (K == ColourKind::White && M != TexMode::None && Mode == kAdBlendAlpha) {
        if (key.alpha == TexelAlpha::Opaque)
            return &CopySpan<M>;
        if (key.alpha == TexelAlpha::Keyed)
            return &FastSpan<K, M, Mode, false, true>;
    }
    return &FastSpan<K, M, Mode, false, false>;
}

template <ColourKind K, TexMode M> SpanFunction PickBlend(const SpanKey& key) {
    switch (key.blendMode) {
    case kAdBlendAdd:
        return PickVariant<K, M, kAdBlendAdd>(key);
    case kAdBlendMultiply:
        // A failed test cannot be turned into a fragment that leaves the pixel alone here.
        return key.tests ? nullptr : PickVariant<K, M, kAdBlendMultiply>(key);
    default:
        return PickVariant<K, M, kAdBlendAlpha>(key);
    }
}

template <ColourKind K> SpanFunction PickMode(const SpanKey& key) {
    switch (key.mode) {
    case TexMode::None:
        return PickBlend<K, TexMode::None>(key);
    case TexMode::Row:
        return PickBlend<K, TexMode::Row>(key);
    default:
        return PickBlend<K, TexMode::Clamped>(key);
    }
}

} // namespace

SpanFunction SelectSse2Span(const SpanKey& key) {
    switch (key.kind) {
    case ColourKind::White:
        return PickMode<ColourKind::White>(key);
    case ColourKind::Flat:
        return PickMode<ColourKind::Flat>(key);
    case ColourKind::FlatLit:
        return PickMode<ColourKind::FlatLit>(key);
    default:
        return nullptr; // interpolated colours stay on the scalar loops
    }
}

#else

SpanFunction SelectSse2Span(const SpanKey&) {
    return nullptr;
}

#endif

} // namespace ad::software

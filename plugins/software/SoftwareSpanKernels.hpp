// The CPU renderer's vector fragment loops, written once over a set of vector lanes. Only
// SoftwareFastSpans.cpp includes this file, once per instruction set and each time inside a
// namespace that first defines the lanes: the vector type V holding kLanes pixels, the operations
// on it used below, and LaneScope, which each loop holds while it runs. Every loop gives exactly
// the pixels of the scalar loops.

// Pixels fetched per pass: the buffer stays in the first-level cache between fetching and blending.
constexpr int kChunk = 128;

// kLanes pixels with every channel widened to a 16-bit lane, split between lo and hi.
struct Wide {
    V lo, hi;
};

inline Wide Widen(V p) {
    return {UnpackLo8(p, Zero()), UnpackHi8(p, Zero())};
}
inline V Narrow(const Wide& w) {
    return Pack16(w.lo, w.hi);
}
inline Wide Splat(uint32_t colour) {
    const V w = UnpackLo8(Splat32(colour), Zero());
    return {w, w};
}

// Div255 on lanes holding 0..255 * 255. With t = x + 128 = 256 h + l, (t * 257) >> 16 is
// h + floor((l + h + l / 256) / 256), which equals Div255's h + floor((l + h) / 256).
inline V Div255Lanes(V x) {
    return MulHi16(Add16(x, Set16(128)), Set16(257));
}
inline Wide Mul255(const Wide& a, const Wide& b) {
    return {Div255Lanes(MulLo16(a.lo, b.lo)), Div255Lanes(MulLo16(a.hi, b.hi))};
}

// The blend formulas treat the source's alpha channel as 255 where they scale the destination's
// alpha (alpha blend, glow) or keep it (multiply); see SoftwareBlend.hpp.
template <int Mode> inline V BlendHalf(V s, V d) {
    const V a = AlphaLanes16(s);
    if constexpr (Mode == kAdBlendAlpha)
        return Div255Lanes(Add16(MulLo16(FullAlpha16(s), a), MulLo16(d, Xor(a, Set16(255)))));
    else if constexpr (Mode == kAdBlendAdd)
        return Div255Lanes(MulLo16(FullAlpha16(s), a)); // added to the destination with saturation
    else
        return Div255Lanes(MulLo16(FullAlpha16(s), d));
}

template <int Mode> inline V BlendWide(const Wide& s, V dst) {
    const Wide d = Widen(dst);
    const V out = Pack16(BlendHalf<Mode>(s.lo, d.lo), BlendHalf<Mode>(s.hi, d.hi));
    if constexpr (Mode == kAdBlendAdd)
        return AddSaturate8(dst, out);
    else
        return out;
}

// The colour before blending: texel as it is, x one colour, or x one colour then x ambient.
template <ColourKind K> struct Shader {
    Shader(uint32_t flat, uint32_t ambient)
        : flatWide(Splat(flat)), ambientWide(Splat(ambient)), keepsOpaque(KeepsOpaque(flat, ambient)) {}

    // Whether an opaque texel stays opaque: the alpha products round(255 x / 255) = x leave 255 only
    // when every factor is 255.
    static bool KeepsOpaque(uint32_t flat, uint32_t ambient) {
        if constexpr (K == ColourKind::White)
            return true;
        else if constexpr (K == ColourKind::Flat)
            return flat >> 24 == 255;
        else
            return (flat & ambient) >> 24 == 255;
    }

    Wide Apply(const Wide& t) const {
        if constexpr (K == ColourKind::White)
            return t;
        else if constexpr (K == ColourKind::Flat)
            return Mul255(t, flatWide);
        else
            return Mul255(Mul255(t, flatWide), ambientWide);
    }
    V Apply(V t) const {
        if constexpr (K == ColourKind::White)
            return t;
        else
            return Narrow(Apply(Widen(t)));
    }

    Wide flatWide, ambientWide;
    bool keepsOpaque;
};

// Runs `group` (texels, pixels -> new pixels) on the last n % kLanes pixels, padded with
// transparent texels whose results are dropped.
template <typename Group> inline void PaddedTail(const uint32_t* src, uint32_t* dst, int n, Group&& group) {
    const int m = n % kLanes, at = n - m;
    if (m != 0)
        StoreFirst(dst + at, group(LoadFirst(src + at, m), LoadFirst(dst + at, m)), m);
}

// Shades the fragments p[0..n) in place.
template <ColourKind K> void ShadeRun(const Shader<K>& shader, uint32_t* p, int n) {
    if constexpr (K != ColourKind::White) {
        int i = 0;
        for (; i + kLanes <= n; i += kLanes)
            Store(p + i, shader.Apply(Load(p + i)));
        PaddedTail(p, p, n, [&shader](V t, V) { return shader.Apply(t); });
    }
}

// The pixels d become under texels t shaded by `shader`. An opaque fragment in blend mode 0
// replaces its pixel, and Keyed texels either replace it or leave it.
template <int Mode, ColourKind K, bool Keyed> inline V BlendGroup(V t, V d, const Shader<K>& shader) {
    if constexpr (Mode == kAdBlendAlpha) {
        if (shader.keepsOpaque && AlphaBytesEqual(t, Ones()) == kAllAlpha)
            return shader.Apply(t);
        if constexpr (Keyed) {
            const V clear = CmpEq32(ShiftRight32<24>(t), Zero());
            return Or(And(clear, d), AndNot(clear, t));
        }
    }
    return BlendWide<Mode>(shader.Apply(Widen(t)), d);
}

// Blends the texels src[0..n) shaded by `shader` into dst; groups of fragments of alpha 0, which
// change nothing in blend modes 0 and 1, are skipped. Inlined into the run's loop: sprite runs are
// short and the shader's constants are best kept in registers.
template <int Mode, ColourKind K, bool Keyed>
[[gnu::always_inline]] inline void BlendRun(const uint32_t* src, uint32_t* dst, int n,
                                            const Shader<K>& shader) {
    int i = 0;
    for (; i + kLanes <= n; i += kLanes) {
        const V t = Load(src + i);
        if (Mode != kAdBlendMultiply && AlphaBytesEqual(t, Zero()) == kAllAlpha)
            continue;
        Store(dst + i, BlendGroup<Mode, K, Keyed>(t, Load(dst + i), shader));
    }
    PaddedTail(src, dst, n, [&shader](V t, V d) { return BlendGroup<Mode, K, Keyed>(t, d, shader); });
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
    // Texels are asked for this many pixels ahead of a shrunk run's reads. Background layers are
    // pictures larger than the screen drawn shrunk: their rows cross a page every few hundred
    // pixels, where the processor's own prefetching stops.
    static constexpr int64_t kPrefetchAhead = 192;

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

    template <bool Prefetch> void GatherRow(uint32_t* out, int n) {
        const int64_t ds = in_.ds, ahead = kPrefetchAhead * ds, last = (int64_t{tex_.width} - 1) << 32;
        int64_t s = s_;
        int i = 0;
        for (; i + 4 <= n; i += 4, s += 4 * ds) {
            if constexpr (Prefetch)
                __builtin_prefetch(row_ + (std::min(s + ahead, last) >> 32));
            out[i] = row_[s >> 32];
            out[i + 1] = row_[(s + ds) >> 32];
            out[i + 2] = row_[(s + 2 * ds) >> 32];
            out[i + 3] = row_[(s + 3 * ds) >> 32];
        }
        for (; i < n; ++i, s += ds)
            out[i] = row_[s >> 32];
        s_ = s;
    }

    void Gather(uint32_t* out, int n) {
        if constexpr (M == TexMode::Row) {
            // Runs reading more than a texel per pixel go through memory fast enough to outrun the
            // processor's own prefetching; the others read few texels, all soon in the cache.
            if (in_.ds > (int64_t{1} << 32))
                GatherRow<true>(out, n);
            else
                GatherRow<false>(out, n);
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
inline uint32_t TestRun(uint32_t* frag, uint8_t* stencil, int n, const FragmentState& fs) {
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
    const LaneScope lanes;
    const Shader<K> shader(in.flat, fs.ambient);
    if constexpr (M == TexMode::None && Mode == kAdBlendAlpha && !Tests) {
        const uint32_t colour = static_cast<uint32_t>(Low32(shader.Apply(Splat32(0xFFFFFFFFu))));
        if (colour >> 24 == 255) { // an opaque rectangle: a fill
            std::fill_n(dst, count, colour);
            return;
        }
    }
    TexelFetch<M> fetch(in, tex);
    alignas(32) uint32_t buf[kChunk];
    uint32_t counted = 0;
    for (int start = 0; start < count;) {
        int n = std::min(kChunk, count - start);
        if constexpr (Tests) {
            fetch.Fill(buf, n);
            ShadeRun(shader, buf, n);
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
    const LaneScope lanes;
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

// The loop for the key, or null for interpolated colours and multiply blending with tests.
inline SpanFunction Select(const SpanKey& key) {
    switch (key.kind) {
    case ColourKind::White:
        return PickMode<ColourKind::White>(key);
    case ColourKind::Flat:
        return PickMode<ColourKind::Flat>(key);
    case ColourKind::FlatLit:
        return PickMode<ColourKind::FlatLit>(key);
    default:
        return nullptr;
    }
}

// The CPU renderer's vector fragment loops: SoftwareSpanKernels.hpp built over SSE2 lanes (four
// pixels, part of every x86-64) and over AVX2 lanes (eight pixels, chosen at run time).
#include "plugins/software/SoftwareFastSpans.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

#if defined(__SSE2__) && defined(__GNUC__) && defined(__x86_64__)
#define VIMBO_SPANS_AVX2 1
#else
#define VIMBO_SPANS_AVX2 0
#endif

namespace ad::software {
namespace {

#if defined(__SSE2__)
namespace sse2 {

using V = __m128i;
constexpr int kLanes = 4;
constexpr unsigned kAllAlpha = 0x8888u; // the alpha bytes' bits in a byte mask

inline V Load(const uint32_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const V*>(p));
}
inline void Store(uint32_t* p, V v) {
    _mm_storeu_si128(reinterpret_cast<V*>(p), v);
}
// The first m (1 to 3) pixels at p in the low lanes, the others zero (transparent), read and
// written without touching memory past them.
[[gnu::always_inline]] inline V LoadFirst(const uint32_t* p, int m) {
    const V first =
        m == 1 ? _mm_cvtsi32_si128(static_cast<int>(p[0])) : _mm_loadl_epi64(reinterpret_cast<const V*>(p));
    return m == 3 ? _mm_unpacklo_epi64(first, _mm_cvtsi32_si128(static_cast<int>(p[2]))) : first;
}
[[gnu::always_inline]] inline void StoreFirst(uint32_t* p, V v, int m) {
    if (m == 1) {
        p[0] = static_cast<uint32_t>(_mm_cvtsi128_si32(v));
        return;
    }
    _mm_storel_epi64(reinterpret_cast<V*>(p), v);
    if (m == 3)
        p[2] = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(v, 8)));
}
inline V Zero() {
    return _mm_setzero_si128();
}
// Held by each loop while it runs; these instructions leave nothing to tidy up.
struct LaneScope {
    ~LaneScope() {} // user-provided, so that holding one is not taken for an unused variable
};
inline V Ones() {
    return _mm_set1_epi32(-1);
}
inline V Set16(int v) {
    return _mm_set1_epi16(static_cast<int16_t>(v));
}
inline V Splat32(uint32_t v) {
    return _mm_set1_epi32(static_cast<int>(v));
}
inline uint32_t Low32(V v) {
    return static_cast<uint32_t>(_mm_cvtsi128_si32(v));
}
inline V UnpackLo8(V a, V b) {
    return _mm_unpacklo_epi8(a, b);
}
inline V UnpackHi8(V a, V b) {
    return _mm_unpackhi_epi8(a, b);
}
inline V Pack16(V a, V b) {
    return _mm_packus_epi16(a, b);
}
inline V Add16(V a, V b) {
    return _mm_add_epi16(a, b);
}
inline V MulLo16(V a, V b) {
    return _mm_mullo_epi16(a, b);
}
inline V MulHi16(V a, V b) {
    return _mm_mulhi_epu16(a, b);
}
inline V AddSaturate8(V a, V b) {
    return _mm_adds_epu8(a, b);
}
inline V Or(V a, V b) {
    return _mm_or_si128(a, b);
}
inline V And(V a, V b) {
    return _mm_and_si128(a, b);
}
inline V AndNot(V a, V b) {
    return _mm_andnot_si128(a, b);
}
inline V Xor(V a, V b) {
    return _mm_xor_si128(a, b);
}
inline V CmpEq32(V a, V b) {
    return _mm_cmpeq_epi32(a, b);
}
template <int N> inline V ShiftRight32(V a) {
    return _mm_srli_epi32(a, N);
}
// Widened pixels: every channel lane of a pixel set to its alpha, or its alpha lane set to 255.
inline V AlphaLanes16(V w) {
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(w, 0xFF), 0xFF);
}
inline V FullAlpha16(V w) {
    return _mm_or_si128(w, _mm_set_epi16(255, 0, 0, 0, 255, 0, 0, 0));
}
// The bits of kAllAlpha for the pixels whose alpha byte equals that of v.
inline unsigned AlphaBytesEqual(V p, V v) {
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(p, v))) & kAllAlpha;
}

#include "plugins/software/SoftwareSpanKernels.hpp"

} // namespace sse2
#endif

#if VIMBO_SPANS_AVX2
// Everything defined from here to the pop is built for AVX2 and runs only where the processor
// has it; templates defined elsewhere (the standard library's) keep the baseline instruction set.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif
namespace avx2 {

// Two 128-bit halves of four pixels each; unpacking, packing and shuffles work within each half,
// so pixels keep their places through widening and narrowing.
using V = __m256i;
constexpr int kLanes = 8;
constexpr unsigned kAllAlpha = 0x88888888u;

inline V Load(const uint32_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const V*>(p));
}
inline void Store(uint32_t* p, V v) {
    _mm256_storeu_si256(reinterpret_cast<V*>(p), v);
}
// The first m (1 to 7) pixels: whole halves where they fill one, else the half-width partial.
[[gnu::always_inline]] inline V LoadFirst(const uint32_t* p, int m) {
    const __m128i lo = m >= 4 ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)) : sse2::LoadFirst(p, m);
    const __m128i hi = m > 4 ? sse2::LoadFirst(p + 4, m - 4) : _mm_setzero_si128();
    return _mm256_inserti128_si256(_mm256_castsi128_si256(lo), hi, 1);
}
[[gnu::always_inline]] inline void StoreFirst(uint32_t* p, V v, int m) {
    const __m128i lo = _mm256_castsi256_si128(v);
    if (m < 4) {
        sse2::StoreFirst(p, lo, m);
        return;
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), lo);
    if (m > 4)
        sse2::StoreFirst(p + 4, _mm256_extracti128_si256(v, 1), m - 4);
}
inline V Zero() {
    return _mm256_setzero_si256();
}
// Held by each loop while it runs: on leaving, clears the upper halves of the vector registers.
// The compiler does not always do so where a loop's helpers pass 256-bit values, and while they
// are dirty every SSE instruction of the rest of the program (the baseline's floating point
// included) runs several times slower on some processors.
struct LaneScope {
    LaneScope() = default;
    LaneScope(const LaneScope&) = delete;
    LaneScope& operator=(const LaneScope&) = delete;
    ~LaneScope() { _mm256_zeroupper(); }
};
inline V Ones() {
    return _mm256_set1_epi32(-1);
}
inline V Set16(int v) {
    return _mm256_set1_epi16(static_cast<int16_t>(v));
}
inline V Splat32(uint32_t v) {
    return _mm256_set1_epi32(static_cast<int>(v));
}
inline uint32_t Low32(V v) {
    return static_cast<uint32_t>(_mm256_cvtsi256_si32(v));
}
inline V UnpackLo8(V a, V b) {
    return _mm256_unpacklo_epi8(a, b);
}
inline V UnpackHi8(V a, V b) {
    return _mm256_unpackhi_epi8(a, b);
}
inline V Pack16(V a, V b) {
    return _mm256_packus_epi16(a, b);
}
inline V Add16(V a, V b) {
    return _mm256_add_epi16(a, b);
}
inline V MulLo16(V a, V b) {
    return _mm256_mullo_epi16(a, b);
}
inline V MulHi16(V a, V b) {
    return _mm256_mulhi_epu16(a, b);
}
inline V AddSaturate8(V a, V b) {
    return _mm256_adds_epu8(a, b);
}
inline V Or(V a, V b) {
    return _mm256_or_si256(a, b);
}
inline V And(V a, V b) {
    return _mm256_and_si256(a, b);
}
inline V AndNot(V a, V b) {
    return _mm256_andnot_si256(a, b);
}
inline V Xor(V a, V b) {
    return _mm256_xor_si256(a, b);
}
inline V CmpEq32(V a, V b) {
    return _mm256_cmpeq_epi32(a, b);
}
template <int N> inline V ShiftRight32(V a) {
    return _mm256_srli_epi32(a, N);
}
inline V AlphaLanes16(V w) {
    return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(w, 0xFF), 0xFF);
}
inline V FullAlpha16(V w) {
    return _mm256_or_si256(w, _mm256_set_epi16(255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0));
}
inline unsigned AlphaBytesEqual(V p, V v) {
    return static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(p, v))) & kAllAlpha;
}

#include "plugins/software/SoftwareSpanKernels.hpp"

} // namespace avx2
#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
#endif

} // namespace

bool SpanLevelAvailable(SpanLevel level) {
    switch (level) {
    case SpanLevel::Sse2:
#if defined(__SSE2__)
        return true;
#else
        return false;
#endif
    case SpanLevel::Avx2:
#if VIMBO_SPANS_AVX2
        return __builtin_cpu_supports("avx2");
#else
        return false;
#endif
    default:
        return true;
    }
}

SpanFunction SelectFastSpan(const SpanKey& key, SpanLevel level) {
#if VIMBO_SPANS_AVX2
    if (level == SpanLevel::Avx2)
        return avx2::Select(key);
#endif
#if defined(__SSE2__)
    if (level == SpanLevel::Sse2 || level == SpanLevel::Avx2)
        return sse2::Select(key);
#endif
    return nullptr;
}

} // namespace ad::software

// The CPU renderer's fragment loops that work on four pixels at once with SSE2 and give exactly the
// pixels of the scalar loops.
#pragma once

#include "plugins/software/SoftwareSpans.hpp"

namespace ad::software {

// The SSE2 loop for the key, or null where only the scalar loops exist: interpolated colours,
// multiply blending with per-pixel tests, and builds for processors without SSE2.
SpanFunction SelectSse2Span(const SpanKey& key);

} // namespace ad::software

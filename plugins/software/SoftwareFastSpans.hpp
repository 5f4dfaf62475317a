// The CPU renderer's fragment loops that work on several pixels at once with vector instructions
// and give exactly the pixels of the scalar loops.
#pragma once

#include "plugins/software/SoftwareSpans.hpp"

namespace ad::software {

// Whether this build and processor can run the level's loops.
bool SpanLevelAvailable(SpanLevel level);

// The vector loop of the level for the key, or null where only the scalar loops exist: interpolated
// colours, multiply blending with per-pixel tests, and the Scalar level itself.
SpanFunction SelectFastSpan(const SpanKey& key, SpanLevel level);

} // namespace ad::software

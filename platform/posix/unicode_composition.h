// The canonical composition and decomposition that MB_COMPOSITE and
// WC_COMPOSITECHECK need, taken from ICU's normalization data.
#pragma once

#include "platform/winapi.h"

namespace quornel::platform::detail {

inline constexpr int kMaxDecomposition = 8;

// Writes the full canonical decomposition of `u` to `out` and returns its
// length, or returns 0 when `u` has none.
[[nodiscard]] int CanonicalDecomposition(WCHAR u, WCHAR (&out)[kMaxDecomposition]);

// The precomposed unit for `base` followed by `mark`, or -1 when the pair does
// not compose to a single BMP character.
[[nodiscard]] int ComposePair(WCHAR base, WCHAR mark);

// Whether `u` has a non-zero canonical combining class.
[[nodiscard]] bool IsCombining(WCHAR u);

}  // namespace quornel::platform::detail

// Unicode normalization through the platform's normalization library.
#pragma once

#include <cstdint>
#include <string_view>

#include "textunits/types.h"

// The platform's normalization form numbers, passed to it unchanged.
enum TNORM_FORM : std::uint8_t {
  NormalizationOther = 0,
  NormalizationC = 1,
  NormalizationD = 2,
  NormalizationKC = 5,
  NormalizationKD = 6,
};

// True when `destination` holds `source` in `form`.
[[nodiscard]] TU_API bool TuNormalize(const WideString& source, WideString& destination,
                                      TNORM_FORM form);

// True when the platform says `text` is already in `form`.
[[nodiscard]] TU_API bool TuIsNormalized(const WideString& text, TNORM_FORM form);

namespace textunits {
// TuNormalize on a view of the text, for callers that hold the text elsewhere
// (the plug-in reads the host's buffer); the same results. The room of
// `destination` is reused. A caller that knows the source holds no U+0000
// (it came zero-terminated) says so, and the result is not searched for one.
[[nodiscard]] bool Normalize(std::u16string_view source, WideString& destination, TNORM_FORM form,
                             bool sourceHasNoZero);
}  // namespace textunits

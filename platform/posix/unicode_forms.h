// The ICU normalizers behind the normalization library and the folding call,
// and the checks on source text both of them need.
#pragma once

#include <unicode/normalizer2.h>

#include "platform/winapi.h"

namespace quornel::platform::posix {

// The ICU instance for one of the four forms, or null for any other form
// number (and should ICU's data fail to load).
const icu::Normalizer2* NormalizerFor(NORM_FORM form);

// The index of the first surrogate unit without its partner, or -1.
int FindUnpairedSurrogate(LPCWSTR text, int length);

// Whether the two unit ranges share memory.
bool Overlap(LPCWSTR a, int aLength, LPCWSTR b, int bLength);

}  // namespace quornel::platform::posix

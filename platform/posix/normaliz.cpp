// The normalization library (normaliz.dll) on ICU: NormalizeString and
// IsNormalizedString for the forms C, D, KC and KD, with the sizes, results
// and last-error codes the Windows library gives.
#include <unicode/ustring.h>

#include <algorithm>
#include <climits>
#include <cstdint>

#include "platform/posix/builtin_modules.h"
#include "platform/posix/unicode_forms.h"

namespace quornel::platform::posix {
namespace {

// The size guess for a zero-length destination. Windows answers with a quick
// guess rather than an upper bound (three times the length for very short
// texts, 64 units for a 56-unit Japanese line whose NFD needed 67), and
// callers have to cope with a guess that is too small. This one gives the
// same two answers: three times the length up to 4 units, the length plus 8
// for mid-sized texts, the length plus an eighth beyond 64 units. Text that
// expands more than that (decomposed kana, U+FDFA, squared katakana words in
// NFKD) gets ERROR_INSUFFICIENT_BUFFER with the exact size on the next call.
int EstimateSize(int length) {
  const std::int64_t n = length;
  const std::int64_t guess = std::max(n + n / 8, std::min(3 * n, n + 8));
  return static_cast<int>(std::min<std::int64_t>(guess, INT_MAX));
}

}  // namespace

int NormalizeString(NORM_FORM form, LPCWSTR src, int srcLength, LPWSTR dst, int dstLength) {
  if (dstLength == 0) CountSizeQuery();
  const UNormalizer2* normalizer = NormalizerFor(form);
  if (normalizer == nullptr || src == nullptr || srcLength < -1 || dstLength < 0 ||
      (dst == nullptr && dstLength > 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  // A zero-terminated source brings its terminator along, into the output and
  // the count, as it does on Windows.
  if (srcLength == -1) srcLength = u_strlen(src) + 1;
  if (dstLength == 0) {
    SetLastError(ERROR_SUCCESS);
    return EstimateSize(srcLength);
  }
  // ICU would carry a lone surrogate through as if it were a character;
  // Windows refuses the text and reports where the bad unit is.
  if (const int bad = FindUnpairedSurrogate(src, srcLength); bad >= 0) {
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return -bad;
  }
  // Straight into the caller's buffer; on overflow ICU reports the full size.
  UErrorCode status = U_ZERO_ERROR;
  const std::int32_t length = unorm2_normalize(normalizer, src, srcLength, dst, dstLength, &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return -length;
  }
  if (U_FAILURE(status)) {  // overlapping buffers, or a source ICU cannot take
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  SetLastError(ERROR_SUCCESS);
  return length;
}

BOOL IsNormalizedString(NORM_FORM form, LPCWSTR str, int length) {
  const UNormalizer2* normalizer = NormalizerFor(form);
  if (normalizer == nullptr || str == nullptr || length < -1) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE_;
  }
  if (length == -1) length = u_strlen(str);
  if (FindUnpairedSurrogate(str, length) >= 0) {
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return FALSE_;
  }
  UErrorCode status = U_ZERO_ERROR;
  const UBool normalized = unorm2_isNormalized(normalizer, str, length, &status);
  if (U_FAILURE(status)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE_;
  }
  SetLastError(ERROR_SUCCESS);
  return normalized ? TRUE_ : FALSE_;
}

}  // namespace quornel::platform::posix

// The normalization library (normaliz.dll) on ICU: NormalizeString and
// IsNormalizedString for the forms C, D, KC and KD, with the sizes, results
// and last-error codes the Windows library gives.
#include <unicode/unistr.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>

#include "platform/posix/builtin_modules.h"
#include "platform/posix/unicode_forms.h"

namespace quornel::platform::posix {
namespace {

// The size guess for a zero-length destination. Windows answers with a quick
// guess rather than an upper bound (three times the length for very short
// texts, 64 units for a 56-unit Japanese line whose NFD needed 67), and
// callers have to cope with a guess that is too small. This one gives the
// same two answers: three times the length up to 4 units, the length plus 8
// up to 64 units, the length plus an eighth beyond. Text that expands more
// (decomposed kana, U+FDFA, squared katakana words in NFKD) gets
// ERROR_INSUFFICIENT_BUFFER with the exact size on the next call.
int EstimateSize(int length) {
  const std::int64_t n = length;
  const std::int64_t guess = std::max(n + n / 8, std::min(3 * n, n + 8));
  return static_cast<int>(std::min<std::int64_t>(guess, INT_MAX));
}

// A result that did not fit the caller's buffer. Finding the size it needs
// takes a whole normalization, and the caller's next step is nearly always
// the same call with a buffer of that size; keeping the result lets that call
// copy it instead of normalizing the text a second time. It is used only for
// the same form and the same source units, and dropped on the thread's next
// normalizing call whatever that asks for.
struct Overflow {
  bool held = false;
  NORM_FORM form = NormalizationOther;
  std::u16string source;
  icu::UnicodeString result;
};
thread_local Overflow overflow;

// The held result when it answers this call; -1 otherwise.
int TakeOverflow(NORM_FORM form, LPCWSTR src, int srcLength, LPWSTR dst, int dstLength) {
  if (!overflow.held) return -1;
  int length = -1;
  if (overflow.form == form && overflow.result.length() <= dstLength &&
      overflow.source.size() == static_cast<std::size_t>(srcLength) &&
      std::equal(overflow.source.begin(), overflow.source.end(), src)) {
    length = overflow.result.length();
    std::copy_n(overflow.result.getBuffer(), length, dst);
    if (length < dstLength) dst[length] = 0;
  }
  overflow = Overflow{};  // gives the memory back
  return length;
}

}  // namespace

int NormalizeString(NORM_FORM form, LPCWSTR src, int srcLength, LPWSTR dst, int dstLength) {
  if (dstLength == 0) CountSizeQuery();
  const icu::Normalizer2* normalizer = NormalizerFor(form);
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
  if (Overlap(src, srcLength, dst, dstLength)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (const int held = TakeOverflow(form, src, srcLength, dst, dstLength); held >= 0) {
    SetLastError(ERROR_SUCCESS);
    return held;
  }
  // ICU would carry a lone surrogate through as if it were a character;
  // Windows refuses the text and reports where the bad unit is.
  if (const int bad = FindUnpairedSurrogate(src, srcLength); bad >= 0) {
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return -bad;
  }
  // The result string aliases the caller's buffer, so ICU writes straight
  // into it; only when the buffer runs out does ICU move to memory of its own.
  icu::UnicodeString result(dst, 0, dstLength);
  UErrorCode status = U_ZERO_ERROR;
  normalizer->normalize(icu::UnicodeString(false, src, srcLength), result, status);
  if (U_FAILURE(status)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const int length = result.length();
  if (length > dstLength) {
    overflow.held = true;
    overflow.form = form;
    overflow.source.assign(src, static_cast<std::size_t>(srcLength));
    overflow.result = std::move(result);
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return -length;
  }
  // ICU may have moved out of the buffer on the way (it reserves room for the
  // whole source first) even though the result fits.
  if (result.getBuffer() != dst) std::copy_n(result.getBuffer(), length, dst);
  // Composition works in the buffer, so units of the longer intermediate text
  // can stand after the result; a terminator where there is room ends the
  // text for callers that read up to the first U+0000, as ICU's C interface
  // does.
  if (length < dstLength) dst[length] = 0;
  SetLastError(ERROR_SUCCESS);
  return length;
}

BOOL IsNormalizedString(NORM_FORM form, LPCWSTR str, int length) {
  const icu::Normalizer2* normalizer = NormalizerFor(form);
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
  const UBool normalized = normalizer->isNormalized(icu::UnicodeString(false, str, length), status);
  if (U_FAILURE(status)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE_;
  }
  SetLastError(ERROR_SUCCESS);
  return normalized ? TRUE_ : FALSE_;
}

}  // namespace quornel::platform::posix

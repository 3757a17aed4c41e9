// FoldStringW, the character folding call older than the normalization
// library: composition and decomposition, compatibility folding and digit
// folding, on the same ICU normalizers. Unlike NormalizeString it answers a
// size query with the exact size, and a destination that is too small gets 0
// with ERROR_INSUFFICIENT_BUFFER rather than the size it needs.
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <cstdint>

#include "platform/posix/builtin_modules.h"
#include "platform/posix/unicode_forms.h"

namespace quornel::platform {
namespace {

constexpr DWORD kKnownFlags = MAP_FOLDCZONE | MAP_PRECOMPOSED | MAP_COMPOSITE | MAP_FOLDDIGITS;

// The normalization form the flags ask for. Compatibility folding alone
// composes, as MAP_FOLDCZONE | MAP_PRECOMPOSED does.
const icu::Normalizer2* FormFor(DWORD flags) {
  if (flags & MAP_FOLDCZONE) {
    return posix::NormalizerFor((flags & MAP_COMPOSITE) ? NormalizationKD : NormalizationKC);
  }
  if (flags & MAP_PRECOMPOSED) return posix::NormalizerFor(NormalizationC);
  if (flags & MAP_COMPOSITE) return posix::NormalizerFor(NormalizationD);
  return nullptr;
}

// Every decimal digit of any script (Arabic-Indic, Devanagari, fullwidth,
// mathematical, ...) becomes its ASCII digit; a supplementary digit shrinks
// from two units to one.
icu::UnicodeString FoldDigits(const icu::UnicodeString& text) {
  icu::UnicodeString out;
  for (std::int32_t i = 0; i < text.length();) {
    const UChar32 c = text.char32At(i);
    if (u_charType(c) == U_DECIMAL_DIGIT_NUMBER) {
      out.append(static_cast<char16_t>(u'0' + u_charDigitValue(c)));
    } else {
      out.append(c);
    }
    i += U16_LENGTH(c);
  }
  return out;
}

}  // namespace

int FoldStringW(DWORD mapFlags, LPCWSTR src, int srcLength, LPWSTR dst, int dstLength) {
  if (dstLength == 0) posix::CountSizeQuery();
  if (mapFlags == 0 || (mapFlags & ~kKnownFlags) != 0 ||
      (mapFlags & (MAP_PRECOMPOSED | MAP_COMPOSITE)) == (MAP_PRECOMPOSED | MAP_COMPOSITE)) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  if (src == nullptr || srcLength == 0 || srcLength < -1 || dstLength < 0 ||
      (dst == nullptr && dstLength > 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (srcLength == -1) srcLength = u_strlen(src) + 1;
  if (dstLength > 0 && posix::Overlap(src, srcLength, dst, dstLength)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  // Refused on the size query already, as the normalization library refuses
  // it on the normalizing call: either way the caller learns the text cannot
  // be normalized.
  if (posix::FindUnpairedSurrogate(src, srcLength) >= 0) {
    SetLastError(ERROR_NO_UNICODE_TRANSLATION);
    return 0;
  }
  // Folding is the way of systems without the normalization library, never
  // the fast path, so the result is built whole and then measured.
  const icu::UnicodeString source(false, src, srcLength);
  icu::UnicodeString result;
  if (mapFlags != MAP_FOLDDIGITS) {
    const icu::Normalizer2* form = FormFor(mapFlags);
    UErrorCode status = U_ZERO_ERROR;
    if (form == nullptr) status = U_MISSING_RESOURCE_ERROR;  // ICU's data did not load
    else form->normalize(source, result, status);
    form->normalize(source, result, status);
    if (U_FAILURE(status)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
  } else {
    result = source;
  }
  if (mapFlags & MAP_FOLDDIGITS) result = FoldDigits(result);
  const int length = result.length();
  if (dstLength != 0) {
    if (length > dstLength) {
      SetLastError(ERROR_INSUFFICIENT_BUFFER);
      return 0;
    }
    std::copy_n(result.getBuffer(), length, dst);
  }
  SetLastError(ERROR_SUCCESS);
  return length;
}

}  // namespace quornel::platform

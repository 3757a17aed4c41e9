// FoldStringW, the character folding call older than the normalization
// library: composition and decomposition, compatibility folding and digit
// folding, on the same ICU normalizers. Unlike NormalizeString it answers a
// size query with the exact size, and a destination that is too small gets 0
// with ERROR_INSUFFICIENT_BUFFER rather than the size it needs.
#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "platform/posix/builtin_modules.h"
#include "platform/posix/unicode_forms.h"

namespace quornel::platform {
namespace {

constexpr DWORD kKnownFlags = MAP_FOLDCZONE | MAP_PRECOMPOSED | MAP_COMPOSITE | MAP_FOLDDIGITS;

// The normalization form the flags ask for. Compatibility folding alone
// composes, as MAP_FOLDCZONE | MAP_PRECOMPOSED does.
const UNormalizer2* FormFor(DWORD flags) {
  if (flags & MAP_FOLDCZONE) {
    return posix::NormalizerFor((flags & MAP_COMPOSITE) ? NormalizationKD : NormalizationKC);
  }
  if (flags & MAP_PRECOMPOSED) return posix::NormalizerFor(NormalizationC);
  if (flags & MAP_COMPOSITE) return posix::NormalizerFor(NormalizationD);
  return nullptr;  // MAP_FOLDDIGITS alone
}

// Every decimal digit of any script (Arabic-Indic, Devanagari, fullwidth,
// mathematical, ...) becomes its ASCII digit; a supplementary digit shrinks
// from two units to one.
std::u16string FoldDigits(const std::u16string& text) {
  std::u16string out;
  out.reserve(text.size());
  const auto length = static_cast<std::int32_t>(text.size());
  for (std::int32_t i = 0; i < length;) {
    const std::int32_t start = i;
    UChar32 c;
    U16_NEXT(text.data(), i, length, c);
    if (u_charType(c) == U_DECIMAL_DIGIT_NUMBER) {
      out.push_back(static_cast<char16_t>(u'0' + u_charDigitValue(c)));
    } else {
      out.append(text, static_cast<std::size_t>(start), static_cast<std::size_t>(i - start));
    }
  }
  return out;
}

bool Overlap(LPCWSTR a, int aLength, LPCWSTR b, int bLength) {
  const auto pa = reinterpret_cast<std::uintptr_t>(a);
  const auto pb = reinterpret_cast<std::uintptr_t>(b);
  return pa < pb + sizeof(WCHAR) * static_cast<std::uintptr_t>(bLength) &&
         pb < pa + sizeof(WCHAR) * static_cast<std::uintptr_t>(aLength);
}

// The general way, for digit folding: the whole result first, then the size
// contract on it.
int FoldThroughBuffer(const UNormalizer2* form, LPCWSTR src, int srcLength, LPWSTR dst,
                      int dstLength) {
  std::u16string text(src, static_cast<std::size_t>(srcLength));
  if (form != nullptr) {
    UErrorCode status = U_ZERO_ERROR;
    const std::int32_t needed = unorm2_normalize(form, src, srcLength, nullptr, 0, &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    text.resize(static_cast<std::size_t>(needed));
    status = U_ZERO_ERROR;
    unorm2_normalize(form, src, srcLength, text.data(), needed, &status);
    if (U_FAILURE(status)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
  }
  const std::u16string folded = FoldDigits(text);
  const auto size = static_cast<int>(folded.size());
  if (dstLength != 0) {
    if (size > dstLength) {
      SetLastError(ERROR_INSUFFICIENT_BUFFER);
      return 0;
    }
    std::copy(folded.begin(), folded.end(), dst);
  }
  SetLastError(ERROR_SUCCESS);
  return size;
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
  if (dstLength > 0 && Overlap(src, srcLength, dst, dstLength)) {
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
  const UNormalizer2* form = FormFor(mapFlags);
  if (mapFlags & MAP_FOLDDIGITS) return FoldThroughBuffer(form, src, srcLength, dst, dstLength);
  if (form == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);  // ICU's data is missing
    return 0;
  }
  UErrorCode status = U_ZERO_ERROR;
  const std::int32_t length = unorm2_normalize(form, src, srcLength, dst, dstLength, &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    if (dstLength == 0) {
      SetLastError(ERROR_SUCCESS);
      return length;
    }
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (U_FAILURE(status)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  SetLastError(ERROR_SUCCESS);
  return length;
}

}  // namespace quornel::platform

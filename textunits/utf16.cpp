// UTF-16 to and from code points. Both directions count first, allocate the
// result once at its exact size and then fill it. Japanese text rarely holds a
// surrogate, so both walks test whole blocks at a time and copy a block that
// needs no decoding with a plain widening or narrowing loop.
#include "textunits/utf16.h"

#include <algorithm>
#include <cstddef>

#include "textunits/surrogates.h"

using namespace textunits::detail;

namespace {

// Units tested together; a fixed count lets the compiler turn the test into
// a few vector compares.
constexpr std::size_t kBlock = 32;

[[nodiscard]] bool BlockHasSurrogate(const char16_t* p) {
  bool any = false;
  for (std::size_t k = 0; k < kBlock; ++k) any |= IsSurrogate(p[k]);
  return any;
}

// Index of the first surrogate at or after `i`, or `n`.
[[nodiscard]] std::size_t NextSurrogate(const char16_t* p, std::size_t i, std::size_t n) {
  while (i + kBlock <= n && !BlockHasSurrogate(p + i)) i += kBlock;
  while (i < n && !IsSurrogate(p[i])) ++i;
  return i;
}

// Code points in p[0..n): every unit that is no surrogate, and every lead
// directly followed by a trail. Lone surrogates count nothing.
[[nodiscard]] std::size_t CountCodePoints(const char16_t* p, std::size_t n) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < n; ++i) count += !IsSurrogate(p[i]);
  for (std::size_t i = 0; i + 1 < n; ++i)
    count += IsLeadSurrogate(p[i]) & IsTrailSurrogate(p[i + 1]);
  return count;
}

// Units that `v` needs; see the header for values past the last code point.
[[nodiscard]] constexpr std::size_t UnitsFor(std::uint32_t v) {
  return v >= 0x10000 && v <= kLastCodePoint ? 2 : 1;
}

}  // namespace

UCS4String UTF16ToUTF32(const WideString& text) {
  const std::size_t n = text.size();
  if (n == 0) return {};
  const char16_t* p = text.data();

  const std::size_t first = NextSurrogate(p, 0, n);
  const std::size_t count = first + CountCodePoints(p + first, n - first);

  UCS4String out;
  out.reserve(count + 1);
  std::size_t i = 0;
  while (i < n) {
    const std::size_t runEnd = i == 0 ? first : NextSurrogate(p, i, n);
    out.insert(out.end(), p + i, p + runEnd);
    i = runEnd;
    if (i == n) break;
    if (IsLeadSurrogate(p[i]) && i + 1 < n && IsTrailSurrogate(p[i + 1])) {
      out.push_back(CombineSurrogates(p[i], p[i + 1]));
      i += 2;
    } else {
      ++i;  // a lone surrogate has no code point and leaves no trace
    }
  }
  out.push_back(0);
  return out;
}

WideString UTF32ToUTF16(const UCS4String& codePoints) {
  // A first element 0 reads as the terminator of an empty text, whatever
  // follows it.
  if (codePoints.empty() || codePoints.front() == 0) return {};
  const std::size_t m = codePoints.back() == 0 ? codePoints.size() - 1 : codePoints.size();
  const std::uint32_t* v = codePoints.data();

  std::size_t count = 0;
  for (std::size_t i = 0; i < m; ++i) count += UnitsFor(v[i]);

  WideString out;
  out.reserve(count);
  // Filled through a small buffer so the string is never zero-filled first.
  constexpr std::size_t kChunk = 256;
  char16_t buffer[2 * kChunk];
  for (std::size_t start = 0; start < m; start += kChunk) {
    const std::size_t end = std::min(m, start + kChunk);
    std::uint32_t high = 0;
    for (std::size_t i = start; i < end; ++i) high |= v[i] >> 16;
    std::size_t k = 0;
    if (high == 0) {
      for (std::size_t i = start; i < end; ++i) buffer[k++] = static_cast<char16_t>(v[i]);
    } else {
      for (std::size_t i = start; i < end; ++i) {
        const std::uint32_t c = v[i];
        if (c < 0x10000) {
          // U+D800..U+DFFF pass through as they are; nothing is validated here.
          buffer[k++] = static_cast<char16_t>(c);
        } else if (c <= kLastCodePoint) {
          buffer[k++] = LeadOf(c);
          buffer[k++] = TrailOf(c);
        } else {
          buffer[k++] = kReplacementCharacter;
        }
      }
    }
    out.append(buffer, k);
  }
  return out;
}

WideString CodePointToUTF16(std::uint32_t codePoint) {
  // The same result as converting the array [codePoint, 0], without building it.
  if (codePoint == 0) return {};
  if (codePoint < 0x10000) return WideString(1, static_cast<char16_t>(codePoint));
  if (codePoint <= kLastCodePoint) return WideString{LeadOf(codePoint), TrailOf(codePoint)};
  return WideString(1, kReplacementCharacter);
}

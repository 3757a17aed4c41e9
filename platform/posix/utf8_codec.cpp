#include "platform/posix/utf8_codec.h"

#include "platform/posix/conversion_output.h"

namespace quornel::platform::detail {
namespace {

constexpr WCHAR kReplacement = 0xFFFD;

constexpr bool IsContinuation(BYTE b) { return (b & 0xC0) == 0x80; }

// Decoding ill-formed input. Every U+FFFD stands for one of these:
// - a byte that cannot begin a well-formed sequence (a stray continuation
//   byte 80-BF, or C0, C1, F5-FF) on its own;
// - a lead byte C2-F4 whose next byte is a continuation byte outside the
//   range the lead allows (E0: A0-BF, ED: 80-9F, F0: 90-BF, F4: 80-8F; that
//   range is what excludes overlong forms, encoded surrogates and values above
//   U+10FFFF), together with that one byte;
// - a lead byte with the continuation bytes it took before a byte that is not
//   one, or before the end of the input.
// So C3 A9 FF E3 81 gives 00E9 FFFD FFFD, ED A0 80 gives FFFD FFFD (ED A0,
// then the stray 80), and C0 80 gives FFFD FFFD, as the reference platform does.
template <typename Sink>
ConversionStatus DecodeUtf8(const BYTE* s, std::size_t n, bool terminated, bool strict,
                            Sink& sink) {
  std::size_t i = 0;
  while (i < n) {
    const BYTE b = s[i];
    if (b < 0x80) {
      if (!sink.Put(b)) return ConversionStatus::kNoRoom;
      ++i;
      continue;
    }
    std::size_t taken = 1;
    char32_t c = 0;
    bool ok = false;
    if (b >= 0xC2 && b <= 0xF4) {
      const std::size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
      BYTE low = 0x80, high = 0xBF;
      if (b == 0xE0) low = 0xA0;
      else if (b == 0xED) high = 0x9F;
      else if (b == 0xF0) low = 0x90;
      else if (b == 0xF4) high = 0x8F;
      if (i + 1 < n && IsContinuation(s[i + 1])) {
        taken = 2;
        if (s[i + 1] >= low && s[i + 1] <= high) {
          c = (b & (0x7F >> length)) << 6 | (s[i + 1] & 0x3F);
          while (taken < length && i + taken < n && IsContinuation(s[i + taken])) {
            c = c << 6 | (s[i + taken] & 0x3F);
            ++taken;
          }
          ok = taken == length;
        }
      }
    }
    i += taken;
    if (!ok) {
      if (strict) return ConversionStatus::kInvalidChar;
      if (!sink.Put(kReplacement)) return ConversionStatus::kNoRoom;
    } else if (c < 0x10000) {
      if (!sink.Put(static_cast<WCHAR>(c))) return ConversionStatus::kNoRoom;
    } else {
      c -= 0x10000;
      if (!sink.Put(static_cast<WCHAR>(0xD800 | (c >> 10))) ||
          !sink.Put(static_cast<WCHAR>(0xDC00 | (c & 0x3FF)))) {
        return ConversionStatus::kNoRoom;
      }
    }
  }
  if (terminated && !sink.Put(0)) return ConversionStatus::kNoRoom;
  return ConversionStatus::kOk;
}

// An unpaired surrogate becomes U+FFFD (EF BF BD), or fails the call under
// WC_ERR_INVALID_CHARS.
template <typename Sink>
ConversionStatus EncodeUtf8(const WCHAR* s, std::size_t n, bool terminated, bool strict,
                            Sink& sink) {
  auto put = [&sink](char32_t v) { return sink.Put(static_cast<char>(v)); };
  for (std::size_t i = 0; i < n; ++i) {
    char32_t c = s[i];
    bool ok = true;
    if (c < 0x80) {
      ok = put(c);
    } else if (c < 0x800) {
      ok = put(0xC0 | c >> 6) && put(0x80 | (c & 0x3F));
    } else {
      if (c >= 0xD800 && c <= 0xDFFF) {
        if (c <= 0xDBFF && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
          c = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00);
        } else if (strict) {
          return ConversionStatus::kInvalidChar;
        } else {
          c = kReplacement;
        }
      }
      if (c >= 0x10000) {
        ok = put(0xF0 | c >> 18) && put(0x80 | (c >> 12 & 0x3F)) && put(0x80 | (c >> 6 & 0x3F)) &&
             put(0x80 | (c & 0x3F));
      } else {
        ok = put(0xE0 | c >> 12) && put(0x80 | (c >> 6 & 0x3F)) && put(0x80 | (c & 0x3F));
      }
    }
    if (!ok) return ConversionStatus::kNoRoom;
  }
  if (terminated && !sink.Put(0)) return ConversionStatus::kNoRoom;
  return ConversionStatus::kOk;
}

}  // namespace

int Utf8ToWide(const BYTE* src, std::size_t length, bool terminated, DWORD flags, WCHAR* dst,
               int dstLength) {
  const bool strict = (flags & MB_ERR_INVALID_CHARS) != 0;
  return RunConversion(dst, dstLength, [&](auto& sink) {
    return DecodeUtf8(src, length, terminated, strict, sink);
  });
}

int WideToUtf8(const WCHAR* src, std::size_t length, bool terminated, DWORD flags, char* dst,
               int dstLength) {
  const bool strict = (flags & WC_ERR_INVALID_CHARS) != 0;
  return RunConversion(dst, dstLength, [&](auto& sink) {
    return EncodeUtf8(src, length, terminated, strict, sink);
  });
}

}  // namespace quornel::platform::detail

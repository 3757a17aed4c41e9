// WideCharToMultiByte: UTF-16 to code page bytes, over the generated tables.
#include "platform/posix/codepage_registry.h"
#include "platform/posix/conversion_output.h"
#include "platform/posix/unicode_composition.h"
#include "platform/posix/utf8_codec.h"

namespace quornel::platform {
namespace {

using codepages::CodePageTable;
using codepages::kUnmapped;
using detail::ConversionStatus;

constexpr DWORD kCompositeModes = WC_DISCARDNS | WC_SEPCHARS | WC_DEFAULTCHAR;
constexpr DWORD kTableFlags = WC_COMPOSITECHECK | kCompositeModes | WC_NO_BEST_FIT_CHARS;

std::size_t WideLength(const WCHAR* s) {
  std::size_t n = 0;
  while (s[n] != 0) ++n;
  return n;
}

// Whether `bytes` decode back to `u`: false for the best-fit entries of the
// table (é to 'e' in 932), which WC_NO_BEST_FIT_CHARS refuses.
bool RoundTrips(const CodePageTable& table, std::uint16_t bytes, WCHAR u) {
  if (bytes > 0xFF) {
    const auto lead = static_cast<BYTE>(bytes >> 8);
    return table.leadRow[lead] != 0 && table.DecodePair(lead, static_cast<BYTE>(bytes)) == u;
  }
  return table.leadRow[bytes] == 0 && table.DecodeSingle(static_cast<BYTE>(bytes)) == u;
}

struct EncodeOptions {
  DWORD flags;
  std::uint16_t defaultChar;  // bytes as in the table: high byte non-zero for two
};

template <typename Sink>
bool PutBytes(Sink& sink, std::uint16_t bytes) {
  if (bytes > 0xFF && !sink.Put(static_cast<char>(bytes >> 8))) return false;
  return sink.Put(static_cast<char>(bytes & 0xFF));
}

// Each unit goes through the table on its own, so the halves of a surrogate
// pair each give the default character. Under WC_COMPOSITECHECK a unit
// followed by a combining mark is first composed with it; when the code page
// holds the composite (best fit included) it is written for both, otherwise
// the pair goes the way the composite mode says (separately by default).
template <typename Sink>
ConversionStatus EncodeTable(const CodePageTable& table, const WCHAR* s, std::size_t n,
                             bool terminated, const EncodeOptions& options, Sink& sink,
                             bool& usedDefault) {
  const bool noBestFit = (options.flags & WC_NO_BEST_FIT_CHARS) != 0;
  const bool compositeCheck = (options.flags & WC_COMPOSITECHECK) != 0;
  const auto lookup = [&](WCHAR u) -> std::uint16_t {
    const std::uint16_t bytes = table.Encode(u);
    if (bytes == kUnmapped || (noBestFit && !RoundTrips(table, bytes, u))) return kUnmapped;
    return bytes;
  };
  std::size_t i = 0;
  while (i < n) {
    const WCHAR u = s[i];
    if (compositeCheck && i + 1 < n && detail::IsCombining(s[i + 1])) {
      const int composite = detail::ComposePair(u, s[i + 1]);
      const std::uint16_t bytes =
          composite >= 0 ? lookup(static_cast<WCHAR>(composite)) : kUnmapped;
      if (bytes != kUnmapped && bytes != table.defaultChar) {
        if (!PutBytes(sink, bytes)) return ConversionStatus::kNoRoom;
        i += 2;
        continue;
      }
      if (options.flags & WC_DEFAULTCHAR) {
        usedDefault = true;
        if (!PutBytes(sink, options.defaultChar)) return ConversionStatus::kNoRoom;
        i += 2;
        continue;
      }
      if (options.flags & WC_DISCARDNS) {
        std::uint16_t base = lookup(u);
        if (base == kUnmapped) {
          usedDefault = true;
          base = options.defaultChar;
        }
        if (!PutBytes(sink, base)) return ConversionStatus::kNoRoom;
        i += 2;
        continue;
      }
    }
    std::uint16_t bytes = lookup(u);
    if (bytes == kUnmapped) {
      usedDefault = true;
      bytes = options.defaultChar;
    }
    if (!PutBytes(sink, bytes)) return ConversionStatus::kNoRoom;
    ++i;
  }
  if (terminated && !sink.Put(0)) return ConversionStatus::kNoRoom;
  return ConversionStatus::kOk;
}

// The caller's default character: one byte, or two when the first is a lead
// byte of the code page.
std::uint16_t CallerDefault(const CodePageTable& table, LPCSTR defaultChar) {
  const auto first = static_cast<BYTE>(defaultChar[0]);
  if (first != 0 && table.leadRow[first] != 0 && defaultChar[1] != 0) {
    return static_cast<std::uint16_t>(first << 8 | static_cast<BYTE>(defaultChar[1]));
  }
  return first;
}

}  // namespace

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR src, int srcLength, LPSTR dst,
                        int dstLength, LPCSTR defaultChar, BOOL* usedDefaultChar) {
  if (!detail::CheckBuffers(src, srcLength, dst, dstLength)) return 0;
  const detail::ResolvedCodePage resolved = detail::ResolveCodePage(codePage);
  if (resolved.kind == detail::ResolvedCodePage::kNone) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const bool terminated = srcLength < 0;  // any negative length runs to the zero unit
  const std::size_t length = terminated ? WideLength(src) : static_cast<std::size_t>(srcLength);

  if (resolved.kind == detail::ResolvedCodePage::kUtf8) {
    // UTF-8 has no default character to report on, and knows one flag only.
    if (defaultChar != nullptr || usedDefaultChar != nullptr) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    if ((flags & ~WC_ERR_INVALID_CHARS) != 0) {
      SetLastError(ERROR_INVALID_FLAGS);
      return 0;
    }
    return detail::WideToUtf8(src, length, terminated, flags, dst, dstLength);
  }

  // The composite modes are alternatives; asking for two at once is an error.
  const DWORD modes = flags & kCompositeModes;
  if ((flags & ~kTableFlags) != 0 || (modes & (modes - 1)) != 0) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  const CodePageTable& table = *resolved.table;
  const EncodeOptions options{
      flags, defaultChar != nullptr ? CallerDefault(table, defaultChar) : table.defaultChar};
  bool usedDefault = false;
  const int result = detail::RunConversion(dst, dstLength, [&](auto& sink) {
    return EncodeTable(table, src, length, terminated, options, sink, usedDefault);
  });
  if (usedDefaultChar != nullptr) *usedDefaultChar = usedDefault ? TRUE_ : FALSE_;
  return result;
}

}  // namespace quornel::platform

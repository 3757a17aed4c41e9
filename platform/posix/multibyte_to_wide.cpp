// MultiByteToWideChar: code page bytes to UTF-16, over the generated tables.
#include <cstring>

#include "platform/posix/codepage_registry.h"
#include "platform/posix/conversion_output.h"
#include "platform/posix/unicode_composition.h"
#include "platform/posix/utf8_codec.h"

namespace quornel::platform {
namespace {

using codepages::CodePageTable;
using codepages::kUnmapped;
using detail::ConversionStatus;

// A lead byte takes the byte after it whatever that byte is (82 20 is one
// unassigned pair, not a default character and a space); an unassigned pair
// and a lead byte at the end give the code page's Unicode default character
// (U+30FB in 932, '?' elsewhere). Under length -1 the terminator is not
// swallowed by a lead byte before it: that lead byte counts as being at the
// end, so the output stays zero-terminated.
template <typename Sink>
ConversionStatus DecodeTable(const CodePageTable& table, const BYTE* s, std::size_t n,
                             bool terminated, DWORD flags, Sink& sink) {
  const bool strict = (flags & MB_ERR_INVALID_CHARS) != 0;
  const bool composite = (flags & MB_COMPOSITE) != 0;
  std::size_t i = 0;
  while (i < n) {
    const BYTE b = s[i];
    WCHAR u;
    if (table.leadRow[b] == 0) {
      u = table.DecodeSingle(b);
      ++i;
    } else if (i + 1 < n) {
      u = table.DecodePair(b, s[i + 1]);
      i += 2;
    } else {
      u = kUnmapped;
      ++i;
    }
    if (u == kUnmapped) {
      if (strict) return ConversionStatus::kInvalidChar;
      u = table.unicodeDefault;
    }
    if (composite) {
      WCHAR parts[detail::kMaxDecomposition];
      if (const int count = detail::CanonicalDecomposition(u, parts); count > 0) {
        for (int k = 0; k < count; ++k) {
          if (!sink.Put(parts[k])) return ConversionStatus::kNoRoom;
        }
        continue;
      }
    }
    if (!sink.Put(u)) return ConversionStatus::kNoRoom;
  }
  if (terminated && !sink.Put(0)) return ConversionStatus::kNoRoom;
  return ConversionStatus::kOk;
}

constexpr DWORD kTableFlags = MB_PRECOMPOSED | MB_COMPOSITE | MB_USEGLYPHCHARS | MB_ERR_INVALID_CHARS;

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR src, int srcLength, LPWSTR dst,
                        int dstLength) {
  if (!detail::CheckBuffers(src, srcLength, dst, dstLength)) return 0;
  const detail::ResolvedCodePage resolved = detail::ResolveCodePage(codePage);
  if (resolved.kind == detail::ResolvedCodePage::kNone) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  // UTF-8 knows only MB_ERR_INVALID_CHARS; precomposed and composite ask for
  // opposite things.
  const bool badFlags =
      resolved.kind == detail::ResolvedCodePage::kUtf8
          ? (flags & ~MB_ERR_INVALID_CHARS) != 0
          : (flags & ~kTableFlags) != 0 ||
                (flags & (MB_PRECOMPOSED | MB_COMPOSITE)) == (MB_PRECOMPOSED | MB_COMPOSITE);
  if (badFlags) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  // Any negative length is taken as -1: the text runs to its zero byte.
  const bool terminated = srcLength < 0;
  const std::size_t length = terminated ? std::strlen(src) : static_cast<std::size_t>(srcLength);
  const auto* bytes = reinterpret_cast<const BYTE*>(src);
  if (resolved.kind == detail::ResolvedCodePage::kUtf8) {
    return detail::Utf8ToWide(bytes, length, terminated, flags, dst, dstLength);
  }
  const CodePageTable& table = *resolved.table;
  return detail::RunConversion(dst, dstLength, [&](auto& sink) {
    return DecodeTable(table, bytes, length, terminated, flags, sink);
  });
}

}  // namespace quornel::platform

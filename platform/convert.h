// Whole-text conversions between a code page and UTF-16 in the usual two
// steps: ask for the size, then convert into room of that size. Flags 0, so
// best fit applies and the code page's default character stands for what
// cannot be mapped.
#pragma once

#include <string>
#include <string_view>

#include "platform/winapi.h"

namespace quornel::platform {

// Appends `bytes` decoded from `codePage` to `out`. False, with `out` as it
// was, when the platform refuses; empty input appends nothing.
inline bool AppendMultiByteAsWide(UINT codePage, std::string_view bytes, std::u16string& out) {
  if (bytes.empty()) return true;
  const int length = static_cast<int>(bytes.size());
  const int size = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
  if (size <= 0) return false;
  const std::size_t start = out.size();
  out.resize(start + static_cast<std::size_t>(size));
  const int written = MultiByteToWideChar(codePage, 0, bytes.data(), length, out.data() + start, size);
  out.resize(start + static_cast<std::size_t>(written > 0 ? written : 0));
  return written > 0;
}

// Appends `text` encoded in `codePage` to `out`, likewise.
inline bool AppendWideAsMultiByte(UINT codePage, std::u16string_view text, std::string& out) {
  if (text.empty()) return true;
  const int length = static_cast<int>(text.size());
  const int size =
      WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return false;
  const std::size_t start = out.size();
  out.resize(start + static_cast<std::size_t>(size));
  const int written = WideCharToMultiByte(codePage, 0, text.data(), length, out.data() + start,
                                          size, nullptr, nullptr);
  out.resize(start + static_cast<std::size_t>(written > 0 ? written : 0));
  return written > 0;
}

}  // namespace quornel::platform

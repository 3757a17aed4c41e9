// UTF-8 (code page 65001) for MultiByteToWideChar and WideCharToMultiByte.
// Arguments are checked by the callers; `terminated` means the caller passed
// length -1, so a zero terminator follows the `length` elements and is
// converted and counted too.
#pragma once

#include <cstddef>

#include "platform/winapi.h"

namespace quornel::platform::detail {

[[nodiscard]] int Utf8ToWide(const BYTE* src, std::size_t length, bool terminated, DWORD flags,
                             WCHAR* dst, int dstLength);
[[nodiscard]] int WideToUtf8(const WCHAR* src, std::size_t length, bool terminated, DWORD flags,
                             char* dst, int dstLength);

}  // namespace quornel::platform::detail

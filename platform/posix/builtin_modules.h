// What the built-in modules export, and the bookkeeping they share with the
// module registry. Internal to the POSIX backend: callers above the platform
// layer reach these entry points only through LoadLibraryW and GetProcAddress,
// as they would on Windows.
#pragma once

#include "platform/winapi.h"

namespace quornel::platform::posix {

// normaliz.dll
int NormalizeString(NORM_FORM form, LPCWSTR src, int srcLength, LPWSTR dst, int dstLength);
BOOL IsNormalizedString(NORM_FORM form, LPCWSTR str, int length);

// Counts a NormalizeString or FoldStringW call that asks for a size only.
void CountSizeQuery();

}  // namespace quornel::platform::posix

// The process-wide defaults that code-page-aware routines fall back on.
#pragma once

#include <cstdint>

#include "textunits/types.h"

// Set from the platform when the library is loaded; callers may assign them.
extern "C" {
TU_API extern std::uint32_t DefaultAnsiCodePage;
TU_API extern std::uint32_t DefaultOEMCodePage;
TU_API extern std::uint32_t DefaultLCID;
}

// TuGetCodePage(S): S's tag, the process default code page for an empty S,
// and DefaultAnsiCodePage for a tag of 0.
TU_API std::uint32_t TuGetCodePage(const ByteString& s);

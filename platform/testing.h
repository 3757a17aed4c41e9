// Seams that let tests put the platform into states a real machine can be in.
#pragma once

#include "platform/winapi.h"

namespace quornel::platform::testing {

// Makes LoadLibraryW("normaliz.dll") fail as on a system without the
// normalization library, until called again with true.
void SetNormalizationLibraryPresent(bool present);

// How often the normalization library was loaded and released since the
// process started (or since the last reset); a test checks each call pairs them.
struct ModuleCounters {
  long loads = 0;
  long releases = 0;
  long sizeQueries = 0;  // NormalizeString or FoldStringW calls with a zero-length destination
};
ModuleCounters GetModuleCounters();
void ResetModuleCounters();

// A window the host would own, so that GetWindowRect knows it. Returns its
// handle; the window is known until DestroyTestWindow.
HWND CreateTestWindow(const RECT& rect);
void DestroyTestWindow(HWND window);

}  // namespace quornel::platform::testing

// --- System settings -----------------------------------------------------------
#include <functional>
#include <string_view>

#include "platform/winapi.h"

namespace quornel::platform::testing {

struct SystemSettings {
  UINT acp;
  UINT oemcp;
  LCID lcid;
};

// The settings a Windows system of the POSIX locale `name` ("ja_JP.UTF-8", "C") reports.
SystemSettings SettingsForLocale(std::string_view name);

// The settings GetACP, GetOEMCP and GetUserDefaultLCID would read from an
// environment whose variables `getenv` looks up (null for an unset one):
// LC_ALL, LC_CTYPE, LANG, then the QUORNEL_ACP, QUORNEL_OEMCP, QUORNEL_LCID overrides.
SystemSettings SettingsForEnvironment(const std::function<const char*(const char*)>& getenv);

}  // namespace quornel::platform::testing

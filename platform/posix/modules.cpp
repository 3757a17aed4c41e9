// LoadLibraryW, GetProcAddress and FreeLibrary over the modules this backend
// carries built in. Nothing is opened from disk: a handle is the address of a
// static registry entry, so a load and its release cost a name comparison and
// two relaxed atomic increments. Callers load the normalization library on
// every call, which is why this has to stay that cheap.
#include <atomic>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>

#include "platform/posix/builtin_modules.h"
#include "platform/testing.h"
#include "platform/winapi.h"

namespace quornel::platform {

struct Export {
  const char* name;
  FARPROC proc;
};

struct ModuleInstance {
  const char16_t* fileName;  // lower case, with its extension
  const Export* exports;
  std::size_t exportCount;
};

namespace {

const Export kNormalizExports[] = {
    {"IsNormalizedString", reinterpret_cast<FARPROC>(&posix::IsNormalizedString)},
    {"NormalizeString", reinterpret_cast<FARPROC>(&posix::NormalizeString)},
};

ModuleInstance kModules[] = {
    {u"normaliz.dll", kNormalizExports, std::size(kNormalizExports)},
};

ModuleInstance& kNormaliz = kModules[0];

std::atomic<bool> normalizationPresent{true};
std::atomic<long> loads{0};
std::atomic<long> releases{0};
std::atomic<long> sizeQueries{0};

char16_t AsciiLower(char16_t c) { return (c >= u'A' && c <= u'Z') ? c + (u'a' - u'A') : c; }

// Windows compares module names without regard to case and adds ".dll" to a
// name without an extension ("normaliz" loads normaliz.dll); a trailing dot
// asks for a file without extension, which no built-in module is.
bool NameMatches(LPCWSTR requested, const char16_t* fileName) {
  std::size_t i = 0;
  bool sawDot = false;
  for (; requested[i] != 0; ++i) {
    if (AsciiLower(requested[i]) != fileName[i]) return false;
    sawDot = sawDot || requested[i] == u'.';
  }
  if (fileName[i] == 0) return true;
  return !sawDot && std::char_traits<char16_t>::compare(fileName + i, u".dll", 5) == 0;
}

ModuleInstance* FindLoaded(HMODULE module) {
  for (ModuleInstance& m : kModules) {
    if (&m == module) return &m;
  }
  return nullptr;
}

}  // namespace

HMODULE LoadLibraryW(LPCWSTR fileName) {
  if (fileName == nullptr || fileName[0] == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  for (ModuleInstance& m : kModules) {
    if (!NameMatches(fileName, m.fileName)) continue;
    if (&m == &kNormaliz) {
      if (!normalizationPresent.load(std::memory_order_relaxed)) break;
      loads.fetch_add(1, std::memory_order_relaxed);
    }
    return &m;
  }
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
  const ModuleInstance* m = FindLoaded(module);
  if (m == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  // A value below 0x10000 is an ordinal, not a pointer; none of the built-in
  // modules exports by ordinal.
  if (reinterpret_cast<std::uintptr_t>(procName) >= 0x10000) {
    for (std::size_t i = 0; i < m->exportCount; ++i) {
      if (std::strcmp(m->exports[i].name, procName) == 0) return m->exports[i].proc;
    }
  }
  SetLastError(ERROR_PROC_NOT_FOUND);
  return nullptr;
}

BOOL FreeLibrary(HMODULE module) {
  ModuleInstance* m = FindLoaded(module);
  if (m == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE_;
  }
  if (m == &kNormaliz) releases.fetch_add(1, std::memory_order_relaxed);
  return TRUE_;
}

namespace posix {
void CountSizeQuery() { sizeQueries.fetch_add(1, std::memory_order_relaxed); }
}  // namespace posix

namespace testing {

void SetNormalizationLibraryPresent(bool present) {
  normalizationPresent.store(present, std::memory_order_relaxed);
}

ModuleCounters GetModuleCounters() {
  return {loads.load(std::memory_order_relaxed), releases.load(std::memory_order_relaxed),
          sizeQueries.load(std::memory_order_relaxed)};
}

void ResetModuleCounters() {
  loads.store(0, std::memory_order_relaxed);
  releases.store(0, std::memory_order_relaxed);
  sizeQueries.store(0, std::memory_order_relaxed);
}

}  // namespace testing
}  // namespace quornel::platform

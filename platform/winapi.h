// The operating-system services the library and the plug-in call, under the
// names they have on Windows, in a namespace of our own. On Linux the posix/
// backend implements them on generated vendor tables and ICU; a Windows build
// maps the same names onto the real calls. Every call keeps the Windows
// contract (sizes, flags, last-error codes) so the code above reads the same
// on either backend.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quornel::platform {

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using BOOL = int;
using LCID = DWORD;
using WCHAR = char16_t;
using LPCWSTR = const WCHAR*;
using LPWSTR = WCHAR*;
using LPCSTR = const char*;
using LPSTR = char*;
using HWND = void*;
struct ModuleInstance;
using HMODULE = ModuleInstance*;
using FARPROC = void (*)();

inline constexpr BOOL TRUE_ = 1;  // TRUE and FALSE are macros in too many headers
inline constexpr BOOL FALSE_ = 0;

// Last-error codes the calls below set.
inline constexpr DWORD ERROR_SUCCESS = 0;
inline constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
inline constexpr DWORD ERROR_INVALID_HANDLE = 6;
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;
inline constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
inline constexpr DWORD ERROR_PROC_NOT_FOUND = 127;
inline constexpr DWORD ERROR_INVALID_FLAGS = 1004;
inline constexpr DWORD ERROR_NO_UNICODE_TRANSLATION = 1113;

// Code page identifiers with a meaning of their own.
inline constexpr UINT CP_ACP = 0;
inline constexpr UINT CP_OEMCP = 1;
inline constexpr UINT CP_UTF7 = 65000;
inline constexpr UINT CP_UTF8 = 65001;

// MultiByteToWideChar flags.
inline constexpr DWORD MB_PRECOMPOSED = 0x01;
inline constexpr DWORD MB_COMPOSITE = 0x02;
inline constexpr DWORD MB_USEGLYPHCHARS = 0x04;
inline constexpr DWORD MB_ERR_INVALID_CHARS = 0x08;

// WideCharToMultiByte flags.
inline constexpr DWORD WC_DISCARDNS = 0x10;
inline constexpr DWORD WC_SEPCHARS = 0x20;
inline constexpr DWORD WC_DEFAULTCHAR = 0x40;
inline constexpr DWORD WC_ERR_INVALID_CHARS = 0x80;
inline constexpr DWORD WC_COMPOSITECHECK = 0x200;
inline constexpr DWORD WC_NO_BEST_FIT_CHARS = 0x400;

// FoldStringW flags.
inline constexpr DWORD MAP_FOLDCZONE = 0x10;
inline constexpr DWORD MAP_PRECOMPOSED = 0x20;
inline constexpr DWORD MAP_COMPOSITE = 0x40;
inline constexpr DWORD MAP_FOLDDIGITS = 0x80;

inline constexpr UINT MAX_LEADBYTES = 12;
inline constexpr UINT MAX_DEFAULTCHAR = 2;

struct CPINFO {
  UINT MaxCharSize;
  BYTE DefaultChar[MAX_DEFAULTCHAR];
  BYTE LeadByte[MAX_LEADBYTES];
};

// Normalization forms of the normalization library.
enum NORM_FORM : int {
  NormalizationOther = 0,
  NormalizationC = 1,
  NormalizationD = 2,
  NormalizationKC = 5,
  NormalizationKD = 6,
};

// Entry points of the normalization library, as GetProcAddress hands them out.
using NormalizeStringProc = int (*)(NORM_FORM form, LPCWSTR src, int srcLength, LPWSTR dst,
                                    int dstLength);
using IsNormalizedStringProc = BOOL (*)(NORM_FORM form, LPCWSTR str, int length);

// --- Error services --------------------------------------------------------
DWORD GetLastError();
void SetLastError(DWORD code);

// --- System settings, read once per process ---------------------------------
UINT GetACP();
UINT GetOEMCP();
LCID GetUserDefaultLCID();

// --- Code page services -------------------------------------------------------
BOOL GetCPInfo(UINT codePage, CPINFO* info);
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR src, int srcLength, LPWSTR dst,
                        int dstLength);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR src, int srcLength, LPSTR dst,
                        int dstLength, LPCSTR defaultChar, BOOL* usedDefaultChar);
int FoldStringW(DWORD mapFlags, LPCWSTR src, int srcLength, LPWSTR dst, int dstLength);

// --- Modules --------------------------------------------------------------------
HMODULE LoadLibraryW(LPCWSTR fileName);
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);
BOOL FreeLibrary(HMODULE module);

// --- Windows and the help viewer -------------------------------------------------
struct RECT {
  long left;
  long top;
  long right;
  long bottom;
};

inline constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;

// Screen rectangle of a window. There are no native windows on this backend:
// only windows that a test registered (platform/testing.h) are known; any
// other handle fails with ERROR_INVALID_WINDOW_HANDLE.
BOOL GetWindowRect(HWND window, RECT* rect);

// HTML Help viewer commands.
inline constexpr UINT HH_HELP_CONTEXT = 0x0F;
inline constexpr UINT HH_INITIALIZE = 0x1C;
inline constexpr UINT HH_UNINITIALIZE = 0x1D;

// The help viewer. HH_INITIALIZE writes a cookie through the DWORD* in data;
// HH_UNINITIALIZE takes it back; HH_HELP_CONTEXT opens topic `data` of the
// help file and returns a non-null handle when it was shown (see
// platform/help_display.h for where it is shown on this backend).
HWND HtmlHelpW(HWND caller, LPCWSTR file, UINT command, std::uintptr_t data);

}  // namespace quornel::platform

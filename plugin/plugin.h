// The host protocol: the entry function filPlugin, the four records that
// cross the boundary, and the callbacks filPlugin hands out. All text is
// zero-terminated UTF-16.
//
// On a 32-bit target every pointer and handle is 4 bytes and the records have
// the layout hosts were written against. On a 64-bit target pointers and
// handles are 8 bytes with natural alignment, and the execute record's unread
// block stays 28 bytes so that Text lands at offset 32 on both.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define QUORNEL_CALLBACK __stdcall
#else
#define QUORNEL_CALLBACK
#endif

#if defined(_WIN32)
#define QUORNEL_EXPORT __declspec(dllexport)
#else
#define QUORNEL_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

struct TPluginInitInfo;
struct TFilterNameInfo;
struct TFilterExecInfo;

using TPluginInitProc = void(QUORNEL_CALLBACK*)(TPluginInitInfo* info);
using TPluginGetNameProc = void(QUORNEL_CALLBACK*)(TFilterNameInfo* info);
using TPluginExecuteProc = const char16_t*(QUORNEL_CALLBACK*)(TFilterExecInfo* info);
using TPluginFinishProc = void(QUORNEL_CALLBACK*)();

struct TPluginDescriptor {
  std::uint32_t FilterCount;
  TPluginInitProc InitProc;
  TPluginGetNameProc GetNameProc;
  void* Reserved;
  TPluginExecuteProc ExecuteProc;
  TPluginFinishProc FinishProc;
  char16_t* NameBuffer;     // filled by the host before filPlugin
  char16_t* VersionBuffer;  // filled by the host before filPlugin
};

struct TPluginInitInfo {
  void* HostWindow;
  const char16_t* FirstPath;
  const char16_t* SecondPath;
};

struct TFilterNameInfo {
  std::int32_t Index;
  char16_t* NameBuffer;
  char16_t* DescriptionBuffer;
};

struct TFilterExecInfo {
  std::int32_t Index;
  std::uint8_t Unread[28];  // the host's; never read
  const char16_t* Text;
};

// Fills the descriptor and the two host buffers; always returns 5002.
QUORNEL_EXPORT std::int32_t QUORNEL_CALLBACK filPlugin(TPluginDescriptor* descriptor);

}  // extern "C"

inline constexpr std::int32_t kPluginProtocolVersion = 5002;
inline constexpr std::uint32_t kFilterCount = 10;

#define QUORNEL_CHECK_OFFSET(type, field, at32, at64)                                   \
  static_assert(offsetof(type, field) == (sizeof(void*) == 4 ? (at32) : (at64)), \
                #type "::" #field " is not where hosts expect it")
QUORNEL_CHECK_OFFSET(TPluginDescriptor, FilterCount, 0, 0);
QUORNEL_CHECK_OFFSET(TPluginDescriptor, InitProc, 4, 8);
QUORNEL_CHECK_OFFSET(TPluginDescriptor, GetNameProc, 8, 16);
QUORNEL_CHECK_OFFSET(TPluginDescriptor, Reserved, 12, 24);
QUORNEL_CHECK_OFFSET(TPluginDescriptor, ExecuteProc, 16, 32);
QUORNEL_CHECK_OFFSET(TPluginDescriptor, FinishProc, 20, 40);
QUORNEL_CHECK_OFFSET(TPluginDescriptor, NameBuffer, 24, 48);
QUORNEL_CHECK_OFFSET(TPluginDescriptor, VersionBuffer, 28, 56);
QUORNEL_CHECK_OFFSET(TPluginInitInfo, HostWindow, 0, 0);
QUORNEL_CHECK_OFFSET(TPluginInitInfo, FirstPath, 4, 8);
QUORNEL_CHECK_OFFSET(TPluginInitInfo, SecondPath, 8, 16);
QUORNEL_CHECK_OFFSET(TFilterNameInfo, Index, 0, 0);
QUORNEL_CHECK_OFFSET(TFilterNameInfo, NameBuffer, 4, 8);
QUORNEL_CHECK_OFFSET(TFilterNameInfo, DescriptionBuffer, 8, 16);
QUORNEL_CHECK_OFFSET(TFilterExecInfo, Index, 0, 0);
QUORNEL_CHECK_OFFSET(TFilterExecInfo, Unread, 4, 4);
QUORNEL_CHECK_OFFSET(TFilterExecInfo, Text, 32, 32);
#undef QUORNEL_CHECK_OFFSET

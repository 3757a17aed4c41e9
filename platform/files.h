// File services the plug-in and the host need beyond the Windows calls:
// whole-file reads and atomic replacement. On POSIX a path is the UTF-8 form
// of the UTF-16 path the plug-in holds.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/winapi.h"

namespace quornel::platform {

inline constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;

// INVALID_FILE_ATTRIBUTES when nothing is at the path.
DWORD GetFileAttributesW(LPCWSTR path);

// The full path of the process's executable (module null), as Windows gives
// it: the number of units copied without the terminator, 0 on failure.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size);

// The directory separators of this system's paths.
#if defined(_WIN32)
inline constexpr std::u16string_view kPathSeparators = u"\\:/";
#else
inline constexpr std::u16string_view kPathSeparators = u"/";
#endif

std::string NativePath(std::u16string_view path);

// Reads a whole file; false with a reason in `error` when it cannot.
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error);

// Writes a file beside its final path and renames it over that path only on
// Commit, so an interrupted or failed write never leaves a truncated file
// where the old one was. A replaced file keeps its permission bits.
class AtomicFile {
 public:
  AtomicFile() = default;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  ~AtomicFile();  // discards the temporary file unless committed

  [[nodiscard]] bool Open(const std::string& path, std::string& error);
  [[nodiscard]] bool Write(const void* data, std::size_t size, std::string& error);
  [[nodiscard]] bool Commit(std::string& error);
  void Discard();

 private:
  std::string path_;
  std::string temporary_;
  int fd_ = -1;
};

// Open, one Write, Commit.
[[nodiscard]] bool ReplaceFileAtomically(const std::string& path, std::string_view bytes,
                                         std::string& error);

}  // namespace quornel::platform

#include "platform/files.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quornel::platform {
namespace {

std::string Reason(const std::string& what, const std::string& path) {
  return what + " " + path + ": " + std::strerror(errno);
}

}  // namespace

std::string NativePath(std::u16string_view path) {
  std::string out;
  out.reserve(path.size());
  for (std::size_t i = 0; i < path.size(); ++i) {
    char32_t c = path[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < path.size() && path[i + 1] >= 0xDC00 &&
        path[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (path[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

DWORD GetFileAttributesW(LPCWSTR path) {
  if (path == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_FILE_ATTRIBUTES;
  }
  struct stat info {};
  if (::stat(NativePath(path).c_str(), &info) != 0) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_FILE_ATTRIBUTES;
  }
  return S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
}

DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size) {
  if (module != nullptr || buffer == nullptr || size == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  char path[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
  }
  // The path is UTF-8 on this system; decode it leniently.
  std::u16string wide;
  for (ssize_t i = 0; i < length;) {
    const auto b = static_cast<unsigned char>(path[i]);
    const int extra = b < 0x80 ? 0 : b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    char32_t c = extra == 0 ? b : (b & (0x3F >> extra));
    for (int k = 1; k <= extra && i + k < length; ++k) c = (c << 6) | (path[i + k] & 0x3F);
    i += 1 + extra;
    if (c >= 0x10000) {
      c -= 0x10000;
      wide.push_back(static_cast<char16_t>(0xD800 | (c >> 10)));
      wide.push_back(static_cast<char16_t>(0xDC00 | (c & 0x3FF)));
    } else {
      wide.push_back(static_cast<char16_t>(c));
    }
  }
  // Like Windows: a path that does not fit is cut and still terminated.
  const std::size_t copied = wide.size() < size ? wide.size() : size - 1;
  wide.copy(buffer, copied);
  buffer[copied] = u'\0';
  SetLastError(copied < wide.size() ? ERROR_INSUFFICIENT_BUFFER : ERROR_SUCCESS);
  return static_cast<DWORD>(copied);
}

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = Reason("cannot open", path);
    return false;
  }
  bytes.clear();
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      error = Reason("cannot read", path);
      ::close(fd);
      return false;
    }
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return true;
}

AtomicFile::~AtomicFile() { Discard(); }

void AtomicFile::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

bool AtomicFile::Open(const std::string& path, std::string& error) {
  Discard();
  path_ = path;
  temporary_ = path + ".tmp-XXXXXX";
  fd_ = ::mkstemp(temporary_.data());
  if (fd_ < 0) {
    error = Reason("cannot create a temporary file beside", path);
    temporary_.clear();
    return false;
  }
  // Keep the permission bits of the file being replaced; a new file gets the
  // usual bits for the user's umask.
  struct stat info {};
  mode_t mode = 0666;
  if (::stat(path.c_str(), &info) == 0) {
    mode = info.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  }
  ::fchmod(fd_, mode);
  return true;
}

bool AtomicFile::Write(const void* data, std::size_t size, std::string& error) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::write(fd_, p, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = Reason("cannot write", path_);
      return false;
    }
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool AtomicFile::Commit(std::string& error) {
  if (fd_ < 0) {
    error = "cannot write " + path_ + ": not open";
    return false;
  }
  if (::fsync(fd_) != 0 || ::close(fd_) != 0) {
    fd_ = -1;
    error = Reason("cannot write", path_);
    Discard();
    return false;
  }
  fd_ = -1;
  if (::rename(temporary_.c_str(), path_.c_str()) != 0) {
    error = Reason("cannot replace", path_);
    Discard();
    return false;
  }
  temporary_.clear();
  return true;
}

bool ReplaceFileAtomically(const std::string& path, std::string_view bytes, std::string& error) {
  AtomicFile file;
  return file.Open(path, error) && file.Write(bytes.data(), bytes.size(), error) &&
         file.Commit(error);
}

}  // namespace quornel::platform

#include "platform/files.h"
#include "platform/unicode_text.h"

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

std::string NativePath(std::u16string_view path) { return Utf8Lenient(path); }

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
  const std::u16string wide = Utf16Lenient(std::string_view(path, static_cast<std::size_t>(length)));
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

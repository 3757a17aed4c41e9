#include "host/output.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace quornel::host {
namespace {

class StandardOutputStream : public Output {
 public:
  bool Write(std::string_view bytes, std::string& error) override {
    while (!bytes.empty()) {
      const ssize_t n = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
      if (n < 0) {
        if (errno == EINTR) continue;
        error = std::string("cannot write to standard output: ") + std::strerror(errno);
        return false;
      }
      bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
  }
  bool Commit(std::string&) override { return true; }
};

class AtomicFileOutput : public Output {
 public:
  bool Open(const std::string& path, std::string& error) { return file_.Open(path, error); }
  bool Write(std::string_view bytes, std::string& error) override {
    return file_.Write(bytes.data(), bytes.size(), error);
  }
  bool Commit(std::string& error) override { return file_.Commit(error); }

 private:
  platform::AtomicFile file_;
};

}  // namespace

std::unique_ptr<Output> StandardOutput() { return std::make_unique<StandardOutputStream>(); }

std::unique_ptr<Output> FileOutput(const std::string& path, std::string& error) {
  auto output = std::make_unique<AtomicFileOutput>();
  if (!output->Open(path, error)) return nullptr;
  return output;
}

}  // namespace quornel::host

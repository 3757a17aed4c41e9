#include "host/run.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "host/chunker.h"
#include "host/output.h"

namespace quornel::host {
namespace {

constexpr std::size_t kReadBytes = 1 << 20;

// Progress on standard error, at most a few times a second, for runs long
// enough to want it.
class Progress {
 public:
  Progress(bool enabled, std::uint64_t total) : enabled_(enabled), total_(total) {}
  ~Progress() { Done(); }

  void Advance(std::uint64_t bytes) {
    done_ += bytes;
    if (!enabled_) return;
    const auto now = std::chrono::steady_clock::now();
    if (now - start_ < std::chrono::seconds(1) || now - last_ < std::chrono::milliseconds(250)) {
      return;
    }
    last_ = now;
    shown_ = true;
    const double mib = static_cast<double>(done_) / (1 << 20);
    if (total_ > 0) {
      std::fprintf(stderr, "\rquornel: %3.0f%%  %.1f of %.1f MiB", 100.0 * done_ / total_, mib,
                   static_cast<double>(total_) / (1 << 20));
    } else {
      std::fprintf(stderr, "\rquornel: %.1f MiB", mib);
    }
    std::fflush(stderr);
  }
  void Done() {
    if (shown_) std::fputs("\r\033[K", stderr);
    shown_ = false;
  }

 private:
  bool enabled_;
  std::uint64_t total_;
  std::uint64_t done_ = 0;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point last_{};
  bool shown_ = false;
};

std::string DisplayName(const std::string& file) {
  return file == "-" ? "(standard input)" : file;
}

// One input through the filter into `output`. Messages name the input.
bool FilterOne(PluginHost& plugin, const RunOptions& options, const std::string& file,
               Output& output, Encoder& encoder, Progress& progress, std::string& error) {
  int fd = STDIN_FILENO;
  if (file != "-") {
    fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      error = file + ": " + std::strerror(errno);
      return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
      ::close(fd);
      error = file + ": is a directory";
      return false;
    }
  }
  struct Closer {
    int fd;
    ~Closer() {
      if (fd != STDIN_FILENO) ::close(fd);
    }
  } closer{fd};

  std::string encoded;
  std::string failure;
  Chunker chunker(options.pieceUnits, options.longLineUnits,
                  [&](std::u16string_view piece) {
                    // The protocol's text is zero-terminated; the piece holds no U+0000.
                    const std::u16string text(piece);
                    const char16_t* result = plugin.Execute(options.filter, text.c_str());
                    encoded.clear();
                    if (!encoder.Encode(result, encoded, failure)) return false;
                    return output.Write(encoded, failure);
                  });
  Decoder decoder(options.input, options.ansiCodePage);
  std::string bytes(kReadBytes, '\0');
  for (;;) {
    const ssize_t n = ::read(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      error = DisplayName(file) + ": " + std::strerror(errno);
      return false;
    }
    if (n == 0) break;
    if (!decoder.Feed(std::string_view(bytes.data(), static_cast<std::size_t>(n)),
                      chunker.Buffer(), failure)) {
      error = DisplayName(file) + ": " + failure;
      return false;
    }
    if (!chunker.Flush()) {
      error = DisplayName(file) + ": " + failure;
      return false;
    }
    progress.Advance(static_cast<std::uint64_t>(n));
  }
  if (!decoder.Finish(chunker.Buffer(), failure) || !chunker.Finish()) {
    error = DisplayName(file) + ": " + failure;
    return false;
  }
  return true;
}

std::uint64_t TotalSize(const std::vector<std::string>& files) {
  std::uint64_t total = 0;
  for (const std::string& file : files) {
    struct stat info {};
    if (file != "-" && ::stat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
      total += static_cast<std::uint64_t>(info.st_size);
    }
  }
  return total;
}

bool FinishOutput(Output& output, Encoder& encoder, std::string& error) {
  std::string tail;
  return encoder.Finish(tail, error) && output.Write(tail, error) && output.Commit(error);
}

void Report(std::ostream& err, PluginHost& plugin, const std::string& error) {
  const std::string messages = plugin.TakeMessages();
  if (!messages.empty()) err << messages;
  if (!error.empty()) err << "quornel: " << error << "\n";
}

}  // namespace

int Run(PluginHost& plugin, const RunOptions& options, std::ostream& err) {
  std::vector<std::string> files = options.files;
  if (files.empty()) files.push_back("-");
  Progress progress(options.progress, TotalSize(files));
  std::string error;

  if (options.inPlace) {
    // Each file is filtered into a temporary file beside it, which replaces
    // it only when the whole file went through.
    for (const std::string& file : files) {
      if (file == "-") {
        err << "quornel: --in-place needs files, not standard input\n";
        return 1;
      }
      auto output = FileOutput(file, error);
      Encoder encoder(options.output_encoding, options.ansiCodePage);
      if (!output || !FilterOne(plugin, options, file, *output, encoder, progress, error) ||
          !FinishOutput(*output, encoder, error)) {
        progress.Done();
        Report(err, plugin, error + (output ? "; " + file + " was left unchanged" : ""));
        return 1;
      }
    }
    progress.Done();
    Report(err, plugin, "");
    return 0;
  }

  std::unique_ptr<Output> output =
      options.output ? FileOutput(*options.output, error) : StandardOutput();
  if (!output) {
    Report(err, plugin, error);
    return 1;
  }
  Encoder encoder(options.output_encoding, options.ansiCodePage);
  for (const std::string& file : files) {
    if (!FilterOne(plugin, options, file, *output, encoder, progress, error)) {
      progress.Done();
      if (options.output) error += "; " + *options.output + " was not written";
      Report(err, plugin, error);
      return 1;
    }
  }
  progress.Done();
  if (!FinishOutput(*output, encoder, error)) {
    Report(err, plugin, error);
    return 1;
  }
  Report(err, plugin, "");
  return 0;
}

}  // namespace quornel::host

#include "host/commands.h"

#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <unistd.h>

#include "host/demo.h"
#include "host/display.h"
#include "host/plugin_host.h"
#include "host/run.h"
#include "platform/files.h"
#include "platform/unicode_text.h"
#include "platform/winapi.h"
#include "plugin/replacement_table.h"

namespace quornel::host {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUsage = R"(usage: quornel [--plugin PATH] [--codepage N] COMMAND ...

commands:
  list                       the filters, with index, name and description
  run FILTER [FILE...]       filter files (or standard input) to standard output
      -o, --output FILE      write to FILE instead (replaced only on success)
      -i, --in-place         replace each FILE with its filtered text
      --input-encoding E     utf-8 (default), utf-16, utf-16le, utf-16be, ansi
      --output-encoding E    utf-8 (default), utf-16 (with byte order mark),
                             utf-16le, utf-16be, ansi
      --table-dir DIR        where filter 9 keeps Quornel_SJIS.tbl
                             (default: $XDG_CONFIG_HOME/quornel)
      --no-progress          no progress on standard error
  table [--table-dir DIR]    the answers filter 9 remembers
  demo [FILE]                each filter's effect on the bundled sample (or FILE)
  --version                  version of quornel and of the plug-in
  --help                     this text

FILTER is an index 0-9 or a short name:
  0 cp932  1 cp932-reverse  2 jisx0208  3 jisx0208-reverse  4 jisx0213-to-0208
  5 jisx0208-to-0213  6 nfc  7 nfd  8 sjis-auto  9 sjis-replace

The ANSI code page is 932 (Shift_JIS) unless --codepage or QUORNEL_ACP says
otherwise. The plug-in is Quornel.so beside quornel, or QUORNEL_PLUGIN.
)";

struct Global {
  std::string plugin;
  std::optional<std::uint32_t> codePage;
};

std::string ExecutableDirectory() {
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string(".") : exe.parent_path().string();
}

std::string DefaultTableDirectory() {
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/') {
    return std::string(xdg) + "/quornel";
  }
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    return std::string(home) + "/.config/quornel";
  }
  return ".";
}

std::u16string Widen(const std::string& utf8) { return platform::Utf16Lenient(utf8); }

std::optional<int> ParseFilter(const std::string& text) {
  for (int i = 0; i < static_cast<int>(kFilterCount); ++i) {
    if (text == kShortNames[i] || text == std::to_string(i)) return i;
  }
  return std::nullopt;
}

std::optional<std::uint32_t> ParseNumber(const std::string& text) {
  std::uint32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// The plug-in reads the ANSI code page once, when it is loaded: it comes
// from the environment, so that is set first.
bool LoadPlugin(const Global& global, PluginHost& plugin, std::ostream& err) {
  if (global.codePage) {
    setenv("QUORNEL_ACP", std::to_string(*global.codePage).c_str(), 1);
  } else if (std::getenv("QUORNEL_ACP") == nullptr) {
    setenv("QUORNEL_ACP", "932", 1);  // these are filters for Japanese text
  }
  std::string error;
  if (!plugin.Load(global.plugin, error)) {
    err << "quornel: " << error << "\n";
    return false;
  }
  return true;
}

int List(const Global& global, std::ostream& out, std::ostream& err) {
  PluginHost plugin;
  if (!LoadPlugin(global, plugin, err)) return 1;
  const auto filters = plugin.Filters();
  for (std::size_t i = 0; i < filters.size(); ++i) {
    out << i << "  " << (i < kFilterCount ? kShortNames[i] : "") << "\n   "
        << Utf8ForDisplay(filters[i].name) << "\n   " << Utf8ForDisplay(filters[i].description)
        << "\n";
  }
  return 0;
}

int Version(const Global& global, std::ostream& out, std::ostream& err) {
  out << "quornel " << QUORNEL_VERSION << "\n";
  PluginHost plugin;
  if (!LoadPlugin(global, plugin, err)) return 1;
  out << "plug-in: " << Utf8ForDisplay(plugin.Name()) << " " << Utf8ForDisplay(plugin.Version())
      << " (" << plugin.FilterCount() << " filters)\n";
  if (const QuornelVersionInfo* info = plugin.VersionInfo()) {
    char language[32];
    std::snprintf(language, sizeof language, "0x%04X", info->language);
    out << "file version " << info->fileVersion[0] << "." << info->fileVersion[1] << "."
        << info->fileVersion[2] << "." << info->fileVersion[3] << ", product version "
        << info->productVersion << "\n"
        << info->fileDescription << "\n"
        << "language " << language << ", code page " << info->codePage << "\n";
  }
  return 0;
}

int Table(const std::vector<std::string>& args, std::size_t at, std::ostream& out,
          std::ostream& err) {
  std::string directory = DefaultTableDirectory();
  for (; at < args.size(); ++at) {
    if (args[at] == "--table-dir" && at + 1 < args.size()) {
      directory = args[++at];
    } else {
      err << "quornel: table: unexpected argument " << args[at] << "\n";
      return 2;
    }
  }
  const std::string path = directory + "/" + platform::NativePath(plugin::kTableFileName);
  std::string bytes;
  std::string error;
  if (!fs::exists(path)) {
    out << path << ": no answers remembered yet\n";
    return 0;
  }
  if (!platform::ReadWholeFile(path, bytes, error)) {
    err << "quornel: " << error << "\n";
    return 1;
  }
  const auto entries = plugin::DecodeTableFile(bytes, platform::GetACP());
  out << path << ": " << entries.size() << " entries, most recently used first\n";
  for (const std::u16string& entry : entries) {
    if (entry.empty()) {
      out << "  (empty line)\n";
      continue;
    }
    const std::u16string_view key(entry.data(), 1);
    const std::u16string_view replacement = std::u16string_view(entry).substr(1);
    out << "  " << CodePoints(key) << " " << Utf8ForDisplay(key) << "  ->  ";
    if (replacement.empty()) {
      out << "(removed)\n";
    } else if (replacement == key) {
      out << "(kept as it is)\n";
    } else {
      out << Visible(replacement) << "  (" << CodePoints(replacement) << ")\n";
    }
  }
  return 0;
}

int RunCommand(const Global& global, const std::vector<std::string>& args, std::size_t at,
               std::ostream& err) {
  RunOptions options;
  std::optional<int> filter;
  std::string tableDirectory = DefaultTableDirectory();
  bool progress = true;
  for (; at < args.size(); ++at) {
    const std::string& a = args[at];
    auto value = [&](const char* option) -> const std::string* {
      if (at + 1 >= args.size()) {
        err << "quornel: " << option << " needs a value\n";
        return nullptr;
      }
      return &args[++at];
    };
    if (a == "-o" || a == "--output") {
      const std::string* v = value(a.c_str());
      if (v == nullptr) return 2;
      options.output = *v;
    } else if (a == "-i" || a == "--in-place") {
      options.inPlace = true;
    } else if (a == "--input-encoding" || a == "--output-encoding") {
      const std::string* v = value(a.c_str());
      if (v == nullptr) return 2;
      const auto encoding = ParseEncoding(*v);
      if (!encoding) {
        err << "quornel: unknown encoding " << *v << " (utf-8, utf-16, utf-16le, utf-16be, ansi)\n";
        return 2;
      }
      (a == "--input-encoding" ? options.input : options.output_encoding) = *encoding;
    } else if (a == "--table-dir") {
      const std::string* v = value(a.c_str());
      if (v == nullptr) return 2;
      tableDirectory = *v;
    } else if (a == "--no-progress") {
      progress = false;
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      err << "quornel: run: unknown option " << a << "\n";
      return 2;
    } else if (!filter) {
      filter = ParseFilter(a);
      if (!filter) {
        err << "quornel: unknown filter " << a
            << " (an index 0-9 or a short name; quornel list shows them)\n";
        return 2;
      }
    } else {
      options.files.push_back(a);
    }
  }
  if (!filter) {
    err << "quornel: run: which filter? (quornel list shows them)\n";
    return 2;
  }
  if (options.inPlace && options.output) {
    err << "quornel: --in-place and --output exclude each other\n";
    return 2;
  }
  for (const std::string& file : options.files) {
    if (file != "-" && !fs::exists(file)) {
      err << "quornel: " << file << ": no such file\n";
      return 1;
    }
  }
  options.filter = *filter;
  // The dialog of filter 9 owns the terminal while it asks.
  options.progress = progress && *filter != 9 && isatty(STDERR_FILENO);
  if (const char* piece = std::getenv("QUORNEL_PIECE_UNITS")) {  // for tests of the cutting
    if (const auto n = ParseNumber(piece); n && *n > 0) options.pieceUnits = *n;
  }

  PluginHost plugin;
  if (!LoadPlugin(global, plugin, err)) return 1;
  options.ansiCodePage = platform::GetACP();
  std::error_code ec;
  if (*filter == 9) fs::create_directories(tableDirectory, ec);
  plugin.Init(Widen(tableDirectory + "/"), Widen(global.plugin));
  if (const std::string messages = plugin.TakeMessages(); !messages.empty()) err << messages;
  const int status = Run(plugin, options, err);
  plugin.Finish();
  if (const std::string messages = plugin.TakeMessages(); !messages.empty()) err << messages;
  return status;
}

}  // namespace

int Main(const std::vector<std::string>& given, std::ostream& out, std::ostream& err) {
  Global global;
  if (const char* path = std::getenv("QUORNEL_PLUGIN"); path != nullptr && *path != '\0') {
    global.plugin = path;
  } else {
    global.plugin = ExecutableDirectory() + "/Quornel.so";
  }
  // --plugin and --codepage may stand anywhere on the line.
  std::vector<std::string> args;
  for (std::size_t i = 0; i < given.size(); ++i) {
    const bool takesValue = given[i] == "--plugin" || given[i] == "--codepage";
    if (!takesValue) {
      args.push_back(given[i]);
      continue;
    }
    if (i + 1 >= given.size()) {
      err << "quornel: " << given[i] << " needs a value\n";
      return 2;
    }
    const std::string& value = given[++i];
    if (given[i - 1] == "--plugin") {
      global.plugin = value;
    } else if (!(global.codePage = ParseNumber(value))) {
      err << "quornel: --codepage needs a code page number such as 932\n";
      return 2;
    }
  }
  std::size_t at = 0;
  if (at >= args.size() || args[at] == "--help" || args[at] == "-h" || args[at] == "help") {
    (at >= args.size() ? err : out) << kUsage;
    return at >= args.size() ? 2 : 0;
  }
  const std::string& command = args[at++];
  if (command == "--version" || command == "version") return Version(global, out, err);
  if (command == "list") return List(global, out, err);
  if (command == "run") return RunCommand(global, args, at, err);
  if (command == "table") return Table(args, at, out, err);
  if (command == "demo") {
    PluginHost plugin;
    if (!LoadPlugin(global, plugin, err)) return 1;
    const std::string sample =
        at < args.size() ? args[at] : ExecutableDirectory() + "/samples/sample.txt";
    return Demo(plugin, sample, out, err);
  }
  err << "quornel: unknown command " << command << "\n" << kUsage;
  return 2;
}

}  // namespace quornel::host

// `quornel run`: files or standard input through one filter, a piece at a
// time, to standard output, a file, or back over each input.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "host/plugin_host.h"
#include "host/text_codec.h"

namespace quornel::host {

struct RunOptions {
  int filter = 0;
  std::vector<std::string> files;     // none: standard input; "-" is standard input too
  std::optional<std::string> output;  // -o FILE
  bool inPlace = false;
  Encoding input = Encoding::Utf8;
  Encoding output_encoding = Encoding::Utf8;
  std::uint32_t ansiCodePage = 932;
  std::size_t pieceUnits = 1 << 20;   // what goes to the plug-in in one call
  std::size_t longLineUnits = 1 << 24;
  bool progress = false;              // show progress on standard error
};

// Exit status: 0 on success, 1 when an input, the plug-in or an output
// failed (with a message on `err`).
int Run(PluginHost& plugin, const RunOptions& options, std::ostream& err);

}  // namespace quornel::host

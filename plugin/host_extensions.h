// What this plug-in offers a host beyond the protocol: its problems as text,
// and its version resource. A host finds them with dlsym and does without
// them when they are missing.
#pragma once

#include <cstdint>
#include <string>

#include "plugin/plugin.h"

extern "C" {

struct QuornelVersionInfo {
  std::uint16_t fileVersion[4];     // 5.0.0.2
  const char* productVersion;       // UTF-8
  const char* fileDescription;      // UTF-8
  std::uint16_t language;           // 0x0411
  std::uint16_t codePage;           // 932
};

QUORNEL_EXPORT const QuornelVersionInfo* QuornelGetVersionInfo();

// Messages about the replacement table and the dialog (one per line, UTF-8)
// gathered since the last call; the host shows them on standard error.
QUORNEL_EXPORT const char* QuornelTakeMessages();

}  // extern "C"

namespace quornel::plugin {
// Adds one line for the host to show.
void ReportToHost(const std::string& message);
}  // namespace quornel::plugin

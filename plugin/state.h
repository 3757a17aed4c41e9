// The plug-in's global state: one instance per loaded library, used from the
// host's thread only.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "plugin/replacement_table.h"

namespace quornel::plugin {

struct PluginState {
  std::u16string FilterResult;
  std::u16string FirstHostPath;
  std::u16string SecondHostPath;
  std::uint32_t HelpCookie = 0;

  std::optional<ReplacementTable> Table;  // exists from PluginInit to PluginFinish
  std::u16string TablePath;
  // The file exists but could not be read: saving would write a table without
  // the answers it holds, so it is left alone.
  bool TableUnreadable = false;
};

PluginState& State();

// The table steps of initialization and finish.
void CreateReplacementTable();
void LoadReplacementTable();
void SaveReplacementTable();
void FreeReplacementTable();

}  // namespace quornel::plugin

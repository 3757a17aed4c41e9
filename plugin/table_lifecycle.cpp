// The replacement table from initialization to finish: loaded from the file
// beside the host's first path, saved only when it changed.
#include "platform/files.h"
#include "plugin/ansi_round_trip.h"
#include "plugin/host_extensions.h"
#include "plugin/state.h"

namespace quornel::plugin {

namespace pf = quornel::platform;

void CreateReplacementTable() {
  PluginState& state = State();
  state.Table.emplace();
  state.TableUnreadable = false;
}

void LoadReplacementTable() {
  PluginState& state = State();
  state.TablePath = TablePathFor(state.FirstHostPath);
  const pf::DWORD attributes = pf::GetFileAttributesW(state.TablePath.c_str());
  if (attributes == pf::INVALID_FILE_ATTRIBUTES ||
      (attributes & pf::FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return;  // no table yet: start empty
  }
  std::string bytes;
  std::string error;
  if (!pf::ReadWholeFile(pf::NativePath(state.TablePath), bytes, error)) {
    state.TableUnreadable = true;
    ReportToHost(error + "; the table is left as it is and new answers will not be saved");
    return;
  }
  state.Table->Assign(DecodeTableFile(bytes, AnsiCodePage()));
}

void SaveReplacementTable() {
  PluginState& state = State();
  if (!state.Table || !state.Table->Changed()) return;
  if (state.TableUnreadable) {
    ReportToHost("new answers were not saved: " + pf::NativePath(state.TablePath) +
                 " could not be read, and saving would lose what it holds");
    return;
  }
  std::string error;
  if (!pf::ReplaceFileAtomically(pf::NativePath(state.TablePath),
                                 EncodeTableFile(state.Table->Entries()), error)) {
    ReportToHost(error + "; the table file was left as it was and this run's answers are lost");
  }
}

void FreeReplacementTable() { State().Table.reset(); }

}  // namespace quornel::plugin

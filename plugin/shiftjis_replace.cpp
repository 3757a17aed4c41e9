// Filter 9: every unit the ANSI code page cannot show as itself is replaced
// by a remembered answer, or by what the user says in the dialog.
#include "plugin/filters.h"

namespace quornel::plugin {

const char16_t* FilterShiftJISReplace(const TFilterExecInfo* info, std::u16string& result) {
  result.assign(InputText(info));
  return ResultPointer(result);
}

}  // namespace quornel::plugin

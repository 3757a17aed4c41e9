// Filter 8: each unit becomes what it is after a trip to the ANSI code page
// and back, unless that trip would leave a plain "?", in which case it stays.
#include "plugin/ansi_round_trip.h"
#include "plugin/filters.h"

namespace quornel::plugin {

const char16_t* FilterShiftJISAuto(const TFilterExecInfo* info, std::u16string& result) {
  result.clear();
  UnitRoundTrips::ForAnsiCodePage().AppendAuto(InputText(info), result);
  return ResultPointer(result);
}

}  // namespace quornel::plugin

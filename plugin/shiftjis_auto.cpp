// Filter 8: each unit becomes what it is after a trip to the ANSI code page
// and back, unless that trip would leave a plain "?", in which case it stays.
#include "plugin/ansi_round_trip.h"
#include "plugin/filters.h"

namespace quornel::plugin {

const char16_t* FilterShiftJISAuto(const TFilterExecInfo* info, std::u16string& result) {
  std::u16string spare;
  const std::u16string_view text = InputApartFrom(info, result, spare);
  result.clear();
  UnitRoundTrips::ForAnsiCodePage().AppendAuto(text, result);
  return ResultPointer(result);
}

}  // namespace quornel::plugin

// Filters 0-5: the mapping fixes, one routine each.
#include "plugin/filters.h"
#include "textunits/mapping_fix.h"

namespace quornel::plugin {
namespace {

// The host's text is read where it lies; the result is the routine's.
template <void (*Routine)(std::u16string_view, WideString&)>
const char16_t* RunMappingFix(const TFilterExecInfo* info, std::u16string& result) {
  std::u16string spare;
  Routine(InputApartFrom(info, result, spare), result);
  return ResultPointer(result);
}

}  // namespace

const char16_t* FilterUnicodeToCP932(const TFilterExecInfo* info, std::u16string& result) {
  return RunMappingFix<textunits::MappingFixUnicodeToCP932>(info, result);
}
const char16_t* FilterCP932ToUnicode(const TFilterExecInfo* info, std::u16string& result) {
  return RunMappingFix<textunits::MappingFixCP932ToUnicode>(info, result);
}
const char16_t* FilterJISX0208ToUnicode(const TFilterExecInfo* info, std::u16string& result) {
  return RunMappingFix<textunits::MappingFixJISX0208ToUnicode>(info, result);
}
const char16_t* FilterUnicodeToJISX0208(const TFilterExecInfo* info, std::u16string& result) {
  return RunMappingFix<textunits::MappingFixUnicodeToJISX0208>(info, result);
}
const char16_t* FilterJISX0213ToJISX0208(const TFilterExecInfo* info, std::u16string& result) {
  return RunMappingFix<textunits::MappingFixJISX0213ToJISX0208>(info, result);
}
const char16_t* FilterJISX0208ToJISX0213(const TFilterExecInfo* info, std::u16string& result) {
  return RunMappingFix<textunits::MappingFixJISX0208ToJISX0213>(info, result);
}

}  // namespace quornel::plugin

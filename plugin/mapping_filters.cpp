// Filters 0-5: the mapping fixes, one routine each.
#include "plugin/filters.h"
#include "textunits/mapping_fix.h"

namespace quornel::plugin {
namespace {

template <UnicodeString (*Routine)(const UnicodeString&)>
const char16_t* RunMappingFix(const TFilterExecInfo* info, std::u16string& result) {
  result = Routine(UnicodeString(InputText(info)));
  return ResultPointer(result);
}

}  // namespace

const char16_t* FilterUnicodeToCP932(const TFilterExecInfo* info, std::u16string& result) {
  return RunMappingFix<TuMappingFix_UnicodeToCP932>(info, result);
}
const char16_t* FilterCP932ToUnicode(const TFilterExecInfo* info, std::u16string& result) {
  return RunMappingFix<TuMappingFix_CP932ToUnicode>(info, result);
}
const char16_t* FilterJISX0208ToUnicode(const TFilterExecInfo* info, std::u16string& result) {
  return RunMappingFix<TuMappingFix_JISX0208ToUnicode>(info, result);
}
const char16_t* FilterUnicodeToJISX0208(const TFilterExecInfo* info, std::u16string& result) {
  return RunMappingFix<TuMappingFix_UnicodeToJISX0208>(info, result);
}
const char16_t* FilterJISX0213ToJISX0208(const TFilterExecInfo* info, std::u16string& result) {
  return RunMappingFix<TuMappingFix_JISX0213ToJISX0208>(info, result);
}
const char16_t* FilterJISX0208ToJISX0213(const TFilterExecInfo* info, std::u16string& result) {
  return RunMappingFix<TuMappingFix_JISX0208ToJISX0213>(info, result);
}

}  // namespace quornel::plugin

// Filters 6 and 7: NFC and NFD. A failed normalization hands the input back
// unchanged; the host cannot tell.
#include "plugin/filters.h"
#include "textunits/normalization.h"

namespace quornel::plugin {
namespace {

const char16_t* RunNormalize(const TFilterExecInfo* info, std::u16string& result,
                             TNORM_FORM form) {
  // Normalized straight into the result, whose room is reused from run to run.
  std::u16string spare;
  const std::u16string_view text = InputApartFrom(info, result, spare);
  // The host's text is zero-terminated, so it holds no U+0000.
  if (!textunits::Normalize(text, result, form, true)) result.assign(text);
  return ResultPointer(result);
}

}  // namespace

const char16_t* FilterNFC(const TFilterExecInfo* info, std::u16string& result) {
  return RunNormalize(info, result, NormalizationC);
}
const char16_t* FilterNFD(const TFilterExecInfo* info, std::u16string& result) {
  return RunNormalize(info, result, NormalizationD);
}

}  // namespace quornel::plugin

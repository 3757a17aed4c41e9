// GetCPInfo over the generated tables; UTF-8 has fixed answers.
#include <cstring>

#include "platform/posix/codepage_registry.h"

namespace quornel::platform {

BOOL GetCPInfo(UINT codePage, CPINFO* info) {
  const detail::ResolvedCodePage resolved = detail::ResolveCodePage(codePage);
  if (info == nullptr || resolved.kind == detail::ResolvedCodePage::kNone) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE_;
  }
  std::memset(info, 0, sizeof *info);
  if (resolved.kind == detail::ResolvedCodePage::kUtf8) {
    info->MaxCharSize = 4;
    info->DefaultChar[0] = 0x3F;
  } else {
    const codepages::CodePageTable& table = *resolved.table;
    info->MaxCharSize = table.maxCharSize;
    if (table.defaultChar > 0xFF) {
      info->DefaultChar[0] = static_cast<BYTE>(table.defaultChar >> 8);
      info->DefaultChar[1] = static_cast<BYTE>(table.defaultChar & 0xFF);
    } else {
      info->DefaultChar[0] = static_cast<BYTE>(table.defaultChar);
    }
    static_assert(sizeof table.leadRanges == MAX_LEADBYTES);
    std::memcpy(info->LeadByte, table.leadRanges, MAX_LEADBYTES);
  }
  SetLastError(ERROR_SUCCESS);
  return TRUE_;
}

}  // namespace quornel::platform

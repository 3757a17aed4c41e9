#include "platform/posix/codepage_registry.h"

namespace quornel::platform::detail {

ResolvedCodePage ResolveCodePage(UINT codePage) {
  if (codePage == CP_ACP) codePage = GetACP();
  else if (codePage == CP_OEMCP) codePage = GetOEMCP();
  if (codePage == CP_UTF8) return {ResolvedCodePage::kUtf8, nullptr};
  const codepages::CodePageTable* table = codepages::FindCodePageTable(codePage);
  if (table == nullptr) return {};
  return {ResolvedCodePage::kTable, table};
}

}  // namespace quornel::platform::detail

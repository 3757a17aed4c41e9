// Which converter serves a code page number: a generated table, UTF-8, or none.
#pragma once

#include "platform/winapi.h"
#include "tables/codepages/codepage_table.h"

namespace quornel::platform::detail {

struct ResolvedCodePage {
  enum Kind { kNone, kTable, kUtf8 } kind = kNone;
  const codepages::CodePageTable* table = nullptr;
};

// CP_ACP and CP_OEMCP stand for the process's ANSI and OEM code pages.
[[nodiscard]] ResolvedCodePage ResolveCodePage(UINT codePage);

}  // namespace quornel::platform::detail

// Remappings between look-alike code points of the Unicode, CP932, JIS X 0208
// and JIS X 0213 views of Japanese text.
#pragma once

#include <string_view>

#include "textunits/types.h"

TU_API WideString TuMappingFix_CP932ToUnicode(const WideString& text);
TU_API WideString TuMappingFix_JISX0208ToUnicode(const WideString& text);
TU_API WideString TuMappingFix_UnicodeToCP932(const WideString& text);
TU_API WideString TuMappingFix_UnicodeToJISX0208(const WideString& text);
TU_API WideString TuMappingFix_JISX0213ToJISX0208(const WideString& text);
TU_API WideString TuMappingFix_JISX0208ToJISX0213(const WideString& text);

namespace textunits {
// The same routines on a view of the text, writing into `out` (whose room is
// reused), for callers that hold the text elsewhere and run many times: the
// plug-in reads the host's buffer and keeps its result string.
void MappingFixCP932ToUnicode(std::u16string_view text, WideString& out);
void MappingFixJISX0208ToUnicode(std::u16string_view text, WideString& out);
void MappingFixUnicodeToCP932(std::u16string_view text, WideString& out);
void MappingFixUnicodeToJISX0208(std::u16string_view text, WideString& out);
void MappingFixJISX0213ToJISX0208(std::u16string_view text, WideString& out);
void MappingFixJISX0208ToJISX0213(std::u16string_view text, WideString& out);
}  // namespace textunits

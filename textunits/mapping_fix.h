// Remappings between look-alike code points of the Unicode, CP932, JIS X 0208
// and JIS X 0213 views of Japanese text.
#pragma once

#include "textunits/types.h"

TU_API WideString TuMappingFix_CP932ToUnicode(const WideString& text);
TU_API WideString TuMappingFix_JISX0208ToUnicode(const WideString& text);
TU_API WideString TuMappingFix_UnicodeToCP932(const WideString& text);
TU_API WideString TuMappingFix_UnicodeToJISX0208(const WideString& text);
TU_API WideString TuMappingFix_JISX0213ToJISX0208(const WideString& text);
TU_API WideString TuMappingFix_JISX0208ToJISX0213(const WideString& text);

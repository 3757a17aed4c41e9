// The filter table: what the host sees of the ten filters and which function
// each index runs. Every filter leaves its output in the plug-in's result
// string and returns a pointer to it, or to a constant empty string.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "plugin/plugin.h"

namespace quornel::plugin {

using TFilterFunc = const char16_t* (*)(const TFilterExecInfo* info, std::u16string& result);

extern const char16_t* const FilterNames[kFilterCount];
extern const char16_t* const FilterDescriptions[kFilterCount];
extern const TFilterFunc FilterFunctions[kFilterCount];

// The result convention common to all ten filters; never null.
const char16_t* ResultPointer(const std::u16string& result);

// The execute record's text; a null pointer is the empty text.
std::u16string_view InputText(const TFilterExecInfo* info);

// The input, copied into `spare` when it lies inside `result`: a host may
// hand the last result straight back as the next text, and every filter
// writes its result while it reads the input.
std::u16string_view InputApartFrom(const TFilterExecInfo* info, const std::u16string& result,
                                   std::u16string& spare);

const char16_t* FilterUnicodeToCP932(const TFilterExecInfo* info, std::u16string& result);
const char16_t* FilterCP932ToUnicode(const TFilterExecInfo* info, std::u16string& result);
const char16_t* FilterJISX0208ToUnicode(const TFilterExecInfo* info, std::u16string& result);
const char16_t* FilterUnicodeToJISX0208(const TFilterExecInfo* info, std::u16string& result);
const char16_t* FilterJISX0213ToJISX0208(const TFilterExecInfo* info, std::u16string& result);
const char16_t* FilterJISX0208ToJISX0213(const TFilterExecInfo* info, std::u16string& result);
const char16_t* FilterNFC(const TFilterExecInfo* info, std::u16string& result);
const char16_t* FilterNFD(const TFilterExecInfo* info, std::u16string& result);
const char16_t* FilterShiftJISAuto(const TFilterExecInfo* info, std::u16string& result);
const char16_t* FilterShiftJISReplace(const TFilterExecInfo* info, std::u16string& result);

}  // namespace quornel::plugin

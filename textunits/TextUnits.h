// TextUnits: code-page-aware strings, UTF conversions, mapping fixes and
// normalization. The chief header; include this one.
#pragma once

#include "textunits/defaults.h"
#include "textunits/mapping_fix.h"
#include "textunits/normalization.h"
#include "textunits/types.h"
#include "textunits/utf16.h"

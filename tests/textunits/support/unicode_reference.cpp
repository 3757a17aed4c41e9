#include "textunits/support/unicode_reference.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace reference {
namespace {

bool IsLead(std::uint32_t u) { return (u >> 8) >= 0xD8 && (u >> 8) <= 0xDB; }
bool IsTrail(std::uint32_t u) { return (u >> 8) >= 0xDC && (u >> 8) <= 0xDF; }

using UnitTable = std::vector<std::pair<char16_t, char16_t>>;
using CodePointTable = std::vector<std::pair<std::uint32_t, std::uint32_t>>;

// Copy, then overwrite each unit found among the sources by its target.
WideString MapUnits(const WideString& text, const UnitTable& table) {
  WideString result = text;
  for (char16_t& unit : result) {
    for (const auto& [from, to] : table) {
      if (unit == from) {
        unit = to;
        break;
      }
    }
  }
  return result;
}

// To code points, replace every element but the terminator, and back.
WideString MapCodePoints(const WideString& text, const CodePointTable& table) {
  UCS4String codePoints = UTF16ToUTF32(text);
  if (codePoints.size() >= 2) {
    for (std::size_t i = 0; i + 1 < codePoints.size(); ++i) {
      for (const auto& [from, to] : table) {
        if (codePoints[i] == from) {
          codePoints[i] = to;
          break;
        }
      }
    }
  }
  return UTF32ToUTF16(codePoints);
}

const CodePointTable kJISX0213ToJISX0208 = {
    {0x525D, 0x5265}, {0x5861, 0x586B}, {0x9830, 0x982C}, {0x20B9F, 0x53F1}};
const CodePointTable kJISX0208ToJISX0213 = {
    {0x5265, 0x525D}, {0x53F1, 0x20B9F}, {0x586B, 0x5861}, {0x982C, 0x9830}};

}  // namespace

UCS4String UTF16ToUTF32(const WideString& text) {
  const std::size_t n = text.size();
  if (n == 0) return {};
  std::size_t count = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (IsLead(text[i])) {
      if (i + 1 < n && IsTrail(text[i + 1])) ++count;
    } else if (!IsTrail(text[i])) {
      ++count;
    }
  }
  UCS4String result(count + 1);
  std::size_t k = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (IsLead(text[i])) {
      if (i + 1 < n && IsTrail(text[i + 1])) {
        result[k++] = ((text[i] & 0x3FFu) << 10) + (text[i + 1] & 0x3FFu) + 0x10000;
      }
    } else if (!IsTrail(text[i])) {
      result[k++] = text[i];
    }
  }
  result[k] = 0;
  return result;
}

// Values above U+10FFFF become the single unit U+FFFD.
WideString UTF32ToUTF16(const UCS4String& codePoints) {
  if (codePoints.empty() || codePoints[0] == 0) return {};
  std::size_t m = codePoints.size();
  if (codePoints[m - 1] == 0) --m;
  std::size_t count = 0;
  for (std::size_t i = 0; i < m; ++i)
    count += (codePoints[i] >= 0x10000 && codePoints[i] <= 0x10FFFF) ? 2 : 1;
  WideString result(count, u'\0');
  std::size_t k = 0;
  for (std::size_t i = 0; i < m; ++i) {
    const std::uint32_t v = codePoints[i];
    if (v < 0x10000) {
      result[k++] = static_cast<char16_t>(v);
    } else if (v <= 0x10FFFF) {
      result[k++] = static_cast<char16_t>(0xD800 | ((v - 0x10000) >> 10));
      result[k++] = static_cast<char16_t>(0xDC00 | ((v - 0x10000) & 0x3FF));
    } else {
      result[k++] = 0xFFFD;
    }
  }
  return result;
}

WideString CodePointToUTF16(std::uint32_t codePoint) { return UTF32ToUTF16({codePoint, 0}); }

WideString MappingFix_CP932ToUnicode(const WideString& text) {
  return MapUnits(text, {{0x2015, 0x2014}, {0xFFE3, 0x203E}});
}

WideString MappingFix_JISX0208ToUnicode(const WideString& text) {
  return MapUnits(text, {{0x00A2, 0xFFE0},
                         {0x00A3, 0xFFE1},
                         {0x00AC, 0xFFE2},
                         {0x2014, 0x2015},
                         {0x2016, 0x2225},
                         {0x203E, 0xFFE3},
                         {0x2212, 0xFF0D},
                         {0x301C, 0xFF5E}});
}

WideString MappingFix_UnicodeToCP932(const WideString& text) {
  return MappingFix_JISX0213ToJISX0208(MapUnits(text, {{0x2011, 0x002D},
                                                       {0x2012, 0x002D},
                                                       {0x2013, 0x002D},
                                                       {0x2014, 0x2015},
                                                       {0x203E, 0xFFE3},
                                                       {0x2212, 0xFF0D},
                                                       {0xFE58, 0xFF0D},
                                                       {0xFE63, 0xFF0D}}));
}

WideString MappingFix_UnicodeToJISX0208(const WideString& text) {
  return MappingFix_JISX0213ToJISX0208(MapUnits(text, {{0x2011, 0x002D},
                                                       {0x2012, 0x002D},
                                                       {0x2013, 0x002D},
                                                       {0x2014, 0x2015},
                                                       {0x203E, 0xFFE3},
                                                       {0x2225, 0x2016},
                                                       {0xFE58, 0x2212},
                                                       {0xFE63, 0x2212},
                                                       {0xFF0D, 0x2212},
                                                       {0xFF5E, 0x301C},
                                                       {0xFFE0, 0x00A2},
                                                       {0xFFE1, 0x00A3},
                                                       {0xFFE2, 0x00AC}}));
}

WideString MappingFix_JISX0213ToJISX0208(const WideString& text) {
  return MapCodePoints(text, kJISX0213ToJISX0208);
}

WideString MappingFix_JISX0208ToJISX0213(const WideString& text) {
  return MapCodePoints(text, kJISX0208ToJISX0213);
}

}  // namespace reference

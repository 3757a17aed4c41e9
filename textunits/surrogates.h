// Surrogate tests on single UTF-16 units, shared by the routines that walk
// UTF-16 text unit by unit. Each looks at the unit's high bits only.
#pragma once

#include <cstdint>

namespace textunits::detail {

[[nodiscard]] constexpr bool IsSurrogate(char16_t u) { return (u & 0xF800) == 0xD800; }
[[nodiscard]] constexpr bool IsLeadSurrogate(char16_t u) { return (u & 0xFC00) == 0xD800; }
[[nodiscard]] constexpr bool IsTrailSurrogate(char16_t u) { return (u & 0xFC00) == 0xDC00; }

[[nodiscard]] constexpr std::uint32_t CombineSurrogates(char16_t lead, char16_t trail) {
  return ((static_cast<std::uint32_t>(lead & 0x3FF) << 10) | (trail & 0x3FFu)) + 0x10000;
}

[[nodiscard]] constexpr char16_t LeadOf(std::uint32_t supplementary) {
  return static_cast<char16_t>(0xD800 | ((supplementary - 0x10000) >> 10));
}
[[nodiscard]] constexpr char16_t TrailOf(std::uint32_t supplementary) {
  return static_cast<char16_t>(0xDC00 | ((supplementary - 0x10000) & 0x3FF));
}

// Beyond the last code point there is nothing to encode; such values become
// this one unit.
inline constexpr char16_t kReplacementCharacter = 0xFFFD;
inline constexpr std::uint32_t kLastCodePoint = 0x10FFFF;

}  // namespace textunits::detail

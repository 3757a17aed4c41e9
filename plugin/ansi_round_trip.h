// The trip of a UTF-16 text to the ANSI code page and back, which both
// Shift_JIS filters rest on, and a per-unit table of its outcomes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quornel::plugin {

// The code page the Shift_JIS filters convert with: the process's ANSI code
// page, read once when the library is loaded.
std::uint32_t AnsiCodePage();

struct AnsiRoundTripResult {
  std::string ansi;         // the ANSI form: best fit applied, the default character for the rest
  std::u16string roundTrip; // the ANSI form converted back
};

// The trip itself, through the platform's conversion calls.
AnsiRoundTripResult AnsiRoundTrip(std::u16string_view text, std::uint32_t codePage);

// What the trip does to every single unit of one code page, computed once.
// The filters look units up here instead of converting each one anew; the
// table is filled from AnsiRoundTrip, so the results are the same.
class UnitRoundTrips {
 public:
  explicit UnitRoundTrips(std::uint32_t codePage);

  // The table of the ANSI code page, built on first use.
  static const UnitRoundTrips& ForAnsiCodePage();

  // What automatic conversion puts in place of `unit`: the unit itself when
  // its ANSI form is the plain "?" the code page writes for "?", otherwise
  // its round-trip text.
  [[nodiscard]] std::u16string_view Auto(char16_t unit) const {
    return View(autoSingle_[unit], autoLength_[unit], autoOffset_[unit]);
  }
  // The unit's round-trip text.
  [[nodiscard]] std::u16string_view RoundTrip(char16_t unit) const {
    return View(tripSingle_[unit], tripLength_[unit], tripOffset_[unit]);
  }
  // The round trip gives back exactly this one unit.
  [[nodiscard]] bool Survives(char16_t unit) const {
    return tripLength_[unit] == 1 && tripSingle_[unit] == unit;
  }

  // Appends the automatic conversion of every unit of `text` to `out`.
  void AppendAuto(std::u16string_view text, std::u16string& out) const;

 private:
  [[nodiscard]] std::u16string_view View(const char16_t& single, std::uint8_t length,
                                         std::uint32_t offset) const {
    if (length == 1) return {&single, 1};
    return std::u16string_view(pool_).substr(offset, length);
  }

  // Most units come back as exactly one unit, held inline; the rest (none or
  // several units) live in the pool.
  std::array<char16_t, 0x10000> autoSingle_{};
  std::array<std::uint8_t, 0x10000> autoLength_{};
  std::array<std::uint32_t, 0x10000> autoOffset_{};
  std::array<char16_t, 0x10000> tripSingle_{};
  std::array<std::uint8_t, 0x10000> tripLength_{};
  std::array<std::uint32_t, 0x10000> tripOffset_{};
  std::u16string pool_;
};

}  // namespace quornel::plugin

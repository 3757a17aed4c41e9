#include "plugin/ansi_round_trip.h"

#include <memory>

#include "platform/convert.h"
#include "textunits/types.h"

namespace quornel::plugin {

namespace pf = quornel::platform;

std::uint32_t AnsiCodePage() { return TuProcessDefaultCodePage(); }

namespace {

// No default character of our own and no used-flag, so the code page's
// default stands for what cannot be mapped. A conversion that gives nothing
// gives the empty string.
std::string AnsiForm(std::u16string_view text, std::uint32_t codePage) {
  std::string bytes;
  pf::AppendWideAsMultiByte(codePage, text, bytes);
  return bytes;
}

std::u16string RoundTripText(const std::string& ansi, std::uint32_t codePage) {
  std::u16string text;
  pf::AppendMultiByteAsWide(codePage, ansi, text);
  return text;
}

}  // namespace

AnsiRoundTripResult AnsiRoundTrip(std::u16string_view text, std::uint32_t codePage) {
  AnsiRoundTripResult result;
  result.ansi = AnsiForm(text, codePage);
  result.roundTrip = RoundTripText(result.ansi, codePage);
  return result;
}

UnitRoundTrips::UnitRoundTrips(std::uint32_t codePage) {
  const std::string questionMark = AnsiForm(u"?", codePage);
  auto store = [this](std::u16string_view text, char16_t& single, std::uint8_t& length,
                      std::uint32_t& offset) {
    if (text.size() == 1) {
      single = text[0];
      length = 1;
      return;
    }
    // A single unit never turns into more than a handful of units; the
    // length byte is plenty.
    length = static_cast<std::uint8_t>(text.size());
    offset = static_cast<std::uint32_t>(pool_.size());
    pool_.append(text);
  };
  for (std::uint32_t u = 0; u < 0x10000; ++u) {
    const char16_t unit = static_cast<char16_t>(u);
    const AnsiRoundTripResult trip = AnsiRoundTrip(std::u16string_view(&unit, 1), codePage);
    store(trip.roundTrip, tripSingle_[u], tripLength_[u], tripOffset_[u]);
    if (trip.ansi == questionMark) {
      store(std::u16string_view(&unit, 1), autoSingle_[u], autoLength_[u], autoOffset_[u]);
    } else {
      store(trip.roundTrip, autoSingle_[u], autoLength_[u], autoOffset_[u]);
    }
  }
}

const UnitRoundTrips& UnitRoundTrips::ForAnsiCodePage() {
  // About 600 KB; built once per process on the first Shift_JIS filter run.
  static const std::unique_ptr<const UnitRoundTrips> table =
      std::make_unique<const UnitRoundTrips>(AnsiCodePage());
  return *table;
}

void UnitRoundTrips::AppendAuto(std::u16string_view text, std::u16string& out) const {
  // Write into room sized for one unit per unit; only a unit that comes back
  // as none or several units leaves this loop's fast path.
  std::size_t written = out.size();
  out.resize(written + text.size());
  char16_t* dst = out.data();
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (autoLength_[unit] == 1) {
      dst[written++] = autoSingle_[unit];
      continue;
    }
    const std::u16string_view replacement = Auto(unit);
    const std::size_t remaining = text.size() - i - 1;
    out.resize(written + replacement.size() + remaining);
    dst = out.data();
    replacement.copy(dst + written, replacement.size());
    written += replacement.size();
  }
  out.resize(written);
}

}  // namespace quornel::plugin

// Filter 8 looks units up in a table built once per code page; these tests
// hold it to the trip itself, unit by unit, as the platform calls give it.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/winapi.h"
#include "plugin/ansi_round_trip.h"
#include "plugin/filters.h"

namespace {

namespace pf = quornel::platform;
using quornel::plugin::UnitRoundTrips;

// The trip of one unit written out as plainly as possible: size query,
// conversion, and back, with flags 0 and no default character.
struct Trip {
  std::string ansi;
  std::u16string back;
};
Trip ReferenceTrip(char16_t unit, std::uint32_t codePage) {
  Trip trip;
  const int bytes = pf::WideCharToMultiByte(codePage, 0, &unit, 1, nullptr, 0, nullptr, nullptr);
  trip.ansi.resize(bytes > 0 ? bytes : 0);
  if (bytes > 0) {
    pf::WideCharToMultiByte(codePage, 0, &unit, 1, trip.ansi.data(), bytes, nullptr, nullptr);
    const int units = pf::MultiByteToWideChar(codePage, 0, trip.ansi.data(), bytes, nullptr, 0);
    trip.back.resize(units > 0 ? units : 0);
    if (units > 0) {
      pf::MultiByteToWideChar(codePage, 0, trip.ansi.data(), bytes, trip.back.data(), units);
    }
  }
  return trip;
}

std::u16string ReferenceFilter8(std::u16string_view text, std::uint32_t codePage) {
  const std::string question = ReferenceTrip(u'?', codePage).ansi;
  std::u16string out;
  for (const char16_t u : text) {
    const Trip trip = ReferenceTrip(u, codePage);
    out += trip.ansi == question ? std::u16string(1, u) : trip.back;
  }
  return out;
}

class UnitTable : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(UnitTable, AgreesWithTheTripForEveryUnit) {
  const std::uint32_t codePage = GetParam();
  const UnitRoundTrips table(codePage);
  const std::string question = ReferenceTrip(u'?', codePage).ansi;
  ASSERT_EQ(question, "?");
  for (std::uint32_t u = 0; u < 0x10000; ++u) {
    const char16_t unit = static_cast<char16_t>(u);
    const Trip trip = ReferenceTrip(unit, codePage);
    ASSERT_EQ(table.RoundTrip(unit), trip.back) << std::hex << u;
    ASSERT_EQ(table.Survives(unit), trip.back == std::u16string(1, unit)) << std::hex << u;
    const std::u16string expectedAuto = trip.ansi == question ? std::u16string(1, unit) : trip.back;
    ASSERT_EQ(table.Auto(unit), expectedAuto) << std::hex << u;
  }
}

TEST_P(UnitTable, WholeTextsMatchTheUnitByUnitFilter) {
  const std::uint32_t codePage = GetParam();
  const UnitRoundTrips table(codePage);
  std::mt19937 rng(codePage);
  for (int round = 0; round < 200; ++round) {
    std::u16string text(rng() % 67, u'\0');
    for (char16_t& u : text) {
      // Mostly the ranges where code pages differ, some of everything else.
      const std::uint32_t pick = rng() % 4;
      u = static_cast<char16_t>(pick == 0   ? rng() % 0x10000
                                : pick == 1 ? 0x20 + rng() % 0x1E0
                                : pick == 2 ? 0x2000 + rng() % 0x1000
                                            : 0x3000 + rng() % 0x100);
    }
    std::u16string out = u"prefix";
    table.AppendAuto(text, out);
    ASSERT_EQ(out, u"prefix" + ReferenceFilter8(text, codePage));
  }
}

INSTANTIATE_TEST_SUITE_P(CodePages, UnitTable,
                         ::testing::Values(932u, 936u, 949u, 950u, 1361u, 874u, 1250u, 1252u,
                                           1258u));

TEST(FilterShiftJISAuto, KeepsWhatWouldBecomeAQuestionMark) {
  struct Row {
    std::u16string input;
    std::u16string expected;
    const char* why;
  };
  const Row rows[] = {
      {u"", u"", "empty"},
      {u"日本語のテキスト abc", u"日本語のテキスト abc", "all in CP932"},
      {u"?", u"?", "a real question mark"},
      {u"\u301C", u"\u301C", "wave dash has no CP932 form: stays"},
      {u"\uFF5E", u"\uFF5E", "full-width tilde is CP932's own"},
      {u"\u00E9\u00A5", u"e\\", "best fit: e-acute to e, yen sign to backslash"},
      {u"\U0001F600", u"\U0001F600", "each half of a pair becomes ? alone, so both stay"},
      {u"\u2225\u2016", u"\u2225\u2016", "parallel-to is CP932's; double vertical line stays"},
  };
  std::u16string result;
  for (const Row& row : rows) {
    TFilterExecInfo info{};
    info.Index = 8;
    info.Text = row.input.c_str();
    EXPECT_EQ(std::u16string(quornel::plugin::FilterShiftJISAuto(&info, result)), row.expected)
        << row.why;
  }
}

}  // namespace

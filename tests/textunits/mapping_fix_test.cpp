#include "textunits/mapping_fix.h"

#include <gtest/gtest.h>

#include <string>

#include "textunits/support/random_text.h"
#include "textunits/support/unicode_reference.h"
#include "textunits/unit_screen.h"

namespace {

// Runs the comparisons once with the screen the processor picks and, where
// that is the AVX2 one, once more with the baseline screen.
class MappingFixScreens : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    saved_ = textunits::detail::WideScreenEnabled();
    if (GetParam() && !saved_) GTEST_SKIP() << "no AVX2 on this processor";
    textunits::detail::WideScreenEnabled() = GetParam();
  }
  void TearDown() override { textunits::detail::WideScreenEnabled() = saved_; }

 private:
  bool saved_ = false;
};

INSTANTIATE_TEST_SUITE_P(Screen, MappingFixScreens, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Wide" : "Narrow"; });

using Routine = WideString (*)(const WideString&);

struct Fix {
  const char* name;
  Routine library;
  Routine reference;
};

const Fix kFixes[] = {
    {"UnicodeToCP932", TuMappingFix_UnicodeToCP932, reference::MappingFix_UnicodeToCP932},
    {"CP932ToUnicode", TuMappingFix_CP932ToUnicode, reference::MappingFix_CP932ToUnicode},
    {"JISX0208ToUnicode", TuMappingFix_JISX0208ToUnicode, reference::MappingFix_JISX0208ToUnicode},
    {"UnicodeToJISX0208", TuMappingFix_UnicodeToJISX0208, reference::MappingFix_UnicodeToJISX0208},
    {"JISX0213ToJISX0208", TuMappingFix_JISX0213ToJISX0208,
     reference::MappingFix_JISX0213ToJISX0208},
    {"JISX0208ToJISX0213", TuMappingFix_JISX0208ToJISX0213,
     reference::MappingFix_JISX0208ToJISX0213},
};

struct Case {
  Routine routine;
  std::u16string text;
  std::u16string expected;
  const char* why;
};

TEST(MappingFix, Cases) {
  const std::u16string nullThenA(u"\0A", 2);
  const Case cases[] = {
      {TuMappingFix_UnicodeToCP932, u"\x2013\x2212\xFE63", u"-\xFF0D\xFF0D",
       "dashes and minus signs"},
      {TuMappingFix_UnicodeToCP932, u"\x2014\x203E", u"\x2015\xFFE3",
       "EM DASH and OVERLINE as CP932 decodes them"},
      {TuMappingFix_UnicodeToCP932, u"\x525D\x5861\x9830", u"\x5265\x586B\x982C",
       "JIS X 0213 kanji, through the chained fix"},
      {TuMappingFix_UnicodeToCP932, u"\xD842\xDF9F", u"\x53F1",
       "the supplementary kanji, through the chained fix"},
      {TuMappingFix_UnicodeToCP932, u"\xD800", u"",
       "a lone surrogate is dropped by the chained fix"},
      {TuMappingFix_UnicodeToCP932, u"\xD83D\xDE00\xDC00", u"\xD83D\xDE00",
       "other pairs stay, the lone trail goes"},
      {TuMappingFix_UnicodeToCP932, u"\xFF5E\x2225", u"\xFF5E\x2225",
       "JIS X 0208 pairs are not CP932's"},
      {TuMappingFix_UnicodeToCP932, std::u16string(u"A\0B", 3), std::u16string(u"A\0B", 3),
       "an inner U+0000 stays"},
      {TuMappingFix_UnicodeToCP932, u"\xDC00" + nullThenA, u"",
       "U+0000 is the first code point left"},

      {TuMappingFix_CP932ToUnicode, u"\x2015\xFFE3", u"\x2014\x203E", "both pairs"},
      {TuMappingFix_CP932ToUnicode, u"\xFF0D\x2014", u"\xFF0D\x2014",
       "not the other direction, not the minus sign"},
      {TuMappingFix_CP932ToUnicode, u"\xD800", u"\xD800", "units are kept, surrogates too"},
      {TuMappingFix_CP932ToUnicode, nullThenA, nullThenA, "a leading U+0000 is just a unit"},
      {TuMappingFix_CP932ToUnicode, u"\x525D", u"\x525D", "no chained fix"},

      {TuMappingFix_JISX0208ToUnicode, u"\x00A2\x00A3\x00AC", u"\xFFE0\xFFE1\xFFE2",
       "Latin-1 signs to full width"},
      {TuMappingFix_JISX0208ToUnicode, u"\x2014\x2016\x203E\x2212\x301C",
       u"\x2015\x2225\xFFE3\xFF0D\xFF5E", "the rest of the table"},
      {TuMappingFix_JISX0208ToUnicode, u"\x2015\xFF0D\xD800", u"\x2015\xFF0D\xD800",
       "its own targets and surrogates stay"},

      {TuMappingFix_UnicodeToJISX0208, u"\xFFE0\xFFE1\xFFE2\xFF5E", u"\x00A2\x00A3\x00AC\x301C",
       "full width back to JIS X 0208"},
      {TuMappingFix_UnicodeToJISX0208, u"\xFE58\xFE63\xFF0D\x2225", u"\x2212\x2212\x2212\x2016",
       "to MINUS SIGN, PARALLEL TO back"},
      {TuMappingFix_UnicodeToJISX0208, u"\x2014\x203E\x2015", u"\x2015\xFFE3\x2015",
       "EM DASH goes the same way as from JIS X 0208"},
      {TuMappingFix_UnicodeToJISX0208, u"\x2011\x2012\x5861\xD842\xDF9F", u"--\x586B\x53F1",
       "hyphens, then the chained fix"},
      {TuMappingFix_UnicodeToJISX0208, u"\xD800", u"",
       "a lone surrogate is dropped by the chained fix"},

      {TuMappingFix_JISX0213ToJISX0208, u"\xD842\xDF9F", u"\x53F1", "the pair becomes one unit"},
      {TuMappingFix_JISX0213ToJISX0208, nullThenA, u"", "a leading U+0000 empties the text"},
      {TuMappingFix_JISX0213ToJISX0208, u"\xD842", u"", "half the pair alone is dropped"},
      {TuMappingFix_JISX0213ToJISX0208, u"\xDF9F\xD842", u"", "the halves in the wrong order"},
      {TuMappingFix_JISX0213ToJISX0208, u"\x5265\x2014", u"\x5265\x2014",
       "targets and unit-table sources stay"},

      {TuMappingFix_JISX0208ToJISX0213, u"\x53F1", u"\xD842\xDF9F", "one unit becomes a pair"},
      {TuMappingFix_JISX0208ToJISX0213, u"\x5265\x586B\x982C\x53F1\x53F1",
       u"\x525D\x5861\x9830\xD842\xDF9F\xD842\xDF9F", "every row"},
      {TuMappingFix_JISX0208ToJISX0213, u"\xD800\x53F1", u"\xD842\xDF9F",
       "lone surrogate dropped, the text still grows"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.routine(c.text), c.expected) << c.why;
}

TEST(MappingFix, TextWithoutSourcesComesBackUnchanged) {
  std::u16string text;
  for (int i = 0; i < 9; ++i) text += u"日本語の文章、カタカナとASCII text 123。「括弧」";
  for (const Fix& fix : kFixes) {
    EXPECT_EQ(fix.library(u""), u"") << fix.name;
    EXPECT_EQ(fix.library(text), text) << fix.name;
  }
}

// Every source and target of every table, so each routine meets the others'
// units as well as its own.
constexpr char16_t kTableUnits[] = {0x002D, 0x00A2, 0x00A3, 0x00AC, 0x2011, 0x2012, 0x2013, 0x2014,
                                    0x2015, 0x2016, 0x203E, 0x2212, 0x2225, 0x301C, 0x525D, 0x5265,
                                    0x53F1, 0x5861, 0x586B, 0x9830, 0x982C, 0xFE58, 0xFE63, 0xFF0D,
                                    0xFF5E, 0xFFE0, 0xFFE1, 0xFFE2, 0xFFE3};

TEST_P(MappingFixScreens, MatchesReferenceOnRandomText) {
  testing_support::RandomText random(4);
  for (const std::size_t length : testing_support::kInterestingLengths) {
    for (int round = 0; round < 30; ++round) {
      const std::u16string text = random.Make(length, kTableUnits);
      for (const Fix& fix : kFixes) {
        ASSERT_EQ(fix.library(text), fix.reference(text)) << fix.name << ", length " << length;
      }
    }
  }
}

// Long stretches with no source, then one source or surrogate at every offset
// around the block edges: the walk must switch between copying whole blocks
// and unit by unit without losing or repeating a unit.
TEST_P(MappingFixScreens, MatchesReferenceWithOneSpecialUnitAtEachPosition) {
  for (const char16_t special :
       {u'\x2014', u'\x53F1', u'\xD842', u'\xDF9F', u'\x9830', u'\xFFE3'}) {
    for (std::size_t at = 0; at < 2200; at += (at < 140 ? 1 : 61)) {
      std::u16string text(2200, u'\x3042');
      text[at] = special;
      if (at + 1 < text.size() && special == u'\xD842') text[at + 1] = u'\xDF9F';
      for (const Fix& fix : kFixes) {
        ASSERT_EQ(fix.library(text), fix.reference(text)) << fix.name << ", at " << at;
      }
    }
  }
}

}  // namespace

namespace {

// The view forms write into a string a caller keeps from run to run; what it
// held before, longer or shorter, must not show through.
TEST(MappingFixInto, AReusedStringGivesWhatAFreshOneGives) {
  using Into = void (*)(std::u16string_view, WideString&);
  using Fresh = WideString (*)(const WideString&);
  const std::pair<Into, Fresh> routines[] = {
      {textunits::MappingFixCP932ToUnicode, TuMappingFix_CP932ToUnicode},
      {textunits::MappingFixJISX0208ToUnicode, TuMappingFix_JISX0208ToUnicode},
      {textunits::MappingFixUnicodeToCP932, TuMappingFix_UnicodeToCP932},
      {textunits::MappingFixUnicodeToJISX0208, TuMappingFix_UnicodeToJISX0208},
      {textunits::MappingFixJISX0213ToJISX0208, TuMappingFix_JISX0213ToJISX0208},
      {textunits::MappingFixJISX0208ToJISX0213, TuMappingFix_JISX0208ToJISX0213},
  };
  const WideString texts[] = {u"", u"\u2015\u2014\u53F1\u525D\xD800 abc", u"\U00020B9F\u301C",
                              WideString(100, u'\u53F1'), u"\xDC00"};
  for (const auto& [into, fresh] : routines) {
    for (const WideString& before : {WideString(), WideString(300, u'#'), WideString(3, u'#')}) {
      for (const WideString& text : texts) {
        WideString out = before;
        into(text, out);
        EXPECT_EQ(out, fresh(text));
      }
    }
  }
}

}  // namespace

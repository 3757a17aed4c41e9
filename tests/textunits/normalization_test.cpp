// TuNormalize and TuIsNormalized, through the normalization library and,
// with the library removed, through the folding call.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/testing.h"
#include "textunits/TextUnits.h"

namespace seam = quornel::platform::testing;

namespace {

std::u16string Repeat(const std::u16string& s, int n) {
  std::u16string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// Runs each test once with the normalization library and once without it.
class Normalization : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    seam::SetNormalizationLibraryPresent(GetParam());
    seam::ResetModuleCounters();
  }
  void TearDown() override { seam::SetNormalizationLibraryPresent(true); }

  // Every call that gets past the empty check loads the library once (when it
  // is there), releases what it loaded, and asks for a size once.
  void ExpectOneLoadAndOneSizeQuery() {
    const seam::ModuleCounters counters = seam::GetModuleCounters();
    EXPECT_EQ(counters.loads, GetParam() ? 1 : 0);
    EXPECT_EQ(counters.releases, counters.loads);
    EXPECT_EQ(counters.sizeQueries, 1);
    seam::ResetModuleCounters();
  }
};

INSTANTIATE_TEST_SUITE_P(Library, Normalization, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Present" : "Absent"; });

TEST_P(Normalization, EmptySourceIsTrueWithoutTouchingThePlatform) {
  for (int form : {0, 1, 2, 5, 6, 9}) {
    WideString destination = u"left over";
    EXPECT_TRUE(TuNormalize(u"", destination, static_cast<TNORM_FORM>(form)));
    EXPECT_TRUE(destination.empty());
    EXPECT_TRUE(TuIsNormalized(u"", static_cast<TNORM_FORM>(form)));
  }
  const seam::ModuleCounters counters = seam::GetModuleCounters();
  EXPECT_EQ(counters.loads, 0);
  EXPECT_EQ(counters.sizeQueries, 0);
}

TEST_P(Normalization, FormsGiveTheNormalizedText) {
  struct Case {
    TNORM_FORM form;
    std::u16string in, out;
    const char* why;
  };
  const Case cases[] = {
      {NormalizationC, u"e\u0301", u"\u00E9", "composes"},
      {NormalizationD, u"\u00E9", u"e\u0301", "decomposes"},
      {NormalizationC, u"\u304B\u3099\u30D5\u309A", u"\u304C\u30D7", "decomposed kana, as macOS writes them"},
      {NormalizationKC, u"\uFF76\uFF9E\uFF71", u"\u30AC\u30A2", "halfwidth katakana"},
      {NormalizationKD, u"\u3300", u"\u30A2\u30CF\u309A\u30FC\u30C8", "squared word"},
      {NormalizationC, u"\u65E5\u672C\u8A9E\u3002\U00020B9F", u"\u65E5\u672C\u8A9E\u3002\U00020B9F",
       "already NFC, with a supplementary kanji"},
      {NormalizationC, std::u16string(u"A\0B", 3), u"A", "cut at the first U+0000"},
      {NormalizationD, std::u16string(u"\0\u00E9", 2), u"", "U+0000 first leaves nothing"},
      {NormalizationD, std::u16string(u"\u00E9\0", 2), u"e\u0301", "trailing U+0000"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    WideString destination = u"left over";
    EXPECT_TRUE(TuNormalize(c.in, destination, c.form));
    EXPECT_EQ(destination, c.out);
    ExpectOneLoadAndOneSizeQuery();
  }
}

TEST_P(Normalization, FailuresAreFalse) {
  struct Case {
    int form;
    std::u16string in;
    const char* why;
  };
  const Case cases[] = {
      {0, u"abc", "form 0"},
      {3, u"abc", "form 3"},
      {7, u"abc", "form 7"},
      {255, u"abc", "form 255"},
      {1, u"a\xD800" u"b", "lone high surrogate"},
      {2, u"\xDC00", "lone low surrogate"},
      {6, u"\u3300\xD83D", "high surrogate at the end"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    WideString destination;
    EXPECT_FALSE(TuNormalize(c.in, destination, static_cast<TNORM_FORM>(c.form)));
    ExpectOneLoadAndOneSizeQuery();
  }
}

// The cut at U+0000 for every position around the block widths of the scan.
TEST_P(Normalization, CutAtTheFirstZeroWhereverItStands) {
  for (std::size_t at = 0; at < 100; ++at) {
    std::u16string source(100, u'\u304C');
    source[at] = u'\0';
    if (at + 1 < source.size()) source[at + 1] = u'\0';
    WideString destination;
    ASSERT_TRUE(TuNormalize(source, destination, NormalizationD)) << at;
    EXPECT_EQ(destination, Repeat(u"\u304B\u3099", static_cast<int>(at))) << at;
  }
}

// The destination's room is reused without being cleared: what it held
// before must not show through, whether the new text is longer or shorter.
TEST_P(Normalization, WhatTheDestinationHeldBeforeNeverShows) {
  const std::u16string long_text = Repeat(u"\u304C", 40);
  WideString destination = Repeat(u"#", 200);
  ASSERT_TRUE(TuNormalize(u"e\u0301", destination, NormalizationC));
  EXPECT_EQ(destination, u"\u00E9");
  ASSERT_TRUE(TuNormalize(long_text, destination, NormalizationD));
  EXPECT_EQ(destination, Repeat(u"\u304B\u3099", 40));
  ASSERT_TRUE(TuNormalize(u"a", destination, NormalizationKC));
  EXPECT_EQ(destination, u"a");
  for (const bool noZero : {false, true}) {
    destination = Repeat(u"#", 10);
    ASSERT_TRUE(textunits::Normalize(u"\u30AB\u3099x", destination, NormalizationC, noZero));
    EXPECT_EQ(destination, u"\u30ACx");
  }
  destination = u"stale";
  EXPECT_FALSE(TuNormalize(u"x", destination, NormalizationOther));
  EXPECT_TRUE(destination.empty()) << "a refused size query leaves nothing behind";
}

// The size the platform guesses first is too small for all of these; the
// routine has to grow the buffer and try again.
TEST_P(Normalization, TextThatExpandsPastTheGuessIsNormalizedInFull) {
  const std::u16string salat = u"\u0635\u0644\u0649 \u0627\u0644\u0644\u0647 \u0639\u0644\u064A\u0647 \u0648\u0633\u0644\u0645";
  struct Case {
    TNORM_FORM form;
    std::u16string in, out;
    const char* why;
  };
  const Case cases[] = {
      {NormalizationD, Repeat(u"\u304C\u3056\u3060\u3070\u3071\u30AC\u30D1\u30F4", 40),
       Repeat(u"\u304B\u3099\u3055\u3099\u305F\u3099\u306F\u3099\u306F\u309A\u30AB\u3099\u30CF\u309A\u30A6\u3099",
              40),
       "a long line of voiced kana doubles"},
      {NormalizationKD, u"\uFDFA", salat, "one unit becomes eighteen"},
      {NormalizationKC, Repeat(u"\uFDFA", 30), Repeat(salat, 30), "eighteen-fold, many times"},
      {NormalizationKD, Repeat(u"\u3300\u3316", 25),
       Repeat(u"\u30A2\u30CF\u309A\u30FC\u30C8\u30AD\u30ED\u30E1\u30FC\u30C8\u30EB", 25),
       "squared words, five- and six-fold"},
      {NormalizationKC, Repeat(u"\u3300\u3316", 25),
       Repeat(u"\u30A2\u30D1\u30FC\u30C8\u30AD\u30ED\u30E1\u30FC\u30C8\u30EB", 25), "the same, composed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    WideString destination;
    EXPECT_TRUE(TuNormalize(c.in, destination, c.form));
    EXPECT_EQ(destination, c.out);
    ExpectOneLoadAndOneSizeQuery();
  }
}

TEST_P(Normalization, IsNormalizedAsksTheLibraryAndIsFalseWithoutIt) {
  struct Case {
    TNORM_FORM form;
    std::u16string text;
    bool normalized;
  };
  const Case cases[] = {
      {NormalizationC, u"\u00E9\u304C", true},
      {NormalizationC, u"e\u0301", false},
      {NormalizationD, u"e\u0301", true},
      {NormalizationKC, u"\uFF76", false},
      {NormalizationC, u"\uFF76", true},
      {static_cast<TNORM_FORM>(0), u"abc", false},
      {NormalizationC, u"a\xD800", false},
  };
  for (const Case& c : cases) {
    // Without the library there is no answer, so nothing counts as normalized.
    EXPECT_EQ(TuIsNormalized(c.text, c.form), GetParam() && c.normalized) << int{c.form};
    const seam::ModuleCounters counters = seam::GetModuleCounters();
    EXPECT_EQ(counters.loads, GetParam() ? 1 : 0);
    EXPECT_EQ(counters.releases, counters.loads);
    seam::ResetModuleCounters();
  }
}

// The routines keep no shared state: threads normalizing different text that
// outgrows the first guess all get their own result.
TEST(NormalizationThreads, ConcurrentCallsDoNotMixResults) {
  const std::u16string sources[] = {Repeat(u"\u304C", 300), Repeat(u"\uFDFA", 20),
                                    Repeat(u"\u3300", 50), Repeat(u"\u30D1", 300)};
  const TNORM_FORM forms[] = {NormalizationD, NormalizationKD, NormalizationKD, NormalizationD};
  std::u16string expected[4];
  for (int t = 0; t < 4; ++t) ASSERT_TRUE(TuNormalize(sources[t], expected[t], forms[t]));

  int mismatches[4] = {};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 200; ++i) {
        WideString destination;
        if (!TuNormalize(sources[t], destination, forms[t]) || destination != expected[t]) {
          ++mismatches[t];
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < 4; ++t) EXPECT_EQ(mismatches[t], 0) << t;
}

}  // namespace

// FoldStringW: the mapping each flag word selects, the exact size contract and
// the refused flag words.
#include <gtest/gtest.h>

#include <string>

#include "platform/winapi.h"

namespace pf = quornel::platform;

namespace {

TEST(FoldString, FlagWordsSelectTheMapping) {
  struct Case {
    pf::DWORD flags;
    std::u16string in, out;
    const char* why;
  };
  const Case cases[] = {
      {0x20, u"e\u0301\u304B\u3099", u"\u00E9\u304C", "precomposed: canonical composition"},
      {0x40, u"\u00E9\u304C", u"e\u0301\u304B\u3099", "composite: canonical decomposition"},
      {0x30, u"\uFF76\uFF9E\u2460", u"\u30AC" u"1", "compatibility folding, composed"},
      {0x50, u"\uFF76\uFF9E\u00E9", u"\u30AB\u3099e\u0301", "compatibility folding, decomposed"},
      {0x10, u"\u3300", u"\u30A2\u30D1\u30FC\u30C8", "compatibility folding alone composes"},
      {0x80, u"\u0661\u0662\u0663\uFF14", u"1234", "Arabic-Indic and fullwidth digits"},
      {0x80, u"\U0001D7CE!", u"0!", "a supplementary digit shrinks to one unit"},
      {0x80, u"\u2460e\u0301", u"\u2460e\u0301", "digits alone: no digit, no normalization"},
      {0xA0, u"e\u0301\u0967", u"\u00E9" u"1", "digits with composition"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    const int srcLength = static_cast<int>(c.in.size());
    pf::SetLastError(0xDEAD);
    const int size = pf::FoldStringW(c.flags, c.in.data(), srcLength, nullptr, 0);
    EXPECT_EQ(pf::GetLastError(), pf::ERROR_SUCCESS);
    EXPECT_EQ(size, static_cast<int>(c.out.size()));  // exact, not a guess

    std::u16string out(c.out.size(), u'\0');
    pf::SetLastError(0xDEAD);
    EXPECT_EQ(pf::FoldStringW(c.flags, c.in.data(), srcLength, out.data(), size), size);
    EXPECT_EQ(pf::GetLastError(), pf::ERROR_SUCCESS);
    EXPECT_EQ(out, c.out);

    if (size > 1) {
      pf::SetLastError(0);
      EXPECT_EQ(pf::FoldStringW(c.flags, c.in.data(), srcLength, out.data(), size - 1), 0);
      EXPECT_EQ(pf::GetLastError(), pf::ERROR_INSUFFICIENT_BUFFER);
    }
  }
}

TEST(FoldString, RefusesFlagWordsAndArguments) {
  const char16_t text[] = u"abc";
  char16_t buffer[8] = {};
  for (pf::DWORD flags : {0x0u, 0x60u, 0x70u, 0xF0u, 0x100u, 0x2000u, 0x21u}) {
    SCOPED_TRACE(flags);
    pf::SetLastError(0);
    EXPECT_EQ(pf::FoldStringW(flags, text, 3, buffer, 8), 0);
    EXPECT_EQ(pf::GetLastError(), pf::ERROR_INVALID_FLAGS);
  }
  struct Case {
    const char16_t* src;
    int srcLength;
    char16_t* dst;
    int dstLength;
  };
  const Case cases[] = {
      {nullptr, 3, buffer, 8}, {text, 0, buffer, 8},       {text, -2, buffer, 8},
      {text, 3, nullptr, 8},   {text, 3, buffer, -1},      {buffer, 3, buffer + 1, 4},  // overlap
  };
  for (const Case& c : cases) {
    pf::SetLastError(0);
    EXPECT_EQ(pf::FoldStringW(pf::MAP_PRECOMPOSED, c.src, c.srcLength, c.dst, c.dstLength), 0);
    EXPECT_EQ(pf::GetLastError(), pf::ERROR_INVALID_PARAMETER);
  }
}

TEST(FoldString, UnpairedSurrogateIsRefusedAndMinusOneCountsTheTerminator) {
  const char16_t lone[] = u"a\xD800" u"b";
  pf::SetLastError(0);
  EXPECT_EQ(pf::FoldStringW(pf::MAP_PRECOMPOSED, lone, 3, nullptr, 0), 0);
  EXPECT_EQ(pf::GetLastError(), pf::ERROR_NO_UNICODE_TRANSLATION);

  const char16_t text[] = u"e\u0301";
  EXPECT_EQ(pf::FoldStringW(pf::MAP_PRECOMPOSED, text, -1, nullptr, 0), 2);
  char16_t buffer[4] = {u'x', u'x', u'x', u'x'};
  EXPECT_EQ(pf::FoldStringW(pf::MAP_PRECOMPOSED, text, -1, buffer, 4), 2);
  EXPECT_EQ(buffer[0], u'\u00E9');
  EXPECT_EQ(buffer[1], u'\0');
}

}  // namespace

#include "textunits/utf16.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "textunits/support/random_text.h"
#include "textunits/support/unicode_reference.h"

namespace {

struct ToUTF32Case {
  std::u16string text;
  UCS4String expected;
  const char* why;
};

TEST(UTF16ToUTF32, Cases) {
  const ToUTF32Case cases[] = {
      {u"", {}, "the empty text has no terminator either"},
      {u"A", {0x41, 0}, "one unit, then the terminator"},
      {u"\xD83D\xDE00", {0x1F600, 0}, "a pair is one code point"},
      {u"\xDBFF\xDFFF", {0x10FFFF, 0}, "the last code point"},
      {u"A\xD800", {0x41, 0}, "a lead at the end is dropped"},
      {u"\xDC00"
       u"B",
       {0x42, 0},
       "a lone trail is dropped"},
      {u"\xD800\xD800\xDC00",
       {0x10000, 0},
       "a lead followed by a lead is dropped, the second pairs"},
      {u"\xD800"
       u"A\xDC00",
       {0x41, 0},
       "a unit between lead and trail breaks the pair"},
      {u"\xDC00\xD800", {0}, "trail before lead is no pair"},
      {u"\xDC00\xDFFF\xD800", {0}, "only lone surrogates leave the terminator alone"},
      {std::u16string(u"A\0B", 3), {0x41, 0, 0x42, 0}, "U+0000 inside the text is an element"},
      {std::u16string(u"\0", 1), {0, 0}, "a text of U+0000 alone"},
  };
  for (const auto& c : cases) EXPECT_EQ(UTF16ToUTF32(c.text), c.expected) << c.why;
}

struct ToUTF16Case {
  UCS4String codePoints;
  std::u16string expected;
  const char* why;
};

TEST(UTF32ToUTF16, Cases) {
  const ToUTF16Case cases[] = {
      {{}, u"", "no elements"},
      {{0}, u"", "the terminator alone"},
      {{0x41}, u"A", "no terminator: every element is converted"},
      {{0x41, 0}, u"A", "the terminator is not converted"},
      {{0x41, 0, 0}, std::u16string(u"A\0", 2), "only the last 0 is the terminator"},
      {{0, 0x41, 0}, u"", "a first 0 reads as the terminator, whatever follows"},
      {{0x41, 0, 0x42}, std::u16string(u"A\0B", 3), "an inner 0 without terminator"},
      {{0xD800, 0}, u"\xD800", "surrogate values pass through unchecked"},
      {{0xDC00, 0xD800, 0}, u"\xDC00\xD800", "in any order"},
      {{0x1F600, 0}, u"\xD83D\xDE00", "a supplementary code point becomes a pair"},
      {{0x10000, 0x10FFFF}, u"\xD800\xDC00\xDBFF\xDFFF", "both ends of the supplementary planes"},
      {{0xFFFF, 0x10000}, u"\xFFFF\xD800\xDC00", "either side of the plane boundary"},
      {{0x41, 0x110000, 0xFFFFFFFF, 0x42, 0},
       u"A\xFFFD\xFFFD"
       u"B",
       "beyond U+10FFFF: U+FFFD each"},
  };
  for (const auto& c : cases) EXPECT_EQ(UTF32ToUTF16(c.codePoints), c.expected) << c.why;
}

TEST(CodePointToUTF16, Cases) {
  const struct {
    std::uint32_t codePoint;
    std::u16string expected;
  } cases[] = {
      {0, u""},
      {0x41, u"A"},
      {0xD800, u"\xD800"},
      {0xFFFF, u"\xFFFF"},
      {0x10000, u"\xD800\xDC00"},
      {0x20B9F, u"\xD842\xDF9F"},
      {0x10FFFF, u"\xDBFF\xDFFF"},
      {0x110000, u"\xFFFD"},
      {0xFFFFFFFF, u"\xFFFD"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CodePointToUTF16(c.codePoint), c.expected) << std::hex << c.codePoint;
    EXPECT_EQ(CodePointToUTF16(c.codePoint), UTF32ToUTF16({c.codePoint, 0}))
        << std::hex << c.codePoint;
  }
}

// Surrogates at every offset of a block: a pair split across two blocks, a
// lone unit right at a block's edge, a clean block followed by a dirty tail.
TEST(UTF16ToUTF32, MatchesReferenceOnRandomText) {
  testing_support::RandomText random(1);
  for (const std::size_t length : testing_support::kInterestingLengths) {
    for (int round = 0; round < 40; ++round) {
      const std::u16string text = random.Make(length, {});
      ASSERT_EQ(UTF16ToUTF32(text), reference::UTF16ToUTF32(text)) << "length " << length;
    }
  }
}

TEST(UTF16ToUTF32, MatchesReferenceWithOneSurrogateAtEachPosition) {
  for (const char16_t surrogate : {u'\xD800', u'\xDBFF', u'\xDC00', u'\xDFFF'}) {
    for (std::size_t at = 0; at < 70; ++at) {
      std::u16string text(70, u'\x3042');
      text[at] = surrogate;
      ASSERT_EQ(UTF16ToUTF32(text), reference::UTF16ToUTF32(text)) << at;
      text[at + 1 < text.size() ? at + 1 : 0] = 0xDC01;
      ASSERT_EQ(UTF16ToUTF32(text), reference::UTF16ToUTF32(text)) << at;
    }
  }
}

TEST(UTF32ToUTF16, MatchesReferenceOnRandomArrays) {
  std::mt19937 rng(2);
  for (const std::size_t length : testing_support::kInterestingLengths) {
    for (int round = 0; round < 40; ++round) {
      UCS4String codePoints(length);
      for (auto& v : codePoints) {
        switch (rng() % 8) {
          case 0:
            v = 0;
            break;
          case 1:
            v = 0x10000 + rng() % 0x100000;
            break;
          case 2:
            v = 0xD800 + rng() % 0x800;
            break;
          case 3:
            v = rng();
            break;  // mostly beyond U+10FFFF
          default:
            v = rng() % 0x10000;
            break;
        }
      }
      if (length > 0 && rng() % 2 == 0) codePoints.back() = 0;
      ASSERT_EQ(UTF32ToUTF16(codePoints), reference::UTF32ToUTF16(codePoints))
          << "length " << length;
    }
  }
}

// There and back gives the text again once lone surrogates are gone, unless
// the first code point left is U+0000.
TEST(UTF16AndUTF32, RoundTripDropsOnlyLoneSurrogates) {
  auto isLead = [](char16_t u) { return u >= 0xD800 && u <= 0xDBFF; };
  auto isTrail = [](char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; };
  testing_support::RandomText random(3);
  for (const std::size_t length : testing_support::kInterestingLengths) {
    for (int round = 0; round < 20; ++round) {
      const std::u16string text = random.Make(length, {});
      std::u16string kept;
      for (std::size_t i = 0; i < text.size(); ++i) {
        if (isLead(text[i]) && i + 1 < text.size() && isTrail(text[i + 1])) {
          kept += text.substr(i++, 2);
        } else if (!isLead(text[i]) && !isTrail(text[i])) {
          kept.push_back(text[i]);
        }
      }
      const std::u16string expected = !kept.empty() && kept[0] == 0 ? u"" : kept;
      EXPECT_EQ(UTF32ToUTF16(UTF16ToUTF32(text)), expected);
    }
  }
}

}  // namespace

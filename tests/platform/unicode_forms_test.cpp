// The block-wise surrogate check against a plain unit-by-unit walk, on texts
// whose surrogates fall on and across the block boundaries.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/posix/unicode_forms.h"

namespace posix = quornel::platform::posix;

namespace {

namespace reference {

int FindUnpairedSurrogate(const char16_t* text, int length) {
  for (int i = 0; i < length; ++i) {
    const bool high = text[i] >= 0xD800 && text[i] <= 0xDBFF;
    const bool low = text[i] >= 0xDC00 && text[i] <= 0xDFFF;
    if (high && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      ++i;
    } else if (high || low) {
      return i;
    }
  }
  return -1;
}

}  // namespace reference

TEST(UnpairedSurrogate, BlockWiseCheckAgreesWithThePlainWalk) {
  std::mt19937 rng(5);
  const char16_t alphabet[] = {u'a',          u'\u3042',         char16_t{0xD83D}, char16_t{0xDE00},
                               char16_t{0xD800}, char16_t{0xDFFF}, u'\uFFFF'};
  int unpaired = 0;
  for (int round = 0; round < 20000; ++round) {
    const int length = static_cast<int>(rng() % 140);
    // Mostly plain text with a rare surrogate, so whole blocks are skipped.
    std::u16string text(static_cast<std::size_t>(length), u'\u3042');
    const int surrogates = static_cast<int>(rng() % 4);
    for (int k = 0; k < surrogates && length > 0; ++k) {
      text[rng() % static_cast<unsigned>(length)] = alphabet[rng() % std::size(alphabet)];
    }
    if (rng() % 3 == 0 && length >= 2) {  // a pair that may straddle a block boundary
      const std::size_t at = rng() % static_cast<unsigned>(length - 1);
      text[at] = char16_t{0xD83D};
      text[at + 1] = char16_t{0xDE00};
    }
    const int expected = reference::FindUnpairedSurrogate(text.data(), length);
    ASSERT_EQ(posix::FindUnpairedSurrogate(text.data(), length), expected) << "round " << round;
    unpaired += expected >= 0;
  }
  EXPECT_GT(unpaired, 1000);  // the rounds did reach the failing branch
}

TEST(UnpairedSurrogate, PairAcrossEveryBlockBoundary) {
  for (int at = 0; at < 100; ++at) {
    std::u16string text(101, u'x');
    text[static_cast<std::size_t>(at)] = char16_t{0xD83D};
    text[static_cast<std::size_t>(at) + 1] = char16_t{0xDE00};
    EXPECT_EQ(posix::FindUnpairedSurrogate(text.data(), 101), -1) << at;
    EXPECT_EQ(posix::FindUnpairedSurrogate(text.data(), at + 1), at) << at;  // cut between them
  }
}

}  // namespace

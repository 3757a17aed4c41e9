// Random UTF-16 text for comparing the library with the plain reference
// versions: biased toward the units where the walks branch.
#pragma once

#include <cstddef>
#include <random>
#include <span>
#include <string>

namespace testing_support {

class RandomText {
 public:
  explicit RandomText(std::uint32_t seed) : rng_(seed) {}

  std::uint32_t Below(std::uint32_t n) { return static_cast<std::uint32_t>(rng_() % n); }

  // `length` units. About a third come from `interesting` (table sources,
  // their targets), a sixth are surrogates (often the U+20B9F pair), some are
  // U+0000; the rest is kana, kanji and ASCII. Now and then the text starts
  // with U+0000, with lone surrogates, or with both.
  std::u16string Make(std::size_t length, std::span<const char16_t> interesting) {
    std::u16string text;
    text.reserve(length);
    while (text.size() < length) {
      const std::uint32_t r = Below(100);
      if (r < 33 && !interesting.empty()) {
        text.push_back(interesting[Below(static_cast<std::uint32_t>(interesting.size()))]);
      } else if (r < 40) {
        text.push_back(0xD842);
        text.push_back(0xDF9F);
      } else if (r < 44) {
        text.push_back(static_cast<char16_t>(0xD800 + Below(0x400)));
      } else if (r < 48) {
        text.push_back(static_cast<char16_t>(0xDC00 + Below(0x400)));
      } else if (r < 52) {
        text.push_back(static_cast<char16_t>(0xD800 + Below(0x400)));
        text.push_back(static_cast<char16_t>(0xDC00 + Below(0x400)));
      } else if (r < 55) {
        text.push_back(0);
      } else if (r < 70) {
        text.push_back(static_cast<char16_t>(0x3041 + Below(0x5E)));
      } else if (r < 85) {
        text.push_back(static_cast<char16_t>(0x4E00 + Below(0x5200)));
      } else if (r < 95) {
        text.push_back(static_cast<char16_t>(0x20 + Below(0x5F)));
      } else {
        text.push_back(static_cast<char16_t>(Below(0x10000)));
      }
    }
    text.resize(length);  // a pair may have overshot by one
    switch (Below(8)) {
      case 0:
        if (!text.empty()) text[0] = 0;
        break;
      case 1:
        for (std::size_t i = 0; i < text.size() && i < 3; ++i)
          text[i] = 0xDC00 + static_cast<char16_t>(i);
        break;
      case 2:
        if (text.size() >= 2) {
          text[0] = 0xD800;
          text[1] = 0;
        }
        break;
      default:
        break;
    }
    return text;
  }

 private:
  std::mt19937 rng_;
};

// Lengths around the block and chunk widths the walks use, plus a few odd ones.
inline constexpr std::size_t kInterestingLengths[] = {
    0,  1,   2,   3,   7,   15,  16,  17,  31,   32,   33,   63,   64,
    65, 127, 255, 256, 257, 511, 512, 513, 1000, 2047, 2048, 2049, 4097};

}  // namespace testing_support

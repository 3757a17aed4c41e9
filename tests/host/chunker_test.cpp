// The host hands the plug-in a long text a piece at a time. The pieces must
// give exactly what one call with the whole text gives, for every filter.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "host/chunker.h"
#include "plugin/filters.h"

namespace {

using quornel::host::Chunker;

std::vector<std::u16string> Cut(std::u16string_view text, std::size_t target, std::size_t longLine,
                                std::size_t feed) {
  std::vector<std::u16string> pieces;
  Chunker chunker(target, longLine, [&](std::u16string_view piece) {
    pieces.emplace_back(piece);
    return true;
  });
  for (std::size_t i = 0; i < text.size(); i += feed) {
    chunker.Buffer().append(text.substr(i, feed));
    EXPECT_TRUE(chunker.Flush());
  }
  EXPECT_TRUE(chunker.Finish());
  return pieces;
}

std::u16string Join(const std::vector<std::u16string>& pieces) {
  std::u16string all;
  for (const auto& piece : pieces) all += piece;
  return all;
}

TEST(Chunker, PiecesEndAfterALineFeedAndLoseNothing) {
  const std::u16string text = u"一行目\n二行目は少し長い\n\n三\n最後の行には改行がない";
  for (const std::size_t target : {1, 4, 8, 100}) {
    for (const std::size_t feed : {1, 3, 50}) {
      const auto pieces = Cut(text, target, 1000, feed);
      EXPECT_EQ(Join(pieces), text);
      for (std::size_t i = 0; i + 1 < pieces.size(); ++i) {
        EXPECT_EQ(pieces[i].back(), u'\n') << "target " << target << " feed " << feed;
      }
    }
  }
}

TEST(Chunker, ALongLineIsCutOnlyBeforeAUnitThatStartsFresh) {
  // Decomposed kana, a surrogate pair and combining marks must not be split.
  std::u16string line;
  for (int i = 0; i < 50; ++i) line += u"か\u3099\U00020B9Fe\u0301漢字ab";
  const auto pieces = Cut(line, 16, 32, 7);
  EXPECT_EQ(Join(pieces), line);
  EXPECT_GT(pieces.size(), 1u);
  for (std::size_t i = 0; i + 1 < pieces.size(); ++i) {
    const char16_t last = pieces[i].back();
    const char16_t next = pieces[i + 1].front();
    EXPECT_FALSE(next == u'\u3099' || next == u'\u0301' || (next >= 0xDC00 && next < 0xE000));
    EXPECT_FALSE(last >= 0xD800 && last < 0xDC00);
  }
  // With nowhere safe to cut, the line is held whole.
  const std::u16string marks(100, u'\u0301');
  EXPECT_EQ(Cut(marks, 8, 16, 5).size(), 1u);
}

TEST(Chunker, FiltersGiveTheSameResultPieceByPiece) {
  std::mt19937 rng(11);
  static constexpr char16_t kUnits[] = {u'a', u' ', u'\n', u'\r', u'か', u'\u3099', u'\u309A', u'は',
                                        u'e', u'\u0301', u'\u301C', u'\u2212', u'\u2014', u'\u525D',
                                        u'\u00E9', u'漢', u'ア', u'\u1100', u'\u1161'};
  std::u16string text;
  for (int i = 0; i < 4000; ++i) {
    if (rng() % 40 == 0) {
      text += u"\U00020B9F";
    } else {
      text.push_back(kUnits[rng() % std::size(kUnits)]);
    }
  }
  for (int index = 0; index <= 8; ++index) {
    const auto filter = quornel::plugin::FilterFunctions[index];
    std::u16string result;
    TFilterExecInfo info{};
    info.Index = index;
    info.Text = text.c_str();
    const std::u16string whole = filter(&info, result);

    std::u16string pieced;
    Chunker chunker(64, 256, [&](std::u16string_view piece) {
      const std::u16string copy(piece);
      info.Text = copy.c_str();
      pieced += filter(&info, result);
      return true;
    });
    chunker.Buffer() = text;
    ASSERT_TRUE(chunker.Finish());
    EXPECT_EQ(pieced, whole) << "filter " << index;
  }
}

}  // namespace

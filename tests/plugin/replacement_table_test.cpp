#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "common/files.h"
#include "plugin/replacement_table.h"

namespace {

using quornel::testing::Utf16Bytes;

using quornel::plugin::DecodeTableFile;
using quornel::plugin::EncodeTableFile;
using quornel::plugin::ReplacementTable;
using quornel::plugin::TablePathFor;
using Lines = std::vector<std::u16string>;

TEST(TableFile, DecodesEachEncodingAndCutsLines) {
  struct Row {
    std::string bytes;
    Lines expected;
    const char* why;
  };
  const Row rows[] = {
      {"\xFF\xFE" + Utf16Bytes(u"\u301C\uFF5E\r\n\u2212-\r\n"), {u"\u301C\uFF5E", u"\u2212-"}, "UTF-16LE"},
      {"\xFE\xFF" + Utf16Bytes(u"\u301C\uFF5E\r\n", true), {u"\u301C\uFF5E"}, "UTF-16BE"},
      {"\xEF\xBB\xBF\xE3\x80\x9C\xEF\xBD\x9E\n", {u"\u301C\uFF5E"}, "UTF-8"},
      {"\x81\x60\x81\x60\r\n", {u"\uFF5E\uFF5E"}, "no mark: the ANSI code page (932)"},
      {"\xFF\xFE" + Utf16Bytes(u"a\r\rb\nc\r\nd"), {u"a", u"", u"b", u"c", u"d"},
       "lone CR, lone LF, CR LF; the last line needs no break"},
      {"\xFF\xFE" + Utf16Bytes(u"\r\n\r\nx  \r\n"), {u"", u"", u"x  "},
       "empty lines are entries; spaces are kept"},
      {"\xFF\xFE" + Utf16Bytes(u"ab\r\ncd") + std::string("\0\0", 2) + Utf16Bytes(u"ef\r\n"), {u"ab", u"cd"},
       "a zero unit ends the text"},
      {"\xFF\xFE", {}, "only the mark"},
      {"", {}, "empty file"},
      {"\xFF\xFE" + Utf16Bytes(u"x\r\n") + "\x41", {u"x"}, "an odd last byte is no unit"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(DecodeTableFile(row.bytes, 932), row.expected) << row.why;
  }
}

TEST(TableFile, EncodesUtf16LEWithMarkAndCrLfAfterEveryEntry) {
  EXPECT_EQ(EncodeTableFile({}), "\xFF\xFE");
  EXPECT_EQ(EncodeTableFile({u"\u301C", u"", u"\xD83D\xD83D"}),
            "\xFF\xFE" + Utf16Bytes(u"\u301C\r\n\r\n\xD83D\xD83D\r\n"));
  const Lines lines = {u"\u301C\uFF5E", u"", u"\u2212", u"\u2014 x "};
  EXPECT_EQ(DecodeTableFile(EncodeTableFile(lines), 1252), lines);
}

TEST(TableFile, PathIsTheHostPathsDirectoryAndTheFileName) {
  EXPECT_EQ(TablePathFor(u"/home/user/.config/quornel/"), u"/home/user/.config/quornel/Quornel_SJIS.tbl");
  EXPECT_EQ(TablePathFor(u"/opt/host/host.ini"), u"/opt/host/Quornel_SJIS.tbl");
  EXPECT_EQ(TablePathFor(u"host.ini"), u"Quornel_SJIS.tbl");
  EXPECT_EQ(TablePathFor(u""), u"Quornel_SJIS.tbl");
}

TEST(ReplacementTable, FindsTheNearestEntryAndMovesItToTheFront) {
  ReplacementTable table({u"", u"a1", u"b2", u"a3"});
  std::u16string_view found;
  EXPECT_FALSE(table.Find(u'z', found));
  EXPECT_FALSE(table.Find(u'\0', found));  // an empty entry has no key
  EXPECT_FALSE(table.Changed());

  ASSERT_TRUE(table.Find(u'b', found));
  EXPECT_EQ(found, u"2");
  EXPECT_TRUE(table.Changed());
  EXPECT_EQ(table.Entries(), (Lines{u"b2", u"", u"a1", u"a3"}));

  ASSERT_TRUE(table.Find(u'a', found));
  EXPECT_EQ(found, u"1");  // the duplicate further back is never found
  EXPECT_EQ(table.Entries(), (Lines{u"a1", u"b2", u"", u"a3"}));

  table.Remember(u'a', u"");
  ASSERT_TRUE(table.Find(u'a', found));
  EXPECT_EQ(found, u"");  // a one-unit entry removes the unit
  EXPECT_EQ(table.Entries(), (Lines{u"a", u"a1", u"b2", u"", u"a3"}));
}

TEST(ReplacementTable, AHitAtTheFrontChangesNothing) {
  ReplacementTable table({u"x\u00D7", u"y"});
  std::u16string_view found;
  ASSERT_TRUE(table.Find(u'x', found));
  EXPECT_EQ(found, u"\u00D7");
  EXPECT_FALSE(table.Changed());
}

// The table keeps an index of the nearest entry per key; it must answer as
// the plain walk from the front does, whatever the sequence of operations.
TEST(ReplacementTable, AgreesWithAPlainWalkFromTheFront) {
  std::mt19937 rng(7);
  for (int round = 0; round < 50; ++round) {
    Lines model;
    for (int i = rng() % 12; i > 0; --i) {
      model.push_back(rng() % 5 == 0 ? u"" : std::u16string{char16_t(u'a' + rng() % 4), char16_t(u'0' + rng() % 10)});
    }
    ReplacementTable table(model);
    bool modelChanged = false;
    for (int step = 0; step < 100; ++step) {
      const char16_t key = static_cast<char16_t>(u'a' + rng() % 5);
      if (rng() % 4 == 0) {
        const std::u16string replacement(rng() % 3, u'r');
        table.Remember(key, replacement);
        model.insert(model.begin(), key + replacement);
        modelChanged = true;
        continue;
      }
      std::u16string_view found;
      const bool hit = table.Find(key, found);
      std::size_t k = 0;
      while (k < model.size() && (model[k].empty() || model[k][0] != key)) ++k;
      ASSERT_EQ(hit, k < model.size());
      if (!hit) continue;
      ASSERT_EQ(found, std::u16string_view(model[k]).substr(1));
      if (k > 0) {
        std::rotate(model.begin(), model.begin() + k, model.begin() + k + 1);
        modelChanged = true;
      }
      ASSERT_EQ(table.Entries(), model);
      ASSERT_EQ(table.Changed(), modelChanged);
    }
  }
}

}  // namespace

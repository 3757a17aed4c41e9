#include <gtest/gtest.h>

#include <string>

#include "host/text_codec.h"

namespace {

using quornel::host::Decoder;
using quornel::host::Encoder;
using quornel::host::Encoding;

struct Decoded {
  bool ok;
  std::u16string text;
  std::string error;
};

// Feeds `bytes` in pieces of `step` bytes, so characters straddle the pieces.
Decoded Decode(Encoding encoding, const std::string& bytes, std::size_t step) {
  Decoder decoder(encoding, 932);
  Decoded d{true, {}, {}};
  for (std::size_t i = 0; i < bytes.size() && d.ok; i += step) {
    d.ok = decoder.Feed(std::string_view(bytes).substr(i, step), d.text, d.error);
  }
  if (d.ok) d.ok = decoder.Finish(d.text, d.error);
  return d;
}

TEST(Decoder, WellFormedInputDecodesTheSameInAnyPieces) {
  struct Row {
    Encoding encoding;
    std::string bytes;
    std::u16string expected;
  };
  const Row rows[] = {
      {Encoding::Utf8, "a\xE3\x80\x9C\xF0\xA0\xAE\x9F\xC3\xA9\n", u"a\u301C\U00020B9F\u00E9\n"},
      {Encoding::Utf8, "\xEF\xBB\xBFx", u"\uFEFFx"},  // a UTF-8 mark is text and is kept
      {Encoding::Utf16, std::string("\xFF\xFE\x1C\x30\x3D\xD8\x00\xDE", 8), u"\u301C\U0001F600"},
      {Encoding::Utf16, std::string("\xFE\xFF\x30\x1C", 4), u"\u301C"},
      {Encoding::Utf16, std::string("\x1C\x30", 2), u"\u301C"},  // no mark: little-endian
      {Encoding::Utf16BE, std::string("\x30\x1C", 2), u"\u301C"},
      {Encoding::Ansi, "\x82\xA0\x81\x60\nA\x82\xA2", u"\u3042\uFF5E\nA\u3044"},
  };
  for (const Row& row : rows) {
    for (const std::size_t step : {1, 2, 3, 1000}) {
      const Decoded d = Decode(row.encoding, row.bytes, step);
      EXPECT_TRUE(d.ok) << d.error;
      EXPECT_EQ(d.text, row.expected) << "step " << step;
    }
  }
}

TEST(Decoder, RefusesWhatTheProtocolCannotCarryAndNamesTheOffset) {
  struct Row {
    Encoding encoding;
    std::string bytes;
    std::string message;
  };
  const Row rows[] = {
      {Encoding::Utf8, "ab\xFF", "ill-formed UTF-8 at byte offset 2"},
      {Encoding::Utf8, "abc\xC0\x80", "ill-formed UTF-8 at byte offset 3"},  // overlong
      {Encoding::Utf8, "\xED\xA0\x80", "ill-formed UTF-8 at byte offset 0"},  // a surrogate
      {Encoding::Utf8, "\xF4\x90\x80\x80", "ill-formed UTF-8 at byte offset 0"},  // past U+10FFFF
      {Encoding::Utf8, "x\xE3\x80", "ill-formed UTF-8 (the input ends inside a character) at byte offset 1"},
      {Encoding::Utf8, "x\xE3\x80y", "ill-formed UTF-8 at byte offset 1"},
      {Encoding::Utf8, std::string("ab\0c", 4), "NUL character at byte offset 2"},
      {Encoding::Utf16LE, std::string("a\0\0\0", 4), "NUL character at byte offset 2"},
      {Encoding::Utf16LE, std::string("a\0\0\xDC", 4), "unpaired surrogate U+DC00 at byte offset 2"},
      {Encoding::Utf16LE, std::string("\0\xD8" "a\0", 4), "unpaired surrogate U+D800 at byte offset 0"},
      {Encoding::Utf16LE, std::string("a\0\0\xD8", 4), "unpaired surrogate U+D800 at byte offset 2"},
      {Encoding::Utf16LE, std::string("a\0b", 3), "odd number of bytes in UTF-16 input at byte offset 2"},
      {Encoding::Ansi, std::string("ab\n\0", 4), "NUL character at byte offset 3"},
  };
  for (const Row& row : rows) {
    for (const std::size_t step : {1, 1000}) {
      const Decoded d = Decode(row.encoding, row.bytes, step);
      EXPECT_FALSE(d.ok);
      EXPECT_EQ(d.error, row.message) << "step " << step;
    }
  }
}

TEST(Encoder, WritesEachEncodingAndRefusesLoneSurrogatesInUtf8) {
  std::string out, error;
  Encoder utf8(Encoding::Utf8, 932);
  // A pair split across two pieces still becomes one character.
  ASSERT_TRUE(utf8.Encode(u"a\xD83D", out, error));
  ASSERT_TRUE(utf8.Encode(u"\xDE00", out, error));
  ASSERT_TRUE(utf8.Finish(out, error));
  EXPECT_EQ(out, "a\xF0\x9F\x98\x80");

  out.clear();
  Encoder lone(Encoding::Utf8, 932);
  EXPECT_FALSE(lone.Encode(u"a\xDC00", out, error));
  EXPECT_NE(error.find("unpaired surrogate U+DC00"), std::string::npos);
  Encoder trailing(Encoding::Utf8, 932);
  EXPECT_TRUE(trailing.Encode(u"\xD800", out, error));
  EXPECT_FALSE(trailing.Finish(out, error));

  out.clear();
  Encoder utf16(Encoding::Utf16, 932);
  ASSERT_TRUE(utf16.Encode(u"\u301C", out, error));
  ASSERT_TRUE(utf16.Encode(u"\xDC00", out, error));  // UTF-16 carries any unit
  EXPECT_EQ(out, std::string("\xFF\xFE\x1C\x30\x00\xDC", 6));

  out.clear();
  Encoder empty(Encoding::Utf16, 932);
  ASSERT_TRUE(empty.Finish(out, error));
  EXPECT_EQ(out, "\xFF\xFE");

  out.clear();
  Encoder ansi(Encoding::Ansi, 932);
  ASSERT_TRUE(ansi.Encode(u"\u3042\uFF5E", out, error));
  EXPECT_EQ(out, "\x82\xA0\x81\x60");
}

}  // namespace

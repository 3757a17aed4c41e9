// The host's side of text: decoding input files to UTF-16 and encoding the
// filtered text for output, a piece at a time, with errors that name the
// byte offset.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quornel::host {

enum class Encoding { Utf8, Utf16, Utf16LE, Utf16BE, Ansi };

// "utf-8", "utf-16", "utf-16le", "utf-16be", "ansi" (case-insensitive).
std::optional<Encoding> ParseEncoding(std::string_view name);

// Streams bytes in, UTF-16 out. UTF-16 input with a byte order mark follows
// it (the mark is dropped); without one it is little-endian. Input the
// protocol cannot carry is refused: ill-formed UTF-8 or UTF-16 and U+0000,
// which would end the zero-terminated text early.
class Decoder {
 public:
  Decoder(Encoding encoding, std::uint32_t ansiCodePage);

  // Appends what `bytes` completes to `out`. False with a message naming the
  // byte offset on bad input; the decoder is then done.
  [[nodiscard]] bool Feed(std::string_view bytes, std::u16string& out, std::string& error);
  // The end of the input: false if it stops in the middle of a character.
  [[nodiscard]] bool Finish(std::u16string& out, std::string& error);

 private:
  std::string_view TakePending(std::string_view bytes, std::string& joined);
  bool FeedUtf8(std::string_view bytes, std::u16string& out, std::string& error);
  bool FeedUtf16(std::string_view bytes, std::u16string& out, std::string& error);
  bool FeedAnsi(std::string_view bytes, std::u16string& out, std::string& error, bool last);

  Encoding encoding_;
  std::uint32_t ansiCodePage_;
  std::string pending_;        // bytes of an incomplete character (or ANSI line)
  std::uint64_t offset_ = 0;   // input offset of pending_[0]
  bool started_ = false;       // the byte order mark has been looked for
  bool bigEndian_ = false;
  char16_t highSurrogate_ = 0; // UTF-16: a high half waiting for its partner
  std::uint64_t highOffset_ = 0;
};

// UTF-16 in, bytes out. UTF-8 cannot carry an unpaired surrogate, which a
// filter may leave (filter 9 replaces the halves of a pair one by one), so
// encoding one fails with a message. "utf-16" writes little-endian with a
// byte order mark.
class Encoder {
 public:
  Encoder(Encoding encoding, std::uint32_t ansiCodePage);

  [[nodiscard]] bool Encode(std::u16string_view text, std::string& out, std::string& error);
  [[nodiscard]] bool Finish(std::string& out, std::string& error);

 private:
  Encoding encoding_;
  std::uint32_t ansiCodePage_;
  bool started_ = false;
  char16_t highSurrogate_ = 0;  // UTF-8: a high half whose partner may come in the next piece
  std::uint64_t written_ = 0;   // units encoded so far, for messages
};

}  // namespace quornel::host

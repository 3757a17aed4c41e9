#include "host/text_codec.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "platform/unicode_text.h"
#include "platform/convert.h"

namespace quornel::host {

namespace pf = quornel::platform;

namespace {

using platform::IsHighSurrogate;
using platform::IsLowSurrogate;

std::string AtOffset(const std::string& what, std::uint64_t offset) {
  return what + " at byte offset " + std::to_string(offset);
}

std::string Hex(char32_t c) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(c));
  return buffer;
}

}  // namespace

std::optional<Encoding> ParseEncoding(std::string_view name) {
  std::string lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (lower == "utf-8" || lower == "utf8") return Encoding::Utf8;
  if (lower == "utf-16" || lower == "utf16") return Encoding::Utf16;
  if (lower == "utf-16le" || lower == "utf16le") return Encoding::Utf16LE;
  if (lower == "utf-16be" || lower == "utf16be") return Encoding::Utf16BE;
  if (lower == "ansi") return Encoding::Ansi;
  return std::nullopt;
}

Decoder::Decoder(Encoding encoding, std::uint32_t ansiCodePage)
    : encoding_(encoding), ansiCodePage_(ansiCodePage), bigEndian_(encoding == Encoding::Utf16BE) {}

bool Decoder::Feed(std::string_view bytes, std::u16string& out, std::string& error) {
  switch (encoding_) {
    case Encoding::Utf8:
      return FeedUtf8(bytes, out, error);
    case Encoding::Utf16:
    case Encoding::Utf16LE:
    case Encoding::Utf16BE:
      return FeedUtf16(bytes, out, error);
    case Encoding::Ansi:
      return FeedAnsi(bytes, out, error, false);
  }
  return false;
}

bool Decoder::Finish(std::u16string& out, std::string& error) {
  if (encoding_ == Encoding::Ansi) return FeedAnsi({}, out, error, true);
  if (highSurrogate_ != 0) {
    error = AtOffset("unpaired surrogate " + Hex(highSurrogate_), highOffset_);
    return false;
  }
  if (!pending_.empty()) {
    error = AtOffset(encoding_ == Encoding::Utf8 ? "ill-formed UTF-8 (the input ends inside a character)"
                                                 : "odd number of bytes in UTF-16 input",
                     offset_);
    return false;
  }
  return true;
}

// The bytes of a character begun in the last piece, then the new ones; the
// joined bytes live in `joined` when there were any.
std::string_view Decoder::TakePending(std::string_view bytes, std::string& joined) {
  if (pending_.empty()) return bytes;
  joined.reserve(pending_.size() + bytes.size());
  joined.append(pending_).append(bytes);
  pending_.clear();
  return joined;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool Decoder::FeedUtf8(std::string_view bytes, std::u16string& out, std::string& error) {
  std::string joined;
  bytes = TakePending(bytes, joined);
  out.reserve(out.size() + bytes.size());
  std::size_t i = 0;
  const std::size_t n = bytes.size();
  while (i < n) {
    // ASCII runs are most of many texts; take them without the general path.
    while (i < n && static_cast<unsigned char>(bytes[i]) < 0x80) {
      if (bytes[i] == '\0') {
        error = AtOffset("NUL character", offset_ + i);
        return false;
      }
      out.push_back(static_cast<char16_t>(bytes[i++]));
    }
    if (i >= n) break;
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 0;
    char32_t c = 0;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF) {
      length = 2;
      c = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
      length = 3;
      c = b0 & 0x0F;
      if (b0 == 0xE0) low = 0xA0;
      if (b0 == 0xED) high = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
      length = 4;
      c = b0 & 0x07;
      if (b0 == 0xF0) low = 0x90;
      if (b0 == 0xF4) high = 0x8F;
    } else {
      error = AtOffset("ill-formed UTF-8", offset_ + i);
      return false;
    }
    std::size_t k = 1;
    for (; k < length && i + k < n; ++k) {
      const auto b = static_cast<unsigned char>(bytes[i + k]);
      if (b < (k == 1 ? low : 0x80) || b > (k == 1 ? high : 0xBF)) {
        error = AtOffset("ill-formed UTF-8", offset_ + i);
        return false;
      }
      c = (c << 6) | (b & 0x3F);
    }
    if (k < length) {  // the character goes on in the next piece
      pending_ = std::string(bytes.substr(i));
      offset_ += i;
      return true;
    }
    platform::AppendUtf16(out, c);
    i += length;
  }
  offset_ += n;
  return true;
}

bool Decoder::FeedUtf16(std::string_view bytes, std::u16string& out, std::string& error) {
  std::string joined;
  bytes = TakePending(bytes, joined);
  std::size_t i = 0;
  if (!started_) {
    if (bytes.size() < 2) {
      pending_ = std::string(bytes);
      return true;
    }
    started_ = true;
    if (encoding_ == Encoding::Utf16) {
      if (bytes.starts_with("\xFF\xFE")) {
        i = 2;
      } else if (bytes.starts_with("\xFE\xFF")) {
        i = 2;
        bigEndian_ = true;
      }
    }
  }
  out.reserve(out.size() + bytes.size() / 2);
  for (; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    const char16_t u = static_cast<char16_t>(bigEndian_ ? (a << 8) | b : (b << 8) | a);
    const std::uint64_t at = offset_ + i;
    if (highSurrogate_ != 0) {
      if (!IsLowSurrogate(u)) {
        error = AtOffset("unpaired surrogate " + Hex(highSurrogate_), highOffset_);
        return false;
      }
      out.push_back(highSurrogate_);
      out.push_back(u);
      highSurrogate_ = 0;
      continue;
    }
    if (u == 0) {
      error = AtOffset("NUL character", at);
      return false;
    }
    if (IsHighSurrogate(u)) {
      highSurrogate_ = u;
      highOffset_ = at;
    } else if (IsLowSurrogate(u)) {
      error = AtOffset("unpaired surrogate " + Hex(u), at);
      return false;
    } else {
      out.push_back(u);
    }
  }
  pending_ = std::string(bytes.substr(i));
  offset_ += i;
  return true;
}

// A line feed byte is never the second byte of a double-byte character in
// these code pages, so whole lines can be decoded on their own.
bool Decoder::FeedAnsi(std::string_view bytes, std::u16string& out, std::string& error, bool last) {
  if (const auto zero = bytes.find('\0'); zero != std::string_view::npos) {
    error = AtOffset("NUL character", offset_ + pending_.size() + zero);
    return false;
  }
  pending_.append(bytes);
  const std::size_t cut = last ? pending_.size() : pending_.rfind('\n') + 1;  // npos + 1 == 0
  if (cut == 0) return true;
  if (!pf::AppendMultiByteAsWide(ansiCodePage_, std::string_view(pending_).substr(0, cut), out)) {
    error = "cannot decode the input in code page " + std::to_string(ansiCodePage_);
    return false;
  }
  offset_ += cut;
  pending_.erase(0, cut);
  return true;
}

Encoder::Encoder(Encoding encoding, std::uint32_t ansiCodePage)
    : encoding_(encoding), ansiCodePage_(ansiCodePage) {}

bool Encoder::Encode(std::u16string_view text, std::string& out, std::string& error) {
  switch (encoding_) {
    case Encoding::Utf8: {
      out.reserve(out.size() + text.size() * 3);
      for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (highSurrogate_ != 0) {
          if (!IsLowSurrogate(c)) {
            error = "the output holds an unpaired surrogate " + Hex(highSurrogate_) +
                    ", which UTF-8 cannot carry; use --output-encoding utf-16";
            return false;
          }
          c = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (c - 0xDC00);
          highSurrogate_ = 0;
        } else if (IsHighSurrogate(c)) {
          highSurrogate_ = static_cast<char16_t>(c);
          continue;
        } else if (IsLowSurrogate(c)) {
          error = "the output holds an unpaired surrogate " + Hex(c) +
                  ", which UTF-8 cannot carry; use --output-encoding utf-16";
          return false;
        }
        platform::AppendUtf8(out, c);
      }
      break;
    }
    case Encoding::Utf16:
    case Encoding::Utf16LE:
    case Encoding::Utf16BE: {
      if (!started_ && encoding_ == Encoding::Utf16) out.append("\xFF\xFE");
      const bool big = encoding_ == Encoding::Utf16BE;
      for (const char16_t u : text) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out.push_back(big ? hi : lo);
        out.push_back(big ? lo : hi);
      }
      break;
    }
    case Encoding::Ansi: {
      if (!pf::AppendWideAsMultiByte(ansiCodePage_, text, out)) {
        error = "cannot encode the output in code page " + std::to_string(ansiCodePage_);
        return false;
      }
      break;
    }
  }
  started_ = true;
  written_ += text.size();
  return true;
}

bool Encoder::Finish(std::string& out, std::string& error) {
  if (!started_ && encoding_ == Encoding::Utf16) {
    out.append("\xFF\xFE");
    started_ = true;
  }
  if (highSurrogate_ != 0) {
    error = "the output ends with an unpaired surrogate " + Hex(highSurrogate_) +
            ", which UTF-8 cannot carry; use --output-encoding utf-16";
    return false;
  }
  return true;
}

}  // namespace quornel::host

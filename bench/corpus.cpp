#include "bench/corpus.h"

#include "platform/unicode_text.h"

#include <cstdio>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <random>
#include <string_view>

namespace quornel::bench {
namespace {

constexpr std::size_t kGeneratedUnits = 1 << 20;

void Append(std::u16string& out, char32_t c) { platform::AppendUtf16(out, c); }

// Prose-like mix: mostly hiragana and common kanji, some katakana, ASCII words
// and digits, punctuation, and a sprinkling of the characters the filters act
// on (wave dash, minus signs, dashes, JIS X 0213 kanji, decomposed kana,
// characters Shift_JIS cannot show).
std::u16string Generated() {
  std::mt19937 rng(20261211);
  auto pick = [&](std::uint32_t n) { return static_cast<std::uint32_t>(rng() % n); };
  static constexpr char32_t kSpecial[] = {0x301C, 0xFF5E, 0x2212, 0xFF0D, 0x2014, 0x2015,
                                          0x2013, 0x525D, 0x5861, 0x9830, 0x20B9F, 0x5265,
                                          0x00A9, 0x00E9, 0x2460, 0x1F600, 0x00A5, 0x203E};
  std::u16string out;
  out.reserve(kGeneratedUnits + 64);
  std::size_t lineLength = 0;
  while (out.size() < kGeneratedUnits) {
    const std::uint32_t r = pick(1000);
    if (r < 430) {
      Append(out, 0x3041 + pick(0x53));  // hiragana
    } else if (r < 700) {
      Append(out, 0x4E00 + pick(0x5000));  // CJK unified ideographs, common block
    } else if (r < 800) {
      Append(out, 0x30A1 + pick(0x59));  // katakana
    } else if (r < 880) {
      Append(out, U'a' + pick(26));
    } else if (r < 910) {
      Append(out, U'0' + pick(10));
    } else if (r < 960) {
      static constexpr char32_t kPunct[] = {0x3001, 0x3002, 0x300C, 0x300D, 0xFF08, 0xFF09,
                                            U' ', U',', U'.'};
      Append(out, kPunct[pick(std::size(kPunct))]);
    } else if (r < 985) {
      // Decomposed voiced kana, as macOS writes file names.
      Append(out, 0x304B + 2 * pick(8));
      Append(out, 0x3099);
    } else {
      Append(out, kSpecial[pick(std::size(kSpecial))]);
    }
    if (++lineLength > 40 + pick(40)) {
      out.push_back(u'\n');
      lineLength = 0;
    }
  }
  return out;
}

// Decode UTF-8 leniently: the man pages are UTF-8; anything ill-formed or a
// NUL is skipped so the corpus stays valid protocol text.
void AppendUtf8(std::u16string& out, std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto b0 = static_cast<unsigned char>(bytes[i]);
    char32_t c = 0;
    std::size_t len = 0;
    if (b0 < 0x80) {
      c = b0;
      len = 1;
    } else if (b0 >= 0xC2 && b0 < 0xE0) {
      c = b0 & 0x1F;
      len = 2;
    } else if (b0 >= 0xE0 && b0 < 0xF0) {
      c = b0 & 0x0F;
      len = 3;
    } else if (b0 >= 0xF0 && b0 < 0xF5) {
      c = b0 & 0x07;
      len = 4;
    } else {
      ++i;
      continue;
    }
    if (i + len > bytes.size()) break;
    bool ok = true;
    for (std::size_t k = 1; k < len; ++k) {
      const auto b = static_cast<unsigned char>(bytes[i + k]);
      if ((b & 0xC0) != 0x80) ok = false;
      c = (c << 6) | (b & 0x3F);
    }
    if (ok && c != 0 && !(c >= 0xD800 && c < 0xE000) && c < 0x110000) Append(out, c);
    i += ok ? len : 1;
  }
}

std::u16string ManpagesJa() {
  namespace fs = std::filesystem;
  const fs::path root = "/usr/share/man/ja";
  std::error_code ec;
  if (!fs::is_directory(root, ec)) return {};
  std::u16string out;
  for (const auto& entry : fs::recursive_directory_iterator(root, ec)) {
    if (!entry.is_regular_file(ec)) continue;
    const std::string path = entry.path().string();
    const bool gz = path.size() > 3 && path.compare(path.size() - 3, 3, ".gz") == 0;
    const std::string command = (gz ? "zcat -- '" : "cat -- '") + path + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) continue;
    std::string bytes;
    char buffer[1 << 14];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0) bytes.append(buffer, n);
    AppendUtf8(out, bytes);
  }
  return out;
}

}  // namespace

const std::vector<Corpus>& Corpora() {
  static const std::vector<Corpus> corpora = [] {
    std::vector<Corpus> list;
    list.push_back({"generated", Generated()});
    if (std::u16string man = ManpagesJa(); !man.empty()) {
      list.push_back({"manpages-ja", std::move(man)});
    }
    return list;
  }();
  return corpora;
}

}  // namespace quornel::bench

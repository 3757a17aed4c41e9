#include "host/demo.h"

#include <algorithm>
#include <string>
#include <vector>

#include "host/display.h"
#include "host/text_codec.h"
#include "platform/files.h"
#include "platform/unicode_text.h"

namespace quornel::host {
namespace {

std::vector<std::u16string_view> Lines(std::u16string_view text) {
  std::vector<std::u16string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find(u'\n');
    const std::size_t length = end == std::u16string_view::npos ? text.size() : end + 1;
    lines.push_back(text.substr(0, length));
    text.remove_prefix(length);
  }
  return lines;
}

std::u32string CodePointsOf(std::u16string_view text) {
  std::u32string out;
  platform::ForEachCodePoint(text, [&out](char32_t c, bool) { out.push_back(c); });
  return out;
}

std::u16string Utf16Of(std::u32string_view codePoints) {
  std::u16string out;
  for (const char32_t c : codePoints) platform::AppendUtf16(out, c);
  return out;
}

// What changed in a line, as "before (U+...) -> after (U+...)" pieces: a
// longest common subsequence of code points; lines are short.
std::string Changes(std::u16string_view before, std::u16string_view after) {
  const std::u32string a = CodePointsOf(before), b = CodePointsOf(after);
  std::vector<std::vector<int>> lcs(a.size() + 1, std::vector<int>(b.size() + 1, 0));
  for (std::size_t i = a.size(); i-- > 0;) {
    for (std::size_t j = b.size(); j-- > 0;) {
      lcs[i][j] = a[i] == b[j] ? lcs[i + 1][j + 1] + 1 : std::max(lcs[i + 1][j], lcs[i][j + 1]);
    }
  }
  std::string out;
  std::size_t i = 0, j = 0;
  while (i < a.size() || j < b.size()) {
    if (i < a.size() && j < b.size() && a[i] == b[j]) {
      ++i, ++j;
      continue;
    }
    const std::size_t i0 = i, j0 = j;
    while ((i < a.size() || j < b.size()) && !(i < a.size() && j < b.size() && a[i] == b[j])) {
      if (j >= b.size() || (i < a.size() && lcs[i + 1][j] >= lcs[i][j + 1])) {
        ++i;
      } else {
        ++j;
      }
    }
    const std::u16string from = Utf16Of(std::u32string_view(a).substr(i0, i - i0));
    const std::u16string to = Utf16Of(std::u32string_view(b).substr(j0, j - j0));
    if (!out.empty()) out += ";  ";
    out += from.empty() ? "(nothing)" : Visible(from) + " (" + CodePoints(from) + ")";
    out += " -> ";
    out += to.empty() ? "(nothing)" : Visible(to) + " (" + CodePoints(to) + ")";
  }
  return out;
}

std::u16string_view WithoutBreak(std::u16string_view s) {
  while (!s.empty() && (s.back() == u'\n' || s.back() == u'\r')) s.remove_suffix(1);
  return s;
}

// A changed line before and after, then each change with its code points:
// NFD, for one, changes nothing the eye can see.
void ShowChange(std::u16string_view before, std::u16string_view after, std::ostream& out) {
  before = WithoutBreak(before);
  after = WithoutBreak(after);
  out << "    - " << Utf8ForDisplay(before) << "\n"
      << "    + " << Utf8ForDisplay(after) << "\n"
      << "      " << Changes(before, after) << "\n";
}

}  // namespace

int Demo(PluginHost& plugin, const std::string& samplePath, std::ostream& out, std::ostream& err) {
  std::string bytes;
  std::string error;
  if (!platform::ReadWholeFile(samplePath, bytes, error)) {
    err << "quornel: " << error << "\n";
    return 1;
  }
  std::u16string text;
  Decoder decoder(Encoding::Utf8, 932);
  if (!decoder.Feed(bytes, text, error) || !decoder.Finish(text, error)) {
    err << "quornel: " << samplePath << ": " << error << "\n";
    return 1;
  }
  plugin.Init(u"", u"");
  const auto filters = plugin.Filters();
  const auto inputLines = Lines(text);
  out << "Sample: " << samplePath << " (" << inputLines.size() << " lines)\n";
  // Filter 9 asks the user about each unit; quornel run 9 shows it.
  for (int index = 0; index <= 8; ++index) {
    const std::u16string result = plugin.Execute(index, text.c_str());
    out << "\n[" << index << "] " << kShortNames[index] << "  "
        << Utf8ForDisplay(filters[index].name) << "\n    "
        << Utf8ForDisplay(filters[index].description) << "\n";
    const auto outputLines = Lines(result);
    std::size_t changed = 0;
    for (std::size_t i = 0; i < inputLines.size() && i < outputLines.size(); ++i) {
      if (inputLines[i] == outputLines[i]) continue;
      ++changed;
      ShowChange(inputLines[i], outputLines[i], out);
    }
    if (changed == 0) out << "    (no line changed)\n";
  }
  plugin.Finish();
  if (const std::string messages = plugin.TakeMessages(); !messages.empty()) err << messages;
  return 0;
}

}  // namespace quornel::host

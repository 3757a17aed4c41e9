#include "host/demo.h"

#include <vector>

#include "host/display.h"
#include "host/text_codec.h"
#include "platform/files.h"

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

// A changed line, shown whole before and after, then the part that changed
// with its code points: NFD, for one, changes nothing the eye can see.
void ShowChange(std::u16string_view before, std::u16string_view after, std::ostream& out) {
  auto trimBreak = [](std::u16string_view s) {
    while (!s.empty() && (s.back() == u'\n' || s.back() == u'\r')) s.remove_suffix(1);
    return s;
  };
  before = trimBreak(before);
  after = trimBreak(after);
  std::size_t prefix = 0;
  while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) {
    ++prefix;
  }
  std::size_t suffix = 0;
  while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  const auto changedBefore = before.substr(prefix, before.size() - prefix - suffix);
  const auto changedAfter = after.substr(prefix, after.size() - prefix - suffix);
  out << "    - " << Utf8ForDisplay(before) << "\n"
      << "    + " << Utf8ForDisplay(after) << "\n"
      << "      " << (changedBefore.empty() ? "(nothing)" : CodePoints(changedBefore)) << "  =>  "
      << (changedAfter.empty() ? "(nothing)" : CodePoints(changedAfter)) << "\n";
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

#include "plugin/replacement_table.h"

#include <algorithm>

#include "platform/files.h"
#include "platform/convert.h"

namespace quornel::plugin {

namespace pf = quornel::platform;

void ReplacementTable::Assign(std::vector<std::u16string> entries) {
  entries_.clear();
  entries_.reserve(entries.size());
  nearest_.assign(nearest_.size(), -1);
  front_ = entries.size();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::u16string& text = entries[i];
    // Empty lines have no key; of two entries with one key the first is nearer.
    if (!text.empty() && nearest_[text[0]] < 0) nearest_[text[0]] = static_cast<std::int32_t>(i);
    entries_.push_back({std::move(entries[i]), front_ - i});
  }
  changed_ = false;
}

bool ReplacementTable::Find(char16_t unit, std::u16string_view& replacement) {
  const std::int32_t found = nearest_[unit];
  if (found < 0) return false;
  Entry& entry = entries_[static_cast<std::size_t>(found)];
  if (entry.stamp != front_) {
    entry.stamp = ++front_;
    changed_ = true;
  }
  replacement = std::u16string_view(entry.text).substr(1);
  return true;
}

void ReplacementTable::Remember(char16_t unit, std::u16string_view replacement) {
  std::u16string text(1, unit);
  text.append(replacement);
  nearest_[unit] = static_cast<std::int32_t>(entries_.size());
  entries_.push_back({std::move(text), ++front_});
  changed_ = true;
}

std::vector<std::u16string> ReplacementTable::Entries() const {
  std::vector<const Entry*> order;
  order.reserve(entries_.size());
  for (const Entry& entry : entries_) order.push_back(&entry);
  std::sort(order.begin(), order.end(),
            [](const Entry* a, const Entry* b) { return a->stamp > b->stamp; });
  std::vector<std::u16string> texts;
  texts.reserve(order.size());
  for (const Entry* entry : order) texts.push_back(entry->text);
  return texts;
}

namespace {

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string text(bytes.size() / 2, u'\0');  // an odd last byte is no unit
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto a = static_cast<unsigned char>(bytes[2 * i]);
    const auto b = static_cast<unsigned char>(bytes[2 * i + 1]);
    text[i] = static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
  }
  return text;
}

// Undecodable bytes become what the platform's decoder makes of them.
std::u16string DecodeCodePage(std::string_view bytes, std::uint32_t codePage) {
  std::u16string text;
  pf::AppendMultiByteAsWide(codePage, bytes, text);
  return text;
}

}  // namespace

std::vector<std::u16string> DecodeTableFile(std::string_view bytes, std::uint32_t ansiCodePage) {
  std::u16string text;
  if (bytes.starts_with("\xFF\xFE")) {
    text = DecodeUtf16(bytes.substr(2), false);
  } else if (bytes.starts_with("\xFE\xFF")) {
    text = DecodeUtf16(bytes.substr(2), true);
  } else if (bytes.starts_with("\xEF\xBB\xBF")) {
    text = DecodeCodePage(bytes.substr(3), pf::CP_UTF8);
  } else {
    text = DecodeCodePage(bytes, ansiCodePage);
  }
  if (const auto zero = text.find(u'\0'); zero != std::u16string::npos) text.resize(zero);

  std::vector<std::u16string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c != u'\r' && c != u'\n') continue;
    lines.emplace_back(text, start, i - start);
    if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text, start);
  return lines;
}

std::string EncodeTableFile(const std::vector<std::u16string>& entries) {
  std::string bytes = "\xFF\xFE";
  auto put = [&bytes](char16_t unit) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  };
  for (const std::u16string& entry : entries) {
    for (const char16_t unit : entry) put(unit);
    put(u'\r');
    put(u'\n');
  }
  return bytes;
}

std::u16string TablePathFor(std::u16string_view firstHostPath) {
  const std::size_t cut = firstHostPath.find_last_of(pf::kPathSeparators);
  std::u16string path(cut == std::u16string_view::npos ? std::u16string_view()
                                                       : firstHostPath.substr(0, cut + 1));
  path.append(kTableFileName);
  return path;
}

}  // namespace quornel::plugin

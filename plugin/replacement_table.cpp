#include "plugin/replacement_table.h"

#include "platform/files.h"
#include "platform/winapi.h"

namespace quornel::plugin {

namespace pf = quornel::platform;

void ReplacementTable::Assign(std::vector<std::u16string> entries) {
  entries_.assign(std::make_move_iterator(entries.begin()), std::make_move_iterator(entries.end()));
  hasKey_.assign(hasKey_.size(), false);
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    if (it->empty() || hasKey_[(*it)[0]]) continue;  // empty lines have no key
    nearest_[(*it)[0]] = it;
    hasKey_[(*it)[0]] = true;
  }
  changed_ = false;
}

bool ReplacementTable::Find(char16_t unit, std::u16string_view& replacement) {
  if (!hasKey_[unit]) return false;
  const Entry entry = nearest_[unit];
  if (entry != entries_.begin()) {
    entries_.splice(entries_.begin(), entries_, entry);
    changed_ = true;
  }
  replacement = std::u16string_view(*entry).substr(1);
  return true;
}

void ReplacementTable::Remember(char16_t unit, std::u16string_view replacement) {
  std::u16string entry(1, unit);
  entry.append(replacement);
  entries_.push_front(std::move(entry));
  nearest_[unit] = entries_.begin();
  hasKey_[unit] = true;
  changed_ = true;
}

std::vector<std::u16string> ReplacementTable::Entries() const {
  return {entries_.begin(), entries_.end()};
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

std::u16string DecodeCodePage(std::string_view bytes, std::uint32_t codePage) {
  if (bytes.empty()) return {};
  const int length = static_cast<int>(bytes.size());
  const int size = pf::MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
  if (size <= 0) return {};
  std::u16string text(static_cast<std::size_t>(size), u'\0');
  const int written = pf::MultiByteToWideChar(codePage, 0, bytes.data(), length, text.data(), size);
  text.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
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

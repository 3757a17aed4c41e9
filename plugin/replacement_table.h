// The replacement table: answers from the replacement dialog, most recently
// used first, kept in "Quornel_SJIS.tbl" as UTF-16LE lines.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quornel::plugin {

inline constexpr std::u16string_view kTableFileName = u"Quornel_SJIS.tbl";

// An ordered list of entries; an entry's first unit is its key and the rest
// its replacement. Lookups find the entry nearest the front and move it
// there; a new entry is inserted at the front.
class ReplacementTable {
 public:
  ReplacementTable() = default;
  explicit ReplacementTable(std::vector<std::u16string> entries) { Assign(std::move(entries)); }

  void Assign(std::vector<std::u16string> entries);

  // The replacement for `unit`, or nothing; a hit behind the front moves to
  // the front and marks the table changed. The view stays valid until the
  // next Remember or Assign.
  [[nodiscard]] bool Find(char16_t unit, std::u16string_view& replacement);
  void Remember(char16_t unit, std::u16string_view replacement);

  [[nodiscard]] bool Changed() const { return changed_; }
  [[nodiscard]] std::vector<std::u16string> Entries() const;
  [[nodiscard]] std::size_t Size() const { return entries_.size(); }

 private:
  // The list order is kept as a recency stamp per entry instead of by moving
  // entries about: the front is the highest stamp, a move to the front or a
  // new entry takes a stamp above all others, and the entries are sorted by
  // stamp only when the list is read out. The order is the same.
  struct Entry {
    std::u16string text;
    std::uint64_t stamp;
  };
  std::vector<Entry> entries_;
  // The entry nearest the front for each key, or -1. Moving an entry to the
  // front, or adding one there, changes no other key's nearest entry.
  std::vector<std::int32_t> nearest_ = std::vector<std::int32_t>(0x10000, -1);
  std::uint64_t front_ = 0;  // the stamp of the front entry
  bool changed_ = false;
};

// The file's lines: the encoding comes from the first bytes (FF FE UTF-16LE,
// FE FF UTF-16BE, EF BB BF UTF-8, otherwise the ANSI code page); a zero unit
// ends the text; lines end at CR LF, lone CR or lone LF, and a break at the
// very end adds no empty line.
std::vector<std::u16string> DecodeTableFile(std::string_view bytes, std::uint32_t ansiCodePage);

// FF FE, then every entry and CR LF in UTF-16LE.
std::string EncodeTableFile(const std::vector<std::u16string>& entries);

// The table path for a host path: its directory part, then the file name.
std::u16string TablePathFor(std::u16string_view firstHostPath);

}  // namespace quornel::plugin

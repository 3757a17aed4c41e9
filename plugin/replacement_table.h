// The replacement table: answers from the replacement dialog, most recently
// used first, kept in "Quornel_SJIS.tbl" as UTF-16LE lines.
#pragma once

#include <cstdint>
#include <list>
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
  // A copy's index would point into the original's entries; moving keeps them.
  ReplacementTable(const ReplacementTable&) = delete;
  ReplacementTable& operator=(const ReplacementTable&) = delete;
  ReplacementTable(ReplacementTable&&) = default;
  ReplacementTable& operator=(ReplacementTable&&) = default;

  void Assign(std::vector<std::u16string> entries);

  // The replacement for `unit`, or nothing; a hit behind the front moves to
  // the front and marks the table changed. The view stays valid until the
  // entry is dropped with the table.
  [[nodiscard]] bool Find(char16_t unit, std::u16string_view& replacement);
  void Remember(char16_t unit, std::u16string_view replacement);

  [[nodiscard]] bool Changed() const { return changed_; }
  [[nodiscard]] std::vector<std::u16string> Entries() const;
  [[nodiscard]] std::size_t Size() const { return entries_.size(); }

 private:
  using Entry = std::list<std::u16string>::iterator;
  std::list<std::u16string> entries_;
  // The entry nearest the front for each key. Moving an entry to the front,
  // or inserting one there, changes no other key's nearest entry, so lookups
  // cost one probe however long the table grows.
  // One slot per unit, filled where `hasKey_` says so.
  std::vector<Entry> nearest_ = std::vector<Entry>(0x10000);
  std::vector<bool> hasKey_ = std::vector<bool>(0x10000);
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

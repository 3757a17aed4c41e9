// The shape of one generated code page table. gen_codepage_tables.py writes one
// instance per vendor best-fit file (cpNNN.cpp) and the lookup by number
// (codepage_index.cpp); the conversion calls in platform/posix read them.
#pragma once

#include <cstdint>

namespace quornel::platform::codepages {

// Marks a byte, a byte pair or a UTF-16 unit the table has no mapping for.
// No table maps to U+FFFF, and no code page has 0xFF as a lead byte, so the
// value is free on both sides (the generator checks this).
inline constexpr std::uint16_t kUnmapped = 0xFFFF;

struct CodePageTable {
  std::uint16_t codePage;
  std::uint8_t maxCharSize;     // 1 single-byte, 2 double-byte
  std::uint16_t defaultChar;    // bytes written for an unmappable unit (high byte 0: one byte)
  char16_t unicodeDefault;      // unit produced for an unmapped byte or pair
  std::uint8_t leadRanges[12];  // up to six (first, last) pairs, zero-terminated

  // Decoding. leadRow[b] is 0 for a byte that stands alone, otherwise the row
  // of `pairs` (plus one) holding the 256 trail bytes of lead byte b.
  const char16_t* single;       // [256]
  const std::uint8_t* leadRow;  // [256]
  const char16_t* pairs;        // [rows][256]

  // Encoding, a two-level table: block = encodeIndex[u >> 8], and
  // encodeBlocks[block * 256 + (u & 0xFF)] holds the bytes as in `defaultChar`
  // (best-fit entries included). Identical blocks are stored once.
  const std::uint16_t* encodeIndex;   // [256]
  const std::uint16_t* encodeBlocks;  // [blocks][256]

  [[nodiscard]] char16_t DecodeSingle(std::uint8_t b) const { return single[b]; }
  [[nodiscard]] char16_t DecodePair(std::uint8_t lead, std::uint8_t trail) const {
    return pairs[(leadRow[lead] - 1u) * 256u + trail];
  }
  [[nodiscard]] std::uint16_t Encode(char16_t u) const {
    return encodeBlocks[encodeIndex[u >> 8] * 256u + (u & 0xFFu)];
  }
};

// The table of `codePage`, or null when there is none. A switch over the
// numbers, so the lookup costs no more than a jump.
[[nodiscard]] const CodePageTable* FindCodePageTable(unsigned codePage);

}  // namespace quornel::platform::codepages

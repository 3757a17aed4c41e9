// An independent reader of the vendor best-fit files, for the tests that hold
// the generated tables and the conversion calls against the raw data. It
// shares no code with the generator: it reads the file as one stream of
// fields rather than line by line.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quornel::testsupport {

struct BestFitTable {
  unsigned codePage = 0;
  unsigned maxCharSize = 0;
  unsigned defaultChar = 0;
  char16_t unicodeDefault = 0;
  std::map<std::uint8_t, char16_t> single;
  std::vector<std::pair<std::uint8_t, std::uint8_t>> leadRanges;
  std::map<std::uint16_t, char16_t> pairs;    // lead << 8 | trail
  std::map<char16_t, std::uint16_t> wide;     // unit -> bytes, high byte the lead

  bool IsLead(std::uint8_t b) const;
};

// Reads one bestfitNNN.txt; nullopt (with `error` set) if it does not parse.
std::optional<BestFitTable> ReadBestFit(const std::string& path, std::string& error);

// The code pages the data directory holds, from its file names.
std::vector<unsigned> BestFitCodePages(const std::string& dir);

}  // namespace quornel::testsupport

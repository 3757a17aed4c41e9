// Unicode's normalization conformance files, run through TuNormalize and
// TuIsNormalized: the 5.1.0 file in full, and the current file on every line
// whose characters ICU's Unicode version already knows. Each line is checked
// in all five columns and four forms, once through the normalization library
// and once through the folding call with the library removed.
#include <gtest/gtest.h>
#include <unicode/uchar.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/testing.h"
#include "textunits/TextUnits.h"

namespace seam = quornel::platform::testing;

namespace {

struct TestLine {
  int number;
  std::array<std::u16string, 5> columns;
  std::vector<char32_t> codePoints;  // of all columns
};

struct TestFile {
  UVersionInfo version{};
  std::vector<TestLine> lines;
  std::vector<bool> listedAlone;  // code points with a line of their own under @Part1
};

void AppendUtf16(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out.push_back(static_cast<char16_t>(c));
  } else {
    out.push_back(static_cast<char16_t>(0xD7C0 + (c >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 | (c & 0x3FF)));
  }
}

bool ReadTestFile(const std::filesystem::path& path, TestFile& file) {
  std::ifstream in(path);
  if (!in) return false;
  file.listedAlone.assign(0x110000, false);
  std::string line;
  std::string section;
  for (int number = 1; std::getline(in, line); ++number) {
    if (number == 1) {  // "# NormalizationTest-17.0.0.txt"
      const auto dash = line.find('-');
      if (dash != std::string::npos) u_versionFromString(file.version, line.substr(dash + 1).c_str());
    }
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '@') {
      section = line.substr(0, line.find_first_of(" \t#"));
      continue;
    }
    TestLine test{number, {}, {}};
    std::istringstream fields(line);
    std::string field;
    for (std::u16string& column : test.columns) {
      if (!std::getline(fields, field, ';')) return false;
      std::istringstream hex(field);
      unsigned long c = 0;
      while (hex >> std::hex >> c) {
        AppendUtf16(column, static_cast<char32_t>(c));
        test.codePoints.push_back(static_cast<char32_t>(c));
      }
    }
    if (section == "@Part1" && test.codePoints.size() >= 1) {
      // Under @Part1 the first column holds a single code point.
      file.listedAlone[test.codePoints[0]] = true;
    }
    file.lines.push_back(std::move(test));
  }
  return !file.lines.empty();
}

bool Newer(const UVersionInfo a, const UVersionInfo b) { return std::memcmp(a, b, U_MAX_VERSION_LENGTH) > 0; }

// A code point ICU's data cannot normalize as the file expects: one it has no
// age for (unassigned to ICU) or one newer than ICU's Unicode version.
bool UnknownToIcu(char32_t c) {
  UVersionInfo age, icu, none{};
  u_charAge(static_cast<UChar32>(c), age);
  u_getUnicodeVersion(icu);
  return std::memcmp(age, none, U_MAX_VERSION_LENGTH) == 0 || Newer(age, icu);
}

std::string Hex(const std::u16string& s) {
  std::string out;
  char buffer[8];
  for (char16_t u : s) {
    std::snprintf(buffer, sizeof buffer, "%04X ", static_cast<unsigned>(u));
    out += buffer;
  }
  return out;
}

constexpr TNORM_FORM kForms[] = {NormalizationC, NormalizationD, NormalizationKC, NormalizationKD};
constexpr const char* kFormNames[] = {"NFC", "NFD", "NFKC", "NFKD"};

// The column each form must give for each column: c2 = NFC(c1..c3),
// c4 = NFC(c4..c5), c3 = NFD(c1..c3), c5 = NFD(c4..c5), c4 = NFKC(all),
// c5 = NFKD(all).
constexpr int kExpectedColumn[4][5] = {
    {1, 1, 1, 3, 3}, {2, 2, 2, 4, 4}, {3, 3, 3, 3, 3}, {4, 4, 4, 4, 4}};

struct Tally {
  int checked = 0;
  int skipped = 0;
  int failures = 0;
  void Fail(const std::string& message) {
    if (++failures <= 20) ADD_FAILURE() << message;
  }
};

void CheckLine(const TestLine& test, bool libraryPresent, Tally& tally) {
  for (int f = 0; f < 4; ++f) {
    for (int col = 0; col < 5; ++col) {
      const std::u16string& source = test.columns[col];
      const std::u16string& expected = test.columns[kExpectedColumn[f][col]];
      WideString result;
      if (!TuNormalize(source, result, kForms[f]) || result != expected) {
        tally.Fail("line " + std::to_string(test.number) + " " + kFormNames[f] + "(c" +
                   std::to_string(col + 1) + ") = " + Hex(result) + "expected " + Hex(expected) +
                   (libraryPresent ? "" : " (folding)"));
      }
      if (libraryPresent && TuIsNormalized(source, kForms[f]) != (source == expected)) {
        tally.Fail("line " + std::to_string(test.number) + " TuIsNormalized(c" +
                   std::to_string(col + 1) + ", " + kFormNames[f] + ") wrong");
      }
    }
  }
}

// Every code point without a line of its own under @Part1 is left alone by all
// four forms (the file's own rule), as far as the file's version knows it.
void CheckUnlistedCodePoints(const TestFile& file, Tally& tally) {
  for (char32_t c = 0; c < 0x110000; ++c) {
    // U+0000 ends a text for TuNormalize, so it has nothing to compare.
    if (c == 0 || (c >= 0xD800 && c < 0xE000) || file.listedAlone[c]) continue;
    UVersionInfo age;
    u_charAge(static_cast<UChar32>(c), age);
    if (Newer(age, file.version)) {
      ++tally.skipped;
      continue;
    }
    ++tally.checked;
    std::u16string text;
    AppendUtf16(text, c);
    for (int f = 0; f < 4; ++f) {
      WideString result;
      if (!TuNormalize(text, result, kForms[f]) || result != text) {
        tally.Fail("U+" + Hex(text) + "changed by " + kFormNames[f]);
      }
    }
  }
}

class NormalizationConformance : public ::testing::Test {
 protected:
  void TearDown() override { seam::SetNormalizationLibraryPresent(true); }

  void Run(const char* relativePath, bool onlyWhatIcuKnows) {
    const std::filesystem::path path = std::filesystem::path(QUORNEL_DATA_DIR) / relativePath;
    if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " is not there";
    TestFile file;
    ASSERT_TRUE(ReadTestFile(path, file)) << path;

    for (const bool present : {true, false}) {
      seam::SetNormalizationLibraryPresent(present);
      Tally lines;
      for (const TestLine& test : file.lines) {
        bool known = true;
        for (char32_t c : test.codePoints) known = known && !(onlyWhatIcuKnows && UnknownToIcu(c));
        if (!known) {
          ++lines.skipped;
          continue;
        }
        ++lines.checked;
        CheckLine(test, present, lines);
      }
      std::printf("%s, %s: %d lines checked, %d skipped, %d failures\n", relativePath,
                  present ? "normalization library" : "folding", lines.checked, lines.skipped,
                  lines.failures);
      EXPECT_EQ(lines.failures, 0);
      EXPECT_GT(lines.checked, 0);
    }
    seam::SetNormalizationLibraryPresent(true);

    Tally codePoints;
    CheckUnlistedCodePoints(file, codePoints);
    std::printf("%s: %d code points not listed in @Part1 checked, %d newer than the file skipped, "
                "%d failures\n",
                relativePath, codePoints.checked, codePoints.skipped, codePoints.failures);
    EXPECT_EQ(codePoints.failures, 0);
  }
};

TEST_F(NormalizationConformance, Unicode5_1InFull) { Run("ucd-5.1.0/NormalizationTest.txt", false); }

TEST_F(NormalizationConformance, CurrentFileAsFarAsIcuKnowsIt) {
  Run("ucd/NormalizationTest.txt", true);
}

}  // namespace

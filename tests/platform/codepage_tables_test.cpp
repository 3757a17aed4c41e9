// The conversion calls against the vendor best-fit files, read by a reader of
// the tests' own: every UTF-16 unit, every single byte and every lead-byte
// pair of every code page, and GetCPInfo. Also checks that the committed
// generated tables are what the generator writes today.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/winapi.h"
#include "platform/support/bestfit_reader.h"

namespace qp = quornel::platform;
using quornel::testsupport::BestFitTable;

namespace {

const std::string kBestFitDir = std::string(QUORNEL_DATA_DIR) + "/windows-bestfit";

class BestFitTest : public ::testing::TestWithParam<unsigned> {
 protected:
  void SetUp() override {
    if (!std::filesystem::is_directory(kBestFitDir)) GTEST_SKIP() << "no " << kBestFitDir;
    std::string error;
    auto table = quornel::testsupport::ReadBestFit(
        kBestFitDir + "/bestfit" + std::to_string(GetParam()) + ".txt", error);
    ASSERT_TRUE(table.has_value()) << error;
    table_ = std::move(*table);
    ASSERT_EQ(table_.codePage, GetParam());
  }

  // The bytes WCTABLE gives for `u`, or the default character.
  std::string ExpectedBytes(char16_t u, bool noBestFit) const {
    const auto it = table_.wide.find(u);
    unsigned bytes = table_.defaultChar;
    if (it != table_.wide.end() && (!noBestFit || Decodes(it->second) == u)) bytes = it->second;
    std::string out;
    if (bytes > 0xFF) out.push_back(static_cast<char>(bytes >> 8));
    out.push_back(static_cast<char>(bytes & 0xFF));
    return out;
  }

  // The unit `bytes` (as WCTABLE writes them) decode to, or U+FFFF when the
  // MB tables do not hold them.
  char16_t Decodes(unsigned bytes) const {
    if (bytes > 0xFF) {
      const auto it = table_.pairs.find(static_cast<std::uint16_t>(bytes));
      return it == table_.pairs.end() ? 0xFFFF : it->second;
    }
    if (table_.IsLead(static_cast<std::uint8_t>(bytes))) return 0xFFFF;
    const auto it = table_.single.find(static_cast<std::uint8_t>(bytes));
    return it == table_.single.end() ? 0xFFFF : it->second;
  }

  // What MultiByteToWideChar must give for `bytes`, walked plainly.
  std::u16string ReferenceDecode(const std::string& bytes) const {
    std::u16string out;
    for (std::size_t i = 0; i < bytes.size();) {
      const auto b = static_cast<std::uint8_t>(bytes[i]);
      unsigned key = b;
      std::size_t step = 1;
      if (table_.IsLead(b)) {
        if (i + 1 == bytes.size()) {
          out.push_back(table_.unicodeDefault);
          break;
        }
        key = b << 8 | static_cast<std::uint8_t>(bytes[i + 1]);
        step = 2;
      }
      const char16_t u = Decodes(key);
      out.push_back(u == 0xFFFF ? table_.unicodeDefault : u);
      i += step;
    }
    return out;
  }

  BestFitTable table_;
};

std::u16string Decode(unsigned cp, qp::DWORD flags, const std::string& bytes, qp::DWORD& error) {
  std::u16string out(bytes.size() * 4 + 4, u'\0');
  qp::SetLastError(0xDEAD);
  const int n = qp::MultiByteToWideChar(cp, flags, bytes.data(), static_cast<int>(bytes.size()),
                                        out.data(), static_cast<int>(out.size()));
  error = qp::GetLastError();
  out.resize(n > 0 ? n : 0);
  return out;
}

TEST_P(BestFitTest, EveryUnitEncodesAsWcTableSays) {
  const unsigned cp = GetParam();
  for (unsigned v = 0; v <= 0xFFFF; ++v) {
    const char16_t u = static_cast<char16_t>(v);
    for (const qp::DWORD flags : {qp::DWORD{0}, qp::WC_NO_BEST_FIT_CHARS}) {
      char out[4] = {};
      qp::BOOL used = -1;
      const int n = qp::WideCharToMultiByte(cp, flags, &u, 1, out, sizeof out, nullptr, &used);
      const std::string expected = ExpectedBytes(u, flags != 0);
      ASSERT_EQ(std::string(out, n > 0 ? n : 0), expected) << "U+" << std::hex << v << " flags " << flags;
      const bool mapped = table_.wide.count(u) != 0 &&
                          (flags == 0 || Decodes(table_.wide.at(u)) == u);
      ASSERT_EQ(used, mapped ? qp::FALSE_ : qp::TRUE_) << "U+" << std::hex << v;
    }
  }
}

TEST_P(BestFitTest, EveryByteAndPairDecodesAsMbTablesSay) {
  const unsigned cp = GetParam();
  qp::DWORD error = 0;
  for (unsigned b = 0; b < 256; ++b) {
    const std::string single(1, static_cast<char>(b));
    const bool mapped = !table_.IsLead(static_cast<std::uint8_t>(b)) && table_.single.count(b);
    const char16_t expected = mapped ? table_.single.at(static_cast<std::uint8_t>(b)) : table_.unicodeDefault;
    ASSERT_EQ(Decode(cp, 0, single, error), std::u16string(1, expected)) << "byte " << std::hex << b;
    // The strict flag refuses exactly what the tables lack (a lead byte alone included).
    ASSERT_EQ(Decode(cp, qp::MB_ERR_INVALID_CHARS, single, error).size(), mapped ? 1u : 0u);
    ASSERT_EQ(error, mapped ? qp::ERROR_SUCCESS : qp::ERROR_NO_UNICODE_TRANSLATION);
    if (!table_.IsLead(static_cast<std::uint8_t>(b))) continue;
    for (unsigned trail = 0; trail < 256; ++trail) {
      const std::string pair{static_cast<char>(b), static_cast<char>(trail)};
      const auto it = table_.pairs.find(static_cast<std::uint16_t>(b << 8 | trail));
      const bool pairMapped = it != table_.pairs.end();
      ASSERT_EQ(Decode(cp, 0, pair, error),
                std::u16string(1, pairMapped ? it->second : table_.unicodeDefault))
          << std::hex << b << " " << trail;
      ASSERT_EQ(Decode(cp, qp::MB_ERR_INVALID_CHARS, pair, error).size(), pairMapped ? 1u : 0u)
          << std::hex << b << " " << trail;
    }
  }
}

TEST_P(BestFitTest, CpInfoAgreesWithCpInfoAndDbcsRange) {
  qp::CPINFO info{};
  ASSERT_TRUE(qp::GetCPInfo(GetParam(), &info));
  EXPECT_EQ(info.MaxCharSize, table_.maxCharSize);
  EXPECT_EQ(info.DefaultChar[0], table_.defaultChar);
  EXPECT_EQ(info.DefaultChar[1], 0);
  std::vector<qp::BYTE> expected;
  for (const auto& [first, last] : table_.leadRanges) {
    expected.push_back(first);
    expected.push_back(last);
  }
  expected.resize(qp::MAX_LEADBYTES, 0);
  EXPECT_EQ(std::vector<qp::BYTE>(info.LeadByte, info.LeadByte + qp::MAX_LEADBYTES), expected);
}

// Whole texts, not single characters: random bytes heavy in lead bytes, so
// pairs start at every offset and lead bytes fall at the end, against a plain
// walk; and random units whose encoding must be the concatenation of each
// unit's own.
TEST_P(BestFitTest, WholeTextsMatchTheUnitByUnitReference) {
  const unsigned cp = GetParam();
  std::mt19937 rng(cp);
  std::vector<std::uint8_t> leads;
  for (const auto& [first, last] : table_.leadRanges) {
    for (unsigned b = first; b <= last; ++b) leads.push_back(static_cast<std::uint8_t>(b));
  }
  qp::DWORD error = 0;
  for (int round = 0; round < 300; ++round) {
    std::string bytes(1 + rng() % 70, '\0');
    for (char& c : bytes) {
      c = static_cast<char>(!leads.empty() && rng() % 3 == 0 ? leads[rng() % leads.size()] : rng());
    }
    const std::u16string expected = ReferenceDecode(bytes);
    ASSERT_EQ(Decode(cp, 0, bytes, error), expected);
    ASSERT_EQ(qp::MultiByteToWideChar(cp, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0),
              static_cast<int>(expected.size()));

    std::u16string units(1 + rng() % 70, u'\0');
    std::string concatenated;
    for (char16_t& u : units) {
      u = static_cast<char16_t>(rng() % 4 == 0 ? rng() % 0x80 : rng());
      concatenated += ExpectedBytes(u, false);
    }
    std::string out(units.size() * 2, '\0');
    const int n = qp::WideCharToMultiByte(cp, 0, units.data(), static_cast<int>(units.size()),
                                          out.data(), static_cast<int>(out.size()), nullptr, nullptr);
    ASSERT_EQ(out.substr(0, n > 0 ? n : 0), concatenated);
  }
}

std::vector<unsigned> CodePagesInData() {
  auto pages = quornel::testsupport::BestFitCodePages(kBestFitDir);
  // Keep the suite instantiated (and skipping) without the data directory.
  if (pages.empty()) pages.push_back(932);
  return pages;
}

INSTANTIATE_TEST_SUITE_P(AllCodePages, BestFitTest, ::testing::ValuesIn(CodePagesInData()),
                         [](const auto& info) { return "cp" + std::to_string(info.param); });

TEST(CodePageGenerator, CommittedTablesAreCurrent) {
  if (!std::filesystem::is_directory(kBestFitDir)) GTEST_SKIP() << "no " << kBestFitDir;
  if (std::system("python3 --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "no python3";
  const std::string command = std::string("python3 ") + QUORNEL_SOURCE_DIR +
                              "/tables/codepages/gen_codepage_tables.py --check --data-dir " +
                              kBestFitDir;
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

}  // namespace

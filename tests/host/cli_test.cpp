// quornel as a user runs it: the built executable, real files, exit status
// and messages.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "common/files.h"

namespace {

using quornel::testing::ReadFile;
using quornel::testing::WriteFile;

namespace fs = std::filesystem;

struct Result {
  int status;
  std::string out;
  std::string err;
};

class Cli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("quornel-cli-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs quornel with `args` (shell words) and the given standard input.
  Result Quornel(const std::string& args, const std::string& input = "",
                 const std::string& env = "") {
    WriteFile(dir_ / "stdin", input);
    const std::string command = "cd '" + dir_.string() + "' && " + env + " '" QUORNEL_EXE "' " +
                                args + " <stdin >stdout 2>stderr";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(dir_ / "stdout"), ReadFile(dir_ / "stderr")};
  }

  fs::path dir_;
};

TEST_F(Cli, ListShowsTheTenFilters) {
  const Result r = Quornel("list");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("0  cp932\n   CP932互換文字変換"), std::string::npos);
  EXPECT_NE(r.out.find("JISX0213 ⇒ JISX0208"), std::string::npos);
  EXPECT_NE(r.out.find("9  sjis-replace\n   ShiftJIS指定置換"), std::string::npos);
}

TEST_F(Cli, VersionShowsThePluginsVersionResource) {
  const Result r = Quornel("--version");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Ver5.0u"), std::string::npos);
  EXPECT_NE(r.out.find("file version 5.0.0.2, product version 5.0"), std::string::npos);
  EXPECT_NE(r.out.find("Unicode補正フィルタ (Unicode版)"), std::string::npos);
}

TEST_F(Cli, RunFiltersStandardInputAndFilesByIndexOrName) {
  struct Row {
    std::string filter;
    std::string input;
    std::string expected;
  };
  const Row rows[] = {
      {"0", "9時〜17時−5\n", "9時〜17時－5\n"},
      {"cp932", "剝離\n", "剥離\n"},
      {"jisx0208", "〜\n", "～\n"},
      {"5", "叱責\n", "𠮟責\n"},
      {"nfd", "が", "か\xE3\x82\x99"},
      {"nfc", "か\xE3\x82\x99", "が"},
      {"sjis-auto", "é¥〜\n", "e\\〜\n"},
  };
  for (const Row& row : rows) {
    Result r = Quornel("run " + row.filter, row.input);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, row.expected) << row.filter;
    WriteFile(dir_ / "in.txt", row.input);
    r = Quornel("run " + row.filter + " in.txt -o out.txt");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(dir_ / "out.txt"), row.expected) << row.filter;
  }
}

TEST_F(Cli, ManySmallPiecesGiveTheWholeTextsResult) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "行" + std::to_string(i) + "：か\xE3\x82\x99〜−剝😀é\n";
  WriteFile(dir_ / "in.txt", text);
  for (const char* filter : {"0", "4", "5", "6", "7", "8"}) {
    const Result whole = Quornel(std::string("run ") + filter + " in.txt");
    const Result pieces =
        Quornel(std::string("run ") + filter + " in.txt", "", "QUORNEL_PIECE_UNITS=7");
    ASSERT_EQ(whole.status, 0) << whole.err;
    EXPECT_EQ(pieces.out, whole.out) << filter;
  }
}

TEST_F(Cli, EncodingsConvertOnTheWayInAndOut) {
  WriteFile(dir_ / "in16.txt", std::string("\xFF\xFE\x1C\x30\n\x00", 6));
  Result r = Quornel("run jisx0208 in16.txt --input-encoding utf-16 --output-encoding utf-16be");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, std::string("\xFF\x5E\x00\n", 4));
  WriteFile(dir_ / "sjis.txt", "\x82\xA0\x81\x60\n");
  r = Quornel("run 8 sjis.txt --input-encoding ansi");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "あ～\n");
  r = Quornel("--codepage 1252 run 8 --output-encoding ansi", "é€\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "\xE9\x80\n");
}

TEST_F(Cli, BadInputIsRefusedWithFileAndOffsetAndNothingIsOverwritten) {
  WriteFile(dir_ / "bad.txt", "good line\nbad \xFF byte\n");
  WriteFile(dir_ / "out.txt", "precious");
  Result r = Quornel("run 0 bad.txt -o out.txt");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("bad.txt: ill-formed UTF-8 at byte offset 14"), std::string::npos) << r.err;
  EXPECT_EQ(ReadFile(dir_ / "out.txt"), "precious");

  WriteFile(dir_ / "nul.txt", std::string("ab\0c", 4));
  r = Quornel("run 0 --in-place nul.txt");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("nul.txt: NUL character at byte offset 2"), std::string::npos) << r.err;
  EXPECT_EQ(ReadFile(dir_ / "nul.txt"), std::string("ab\0c", 4));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 6)
      << "no temporary file is left behind";
}

TEST_F(Cli, InPlaceReplacesEachFile) {
  WriteFile(dir_ / "a.txt", "剝\n");
  WriteFile(dir_ / "b.txt", "頰\n");
  const Result r = Quornel("run 4 -i a.txt b.txt");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadFile(dir_ / "a.txt"), "剥\n");
  EXPECT_EQ(ReadFile(dir_ / "b.txt"), "頬\n");
}

TEST_F(Cli, EachMistakeHasItsOwnMessage) {
  struct Row {
    std::string args;
    int status;
    std::string message;
  };
  const Row rows[] = {
      {"run 0 missing.txt", 1, "missing.txt: no such file"},
      {"run 12", 2, "unknown filter 12"},
      {"run nfkc", 2, "unknown filter nfkc"},
      {"--plugin ./nowhere.so list", 1, "cannot load the plug-in ./nowhere.so"},
      {"run 0 --input-encoding latin9", 2, "unknown encoding latin9"},
      {"frobnicate", 2, "unknown command frobnicate"},
  };
  for (const Row& row : rows) {
    const Result r = Quornel(row.args);
    EXPECT_EQ(r.status, row.status) << row.args;
    EXPECT_NE(r.err.find(row.message), std::string::npos) << row.args << ": " << r.err;
  }
}

TEST_F(Cli, Filter9ReplacesFromTheTableAndCountsWhatItCouldNotAsk) {
  fs::create_directories(dir_ / "t");
  // Remembered: the wave dash becomes a full-width tilde, the heart stays.
  WriteFile(dir_ / "t" / "Quornel_SJIS.tbl",
        std::string("\xFF\xFE\x1C\x30\x5E\xFF\r\0\n\0\x65\x26\x65\x26\r\0\n\0", 18));
  Result r = Quornel("run 9 --table-dir t", "a\u301Cb\u2665c\u263A\u00E9\n", "QUORNEL_NO_TTY=1");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "a\uFF5Eb\u2665c\u263A\u00E9\n");
  EXPECT_NE(r.err.find("2 unit(s) the ANSI code page cannot show were left unchanged"),
            std::string::npos)
      << r.err;
  r = Quornel("table --table-dir t");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("2 entries"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("U+301C \u301C  ->  \uFF5E  (U+FF5E)"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("U+2665 \u2665  ->  (kept as it is)"), std::string::npos) << r.out;
}

TEST_F(Cli, DemoShowsEachFilterOnTheSample) {
  const Result r = Quornel("demo");
  ASSERT_EQ(r.status, 0) << r.err;
  for (const char* expected : {"[0] cp932", "[7] nfd", "[8] sjis-auto", "U+301C", "U+5265"}) {
    EXPECT_NE(r.out.find(expected), std::string::npos) << expected;
  }
}

}  // namespace

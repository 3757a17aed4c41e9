// Files are replaced whole or not at all: the new bytes go to a temporary
// file beside the old one, which is renamed over it only on Commit.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/files.h"
#include "platform/files.h"

namespace {

using quornel::testing::ReadFile;

namespace fs = std::filesystem;
using quornel::platform::AtomicFile;
using quornel::platform::ReplaceFileAtomically;

std::size_t Entries(const fs::path& dir) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST(AtomicFile, ReplacesOnlyOnCommitAndLeavesNoTemporaryFile) {
  const fs::path dir = fs::temp_directory_path() / ("quornel-atomic-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const fs::path file = dir / "table";
  std::ofstream(file, std::ios::binary) << "old";
  ::chmod(file.c_str(), 0640);
  std::string error;
  {
    AtomicFile abandoned;
    ASSERT_TRUE(abandoned.Open(file.string(), error)) << error;
    ASSERT_TRUE(abandoned.Write("new, half written", 9, error)) << error;
    EXPECT_EQ(ReadFile(file), "old") << "nothing shows before Commit";
  }  // given up, as when a run fails half-way
  EXPECT_EQ(ReadFile(file), "old");
  EXPECT_EQ(Entries(dir), 1u);

  ASSERT_TRUE(ReplaceFileAtomically(file.string(), "new", error)) << error;
  EXPECT_EQ(ReadFile(file), "new");
  EXPECT_EQ(Entries(dir), 1u);
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read)
      << "the replaced file keeps its permission bits";

  // Renaming over a directory fails: the directory stays, the error is said.
  fs::create_directories(dir / "taken");
  EXPECT_FALSE(ReplaceFileAtomically((dir / "taken").string(), "x", error));
  EXPECT_NE(error.find("cannot replace"), std::string::npos) << error;
  EXPECT_TRUE(fs::is_directory(dir / "taken"));
  EXPECT_EQ(Entries(dir), 2u);
  fs::remove_all(dir);
}

}  // namespace

// Output files: a failure never harms what was at the path.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "output_file.h"

namespace {

namespace fs = std::filesystem;

class OutputFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "vorkan-output-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    directory_ = pattern;
  }
  void TearDown() override { fs::remove_all(directory_); }

  std::string path(const char* name) const { return (directory_ / name).string(); }

  static std::string contents(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  static void write_file(const std::string& file, const char* text) { std::ofstream(file, std::ios::binary) << text; }

  // Everything in the directory, so that left-over temporary files show.
  int entries() const { return static_cast<int>(std::distance(fs::directory_iterator(directory_), {})); }

  fs::path directory_;
};

TEST_F(OutputFileTest, ReplacesARegularFileWholeKeepingItsMode) {
  write_file(path("out.txt"), "old");
  chmod(path("out.txt").c_str(), 0640);
  vk::OutputFile out;
  ASSERT_TRUE(out.open(path("out.txt")));
  std::fputs("new", out.stream());
  EXPECT_EQ(contents(path("out.txt")), "old");  // untouched until committed
  ASSERT_TRUE(out.commit());
  EXPECT_EQ(contents(path("out.txt")), "new");
  EXPECT_EQ(fs::status(path("out.txt")).permissions(), fs::perms(0640));
  EXPECT_EQ(entries(), 1);
}

TEST_F(OutputFileTest, AFailedOrAbandonedOutputLeavesTheOldFileAndNoTemporary) {
  write_file(path("out.txt"), "old");
  {
    vk::OutputFile out;
    ASSERT_TRUE(out.open(path("out.txt")));
    std::fputs("partial", out.stream());
    errno = ENOSPC;
    out.note_failure();
    EXPECT_FALSE(out.commit());
    EXPECT_EQ(out.error(), ENOSPC);
  }
  {
    vk::OutputFile out;
    ASSERT_TRUE(out.open(path("out.txt")));
    std::fputs("partial", out.stream());
  }  // destroyed without commit
  EXPECT_EQ(contents(path("out.txt")), "old");
  EXPECT_EQ(entries(), 1);
}

TEST_F(OutputFileTest, ALinkIsFollowedAndADeviceIsWrittenInPlaceAndKept) {
  write_file(path("target.txt"), "old");
  fs::create_symlink(path("target.txt"), path("link.txt"));
  fs::create_symlink("/dev/full", path("full"));
  vk::OutputFile out;
  ASSERT_TRUE(out.open(path("link.txt")));
  std::fputs("new", out.stream());
  ASSERT_TRUE(out.commit());
  EXPECT_TRUE(fs::is_symlink(path("link.txt")));
  EXPECT_EQ(contents(path("target.txt")), "new");

  ASSERT_TRUE(out.open(path("full")));
  std::fputs("lost", out.stream());
  EXPECT_FALSE(out.commit());
  EXPECT_EQ(out.error(), ENOSPC);
  EXPECT_TRUE(fs::is_symlink(path("full")));
  EXPECT_TRUE(fs::is_character_file("/dev/full"));
  EXPECT_EQ(entries(), 3);
}

}  // namespace

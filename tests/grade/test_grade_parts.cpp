// The grader's parts that decide a result: the log's first difference, the
// picture comparison with masks, the records' files and the command line.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "grade_options.h"
#include "log_diff.h"
#include "pictures.h"
#include "records.h"

namespace vk::grade {
namespace {

namespace fs = std::filesystem;

TEST(LogDifference, NamesTheFirstDifferingLineWithContextAndBothSides) {
  struct Case {
    const char* name;
    std::string expected, actual;
    long line;
    std::string diff_body;  // after the header lines
  };
  const Case cases[] = {
      {"one line changed", "a\nb\nc\nd\n", "a\nb\nX\nd\n", 3, " a\n b\n-c\n+X\n"},
      {"a line added", "a\nb\n", "a\nb\nc\n", 3, " a\n b\n+c\n"},
      {"a line missing (a crash)", "a\nb\nc\n", "a\n", 2, " a\n-b\n-c\n"},
      {"context is three lines", "1\n2\n3\n4\n5\n", "1\n2\n3\n4\nX\n", 5, " 2\n 3\n 4\n-5\n+X\n"},
      {"a long change is cut", "a\n", "1\n2\n3\n", 1, "-a\n+1\n+2\n+... 1 more lines\n"},
  };
  for (const Case& c : cases) {
    const auto difference = first_difference(c.expected, c.actual, 3, 2);
    ASSERT_TRUE(difference) << c.name;
    EXPECT_EQ(difference->line, c.line) << c.name;
    const std::string body = difference->diff.substr(difference->diff.find("@@\n", 20) + 3);
    EXPECT_EQ(body, c.diff_body) << c.name;
  }
  EXPECT_FALSE(first_difference("same\n", "same\n"));
  EXPECT_NE(first_difference("a\n", "a")->diff.find("last line's end"), std::string::npos);
}

Picture blank(int width, int height, std::uint32_t color = 0xFFFFFF) {
  return {width, height, std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, color)};
}

void paint(Picture& picture, int x, int y, std::uint32_t color) {
  picture.pixels[static_cast<std::size_t>(y) * picture.width + x] = color;
}

TEST(PictureComparison, CountsDifferingPixelsOutsideTheMasksInToolkitCoordinates) {
  Picture expected = blank(11, 9);
  Picture actual = expected;
  paint(actual, 5, 4, 0);  // toolkit (0, 0): the centre
  paint(actual, 9, 1, 0);  // toolkit (4, 3)
  paint(actual, 0, 8, 0);  // toolkit (-5, -4)
  EXPECT_EQ(compare(expected, actual, {}).differing, 3);
  EXPECT_EQ(compare(expected, actual, {{-1, 1, 1, -1}}).differing, 2) << "a mask around the centre";
  EXPECT_EQ(compare(expected, actual, {{4, 3, 4, 3}, {-5, -4, -5, -4}}).differing, 1) << "one-pixel masks";
  const Comparison shown = compare(expected, actual, {{1, 1, -1, -1}});
  EXPECT_EQ(shown.difference.pixels[9 + 1 * 11], 0xFF0000u) << "differing pixels are red";
  EXPECT_NE(shown.difference.pixels[5 + 4 * 11], 0xFF0000u) << "masked pixels are not";
  EXPECT_NE(shown.difference.pixels[0], 0xFF0000u);
}

TEST(PictureComparison, PixelsInOnePictureOnlyDiffer) {
  const Comparison wider = compare(blank(10, 10), blank(12, 10), {});
  EXPECT_EQ(wider.differing, 20);
  EXPECT_EQ(wider.difference.width, 12);
}

TEST(PictureFiles, RoundTripThroughPng) {
  const std::string path = testing::TempDir() + "grade-picture-" + std::to_string(getpid()) + ".png";
  Picture picture = blank(7, 5, 0x123456);
  paint(picture, 6, 4, 0xFEDCBA);
  ASSERT_TRUE(write_png(path, picture));
  std::string error;
  const std::optional<Picture> read = read_png(path, error);
  ASSERT_TRUE(read) << error;
  EXPECT_EQ(read->pixels, picture.pixels);
  EXPECT_FALSE(read_png(path + ".missing", error));
  fs::remove(path);
}

std::vector<Record> sample_records() {
  Record pass;
  pass.submission = "ann/main.c";
  pass.test = "clicks";
  pass.status = 0;
  pass.log = utf8_from_log("caf\xe9 \x80 <ok> & \"q\"\n");
  Record crash = pass;
  crash.test = "keys";
  crash.result = Result::crash;
  crash.reason = "it was killed by SIGSEGV";
  crash.status.reset();
  crash.output = std::string("bad \xff byte\x01");
  Record failed = pass;
  failed.submission = "bob.c";
  failed.result = Result::fail;
  failed.reason = "its log differs from line 1";
  failed.log_diff = "--- expected\n+++ actual\n@@ -1,1 +1,1 @@\n-a\n+b\n";
  failed.differing_pixels = 12;
  failed.expected_picture = "pictures/reference/clicks.png";
  failed.actual_picture = "pictures/bob/clicks.png";
  failed.difference_picture = "pictures/bob/clicks-difference.png";
  Record bad = pass;
  bad.submission = "bob.c";
  bad.test = "typo";
  bad.result = Result::bad_test;
  bad.reason = "typo.scr:3: playback cannot read this line: 'x'";
  return {failed, bad, crash, pass};
}

std::string text_of(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(Records, ResultsFileReadsBackAsWrittenAndSortsBySubmissionThenTest) {
  std::vector<Record> records = sample_records();
  sort_records(records);
  ASSERT_EQ(records.front().test, "clicks");
  EXPECT_EQ(records.front().submission, "ann/main.c");
  EXPECT_EQ(records.front().log, "caf\xc3\xa9 \xe2\x82\xac <ok> & \"q\"\n") << "the log's code page decoded";
  const std::string path = testing::TempDir() + "grade-results-" + std::to_string(getpid()) + ".json";
  std::string error;
  ASSERT_TRUE(write_results(path, records, error)) << error;
  std::vector<Record> read;
  ASSERT_TRUE(read_results(path, read, error)) << error;
  ASSERT_EQ(read.size(), records.size());
  for (std::size_t i = 0; i < read.size(); ++i) {
    EXPECT_EQ(read[i].result, records[i].result);
    EXPECT_EQ(read[i].reason, records[i].reason);
    EXPECT_EQ(read[i].status, records[i].status);
    EXPECT_EQ(read[i].log, records[i].log);
    EXPECT_EQ(read[i].log_diff, records[i].log_diff);
    EXPECT_EQ(read[i].differing_pixels, records[i].differing_pixels);
    EXPECT_EQ(read[i].difference_picture, records[i].difference_picture);
  }
  EXPECT_NE(read[1].output.find("bad \xef\xbf\xbd byte"), std::string::npos) << "invalid bytes replaced, not refused";
  std::ofstream(path) << "{\"not\": \"a list\"}";
  EXPECT_FALSE(read_results(path, read, error));
  fs::remove(path);
}

TEST(Records, JunitAndGradescopeCountEachResultAsAutogradersDo) {
  std::vector<Record> records = sample_records();
  sort_records(records);
  const std::string junit = testing::TempDir() + "grade-junit-" + std::to_string(getpid()) + ".xml";
  const std::string gradescope = testing::TempDir() + "grade-gradescope-" + std::to_string(getpid()) + ".json";
  std::string error;
  ASSERT_TRUE(write_junit(junit, records, error));
  const std::string xml = text_of(junit);
  EXPECT_NE(xml.find("<testsuites name=\"kv318-grade\" tests=\"4\" failures=\"1\" errors=\"1\" skipped=\"1\">"),
            std::string::npos) << xml;
  EXPECT_NE(xml.find("<error type=\"crash\""), std::string::npos);
  EXPECT_NE(xml.find("byte\\x01"), std::string::npos) << "no control character reaches the XML";
  const std::vector<Record> bobs(records.begin() + 2, records.end());
  ASSERT_TRUE(write_gradescope(gradescope, bobs, error));
  const std::string json = text_of(gradescope);
  EXPECT_NE(json.find("\"score\": 0"), std::string::npos) << json;
  EXPECT_NE(json.find("\"max_score\": 0"), std::string::npos) << "a faulty test counts for nothing";
  EXPECT_NE(json.find("0 of 1 tests passed"), std::string::npos) << json;
  fs::remove(junit);
  fs::remove(gradescope);
}

Request parse(std::vector<std::string> words) {
  words.insert(words.begin(), "kv318-grade");
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  return read_options(static_cast<int>(argv.size()), argv.data());
}

TEST(GradeCommandLine, RefusesWhatCannotWorkWithOneReason) {
  const std::vector<std::vector<std::string>> refused = {
      {"--tests", "t", "a.c"},
      {"--reference", "r.c", "a.c"},
      {"--reference", "r.c", "--tests", "t"},
      {"--reference", "r.c", "--tests", "t", "--shard", "3/2", "a.c"},
      {"--reference", "r.c", "--tests", "t", "--shard", "1", "a.c"},
      {"--reference", "r.c", "--tests", "t", "--jobs", "0", "a.c"},
      {"--reference", "r.c", "--tests", "t", "--time-limit", "-1", "a.c"},
      {"--reference", "r.c", "--tests", "t", "--mask", "1,2,3", "a.c"},
      {"--reference", "r.c", "--tests", "t", "--gradescope", "g.json", "a.c", "b.c"},
      {"--reference", "r.c", "--tests", "t", "--bogus", "a.c"},
      {"--reference", "r.c", "--tests", "t", "--every-frame=yes", "a.c"},
      {"--reference=", "r.c", "--tests", "t", "a.c"},
      {"--merge"},
      {"--merge", "--reference", "r.c", "shard1"},
  };
  for (const auto& words : refused) {
    std::string line;
    for (const std::string& word : words) line += word + " ";
    EXPECT_THROW(parse(words), UsageError) << line;
  }
  const Options options = parse({"--reference", "r.c", "--tests=t", "--shard=2/3", "--mask", "-10,5,20,-7",
                                 "--time-limit", "1.5", "a.c", "--", "--odd-name.c"}).options;
  EXPECT_EQ(options.tests, "t");
  EXPECT_EQ(options.shard, 2);
  EXPECT_EQ(options.shards, 3);
  ASSERT_EQ(options.masks.size(), 1u);
  EXPECT_EQ(options.masks[0].x1, -10);
  EXPECT_EQ(options.masks[0].y2, -7);
  EXPECT_DOUBLE_EQ(options.time_limit, 1.5);
  EXPECT_EQ(options.inputs, (std::vector<std::string>{"a.c", "--odd-name.c"}));
  EXPECT_FALSE(parse({"--help"}).answer.empty());
}

}  // namespace
}  // namespace vk::grade

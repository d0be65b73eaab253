// What the drawing calls write to the message log, in which order, and what they return.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "kernel.h"
#include "test_primitives_support.h"

using draw_test::log_lines;
using Lines = std::vector<std::string>;

namespace {

class PrimitiveLog : public ::testing::Test {
 protected:
  void SetUp() override { draw_test::start_fresh(); }
};

TEST_F(PrimitiveLog, DescriptionLinesOfEveryPrimitive) {
  EXPECT_EQ(KV318_draw_pixel(4, 10, -20), 1);
  EXPECT_EQ(KV318_draw_circle(22, -3, 7, 12), 1);
  EXPECT_EQ(KV318_draw_triangle(9, 1, 2, 3, 4, 5, 6, 0), 1);
  EXPECT_EQ(KV318_draw_oval(19, 0, 0, 40, -20, 3), 1);
  EXPECT_EQ(KV318_draw_oval(23, 0, 0, 40, -20, 0), 1);
  EXPECT_EQ(KV318_draw_line(13, -5, -6, 7, 8, 2), 1);
  EXPECT_EQ(KV318_draw_text(0, 15, -25, 12, "Hi %d there"), 1);
  EXPECT_EQ(KV318_clear_window(), 1);
  EXPECT_EQ(log_lines(), (Lines{
                             "blue pixel at (10,-20)\n",
                             "50% gray circle at (-3,7), radius 12\n",
                             "navy blue triangle at (1,2), (3,4), (5,6)\n",
                             "forest green oval with bounding box (0,0) to (40,-20), line width 3\n",
                             "20% gray oval with bounding box (0,0) to (40,-20), filled\n",
                             "orange line from (-5,-6) to (7,8), width 2\n",
                             "black text at (15,-25), \"Hi %d there\"\n",
                             "Clearing the graphics window\n",
                         }));
}

TEST_F(PrimitiveLog, RectangleCornersAreSortedBeforeTheyAreLogged) {
  KV318_draw_rectangle(3, 10, -5, -10, 5, 0);
  KV318_draw_rectangle(14, 10, -5, -10, 5, 2);
  EXPECT_EQ(log_lines(), (Lines{
                             "green rectangle with bounding box (-10,5) to (10,-5), filled\n",
                             "brown rectangle with bounding box (-10,5) to (10,-5) with line width 2\n",
                         }));
}

TEST_F(PrimitiveLog, EachPrimitiveCorrectsInItsOwnOrder) {
  KV318_draw_rectangle(30, 0, 0, 1, 1, -2);
  KV318_draw_oval(30, 0, 0, 1, 1, -2);
  KV318_draw_line(30, 0, 0, 1, 1, -2);
  KV318_draw_triangle(30, 0, 0, 1, 1, 2, 0, -2);
  KV318_draw_circle(30, 0, 0, -7);
  const std::string color = "Illegal color 30; using RED.\n";
  const std::string width = "Width of -2 not possible, using width 2\n";
  EXPECT_EQ(log_lines(), (Lines{
                             color, width, "red rectangle with bounding box (0,1) to (1,0) with line width 2\n",
                             width, color, "red oval with bounding box (0,1) to (1,0), line width 2\n",
                             width, color, "red line from (0,0) to (1,1), width 2\n",
                             color, width, "red triangle at (0,0), (1,1), (2,0)\n",
                             color, "Radius of -7 not possible, using radius 7\n", "red circle at (0,0), radius 7\n",
                         }));
}

TEST_F(PrimitiveLog, IllegalColorsJustOutsideTheTableAreReportedAsGiven) {
  KV318_draw_pixel(24, 0, 0);
  KV318_draw_pixel(-1, 0, 0);
  KV318_draw_pixel(23, 0, 0);
  EXPECT_EQ(log_lines(), (Lines{
                             "Illegal color 24; using RED.\n",
                             "red pixel at (0,0)\n",
                             "Illegal color -1; using RED.\n",
                             "red pixel at (0,0)\n",
                             "20% gray pixel at (0,0)\n",
                         }));
}

TEST_F(PrimitiveLog, LineWidthZeroIsLoggedAsZero) {
  KV318_draw_line(0, 0, 0, 5, 5, 0);
  KV318_draw_line(0, 0, 0, 5, 5, -3);
  EXPECT_EQ(log_lines(), (Lines{
                             "black line from (0,0) to (5,5), width 0\n",
                             "Width of -3 not possible, using width 3\n",
                             "black line from (0,0) to (5,5), width 3\n",
                         }));
}

TEST_F(PrimitiveLog, PointSizeIsMadePositiveThenCappedAt127) {
  KV318_draw_text(1, 0, 0, 200, "a");
  KV318_draw_text(1, 0, 0, -200, "b");
  KV318_draw_text(1, 0, 0, 127, "c");
  KV318_draw_text(1, 0, 0, 0, "d");
  EXPECT_EQ(log_lines(), (Lines{
                             "ptsize of 200 not possible, using ptsize 127\n",
                             "white text at (0,0), \"a\"\n",
                             "ptsize of -200 not possible, using ptsize 200\n",
                             "ptsize of 200 not possible, using ptsize 127\n",
                             "white text at (0,0), \"b\"\n",
                             "white text at (0,0), \"c\"\n",
                             "white text at (0,0), \"d\"\n",
                         }));
}

TEST_F(PrimitiveLog, TheMostNegativeValuesSaturateInsteadOfOverflowing) {
  KV318_set_logging(0);
  KV318_draw_line(INT_MIN, 0, 0, 1, 1, INT_MIN);
  KV318_draw_circle(0, INT_MAX, INT_MIN, INT_MIN);
  KV318_draw_text(0, 0, 0, INT_MIN, "x");
  EXPECT_EQ(log_lines(), (Lines{
                             "Width of -2147483648 not possible, using width 2147483647\n",
                             "Illegal color -2147483648; using RED.\n",
                             "Radius of -2147483648 not possible, using radius 2147483647\n",
                             "ptsize of -2147483648 not possible, using ptsize 2147483647\n",
                             "ptsize of 2147483647 not possible, using ptsize 127\n",
                         }));
}

TEST_F(PrimitiveLog, LoggingOffKeepsOnlyCorrections) {
  KV318_set_logging(0);
  KV318_draw_pixel(5, 1, 1);
  KV318_draw_rectangle(5, 0, 0, 9, 9, 0);
  KV318_clear_window();
  KV318_draw_text(5, 0, 0, 10, "quiet");
  EXPECT_TRUE(log_lines().empty());
  KV318_draw_rectangle(99, 0, 0, 9, 9, -1);
  EXPECT_EQ(log_lines(), (Lines{"Illegal color 99; using RED.\n", "Width of -1 not possible, using width 1\n"}));
}

TEST_F(PrimitiveLog, ReportErrorDrawsTheNoticeAndReturnsItsLength) {
  EXPECT_EQ(KV318_report_error(), 14);
  EXPECT_EQ(log_lines(), (Lines{"red text at (0,0), \"Program error!\"\n"}));
}

TEST_F(PrimitiveLog, FormattedTextReturnsItsLengthAndIsCutAt1023) {
  EXPECT_EQ(KV318_draw_textf(7, 1, 2, 10, "n=%d %s", 42, "ok"), 7);
  const std::string long_text(1500, 'x');
  EXPECT_EQ(KV318_draw_textf(7, 1, 2, 10, "%s", long_text.c_str()), 1023);
  const Lines lines = log_lines();
  ASSERT_EQ(lines.size(), 2U);
  EXPECT_EQ(lines[0], "cyan text at (1,2), \"n=42 ok\"\n");
}

TEST_F(PrimitiveLog, OverlongTextIsShortenedInsideItsQuotes) {
  const std::string long_text(1100, 'y');
  KV318_draw_text(8, -100, 100, 10, long_text.c_str());
  const std::string prefix = "purple text at (-100,100), \"";
  const std::string expected = prefix + std::string(1023 - prefix.size() - 2, 'y') + "\"\n";
  EXPECT_EQ(log_lines(), (Lines{expected}));
}

TEST_F(PrimitiveLog, EmptyAndMissingTextLogEmptyQuotes) {
  EXPECT_EQ(KV318_draw_text(0, 3, 4, 10, ""), 1);
  EXPECT_EQ(KV318_draw_text(0, 3, 4, 10, nullptr), 1);
  EXPECT_EQ(log_lines(), (Lines{"black text at (3,4), \"\"\n", "black text at (3,4), \"\"\n"}));
}

TEST_F(PrimitiveLog, TextCopiesAreGivenBack) {
  KV318_set_logging(0);
  const int blocks_before = vk::kernel::live_blocks();
  KV318_draw_text(0, 0, 0, 10, "one\ntwo");
  KV318_draw_textf(0, 0, 0, 10, "%d", 3);
  KV318_report_error();
  EXPECT_EQ(vk::kernel::live_blocks(), blocks_before);
}

// After KV318_shutdown (a program redrawing once more after EVENT_QUIT) the calls go on as usual.
TEST(PrimitivesAfterShutdown, LogAndReturnAsUsualButDrawNothing) {
  draw_test::start_fresh();
  KV318_clear_window();
  KV318_shutdown();
  const COLORREF white = RGB(255, 255, 255);
  const int drawn_before = draw_test::count_surface_pixels(0, 0, 600, 539, white);
  EXPECT_EQ(KV318_draw_rectangle(40, 0, 0, 5, 5, 0), 1);
  EXPECT_EQ(KV318_draw_text(0, 0, 0, 10, "late"), 1);
  EXPECT_EQ(KV318_report_error(), 14);
  EXPECT_EQ(draw_test::count_surface_pixels(0, 0, 600, 539, white), drawn_before);
  const Lines lines = log_lines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(Lines(lines.end() - 4, lines.end()), (Lines{
                                                     "Illegal color 40; using RED.\n",
                                                     "red rectangle with bounding box (0,5) to (5,0), filled\n",
                                                     "black text at (0,0), \"late\"\n",
                                                     "red text at (0,0), \"Program error!\"\n",
                                                 }));
}

// A program that forgot KV318_init ends at its first call with one line naming it, status 1.
// (Death tests need a child process, which WebAssembly under node cannot make.)
#if GTEST_HAS_DEATH_TEST
TEST(CallsBeforeInit, EndTheProgramWithOneLineNamingTheCall) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  struct Case {
    const char* name;
    void (*call)();
  };
  const Case cases[] = {
      {"KV318_draw_pixel", [] { KV318_draw_pixel(1, 0, 0); }},
      {"KV318_draw_circle", [] { KV318_draw_circle(2, 0, 0, 40); }},
      {"KV318_draw_triangle", [] { KV318_draw_triangle(2, 0, 0, 1, 1, 2, 0, 0); }},
      {"KV318_draw_rectangle", [] { KV318_draw_rectangle(2, 0, 0, 1, 1, 0); }},
      {"KV318_draw_oval", [] { KV318_draw_oval(2, 0, 0, 1, 1, 0); }},
      {"KV318_draw_line", [] { KV318_draw_line(2, 0, 0, 1, 1, 0); }},
      {"KV318_draw_text", [] { KV318_draw_text(2, 0, 0, 10, "hi"); }},
      {"KV318_draw_textf", [] { KV318_draw_textf(2, 0, 0, 10, "%d", 1); }},
      {"KV318_clear_window", [] { KV318_clear_window(); }},
      {"KV318_report_error", [] { KV318_report_error(); }},
      {"KV318_next_event", [] {
         int x, y;
         char key;
         KV318_next_event(&x, &y, &key);
       }},
      {"KV318_shutdown", [] { KV318_shutdown(); }},
  };
  for (const Case& c : cases) {
    draw_test::start_fresh(false);
    const std::string line = std::string("^KV318_init was not called before ") + c.name +
                             ": the program must call KV318_init first\n$";
    EXPECT_EXIT(c.call(), ::testing::ExitedWithCode(1), line) << c.name;
  }
}
#endif

// The two calls that report a closed toolkit by their result keep doing so.
TEST(CallsBeforeInit, SetLoggingAndSetAnimationReturnZeroAndChangeNothing) {
  draw_test::start_fresh(false);
  EXPECT_EQ(KV318_set_logging(0), 0);
  EXPECT_EQ(KV318_set_animation(ANIM_RUN), 0);
  EXPECT_TRUE(kv318::detail::toolkit.logging);
  EXPECT_FALSE(kv318::detail::toolkit.animate);
  EXPECT_EQ(KV318_log_message("before\n"), 7);
}

}  // namespace

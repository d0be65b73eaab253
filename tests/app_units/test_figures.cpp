// The figure routines: exact calls, which variants take random draws, and in
// which order the draws land in the coordinates.
#include <gtest/gtest.h>

#include <vector>

#include "fake_toolkit.h"
#include "figures.h"
#include "random.h"

namespace {

constexpr unsigned SEED = 4321;

class FigureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    set_random_seed(SEED);
    clear_calls();
  }
  // The draws that a routine took, replayed from the same seed.
  static std::vector<int> replay(std::initializer_list<int> moduli) {
    set_random_seed(SEED);
    std::vector<int> values;
    for (int n : moduli) values.push_back(random_below(n));
    return values;
  }
};

TEST_F(FigureTest, StarIsTwoTrianglesScaledBySize) {
  draw_star(0, 0, 4, 7);
  draw_star(10, 20, 1, 3);
  const std::vector<Call> expected = {
      triangle(7, 0, 4, 3, -2, -3, -2, 0),   triangle(7, 0, -4, -3, 2, 3, 2, 0),
      triangle(3, 10, 21, 10, 20, 10, 20, 0), triangle(3, 10, 19, 10, 20, 10, 20, 0),
  };
  EXPECT_EQ(calls(), expected);
  EXPECT_EQ(random_draws_taken(), 0);
}

TEST_F(FigureTest, WindGustPairsEachWhiteOvalWithASkyOvalOneHigher) {
  draw_wind_gust(100, 50);
  ASSERT_EQ(calls().size(), 16u);
  EXPECT_EQ(calls()[0], oval(1, 100, 50, 25, 10, 0));
  EXPECT_EQ(calls()[15], oval(9, 50, 96, -25, 56, 0));
  for (std::size_t i = 0; i < 16; i += 2) {
    Call white = calls()[i];
    const Call& sky = calls()[i + 1];
    EXPECT_EQ(white.color, 1);
    white.color = 9;
    white.p[1] += 1;
    white.p[3] += 1;
    EXPECT_EQ(sky, white) << "pair " << i / 2;
  }
  EXPECT_EQ(random_draws_taken(), 0);
}

TEST_F(FigureTest, ButterflyAtSizeEightHasZeroWidthWings) {
  draw_butterfly(10, 20, 8, 24);
  const std::vector<int> r = replay({10});
  const std::vector<Call> expected = {
      oval(24, 10, 20, 10, 36, 0),
      oval(24, 10, 20, 10, 4, 0),
      line(0, 10, 20, 20, 0 + r[0], 2),
      line(0, 10, 20, 7, 27, 2),
      line(0, 10, 20, 13, 27, 2),
  };
  EXPECT_EQ(calls(), expected);
}

TEST_F(FigureTest, FlowerWithoutWindIsStillAndTakesNoDraw) {
  draw_flower(-100, 80, 6, 12, 8, 3, 0, 1);
  draw_flower(-100, 80, 6, 12, 8, 3, 0, 0);
  const std::vector<Call> expected = {
      circle(12, -100, 80, 6),        line(19, -101, 79, -100, 57, 2), line(19, -100, 62, -95, 69, 2),
      oval(3, -100, 80, -105, 95, 0), line(19, -101, 79, -100, 57, 2), line(19, -100, 62, -95, 69, 2),
  };
  EXPECT_EQ(calls(), expected);
  EXPECT_EQ(random_draws_taken(), 0);
}

TEST_F(FigureTest, FlowerInWindShiftsBloomAndNarrowsBud) {
  draw_flower(-100, 80, 6, 12, 8, 3, 1, 1);
  draw_flower(-100, 80, 6, 12, 8, 3, 5, 2);  // any wind counts; a bloom flag of 2 is a bud
  const std::vector<int> r = replay({5, 5});
  EXPECT_EQ(random_draws_taken(), 2);
  ASSERT_EQ(calls().size(), 6u);
  EXPECT_EQ(calls()[0], circle(12, -100 + r[0], 80, 6));
  EXPECT_EQ(calls()[3], oval(3, -100, 80, -105 + r[1], 95, 0));
}

TEST_F(FigureTest, BambooSwaysOnlyItsLeafTipsInWind) {
  draw_bamboo(-250, -200, 0);
  const std::vector<Call> still = calls();
  ASSERT_EQ(still.size(), 16u);
  EXPECT_EQ(random_draws_taken(), 0);
  EXPECT_EQ(still[0], oval(12, -250, -200, -220, -180, 0));
  EXPECT_EQ(still[6], line(5, -265, -130, -300, -100, 2));
  EXPECT_EQ(still[15], line(0, -250, 0, -245, 0, 2));

  clear_calls();
  set_random_seed(SEED);
  draw_bamboo(-250, -200, 1);
  const int shift = replay({50})[0];
  ASSERT_EQ(calls().size(), 16u);
  // Rows 7, 8, 11, 12, 14 and 15 end at the swaying x; nothing else moves.
  const bool sways[16] = {false, false, false, false, false, false, true, true,
                          false, false, true,  true,  false, true,  true,  false};
  for (std::size_t i = 0; i < 16; ++i) {
    Call expected = still[i];
    if (sways[i]) expected.p[2] += shift;
    EXPECT_EQ(calls()[i], expected) << "row " << i + 1;
  }
}

TEST_F(FigureTest, SailboatRowerMovesArmThenOarLowerThenUpperEnd) {
  draw_sailboat(300, -75, 25, 40);
  const std::vector<int> r = replay({5, 5, 5});
  const std::vector<Call> expected = {
      rectangle(0, 275, -75, 325, -79, 0),
      triangle(3, 300, -75, 300, -35, 340, -49, 0),
      line(7, 288, -45, 290, -75, 3),
      circle(15, 285, -45, 5),
      line(7, 288, -57, 275, -53 + r[0], 3),
      line(7, 288, -60, 282, -75, 3),
      line(21, 275, -52 + r[2], 295, -80 + r[1], 3),
  };
  EXPECT_EQ(calls(), expected);
  EXPECT_EQ(random_draws_taken(), 3);
}

TEST_F(FigureTest, MeditatorSeatedTakesNoDraw) {
  draw_meditator(-50, -50, 0);
  const std::vector<Call> expected = {
      line(18, -50, -50, -50, -75, 8),
      triangle(16, -50, -50, -70, -80, -50, -75, 0),
      triangle(16, -50, -50, -30, -80, -50, -75, 0),
      circle(18, -50, -50, 8),
      line(0, -52, -48, -55, -48, 1),
      line(0, -48, -48, -45, -48, 1),
      line(0, -52, -54, -48, -54, 2),
      triangle(13, -50, -70, -70, -80, -30, -80, 0),
  };
  EXPECT_EQ(calls(), expected);
  EXPECT_EQ(random_draws_taken(), 0);
}

TEST_F(FigureTest, MeditatorInNirvanaChantsUnderAFlickeringHalo) {
  draw_meditator(0, 100, 1);
  const int halo = replay({20})[0];
  EXPECT_EQ(random_draws_taken(), 1);
  ASSERT_EQ(calls().size(), 14u);
  EXPECT_EQ(calls()[4], line(16, 10, 80, 20, 92, 3));
  EXPECT_EQ(calls()[5], oval(17, 10 + halo, 100, -10, 115, 5));
  EXPECT_EQ(calls()[6], triangle(1, 2, 96, 13, 100, 12, 104, 0));
  EXPECT_EQ(calls()[7], oval(1, 10, 100, 50, 118, 0));
  EXPECT_EQ(calls()[8], textf(0, 12, 103, 10, "OMMM"));
  EXPECT_EQ(calls()[9], circle(18, 0, 100, 8));
  EXPECT_EQ(calls()[13], triangle(13, 0, 80, -20, 70, 20, 70, 0));
}

TEST_F(FigureTest, RightFighterAtRestStandsStill) {
  draw_right_fighter(60, -100, 0, 0);
  const std::vector<Call> first = calls();
  clear_calls();
  draw_right_fighter(60, -100, 2, 2);  // only 1 sets a pose
  EXPECT_EQ(calls(), first);
  EXPECT_EQ(random_draws_taken(), 0);
  const std::vector<Call> expected = {
      line(0, 59, -130, 55, -160, 5),  line(0, 61, -130, 65, -160, 5), line(14, 60, -109, 60, -125, 10),
      circle(18, 60, -100, 8),         line(18, 60, -118, 50, -115, 5), line(18, 60, -112, 60, -118, 5),
  };
  EXPECT_EQ(first, expected);
}

TEST_F(FigureTest, RightFighterKicksAndPunchesWithHeightDrawnFirst) {
  draw_right_fighter(60, -100, 1, 1);
  const std::vector<int> r = replay({25, 15, 10, 20});
  ASSERT_EQ(calls().size(), 6u);
  EXPECT_EQ(calls()[0], line(0, 59, -130, 40 + r[1], -160 + r[0], 5));
  EXPECT_EQ(calls()[4], line(18, 60, -118, 48 + r[3], -115 + r[2], 5));
  EXPECT_EQ(random_draws_taken(), 4);
}

TEST_F(FigureTest, LeftFighterShufflesBothFeetEvenAtRest) {
  draw_left_fighter(-50, -125, 0, 0);
  const std::vector<int> r = replay({10, 10});
  const std::vector<Call> expected = {
      line(0, -49, -155, -45 + r[0], -185, 5), line(0, -51, -155, -55 + r[1], -185, 5),
      line(14, -50, -134, -50, -150, 10),      circle(18, -50, -125, 8),
      line(18, -50, -143, -42, -139, 5),       line(18, -50, -137, -50, -143, 5),
  };
  EXPECT_EQ(calls(), expected);
  EXPECT_EQ(random_draws_taken(), 2);
}

TEST_F(FigureTest, LeftFighterKicksAndPunchesWithHeightDrawnFirst) {
  draw_left_fighter(-50, -125, 1, 1);
  const std::vector<int> r = replay({35, 15, 10, 10, 25});
  ASSERT_EQ(calls().size(), 6u);
  EXPECT_EQ(calls()[0], line(0, -49, -155, -45 + r[1], -185 + r[0], 5));
  EXPECT_EQ(calls()[1], line(0, -51, -155, -55 + r[2], -185, 5));
  EXPECT_EQ(calls()[4], line(18, -50, -143, -43 + r[4], -139 + r[3], 5));
  EXPECT_EQ(random_draws_taken(), 5);
}

}  // namespace

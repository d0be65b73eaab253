// The tick rules: emblem and mat geometry, the paths of everything that moves,
// the order of random draws, and saturation of the fields that grow unbounded.
#include <gtest/gtest.h>

#include <climits>

#include "animation.h"
#include "fake_toolkit.h"
#include "random.h"

namespace {

class TickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    set_random_seed(2024);
    clear_calls();
    scene.moon_face_x = 250;  // where start-up places the moon
    scene.moon_face_y = 215;
  }
  void scene_ticks(int n) {
    for (int i = 0; i < n; ++i) scene_tick(scene);
  }
  SceneState scene;
};

TEST_F(TickTest, TitleTickRotatesEmblemWithAngleBeforeStepping) {
  title_tick(scene);
  EXPECT_DOUBLE_EQ(scene.emblem_angle, 0.4);
  for (int i = 0; i < EMBLEM_POINTS; ++i) {
    EXPECT_EQ(scene.emblem_rot_x[i], scene.emblem_x[i]) << i;
    EXPECT_EQ(scene.emblem_rot_y[i], scene.emblem_y[i]) << i;
  }
  title_tick(scene);
  EXPECT_EQ(scene.emblem_rot_x[0], -84);
  EXPECT_EQ(scene.emblem_rot_y[0], 72);
  EXPECT_EQ(scene.emblem_rot_x[3], 72);
  EXPECT_EQ(scene.emblem_rot_y[3], 84);
  EXPECT_EQ(scene.emblem_rot_x[12], -19);
  EXPECT_EQ(scene.emblem_rot_y[12], 46);
  // The title tick draws nothing and takes no random draw.
  EXPECT_EQ(random_draws_taken(), 0);
  EXPECT_TRUE(calls().empty());
}

TEST_F(TickTest, MatIsProjectedAtTheAngleBeforeTheTickSteppedIt) {
  scene_tick(scene);
  EXPECT_DOUBLE_EQ(scene.mat_angle, -0.1);
  const int first_x[] = {-100, 100, 166, -166};
  const int first_y[] = {-120, -120, -200, -200};
  for (int i = 0; i < MAT_CORNERS; ++i) {
    EXPECT_EQ(scene.mat_screen_x[i], first_x[i]) << i;
    EXPECT_EQ(scene.mat_screen_y[i], first_y[i]) << i;
  }
  scene_tick(scene);
  const int second_x[] = {-87, 111, 154, -176};
  const int second_y[] = {-117, -122, -206, -193};
  for (int i = 0; i < MAT_CORNERS; ++i) {
    EXPECT_EQ(scene.mat_screen_x[i], second_x[i]) << i;
    EXPECT_EQ(scene.mat_screen_y[i], second_y[i]) << i;
  }
}

TEST_F(TickTest, MoonCreepsLeftAndWrapsOnePixelLower) {
  scene_ticks(600);
  EXPECT_EQ(scene.moon_face_x, -350);
  EXPECT_EQ(scene.moon_face_y, 215);
  scene_tick(scene);
  EXPECT_EQ(scene.moon_face_x, 351);
  EXPECT_EQ(scene.moon_face_y, 214);
  scene_ticks(701);
  EXPECT_EQ(scene.moon_face_x, -350);
  EXPECT_EQ(scene.moon_face_y, 214);
  scene_tick(scene);
  EXPECT_EQ(scene.moon_face_x, 351);
  EXPECT_EQ(scene.moon_face_y, 213);
}

TEST_F(TickTest, SailboatComesInThenShuttlesBetweenItsTurns) {
  const struct {
    int ticks;
    int x;
  } path[] = {{1, 298}, {25, 250}, {135, 30}, {136, 32}, {245, 250}, {246, 248}};
  int done = 0;
  for (const auto& stop : path) {
    scene_ticks(stop.ticks - done);
    done = stop.ticks;
    EXPECT_EQ(scene.sailboat_x, stop.x) << "after " << stop.ticks << " ticks";
  }
}

TEST_F(TickTest, WindGustSweepsAcrossOnceThenRests) {
  scene_ticks(3);
  EXPECT_EQ(scene.wind_gust_x, 450);  // still while the wind does not blow

  scene.wind_blowing = 1;
  scene_tick(scene);
  EXPECT_EQ(scene.wind_gust_x, 430);
  scene_ticks(36);
  EXPECT_EQ(scene.wind_gust_x, -290);
  EXPECT_EQ(scene.wind_blowing, 1);
  scene.wind_gust_y = 99;  // the reset puts the gust back at its resting place
  scene_tick(scene);
  EXPECT_EQ(scene.wind_gust_x, 450);
  EXPECT_EQ(scene.wind_gust_y, 175);
  EXPECT_EQ(scene.wind_blowing, 0);
  scene_tick(scene);
  EXPECT_EQ(scene.wind_gust_x, 450);
}

TEST_F(TickTest, FightersMoveAsMirrorImages) {
  const struct {
    int ticks;
    int left, right;
  } path[] = {{10, -100, 110}, {11, -95, 105}, {30, 0, 10}, {31, -5, 15}, {50, -100, 110}};
  int done = 0;
  for (const auto& stop : path) {
    scene_ticks(stop.ticks - done);
    done = stop.ticks;
    EXPECT_EQ(scene.left_fighter_x, stop.left) << "after " << stop.ticks << " ticks";
    EXPECT_EQ(scene.right_fighter_x, stop.right) << "after " << stop.ticks << " ticks";
  }
  for (int i = 0; i < 200; ++i) {
    scene_tick(scene);
    ASSERT_EQ(scene.left_fighter_x + scene.right_fighter_x, 10);
    ASSERT_GE(scene.left_fighter_x, -100);
    ASSERT_LE(scene.left_fighter_x, 0);
  }
}

TEST_F(TickTest, MeditatorRisesOnlyInNirvana) {
  scene_ticks(5);
  EXPECT_EQ(scene.meditator_y, -50);
  scene.nirvana = 1;
  for (int k = 1; k <= 20; ++k) {
    scene_tick(scene);
    ASSERT_EQ(scene.meditator_y, -50 + 9 * k);
  }
}

// Stars take two draws each (size, then color), then butterflies three each
// (x step, y step, wing): replaying the generator must give the same fields.
TEST_F(TickTest, SceneTickDrawsStarsThenButterfliesInOrder) {
  for (int i = 0; i < BUTTERFLY_COUNT; ++i) {
    scene.butterfly_x[i] = 100;
    scene.butterfly_y[i] = 0;
  }
  set_random_seed(77);
  scene_tick(scene);
  EXPECT_EQ(random_draws_taken(), 200 + 45);
  EXPECT_TRUE(calls().empty());

  set_random_seed(77);
  for (int i = 0; i < STAR_COUNT; ++i) {
    const int size = random_below(4) + 1;
    const int color = random_below(24);
    ASSERT_EQ(scene.star_size[i], size) << i;
    ASSERT_EQ(scene.star_color[i], color) << i;
  }
  for (int i = 0; i < BUTTERFLY_COUNT; ++i) {
    const int dx = random_below(4) - 1;
    const int dy = random_below(3) - 1;
    const int wing = random_below(10) / 2 + 5;
    ASSERT_EQ(scene.butterfly_x[i], 100 + dx) << i;
    ASSERT_EQ(scene.butterfly_y[i], dy) << i;
    ASSERT_EQ(scene.butterfly_wing[i], wing) << i;
  }
  // Wind and nirvana add no draws to the tick: only drawing them does.
  scene.wind_blowing = 1;
  scene.nirvana = 1;
  scene_tick(scene);
  EXPECT_EQ(random_draws_taken(), 2 * 245);
}

// Fields that grow for as long as the program runs stop at the int limits;
// the sanitizer build turns any overflow here into a failure.
TEST_F(TickTest, UnboundedFieldsSaturateAtIntLimits) {
  scene.nirvana = 1;
  scene.meditator_y = INT_MAX - 20;
  scene_tick(scene);
  EXPECT_EQ(scene.meditator_y, INT_MAX - 11);
  scene_ticks(3);
  EXPECT_EQ(scene.meditator_y, INT_MAX);

  for (int i = 0; i < BUTTERFLY_COUNT; ++i) {
    scene.butterfly_x[i] = i % 2 == 0 ? INT_MAX : INT_MIN;
    scene.butterfly_y[i] = i % 2 == 0 ? INT_MIN : INT_MAX;
  }
  scene_ticks(50);
  for (int i = 0; i < BUTTERFLY_COUNT; ++i) {
    // Steps are -1..2 across and -1..1 up: a field at a limit stays within 50 of it.
    if (i % 2 == 0) {
      EXPECT_GE(scene.butterfly_x[i], INT_MAX - 50);
      EXPECT_LE(scene.butterfly_y[i], INT_MIN + 50);
    } else {
      EXPECT_LE(scene.butterfly_x[i], INT_MIN + 100);
      EXPECT_GE(scene.butterfly_y[i], INT_MAX - 50);
    }
  }

  int moon_x = -350;
  int moon_y = INT_MIN;
  drift_moon_face(moon_x, moon_y);
  EXPECT_EQ(moon_x, 351);
  EXPECT_EQ(moon_y, INT_MIN);
  moon_x = INT_MIN;
  drift_moon_face(moon_x, moon_y);
  EXPECT_EQ(moon_x, INT_MAX);
}

}  // namespace

// Whole pictures: the night scene's layers in order, the title screen and the
// control panel's drawing, with their call counts and random draws.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "animation.h"
#include "fake_toolkit.h"
#include "panel.h"
#include "random.h"
#include "scene.h"
#include "title_screen.h"

namespace {

// Where each layer of the scene starts in a frame with nirvana 0.
constexpr std::size_t STARS = 1, GUST = 201, MOON = 217, MOUNTAINS = 247, PENNANTS = 252, PAGODA = 274,
                      HILLS = 282, GROUND = 284, BAMBOO = 287, POND = 335, FLOWERS = 339, MEDITATOR = 369,
                      SAILBOAT = 377, MAT = 384, FIGHTERS = 386, BUTTERFLIES = 398, SCENE_CALLS = 473;

// A scene as start-up leaves it, with every random field filled.
SceneState started_scene() {
  SceneState scene;
  set_random_seed(99);
  scene.moon_face_x = 250;
  scene.moon_face_y = 215;
  for (int i = 0; i < STAR_COUNT; ++i) {
    scene.star_x[i] = random_below(600) - 300;
    scene.star_y[i] = 250 - random_below(200);
    scene.star_color[i] = random_below(24);
    scene.star_size[i] = random_below(4) + 1;
  }
  for (int i = 0; i < FLOWER_COUNT; ++i) {
    scene.flower_bud_color[i] = random_below(24) + 1;
    scene.flower_bloom_color[i] = random_below(24) + 1;
  }
  for (int i = 0; i < BUTTERFLY_COUNT; ++i) {
    scene.butterfly_x[i] = random_below(300);
    scene.butterfly_y[i] = random_below(250) - 100;
    scene.butterfly_wing[i] = random_below(5) + 5;
    scene.butterfly_color[i] = random_below(24) + 1;
  }
  return scene;
}

class PictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    scene = started_scene();
    set_random_seed(7);
    clear_calls();
  }
  SceneState scene;
};

TEST_F(PictureTest, SceneFrameHasEveryLayerInOrder) {
  draw_scene(scene);
  ASSERT_EQ(calls().size(), SCENE_CALLS);
  EXPECT_EQ(calls()[0], rectangle(9, -300, -250, 300, 250, 0));
  EXPECT_EQ(calls()[STARS].color, scene.star_color[0]);
  EXPECT_EQ(calls()[STARS].p[0], scene.star_x[0]);
  EXPECT_EQ(calls()[STARS].p[1], scene.star_y[0] + scene.star_size[0]);
  EXPECT_EQ(calls()[GUST], oval(1, 450, 175, 375, 135, 0));
  EXPECT_EQ(calls()[MOON], circle(1, 250, 215, 20));
  EXPECT_EQ(calls()[MOUNTAINS], triangle(22, -300, -50, 52, -50, -268, 220, 0));
  EXPECT_EQ(calls()[PENNANTS], triangle(2, -300, 250, -300, 100, -200, 250, 0));
  EXPECT_EQ(calls()[PAGODA], triangle(2, -50, 150, -100, 110, 0, 110, 0));
  EXPECT_EQ(calls()[HILLS], circle(14, -100, -100, 190));
  EXPECT_EQ(calls()[HILLS + 1], circle(13, -200, -60, 130));
  EXPECT_EQ(calls()[GROUND], rectangle(20, -300, -250, 300, -50, 0));
  EXPECT_EQ(calls()[BAMBOO], oval(12, -250, -200, -220, -180, 0));
  EXPECT_EQ(calls()[BAMBOO + 16], oval(12, -230, -205, -200, -185, 0));
  EXPECT_EQ(calls()[BAMBOO + 32], oval(12, -215, -193, -185, -173, 0));
  EXPECT_EQ(calls()[POND], oval(4, 300, -50, 0, -100, 0));
  EXPECT_EQ(calls()[FLOWERS], oval(scene.flower_bud_color[0], -145, 100, -150, 115, 0));
  EXPECT_EQ(calls()[FLOWERS + 27], oval(scene.flower_bud_color[9], -55, 74, -60, 89, 0));
  EXPECT_EQ(calls()[MEDITATOR], line(18, -50, -50, -50, -75, 8));
  EXPECT_EQ(calls()[SAILBOAT], rectangle(0, 275, -75, 325, -79, 0));
  EXPECT_EQ(calls()[MAT], triangle(19, -100, -120, 100, -120, 166, -200, 0));
  EXPECT_EQ(calls()[MAT + 1], triangle(19, -100, -120, 166, -200, -166, -200, 0));
  EXPECT_EQ(calls()[FIGHTERS + 3], circle(18, -50, -125, 8));
  EXPECT_EQ(calls()[FIGHTERS + 9], circle(18, 60, -100, 8));
  for (int i = 0; i < BUTTERFLY_COUNT; ++i) {
    const Call& wing = calls()[BUTTERFLIES + 5 * static_cast<std::size_t>(i)];
    EXPECT_EQ(wing.op, Op::Oval);
    EXPECT_EQ(wing.color, scene.butterfly_color[i]);
    EXPECT_EQ(wing.p[0], scene.butterfly_x[i]);
  }
  EXPECT_EQ(calls().back().op, Op::Line);  // a butterfly's antenna is the last thing drawn
}

TEST_F(PictureTest, NirvanaAddsSixCallsAndBloomingSwapsBudsForDiscs) {
  scene.nirvana = 1;
  scene.grow_flowers = 1;
  draw_scene(scene);
  ASSERT_EQ(calls().size(), SCENE_CALLS + 6);
  EXPECT_EQ(calls()[FLOWERS], circle(scene.flower_bloom_color[0], -145, 100, 6));
  EXPECT_EQ(calls()[MEDITATOR + 8], textf(0, -38, -47, 10, "OMMM"));
  EXPECT_EQ(calls()[SAILBOAT + 6], rectangle(0, 275, -75, 325, -79, 0));
}

TEST_F(PictureTest, SceneFrameDrawsOnlyWhatItsFlagsAsk) {
  const struct {
    const char* what;
    int SceneState::*flag;
    long long draws;
  } cases[] = {
      {"calm", nullptr, 3 + 2 + 15},  // the rower, the left fighter's feet, the butterflies
      {"wind", &SceneState::wind_blowing, 20 + 3 + 10},
      {"nirvana", &SceneState::nirvana, 20 + 1},
      {"left punch", &SceneState::left_punch, 20 + 2},
      {"left kick", &SceneState::left_kick, 20 + 1},
      {"right punch", &SceneState::right_punch, 20 + 2},
      {"right kick", &SceneState::right_kick, 20 + 2},
      {"grow flowers", &SceneState::grow_flowers, 20},
  };
  for (const auto& c : cases) {
    SceneState s = scene;
    if (c.flag != nullptr) s.*c.flag = 1;
    set_random_seed(7);
    draw_scene(s);
    EXPECT_EQ(random_draws_taken(), c.draws) << c.what;
  }
}

TEST_F(PictureTest, MoonFaceIsDrawnWholeEvenLeftOfThePicture) {
  scene.moon_face_x = -340;
  scene.moon_face_y = 200;
  draw_scene(scene);
  const std::vector<Call> moon = calls_slice(MOON, 30);
  EXPECT_EQ(moon[0], circle(1, -340, 200, 20));
  EXPECT_EQ(moon[1], oval(17, -315, 208, -365, 221, 0));
  EXPECT_EQ(moon[4], circle(1, -340, 200, 20));
  // Each eye is two pixels per step, the upper one first, rising outward.
  for (int k = 0; k < 5; ++k) {
    const std::size_t left = 8 + 2 * static_cast<std::size_t>(k);
    EXPECT_EQ(moon[left], pixel(0, -345 - k, 205 + k));
    EXPECT_EQ(moon[left + 1], pixel(0, -345 - k, 204 + k));
    EXPECT_EQ(moon[left + 10], pixel(0, -335 + k, 205 + k));
    EXPECT_EQ(moon[left + 11], pixel(0, -335 + k, 204 + k));
  }
  EXPECT_EQ(moon[28], circle(0, -340, 194, 6));
  EXPECT_EQ(moon[29], circle(1, -340, 196, 6));
}

TEST_F(PictureTest, TasselsHangFromRightPennantThenLeft) {
  draw_scene(scene);
  const std::vector<Call> tassels = calls_slice(PENNANTS + 2, 20);
  EXPECT_EQ(tassels[0], line(2, 200, 250, 200, 200, 2));
  EXPECT_EQ(tassels[1], circle(2, 200, 200, 4));
  EXPECT_EQ(tassels[6], line(2, 275, 137, 275, 87, 2));
  EXPECT_EQ(tassels[10], line(2, -200, 250, -200, 200, 2));
  EXPECT_EQ(tassels[19], circle(2, -300, 50, 4));
}

TEST_F(PictureTest, SceneAfterTicksFollowsTheMovedFields) {
  for (int i = 0; i < 2; ++i) scene_tick(scene);
  clear_calls();
  draw_scene(scene);
  EXPECT_EQ(calls()[MOON], circle(1, 248, 215, 20));
  EXPECT_EQ(calls()[SAILBOAT], rectangle(0, 271, -75, 321, -79, 0));
  EXPECT_EQ(calls()[MAT], triangle(19, -87, -117, 111, -122, 154, -206, 0));
  EXPECT_EQ(calls()[FIGHTERS + 3], circle(18, -60, -125, 8));
  EXPECT_EQ(calls()[FIGHTERS + 9], circle(18, 70, -100, 8));
}

// Fields saturated after a very long run still give a full frame, with the
// figures' coordinates clamped rather than wrapped round to the other side;
// the sanitizer build checks that no coordinate arithmetic overflows.
TEST_F(PictureTest, SceneWithSaturatedFieldsDrawsAFullFrame) {
  scene.nirvana = 1;
  scene.meditator_y = INT_MAX;
  scene.moon_face_y = INT_MIN;
  for (int i = 0; i < BUTTERFLY_COUNT; ++i) {
    scene.butterfly_x[i] = INT_MAX;
    scene.butterfly_y[i] = i % 2 == 0 ? INT_MAX : INT_MIN;
    scene.butterfly_wing[i] = 5;
  }
  draw_scene(scene);
  ASSERT_EQ(calls().size(), SCENE_CALLS + 6);
  EXPECT_EQ(calls()[MOON + 28], circle(0, 250, INT_MIN, 6));
  EXPECT_EQ(calls()[MEDITATOR], line(18, -50, INT_MAX, -50, INT_MAX - 25, 8));
  EXPECT_EQ(calls()[MEDITATOR + 8], textf(0, -38, INT_MAX, 10, "OMMM"));
  const Call& upper_wing = calls()[BUTTERFLIES + 6 + 5];  // butterfly 1
  EXPECT_EQ(upper_wing, oval(scene.butterfly_color[1], INT_MAX, INT_MIN, INT_MAX, INT_MIN + 13, 0));
}

TEST_F(PictureTest, TitleFrameIsFortyThreeCallsAroundTheEmblem) {
  title_tick(scene);
  title_tick(scene);
  clear_calls();
  draw_title_screen(scene.emblem_rot_x, scene.emblem_rot_y);
  ASSERT_EQ(calls().size(), 43u);
  EXPECT_EQ(random_draws_taken(), 0);
  EXPECT_EQ(calls()[0], rectangle(2, -300, 250, 300, -250, 0));
  EXPECT_EQ(calls()[1], oval(0, -300, 250, 300, -250, 0));
  EXPECT_EQ(calls()[3], triangle(0, 300, 250, 300, 190, 250, 250, 0));
  EXPECT_EQ(calls()[8], line(2, -100, -80, -170, -150, 20));
  // The emblem, drawn from the rotated points, sits between the diagonal bars
  // and the axis bars.
  EXPECT_EQ(calls()[10 + 12], circle(1, -19, 46, 10));
  EXPECT_EQ(calls()[10 + 14].p[0], -84);
  EXPECT_EQ(calls()[10 + 14].p[1], 72);
  EXPECT_EQ(calls()[10 + 15].p[2], 72);
  EXPECT_EQ(calls()[10 + 15].p[3], 84);
  EXPECT_EQ(calls()[32], line(2, -50, -180, 50, -180, 30));
  EXPECT_EQ(calls()[39], line(2, -250, 70, -250, -70, 30));
  EXPECT_EQ(calls()[40], textf(0, -40, 200, 25, "ENTER"));
  EXPECT_EQ(calls()[41], textf(0, -30, 165, 25, "THE"));
  EXPECT_EQ(calls()[42], textf(0, -45, -240, 25, "VORKAN"));
}

TEST_F(PictureTest, EmblemAtAngleZeroIsTheDividedOctagon) {
  draw_title_emblem(scene.emblem_rot_x, scene.emblem_rot_y);
  ASSERT_EQ(calls().size(), 22u);
  for (std::size_t i = 0; i < 12; ++i) {
    EXPECT_EQ(calls()[i].op, Op::Triangle);
    EXPECT_EQ(calls()[i].color, i < 6 ? 0 : 1) << i;
  }
  EXPECT_EQ(calls()[2], triangle(0, 50, -50, 100, 50, -50, 50, 0));
  EXPECT_EQ(calls()[11], triangle(1, 0, -100, -50, -100, 50, -50, 0));
  EXPECT_EQ(calls()[12], circle(1, 0, 50, 10));
  EXPECT_EQ(calls()[13], circle(0, 0, -50, 10));
  const int corners[][2] = {{-50, 100}, {50, 100},   {100, 50},  {100, -50},
                            {50, -100}, {-50, -100}, {-100, -50}, {-100, 50}};
  for (std::size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(calls()[14 + i], line(2, corners[i][0], corners[i][1], corners[i + 1][0], corners[i + 1][1], 2));
  }
  EXPECT_EQ(calls()[21], line(2, -50, 100, -100, 50, 2));  // the last edge is passed from point 0
}

TEST_F(PictureTest, PanelDrawsAllOutlinesThenAllLabels) {
  draw_control_panel(4);
  const char* const labels[] = {"Change Colors", "Right Punch", "Left Punch",  "Right Kick",
                                "Left Kick",     "Blow wind",   "Grow flower", "Nirvana!!!"};
  ASSERT_EQ(calls().size(), 16u);
  for (int i = 0; i < 8; ++i) {
    const int color = i == 4 ? 5 : 11;
    EXPECT_EQ(calls()[static_cast<std::size_t>(i)], rectangle(color, -295, 245 - 25 * i, -195, 220 - 25 * i, 1));
    EXPECT_EQ(calls()[8 + static_cast<std::size_t>(i)], textf(color, -285, 227 - 25 * i, 12, labels[i]));
  }
  EXPECT_EQ(random_draws_taken(), 0);
}

TEST_F(PictureTest, PanelWithoutAValidHighlightIsAllIceBlue) {
  for (int highlighted : {-1, 8, INT_MIN}) {
    clear_calls();
    draw_control_panel(highlighted);
    ASSERT_EQ(calls().size(), 16u);
    for (const Call& c : calls()) EXPECT_EQ(c.color, 11) << highlighted;
  }
}

}  // namespace

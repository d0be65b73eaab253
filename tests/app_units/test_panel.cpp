// The control panel's hit test, its button actions and error paths, and the
// flower color cycle.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "fake_toolkit.h"
#include "panel.h"
#include "random.h"

namespace {

class PanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    set_random_seed(1);
    clear_calls();
    for (int i = 0; i < FLOWER_COUNT; ++i) {
      scene.flower_bud_color[i] = i + 14;  // 14..23
      scene.flower_bloom_color[i] = i + 15;  // 15..24
    }
  }
  // The seven button flags, in button order.
  std::vector<int> flags() const {
    return {scene.right_punch, scene.left_punch,   scene.right_kick, scene.left_kick,
            scene.wind_blowing, scene.grow_flowers, scene.nirvana};
  }
  SceneState scene;
};

TEST(PanelHit, BoundsAreExclusiveOnAllFourSides) {
  clear_calls();
  const struct {
    int x, y, hit;
  } points[] = {
      {-295, 100, 0}, {-294, 100, 1}, {-196, 100, 1}, {-195, 100, 0},
      {-250, 245, 0}, {-250, 244, 1}, {-250, 46, 1},  {-250, 45, 0},
      {INT_MIN, INT_MIN, 0}, {INT_MAX, INT_MAX, 0},
  };
  for (const auto& p : points) {
    EXPECT_EQ(panel_hit(p.x, p.y), p.hit) << "(" << p.x << ", " << p.y << ")";
  }
  EXPECT_TRUE(calls().empty());
}

TEST_F(PanelTest, EachButtonSetsOnlyItsOwnFlag) {
  for (int button = 1; button < BUTTON_COUNT; ++button) {
    SceneState fresh;
    scene = fresh;
    EXPECT_EQ(press_button(-250, 240 - 25 * button, scene), button);
    std::vector<int> expected(7, 0);
    expected[static_cast<std::size_t>(button - 1)] = 1;
    EXPECT_EQ(flags(), expected) << "button " << button;
  }
  EXPECT_TRUE(calls().empty());
  EXPECT_EQ(random_draws_taken(), 0);
}

TEST_F(PanelTest, SharedEdgesBelongToTheLowerButton) {
  const struct {
    int y, index;
  } rows[] = {{244, 0}, {221, 0}, {220, 1}, {196, 1}, {195, 2}, {71, 6}, {70, 7}, {46, 7}};
  for (const auto& r : rows) {
    EXPECT_EQ(press_button(-250, r.y, scene), r.index) << "y " << r.y;
  }
  EXPECT_EQ(press_button(-294, 100, scene), 5);
  EXPECT_EQ(press_button(-196, 100, scene), 5);
  EXPECT_TRUE(calls().empty());
}

TEST_F(PanelTest, PointBesideTheColumnReportsAndChangesNothing) {
  const SceneState before = scene;
  for (int x : {-296, -194, INT_MIN, INT_MAX}) {
    clear_calls();
    EXPECT_EQ(press_button(x, 100, scene), 0) << x;
    EXPECT_EQ(calls(), std::vector<Call>{report_error()}) << x;
  }
  EXPECT_EQ(flags(), std::vector<int>(7, 0));
  for (int i = 0; i < FLOWER_COUNT; ++i) EXPECT_EQ(scene.flower_bud_color[i], before.flower_bud_color[i]);
  // Its accepted x range is one wider than the hit test's on each side.
  clear_calls();
  EXPECT_EQ(press_button(-295, 100, scene), 5);
  EXPECT_EQ(press_button(-195, 100, scene), 5);
  EXPECT_TRUE(calls().empty());
}

TEST_F(PanelTest, IndexOutsideTheButtonsHaltsAnimationThenReports) {
  const struct {
    int y, index;
  } rows[] = {{45, 8}, {21, 8}, {20, 9}, {270, -1}, {INT_MIN, static_cast<int>((245LL - INT_MIN) / 25)}};
  for (const auto& r : rows) {
    clear_calls();
    EXPECT_EQ(press_button(-250, r.y, scene), r.index) << "y " << r.y;
    const std::vector<Call> expected = {set_animation(0), report_error()};
    EXPECT_EQ(calls(), expected) << "y " << r.y;
  }
  EXPECT_EQ(flags(), std::vector<int>(7, 0));
}

TEST_F(PanelTest, PointJustAboveTheColumnTruncatesToChangeColors) {
  EXPECT_EQ(press_button(-250, 269, scene), 0);
  EXPECT_EQ(press_button(-250, 246, scene), 0);
  EXPECT_TRUE(calls().empty());
  EXPECT_EQ(scene.flower_bud_color[0], 16);
}

TEST_F(PanelTest, ChangeColorsStepsEveryFlowerAlongTheTable) {
  EXPECT_EQ(press_button(-250, 230, scene), 0);
  for (int i = 0; i < FLOWER_COUNT; ++i) {
    EXPECT_EQ(scene.flower_bud_color[i], (i + 15) % 24) << i;    // 23 wraps to 0
    EXPECT_EQ(scene.flower_bloom_color[i], (i + 16) % 24) << i;  // 24 becomes 1
  }
  EXPECT_EQ(scene.flower_bud_color[9], 0);
  EXPECT_EQ(scene.flower_bloom_color[9], 1);
  EXPECT_EQ(flags(), std::vector<int>(7, 0));
}

TEST_F(PanelTest, TwentyFourPressesComeFullCircleExceptStartValue24) {
  for (int press = 0; press < 24; ++press) press_button(-250, 230, scene);
  for (int i = 0; i < FLOWER_COUNT; ++i) {
    EXPECT_EQ(scene.flower_bud_color[i], i + 14) << i;
    EXPECT_EQ(scene.flower_bloom_color[i], i == 9 ? 0 : i + 15) << i;
  }
}

}  // namespace

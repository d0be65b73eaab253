// Catch the falling star: a small game with the mouse, in C++.
//
// A star falls from the top of the window, a little faster after each catch.
// Click on it to catch it and score a point; a star that reaches the ground is
// missed. After three misses the game is over: animation halts and the next
// typed key starts a new game. The score is drawn as text and every catch and
// miss goes to the message log. The stars' places come from a generator with a
// fixed seed, so a recorded script plays the same game every time.
#include "kv318.h"

namespace {

constexpr int STAR_SIZE = 14;   // half the star's width
constexpr int CATCH_REACH = 20; // how near the star a click must be
constexpr int MISSES_ALLOWED = 3;

struct Game {
  int star_x = 0;
  int star_y = 0;
  int speed = 4;  // pixels per tick
  int score = 0;
  int missed = 0;
  unsigned random_state = 2024;
};

int random_below(Game& game, int n) {
  game.random_state = game.random_state * 1103515245u + 12345u;
  return static_cast<int>((game.random_state >> 16) % static_cast<unsigned>(n));
}

void new_star(Game& game) {
  game.star_x = KV318_X_MIN + STAR_SIZE + random_below(game, KV318_X_MAX - KV318_X_MIN - 2 * STAR_SIZE);
  game.star_y = KV318_Y_MAX - 40;
  KV318_log_message("A star falls from (%d,%d)\n", game.star_x, game.star_y);
}

void new_game(Game& game) {
  game.score = 0;
  game.missed = 0;
  game.speed = 4;
  new_star(game);
  KV318_set_animation(ANIM_RUN);
}

bool game_over(const Game& game) { return game.missed >= MISSES_ALLOWED; }

// A five-pointed star from two triangles, centred on (x, y).
void draw_star(int x, int y) {
  KV318_draw_triangle(KV318_GOLD, x - STAR_SIZE, y + 4, x + STAR_SIZE, y + 4, x, y - STAR_SIZE, 0);
  KV318_draw_triangle(KV318_YELLOW, x - STAR_SIZE + 4, y - 10, x + STAR_SIZE - 4, y - 10, x, y + STAR_SIZE, 0);
}

void draw(const Game& game) {
  KV318_clear_window();
  KV318_draw_rectangle(KV318_NAVY_BLUE, KV318_X_MIN, KV318_Y_MAX, KV318_X_MAX, KV318_Y_MIN, 0);
  KV318_draw_rectangle(KV318_FOREST_GREEN, KV318_X_MIN, KV318_Y_MIN + 20, KV318_X_MAX, KV318_Y_MIN, 0);
  KV318_draw_textf(KV318_WHITE, KV318_X_MIN + 10, KV318_Y_MAX - 25, 18, "Score: %d   Missed: %d of %d", game.score,
                   game.missed, MISSES_ALLOWED);
  if (game_over(game)) {
    KV318_draw_text(KV318_RED, -90, 20, 32, "Game over");
    KV318_draw_text(KV318_WHITE, -110, -10, 16, "Type a key to play again");
  } else {
    draw_star(game.star_x, game.star_y);
  }
}

bool near_star(const Game& game, int x, int y) {
  int dx = x - game.star_x;
  int dy = y - game.star_y;
  return dx * dx + dy * dy <= CATCH_REACH * CATCH_REACH;
}

void fall(Game& game) {
  if (game_over(game)) return;  // a script plays its periodic events even while animation is halted
  game.star_y -= game.speed;
  if (game.star_y > KV318_Y_MIN + 20) return;
  ++game.missed;
  KV318_log_message("Missed the star at x = %d (%d of %d)\n", game.star_x, game.missed, MISSES_ALLOWED);
  if (game_over(game)) {
    KV318_log_message("Game over: %d caught\n", game.score);
    KV318_set_animation(ANIM_HALT);
  } else {
    new_star(game);
  }
}

void click(Game& game, int x, int y) {
  if (game_over(game) || !near_star(game, x, y)) return;
  ++game.score;
  ++game.speed;
  KV318_log_message("Caught at (%d,%d): score %d\n", x, y, game.score);
  new_star(game);
}

}  // namespace

int main(int, char**) {
  KV318_init(nullptr, 0, nullptr, 0);
  KV318_set_logging(0);
  Game game;
  new_game(game);
  draw(game);

  int x = 0;
  int y = 0;
  char key = 0;
  for (;;) {
    int kind = KV318_next_event(&x, &y, &key);
    if (kind == EVENT_QUIT) break;
    if (kind == EVENT_PERIODIC) fall(game);
    if (kind == EVENT_MOUSE) click(game, x, y);
    if (kind == EVENT_KEYBOARD && game_over(game)) new_game(game);
    draw(game);
  }
  KV318_shutdown();
  return 0;
}

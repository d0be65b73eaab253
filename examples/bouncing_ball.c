/* A ball that bounces around the window: animation, keys and clicks, in C.
 *
 * Each periodic event moves the ball one step and redraws the picture; when
 * the ball meets a wall it turns back and a line goes to the message log.
 * A typed key gives the ball the next color; a click puts it where the user
 * clicked. The close box or Ctrl+Q ends the program. */
#include "kv318.h"

#define RADIUS 20

struct Ball {
  int x, y;   /* centre, in toolkit coordinates */
  int dx, dy; /* step per tick */
  int color;
};

/* Turns the ball back at a wall; returns the wall's name, or 0 if none was hit. */
static const char* bounce(struct Ball* ball) {
  if (ball->x - RADIUS < KV318_X_MIN) { ball->x = KV318_X_MIN + RADIUS; ball->dx = -ball->dx; return "left"; }
  if (ball->x + RADIUS > KV318_X_MAX) { ball->x = KV318_X_MAX - RADIUS; ball->dx = -ball->dx; return "right"; }
  if (ball->y - RADIUS < KV318_Y_MIN) { ball->y = KV318_Y_MIN + RADIUS; ball->dy = -ball->dy; return "bottom"; }
  if (ball->y + RADIUS > KV318_Y_MAX) { ball->y = KV318_Y_MAX - RADIUS; ball->dy = -ball->dy; return "top"; }
  return 0;
}

static void draw(const struct Ball* ball) {
  KV318_clear_window();
  KV318_draw_text(KV318_GRAY_50, KV318_X_MIN + 8, KV318_Y_MAX - 20, 14,
                  "Type a key for a new color; click to move the ball.");
  KV318_draw_circle(ball->color, ball->x, ball->y, RADIUS);
}

/* The next color after this one, leaving out white, which would not show. */
static int next_color(int color) {
  color = (color + 1) % KV318_COLOR_COUNT;
  return color == KV318_WHITE ? color + 1 : color;
}

int main(void) {
  struct Ball ball = {0, 0, 9, 6, KV318_RED};
  int x = 0, y = 0;
  char key = 0;
  int kind;

  KV318_init(NULL, 0, NULL, 0);
  KV318_set_logging(0); /* logging starts on: one line per drawing call */
  KV318_set_animation(ANIM_RUN);
  draw(&ball);

  while ((kind = KV318_next_event(&x, &y, &key)) != EVENT_QUIT) {
    if (kind == EVENT_PERIODIC) {
      const char* wall;
      ball.x += ball.dx;
      ball.y += ball.dy;
      wall = bounce(&ball);
      if (wall) KV318_log_message("Bounce off the %s wall at (%d,%d)\n", wall, ball.x, ball.y);
    } else if (kind == EVENT_KEYBOARD) {
      ball.color = next_color(ball.color);
      KV318_log_message("Key %d: color %d\n", key, ball.color);
    } else if (kind == EVENT_MOUSE) {
      ball.x = x;
      ball.y = y;
      KV318_log_message("Ball moved to (%d,%d)\n", x, y);
    }
    draw(&ball);
  }
  KV318_shutdown();
  return 0;
}

// The scene's figures, each drawn at an anchor point; some jitter randomly per frame.
#pragma once

void draw_star(int x, int y, int size, int color);
void draw_wind_gust(int x, int y);
void draw_butterfly(int x, int y, int size, int color);
void draw_flower(int x, int y, int radius, int bloom_color, int drop, int bud_color, int wind, int bloom);
void draw_bamboo(int x, int y, int wind);
void draw_sailboat(int x, int y, int half_length, int sail);
void draw_meditator(int x, int y, int meditating);
void draw_left_fighter(int x, int y, int punch, int kick);
void draw_right_fighter(int x, int y, int punch, int kick);

// Names for the toolkit's color indexes that the pictures use.
#pragma once

constexpr int BLACK = 0;
constexpr int WHITE = 1;
constexpr int RED = 2;
constexpr int GREEN = 3;
constexpr int BLUE = 4;
constexpr int YELLOW = 5;
constexpr int CYAN = 7;
constexpr int NAVY_BLUE = 9;
constexpr int ICE_BLUE = 11;
constexpr int TURQUOISE = 12;
constexpr int ORANGE = 13;
constexpr int BROWN = 14;
constexpr int PINK = 15;
constexpr int CHALK = 16;
constexpr int GOLD = 17;
constexpr int PEACH = 18;
constexpr int FOREST_GREEN = 19;
constexpr int SEA_GREEN = 20;
constexpr int OLIVE = 21;
constexpr int GRAY_50 = 22;
constexpr int GRAY_20 = 23;

// A width of 0 fills a rectangle, oval or triangle.
constexpr int FILLED = 0;

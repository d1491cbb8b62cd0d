// Test patterns. Each call draws one complete frame and presents it once.
#pragma once

#include "platform/platform.h"

// One-pixel checkerboard of colour and black over columns 0..xmax and rows
// 0..ymax; in phase 0 pixel (0, 0) is black, phase 1 is the inverse.
void DrawCheckerboard(int xmax, int ymax, Colour colour, int phase);

// A field of one colour, width x height pixels from the top-left corner.
void DrawSolidField(int width, int height, Colour colour);

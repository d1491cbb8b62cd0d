// The pixel operations on a 32-bit back buffer in memory, shared by both
// ways of presenting.
#pragma once

// Points the pixel operations at a buffer; pitch is in bytes.
void AttachBackBuffer(void* pixels, int pitch, int width, int height);

// Where the 8-bit red, green and blue channels sit in a 32-bit pixel.
void SetPixelLayout(int redShift, int greenShift, int blueShift);

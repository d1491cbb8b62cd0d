#include "patterns/patterns.h"

namespace {

// Sets one row pixel by pixel, alternating colour and black, starting with
// black when p is 0.
void DrawCheckerboardRow(int y, int xmax, Colour colour, int p) {
    for (int x = 0; x <= xmax; ++x) {
        PutPixel(x, y, p ? colour : 0);
        p ^= 1;
    }
}

}  // namespace

void DrawCheckerboard(int xmax, int ymax, Colour colour, int phase) {
    BeginDrawing();
    // The phase toggles after every pixel and once more at the end of a row,
    // so a row starts with the phase of the row above it toggled when the row
    // length is even (a true checkerboard) and unchanged when it is odd
    // (one-pixel vertical stripes). Either way row y equals row y - 2, so only
    // the first two rows are drawn pixel by pixel and the rest are copied.
    int p = phase & 1;
    const int rowToggle = xmax & 1;
    for (int y = 0; y <= ymax; ++y) {
        if (y < 2) {
            DrawCheckerboardRow(y, xmax, colour, p);
            p ^= rowToggle;
        } else {
            CopyRow(y - 2, y, xmax + 1);
        }
    }
    EndDrawing();
    ShowFrame();
}

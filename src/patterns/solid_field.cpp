#include "patterns/patterns.h"

void DrawSolidField(int width, int height, Colour colour) {
    BeginDrawing();
    FillBox(0, 0, width, height, colour);
    EndDrawing();
    ShowFrame();
}

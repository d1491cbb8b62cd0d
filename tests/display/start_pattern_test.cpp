// The real program on Xvfb: the start pattern, the window and the pointer.
#include "harness.h"

#include <X11/extensions/Xfixes.h>

namespace {

class StartPatternTest : public ProgramTest,
                         public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(StartPatternTest, IsExactOnEveryPixelThenEscapeEndsWithZero) {
    StartOnXvfb(GetParam().first, GetParam().second);
    EXPECT_TRUE(ShowsPicture(X(), 0, 0, width, height, StartPattern));
    EndWithEscape();
    EXPECT_EQ(ProgramErrors(program), "");
}

// The usual even width gives a checkerboard, an odd one vertical stripes.
INSTANTIATE_TEST_SUITE_P(Sizes, StartPatternTest,
                         ::testing::Values(std::pair{1920, 1080}, std::pair{1023, 767}));

TEST_F(ProgramTest, WindowHasTitleAndCoversTheScreenExactly) {
    StartOnXvfb(800, 600);
    const Window window = FindProgramWindow(X(), 5);
    ASSERT_NE(window, 0u);
    const WindowPlace place = PlaceOf(X(), window);
    EXPECT_EQ(place.x, 0);
    EXPECT_EQ(place.y, 0);
    EXPECT_EQ(place.width, 800);
    EXPECT_EQ(place.height, 600);
    EXPECT_TRUE(place.viewable);
}

bool PointerHidden(Display* display) {
    XFixesCursorImage* cursor = XFixesGetCursorImage(display);
    const bool hidden = cursor != nullptr && cursor->width == 1 && cursor->height == 1 &&
                        (cursor->pixels[0] >> 24) == 0;
    XFree(cursor);
    return hidden;
}

bool WaitForPointer(Display* display, bool hidden, double seconds) {
    for (double waited = 0; waited < seconds; waited += 0.05) {
        if (PointerHidden(display) == hidden) {
            return true;
        }
        Sleep(0.05);
    }
    return false;
}

TEST_F(ProgramTest, PointerIsHiddenOverTheWindowAndBackAfterExit) {
    StartOnXvfb(640, 480);
    MovePointer(X(), 320, 240);
    EXPECT_TRUE(WaitForPointer(X(), true, 5));
    TapKey(X(), "ESC");
    ASSERT_EQ(WaitForExit(program, 10), 0);
    EXPECT_TRUE(WaitForPointer(X(), false, 5));
}

}  // namespace

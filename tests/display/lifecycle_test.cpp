// The real program on Xvfb: how it ends, and what does not end it.
#include "harness.h"

namespace {

constexpr int Width = 320;
constexpr int Height = 240;

TEST_F(ProgramTest, EscapeEndsWithZero) {
    StartOnXvfb(Width, Height);
    PressKey(X(), "ESC");
    EXPECT_EQ(WaitForExit(program, 10), 0);
    ReleaseKey(X(), "ESC");
}

TEST_F(ProgramTest, LeftClickEndsWithZero) {
    StartOnXvfb(Width, Height);
    Click(X(), Button1);
    EXPECT_EQ(WaitForExit(program, 10), 0);
}

// With a left-handed mapping the primary button is the physical right one.
TEST_F(ProgramTest, LeftClickFollowsTheButtonMapping) {
    StartOnXvfb(Width, Height);
    unsigned char map[256];
    const int buttons = XGetPointerMapping(X(), map, 256);
    ASSERT_GE(buttons, 3);
    std::swap(map[0], map[2]);
    ASSERT_EQ(XSetPointerMapping(X(), map, buttons), MappingSuccess);
    XSync(X(), False);
    Sleep(0.3);
    Click(X(), Button1);
    EXPECT_TRUE(StillRunning(program, 1));
    Click(X(), Button3);
    EXPECT_EQ(WaitForExit(program, 10), 0);
}

// Pressed and released in one batch, the tap is over before the program
// looks: only the latch can see it.
TEST_F(ProgramTest, EscapeTappedBetweenTwoLooksStillEnds) {
    StartOnXvfb(Width, Height);
    TapKey(X(), "ESC");
    EXPECT_EQ(WaitForExit(program, 10), 0);
}

TEST_F(ProgramTest, RightClickAndCloseRequestDoNotEndIt) {
    StartOnXvfb(Width, Height);
    Click(X(), Button3);
    EXPECT_TRUE(StillRunning(program, 1));

    const Window window = FindProgramWindow(X(), 5);
    ASSERT_NE(window, 0u);
    SendWmProtocol(X(), window, "WM_DELETE_WINDOW", CurrentTime);
    EXPECT_TRUE(StillRunning(program, 1));
    EXPECT_EQ(FindProgramWindow(X(), 1), window);
    EXPECT_TRUE(ShowsPicture(X(), 0, 0, width, height, StartPattern));
    EndWithEscape();
}

TEST_F(ProgramTest, EscapeEndsItWhileAnotherWindowHasTheFocus) {
    StartOnXvfb(Width, Height);
    const Window other = XCreateSimpleWindow(X(), DefaultRootWindow(X()), 0, 0, 100, 100, 0, 0, 0);
    XMapRaised(X(), other);
    XSync(X(), False);
    Sleep(0.2);
    XSetInputFocus(X(), other, RevertToParent, CurrentTime);
    XSync(X(), False);
    Window focus;
    int revert;
    XGetInputFocus(X(), &focus, &revert);
    ASSERT_EQ(focus, other);
    EndWithEscape();
}

struct BadDisplay {
    const char* display;
    const char* says;
};

TEST(BadDisplay, EndsWithStatusOneAndOneLineSayingWhy) {
    const BadDisplay cases[] = {
        {"", "DISPLAY is not set"},
        {":4077", "cannot open display \":4077\""},
    };
    for (const BadDisplay& c : cases) {
        RunningProgram program = StartProgram(c.display);
        EXPECT_EQ(WaitForExit(program, 10), 1) << c.display;
        const std::string errors = ProgramErrors(program);
        EXPECT_TRUE(errors.starts_with("tftpattern: ")) << errors;
        EXPECT_NE(errors.find(c.says), std::string::npos) << errors;
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
        StopProgram(program);
    }
}

}  // namespace

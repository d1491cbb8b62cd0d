// The real program on Xvfb: every key command gives its picture, on any layout.
#include "harness.h"

namespace {

constexpr int Width = 64;
constexpr int Height = 48;

struct KeyCommand {
    const char* modifier;  // XKB name, or nullptr for none
    const char* digit;
    Picture picture;
};

// In an order where every picture differs from the one before it.
const KeyCommand Commands[] = {
    {nullptr, "AE01", {Picture::Solid, XRed, 0}},
    {nullptr, "AE02", {Picture::Solid, XGreen, 0}},
    {nullptr, "AE03", {Picture::Solid, XBlue, 0}},
    {nullptr, "AE10", {Picture::Solid, XBlack, 0}},
    {nullptr, "AE04", {Picture::Checkerboard, XWhite, 0}},
    {"LFSH", "AE01", {Picture::Checkerboard, XRed, 0}},
    {"RTSH", "AE02", {Picture::Checkerboard, XGreen, 0}},
    {"LFSH", "AE03", {Picture::Checkerboard, XBlue, 0}},
    {"RTSH", "AE04", {Picture::Checkerboard, XWhite, 0}},
    {"LCTL", "AE01", {Picture::Checkerboard, XRed, 1}},
    {"RCTL", "AE02", {Picture::Checkerboard, XGreen, 1}},
    {"LCTL", "AE03", {Picture::Checkerboard, XBlue, 1}},
    {"RCTL", "AE04", {Picture::Checkerboard, XWhite, 1}},
};

class KeyCommandTest : public ProgramTest {
protected:
    ::testing::AssertionResult Command(const KeyCommand& command) {
        return ShowsWhileHeld(command.modifier, command.digit, command.picture);
    }
};

TEST_F(KeyCommandTest, EveryCommandGivesItsExactPicture) {
    StartOnXvfb(Width, Height);
    for (const KeyCommand& command : Commands) {
        EXPECT_TRUE(Command(command));
    }
}

TEST_F(KeyCommandTest, ShiftOrCtrlWithZeroAndKeypadDigitsDrawNothing) {
    StartOnXvfb(Width, Height);
    ASSERT_TRUE(Command(Commands[0]));  // solid red
    for (const char* modifier : {"LFSH", "RCTL"}) {
        Sleep(0.2);
        PressKey(X(), modifier);
        Sleep(0.2);
        PressKey(X(), "AE10");
        Sleep(0.5);
        std::string difference;
        EXPECT_TRUE(ShowsPicture(X(), 0, 0, Width, Height, Commands[0].picture, &difference))
            << modifier << ": " << difference;
        ReleaseKey(X(), "AE10");
        ReleaseKey(X(), modifier);
        // The press of 0 is still latched and draws black once Shift or Ctrl is up.
        ASSERT_TRUE(Shows({Picture::Solid, XBlack, 0}));
        ASSERT_TRUE(Command(Commands[0]));
    }
    for (const char* keypad : {"KP0", "KP1", "KP2", "KP3", "KP4"}) {
        TapKey(X(), keypad);
    }
    Sleep(0.5);
    EXPECT_TRUE(ShowsPicture(X(), 0, 0, Width, Height, Commands[0].picture));
}

// Holding both modifiers draws phase 0 then phase 1 in every pass.
TEST_F(KeyCommandTest, ShiftCtrlAndADigitAlternateThePhases) {
    StartOnXvfb(Width, Height);
    ASSERT_TRUE(Command(Commands[0]));
    PressKey(X(), "LFSH");
    PressKey(X(), "LCTL");
    PressKey(X(), "AE04");
    bool seen[2] = {false, false};
    for (int look = 0; look < 500 && !(seen[0] && seen[1]); ++look) {
        for (int phase = 0; phase < 2; ++phase) {
            seen[phase] |=
                ShowsPicture(X(), 0, 0, Width, Height, {Picture::Checkerboard, XWhite, phase});
        }
    }
    ReleaseKey(X(), "AE04");
    ReleaseKey(X(), "LCTL");
    ReleaseKey(X(), "LFSH");
    EXPECT_TRUE(seen[0]);
    EXPECT_TRUE(seen[1]);
}

TEST_F(KeyCommandTest, NumberRowDigitsWorkOnAFrenchLayout) {
    StartOnXvfb(Width, Height);
    ASSERT_EQ(RunOnDisplay(server.display, "setxkbmap fr"), 0);
    EXPECT_TRUE(Command(Commands[0]));
    EXPECT_TRUE(Command(Commands[5]));
    EXPECT_TRUE(Command(Commands[3]));
}

}  // namespace

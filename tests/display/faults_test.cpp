// The real program on Xvfb in bad moments: signals, a vanished server, an
// input storm, a keyboard map changed under it, a display that refuses it.
#include "harness.h"

#include <X11/extensions/XTest.h>
#include <signal.h>
#include <sys/stat.h>

#include <fstream>

namespace {

constexpr int Width = 320;
constexpr int Height = 240;

struct StopSignal {
    int number;
    bool keyHeld;  // busy drawing a held key, or idle
};

class SignalTest : public ProgramTest, public ::testing::WithParamInterface<StopSignal> {};

void PrintTo(const StopSignal& stop, std::ostream* out) {
    *out << strsignal(stop.number) << (stop.keyHeld ? " while drawing" : " while idle");
}

TEST_P(SignalTest, EndsWithinASecondTheWayTheSignalAsks) {
    const StopSignal stop = GetParam();
    StartOnXvfb(Width, Height);
    if (stop.keyHeld) {
        PressKey(X(), "LCTL");
        PressKey(X(), "AE04");
        ASSERT_TRUE(Shows({Picture::Checkerboard, XWhite, 1}));
    }
    kill(program.pid, stop.number);
    EXPECT_EQ(WaitForExit(program, 1.5), 128 + stop.number);
    EXPECT_EQ(FindProgramWindow(X(), 0), 0u);
    EXPECT_EQ(ProgramErrors(program), "");
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalTest,
                         ::testing::Values(StopSignal{SIGTERM, false}, StopSignal{SIGINT, false},
                                           StopSignal{SIGHUP, false}, StopSignal{SIGTERM, true}));

class VanishedServerTest : public ProgramTest, public ::testing::WithParamInterface<bool> {};

// Idle, the program learns it from the connection closing under its wait;
// busy drawing a held key, from a write to the dead connection.
TEST_P(VanishedServerTest, EndsItWithOneLineAndNoSpin) {
    const bool keyHeld = GetParam();
    StartOnXvfb(Width, Height);
    if (keyHeld) {
        PressKey(X(), "LFSH");
        PressKey(X(), "AE02");
        ASSERT_TRUE(Shows({Picture::Checkerboard, XGreen, 0}));
    }
    kill(server.pid, SIGKILL);
    EXPECT_EQ(WaitForExit(program, 1.5), 1);
    const std::string errors = ProgramErrors(program);
    EXPECT_NE(errors.find("tftpattern: lost the connection to the X server"), std::string::npos)
        << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    server.connection = nullptr;  // dead: closing it would end the test process
}

INSTANTIATE_TEST_SUITE_P(IdleOrDrawing, VanishedServerTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Drawing" : "Idle"; });

// Hundreds of presses in one batch, modifiers mixed in: the last command wins
// and Escape still ends it.
TEST_F(ProgramTest, KeepsUpWithAnInputStorm) {
    StartOnXvfb(Width, Height);
    const char* digits[] = {"AE01", "AE02", "AE03", "AE04", "AE10"};
    const char* modifiers[] = {"LFSH", "RCTL", nullptr};
    for (int i = 0; i < 400; ++i) {
        const char* modifier = modifiers[i % 3];
        const KeyCode digit = KeyCodeOf(X(), digits[i % 5]);
        if (modifier) {
            XTestFakeKeyEvent(X(), KeyCodeOf(X(), modifier), True, CurrentTime);
        }
        XTestFakeKeyEvent(X(), digit, True, CurrentTime);
        XTestFakeKeyEvent(X(), digit, False, CurrentTime);
        if (modifier) {
            XTestFakeKeyEvent(X(), KeyCodeOf(X(), modifier), False, CurrentTime);
        }
    }
    XSync(X(), False);
    EXPECT_TRUE(ShowsWhileHeld("LCTL", "AE03", {Picture::Checkerboard, XBlue, 1}));
    EndWithEscape();
}

// The old XFree86 keycodes put Right Ctrl on another keycode than evdev does.
TEST_F(ProgramTest, FindsKeysByPlaceAfterTheKeyboardMapChanges) {
    StartOnXvfb(Width, Height);
    const KeyCode rightCtrlBefore = KeyCodeOf(X(), "RCTL");
    ASSERT_EQ(RunOnDisplay(server.display, "setxkbmap -keycodes xfree86 -layout de"), 0);
    ASSERT_NE(KeyCodeOf(X(), "RCTL"), rightCtrlBefore);
    Sleep(0.3);
    EXPECT_TRUE(ShowsWhileHeld("RCTL", "AE02", {Picture::Checkerboard, XGreen, 1}));
    EndWithEscape();
}

TEST(RefusingDisplay, EndsWithStatusOneAndOneLine) {
    const std::string cookies = "/tmp/tftpattern-auth-" + std::to_string(getpid());
    const std::string addCookie =
        "xauth -q -f " + cookies + " add :0 . 0123456789abcdef0123456789abcdef 2>/dev/null";
    ASSERT_EQ(std::system(addCookie.c_str()), 0);
    // The server accepts only clients that know the cookie; the program does not.
    TestServer server = StartServer(
        {"Xvfb", "-auth", cookies, "-screen", "0", "320x240x24", "-nolisten", "tcp", "-displayfd"},
        false);
    RunningProgram program = StartProgram(server.display, {"XAUTHORITY=/nonexistent"});
    EXPECT_EQ(WaitForExit(program, 10), 1);
    const std::string errors = ProgramErrors(program);
    EXPECT_NE(errors.find("cannot open display \"" + server.display + "\""), std::string::npos)
        << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    StopProgram(program);
    StopServer(server);
    std::remove(cookies.c_str());
}

}  // namespace

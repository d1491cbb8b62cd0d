// Runs the real program on an X server of the test's own and drives it the
// way a user would: XTEST input in, pixels of the root window out.
#pragma once

// GoogleTest before Xlib, whose macros (None, Bool) would break it.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Colours as the X server stores them in a 24-bit pixel: 0xRRGGBB.
constexpr std::uint32_t XBlack = 0;
constexpr std::uint32_t XRed = 0xFF0000;
constexpr std::uint32_t XGreen = 0x00FF00;
constexpr std::uint32_t XBlue = 0x0000FF;
constexpr std::uint32_t XWhite = 0xFFFFFF;

constexpr char WindowTitle[] = "TFT Adjusting and testing";

// An X server, and the test's own connection to it.
struct TestServer {
    pid_t pid = -1;
    std::string display;  // ":N"
    Display* connection = nullptr;
};

TestServer StartXvfb(int width, int height);
// Starts a server from a command line that takes "-displayfd FD" at its end.
TestServer StartServer(std::vector<std::string> command, bool connect = true);
void StopServer(TestServer& server);

struct RunningProgram {
    pid_t pid = -1;
    std::string stderrPath;
};

// Runs the program with DISPLAY set (or unset, for an empty display) and
// the given extra NAME=VALUE environment entries.
RunningProgram StartProgram(const std::string& display, std::vector<std::string> environment = {});
// The exit status, or 128 + the signal that ended it; nothing if it still
// runs after the given time.
std::optional<int> WaitForExit(RunningProgram& program, double seconds);
bool StillRunning(RunningProgram& program, double forSeconds);
std::string ProgramErrors(const RunningProgram& program);
void StopProgram(RunningProgram& program);

// The program's top-level window, found by its title.
Window FindProgramWindow(Display* display, double seconds);

// Where a window lies on the root window, and whether it is shown.
struct WindowPlace {
    int x, y, width, height;
    bool viewable;
};
WindowPlace PlaceOf(Display* display, Window window);

// Sends the window a WM_PROTOCOLS client message, as a window manager does:
// the protocol's atom (WM_DELETE_WINDOW, _NET_WM_PING), then the other data.
void SendWmProtocol(Display* display, Window window, const char* protocol, long time,
                    long extra = 0);

// What a pixel should be: 0xRRGGBB.
struct Picture {
    enum Kind { Solid, Checkerboard } kind;
    std::uint32_t ink;
    int phase;
};
std::string Describe(const Picture& picture);

// Waits until the area shows the picture exactly on every pixel. A
// checkerboard's phase counts from the area's top-left pixel; its row length
// is the area's width. On failure, says where the last image differed.
bool WaitForPicture(Display* display, int x, int y, int width, int height, Picture picture,
                    double seconds, std::string* difference = nullptr);
bool ShowsPicture(Display* display, int x, int y, int width, int height, Picture picture,
                  std::string* difference = nullptr);

// Input through XTEST, keys named by their place (XKB names such as "AE01").
KeyCode KeyCodeOf(Display* display, const char* xkbName);
void PressKey(Display* display, const char* xkbName);
void ReleaseKey(Display* display, const char* xkbName);
// Press and release in one batch, so both reach the server at once.
void TapKey(Display* display, const char* xkbName);
void Click(Display* display, unsigned int button);
void MovePointer(Display* display, int x, int y);

// Runs a command with DISPLAY set to the test server; returns its exit status.
int RunOnDisplay(const std::string& display, const std::string& command);

// Seconds of CPU time a process has used so far (user + system).
double CpuSeconds(pid_t pid);

void Sleep(double seconds);

// A test with its own X server and the program on it; both end with the test.
class ProgramTest : public ::testing::Test {
protected:
    TestServer server;
    RunningProgram program;
    // Where the program's pictures are: the whole screen, or the primary monitor.
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    // Starts an Xvfb of that size and the program on it.
    void StartOnXvfb(int screenWidth, int screenHeight, std::vector<std::string> environment = {}) {
        server = StartXvfb(screenWidth, screenHeight);
        StartProgramOver(0, 0, screenWidth, screenHeight, std::move(environment));
    }

    // Starts the program on the test's server and waits for its start pattern
    // in the given area.
    void StartProgramOver(int x, int y, int areaWidth, int areaHeight,
                          std::vector<std::string> environment = {}) {
        left = x;
        top = y;
        width = areaWidth;
        height = areaHeight;
        program = StartProgram(server.display, std::move(environment));
        ASSERT_TRUE(Shows(StartPattern, 20)) << ProgramErrors(program);
    }

    ::testing::AssertionResult Shows(Picture picture, double seconds = 10) {
        std::string difference;
        if (WaitForPicture(X(), left, top, width, height, picture, seconds, &difference)) {
            return ::testing::AssertionSuccess();
        }
        return ::testing::AssertionFailure() << difference;
    }

    // Holds the modifier (if any), then the digit, until the picture shows,
    // as a user would: a modifier pressed in the middle of a pass counts only
    // for the tests after it, so a user presses it well before the digit.
    ::testing::AssertionResult ShowsWhileHeld(const char* modifier, const char* digit,
                                              Picture picture) {
        if (modifier != nullptr) {
            PressKey(X(), modifier);
            Sleep(0.2);
        }
        PressKey(X(), digit);
        ::testing::AssertionResult shown = Shows(picture);
        ReleaseKey(X(), digit);
        if (modifier != nullptr) {
            ReleaseKey(X(), modifier);
        }
        return shown << " after " << (modifier ? modifier : "") << " " << digit;
    }

    void EndWithEscape() {
        TapKey(X(), "ESC");
        EXPECT_EQ(WaitForExit(program, 20), 0) << ProgramErrors(program);
    }

    void TearDown() override {
        StopProgram(program);
        StopServer(server);
    }

    Display* X() { return server.connection; }

    static constexpr Picture StartPattern = {Picture::Checkerboard, XWhite, 0};
};

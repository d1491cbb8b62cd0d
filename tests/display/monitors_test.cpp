// The real program on an Xorg server with two monitors (the dummy video
// driver): it covers exactly the primary one, at its current mode, and leaves
// the other alone. Xorg needs root; without it these tests are skipped.
#include "harness.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace {

constexpr char XorgConfig[] = R"(Section "ServerFlags"
    Option "AutoAddDevices" "false"
    Option "AutoEnableDevices" "false"
    Option "DontVTSwitch" "true"
EndSection
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 256000
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0 - 1000.0
    VertRefresh 5.0 - 200.0
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual 3000 1200
    EndSubSection
EndSection
)";

struct Area {
    int x, y, width, height;
};

class MonitorsTest : public ::testing::Test {
protected:
    std::string folder;
    TestServer server;
    RunningProgram program;

    void SetUp() override {
        if (geteuid() != 0) {
            GTEST_SKIP() << "Xorg with the dummy driver needs root";
        }
        char name[] = "/tmp/tftpattern-xorg-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        folder = name;
        std::ofstream(folder + "/xorg.conf") << XorgConfig;
        server = StartServer({"Xorg", "-config", folder + "/xorg.conf", "-noreset", "-nolisten",
                              "tcp", "-logfile", folder + "/Xorg.log", "-novtswitch", "-sharevts",
                              "-displayfd"});
        ASSERT_EQ(Xrandr("--addmode DUMMY1 1024x768"), 0);
    }

    void TearDown() override {
        StopProgram(program);
        StopServer(server);
        if (!folder.empty()) {
            std::system(("rm -rf " + folder).c_str());
        }
    }

    // Sets the monitors, then queries them, as a desktop's settings would.
    int Xrandr(const std::string& arguments) {
        const int status = RunOnDisplay(server.display, "xrandr " + arguments);
        return status != 0 ? status : RunOnDisplay(server.display, "xrandr");
    }

    Display* X() { return server.connection; }

    // Starts the program and checks its window lies exactly over the area.
    void StartOver(Area primary) {
        StopProgram(program);
        program = StartProgram(server.display);
        std::string difference;
        ASSERT_TRUE(WaitForPicture(X(), primary.x, primary.y, primary.width, primary.height,
                                   {Picture::Checkerboard, XWhite, 0}, 20, &difference))
            << difference << ProgramErrors(program);
        const Window window = FindProgramWindow(X(), 5);
        ASSERT_NE(window, 0u);
        XWindowAttributes attributes;
        XGetWindowAttributes(X(), window, &attributes);
        int x = -1, y = -1;
        Window child;
        XTranslateCoordinates(X(), window, DefaultRootWindow(X()), 0, 0, &x, &y, &child);
        EXPECT_EQ(x, primary.x);
        EXPECT_EQ(y, primary.y);
        EXPECT_EQ(attributes.width, primary.width);
        EXPECT_EQ(attributes.height, primary.height);
    }

    void Leave() {
        TapKey(X(), "ESC");
        EXPECT_EQ(WaitForExit(program, 10), 0);
    }
};

TEST_F(MonitorsTest, CoversOnlyThePrimaryOnTheRightAndSmaller) {
    ASSERT_EQ(Xrandr("--output DUMMY0 --mode 1280x1024 --pos 0x0 "
                     "--output DUMMY1 --mode 1024x768 --pos 1280x0 --primary"),
              0);
    const Area left = {0, 0, 1280, 1024};
    const Picture leftBefore = {Picture::Solid, XBlack, 0};
    ASSERT_TRUE(ShowsPicture(X(), left.x, left.y, left.width, left.height, leftBefore));

    StartOver({1280, 0, 1024, 768});
    PressKey(X(), "AE03");
    EXPECT_TRUE(WaitForPicture(X(), 1280, 0, 1024, 768, {Picture::Solid, XBlue, 0}, 10));
    ReleaseKey(X(), "AE03");
    PressKey(X(), "LCTL");
    Sleep(0.2);
    PressKey(X(), "AE01");
    EXPECT_TRUE(WaitForPicture(X(), 1280, 0, 1024, 768, {Picture::Checkerboard, XRed, 1}, 10));
    ReleaseKey(X(), "AE01");
    ReleaseKey(X(), "LCTL");
    EXPECT_TRUE(ShowsPicture(X(), left.x, left.y, left.width, left.height, leftBefore));
    Leave();
}

TEST_F(MonitorsTest, FollowsAChangedPrimaryAndModeAtTheNextStart) {
    ASSERT_EQ(Xrandr("--output DUMMY0 --mode 1280x1024 --pos 0x0 "
                     "--output DUMMY1 --mode 1024x768 --pos 1280x0 --primary"),
              0);
    StartOver({1280, 0, 1024, 768});
    Leave();

    ASSERT_EQ(Xrandr("--output DUMMY0 --mode 800x600 --pos 0x0 --primary "
                     "--output DUMMY1 --mode 1024x768 --pos 800x0"),
              0);
    StartOver({0, 0, 800, 600});
    Leave();

    // With no primary set, the first monitor, as the desktop takes it.
    ASSERT_EQ(Xrandr("--noprimary --output DUMMY0 --mode 1024x768 --pos 1024x0 "
                     "--output DUMMY1 --mode 1024x768 --pos 0x0"),
              0);
    StartOver({1024, 0, 1024, 768});
    Leave();
}

}  // namespace

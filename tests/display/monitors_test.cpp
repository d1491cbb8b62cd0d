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

class MonitorsTest : public ProgramTest {
protected:
    std::string folder;

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
        ProgramTest::TearDown();
        if (!folder.empty()) {
            std::system(("rm -rf " + folder).c_str());
        }
    }

    // Sets the monitors, then queries them, as a desktop's settings would.
    int Xrandr(const std::string& arguments) {
        const int status = RunOnDisplay(server.display, "xrandr " + arguments);
        return status != 0 ? status : RunOnDisplay(server.display, "xrandr");
    }

    // Starts the program and checks its window lies exactly over the monitor.
    void StartOverMonitor(int x, int y, int monitorWidth, int monitorHeight) {
        StartProgramOver(x, y, monitorWidth, monitorHeight);
        const Window window = FindProgramWindow(X(), 5);
        ASSERT_NE(window, 0u);
        const WindowPlace place = PlaceOf(X(), window);
        EXPECT_EQ(place.x, x);
        EXPECT_EQ(place.y, y);
        EXPECT_EQ(place.width, monitorWidth);
        EXPECT_EQ(place.height, monitorHeight);
    }
};

TEST_F(MonitorsTest, CoversOnlyThePrimaryOnTheRightAndSmaller) {
    ASSERT_EQ(Xrandr("--output DUMMY0 --mode 1280x1024 --pos 0x0 "
                     "--output DUMMY1 --mode 1024x768 --pos 1280x0 --primary"),
              0);
    const Picture leftMonitor = {Picture::Solid, XBlack, 0};
    ASSERT_TRUE(ShowsPicture(X(), 0, 0, 1280, 1024, leftMonitor));

    StartOverMonitor(1280, 0, 1024, 768);
    EXPECT_TRUE(ShowsWhileHeld(nullptr, "AE03", {Picture::Solid, XBlue, 0}));
    EXPECT_TRUE(ShowsWhileHeld("LCTL", "AE01", {Picture::Checkerboard, XRed, 1}));
    EXPECT_TRUE(ShowsPicture(X(), 0, 0, 1280, 1024, leftMonitor));
    EndWithEscape();
}

TEST_F(MonitorsTest, FollowsAChangedPrimaryAndModeAtTheNextStart) {
    ASSERT_EQ(Xrandr("--output DUMMY0 --mode 1280x1024 --pos 0x0 "
                     "--output DUMMY1 --mode 1024x768 --pos 1280x0 --primary"),
              0);
    StartOverMonitor(1280, 0, 1024, 768);
    EndWithEscape();

    ASSERT_EQ(Xrandr("--output DUMMY0 --mode 800x600 --pos 0x0 --primary "
                     "--output DUMMY1 --mode 1024x768 --pos 800x0"),
              0);
    StartOverMonitor(0, 0, 800, 600);
    EndWithEscape();

    // With no primary set, the first monitor, as the desktop takes it.
    ASSERT_EQ(Xrandr("--noprimary --output DUMMY0 --mode 1024x768 --pos 1024x0 "
                     "--output DUMMY1 --mode 1024x768 --pos 0x0"),
              0);
    StartOverMonitor(1024, 0, 1024, 768);
    EndWithEscape();
}

}  // namespace

// The real program on Xvfb while nothing happens: it sleeps, yet a tap still
// draws and the window manager's ping is still answered.
#include "harness.h"

namespace {

constexpr int Width = 640;
constexpr int Height = 480;

TEST_F(ProgramTest, IdleCostsNoCpuAndATapStillDraws) {
    StartOnXvfb(Width, Height);
    PressKey(X(), "AE02");
    ASSERT_TRUE(Shows({Picture::Solid, XGreen, 0}));
    ReleaseKey(X(), "AE02");
    Sleep(0.3);

    const double programBefore = CpuSeconds(program.pid);
    const double serverBefore = CpuSeconds(server.pid);
    Sleep(3);
    const double spent =
        CpuSeconds(program.pid) - programBefore + CpuSeconds(server.pid) - serverBefore;
    // A loop that never sleeps spends the whole 3 s; this bound only catches that.
    EXPECT_LT(spent, 0.3) << "seconds of CPU in 3 s of idling";
    RecordProperty("idle_cpu_ms_in_3s", static_cast<int>(spent * 1000));

    TapKey(X(), "AE01");
    EXPECT_TRUE(Shows({Picture::Solid, XRed, 0}));
}

TEST_F(ProgramTest, AnswersThePingWhileIdle) {
    StartOnXvfb(Width, Height);
    Sleep(0.5);
    const Window window = FindProgramWindow(X(), 5);
    ASSERT_NE(window, 0u);
    const Window root = DefaultRootWindow(X());
    XSelectInput(X(), root, SubstructureNotifyMask);
    const Atom protocols = XInternAtom(X(), "WM_PROTOCOLS", False);
    const Atom ping = XInternAtom(X(), "_NET_WM_PING", False);
    SendWmProtocol(X(), window, "_NET_WM_PING", 4242, static_cast<long>(window));

    bool answered = false;
    for (int wait = 0; wait < 100 && !answered; ++wait) {
        while (XPending(X()) > 0 && !answered) {
            XEvent event;
            XNextEvent(X(), &event);
            answered = event.type == ClientMessage && event.xclient.window == root &&
                       event.xclient.message_type == protocols &&
                       static_cast<Atom>(event.xclient.data.l[0]) == ping &&
                       event.xclient.data.l[1] == 4242;
        }
        Sleep(0.05);
    }
    EXPECT_TRUE(answered);
}

}  // namespace

// The real program on Xvfb: frames a second while Shift+Ctrl+4 is held, time
// from starting it to its first frame, and its peak memory, for both ways of
// presenting. Prints a table; it measures, it does not judge.
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstdio>
#include <ctime>
#include <fstream>

#include "harness.h"

namespace {

struct Result {
    double framesPerSecond;
    double firstFrameMs;
    double peakMiB;
};

double MonotonicNs() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1e9 + now.tv_nsec;
}

// acceleration is SDL's framebuffer-acceleration setting, or nullptr to let
// the program choose.
Result Measure(int width, int height, const char* acceleration, double holdSeconds) {
    TestServer server = StartXvfb(width, height);
    const std::string out = "/tmp/tftpattern-presents-" + std::to_string(getpid());
    char t0[32];
    std::snprintf(t0, sizeof t0, "%.0f", MonotonicNs());
    std::vector<std::string> environment = {std::string("LD_PRELOAD=") + PRESENT_COUNTER,
                                            "PRESENT_COUNTER_OUT=" + out,
                                            std::string("PRESENT_COUNTER_T0=") + t0};
    if (acceleration != nullptr) {
        environment.push_back(std::string("SDL_FRAMEBUFFER_ACCELERATION=") + acceleration);
    }
    RunningProgram program = StartProgram(server.display, environment);
    Display* x = server.connection;
    WaitForPicture(x, 0, 0, width, height, {Picture::Checkerboard, XWhite, 0}, 30);
    PressKey(x, "LFSH");
    PressKey(x, "LCTL");
    PressKey(x, "AE04");
    Sleep(holdSeconds);
    ReleaseKey(x, "AE04");
    ReleaseKey(x, "LCTL");
    ReleaseKey(x, "LFSH");
    TapKey(x, "ESC");
    int status = 0;
    rusage usage = {};
    wait4(program.pid, &status, 0, &usage);
    program.pid = -1;
    StopProgram(program);
    StopServer(server);

    std::ifstream report(out);
    std::string word;
    long presents = 0;
    double first = 0, second = 0, last = 0;
    report >> word >> presents >> word >> first >> word >> second >> word >> last;
    std::remove(out.c_str());
    return {(presents - 2) / ((last - second) / 1e3), first, usage.ru_maxrss / 1024.0};
}

}  // namespace

int main() {
    std::printf("%-11s %-26s %12s %16s %14s\n", "screen", "presenting", "frames/s",
                "first frame ms", "peak MiB");
    const int sizes[][2] = {{1920, 1080}, {3840, 2160}};
    for (const auto& size : sizes) {
        const struct {
            const char* acceleration;
            const char* name;
        } ways[] = {{nullptr, "as chosen on this machine"},
                    {"0", "window surface (shm)"},
                    {"1", "GL renderer (vsync)"}};
        for (const auto& way : ways) {
            const Result result = Measure(size[0], size[1], way.acceleration, 3);
            std::printf("%4dx%-6d %-26s %12.0f %16.0f %14.0f\n", size[0], size[1], way.name,
                        result.framesPerSecond, result.firstFrameMs, result.peakMiB);
        }
    }
}

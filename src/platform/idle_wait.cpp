// Sleeping between passes while nothing happens, so a still picture costs
// no CPU: the program wakes for input, window-system events and signals.
#include <poll.h>

#include <cerrno>

#include "platform/platform.h"
#include "platform/platform_internal.h"

namespace {

unsigned long FramesAtLastWait = 0;
unsigned long InputAtLastWait = 0;

void SleepUntilSomethingArrives() {
    pollfd watched[] = {
        {InputConnectionFd(), POLLIN, 0},
        {ScreenConnectionFd(), POLLIN, 0},
        {StopSignalFd(), POLLIN, 0},
    };
    while (poll(watched, 3, -1) < 0 && errno == EINTR) {
    }
}

}  // namespace

void WaitWhileIdle() {
    ServiceWindowEvents();
    DrainInputEvents();
    // A pass that drew something, or input that came in since the last wait,
    // means a held key or a new press: run the next pass at once.
    const bool busy = FramesShown != FramesAtLastWait || InputEventsRead != InputAtLastWait;
    FramesAtLastWait = FramesShown;
    InputAtLastWait = InputEventsRead;
    if (!busy && StopSignal() == 0) {
        SleepUntilSomethingArrives();
    }
}

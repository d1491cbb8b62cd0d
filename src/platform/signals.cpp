// Terminating signals are blocked and read from a signalfd, so the control
// loop can notice them between passes and while it sleeps, and shut down in
// order before ending the way the signal asks.
#include <sys/signalfd.h>
#include <unistd.h>

#include <csignal>

#include "platform/platform.h"
#include "platform/platform_internal.h"

namespace {

int SignalFd = -1;
int ReceivedSignal = 0;

sigset_t StopSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

}  // namespace

void WatchStopSignals() {
    // Blocked before any thread starts, so every thread inherits the mask.
    const sigset_t set = StopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    SignalFd = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (SignalFd < 0) {
        Die("cannot watch for signals");
    }
}

int StopSignalFd() {
    return SignalFd;
}

int StopSignal() {
    signalfd_siginfo info;
    if (ReceivedSignal == 0 && SignalFd >= 0 &&
        read(SignalFd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
        ReceivedSignal = static_cast<int>(info.ssi_signo);
    }
    return ReceivedSignal;
}

void EndBySignal(int signal) {
    std::signal(signal, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    raise(signal);
    _exit(128 + signal);
}

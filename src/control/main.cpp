// tftpattern: full-screen test patterns for adjusting and testing flat panels.
#include "control/program.h"
#include "platform/platform.h"

int main() {
    const int signal = RunProgram();
    if (signal != 0) {
        EndBySignal(signal);
    }
    return 0;
}

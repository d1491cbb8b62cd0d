#include "control/program.h"

#include "control/key_commands.h"
#include "patterns/patterns.h"
#include "platform/platform.h"

int ScreenWidth;
int ScreenHeight;

namespace {

constexpr char WindowTitle[] = "TFT Adjusting and testing";
constexpr int ColourDepth = 32;
constexpr Colour White = 0xFFFFFF;

void StartUp() {
    InitDisplay();
    const DesktopSize size = PrimaryDesktopSize();
    ScreenWidth = size.Width;
    ScreenHeight = size.Height;
    OpenDisplay(ScreenWidth, ScreenHeight, ColourDepth, WindowTitle);
    DrawCheckerboard(ScreenWidth - 1, ScreenHeight - 1, White, 0);
}

// The left button is tested first; Escape only when the button is not active.
bool ExitRequested() {
    return KeyActive(KeyLeftButton) || KeyActive(KeyEscape);
}

void ShutDown() {
    CloseDisplay();
    ReleasePlatform();
}

}  // namespace

int RunProgram() {
    StartUp();
    while (StopSignal() == 0) {
        RunKeyCommandPass();
        if (ExitRequested()) {
            break;
        }
        WaitWhileIdle();
    }
    const int signal = StopSignal();
    ShutDown();
    return signal;
}

#include <gtest/gtest.h>

#include "control/key_commands.h"
#include "control/program.h"
#include "fake/fake_platform.h"

namespace {

// One pass as a line: the keys tested in order, and "=pattern" for each frame presented.
std::string RunOnePass(std::set<int> keys) {
    ResetFake(4, 2);
    ScreenWidth = 4;
    ScreenHeight = 2;
    FakeKeysByPass = {keys};
    RunKeyCommandPass();
    std::string line;
    for (const std::string& entry : FakeLog) {
        if (entry.starts_with("KeyActive ")) {
            line += (line.empty() ? "" : " ") + entry.substr(10);
        } else if (entry.starts_with("ShowFrame ")) {
            line += " =" + entry.substr(10);
        }
    }
    return line;
}

struct PassCase {
    std::set<int> keys;
    std::string pass;
};

TEST(KeyCommands, OnePassTestsKeysInOrderAndDrawsEachActiveCommand) {
    const PassCase cases[] = {
        {{}, "Shift Ctrl 4 1 2 3 0 Shift Ctrl"},
        {{KeyDigit4}, "Shift Ctrl 4 =checkerboard white phase 0 1 2 3 0 Shift Ctrl"},
        {{KeyDigit1}, "Shift Ctrl 4 1 =solid red 2 3 0 Shift Ctrl"},
        {{KeyDigit2}, "Shift Ctrl 4 1 2 =solid green 3 0 Shift Ctrl"},
        {{KeyDigit3}, "Shift Ctrl 4 1 2 3 =solid blue 0 Shift Ctrl"},
        {{KeyDigit0}, "Shift Ctrl 4 1 2 3 0 =solid black Shift Ctrl"},
        {{KeyDigit1, KeyDigit2}, "Shift Ctrl 4 1 =solid red 2 =solid green 3 0 Shift Ctrl"},
        {{KeyShift, KeyDigit1}, "Shift Shift 1 =checkerboard red phase 0 2 3 4 Ctrl"},
        {{KeyShift, KeyDigit2}, "Shift Shift 1 2 =checkerboard green phase 0 3 4 Ctrl"},
        {{KeyShift, KeyDigit3}, "Shift Shift 1 2 3 =checkerboard blue phase 0 4 Ctrl"},
        {{KeyShift, KeyDigit4}, "Shift Shift 1 2 3 4 =checkerboard white phase 0 Ctrl"},
        {{KeyShift, KeyDigit0}, "Shift Shift 1 2 3 4 Ctrl"},
        {{KeyCtrl, KeyDigit1}, "Shift Ctrl Shift Ctrl 1 =checkerboard red phase 1 2 3 4"},
        {{KeyCtrl, KeyDigit2}, "Shift Ctrl Shift Ctrl 1 2 =checkerboard green phase 1 3 4"},
        {{KeyCtrl, KeyDigit3}, "Shift Ctrl Shift Ctrl 1 2 3 =checkerboard blue phase 1 4"},
        {{KeyCtrl, KeyDigit4}, "Shift Ctrl Shift Ctrl 1 2 3 4 =checkerboard white phase 1"},
        {{KeyCtrl, KeyDigit0}, "Shift Ctrl Shift Ctrl 1 2 3 4"},
        {{KeyShift, KeyCtrl, KeyDigit4},
         "Shift Shift 1 2 3 4 =checkerboard white phase 0 Ctrl 1 2 3 4 =checkerboard white "
         "phase 1"},
    };
    for (const PassCase& c : cases) {
        EXPECT_EQ(RunOnePass(c.keys), c.pass);
    }
}

}  // namespace

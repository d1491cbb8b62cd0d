#include "control/key_commands.h"

#include <span>

#include "control/program.h"
#include "patterns/patterns.h"
#include "platform/platform.h"

namespace {

constexpr Colour Black = 0;
constexpr Colour Red = 0xFF;
constexpr Colour Green = 0xFF00;
constexpr Colour Blue = 0xFF0000;
constexpr Colour White = 0xFFFFFF;

enum Pattern { Checkerboard, SolidField };

struct Command {
    int key;
    Pattern pattern;
    Colour colour;
    int phase;
};

// The command table, each group in the order its keys are tested.
constexpr Command PlainCommands[] = {
    {KeyDigit4, Checkerboard, White, 0}, {KeyDigit1, SolidField, Red, 0},
    {KeyDigit2, SolidField, Green, 0},   {KeyDigit3, SolidField, Blue, 0},
    {KeyDigit0, SolidField, Black, 0},
};
constexpr Command ShiftCommands[] = {
    {KeyDigit1, Checkerboard, Red, 0},
    {KeyDigit2, Checkerboard, Green, 0},
    {KeyDigit3, Checkerboard, Blue, 0},
    {KeyDigit4, Checkerboard, White, 0},
};
constexpr Command CtrlCommands[] = {
    {KeyDigit1, Checkerboard, Red, 1},
    {KeyDigit2, Checkerboard, Green, 1},
    {KeyDigit3, Checkerboard, Blue, 1},
    {KeyDigit4, Checkerboard, White, 1},
};

void Draw(const Command& command) {
    if (command.pattern == Checkerboard) {
        DrawCheckerboard(ScreenWidth - 1, ScreenHeight - 1, command.colour, command.phase);
    } else {
        DrawSolidField(ScreenWidth, ScreenHeight, command.colour);
    }
}

// Tests each key of a group in turn, drawing as soon as one is found active.
void RunGroup(std::span<const Command> group) {
    for (const Command& command : group) {
        if (KeyActive(command.key)) {
            Draw(command);
        }
    }
}

}  // namespace

void RunKeyCommandPass() {
    // Ctrl is tested only when Shift is not active.
    const bool plain = !KeyActive(KeyShift) && !KeyActive(KeyCtrl);
    if (plain) {
        RunGroup(PlainCommands);
    }
    if (KeyActive(KeyShift)) {
        RunGroup(ShiftCommands);
    }
    if (KeyActive(KeyCtrl)) {
        RunGroup(CtrlCommands);
    }
}

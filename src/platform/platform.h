// The display and input operations the program is built on.
//
// The program links the SDL2/X11 implementation (src/platform/*.cpp); the unit
// tests link a recording fake with the same functions instead.
#pragma once

#include <cstdint>

// A 24-bit colour: red in the low byte, green in the middle, blue in the high byte.
using Colour = std::uint32_t;

// The keys and buttons the program tests, found by their place on the keyboard.
enum Key : int {
    KeyLeftButton,
    KeyEscape,
    KeyShift,   // either Shift
    KeyCtrl,    // either Ctrl
    KeyDigit0,  // digits of the number row, never the keypad
    KeyDigit1,
    KeyDigit2,
    KeyDigit3,
    KeyDigit4,
    KeyCount
};

struct DesktopSize {
    int Width;
    int Height;
};

// Connects to the window system and prepares the screen; ends the program
// with a message if there is no usable display.
void InitDisplay();

// The current mode of the primary monitor.
DesktopSize PrimaryDesktopSize();

// Covers the primary monitor with a full-screen window of exactly
// width x height pixels, 8 bits a channel, pointer hidden, back buffer black.
void OpenDisplay(int width, int height, int depth, const char* title);

// Takes the window away and shows the pointer again.
void CloseDisplay();

// Gives back everything InitDisplay took.
void ReleasePlatform();

// Drawing goes to the back buffer between BeginDrawing and EndDrawing.
void BeginDrawing();
void PutPixel(int x, int y, Colour colour);
void FillBox(int x, int y, int width, int height, Colour colour);
// Copies columns 0 to width - 1 of row fromY over the same columns of row toY.
void CopyRow(int fromY, int toY, int width);
void EndDrawing();

// Services pending window-system events, then presents the back buffer.
void ShowFrame();

// True when the key is down now or has gone down since the previous test of
// that same key, whichever window has the focus.
bool KeyActive(int key);

// Blocks until new input or a window-system event arrives, but only when
// nothing was drawn and no input came in since the previous call.
void WaitWhileIdle();

// The number of a terminating signal received (SIGINT, SIGTERM, SIGHUP), or 0.
int StopSignal();

// Ends the process the conventional way for that signal.
[[noreturn]] void EndBySignal(int signal);

// Prints "tftpattern: <reason>" on stderr and ends with status 1.
[[noreturn]] void Die(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The program's lifecycle: start-up, control loop and shutdown.
#pragma once

// The screen size, set once at start-up from the primary monitor's mode.
extern int ScreenWidth;
extern int ScreenHeight;

// Runs the program until Escape or the left button; returns 0, or the number
// of the signal that stopped it.
int RunProgram();

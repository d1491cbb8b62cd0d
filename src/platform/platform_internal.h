// What the SDL/X11 platform files share among themselves.
#pragma once

// key_state.cpp: the program's own X connection, for global key state.
void OpenInputConnection();
void CloseInputConnection();
int InputConnectionFd();
bool ServerHasExtension(const char* name);
// Reads every input event the server has sent so far into the latches.
void DrainInputEvents();
// Counts raw key and button events read, presses and releases.
extern unsigned long InputEventsRead;

// screen.cpp: SDL's window on its own X connection.
int ScreenConnectionFd();
// Lets SDL handle window-system events (pings, exposure, close requests).
void ServiceWindowEvents();
extern unsigned long FramesShown;

// signals.cpp: SIGINT, SIGTERM and SIGHUP arrive through a descriptor.
void WatchStopSignals();
int StopSignalFd();

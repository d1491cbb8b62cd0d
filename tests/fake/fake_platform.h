// A recording fake of the platform for unit tests: an in-memory frame, a log
// of the calls that matter, and key states scripted pass by pass.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

extern std::vector<std::string> FakeLog;
// Colours as drawn, one per pixel, row by row.
extern std::vector<Colour> FakeFrame;
extern long FakePixelsSet;
extern int FakeWidth;
extern int FakeHeight;
// The keys active in each pass; a pass ends with WaitWhileIdle. After the
// last scripted pass Escape is active, so a loop under test always ends.
extern std::vector<std::set<int>> FakeKeysByPass;

void ResetFake(int width, int height);

// "solid red", "checkerboard white phase 0", "stripes blue phase 1" or "mixed".
std::string DescribeFrame();

const char* KeyName(int key);

#include "fake/fake_platform.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

std::vector<std::string> FakeLog;
std::vector<Colour> FakeFrame;
long FakePixelsSet = 0;
int FakeWidth = 0;
int FakeHeight = 0;
std::vector<std::set<int>> FakeKeysByPass;

namespace {

std::size_t PassIndex = 0;
bool Drawing = false;

Colour& Pixel(int x, int y) {
    if (!Drawing || x < 0 || y < 0 || x >= FakeWidth || y >= FakeHeight) {
        throw std::logic_error("pixel set outside the frame or outside drawing");
    }
    ++FakePixelsSet;
    return FakeFrame[static_cast<std::size_t>(y) * FakeWidth + x];
}

std::string ColourName(Colour colour) {
    switch (colour) {
        case 0:
            return "black";
        case 0xFF:
            return "red";
        case 0xFF00:
            return "green";
        case 0xFF0000:
            return "blue";
        case 0xFFFFFF:
            return "white";
    }
    char text[16];
    std::snprintf(text, sizeof text, "%06X", colour);
    return text;
}

// The colour of the first non-black pixel, or black.
Colour Ink() {
    for (Colour pixel : FakeFrame) {
        if (pixel != 0) {
            return pixel;
        }
    }
    return 0;
}

bool FrameMatches(Colour ink, int phase, bool stripes) {
    for (int y = 0; y < FakeHeight; ++y) {
        for (int x = 0; x < FakeWidth; ++x) {
            const int coloured = ((stripes ? x : x + y) + phase) & 1;
            if (FakeFrame[static_cast<std::size_t>(y) * FakeWidth + x] != (coloured ? ink : 0)) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

void ResetFake(int width, int height) {
    FakeLog.clear();
    FakeWidth = width;
    FakeHeight = height;
    FakeFrame.assign(static_cast<std::size_t>(width) * height, 0);
    FakePixelsSet = 0;
    FakeKeysByPass.clear();
    PassIndex = 0;
    Drawing = false;
}

std::string DescribeFrame() {
    const Colour ink = Ink();
    if (std::all_of(FakeFrame.begin(), FakeFrame.end(), [&](Colour c) { return c == ink; })) {
        return "solid " + ColourName(ink);
    }
    for (int phase = 0; phase < 2; ++phase) {
        if (FrameMatches(ink, phase, false)) {
            return "checkerboard " + ColourName(ink) + " phase " + std::to_string(phase);
        }
        if (FrameMatches(ink, phase, true)) {
            return "stripes " + ColourName(ink) + " phase " + std::to_string(phase);
        }
    }
    return "mixed";
}

const char* KeyName(int key) {
    static const char* const names[KeyCount] = {"LeftButton", "Escape", "Shift", "Ctrl", "0",
                                                "1",          "2",      "3",     "4"};
    return key >= 0 && key < KeyCount ? names[key] : "?";
}

void InitDisplay() {
    FakeLog.push_back("InitDisplay");
}

DesktopSize PrimaryDesktopSize() {
    FakeLog.push_back("PrimaryDesktopSize");
    return {FakeWidth, FakeHeight};
}

void OpenDisplay(int width, int height, int depth, const char* title) {
    FakeLog.push_back("OpenDisplay " + std::to_string(width) + "x" + std::to_string(height) + "x" +
                      std::to_string(depth) + " \"" + title + "\"");
}

void CloseDisplay() {
    FakeLog.push_back("CloseDisplay");
}
void ReleasePlatform() {
    FakeLog.push_back("ReleasePlatform");
}

void BeginDrawing() {
    Drawing = true;
    FakeLog.push_back("BeginDrawing");
}

void PutPixel(int x, int y, Colour colour) {
    Pixel(x, y) = colour;
}

void FillBox(int x, int y, int width, int height, Colour colour) {
    for (int row = y; row < y + height; ++row) {
        for (int column = x; column < x + width; ++column) {
            Pixel(column, row) = colour;
        }
    }
}

void CopyRow(int fromY, int toY, int width) {
    for (int x = 0; x < width; ++x) {
        const Colour source = FakeFrame.at(static_cast<std::size_t>(fromY) * FakeWidth + x);
        Pixel(x, toY) = source;
    }
}

void EndDrawing() {
    Drawing = false;
    FakeLog.push_back("EndDrawing");
}

void ShowFrame() {
    FakeLog.push_back("ShowFrame " + DescribeFrame());
}

bool KeyActive(int key) {
    FakeLog.push_back(std::string("KeyActive ") + KeyName(key));
    if (PassIndex >= FakeKeysByPass.size()) {
        return key == KeyEscape;
    }
    return FakeKeysByPass[PassIndex].count(key) != 0;
}

void WaitWhileIdle() {
    FakeLog.push_back("WaitWhileIdle");
    ++PassIndex;
}

int StopSignal() {
    return 0;
}
void EndBySignal(int) {
    throw std::logic_error("EndBySignal");
}
void Die(const char*, ...) {
    throw std::logic_error("Die");
}

#include <gtest/gtest.h>

#include "fake/fake_platform.h"
#include "patterns/patterns.h"

namespace {

// The frame as rows of '#' for the colour and '.' for black.
std::vector<std::string> FrameRows(Colour ink) {
    std::vector<std::string> rows;
    for (int y = 0; y < FakeHeight; ++y) {
        std::string row;
        for (int x = 0; x < FakeWidth; ++x) {
            const Colour pixel = FakeFrame[static_cast<std::size_t>(y) * FakeWidth + x];
            row += pixel == ink ? '#' : pixel == 0 ? '.' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

struct SmallBoard {
    int width, height, phase;
    std::vector<std::string> rows;
};

TEST(Checkerboard, SmallScreensPixelByPixel) {
    const SmallBoard boards[] = {
        {4, 2, 0, {".#.#", "#.#."}},
        {4, 2, 1, {"#.#.", ".#.#"}},
        {3, 2, 0, {".#.", ".#."}},  // odd width: vertical stripes
        {3, 2, 1, {"#.#", "#.#"}},
        {1, 3, 0, {".", ".", "."}},
        {2, 5, 0, {".#", "#.", ".#", "#.", ".#"}},
    };
    for (const SmallBoard& board : boards) {
        ResetFake(board.width, board.height);
        DrawCheckerboard(board.width - 1, board.height - 1, 0xFFFFFF, board.phase);
        EXPECT_EQ(FrameRows(0xFFFFFF), board.rows)
            << board.width << "x" << board.height << " phase " << board.phase;
        EXPECT_EQ(FakeLog.size(), 3u);
    }
}

// Row copying must give every pixel the value of the one-pixel-at-a-time
// rule: coloured when phase XOR ((y * (xmax + 2) + x) mod 2) is 1.
TEST(Checkerboard, EveryPixelFollowsTheRuleAtOddAndEvenSizes) {
    const int sizes[][2] = {{1, 1}, {2, 1}, {5, 4}, {6, 7}, {1023, 767}, {1920, 1080}};
    for (const auto& size : sizes) {
        for (int phase = 0; phase < 2; ++phase) {
            const int width = size[0], height = size[1];
            ResetFake(width, height);
            DrawCheckerboard(width - 1, height - 1, 0xFF00, phase);
            long wrong = 0;
            for (int y = 0; y < height; ++y) {
                for (int x = 0; x < width; ++x) {
                    const long index = static_cast<long>(y) * (width + 1) + x;
                    const Colour expected = (phase ^ (index & 1)) ? 0xFF00 : 0;
                    wrong += FakeFrame[static_cast<std::size_t>(y) * width + x] != expected;
                }
            }
            EXPECT_EQ(wrong, 0) << width << "x" << height << " phase " << phase;
        }
    }
}

TEST(Checkerboard, DrawsWholeFrameAndPresentsOnce) {
    ResetFake(8, 6);
    DrawCheckerboard(7, 5, 0xFF, 1);
    EXPECT_EQ(FakeLog, (std::vector<std::string>{"BeginDrawing", "EndDrawing",
                                                 "ShowFrame checkerboard red phase 1"}));
}

TEST(Checkerboard, NegativeMaximumSetsNoPixelButStillPresents) {
    const int maxima[][2] = {{-1, 3}, {3, -1}, {-5, -5}};
    for (const auto& max : maxima) {
        ResetFake(4, 4);
        DrawCheckerboard(max[0], max[1], 0xFFFFFF, 0);
        EXPECT_EQ(FakePixelsSet, 0);
        EXPECT_EQ(FakeLog, (std::vector<std::string>{"BeginDrawing", "EndDrawing",
                                                     "ShowFrame solid black"}));
    }
}

TEST(SolidField, CoversTheFrameAndPresentsOnce) {
    ResetFake(5, 3);
    DrawCheckerboard(4, 2, 0xFFFFFF, 0);
    FakeLog.clear();
    DrawSolidField(5, 3, 0);
    EXPECT_EQ(FakeLog,
              (std::vector<std::string>{"BeginDrawing", "EndDrawing", "ShowFrame solid black"}));
    DrawSolidField(5, 3, 0xFF0000);
    EXPECT_EQ(FakeLog.back(), "ShowFrame solid blue");
}

}  // namespace

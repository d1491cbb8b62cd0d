#include <gtest/gtest.h>

#include <algorithm>

#include "control/program.h"
#include "fake/fake_platform.h"

namespace {

const std::vector<std::string> EmptyPass = {"KeyActive Shift", "KeyActive Ctrl",  "KeyActive 4",
                                            "KeyActive 1",     "KeyActive 2",     "KeyActive 3",
                                            "KeyActive 0",     "KeyActive Shift", "KeyActive Ctrl"};

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

TEST(Program, StartsUpDrawsStartPatternPollsAndShutsDownInOrder) {
    ResetFake(4, 2);
    FakeKeysByPass = {{}};  // one quiet pass, then Escape
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(ScreenWidth, 4);
    EXPECT_EQ(ScreenHeight, 2);
    const std::vector<std::string> expected = Concat({
        {"InitDisplay", "PrimaryDesktopSize", "OpenDisplay 4x2x32 \"TFT Adjusting and testing\"",
         "BeginDrawing", "EndDrawing", "ShowFrame checkerboard white phase 0"},
        EmptyPass,
        {"KeyActive LeftButton", "KeyActive Escape", "WaitWhileIdle"},
        EmptyPass,
        {"KeyActive LeftButton", "KeyActive Escape", "CloseDisplay", "ReleasePlatform"},
    });
    EXPECT_EQ(FakeLog, expected);
}

TEST(Program, LeftButtonEndsWithoutTestingEscape) {
    ResetFake(2, 2);
    FakeKeysByPass = {{KeyLeftButton}};
    EXPECT_EQ(RunProgram(), 0);
    const std::vector<std::string> tail = {"KeyActive Ctrl", "KeyActive LeftButton", "CloseDisplay",
                                           "ReleasePlatform"};
    EXPECT_TRUE(std::equal(tail.rbegin(), tail.rend(), FakeLog.rbegin()));
    EXPECT_EQ(std::count(FakeLog.begin(), FakeLog.end(), "KeyActive Escape"), 0);
}

TEST(Program, ExitKeyHeldAtStartStillShowsStartPatternAndRunsOnePass) {
    ResetFake(2, 2);
    FakeKeysByPass = {{KeyEscape, KeyDigit1}};
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(std::count(FakeLog.begin(), FakeLog.end(), "ShowFrame checkerboard white phase 0"),
              1);
    EXPECT_EQ(std::count(FakeLog.begin(), FakeLog.end(), "ShowFrame solid red"), 1);
    EXPECT_EQ(std::count(FakeLog.begin(), FakeLog.end(), "WaitWhileIdle"), 0);
    EXPECT_EQ(FakeLog.back(), "ReleasePlatform");
}

}  // namespace

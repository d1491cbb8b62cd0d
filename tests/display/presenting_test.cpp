// Both ways of presenting give exact pictures: the window surface this
// machine uses, and the GL renderer a machine with a GPU uses, which Mesa's
// software rasteriser runs here too, only slower.
#include "harness.h"

#include <fstream>

namespace {

struct Way {
    const char* acceleration;
    bool loadsGl;
};

void PrintTo(const Way& way, std::ostream* out) {
    *out << "SDL_FRAMEBUFFER_ACCELERATION=" << way.acceleration;
}

class PresentingTest : public ProgramTest,
                       public ::testing::WithParamInterface<std::tuple<Way, int>> {
protected:
    bool ProgramLoadedGl() {
        std::ifstream maps("/proc/" + std::to_string(program.pid) + "/maps");
        std::string line;
        while (std::getline(maps, line)) {
            if (line.find("libGLX") != std::string::npos) {
                return true;
            }
        }
        return false;
    }
};

TEST_P(PresentingTest, PicturesAreExactAtOddAndEvenWidths) {
    const auto [way, width] = GetParam();
    std::vector<std::string> environment = {std::string("SDL_FRAMEBUFFER_ACCELERATION=") +
                                            way.acceleration};
    if (way.loadsGl) {
        // In a sanitizer build: Mesa keeps memory that the leak checker can
        // tell from the program's only by unwinding every allocation, which
        // makes software GL too slow to test. Memory errors are still checked.
        environment.push_back("ASAN_OPTIONS=detect_leaks=0");
    }
    StartOnXvfb(width, 301, environment);
    EXPECT_EQ(ProgramLoadedGl(), way.loadsGl);
    const struct {
        const char* modifier;
        const char* digit;
        Picture picture;
    } commands[] = {
        {"LCTL", "AE03", {Picture::Checkerboard, XBlue, 1}},
        {nullptr, "AE01", {Picture::Solid, XRed, 0}},
        {"RTSH", "AE02", {Picture::Checkerboard, XGreen, 0}},
    };
    for (const auto& command : commands) {
        EXPECT_TRUE(ShowsWhileHeld(command.modifier, command.digit, command.picture));
    }
    EndWithEscape();
}

INSTANTIATE_TEST_SUITE_P(Ways, PresentingTest,
                         ::testing::Combine(::testing::Values(Way{"0", false}, Way{"1", true}),
                                            ::testing::Values(400, 401)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).loadsGl ? "GlRenderer"
                                                                                : "WindowSurface") +
                                    "_" + std::to_string(std::get<1>(info.param));
                         });

}  // namespace

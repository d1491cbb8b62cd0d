// The CPU part of drawing a frame, against a memset of the same frame in the
// same run (column x_memset) and a one-call-per-pixel checkerboard.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <map>
#include <vector>

#include "patterns/patterns.h"
#include "platform/back_buffer.h"

namespace {

std::vector<std::uint32_t> Frame;
int FrameWidth = 0;
int FrameHeight = 0;

void UseFrame(int width, int height) {
    FrameWidth = width;
    FrameHeight = height;
    Frame.assign(static_cast<std::size_t>(width) * height, 0);
}

// Best of several memsets of the whole frame, in seconds.
double MemsetSeconds() {
    static std::map<std::size_t, double> measured;
    double& best = measured[Frame.size()];
    if (best == 0) {
        best = 1e9;
        for (int i = 0; i < 30; ++i) {
            const auto start = std::chrono::steady_clock::now();
            std::memset(Frame.data(), i & 1 ? 0xFF : 0, Frame.size() * 4);
            benchmark::DoNotOptimize(Frame.data());
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            best = std::min(best, took.count());
        }
    }
    return best;
}

// The checkerboard as one PutPixel call a pixel, for comparison.
void DrawCheckerboardPixelByPixel(int xmax, int ymax, Colour colour, int phase) {
    BeginDrawing();
    int p = phase;
    for (int y = 0; y <= ymax; ++y) {
        for (int x = 0; x <= xmax; ++x) {
            PutPixel(x, y, colour * p);
            p ^= 1;
        }
        p ^= 1;
    }
    EndDrawing();
    ShowFrame();
}

template <typename Draw>
void Measure(benchmark::State& state, Draw draw) {
    UseFrame(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const double memset = MemsetSeconds();
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        draw();
        benchmark::ClobberMemory();
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    state.counters["x_memset"] = took.count() / static_cast<double>(state.iterations()) / memset;
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Frame.size()) * 4);
}

void Checkerboard(benchmark::State& state) {
    Measure(state, [] { DrawCheckerboard(FrameWidth - 1, FrameHeight - 1, 0xFFFFFF, 1); });
}

void SolidField(benchmark::State& state) {
    Measure(state, [] { DrawSolidField(FrameWidth, FrameHeight, 0xFF00); });
}

void CheckerboardPixelByPixel(benchmark::State& state) {
    Measure(state,
            [] { DrawCheckerboardPixelByPixel(FrameWidth - 1, FrameHeight - 1, 0xFFFFFF, 1); });
}

void Sizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->Args({1920, 1080})->Args({3840, 2160})->Args({7680, 4320});
    benchmark->ArgNames({"w", "h"})->Unit(benchmark::kMillisecond);
}

BENCHMARK(Checkerboard)->Apply(Sizes);
BENCHMARK(SolidField)->Apply(Sizes);
BENCHMARK(CheckerboardPixelByPixel)->Apply(Sizes);

}  // namespace

// Drawing goes straight into the frame; presenting is not measured here.
void BeginDrawing() {
    AttachBackBuffer(Frame.data(), FrameWidth * 4, FrameWidth, FrameHeight);
}
void EndDrawing() {}
void ShowFrame() {}

BENCHMARK_MAIN();

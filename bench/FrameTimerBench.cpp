// Per-frame cost of the frame timer and of one message-loop turn, the two things every frame pays.
#include <benchmark/benchmark.h>

#include "engine/platform/MessageLoop.hpp"
#include "engine/platform/TickSource.hpp"
#include "engine/platform/Window.hpp"
#include "engine/render/AdPerformanceCounter.hpp"

namespace {

// A clock that moves one millisecond per reading and never sleeps, so only the timer's own work counts.
class SteppingTicks : public ad::platform::TickSource {
public:
    uint32_t Ticks() override { return ++now_; }
    void Sleep(uint32_t milliseconds) override { now_ += milliseconds; }

private:
    uint32_t now_ = 0;
};

void BM_CalculateOwnWork(benchmark::State& state) {
    SteppingTicks ticks;
    ad::TAdPerformanceCounter counter(false, ticks);
    counter.MaximumFrameRate = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        counter.Calculate();
        benchmark::DoNotOptimize(counter.TimeGap);
    }
}
BENCHMARK(BM_CalculateOwnWork)->Arg(0)->Arg(500);

void BM_CalculateOnSystemClock(benchmark::State& state) {
    ad::TAdPerformanceCounter counter(false, ad::platform::SystemTicks());
    for (auto _ : state) {
        counter.Calculate();
        benchmark::DoNotOptimize(counter.TimeGap);
    }
}
BENCHMARK(BM_CalculateOnSystemClock);

// One turn with a few input events, one running timer and an idle frame that asks for more.
void BM_MessageLoopTurn(benchmark::State& state) {
    using namespace ad::platform;
    HeadlessWindow window(800, 600);
    SteppingTicks ticks;
    MessageLoop loop(window, ticks);
    int handled = 0;
    loop.On().keyDown = [&](int) { ++handled; };
    loop.On().mouseMove = [&](int, int) { ++handled; };
    loop.On().idle = [&](bool& done) {
        ++handled;
        done = false;
    };
    loop.SetTimerEnabled(loop.AddTimer(1000, [&] { ++handled; }), true);
    const auto events = state.range(0);
    for (auto _ : state) {
        for (int64_t i = 0; i < events; ++i) {
            window.PushEvent(WindowEvent{EventKind::MouseMove, 0, static_cast<int>(i), 1, MouseButton::Left});
        }
        loop.RunOnce();
    }
    benchmark::DoNotOptimize(handled);
}
BENCHMARK(BM_MessageLoopTurn)->Arg(0)->Arg(4);

} // namespace

BENCHMARK_MAIN();

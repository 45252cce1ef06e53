// Instance creation with its factory bank, program switches and state chunks,
// as the host's user-interface thread meets them.

#include "plugin/vstclass.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

void CreateInstance(benchmark::State& state)
{
    for (auto _ : state) {
        VSTCLASS plug(nullptr);
        benchmark::DoNotOptimize(plug.GetProgram(141));
    }
}
BENCHMARK(CreateInstance);

void SwitchProgram(benchmark::State& state)
{
    VSTCLASS plug(nullptr);
    int slot = 1;
    for (auto _ : state) {
        plug.Dispatch(vst2::kOpSetProgram, 0, slot, nullptr, 0.0f);
        slot = slot % 141 + 1;
    }
}
BENCHMARK(SwitchProgram);

void GetChunk(benchmark::State& state)
{
    VSTCLASS plug(nullptr);
    const auto index = static_cast<std::int32_t>(state.range(0)); // 0 bank, 1 program
    for (auto _ : state) {
        void* data = nullptr;
        benchmark::DoNotOptimize(plug.Dispatch(vst2::kOpGetChunk, index, 0, &data, 0.0f));
    }
}
BENCHMARK(GetChunk)->Arg(0)->Arg(1);

void SetChunk(benchmark::State& state)
{
    VSTCLASS plug(nullptr);
    const auto index = static_cast<std::int32_t>(state.range(0));
    void* data = nullptr;
    const auto size = plug.Dispatch(vst2::kOpGetChunk, index, 0, &data, 0.0f);
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    std::vector<std::uint8_t> chunk(bytes, bytes + size);
    for (auto _ : state)
        benchmark::DoNotOptimize(plug.Dispatch(vst2::kOpSetChunk, index, size, chunk.data(), 0.0f));
}
BENCHMARK(SetChunk)->Arg(0)->Arg(1);

} // namespace

BENCHMARK_MAIN();

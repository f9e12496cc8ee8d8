// Per-event cost of the engine and load time of the reader, on generated layouts.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "KeyTranslation.h"
#include "LayoutFile.h"

namespace {

class AltGrHeld : public KeyStateSource {
public:
    bool IsKeyHeld(int32_t code) override { return code == 165; }
    bool IsShiftHeld() override { return false; }
    bool IsCapsLockOn() override { return false; }
};

// `rows` rows; the chord key 65 and the sequence key 69 come last, so the whole table is scanned.
void ActivateGenerated(int rows) {
    std::vector<int16_t> keys, act{165}, mods{0, 222};
    std::vector<uint8_t> idx;
    std::vector<int32_t> lower, upper;
    for (int r = 0; r < rows - 2; ++r) {
        keys.push_back(static_cast<int16_t>(100 + r % 50));
        idx.push_back(static_cast<uint8_t>(r % 2));
        lower.push_back(0x100 + r);
        upper.push_back(0x200 + r);
    }
    keys.push_back(65); idx.push_back(0); lower.push_back(0xE2); upper.push_back(0xC2);
    keys.push_back(69); idx.push_back(1); lower.push_back(0xE1); upper.push_back(0xC1);
    ActivateLayout(keys, idx, lower, upper, act, mods);
    EngineState() = KeyEngineState{};
}

void BM_Chord(benchmark::State& state) {
    ActivateGenerated(static_cast<int>(state.range(0)));
    AltGrHeld keys;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ProcessKeyEvent(KeyEventKind::KeyDown, 65, keys));
        benchmark::DoNotOptimize(ProcessKeyEvent(KeyEventKind::KeyUp, 65, keys));
    }
    state.SetItemsProcessed(state.iterations() * 2);
}

void BM_ModifierSequence(benchmark::State& state) {
    ActivateGenerated(static_cast<int>(state.range(0)));
    AltGrHeld keys;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ProcessKeyEvent(KeyEventKind::KeyDown, 222, keys));
        benchmark::DoNotOptimize(ProcessKeyEvent(KeyEventKind::KeyUp, 222, keys));
        benchmark::DoNotOptimize(ProcessKeyEvent(KeyEventKind::KeyDown, 69, keys));
        benchmark::DoNotOptimize(ProcessKeyEvent(KeyEventKind::KeyUp, 69, keys));
    }
    state.SetItemsProcessed(state.iterations() * 4);
}

void BM_PassedKey(benchmark::State& state) {
    ActivateGenerated(static_cast<int>(state.range(0)));
    AltGrHeld keys;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ProcessKeyEvent(KeyEventKind::KeyDown, 90, keys));
        benchmark::DoNotOptimize(ProcessKeyEvent(KeyEventKind::KeyUp, 90, keys));
    }
    state.SetItemsProcessed(state.iterations() * 2);
}

BENCHMARK(BM_Chord)->Arg(40)->Arg(1000);
BENCHMARK(BM_ModifierSequence)->Arg(40)->Arg(1000);
BENCHMARK(BM_PassedKey)->Arg(40)->Arg(1000);

// A layout file of about `bytes` bytes, of rows or, with `comments`, of one-comment rows.
std::string WriteLayout(std::size_t bytes, bool comments) {
    const std::string path = "engine_bench_" + std::to_string(bytes) + (comments ? "c" : "") + ".vmap";
    std::string text = "NAME bench\r\nKEY:165;\r\nMOD:222;\r\nLAYOUT:\r\n";
    const std::string row = comments ? "65;0;225;193; /* a */\r\n" : "65; 0; 225; 193;\r\n";
    while (text.size() < bytes) text += row;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

void BM_Load(benchmark::State& state) {
    const std::string path = WriteLayout(static_cast<std::size_t>(state.range(0)) << 20, state.range(1) != 0);
    for (auto _ : state) {
        if (!LoadLayoutFile(path.c_str())) state.SkipWithError("load failed");
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(state.iterations() * (state.range(0) << 20));
}

// 1 MiB with comments has about 45,000 of them, 5 MiB about 225,000: both sides of 100,000.
BENCHMARK(BM_Load)->Args({1, 0})->Args({5, 0})->Args({10, 0})->Args({1, 1})->Args({5, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace

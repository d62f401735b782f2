// The cost of the heaviest frame of each kind on the headless host, each
// beside its floor: one memcpy of as many bytes as the frame writes (every
// sprite's clipped area and every fill, two bytes a pixel), from a buffer to a
// buffer warm in cache, as the sheet is. At the end a table sets each frame
// beside its floor.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "bench_game.h"
#include "graphics/graphics.h"

namespace {

struct FrameKind {
    const char* name;
    void (*set_up)();
    void (*frame)();
    void (*put_back)();  // untimed, before each frame; may be null
    uint64_t bytes;      // pixel bytes one frame writes
};

FrameKind kinds[] = {
    {"title_menu", set_up_title, title_menu_frame, nullptr, 0},
    {"title_wipe", set_up_title, title_wipe_frame, nullptr, 0},
    {"play", set_up_play, play_frame, nullptr, 0},
    {"mosaic", set_up_mosaic, mosaic_frame, put_back_mosaic_sheet, 0},
    {"explanation", set_up_explanation, explanation_frame, nullptr, 0},
};

// Sets the kind's scene up and counts what one frame of it writes.
void prepare(FrameKind& kind) {
    kind.set_up();
    if (kind.put_back) kind.put_back();
    const uint64_t before = pixel_bytes_written;
    kind.frame();
    kind.bytes = pixel_bytes_written - before;
}

void frame_cost(benchmark::State& state, FrameKind* kind) {
    prepare(*kind);
    for (auto _ : state) {
        if (kind->put_back) {
            state.PauseTiming();
            kind->put_back();
            state.ResumeTiming();
        }
        kind->frame();
        benchmark::ClobberMemory();
    }
    state.counters["pixel_bytes"] = double(kind->bytes);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kind->bytes));
}

void memcpy_floor(benchmark::State& state, FrameKind* kind) {
    prepare(*kind);
    std::vector<uint8_t> from(kind->bytes, 0x5a), to(kind->bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.counters["pixel_bytes"] = double(kind->bytes);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kind->bytes));
}

// Prints the usual table, then each frame's best CPU time beside its floor's
// (CPU time, so that other work on the machine disturbs the ratio less).
struct RatioReporter : benchmark::ConsoleReporter {
    std::map<std::string, double> best_ns;

    RatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
            const double ns = run.GetAdjustedCPUTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            const std::string name = run.run_name.str();
            auto found = best_ns.find(name);
            if (found == best_ns.end() || ns < found->second) best_ns[name] = ns;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%-12s %12s %10s %10s %7s\n", "frame", "pixel bytes", "frame us", "floor us", "ratio");
        for (const FrameKind& kind : kinds) {
            const auto frame = best_ns.find(std::string("frame/") + kind.name);
            const auto floor = best_ns.find(std::string("floor/") + kind.name);
            if (frame == best_ns.end() || floor == best_ns.end()) continue;
            std::printf("%-12s %12llu %10.2f %10.2f %7.2f\n", kind.name, (unsigned long long)kind.bytes,
                        frame->second / 1000, floor->second / 1000, frame->second / floor->second);
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (!start_bench_game()) {
        std::fprintf(stderr, "kuzari_bench: the game's services did not start\n");
        return 1;
    }
    for (FrameKind& kind : kinds) {
        benchmark::RegisterBenchmark((std::string("frame/") + kind.name).c_str(), frame_cost, &kind)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((std::string("floor/") + kind.name).c_str(), memcpy_floor, &kind)
            ->Unit(benchmark::kMicrosecond);
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

// quorland_bench's entry point: runs the benchmarks, then checks the
// figures that have a budget, one line each ("PASS" or "MISS"). With
// repetitions the median of the repetitions is checked, otherwise the one
// run. Budgets are reported, never enforced: the exit code is that of the
// benchmark library.
#include <benchmark/benchmark.h>

#include <iomanip>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

struct Budget {
    const char* benchmark;
    const char* counter;
    const char* what;
    bool atMost;  // the figure must be <= limit (else >= limit)
    double limit;
};

const Budget kBudgets[] = {
    {"BM_GenerateWorld200Rows", "real_time_ms", "world generation, 200 rows (ms)", true, 50.0},
    {"BM_GameFrameSubmission64x64", "ratio", "frame submission / minimal baseline", true, 1.3},
    {"BM_FullGameFrame1280x768", "shading_ratio", "shipped shading / flat colour, 1280x768", true,
     1.15},
    {"BM_ScreenshotWrite1280x768", "speedup", "screenshot writer speed-up over naive", false, 10.0},
    {"BM_AudioFrameWork", "ratio", "busiest frame's audio work / 64x64 frame submission", true,
     0.01},
    {"BM_SoundStartup", "real_time_ms", "sound start-up: synthesis, buffers, sources (ms)", true,
     50.0},
    {"BM_VerifyTwoMinuteRun", "speedup", "--verify of two minutes, times real time", false, 3000.0},
    {"BM_VerifyTwoMinuteRun", "peak_mb", "--verify of two minutes, peak memory (MB)", true, 64.0},
    {"BM_VerifyEightMegabyteFile", "peak_mb", "--verify of an 8 MB file, peak memory (MB)", true,
     256.0},
};

// The console report, plus the counters of every benchmark's median (or
// single) run.
class BudgetReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) {
                continue;
            }
            const bool isMedian =
                run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (!isMedian && run.run_type != Run::RT_Iteration) {
                continue;
            }
            Figures& figures = figures_[run.run_name.function_name];
            if (isMedian || !figures.fromMedian) {
                figures.fromMedian = isMedian;
                figures.counters.clear();
                for (const auto& [name, counter] : run.counters) {
                    figures.counters[name] = counter.value;
                }
                figures.counters["real_time_ms"] =
                    run.GetAdjustedRealTime() *
                    benchmark::GetTimeUnitMultiplier(benchmark::kMillisecond) /
                    benchmark::GetTimeUnitMultiplier(run.time_unit);
            }
        }
    }

    void printBudgets() const {
        std::cout << "Budgets:" << std::endl;
        for (const Budget& budget : kBudgets) {
            const auto found = figures_.find(budget.benchmark);
            if (found == figures_.end()) {
                std::cout << "  " << budget.what << ": not run" << std::endl;
                continue;
            }
            const auto counter = found->second.counters.find(budget.counter);
            const double value = counter == found->second.counters.end() ? 0.0 : counter->second;
            const bool pass = budget.atMost ? value <= budget.limit : value >= budget.limit;
            std::cout << "  " << budget.what << ": " << std::fixed << std::setprecision(3) << value
                      << (budget.atMost ? " <= " : " >= ") << budget.limit << "  "
                      << (pass ? "PASS" : "MISS") << std::endl;
        }
    }

  private:
    struct Figures {
        bool fromMedian = false;
        std::map<std::string, double> counters;
    };
    std::map<std::string, Figures> figures_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    BudgetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printBudgets();
    benchmark::Shutdown();
    return 0;
}

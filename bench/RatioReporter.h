#pragma once
// A console reporter that keeps each benchmark's time per iteration (the median when
// repeated), so that a program can print its targets as ratios to floors measured in the
// same run. The compared pairs share their time unit.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <QByteArray>

class RatioReporter : public benchmark::ConsoleReporter {
public:
  std::map<std::string, double> times;

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.run_type != Run::RT_Iteration && !median) continue;
      // Arguments belong to the name: "BM_FullRedraw/1000".
      const auto& name = run.run_name;
      times[name.args.empty() ? name.function_name : name.function_name + "/" + name.args] =
          run.GetAdjustedRealTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }

  void PrintRatio(const char* what, const char* ours, const char* floor, double target) const {
    const auto a = times.find(ours), b = times.find(floor);
    if (a == times.end() || b == times.end() || b->second <= 0) return;
    const double ratio = a->second / b->second;
    std::printf("%-40s %6.2fx  (target at most %.2fx: %s)\n", what, ratio, target, ratio <= target ? "met" : "MISSED");
  }
};

// Runs the benchmarks a program registered. Without options: interleaved repetitions
// reported as medians, so that a busy machine tilts neither side of a ratio.
inline void RunInterleaved(int argc, char** argv, RatioReporter& reporter) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  std::vector<char*> args(argv, argv + argc);
  char repetitions[] = "--benchmark_repetitions=5", interleave[] = "--benchmark_enable_random_interleaving=true",
       medians[] = "--benchmark_report_aggregates_only=true";
  if (argc == 1) args.insert(args.end(), {repetitions, interleave, medians});
  int count = int(args.size());
  benchmark::Initialize(&count, args.data());
  benchmark::RunSpecifiedBenchmarks(&reporter);
}

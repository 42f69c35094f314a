// The benchmarks' entry: google benchmark's own run, then the ratios on one last line.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "bench/ratios.h"

namespace bench {

namespace {

std::vector<std::pair<std::string, double>>& Ratios() {
  static std::vector<std::pair<std::string, double>> ratios;
  return ratios;
}

}  // namespace

void ReportRatio(const std::string& name, double ratio) {
  for (auto& entry : Ratios()) {
    if (entry.first == name) {
      entry.second = ratio;
      return;
    }
  }
  Ratios().emplace_back(name, ratio);
}

std::string RatiosLine() {
  std::string line = "RATIOS";
  for (const auto& entry : Ratios()) {
    char value[32];
    std::snprintf(value, sizeof value, "%.3f", entry.second);
    line += " " + entry.first + "=" + value;
  }
  return line;
}

double ThreadCpuMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::fflush(stdout);
  std::printf("%s\n", bench::RatiosLine().c_str());
  return 0;
}

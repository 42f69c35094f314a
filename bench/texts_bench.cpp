// One dialog's worth of texts (40 lookups) against a 3,000-line Localize.ini, and the same
// lookups against their yardstick: reading the files they read, as often, and nothing else.
// Every lookup reads its files anew, so the ratio is the lookups' own cost on top of the reads
// that rule imposes (target: at most 1.3).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "bench/ratios.h"
#include "platform/posix/posix_platform.h"
#include "shell/texts.h"

namespace {

constexpr int LOCALIZE_LINES = 3000;
constexpr int DIALOG_TEXTS = 40;

std::string MakeSettingsFolder() {
  char pattern[] = "/tmp/kd_texts_bench_XXXXXX";
  std::string folder = mkdtemp(pattern);
  std::ofstream localize(folder + "/Localize.ini", std::ios::binary);
  localize << "[Texts]\r\n";
  for (int n = 0; n < LOCALIZE_LINES; ++n) {
    char line[160];
    std::snprintf(line, sizeof line,
                  "%08d=Text number %d of the dialog, in the installed language\r\n", n * 10, n);
    localize << line;
  }
  std::ofstream refer(folder + "/L_Refer.ini", std::ios::binary);
  for (int n = 0; n < 200; ++n) refer << "0009" << 1000 + n << "=00000010\r\n";
  std::ofstream constants(folder + "/L_Const.ini", std::ios::binary);
  for (int n = 0; n < 500; ++n) constants << "0008" << 1000 + n << "=Fallback\r\n";
  return folder;
}

const std::string& Folder() {
  static const std::string folder = MakeSettingsFolder();
  return folder;
}

// The real files, with a record of every whole-file read.
class RecordingFiles : public platform::PosixFiles {
 public:
  bool ReadAll(const std::string& path, std::string* content) override {
    reads.push_back(path);
    return PosixFiles::ReadAll(path, content);
  }
  std::vector<std::string> reads;
};

// Spread over the file, so that lookups scan on average half of it or all of it (the odd ones
// are missing and fall through to L_Const.ini).
void LookUpDialogTexts(const shell::Texts& texts) {
  for (int i = 0; i < DIALOG_TEXTS; ++i) {
    benchmark::DoNotOptimize(texts.GetText(i * (LOCALIZE_LINES * 10 / DIALOG_TEXTS) + 5 * (i % 2)));
  }
}

void BM_DialogTexts(benchmark::State& state) {
  platform::PosixFiles files;
  shell::SettingsReader reader(files, Folder(), shell::SETTINGS_LINE_CHUNK);
  shell::Texts texts(reader, shell::TextKeyStyle::Zeros00);
  for (auto _ : state) LookUpDialogTexts(texts);
}
BENCHMARK(BM_DialogTexts)->Unit(benchmark::kMillisecond);

double Milliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

void BM_DialogTextsOverRead(benchmark::State& state) {
  RecordingFiles files;
  shell::SettingsReader reader(files, Folder(), shell::SETTINGS_LINE_CHUNK);
  shell::Texts texts(reader, shell::TextKeyStyle::Zeros00);
  LookUpDialogTexts(texts);
  const std::vector<std::string> reads = files.reads;  // what one dialog's lookups read

  platform::PosixFiles plain;
  std::vector<double> lookupMs, readMs, lookupCpuMs, readCpuMs;
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    double cpu0 = bench::ThreadCpuMilliseconds();
    LookUpDialogTexts(texts);
    auto t1 = std::chrono::steady_clock::now();
    double cpu1 = bench::ThreadCpuMilliseconds();
    for (const std::string& path : reads) {
      std::string content;
      benchmark::DoNotOptimize(plain.ReadAll(path, &content));
      benchmark::DoNotOptimize(content.data());
    }
    auto t2 = std::chrono::steady_clock::now();
    double cpu2 = bench::ThreadCpuMilliseconds();
    lookupMs.push_back(Milliseconds(t1 - t0));
    readMs.push_back(Milliseconds(t2 - t1));
    lookupCpuMs.push_back(cpu1 - cpu0);
    readCpuMs.push_back(cpu2 - cpu1);
  }
  double lookup = bench::Median(lookupMs);
  double read = bench::Median(readMs);
  double lookupCpu = bench::Median(lookupCpuMs);
  double readCpu = bench::Median(readCpuMs);
  state.counters["lookups_ms"] = lookup;
  state.counters["reads_ms"] = read;
  state.counters["file_reads"] = static_cast<double>(reads.size());
  state.counters["ratio"] = read > 0 ? lookup / read : 0;
  state.counters["cpu_ratio"] = readCpu > 0 ? lookupCpu / readCpu : 0;
  bench::ReportRatio("dialog_texts/read", read > 0 ? lookup / read : 0);
  bench::ReportRatio("dialog_texts/read_cpu", readCpu > 0 ? lookupCpu / readCpu : 0);
}
BENCHMARK(BM_DialogTextsOverRead)->Unit(benchmark::kMillisecond)->Iterations(40);

}  // namespace

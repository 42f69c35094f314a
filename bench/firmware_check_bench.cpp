// The firmware file check against a plain sequential read of the same 64 MiB file, and the heap
// the check holds at its peak.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "bench/heap_count.h"
#include "bench/ratios.h"
#include "firmware/firmware_file.h"
#include "platform/posix/posix_platform.h"

namespace {

constexpr size_t FILE_SIZE = 64u << 20;
constexpr double MIB = 1024.0 * 1024.0;

// The test file, written by a child process so that building it in memory does not count
// against this process's peak resident size.
class BenchFile {
 public:
  BenchFile() : path_("/tmp/kd_bench_firmware_" + std::to_string(getpid()) + ".upg") {
    pid_t child = fork();
    if (child == 0) {
      std::vector<uint8_t> file =
          firmware::MakeFirmwareFile("SN000100", FILE_SIZE - firmware::FW_IMAGE_OFFSET);
      std::ofstream out(path_, std::ios::binary);
      out.write(reinterpret_cast<const char*>(file.data()),
                static_cast<std::streamsize>(file.size()));
      _exit(out ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ok_ = child > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  }
  ~BenchFile() { std::remove(path_.c_str()); }
  const std::string& Path() const { return path_; }
  bool Ok() const { return ok_; }

 private:
  std::string path_;
  bool ok_ = false;
};

BenchFile& File() {
  static BenchFile file;
  return file;
}

long MaxRssKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

int Check() {
  platform::PosixFiles files;
  std::string version;
  return firmware::CheckFirmwareFile(files, File().Path(), &version);
}

// The baseline: the file read front to back into a buffer of its size.
size_t ReadSequential() {
  std::unique_ptr<uint8_t[]> buffer = firmware::TryAllocate(FILE_SIZE);
  int fd = open(File().Path().c_str(), O_RDONLY);
  size_t total = 0;
  if (fd >= 0 && buffer) {
    ssize_t n;
    while (total < FILE_SIZE && (n = read(fd, buffer.get() + total, FILE_SIZE - total)) > 0) {
      total += static_cast<size_t>(n);
    }
  }
  if (fd >= 0) close(fd);
  benchmark::DoNotOptimize(buffer.get());
  return total;
}

double Milliseconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// Registered first, so that the process's peak resident size is still that of its start.
void BM_FirmwareCheckMemory(benchmark::State& state) {
  if (!File().Ok()) {
    state.SkipWithError("cannot write the test file");
    return;
  }
  long rssBefore = MaxRssKiB();
  uint64_t liveBefore = bench::HeapLive();
  bench::ResetHeapPeak();
  int result = Check();
  uint64_t heapPeak = bench::HeapPeak() - liveBefore;
  long rssAfter = MaxRssKiB();
  for (auto _ : state) benchmark::DoNotOptimize(result);
  state.counters["result"] = result;
  state.counters["heap_peak_MiB"] = heapPeak / MIB;
  state.counters["heap_peak_over_file"] = static_cast<double>(heapPeak) / FILE_SIZE;
  state.counters["maxrss_delta_MiB"] = (rssAfter - rssBefore) / 1024.0;
}
BENCHMARK(BM_FirmwareCheckMemory)->Iterations(1);

void BM_FirmwareCheck64MiB(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(Check());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * FILE_SIZE);
}
BENCHMARK(BM_FirmwareCheck64MiB)->Unit(benchmark::kMillisecond);

void BM_SequentialRead64MiB(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ReadSequential());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * FILE_SIZE);
}
BENCHMARK(BM_SequentialRead64MiB)->Unit(benchmark::kMillisecond);

// Both in turn, so that the ratio is taken under the same conditions (target: at most 1.15).
// Which goes first alternates, and the medians are compared: on a shared machine single runs
// scatter. The ratio of CPU times beside it is what the check itself costs, whatever else runs.
void BM_FirmwareCheckOverRead(benchmark::State& state) {
  std::vector<double> checkMs, readMs, checkCpuMs, readCpuMs;
  for (auto _ : state) {
    bool checkFirst = checkMs.size() % 2 == 1;
    for (int turn = 0; turn < 2; ++turn) {
      bool check = (turn == 0) == checkFirst;
      auto t0 = std::chrono::steady_clock::now();
      double cpu0 = bench::ThreadCpuMilliseconds();
      if (check) {
        benchmark::DoNotOptimize(Check());
      } else {
        benchmark::DoNotOptimize(ReadSequential());
      }
      double cpu = bench::ThreadCpuMilliseconds() - cpu0;
      double wall = Milliseconds(std::chrono::steady_clock::now() - t0);
      (check ? checkMs : readMs).push_back(wall);
      (check ? checkCpuMs : readCpuMs).push_back(cpu);
    }
  }
  double check = bench::Median(checkMs);
  double read = bench::Median(readMs);
  double checkCpu = bench::Median(checkCpuMs);
  double readCpu = bench::Median(readCpuMs);
  state.counters["check_ms"] = check;
  state.counters["read_ms"] = read;
  state.counters["ratio"] = read > 0 ? check / read : 0;
  state.counters["cpu_ratio"] = readCpu > 0 ? checkCpu / readCpu : 0;
  bench::ReportRatio("firmware_check/read", read > 0 ? check / read : 0);
  bench::ReportRatio("firmware_check/read_cpu", readCpu > 0 ? checkCpu / readCpu : 0);
}
BENCHMARK(BM_FirmwareCheckOverRead)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

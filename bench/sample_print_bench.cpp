// The sample print: one sample page at 720 dpi on the recording surface (picture read included,
// as every job reads it anew), against one second; and the heap a five-sample run on sheets
// holds at its peak, against 32 MiB.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <array>
#include <chrono>
#include <string>

#include "bench/heap_count.h"
#include "bench/ratios.h"
#include "samples/sample_page.h"
#include "samples/sample_print.h"
#include "tests/support/sample_print_world.h"

namespace {

constexpr double MIB = 1024.0 * 1024.0;
constexpr double PAGE_YARDSTICK_MS = 1000.0;
constexpr double RUN_HEAP_YARDSTICK = 32.0 * MIB;
constexpr char PICTURE[] = "C:\\Sample.bmp";
constexpr int ROLL_WIDTH_720_DPI = 6100 * 720 / 254;  // a 610 mm roll

long MaxRssKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

int DrawOnePage(fakes::FakeFiles& files, fakes::RecordingPrinting& printing) {
  feed::SampleImage image;
  if (feed::LoadSampleImage(files, PICTURE, &image) != feed::SAMPLE_IMAGE_OK) return -1;
  auto surface = printing.Open("driver", "queue", {});
  ui::FontDescription font;
  font.faceName = "Bench Sans";
  const std::array<std::string, feed::CAPTION_COUNT> captions = {
      "Media=Matte,", "Paper feed=Roll,", "Print quality=Fine,", "Paper feed value=-25"};
  return feed::DrawSamplePage(*surface, font, captions, image);
}

// Registered first, so that the process's peak resident size is still that of its start.
void BM_SampleRunMemory(benchmark::State& state) {
  fakes::SampleWorld world;
  long rssBefore = MaxRssKiB();
  uint64_t liveBefore = bench::HeapLive();
  bench::ResetHeapPeak();
  feed::SamplePrint(world).Run(world.Request({-25, -19, -13, -6, 0}, 2), nullptr);
  uint64_t heapPeak = bench::HeapPeak() - liveBefore;
  long rssAfter = MaxRssKiB();
  for (auto _ : state) benchmark::DoNotOptimize(heapPeak);
  if (world.printing.documents.size() != 5) state.SkipWithError("the run did not print five jobs");
  state.counters["heap_peak_MiB"] = heapPeak / MIB;
  state.counters["maxrss_delta_MiB"] = (rssAfter - rssBefore) / 1024.0;
  bench::ReportRatio("sample_run_heap/32MiB", heapPeak / RUN_HEAP_YARDSTICK);
}
BENCHMARK(BM_SampleRunMemory)->Iterations(1);

void BM_SamplePage720Dpi(benchmark::State& state) {
  fakes::FakeFiles files;
  files.Put(PICTURE, fakes::SampleBitmapFile(feed::SAMPLE_IMAGE_WIDTH, feed::SAMPLE_IMAGE_HEIGHT));
  fakes::RecordingPrinting printing;
  printing.pageWidth = ROLL_WIDTH_720_DPI;
  std::vector<double> wallMs, cpuMs;
  for (auto _ : state) {
    printing.documents.clear();
    auto t0 = std::chrono::steady_clock::now();
    double cpu0 = bench::ThreadCpuMilliseconds();
    int result = DrawOnePage(files, printing);
    cpuMs.push_back(bench::ThreadCpuMilliseconds() - cpu0);
    wallMs.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    if (result != feed::SAMPLE_PAGE_OK) state.SkipWithError("the page was not drawn");
  }
  double wall = bench::Median(wallMs);
  double cpu = bench::Median(cpuMs);
  state.counters["page_ms"] = wall;
  state.counters["page_cpu_ms"] = cpu;
  bench::ReportRatio("sample_page_720dpi/1s", wall / PAGE_YARDSTICK_MS);
  bench::ReportRatio("sample_page_720dpi/1s_cpu", cpu / PAGE_YARDSTICK_MS);
}
BENCHMARK(BM_SamplePage720Dpi)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

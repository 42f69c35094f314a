// One dialog's worth of texts (40 lookups) against a 3,000-line Localize.ini.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>

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

void BM_DialogTexts(benchmark::State& state) {
  static const std::string folder = MakeSettingsFolder();
  platform::PosixFiles files;
  shell::SettingsReader reader(files, folder, shell::SETTINGS_LINE_CHUNK);
  shell::Texts texts(reader, shell::TextKeyStyle::Zeros00);
  for (auto _ : state) {
    // Spread over the file, so that lookups scan on average half of it or all of it.
    for (int i = 0; i < DIALOG_TEXTS; ++i) {
      benchmark::DoNotOptimize(
          texts.GetText(i * (LOCALIZE_LINES * 10 / DIALOG_TEXTS) + 5 * (i % 2)));
    }
  }
}
BENCHMARK(BM_DialogTexts)->Unit(benchmark::kMillisecond);

}  // namespace

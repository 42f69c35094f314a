// The scripted library bound behind a ToolApp of fakes, for targets that drive PrinterChannel.
#pragma once

#include <memory>

#include "link/bidi_api.h"
#include "shell/tool_app.h"
#include "tests/support/fake_kbapi.h"
#include "tests/support/test_app.h"

namespace fuzzing {

constexpr char FUZZ_QUEUE[] = "Fuzzed printer";

struct FuzzPrinter {
  fakes::TestPlatform platform{};
  fakes::KbScript* kb = nullptr;
  std::unique_ptr<shell::ToolApp> app;
  std::unique_ptr<printer_link::BidiApi> api;

  // A fresh script (no channels, no replies, empty logs) and the clock back at its start; the
  // binding stays.
  void Reset();
};

// Made on first use and kept for the whole fuzzing process: building an application per input
// would measure the fakes, not the parsers.
FuzzPrinter& TheFuzzPrinter();

}  // namespace fuzzing

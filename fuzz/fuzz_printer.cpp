// The fuzzing process's one application over fakes.
#include "fuzz/fuzz_printer.h"

#include "programs/sunnabar/sunnabar_tables.h"

namespace fuzzing {

namespace {

constexpr uint32_t CLOCK_START = 1000;

}  // namespace

void FuzzPrinter::Reset() {
  *kb = fakes::KbScript();
  platform.clock->now = CLOCK_START;
}

FuzzPrinter& TheFuzzPrinter() {
  // Fuzzing glue: libFuzzer calls a plain function, so the application lives in a static.
  static FuzzPrinter printer = [] {
    FuzzPrinter p;
    auto library = std::make_unique<fakes::FakeKbLibrary>();
    p.kb = &library->script;
    p.app = std::make_unique<shell::ToolApp>(
        programs::SunnabarProfile(),
        fakes::MakeFakePlatform(&p.platform, nullptr, std::move(library)));
    p.api =
        std::make_unique<printer_link::BidiApi>(p.app->Library(), p.app->Spooler(), p.app->Files());
    p.api->Bind(FUZZ_QUEUE, printer_link::LibrarySearch::PlainNameFirst);
    return p;
  }();
  return printer;
}

}  // namespace fuzzing

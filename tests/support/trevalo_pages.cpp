// Trevalo's maintenance pages over fakes.
#include "tests/support/trevalo_pages.h"

#include <cstdio>

#include "programs/trevalo/trevalo_tables.h"

namespace fakes {

void AddMaintenanceTexts(ProgramWorld& world) {
  const int numbers[] = {40002, 40003, 40004, 40005, 40006, 40007, 40008, 40014,
                         40015, 40016, 40100, 40101, 40102, 40300, 40400, 50002,
                         50003, 50100, 50101, 50102, 50300, 50303, 50400};
  std::string& localize = world.fake.files->files[SettingsPath("Localize.ini")];
  for (int n : numbers) {
    char line[64];
    std::snprintf(line, sizeof line, "%08d=T%d\r\n", n, n);
    localize += line;
  }
}

bool RunTrevaloOnPage(ProgramWorld& world, int pageNumber, bool printerChanged,
                      std::function<void(FakeView& page, shell::MainWindow& frame)> script) {
  bool ran = false;
  shell::PageHost* host = nullptr;
  shell::PageFactory trevalo = programs::TrevaloPages();
  shell::PageFactory pages = [&host, trevalo](shell::ToolApp& app, shell::PageHost& h, int n) {
    host = &h;
    return trevalo(app, h, n);
  };
  world.Run(pages, [&](FakeView&) {
    shell::ToolApp& app = *world.app;
    app.SetPrinter(world.queue, TEST_DRIVER, world.spooler->queues[0].portName);
    app.PrinterLink()->Bind(world.queue, printer_link::LibrarySearch::PlainNameFirst);
    auto* frame = dynamic_cast<shell::MainWindow*>(host);
    if (!frame) return;
    // What page 0 showed at start is not the pages' concern.
    world.fake.host->messages.clear();
    app.SetOpenedByPrinterChoice(printerChanged);
    frame->SelectPage(pageNumber);
    app.SetOpenedByPrinterChoice(false);
    shell::Page* page = frame->PageAt(pageNumber);
    FakeView* view = page ? static_cast<FakeView*>(page->Window()) : nullptr;
    if (!view) return;
    ran = true;
    script(*view, *frame);
  });
  return ran;
}

}  // namespace fakes

// The programs' .rc templates against the code: every control a window places, fills or enables
// must be one its template has.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cleaning/maintenance_page_ids.h"
#include "firmware/firmware_page_ids.h"
#include "programs/kestrune/kestrune_tables.h"
#include "programs/sunnabar/sunnabar_tables.h"
#include "programs/trevalo/trevalo_tables.h"
#include "shell/busy_dialog_ids.h"
#include "tests/support/program_world.h"
#include "tests/support/rc_templates.h"

namespace {

using fakes::FakeView;

struct ProgramCase {
  const char* name;
  shell::ProgramProfile (*profile)();
  shell::PageFactory (*pages)();
  // What an operator does on the program's pages once it runs.
  void (*act)(FakeView& main, fakes::ProgramWorld& world);
};

void UseMaintenancePage(FakeView&, fakes::ProgramWorld& world) {
  FakeView* page = world.Window(IDD_MAINTENANCE_PAGE);
  ASSERT_NE(page, nullptr);
  page->Click(IDC_NOZZLE_CHECK);
  page->Click(IDC_DEEP_CLEANING);
  // A printer that is not ready brings up the busy dialog.
  world.printer.State().faults.insert(sim::FAULT_NEVER_READY);
  page->Click(IDC_NOZZLE_CHECK);
  page->Click(IDC_HELP_BUTTON);
}

void UseFirmwarePage(FakeView& main, fakes::ProgramWorld& world) {
  main.ChooseComboEntry(IDC_PRINTER_LIST, 0, ui::COMBO_SELECTION_CHANGED);
  FakeView* page = world.Window(IDD_FIRMWARE_PAGE);
  ASSERT_NE(page, nullptr);
  world.fake.host->chooseFileResult = true;
  world.fake.host->chosenFile = "D:\\Updates\\MISSING.UPG";
  page->Click(IDC_BROWSE);
  main.ChooseComboEntry(IDC_PRINTER_LIST, 1, ui::COMBO_SELECTION_CHANGED);
}

void SwitchTrevaloPages(FakeView& main, fakes::ProgramWorld&) {
  auto& frame = static_cast<shell::MainWindow&>(main.handler);
  for (int page : {1, 2, 3, 0}) frame.SelectPage(page);
}

const ProgramCase PROGRAMS[] = {
    {"Kestrune", programs::KestruneProfile, programs::KestrunePages, UseMaintenancePage},
    {"Sunnabar", programs::SunnabarProfile, programs::SunnabarPages, UseFirmwarePage},
    {"Trevalo", programs::TrevaloProfile, programs::TrevaloPages, SwitchTrevaloPages},
};

std::string Describe(const std::vector<std::pair<int, int>>& missing) {
  std::string text;
  for (const auto& m : missing) {
    text += " template " + std::to_string(m.first) + " control " + std::to_string(m.second);
  }
  return text;
}

TEST(TemplateIds, EveryTemplateTheProgramOpensIsInItsResources) {
  for (const ProgramCase& c : PROGRAMS) {
    SCOPED_TRACE(c.name);
    fakes::RcTemplates rc = fakes::ReadRcTemplates(KD_SOURCE_DIR, fakes::ProgramRcFile(c.name));
    EXPECT_TRUE(rc.problems.empty()) << rc.problems.front();
    shell::ProgramProfile profile = c.profile();
    std::vector<int> needed = {IDD_MAIN_WINDOW, IDD_BUSY, profile.about.templateId};
    for (const shell::PageEntry& entry : profile.pages) {
      if (entry.templateId != 0) needed.push_back(entry.templateId);
    }
    for (int id : needed) EXPECT_EQ(rc.controls.count(id), 1u) << "template " << id;
    const std::vector<int>& about = rc.controls[profile.about.templateId];
    for (int label : profile.about.labels) {
      EXPECT_NE(std::find(about.begin(), about.end(), label), about.end()) << label;
    }
  }
}

TEST(TemplateIds, PagesTouchOnlyControlsTheirTemplatesHave) {
  for (const ProgramCase& c : PROGRAMS) {
    SCOPED_TRACE(c.name);
    fakes::ProgramWorld world(c.profile());
    world.Remember(fakes::TEST_QUEUE);
    bool ran = false;
    world.Run(c.pages(), [&](FakeView& main) {
      ran = true;
      c.act(main, world);
    });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(world.fake.host->missingControls.empty())
        << Describe(world.fake.host->missingControls);
  }
}

TEST(TemplateIds, AControlMissingFromItsTemplateIsCaught) {
  // The check itself: the maintenance page's template without its cleaning button.
  fakes::ProgramWorld world(programs::KestruneProfile());
  std::vector<int>& page = world.fake.host->templates[IDD_MAINTENANCE_PAGE];
  page.erase(std::remove(page.begin(), page.end(), IDC_DEEP_CLEANING), page.end());
  world.Run(programs::KestrunePages(), [](FakeView&) {});
  EXPECT_EQ(world.fake.host->missingControls.at(0),
            (std::pair<int, int>{IDD_MAINTENANCE_PAGE, IDC_DEEP_CLEANING}));
}

}  // namespace

// The settings files the installation ships: each key once within its section, and a text for
// every text number a program names, read as the program reads it (its Settings folder is
// install/Settings with install/<Program>/Settings laid over it).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cleaning/cleaning_page.h"
#include "cleaning/maintenance_page.h"
#include "cleaning/nozzle_check_page.h"
#include "feed/adjustment_page.h"
#include "feed/paper_feed_detail.h"
#include "feed/paper_setting_dialog.h"
#include "feed/pellan_detail.h"
#include "firmware/firmware_texts.h"
#include "programs/kestrune/kestrune_tables.h"
#include "programs/sunnabar/sunnabar_tables.h"
#include "programs/trevalo/trevalo_tables.h"
#include "samples/sample_image.h"
#include "samples/sample_print.h"
#include "samples/sample_run.h"
#include "shell/layout.h"
#include "shell/printer_choice.h"
#include "shell/settings_reader.h"
#include "shell/shared_texts.h"
#include "shell/texts.h"
#include "tests/support/fake_platform.h"
#include "tests/support/test_app.h"

namespace {

namespace fs = std::filesystem;

const fs::path INSTALL_DIR = fs::path(KD_SOURCE_DIR) / "install";

std::vector<fs::path> SettingsFiles(const fs::path& folder) {
  std::vector<fs::path> files;
  if (!fs::is_directory(folder)) return files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == ".ini") files.push_back(entry.path());
  }
  return files;
}

std::string Content(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// The texts the code names for each program: its profile and page tables, and the messages its
// libraries name.
std::set<int> ProfileTexts(const shell::ProgramProfile& p) {
  std::set<int> texts = {
      p.titleText,      p.sharedObjectsFailedText, p.printerLabelText, p.noRegisteredPrinterText,
      p.pageFailedText, p.manualFailedText,        p.closeConfirmText, p.header.secondLineText,
      p.about.menuText, p.busy.messageText,        p.busy.cancelText,  p.busy.noCancelMessageText};
  texts.insert(p.about.texts.begin(), p.about.texts.end());
  for (const shell::PageEntry& page : p.pages) texts.insert({page.nameText, page.descriptionText});
  texts.erase(shell::NO_TEXT);
  return texts;
}

std::set<int> KestruneTexts() {
  std::set<int> texts = ProfileTexts(programs::KestruneProfile());
  texts.insert({cleaning::TEXT_NOT_READY, cleaning::TEXT_CLEANING_SENT, cleaning::TEXT_PREVIEW_ONLY,
                cleaning::TEXT_NOZZLE_CHECK_SENT, cleaning::TEXT_INK_LOW,
                shell::TEXT_TOOL_WRONG_PRINTER});
  return texts;
}

std::set<int> SunnabarTexts() {
  std::set<int> texts = ProfileTexts(programs::SunnabarProfile());
  for (int n = firmware::TEXT_PAGE_CAPTION; n <= firmware::TEXT_FILE_VERSION_CAPTION; ++n) {
    texts.insert(n);
  }
  texts.insert({firmware::TEXT_BROWSE, firmware::TEXT_UPDATE, firmware::TEXT_MANUAL,
                firmware::TEXT_CLOSE, firmware::TEXT_NOT_READY, firmware::TEXT_NO_MEMORY,
                firmware::TEXT_WRONG_PRINTER, firmware::TEXT_NO_PRINTER_VERSION,
                firmware::TEXT_BAD_VERSION_TAG, firmware::TEXT_FILE_DAMAGED, firmware::TEXT_UPDATED,
                firmware::TEXT_UPDATE_TIMED_OUT, firmware::TEXT_VERSION_DIFFERS,
                firmware::TEXT_STILL_NOT_READY, firmware::TEXT_NOT_FIRMWARE,
                firmware::TEXT_PROGRAM_TITLE});
  return texts;
}

std::set<int> TrevaloTexts() {
  std::set<int> texts = ProfileTexts(programs::TrevaloProfile());
  for (const shell::GuideItem& item : programs::TrevaloPrinterPage().items) {
    texts.insert({item.titleText, item.descriptionText});
  }
  texts.insert({shell::NO_PRINTER_TEXT, shell::MONITOR_UNKNOWN_TEXT, shell::WRONG_MODEL_TEXT,
                shell::PREVIEW_NO_PRINTER_TEXT, shell::PREVIEW_MONITOR_TEXT,
                shell::PREVIEW_WRONG_MODEL_TEXT, shell::PREVIEW_NOT_READY_TEXT,
                shell::PREVIEW_NO_OBJECTS_TEXT, shell::PREVIEW_CLOSE_TEXT,
                shell::TEXT_PAGE_PRINTER_CHANGED, shell::TEXT_PAGE_WRONG_PRINTER,
                shell::TEXT_PAGE_NOT_READY, shell::TEXT_PAGE_PRINTER_GONE});
  texts.insert({cleaning::TEXT_CLEANING_HANDED_OVER, cleaning::TEXT_NOZZLE_CHECK_CONFIRM,
                cleaning::TEXT_NOZZLE_CHECK_HANDED_OVER});
  texts.insert({feed::TEXT_HANDLING_REFUSED, feed::TEXT_ROLL, feed::TEXT_SHEET});
  for (int kind = 0; kind < 4; ++kind) texts.insert(feed::TEXT_FIRST_KIND + kind);
  texts.insert({feed::TEXT_FEED_SAVED, feed::TEXT_FEED_SAVE_CONFIRM, feed::TEXT_FEED_NOT_SAVED,
                feed::TEXT_FEED_NO_PICTURE, feed::TEXT_FEED_PICTURE_SIZE,
                feed::TEXT_FEED_VALUE_UNREADABLE, feed::TEXT_FEED_NO_MANUAL,
                feed::TEXT_FEED_MEDIA_LABEL, feed::TEXT_FEED_PAPER_LABEL,
                feed::TEXT_FEED_QUALITY_LABEL, feed::TEXT_FEED_SAMPLE_CAPTION});
  texts.insert({feed::TEXT_AUTO_CUT_LABEL, feed::TEXT_PAPER_SIZE_LABEL, feed::TEXT_PAPER_SETTING_OK,
                feed::TEXT_PAPER_SETTING_CANCEL, feed::TEXT_PAPER_SETTING_TITLE,
                feed::TEXT_AUTO_CUT_ON, feed::TEXT_AUTO_CUT_OFF, feed::TEXT_DRIVER_SETTING_FAILED});
  texts.insert({feed::TEXT_PELLAN_UNREADABLE, feed::TEXT_PELLAN_PREVIEW_ERROR,
                feed::TEXT_PELLAN_SAVED, feed::TEXT_PELLAN_SAVE_QUESTION,
                feed::TEXT_PELLAN_NOT_SAVED, feed::TEXT_PELLAN_NO_IMAGE,
                feed::TEXT_PELLAN_IMAGE_SIZE, feed::TEXT_PELLAN_UNKNOWN_CODE,
                feed::TEXT_PELLAN_SAMPLE_NAME, feed::TEXT_PELLAN_SHIFT_NAME});
  texts.insert({feed::TEXT_SAMPLE_RUN_FAILED, feed::TEXT_SAMPLE_IMAGE_UNREADABLE,
                feed::TEXT_SAMPLE_IMAGE_WRONG_SIZE, feed::TEXT_RUN_TITLE, feed::TEXT_CONFIRM_HEAD,
                feed::TEXT_CONFIRM_PAGES, feed::TEXT_CONFIRM_SHEETS, feed::TEXT_CONFIRM_SAMPLES});
  return texts;
}

TEST(ShippedSettings, NoKeyIsDefinedTwiceWithinASection) {
  std::vector<fs::path> files = SettingsFiles(INSTALL_DIR / "Settings");
  for (const auto& program : fs::directory_iterator(INSTALL_DIR)) {
    std::vector<fs::path> own = SettingsFiles(program.path() / "Settings");
    files.insert(files.end(), own.begin(), own.end());
  }
  ASSERT_FALSE(files.empty());
  for (const fs::path& file : files) {
    std::istringstream lines(Content(file));
    std::string line, section;
    std::set<std::string> keys;
    while (std::getline(lines, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.empty() || line[0] == ';') continue;
      if (line[0] == '[') {
        section = line;
        keys.clear();
        continue;
      }
      size_t separator = line.find_first_of("=:");
      if (separator == std::string::npos) continue;
      std::string key = line.substr(0, separator);
      EXPECT_TRUE(keys.insert(key).second) << file.string() << " " << section << " " << key;
    }
  }
}

TEST(ShippedSettings, EveryTextAProgramNamesHasAText) {
  struct Case {
    const char* name;
    shell::ProgramProfile (*profile)();
    std::set<int> (*texts)();
  };
  const Case cases[] = {{"Kestrune", programs::KestruneProfile, KestruneTexts},
                        {"Sunnabar", programs::SunnabarProfile, SunnabarTexts},
                        {"Trevalo", programs::TrevaloProfile, TrevaloTexts}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fakes::FakeFiles files;
    for (const fs::path& folder : {INSTALL_DIR / "Settings", INSTALL_DIR / c.name / "Settings"}) {
      for (const fs::path& file : SettingsFiles(folder)) {
        files.Put(fakes::SettingsPath(file.filename().string()), Content(file));
      }
    }
    shell::ProgramProfile profile = c.profile();
    shell::SettingsReader reader(files, fakes::TEST_SETTINGS_DIR, profile.lineChunk);
    shell::Texts texts(reader, profile.keyStyle);
    for (int number : c.texts()) EXPECT_NE(texts.GetText(number), "") << "text " << number;
  }
}

}  // namespace

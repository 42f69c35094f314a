// The one printer check, as each of its callers configures it: what the printer is asked, in
// which order, and the verdict (the messages are pinned where they are shown, by the page tests).
#include "shell/printer_check.h"

#include <gtest/gtest.h>

#include <string>

#include "cleaning/execution_page.h"
#include "cleaning/maintenance_page.h"
#include "feed/adjustment_page.h"
#include "feed/detail_parts.h"
#include "firmware/firmware_update.h"
#include "samples/sample_print.h"

namespace {

using shell::LaunchMode;
using shell::PrinterVerdict;

// Answers as scripted and notes each question: I installed, M model, R ready (d: with dialog).
class ScriptedPrinter : public shell::CheckedPrinter {
 public:
  bool StillInstalled() override {
    asked += "I";
    return installed;
  }
  bool MatchDeviceId() override {
    asked += "M";
    bool answer = matches[matchCalls < 2 ? matchCalls : 1];
    ++matchCalls;
    return answer;
  }
  int WaitUntilReady(bool showDialog, ui::View*) override {
    asked += showDialog ? "Rd" : "R";
    return wait;
  }

  bool installed = true;
  bool matches[2] = {true, true};  // the first answer and every later one
  int wait = printer_link::WAIT_READY;
  int matchCalls = 0;
  std::string asked;
};

struct Case {
  const char* name;
  const shell::PrinterCheck& check;
  LaunchMode mode;
  bool installed;
  bool firstMatch;
  int wait;
  bool laterMatch;
  const char* asked;
  PrinterVerdict verdict;
};

constexpr int READY = printer_link::WAIT_READY;
constexpr int NOT_READY = printer_link::WAIT_NOT_READY;
constexpr int NO_LIBRARY = printer_link::WAIT_NO_LIBRARY;
constexpr LaunchMode NORMAL = LaunchMode::Normal;

TEST(PrinterCheckTest, EachCallerAsksWhatItsRuleSaysInOrder) {
  const Case cases[] = {
      {"execution, busy", cleaning::EXECUTION_CHECK, NORMAL, true, true, NOT_READY, true, "IMRdM",
       PrinterVerdict::NotReady},
      {"execution, P asks nothing", cleaning::EXECUTION_CHECK, LaunchMode::P, false, false,
       NOT_READY, false, "", PrinterVerdict::Usable},
      {"maintenance, another model", cleaning::MAINTENANCE_CHECK, NORMAL, false, false, READY, true,
       "M", PrinterVerdict::WrongModel},
      {"maintenance, P waits only", cleaning::MAINTENANCE_CHECK, LaunchMode::P, true, false,
       NOT_READY, false, "RdM", PrinterVerdict::NotReadyWrongModel},
      {"maintenance, U asks nothing", cleaning::MAINTENANCE_CHECK, LaunchMode::U, true, false,
       NOT_READY, false, "", PrinterVerdict::Usable},
      {"maintenance, no library passes", cleaning::MAINTENANCE_CHECK, NORMAL, true, true,
       NO_LIBRARY, true, "MRd", PrinterVerdict::Usable},
      {"update, no library stops", firmware::UPDATE_CHECK, NORMAL, true, true, NO_LIBRARY, true,
       "MRdM", PrinterVerdict::NotReady},
      {"update, P waits only", firmware::UPDATE_CHECK, LaunchMode::P, true, true, READY, true, "Rd",
       PrinterVerdict::Usable},
      {"save, model only after the wait", feed::SAVE_CHECK, NORMAL, true, true, NOT_READY, false,
       "IRdM", PrinterVerdict::NotReady},
      {"sample, U is installed only", feed::SAMPLE_CHECK, LaunchMode::U, true, false, NOT_READY,
       false, "I", PrinterVerdict::Usable},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedPrinter printer;
    printer.installed = c.installed;
    printer.matches[0] = c.firstMatch;
    printer.matches[1] = c.laterMatch;
    printer.wait = c.wait;
    EXPECT_EQ(shell::CheckPrinter(printer, c.mode, c.check, nullptr), c.verdict);
    EXPECT_EQ(printer.asked, c.asked);
  }
}

}  // namespace

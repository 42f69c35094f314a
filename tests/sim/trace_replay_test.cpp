// Recorded traces replayed through the programs' flows: no divergence and the messages of the
// run they were recorded from; edited traces show the programs on a printer that answers
// otherwise. KD_RECORD_TRACES=1 records the traces of tests/traces anew from the simulated printer.
#include "trace/trace_replay.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "cleaning/maintenance_page_ids.h"
#include "feed/adjustment_page_ids.h"
#include "feed/paper_feed_detail_ids.h"
#include "firmware/firmware_file.h"
#include "firmware/firmware_page_ids.h"
#include "programs/kestrune/kestrune_tables.h"
#include "programs/seats/trevalo_seats.h"
#include "programs/sunnabar/sunnabar_tables.h"
#include "programs/trevalo/resource.h"
#include "programs/trevalo/trevalo_tables.h"
#include "shell/main_window_ids.h"
#include "tests/support/program_world.h"
#include "tests/support/trevalo_pages.h"
#include "trace/trace_recorder.h"

namespace {

constexpr char FIRMWARE_PATH[] = "D:\\Updates\\NEW.UPG";
constexpr char NEW_VERSION[] = "SN130315";

enum class Flow {
  NozzleCheck,
  DeepCleaning,
  NozzleCheckThenDeepCleaning,
  FirmwareUpdate,
  PaperFeedSave,
  AdjustmentPage
};

// The sample print is not part of the recorded flow.
class NoSamples : public feed::SamplePrinter {
 public:
  void Run(const feed::SampleRunRequest&, ui::View*) override {}
};

// Trevalo's adjustment page: the paper feed detail of a roll medium, a value saved and read back.
std::vector<std::string> RunPaperFeedSave(fakes::ProgramWorld& world) {
  world.fake.files->Put(fakes::SettingsPath("PaperSet.ini"),
                        "12,05=0102030405060708090A0B0C0D\r\n");
  world.fake.files->files[fakes::SettingsPath("Localize.ini")] +=
      "00020300=T20300\r\n00020302=T20302\r\n";
  NoSamples samples;
  feed::AdjustmentSelection selection;
  selection.mediaCode = 12;
  selection.paperFeed = feed::PAPER_FEED_ROLL;
  selection.qualityPosition = 0;
  bool ran =
      fakes::RunTrevaloOnPage(world, 1, false, [&](fakes::FakeView&, shell::MainWindow& frame) {
        programs::AppDetailSeat details(*world.app, frame, samples);
        programs::AppAdjustmentSeat seat(*world.app, details);
        world.fake.host->modalScripts[IDD_PAPER_FEED_DETAIL] = [&](fakes::FakeView& dialog) {
          dialog.Type(IDC_FEED_SAVE_EDIT, "-4");
          dialog.Click(IDC_FEED_SAVE);
          dialog.Click(ui::ID_CANCEL);
        };
        seat.RunDetail(feed::ADJUST_PAPER_FEED, selection, frame.Window());
      });
  EXPECT_TRUE(ran);
  return world.MessageTexts();
}

std::string SourceFile(const std::string& path) {
  std::ifstream in(std::string(KD_SOURCE_DIR) + "/" + path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Trevalo as installed, from page 0: the printer chosen, its guide item opens the adjustment page
// (the driver's media), the paper feed detail of the first medium, a value saved, the page closed.
std::vector<std::string> RunAdjustmentPage(fakes::ProgramWorld& world) {
  world.fake.system->version = {6, 1};
  world.spooler->queues[0].portName = "KD1394D3_1";
  world.app->SetProgramObjects(std::make_unique<programs::TrevaloObjects>());
  for (const char* file : {"MediaP1.ini", "PaperSet.ini", "Guide.ini"}) {
    world.fake.files->Put(fakes::SettingsPath(file),
                          SourceFile(std::string("install/Settings/") + file));
  }
  world.fake.files->files[fakes::SettingsPath("Localize.ini")] +=
      "00020300=T20300\r\n00020302=T20302\r\n";
  world.fake.host->modalScripts[IDD_PAPER_FEED_DETAIL] = [](fakes::FakeView& dialog) {
    dialog.Type(IDC_FEED_SAVE_EDIT, "5");
    dialog.Click(IDC_FEED_SAVE);
    dialog.Click(ui::ID_CANCEL);
  };
  world.Run(programs::TrevaloPages(), [&](fakes::FakeView&) {
    fakes::FakeView* page = world.Window(IDD_PRINTER_PAGE);
    if (!page || world.fake.host->guideLists.empty()) return;
    page->ChooseComboEntry(IDC_PRINTER_LIST, 0, ui::COMBO_SELECTION_CHANGED);
    world.fake.host->guideLists[0]->Click(0);
    fakes::FakeView* adjustment = world.Window(IDD_ADJUSTMENT_PAGE);
    if (!adjustment) return;
    adjustment->Click(IDC_PAPER_FEED_DETAIL);
    adjustment->Click(IDC_ADJUSTMENT_CLOSE);
  });
  return world.MessageTexts();
}

std::string TracePath(const std::string& name) {
  return std::string(KD_SOURCE_DIR) + "/tests/traces/" + name + ".trace";
}

class StringSink : public trace::TraceSink {
 public:
  explicit StringSink(platform::Clock& clock) : clock_(clock) {}
  bool Append(const std::string& line) override {
    text += line + "\n";
    return true;
  }
  void Report(const std::string&) override {}
  uint32_t Tick() override { return clock_.TickCount(); }
  std::string text;

 private:
  platform::Clock& clock_;
};

// Runs one flow of its program from start-up; answers the message texts it showed.
std::vector<std::string> RunFlow(fakes::ProgramWorld& world, Flow flow) {
  if (flow == Flow::PaperFeedSave) return RunPaperFeedSave(world);
  if (flow == Flow::AdjustmentPage) return RunAdjustmentPage(world);
  // As the Wine suite starts Kestrune: nothing remembered, the printer chosen from the list.
  bool both = flow == Flow::NozzleCheckThenDeepCleaning;
  if (!both) world.Remember(world.queue);
  std::vector<uint8_t> file = firmware::MakeFirmwareFile(NEW_VERSION, 4096);
  world.fake.files->Put(FIRMWARE_PATH, std::string(file.begin(), file.end()));
  world.fake.host->chooseFileResult = true;
  world.fake.host->chosenFile = FIRMWARE_PATH;
  bool kestrune = flow != Flow::FirmwareUpdate;
  world.Run(kestrune ? programs::KestrunePages() : programs::SunnabarPages(),
            [&](fakes::FakeView& main) {
              if (both || !kestrune) {
                main.ChooseComboEntry(IDC_PRINTER_LIST, 0, ui::COMBO_SELECTION_CHANGED);
              }
              if (kestrune) {
                fakes::FakeView* page = world.Window(IDD_MAINTENANCE_PAGE);
                if (flow != Flow::DeepCleaning) page->Click(IDC_NOZZLE_CHECK);
                if (flow != Flow::NozzleCheck) page->Click(IDC_DEEP_CLEANING);
                return;
              }
              fakes::FakeView* page = world.Window(IDD_FIRMWARE_PAGE);
              page->Click(IDC_BROWSE);
              page->Click(IDC_UPDATE);
            });
  return world.MessageTexts();
}

shell::ProgramProfile ProfileOf(Flow flow) {
  if (flow == Flow::PaperFeedSave || flow == Flow::AdjustmentPage) {
    return programs::TrevaloProfile();
  }
  return flow == Flow::FirmwareUpdate ? programs::SunnabarProfile() : programs::KestruneProfile();
}

struct Replayed {
  std::vector<std::string> messages;
  std::vector<std::string> divergences;
  size_t unanswered = 0;
  std::vector<std::string> log;
};

// The queue of the trace's first call that names one: the world's queue takes its name, so that
// a trace recorded elsewhere replays unchanged.
std::string QueueOf(const trace::Trace& read) {
  for (const trace::Call& call : read.calls) {
    const trace::Field* queue = trace::FindField(call.in, "queue");
    if (queue && queue->kind == trace::ValueKind::Text) return queue->data;
  }
  return fakes::TEST_QUEUE;
}

Replayed Replay(Flow flow, const std::string& name) {
  std::ifstream in(TracePath(name));
  std::stringstream text;
  text << in.rdbuf();
  trace::Trace read = trace::ReadTrace(text.str());
  fakes::ProgramWorld world(ProfileOf(flow), QueueOf(read));
  world.printer.State().replay = TracePath(name);
  Replayed r;
  r.messages = RunFlow(world, flow);
  const sim::PrinterState& state = world.printer.State();
  r.divergences = state.divergences;
  std::string used = state.replayUsed;
  size_t calls = state.replayCalls;
  r.unanswered = trace::TraceReplay(read, &used, &calls).Unanswered();
  r.log = state.log;
  return r;
}

struct Recorded {
  Flow flow;
  const char* name;
};
const Recorded RECORDED[] = {
    {Flow::PaperFeedSave, "trevalo_paper_feed_save"},
    {Flow::NozzleCheck, "kestrune_nozzle_check"},
    {Flow::DeepCleaning, "kestrune_deep_cleaning"},
    {Flow::FirmwareUpdate, "sunnabar_version_and_update"},
};

TEST(TraceReplay, RecordedFlowsReplayWithoutDivergenceAndTheSameMessages) {
  const char* record = std::getenv("KD_RECORD_TRACES");
  for (const Recorded& c : RECORDED) {
    SCOPED_TRACE(c.name);
    fakes::ProgramWorld live(ProfileOf(c.flow));
    StringSink sink(live.clock);
    trace::Recorder recorder(sink);
    trace::RecordingCalls calls(recorder);
    live.tracing->Record(&calls);
    std::vector<std::string> messages = RunFlow(live, c.flow);
    if (record && *record == '1') {
      std::ofstream(TracePath(c.name), std::ios::binary)
          << trace::TRACE_HEADER << "\n# " << c.name
          << ", recorded in-process against the simulated printer\n"
          << sink.text;
    }
    Replayed replayed = Replay(c.flow, c.name);
    EXPECT_EQ(replayed.divergences, std::vector<std::string>{});
    EXPECT_EQ(replayed.unanswered, 0u);
    EXPECT_EQ(replayed.messages, messages);
    EXPECT_FALSE(messages.empty());
  }
}

// A trace and the messages the flow shows when the printer answers from it.
struct TraceMessages {
  Flow flow;
  const char* name;
  std::vector<std::string> messages;
};

// Recorded under Wine through the recording libraries against the simulated printer
// (KD_RECORD_TRACES=1 tests/e2e/trace_e2e.sh): the same flow on the host, on the trace's queue,
// asks the same calls and shows the messages the Wine run showed before its close.
TEST(TraceReplay, WineRecordingsReplayWithoutDivergenceAndTheirMessages) {
  const TraceMessages cases[] = {
      {Flow::NozzleCheckThenDeepCleaning,
       "wine_kestrune_nozzle_check_and_deep_cleaning",
       {"T308", "T306"}},
      {Flow::FirmwareUpdate, "wine_sunnabar_version_and_update", {"T309"}},
      {Flow::AdjustmentPage,
       "wine_trevalo_adjustment_paper_feed_save",
       {"T300", "T20302", "T20300"}},
  };
  for (const TraceMessages& c : cases) {
    SCOPED_TRACE(c.name);
    Replayed replayed = Replay(c.flow, c.name);
    EXPECT_EQ(replayed.divergences, std::vector<std::string>{});
    EXPECT_EQ(replayed.unanswered, 0u);
    EXPECT_EQ(replayed.messages, c.messages);
  }
}

// Hand-edited from the recorded traces: what the programs make of a printer that answers
// otherwise, with every call still answered.
TEST(TraceReplay, EditedTracesShowTheProgramOnADifferentPrinter) {
  const TraceMessages cases[] = {
      // Each status block one byte longer (its length word too): the fields still read, the
      // cleaning starts as on the recorded printer.
      {Flow::DeepCleaning, "kestrune_deep_cleaning_longer_status", {"T306"}},
      // The version reply padded with blanks before its ";": the blanks are taken as part of
      // the version, so a successful update is reported as another version than the file's.
      {Flow::FirmwareUpdate, "sunnabar_version_other_padding", {"T311"}},
  };
  for (const TraceMessages& c : cases) {
    SCOPED_TRACE(c.name);
    Replayed replayed = Replay(c.flow, c.name);
    EXPECT_EQ(replayed.divergences, std::vector<std::string>{});
    EXPECT_EQ(replayed.messages, c.messages);
  }
}

// A trace cut short or reordered: the first call it does not hold in its order is the
// divergence, answered as a failure.
TEST(TraceReplay, TruncatedOrReorderedTraceReportsTheFirstDivergence) {
  struct Bad {
    const char* name;
    const char* divergence;
  } cases[] = {
      {"kestrune_nozzle_check_cut",
       "call 10: expected end of trace; came KBGetStatus handle=2 size=256"},
      {"kestrune_nozzle_check_reordered",
       "call 2: expected KBGetAvailableChannel constant=1 queue=\"Printer A\" buffer=1 size=16; "
       "came KBGetAvailableChannel constant=1 queue=\"Printer A\" buffer=0 size=0"},
  };
  for (const Bad& c : cases) {
    SCOPED_TRACE(c.name);
    Replayed replayed = Replay(Flow::NozzleCheck, c.name);
    ASSERT_FALSE(replayed.divergences.empty());
    EXPECT_EQ(replayed.divergences[0], c.divergence);
  }
}

}  // namespace

// Adjustment values: selectors from PaperSet.ini, the value conversions, the "EX" reply, and
// reads and writes against the scripted library and the simulated printer.
#include "feed/paper_setting_data.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "link/bidi_api.h"
#include "programs/trevalo/trevalo_tables.h"
#include "sim/protocol_bytes.h"
#include "sim/simulated_library.h"
#include "sim/simulated_printer.h"
#include "tests/support/fake_kbapi.h"
#include "tests/support/fake_spooler.h"
#include "tests/support/test_app.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr char QUEUE[] = "Plotter on USB001";
constexpr char PAPER_SET[] =
    "[selectors]\r\n"
    "7,21=0102030405060708090A0B0C0D\r\n"
    "7,01=11111111111111111111111111\r\n"
    "7,02=2222222222222222222222222a\r\n"
    "7,03=33333333333333333333333333\r\n"
    "12,05=0102030405060708090a0b0c\r\n"
    "-3,05=FF\r\n"
    "4,05=\r\n";
const Bytes SELECTOR_7_21 = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};

feed::AdjustmentSelection Selection(int media, int feed, int kind, int position) {
  feed::AdjustmentSelection s;
  s.mediaCode = media;
  s.paperFeed = feed;
  s.adjustmentKind = kind;
  s.qualityPosition = position;
  return s;
}

Bytes SelectorBytes(const feed::SettingSelector& s) {
  return Bytes(s.begin(), s.end());
}

TEST(SettingIndex, EveryColumnOfTheIndexTable) {
  // Columns in table order: adjustment kind, positions, value kind.
  struct Column {
    int kind;
    std::vector<int> positions;
    int valueKind;
  } columns[] = {
      {feed::ADJUST_PELLAN, {0, 1, 2}, 1},     {feed::ADJUST_PELLAN, {3}, 0},
      {feed::ADJUST_PELLAN, {3}, 1},           {feed::ADJUST_PELLAN, {4, 5}, 1},
      {feed::ADJUST_PAPER_FEED, {0, 1, 2}, 1}, {feed::ADJUST_PAPER_FEED, {3}, 1},
      {feed::ADJUST_PAPER_FEED, {4, 5}, 0},
  };
  int expected = 1;
  for (int paperFeed = 0; paperFeed <= 2; ++paperFeed) {
    for (const Column& column : columns) {
      for (int position : column.positions) {
        SCOPED_TRACE("feed " + std::to_string(paperFeed) + " kind " + std::to_string(column.kind) +
                     " position " + std::to_string(position));
        EXPECT_EQ(feed::SettingIndex(paperFeed, column.kind, position, column.valueKind), expected);
      }
      ++expected;
    }
  }
  EXPECT_EQ(feed::SettingIndex(0, feed::ADJUST_PELLAN, 3, 0), 2);
  for (auto [paperFeed, kind, position] :
       {std::tuple{3, 0, 0}, {-1, 0, 0}, {0, 2, 0}, {0, -1, 0}, {0, 0, 6}, {0, 1, -1}}) {
    EXPECT_EQ(feed::SettingIndex(paperFeed, kind, position, 0), feed::NO_SETTING_INDEX);
  }
}

TEST(SettingSelector, HexPairsOfTheValue) {
  struct Case {
    const char* value;
    Bytes bytes;
  } cases[] = {
      {"0102030405060708090A0B0C0D", SELECTOR_7_21},
      {"0102030405060708090a0b0c", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0}},
      {"0102030405060708090A0B0C0DFFEE", SELECTOR_7_21},  // past the 26th ignored
      {"F", {15, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"1G2 -3", {1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},  // stops inside a pair
      {"G1", Bytes(13, 0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    feed::SettingSelector selector;
    ASSERT_TRUE(feed::ReadSelector(c.value, &selector));
    EXPECT_EQ(SelectorBytes(selector), c.bytes);
  }
  feed::SettingSelector selector;
  EXPECT_FALSE(feed::ReadSelector("", &selector));
}

TEST(AdjustValues, ValueByteClamps) {
  struct Case {
    int kind;
    int value;
    const char* valueString;
    int byte;
  } cases[] = {
      {feed::ADJUST_PAPER_FEED, -5, "80", 0x7B}, {feed::ADJUST_PAPER_FEED, 200, "80", 254},
      {feed::ADJUST_PAPER_FEED, -200, "10", 1},  {feed::ADJUST_PAPER_FEED, 0, "", 1},
      {feed::ADJUST_PAPER_FEED, 5, "zz", 5},     {feed::ADJUST_PAPER_FEED, 3, "8", 11},
      {feed::ADJUST_PAPER_FEED, 0, "ff", 254},   {feed::ADJUST_PAPER_FEED, INT32_MAX, "FF", 254},
      {feed::ADJUST_PELLAN, 0x20, "00", 0x20},   {feed::ADJUST_PELLAN, 128 + 3, "80", 131},
      {feed::ADJUST_PELLAN, 0, "00", 0},         {feed::ADJUST_PELLAN, 300, "00", 255},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.kind) + ": " + std::to_string(c.value) + " " + c.valueString);
    EXPECT_EQ(feed::AdjustValueByte(c.kind, c.value, c.valueString), c.byte);
  }
}

TEST(AdjustValues, ValueTextSigns) {
  struct Case {
    const char* text;
    int kind;
    const char* shown;
  } cases[] = {
      {"8A80", feed::ADJUST_PAPER_FEED, "10"},  {"8A80", feed::ADJUST_PELLAN, "138"},
      {"7B80", feed::ADJUST_PAPER_FEED, "-5"},  {"", feed::ADJUST_PAPER_FEED, "0"},
      {"", feed::ADJUST_PELLAN, "0"},           {"8", feed::ADJUST_PAPER_FEED, "8"},
      {"808", feed::ADJUST_PAPER_FEED, "120"},  {"G080", feed::ADJUST_PAPER_FEED, "-128"},
      {"ff01", feed::ADJUST_PAPER_FEED, "254"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " kind " + std::to_string(c.kind));
    EXPECT_EQ(feed::AdjustValueText(c.text, Selection(7, 0, c.kind, 0)), c.shown);
  }
}

TEST(AdjustValues, ReplyParsing) {
  const std::string selectorHex(26, '0');
  struct Case {
    const char* name;
    std::string reply;
    size_t received;  // 0: the whole reply
    const char* value;
  } cases[] = {
      {"usual", "@BDC PS\r\nEX:0000001F" + selectorHex + "8A80;\x0C", 0, "8A80"},
      {"no ;: searched whole", "@BDC PS\r\nEX:0000001F" + selectorHex + "8A80", 0, "8A80"},
      {"27 characters after the tag", "EX:0000001F" + selectorHex + "8;", 0, "8"},
      {"26 characters after the tag", "EX:0000001F" + selectorHex + ";8A80", 0, ""},
      {"longer text", "EX:0000001F" + selectorHex + "8A80FFFF;", 0, "8A80"},
      {"tag only after ;", "NA;EX:0000001F" + selectorHex + "8A80", 0, ""},
      {"other group", "EX:0000001E" + selectorHex + "8A80", 0, ""},
      {"zero before the tag", std::string("@BDC\0 EX:0000001F", 17) + selectorHex + "8A80", 0, ""},
      {"value past the bytes received", "EX:0000001F" + selectorHex + "8A80;", 39, "8A"},
      {"tag past the bytes received", "@BDC PS\r\nEX:0000001F" + selectorHex + "8A80", 12, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    size_t received = c.received ? c.received : c.reply.size();
    EXPECT_EQ(feed::ParseAdjustReply(reinterpret_cast<const uint8_t*>(c.reply.data()), received),
              c.value);
  }
}

// --- against the scripted library -----------------------------------------------------------

class AdjustValueScriptTest : public ::testing::Test {
 protected:
  AdjustValueScriptTest() {
    auto library = std::make_unique<fakes::FakeKbLibrary>();
    kb = &library->script;
    app = std::make_unique<shell::ToolApp>(
        programs::TrevaloProfile(),
        fakes::MakeFakePlatform(&platform, nullptr, std::move(library)));
    fakes::InstallTestSettings(*platform.files, {0});
    platform.files->Put(fakes::SettingsPath("PaperSet.ini"), PAPER_SET);
    settings = std::make_unique<shell::SettingsReader>(*platform.files, fakes::TEST_SETTINGS_DIR,
                                                       shell::SETTINGS_LINE_CHUNK_TREVALO);
    api = std::make_unique<printer_link::BidiApi>(app->Library(), app->Spooler(), app->Files());
    EXPECT_EQ(api->Bind(QUEUE, printer_link::LibrarySearch::PlainNameFirst), 1);
    kb->channels = {{printer_link::CHANNEL_CONTROL, 0x07}};
  }

  std::string Read(const feed::AdjustmentSelection& selection, int valueKind = 0) {
    printer_link::PrinterChannel channel = app->Channel(api.get());
    return feed::ReadAdjustValue(channel, *settings, QUEUE, selection, valueKind);
  }

  fakes::TestPlatform platform{};
  fakes::KbScript* kb = nullptr;
  std::unique_ptr<shell::ToolApp> app;
  std::unique_ptr<printer_link::BidiApi> api;
  std::unique_ptr<shell::SettingsReader> settings;
};

TEST_F(AdjustValueScriptTest, QueriesTheSelectorAndTakesTheValue) {
  std::string reply = "@BDC PS\r\nEX:0000001F0102030405060708090A0B0C0D8A80;\x0C";
  kb->receives.emplace_back(static_cast<int>(reply.size()), Bytes(reply.begin(), reply.end()));
  EXPECT_EQ(Read(Selection(7, 2, feed::ADJUST_PAPER_FEED, 5)), "8A80");
  Bytes query = {0x45, 0x58, 0x12, 0x00, 0x01, 0x00, 0x00, 0x00, 0x1F};
  query.insert(query.end(), SELECTOR_7_21.begin(), SELECTOR_7_21.end());
  ASSERT_EQ(kb->sent.size(), 1u);
  EXPECT_EQ(kb->sent[0], query);
  EXPECT_EQ(kb->receiveSizes, std::vector<uint32_t>{feed::ADJUST_REPLY_SIZE});
  EXPECT_EQ(kb->receiveLimits, std::vector<uint32_t>{feed::ADJUST_QUERY_LIMIT_MS});
}

TEST_F(AdjustValueScriptTest, FailuresReadTheEmptyText) {
  const std::string good = "EX:0000001F0102030405060708090A0B0C0D8A80;";
  // A reply that fills the whole area without a zero, claimed larger than the area.
  std::string filling = "EX:0000001F" + std::string(26, '0') + "7F80" + std::string(471, 'x');
  struct Case {
    const char* name;
    int result;
    std::string reply;
    const char* value;
  } cases[] = {
      {"receive fails", -1, good, ""},
      {"reply without the tag", 20, "EX:NA;", ""},
      {"claimed beyond the area", 4000, filling, "7F80"},
      {"count shorter than the reply", 40, good, "8A8"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    kb->receives.clear();
    kb->receives.emplace_back(c.result, Bytes(c.reply.begin(), c.reply.end()));
    EXPECT_EQ(Read(Selection(7, 2, feed::ADJUST_PAPER_FEED, 5)), c.value);
  }
}

TEST_F(AdjustValueScriptTest, SelectorsByKeyAndValueKind) {
  struct Case {
    feed::AdjustmentSelection selection;
    int valueKind;
    const char* key;
    Bytes selector;  // empty: none
  } cases[] = {
      {Selection(7, 2, feed::ADJUST_PAPER_FEED, 5), 0, "7,21", SELECTOR_7_21},
      {Selection(7, 0, feed::ADJUST_PELLAN, 3), 0, "7,02", Bytes(12, 0x22)},
      {Selection(7, 0, feed::ADJUST_PELLAN, 3), 1, "7,03", Bytes(13, 0x33)},
      {Selection(7, 0, feed::ADJUST_PELLAN, 1), 1, "7,01", Bytes(13, 0x11)},
      {Selection(7, 0, feed::ADJUST_PAPER_FEED, 1), 0, "7,05", {}},  // no such key
      {Selection(-3, 0, feed::ADJUST_PAPER_FEED, 0),
       0,
       "-3,05",
       {0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {Selection(4, 0, feed::ADJUST_PAPER_FEED, 0), 0, "4,05", {}},  // empty value
      {Selection(7, 3, feed::ADJUST_PAPER_FEED, 0), 0, "", {}},
      {Selection(7, 0, 2, 0), 0, "", {}},
      {Selection(7, 0, feed::ADJUST_PELLAN, 6), 0, "", {}},
  };
  cases[1].selector.push_back(0x2A);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    feed::SettingSelector selector;
    std::string key = "old";
    bool found = feed::FindSettingSelector(*settings, c.selection, c.valueKind, &selector, &key);
    EXPECT_EQ(key, c.key);
    EXPECT_EQ(found, !c.selector.empty());
    if (found) {
      EXPECT_EQ(SelectorBytes(selector), c.selector);
    } else {
      // Without a selector nothing reaches the printer.
      kb->sent.clear();
      EXPECT_EQ(Read(c.selection, c.valueKind), "");
      EXPECT_TRUE(kb->sent.empty());
    }
  }
  shell::SettingsReader unknownFolder{*platform.files, "", shell::SETTINGS_LINE_CHUNK_TREVALO};
  feed::SettingSelector selector;
  EXPECT_FALSE(feed::FindSettingSelector(unknownFolder, Selection(7, 2, feed::ADJUST_PAPER_FEED, 5),
                                         0, &selector));
  platform.files->files.erase(fakes::SettingsPath("PaperSet.ini"));
  EXPECT_FALSE(feed::FindSettingSelector(*settings, Selection(7, 2, feed::ADJUST_PAPER_FEED, 5), 0,
                                         &selector));
}

// --- against the simulated printer ----------------------------------------------------------

class AdjustValueSimTest : public ::testing::Test {
 protected:
  AdjustValueSimTest() {
    auto spoolerOwned = std::make_unique<fakes::RecordingSpooler>();
    spooler = spoolerOwned.get();
    shell::PlatformSet set = fakes::MakeFakePlatform(&platform, std::move(spoolerOwned));
    printer = std::make_unique<sim::SimulatedPrinter>(*platform.clock);
    auto library = std::make_unique<sim::SimulatedLibrary>(*printer);
    set.library = std::move(library);
    app = std::make_unique<shell::ToolApp>(programs::TrevaloProfile(), std::move(set));
    fakes::InstallTestSettings(*platform.files, {0});
    platform.files->Put(fakes::SettingsPath("PaperSet.ini"), PAPER_SET);
    settings = std::make_unique<shell::SettingsReader>(*platform.files, fakes::TEST_SETTINGS_DIR,
                                                       shell::SETTINGS_LINE_CHUNK_TREVALO);
    spooler->AddQueue(QUEUE, "USB001", "KALDO Model 9000");
    spooler->onJob = [this](const Bytes& job) { printer->ReceiveJob(job); };
    api = std::make_unique<printer_link::BidiApi>(app->Library(), app->Spooler(), app->Files());
    EXPECT_EQ(api->Bind(QUEUE, printer_link::LibrarySearch::PlainNameFirst), 1);
  }

  std::string Read(const feed::AdjustmentSelection& selection) {
    printer_link::PrinterChannel channel = app->Channel(api.get());
    return feed::ReadAdjustValue(channel, *settings, QUEUE, selection, 0);
  }
  int Write(const feed::AdjustmentSelection& selection, int value, const std::string& reference) {
    return feed::WriteAdjustValue(*spooler, *settings, QUEUE, selection, value, reference, 0);
  }

  fakes::TestPlatform platform{};
  fakes::RecordingSpooler* spooler = nullptr;
  std::unique_ptr<sim::SimulatedPrinter> printer;
  std::unique_ptr<shell::ToolApp> app;
  std::unique_ptr<printer_link::BidiApi> api;
  std::unique_ptr<shell::SettingsReader> settings;
};

TEST_F(AdjustValueSimTest, WrittenValueReadsBackOnBothChannels) {
  const feed::AdjustmentSelection feedValue = Selection(7, 2, feed::ADJUST_PAPER_FEED, 5);
  for (uint32_t type : {sim::CHANNEL_TYPE_CONTROL, sim::CHANNEL_TYPE_NETWORK}) {
    SCOPED_TRACE(type);
    printer->State().channels = {{type, sim::CHANNEL_FLAGS_USABLE}};
    printer->SetAdjustmentValue(SELECTOR_7_21, 0x80, 0x7C);
    std::string before = Read(feedValue);
    EXPECT_EQ(before, "807C");
    EXPECT_EQ(feed::AdjustValueText(before, feedValue), "4");

    EXPECT_EQ(Write(feedValue, -5, before.substr(2)), 1);
    EXPECT_EQ(printer->AdjustmentValue(SELECTOR_7_21), "777C");
    EXPECT_EQ(feed::AdjustValueText(Read(feedValue), feedValue), "-5");
  }
  ASSERT_FALSE(spooler->jobs.empty());
  Bytes job = {0x1B, 0x40, 0x1B, 0x28, 0x52, 0x08, 0x00, 0x00, 0x52, 0x45, 0x4D, 0x4F,
               0x54, 0x45, 0x31, 0x45, 0x58, 0x13, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1F};
  job.insert(job.end(), SELECTOR_7_21.begin(), SELECTOR_7_21.end());
  job.insert(job.end(), {0x77, 0x4C, 0x44, 0x00, 0x00, 0x1B, 0x00, 0x00, 0x00});
  EXPECT_EQ(spooler->jobs.back().bytes, job);
  EXPECT_EQ(spooler->jobs.back().documentName, "KDSU Command");
}

TEST_F(AdjustValueSimTest, FaultsShowAsUnverifiedValues) {
  const feed::AdjustmentSelection feedValue = Selection(7, 2, feed::ADJUST_PAPER_FEED, 5);
  struct Case {
    const char* fault;
    int written;       // Write's result
    const char* read;  // the read-back
  } cases[] = {
      {sim::FAULT_REFUSES_WRITES, 1, "8080"},
      {sim::FAULT_SILENT, 1, ""},
      {sim::FAULT_GARBLED_REPLY, 1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    printer->State().values.clear();
    printer->State().faults = {c.fault};
    EXPECT_EQ(Write(feedValue, 10, "80"), c.written);
    EXPECT_EQ(Read(feedValue), c.read);
  }
  // A refused job is not Write's concern: the read-back shows it.
  printer->State().values.clear();
  printer->State().faults.clear();
  spooler->refuseStartDoc = true;
  EXPECT_EQ(Write(feedValue, 10, "80"), 1);
  EXPECT_EQ(Read(feedValue), "8080");
  // Without a selector nothing is sent.
  size_t jobs = spooler->jobs.size();
  EXPECT_EQ(Write(Selection(99, 2, feed::ADJUST_PAPER_FEED, 5), 10, "80"), 0);
  EXPECT_EQ(spooler->jobs.size(), jobs);
}

}  // namespace

// PrinterChannel over the scripted library: identity, channel choice, status, the readiness
// wait and command replies, on a fake clock.
#include "link/printer_channel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/command_framing.h"
#include "programs/kestrune/kestrune_tables.h"
#include "shell/busy_dialog.h"
#include "tests/support/fake_kbapi.h"
#include "tests/support/recording_canvas.h"
#include "tests/support/test_app.h"

namespace {

using fakes::NullHandler;
using namespace printer_link;
using fakes::ChannelEntry;
using fakes::ScriptedReceive;

constexpr char QUEUE[] = "Model 9000 on LPT1";
constexpr char DRIVER[] = "KALDO Model 9000";
constexpr uint8_t USABLE = 0x07;
const std::vector<uint8_t> READY_BODY = {0x01, 0x01, STATUS_READY};
const std::vector<uint8_t> BUSY_BODY = {0x01, 0x01, 0x03};
const std::vector<uint8_t> VERSION_QUERY = {0x56, 0x49, 0x02, 0x00, 0x01, 0x00};

class PrinterChannelTest : public ::testing::Test {
 protected:
  PrinterChannelTest() {
    auto library = std::make_unique<fakes::FakeKbLibrary>();
    kb = &library->script;
    app = std::make_unique<shell::ToolApp>(
        programs::KestruneProfile(),
        fakes::MakeFakePlatform(&platform, nullptr, std::move(library)));
    fakes::InstallTestSettings(*platform.files, {0, 20000, 20100});
    platform.host->templates[IDD_BUSY] = {IDC_BUSY_PICTURE, IDC_BUSY_MESSAGE, ui::ID_CANCEL};
    api = std::make_unique<BidiApi>(app->Library(), app->Spooler(), app->Files());
    EXPECT_EQ(api->Bind(QUEUE, printer_link::LibrarySearch::PlainNameFirst), 1);
    kb->calls.clear();
    kb->channels = {{CHANNEL_CONTROL, USABLE}};
    kb->openResult = 7;
  }

  PrinterChannel Channel() { return app->Channel(api.get()); }
  uint32_t Elapsed() const { return platform.clock->now - start; }

  fakes::TestPlatform platform{};
  fakes::KbScript* kb = nullptr;
  std::unique_ptr<shell::ToolApp> app;
  std::unique_ptr<BidiApi> api;
  uint32_t start = 1000;  // the fake clock's start
};

// --- identity ---------------------------------------------------------------------------

TEST_F(PrinterChannelTest, DeviceIdRules) {
  struct Case {
    const char* name;
    std::string deviceId;
    std::string driver;
    bool match;
  };
  const Case cases[] = {
      {"match", "MFG:KALDO;CMD:ESC;DES:KALDO Model 9000;CLS:PRINTER;", DRIVER, true},
      {"last field without ;", "MFG:KALDO;DES:KALDO Model 9000", DRIVER, false},
      {"empty description", "MFG:KALDO;DES:;", "", false},
      {"first DES: wins, even inside a value", "CMD:DES:Other;DES:KALDO Model 9000;", DRIVER,
       false},
      {"first DES: inside a value may match", "CMD:DES:KALDO Model 9000;DES:Other;", DRIVER, true},
      {"key in lower case", "des:KALDO Model 9000;", DRIVER, false},
      {"names differ in case", "DES:kaldo model 9000;", DRIVER, false},
      {"prefix of the driver name", "DES:KALDO Model 900;", DRIVER, false},
      {"no DES field", "MFG:KALDO;MDL:Model 9000;", DRIVER, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    kb->deviceId = c.deviceId;
    EXPECT_EQ(Channel().MatchDeviceId(QUEUE, c.driver), c.match);
  }
  EXPECT_EQ(kb->Count("KBOpenChannel"), 0);
  EXPECT_EQ(kb->queues.back(), QUEUE);
}

TEST_F(PrinterChannelTest, DeviceIdFailures) {
  kb->deviceId = "DES:KALDO Model 9000;";
  kb->deviceIdResult = -2;
  EXPECT_FALSE(Channel().MatchDeviceId(QUEUE, DRIVER));
  EXPECT_FALSE(app->Channel(nullptr).MatchDeviceId(QUEUE, DRIVER));
}

TEST_F(PrinterChannelTest, DeviceIdFillingTheBufferIsNotSearchedPastItsEnd) {
  // 256 bytes without a zero: the value's ';' lies just beyond the buffer.
  std::string storage = std::string(252 - 4, 'x') + "DES:" + "KALD" + "O Model 9000;";
  ASSERT_EQ(storage.find("DES:") + 8, size_t{DEVICE_ID_BUFFER});
  EXPECT_FALSE(DeviceIdMatches(storage.data(), DEVICE_ID_BUFFER, DRIVER));
  EXPECT_TRUE(DeviceIdMatches(storage.data(), storage.size(), DRIVER));

  kb->deviceId = std::string(300, 'y');
  EXPECT_FALSE(Channel().MatchDeviceId(QUEUE, DRIVER));
}

// --- channel selection ------------------------------------------------------------------

TEST_F(PrinterChannelTest, ChannelSelection) {
  struct Case {
    const char* name;
    std::vector<ChannelEntry> channels;
    uint32_t opened;  // 0: Open fails without opening
  };
  const Case cases[] = {
      {"both usable: control preferred",
       {{CHANNEL_NETWORK, USABLE}, {CHANNEL_CONTROL, USABLE}},
       CHANNEL_CONTROL},
      {"control flags 6: network",
       {{CHANNEL_CONTROL, 0x06}, {CHANNEL_NETWORK, USABLE}},
       CHANNEL_NETWORK},
      {"high flag bits do not matter", {{CHANNEL_CONTROL, 0xFF}}, CHANNEL_CONTROL},
      {"unknown type only", {{5, USABLE}}, 0},
      {"nothing usable", {{CHANNEL_CONTROL, 0x03}, {CHANNEL_NETWORK, 0x05}}, 0},
      {"empty list", {}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    kb->channels = c.channels;
    kb->openedTypes.clear();
    PrinterChannel channel = Channel();
    int handle = channel.Open(QUEUE);
    if (c.opened == 0) {
      EXPECT_EQ(handle, -1);
      EXPECT_TRUE(kb->openedTypes.empty());
    } else {
      EXPECT_EQ(handle, 7);
      EXPECT_EQ(kb->openedTypes, std::vector<uint32_t>{c.opened});
      EXPECT_EQ(channel.CachedType(), c.opened);
    }
  }
}

TEST_F(PrinterChannelTest, SelectionFailures) {
  struct Case {
    const char* name;
    int sizeQueryResult;
    std::optional<int> listResult;
  };
  const Case cases[] = {
      {"size query answers 0", 0, std::nullopt},
      {"size query answers a count", 1, std::nullopt},
      {"library missing the export", KBAPI_MISSING, std::nullopt},
      {"list call fails", -4, -3},
      {"list call answers 0", -4, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    kb->sizeQueryResult = c.sizeQueryResult;
    kb->listResult = c.listResult;
    kb->openedTypes.clear();
    EXPECT_EQ(Channel().Open(QUEUE), -1);
    EXPECT_TRUE(kb->openedTypes.empty());
  }
  EXPECT_EQ(app->Channel(nullptr).Open(QUEUE), -1);
}

TEST_F(PrinterChannelTest, SelectionIsCachedOnlyWhenAChannelWasFound) {
  PrinterChannel channel = Channel();
  EXPECT_EQ(channel.Open(QUEUE), 7);
  EXPECT_EQ(channel.Open(QUEUE), 7);
  EXPECT_EQ(kb->Count("KBGetAvailableChannel"), 2);  // size query and list, once

  kb->channels.clear();
  PrinterChannel empty = Channel();
  EXPECT_EQ(empty.Open(QUEUE), -1);
  kb->channels = {{CHANNEL_NETWORK, USABLE}};
  EXPECT_EQ(empty.Open(QUEUE), 7);  // selects again
  EXPECT_EQ(empty.CachedType(), CHANNEL_NETWORK);
}

TEST_F(PrinterChannelTest, ChannelCountBeyondTheListIsNotRead) {
  // The library claims 50 entries but sized its list for one.
  kb->listResult = 50;
  kb->channels = {{CHANNEL_NETWORK, USABLE}};
  EXPECT_EQ(Channel().Open(QUEUE), 7);
  EXPECT_EQ(kb->openedTypes.back(), CHANNEL_NETWORK);
}

// --- status -----------------------------------------------------------------------------

TEST_F(PrinterChannelTest, ReadStatus) {
  PrinterChannel channel = Channel();
  StatusReply status;
  kb->statusReplies = {fakes::StatusReplyBytes(READY_BODY)};
  int size = static_cast<int>(kb->statusReplies[0].size());
  EXPECT_EQ(channel.ReadStatus(7, status), size);
  EXPECT_TRUE(status.IsReady());

  // Without CR LF the result passes through and the reply keeps what it held.
  kb->statusReplies = {{0x01, 0x00, 0x05, 0x00}};
  kb->statusIndex = 0;
  EXPECT_EQ(channel.ReadStatus(7, status), 4);
  EXPECT_TRUE(status.IsReady());

  struct Case {
    const char* name;
    std::vector<uint8_t> reply;
    std::optional<int> result;
    int expected;
  };
  const Case cases[] = {
      {"length 0", fakes::StatusReplyBytes({}), std::nullopt, -1},
      {"length beyond the buffer", {'S', 0x0D, 0x0A, 0xFC, 0x00, 0x01, 0x01, 0x04}, 8, -1},
      {"library failure passes through", fakes::StatusReplyBytes(READY_BODY), -5, -5},
      {"0 passes through", fakes::StatusReplyBytes(READY_BODY), 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    kb->statusReplies = {c.reply};
    kb->statusIndex = 0;
    kb->statusResult = c.result;
    StatusReply fresh;
    EXPECT_EQ(channel.ReadStatus(7, fresh), c.expected);
    EXPECT_FALSE(fresh.IsReady());
  }
  EXPECT_EQ(app->Channel(nullptr).ReadStatus(7, status), -1);
}

TEST_F(PrinterChannelTest, StatusLengthBeyondTheReceivedBytesReadsTheClearedBuffer) {
  // The length word claims one byte more than arrived: the body ends in the buffer's zeros,
  // and the status field before them still counts.
  kb->statusReplies = {{0x41, 0x0D, 0x0A, 0x04, 0x00, 0x01, 0x01, 0x04}};
  StatusReply status;
  EXPECT_EQ(Channel().ReadStatus(7, status), 8);
  EXPECT_EQ(status.Body(), (std::vector<uint8_t>{0x01, 0x01, 0x04, 0x00}));
  EXPECT_TRUE(status.IsReady());
  // The library counts 7 bytes; the eighth is in the buffer all the same.
  kb->statusIndex = 0;
  kb->statusResult = 7;
  EXPECT_EQ(Channel().ReadStatus(7, status), 7);
  EXPECT_TRUE(status.IsReady());
  // A length that runs past the 256-byte buffer is no status.
  kb->statusReplies = {{0x41, 0x0D, 0x0A, 0xFC, 0x00, 0x01, 0x01, 0x04}};
  kb->statusIndex = 0;
  kb->statusResult = std::nullopt;
  EXPECT_EQ(Channel().ReadStatus(7, status), -1);
  EXPECT_TRUE(status.Empty());
}

TEST_F(PrinterChannelTest, EmptyStatusReplyWithAClaimedCountIsNoStatus) {
  // Found by fuzzing: the scripted library copied an empty reply from a null pointer. A count
  // claimed for bytes that never arrived finds no CR LF in the cleared buffer.
  kb->statusReplies = {{}};
  kb->statusResult = 3;
  StatusReply status;
  EXPECT_EQ(Channel().ReadStatus(7, status), 3);
  EXPECT_TRUE(status.Empty());
}

// --- readiness --------------------------------------------------------------------------

TEST_F(PrinterChannelTest, WaitUntilReadyWithoutDialog) {
  struct Case {
    const char* name;
    std::vector<std::vector<uint8_t>> replies;
    int result;
    int reads;
    uint32_t elapsed;
  };
  const Case cases[] = {
      {"ready at once", {fakes::StatusReplyBytes(READY_BODY)}, 1, 1, 0},
      {"ready on the second poll",
       {fakes::StatusReplyBytes(BUSY_BODY), fakes::StatusReplyBytes(READY_BODY)},
       1,
       2,
       5000},
      {"ready on the last poll",
       {fakes::StatusReplyBytes(BUSY_BODY), fakes::StatusReplyBytes(BUSY_BODY),
        fakes::StatusReplyBytes(READY_BODY)},
       1,
       3,
       10000},
      {"never ready", {fakes::StatusReplyBytes(BUSY_BODY)}, 0, 3, 10000},
      {"status without CR LF", {{0x03, 0x00, 0x01, 0x01, 0x04}}, 0, 3, 10000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    kb->statusReplies = c.replies;
    kb->statusIndex = 0;
    kb->calls.clear();
    kb->closedHandles.clear();
    start = platform.clock->now;
    EXPECT_EQ(Channel().WaitUntilReady(QUEUE, false, nullptr), c.result);
    EXPECT_EQ(kb->Count("KBGetStatus"), c.reads);
    EXPECT_EQ(Elapsed(), c.elapsed);
    EXPECT_EQ(kb->closedHandles, std::vector<int>{7});
  }
  EXPECT_EQ(platform.host->pumps, 0);
  EXPECT_EQ(platform.host->Find(IDD_BUSY), nullptr);
}

TEST_F(PrinterChannelTest, WaitUntilReadyWithoutChannelOrLibrary) {
  kb->channels.clear();
  EXPECT_EQ(Channel().WaitUntilReady(QUEUE, true, nullptr), 0);
  kb->channels = {{CHANNEL_CONTROL, USABLE}};
  kb->openResult = 0;
  EXPECT_EQ(Channel().WaitUntilReady(QUEUE, true, nullptr), 0);
  EXPECT_EQ(kb->Count("KBGetStatus"), 0);
  EXPECT_EQ(kb->Count("KBCloseChannel"), 0);
  EXPECT_EQ(app->Channel(nullptr).WaitUntilReady(QUEUE, true, nullptr), -1);
  EXPECT_EQ(platform.clock->now, start);
}

TEST_F(PrinterChannelTest, WaitUntilReadyShowsTheBusyDialogOverTheMainWindow) {
  NullHandler mainHandler;
  std::unique_ptr<ui::View> main = platform.host->CreateModeless(102, nullptr, false, mainHandler);
  platform.host->SetMainWindow(main.get());
  kb->statusReplies = {fakes::StatusReplyBytes(BUSY_BODY)};

  int pumpsWhileDialog = 0;
  bool ownerDisabled = true;
  platform.host->onPump = [&] {
    fakes::FakeView* dialog = platform.host->Find(IDD_BUSY);
    if (!dialog) return;
    ++pumpsWhileDialog;
    EXPECT_EQ(dialog->title, "T0");
    EXPECT_FALSE(dialog->controls[ui::ID_CANCEL].visible);
    EXPECT_EQ(dialog->parent, main.get());
    ownerDisabled = ownerDisabled && !main->IsEnabled();
  };
  EXPECT_EQ(Channel().WaitUntilReady(QUEUE, true, nullptr), 0);
  EXPECT_EQ(Elapsed(), 10000u);
  EXPECT_EQ(kb->Count("KBGetStatus"), 3);
  EXPECT_GT(pumpsWhileDialog, 10);  // messages kept flowing through the wait
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(main->IsEnabled());
  EXPECT_EQ(platform.host->Find(IDD_BUSY), nullptr);
  EXPECT_EQ(kb->closedHandles, std::vector<int>{7});
}

TEST_F(PrinterChannelTest, WaitUntilReadyDialogIsOwnedByTheParentAndStopsWhenReady) {
  NullHandler parentHandler;
  std::unique_ptr<ui::View> parent =
      platform.host->CreateModeless(134, nullptr, true, parentHandler);
  kb->statusReplies = {fakes::StatusReplyBytes(BUSY_BODY), fakes::StatusReplyBytes(READY_BODY)};
  fakes::FakeView* seen = nullptr;
  platform.host->onPump = [&] {
    if (!seen) seen = platform.host->Find(IDD_BUSY);
  };
  EXPECT_EQ(Channel().WaitUntilReady(QUEUE, true, parent.get()), 1);
  ASSERT_NE(seen, nullptr);
  EXPECT_EQ(Elapsed(), 5000u);
  EXPECT_TRUE(parent->IsEnabled());
}

TEST_F(PrinterChannelTest, WaitUntilReadyPumpsWhenTheParentIsDisabled) {
  NullHandler parentHandler;
  std::unique_ptr<ui::View> parent =
      platform.host->CreateModeless(134, nullptr, true, parentHandler);
  kb->statusReplies = {fakes::StatusReplyBytes(BUSY_BODY)};

  parent->Enable(true);
  EXPECT_EQ(Channel().WaitUntilReady(QUEUE, false, parent.get()), 0);
  EXPECT_EQ(platform.host->pumps, 0);  // a plain sleep
  EXPECT_EQ(platform.clock->slept, 10000u);

  parent->Enable(false);
  start = platform.clock->now;
  EXPECT_EQ(Channel().WaitUntilReady(QUEUE, false, parent.get()), 0);
  EXPECT_GT(platform.host->pumps, 10);
  EXPECT_EQ(Elapsed(), 10000u);
  EXPECT_EQ(platform.host->Find(IDD_BUSY), nullptr);
}

// --- command replies --------------------------------------------------------------------

std::vector<uint8_t> MarkedReply(size_t at, size_t total, const std::string& payload) {
  std::vector<uint8_t> bytes(total, 'z');
  const char marker[] = "@BDC PS\r\n";
  std::memcpy(bytes.data() + at, marker, 9);
  std::memcpy(bytes.data() + at + 9, payload.data(), std::min(payload.size(), total - at - 9));
  return bytes;
}

TEST_F(PrinterChannelTest, QueryOnTheControlChannelRepeatsEmptyReceives) {
  kb->receives = {{0, {}}, {0, {}}, {5, {'V', 'I', '1', '2', '3'}}};
  uint8_t reply[512] = {};
  EXPECT_EQ(Channel().QueryPrinter(QUEUE, VERSION_QUERY.data(), VERSION_QUERY.size(), reply,
                                   sizeof reply, 10000),
            5);
  EXPECT_EQ(kb->sent, std::vector<std::vector<uint8_t>>{VERSION_QUERY});
  EXPECT_EQ(kb->Count("KBReceive"), 3);
  EXPECT_EQ(kb->receiveSizes.front(), 512u);
  EXPECT_EQ(kb->receiveLimits.front(), 10000u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(reply), 5), "VI123");
  EXPECT_EQ(kb->closedHandles, std::vector<int>{7});
}

TEST_F(PrinterChannelTest, QueryOnTheNetworkChannelWrapsAndCopiesFromTheMarker) {
  kb->channels = {{CHANNEL_NETWORK, USABLE}};
  std::vector<uint8_t> answer = MarkedReply(20, 40, "0123456789");
  kb->receives = {{0, {}}, {40, answer}};
  uint8_t reply[512] = {};
  EXPECT_EQ(Channel().QueryPrinter(QUEUE, VERSION_QUERY.data(), VERSION_QUERY.size(), reply,
                                   sizeof reply, 10000),
            40);
  std::vector<uint8_t> wrapped;
  ASSERT_TRUE(WrapSnmp(VERSION_QUERY.data(), VERSION_QUERY.size(), &wrapped));
  EXPECT_EQ(kb->sent, std::vector<std::vector<uint8_t>>{wrapped});
  // m = 40 - 20 bytes from the marker on.
  EXPECT_EQ(std::vector<uint8_t>(reply, reply + 20),
            std::vector<uint8_t>(answer.begin() + 20, answer.end()));
  EXPECT_EQ(reply[20], 0);
  EXPECT_EQ(kb->closedHandles, std::vector<int>{7});
}

TEST_F(PrinterChannelTest, NetworkMarkerSearchEndsAtPosition502) {
  kb->channels = {{CHANNEL_NETWORK, USABLE}};
  // At 503 the marker is not seen and the receive repeats; at 502 it is found.
  kb->receives = {{512, MarkedReply(503, 512, "")}, {511, MarkedReply(502, 511, "")}};
  uint8_t reply[512] = {};
  EXPECT_EQ(Channel().QueryPrinter(QUEUE, VERSION_QUERY.data(), VERSION_QUERY.size(), reply,
                                   sizeof reply, 10000),
            511);
  EXPECT_EQ(kb->Count("KBReceive"), 2);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(reply), 9), "@BDC PS\r\n");
  EXPECT_EQ(FindReplyMarker(MarkedReply(503, 512, "").data(), 512), -1);
  EXPECT_EQ(FindReplyMarker(MarkedReply(502, 512, "").data(), 512), 502);
}

TEST_F(PrinterChannelTest, NetworkReplyTooLargeForTheReplyAreaIsNotCopied) {
  kb->channels = {{CHANNEL_NETWORK, USABLE}};
  kb->receives = {{40, MarkedReply(0, 40, "0123456789")}};
  uint8_t reply[16] = {};
  EXPECT_EQ(Channel().QueryPrinter(QUEUE, VERSION_QUERY.data(), VERSION_QUERY.size(), reply,
                                   sizeof reply, 10000),
            40);
  EXPECT_EQ(std::vector<uint8_t>(reply, reply + 16), std::vector<uint8_t>(16, 0));
}

TEST_F(PrinterChannelTest, NetworkReceiveIsNeverOfferedMoreThanTheWorkBuffer) {
  kb->channels = {{CHANNEL_NETWORK, USABLE}};
  // A reply area of 4096 bytes must not let the library fill more than the 512-byte work
  // buffer, nor a result beyond it make the copy read past it.
  kb->receives = {{4000, MarkedReply(100, 512, "x"), 4000u}};
  std::vector<uint8_t> reply(4096, 0);
  EXPECT_EQ(Channel().QueryPrinter(QUEUE, VERSION_QUERY.data(), VERSION_QUERY.size(), reply.data(),
                                   4096, 10000),
            4000);
  EXPECT_EQ(kb->receiveSizes, std::vector<uint32_t>{NETWORK_WORK_BUFFER});
  EXPECT_EQ(reply[0], 0);
}

TEST_F(PrinterChannelTest, SilentPrinterEndsByTheTimeLimit) {
  for (uint32_t type : {CHANNEL_CONTROL, CHANNEL_NETWORK}) {
    SCOPED_TRACE(type);
    kb->channels = {{type, USABLE}};
    kb->calls.clear();
    start = platform.clock->now;
    uint8_t reply[512] = {};
    int result = Channel().QueryPrinter(QUEUE, VERSION_QUERY.data(), VERSION_QUERY.size(), reply,
                                        sizeof reply, 10000);
    EXPECT_LE(result, 0);
    EXPECT_GE(Elapsed(), 10000u);
    EXPECT_LT(Elapsed(), 11000u);
    EXPECT_GT(kb->Count("KBReceive"), 1);
    EXPECT_EQ(kb->Count("KBCloseChannel"), 1);
  }
}

TEST_F(PrinterChannelTest, NetworkRepliesWithoutMarkerEndByTheTimeLimit) {
  kb->channels = {{CHANNEL_NETWORK, USABLE}};
  for (int i = 0; i < 500; ++i) kb->receives.push_back({30, std::vector<uint8_t>(30, 'n')});
  uint8_t reply[512] = {};
  EXPECT_LE(Channel().QueryPrinter(QUEUE, VERSION_QUERY.data(), VERSION_QUERY.size(), reply,
                                   sizeof reply, 3000),
            0);
  EXPECT_GE(Elapsed(), 3000u);
  EXPECT_LT(Elapsed(), 4000u);
}

TEST_F(PrinterChannelTest, QueryFailures) {
  uint8_t reply[512] = {};
  auto query = [&](size_t length = 6) {
    std::vector<uint8_t> command(length, 0x41);
    return Channel().QueryPrinter(QUEUE, command.data(), command.size(), reply, sizeof reply,
                                  10000);
  };

  kb->receives = {{-3, {}}};
  EXPECT_EQ(query(), -3);  // receive error passes through

  kb->channels = {{CHANNEL_NETWORK, USABLE}};
  kb->receives = {{-3, {}}};
  EXPECT_EQ(query(), -3);

  kb->sendResult = 0;
  kb->calls.clear();
  EXPECT_LE(query(), 0);
  EXPECT_EQ(kb->Count("KBReceive"), 0);
  EXPECT_EQ(kb->Count("KBCloseChannel"), 1);
  kb->sendResult.reset();

  kb->calls.clear();
  EXPECT_EQ(query(100), -1);  // too long for one SNMP message: nothing sent
  EXPECT_EQ(kb->Count("KBSend"), 0);
  EXPECT_EQ(kb->Count("KBCloseChannel"), 1);

  kb->openResult = 0;
  kb->calls.clear();
  EXPECT_EQ(query(), -1);
  EXPECT_EQ(kb->Count("KBCloseChannel"), 0);

  kb->channels.clear();
  EXPECT_EQ(query(), -1);
  uint8_t command[1] = {0};
  EXPECT_EQ(app->Channel(nullptr).QueryPrinter(QUEUE, command, 1, reply, 1, 10), -1);
}

}  // namespace

// What the simulated printer answers through the library's calls.
#include "sim/simulated_printer.h"

#include <gtest/gtest.h>

#include <cstring>

#include "sim/protocol_bytes.h"
#include "tests/sim/sim_test_bytes.h"
#include "tests/support/fake_platform.h"

namespace {

using simtest::Bytes;

constexpr char QUEUE[] = "Plotter";

class SimulatedPrinterTest : public ::testing::Test {
 protected:
  int OpenChannel(uint32_t type) { return printer.OpenChannel(1, QUEUE, type); }

  std::string DeviceId() {
    char buffer[256] = {};
    uint32_t size = sizeof buffer;
    if (printer.GetDeviceId(1, QUEUE, buffer, &size) != 0) return "(failed)";
    return buffer;
  }

  Bytes Status(int* result = nullptr) {
    int handle = OpenChannel(sim::CHANNEL_TYPE_CONTROL);
    uint8_t buffer[256] = {};
    uint32_t size = sizeof buffer;
    int r = printer.GetStatus(handle, buffer, &size);
    printer.CloseChannel(handle);
    if (result) *result = r;
    return r > 0 ? Bytes(buffer, buffer + r) : Bytes();
  }

  uint8_t StatusCode() {
    Bytes reply = Status();
    return reply.size() > 14 ? reply[14] : 0xFF;
  }

  // Sends on a channel and collects what one receive gives.
  Bytes Query(uint32_t type, const Bytes& sent, int* received = nullptr) {
    int handle = OpenChannel(type);
    EXPECT_EQ(printer.Send(handle, sent.data(), static_cast<uint32_t>(sent.size())),
              static_cast<int>(sent.size()));
    uint8_t buffer[512] = {};
    uint32_t size = sizeof buffer;
    int r = printer.Receive(handle, buffer, &size, 10000);
    printer.CloseChannel(handle);
    if (received) *received = r;
    return r > 0 ? Bytes(buffer, buffer + r) : Bytes();
  }

  fakes::FakeClock clock;
  sim::SimulatedPrinter printer{clock};
};

TEST_F(SimulatedPrinterTest, DeviceIdNamesTheModelInItsDescription) {
  EXPECT_EQ(DeviceId(),
            "MFG:KALDO;CMD:REMOTE1,BDC;MDL:KALDO Model 9000;CLS:PRINTER;DES:KALDO Model 9000;");
  printer.State().faults.insert(sim::FAULT_WRONG_MODEL);
  EXPECT_NE(DeviceId().find("DES:KALDO Other Model;"), std::string::npos);
  printer.State().deviceId = "MFG:X;DES:Given;";
  EXPECT_EQ(DeviceId(), "MFG:X;DES:Given;");
}

TEST_F(SimulatedPrinterTest, DeviceIdRefusesWhatTheLibraryWouldRefuse) {
  char buffer[256];
  uint32_t size = sizeof buffer;
  EXPECT_EQ(printer.GetDeviceId(0, QUEUE, buffer, &size), sim::KB_BAD_ARGUMENT);
  uint32_t small = 10;
  EXPECT_EQ(printer.GetDeviceId(1, QUEUE, buffer, &small), sim::KB_MORE_ROOM);
  EXPECT_GT(small, 10u);
  printer.State().queue = "Other";
  EXPECT_EQ(DeviceId(), "(failed)");
  printer.State().queue.clear();
  printer.State().faults.insert(sim::FAULT_OFFLINE);
  EXPECT_EQ(DeviceId(), "(failed)");
}

TEST_F(SimulatedPrinterTest, ChannelListHasEightByteEntries) {
  printer.State().channels = {{sim::CHANNEL_TYPE_CONTROL, 6}, {sim::CHANNEL_TYPE_NETWORK, 7}};
  uint32_t size = 0;
  ASSERT_EQ(printer.GetAvailableChannel(1, QUEUE, nullptr, &size), sim::KB_MORE_ROOM);
  ASSERT_EQ(size, 16u);
  uint8_t buffer[17] = {};
  size = sizeof buffer;
  ASSERT_EQ(printer.GetAvailableChannel(1, QUEUE, buffer, &size), 2);
  EXPECT_EQ(Bytes(buffer, buffer + 16), (Bytes{0x03, 0x00, 0x01, 0x10, 0x06, 0, 0, 0,  //
                                               0x04, 0x00, 0x00, 0x00, 0x07, 0, 0, 0}));
  // Only a usable entry opens.
  EXPECT_LT(OpenChannel(sim::CHANNEL_TYPE_CONTROL), 1);
  EXPECT_GE(OpenChannel(sim::CHANNEL_TYPE_NETWORK), 1);
}

TEST_F(SimulatedPrinterTest, ChannelFaults) {
  uint32_t size = 99;
  printer.State().faults = {sim::FAULT_NO_CHANNEL};
  EXPECT_EQ(printer.GetAvailableChannel(1, QUEUE, nullptr, &size), 0);
  EXPECT_EQ(size, 0u);
  printer.State().faults = {sim::FAULT_OPEN_FAILS};
  EXPECT_LT(OpenChannel(sim::CHANNEL_TYPE_CONTROL), 1);
  printer.State().faults.clear();
  printer.State().channels.clear();
  size = 99;
  EXPECT_EQ(printer.GetAvailableChannel(1, QUEUE, nullptr, &size), sim::KB_MORE_ROOM);
  EXPECT_EQ(size, 0u);
  EXPECT_LT(OpenChannel(sim::CHANNEL_TYPE_CONTROL), 1);
}

TEST_F(SimulatedPrinterTest, StatusReplyLayout) {
  printer.State().ink = {80, 26, 25};
  printer.State().field0d = 13;
  Bytes expected = simtest::Join({simtest::Text("@BDC ST2\r\n"),
                                  {0x16, 0x00},                       // body length 22
                                  {0x01, 0x01, 0x04},                 // ready
                                  {0x02, 0x01, 0x00},                 // no error
                                  {0x0F, 0x0A, 0x03, 0x01, 0x00, 80,  // ink table
                                   0x02, 0x00, 26, 0x03, 0x00, 25},
                                  {0x0D, 0x02, 0x00, 13}});
  int result = 0;
  EXPECT_EQ(Status(&result), expected);
  EXPECT_EQ(result, static_cast<int>(expected.size()));
}

TEST_F(SimulatedPrinterTest, StatusFaultsBreakTheReplyAsNamed) {
  printer.State().faults = {sim::FAULT_STATUS_NO_CRLF};
  Bytes reply = Status();
  ASSERT_FALSE(reply.empty());
  for (size_t i = 0; i + 1 < reply.size(); ++i) {
    EXPECT_FALSE(reply[i] == 0x0D && reply[i + 1] == 0x0A) << "CR LF at " << i;
  }

  printer.State().faults = {sim::FAULT_STATUS_OVERLONG};
  reply = Status();
  ASSERT_GT(reply.size(), 12u);
  size_t claimed = reply[10] | (reply[11] << 8);
  EXPECT_GT(claimed, sim::STATUS_REPLY_BYTES);
  EXPECT_LE(reply.size(), sim::STATUS_REPLY_BYTES);
}

TEST_F(SimulatedPrinterTest, StatusCodeOverTime) {
  struct Case {
    const char* name;
    std::function<void(sim::PrinterState&)> setup;
    std::vector<uint8_t> codes;  // of successive polls
  };
  const Case cases[] = {
      {"ready", [](sim::PrinterState&) {}, {4, 4}},
      {"busy", [](sim::PrinterState& s) { s.statusCode = sim::STATUS_CODE_BUSY; }, {3, 3}},
      {"other code", [](sim::PrinterState& s) { s.statusCode = 7; }, {7}},
      {"never ready", [](sim::PrinterState& s) { s.faults = {sim::FAULT_NEVER_READY}; }, {3, 3, 3}},
      {"ready after two polls", [](sim::PrinterState& s) { s.readyAfter = 2; }, {3, 3, 4, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim::SimulatedPrinter fresh(clock);
    c.setup(fresh.State());
    for (uint8_t code : c.codes) EXPECT_EQ(fresh.StatusBytes()[14], code);
  }
}

TEST_F(SimulatedPrinterTest, BusyTimeEndsOnTheClock) {
  printer.State().busyUntil = clock.now + 5000;
  EXPECT_EQ(StatusCode(), sim::STATUS_CODE_BUSY);
  clock.Advance(4999);
  EXPECT_EQ(StatusCode(), sim::STATUS_CODE_BUSY);
  clock.Advance(1);
  EXPECT_EQ(StatusCode(), sim::STATUS_CODE_READY);
  EXPECT_FALSE(printer.State().busyUntil);
}

TEST_F(SimulatedPrinterTest, RepliesOnTheControlChannel) {
  printer.State().values["0000001F.0102030405060708090A0B0C0D"] = "8A80";
  struct Case {
    const char* name;
    Bytes command;
    std::string reply;
  };
  const Case cases[] = {
      {"version", simtest::VERSION_QUERY, "@BDC PS\r\nVI:00SN120315;\x0C"},
      {"stored value", simtest::FeedValueRead(simtest::FEED_SELECTOR),
       "@BDC PS\r\nEX:0000001F0102030405060708090A0B0C0D8A80;\x0C"},
      {"value never written", simtest::FeedValueRead(Bytes(13, 0xFF)),
       "@BDC PS\r\nEX:0000001FFFFFFFFFFFFFFFFFFFFFFFFFFF8080;\x0C"},
      {"unknown command", {0x51, 0x51, 0x00, 0x00}, "@BDC PS\r\nQQ:NA;\x0C"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Query(sim::CHANNEL_TYPE_CONTROL, c.command), simtest::Text(c.reply));
  }
}

// The reply sits inside an SNMP response, behind some head bytes, up to the message's end.
TEST_F(SimulatedPrinterTest, RepliesOnTheNetworkChannelComeWrappedInSnmp) {
  // The request as the programs build it for the version query.
  Bytes versionRequest = simtest::SnmpRequest(simtest::VERSION_QUERY);
  ASSERT_EQ(versionRequest.size(), 56u);
  ASSERT_EQ(versionRequest[1], 0x36);
  struct Case {
    const char* name;
    Bytes command;
    std::string reply;
  };
  const Case cases[] = {
      {"version", simtest::VERSION_QUERY, "@BDC PS\r\nVI:00SN120315;\x0C"},
      // Bytes of 80 and above travel as two sub-identifier bytes.
      {"selector with high bytes", simtest::FeedValueRead(Bytes(13, 0xFF)),
       "@BDC PS\r\nEX:0000001FFFFFFFFFFFFFFFFFFFFFFFFFFF8080;\x0C"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes message = Query(sim::CHANNEL_TYPE_NETWORK, simtest::SnmpRequest(c.command));
    Bytes reply = simtest::Text(c.reply);
    ASSERT_GT(message.size(), reply.size());
    EXPECT_EQ(message[0], 0x30);
    EXPECT_TRUE(std::equal(reply.begin(), reply.end(), message.end() - reply.size()));
    size_t marker = message.size() - reply.size();
    EXPECT_GT(marker, 0u);
    EXPECT_LE(marker, 502u);
    EXPECT_EQ(message[marker - 2], 0x04);  // an octet string of the reply's length
    EXPECT_EQ(message[marker - 1], reply.size());
  }
}

TEST_F(SimulatedPrinterTest, NetworkChannelDropsWhatIsNotItsRequest) {
  Bytes plain = Query(sim::CHANNEL_TYPE_NETWORK, simtest::VERSION_QUERY);
  EXPECT_TRUE(plain.empty());
  Bytes request = simtest::SnmpRequest(simtest::VERSION_QUERY);
  request[7] = 'K';  // community
  EXPECT_TRUE(Query(sim::CHANNEL_TYPE_NETWORK, request).empty());
  request = simtest::SnmpRequest(simtest::VERSION_QUERY);
  request[1] += 1;  // outer length past the end
  EXPECT_TRUE(Query(sim::CHANNEL_TYPE_NETWORK, request).empty());
  ASSERT_FALSE(printer.State().log.empty());
  EXPECT_EQ(printer.State().log.back(), "network request dropped: not one SNMP message");
}

TEST_F(SimulatedPrinterTest, SilentPrinterLetsTheReceiveWaitOutItsTimeLimit) {
  printer.State().faults = {sim::FAULT_SILENT};
  uint32_t before = clock.now;
  int received = -1;
  EXPECT_TRUE(Query(sim::CHANNEL_TYPE_CONTROL, simtest::VERSION_QUERY, &received).empty());
  EXPECT_EQ(received, 0);
  EXPECT_EQ(clock.now - before, 10000u);
}

TEST_F(SimulatedPrinterTest, ReplyLargerThanTheBufferComesInPieces) {
  int handle = OpenChannel(sim::CHANNEL_TYPE_CONTROL);
  printer.Send(handle, simtest::VERSION_QUERY.data(), 6);
  uint8_t buffer[64] = {};
  uint32_t size = 4;
  EXPECT_EQ(printer.Receive(handle, buffer, &size, 0), 4);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 4), "@BDC");
  size = sizeof buffer;
  EXPECT_EQ(printer.Receive(handle, buffer, &size, 0), 20);
  EXPECT_EQ(size, 20u);
}

TEST_F(SimulatedPrinterTest, CallsOnAChannelThatIsNotOpenFail) {
  uint8_t buffer[256];
  uint32_t size = sizeof buffer;
  EXPECT_EQ(printer.GetStatus(5, buffer, &size), sim::KB_FAILED);
  EXPECT_EQ(printer.Send(5, buffer, 4), sim::KB_FAILED);
  EXPECT_EQ(printer.Receive(5, buffer, &size, 0), sim::KB_FAILED);
  int handle = OpenChannel(sim::CHANNEL_TYPE_CONTROL);
  EXPECT_EQ(printer.CloseChannel(handle), sim::KB_OK);
  EXPECT_EQ(printer.GetStatus(handle, buffer, &size), sim::KB_FAILED);
}

}  // namespace

// The link layer over the real stand-in library built with each calling convention that the
// maker's library may use (on 32-bit x86 stdcall and cdecl; one library elsewhere), and the call
// site on its own with many and narrow arguments.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "link/bidi_api.h"
#include "link/foreign_call.h"
#include "link/printer_channel.h"
#include "platform/posix/posix_platform.h"
#include "programs/kestrune/kestrune_tables.h"
#include "shell/tool_app.h"
#include "sim/printer_state.h"
#include "sim/protocol_bytes.h"
#include "tests/sim/sim_test_bytes.h"
#include "tests/support/fake_platform.h"
#include "tests/support/fake_spooler.h"
#include "tests/support/test_app.h"

namespace {

using printer_link::BidiApi;

constexpr char QUEUE[] = "Plotter";
constexpr char MODEL[] = "KALDO Model 9000";

struct Build {
  const char* convention;
  const char* path;
};

// Every library name loads the given file.
class FixedLibrary : public platform::Library {
 public:
  explicit FixedLibrary(std::string path) : path_(std::move(path)) {}
  std::unique_ptr<platform::LoadedLibrary> Load(const std::string&) override {
    return real_.Load(path_);
  }

 private:
  std::string path_;
  platform::PosixLibrary real_;
};

class ConventionTest : public ::testing::TestWithParam<Build> {
 protected:
  void SetUp() override {
    std::string folder = simtest::TempFolder();
    ASSERT_FALSE(folder.empty());
    statePath = folder + "printer.state";
    setenv("KD_SIM_STATE", statePath.c_str(), 1);
    sim::PrinterState state;
    state.model = MODEL;
    state.channels = {{sim::CHANNEL_TYPE_NETWORK, sim::CHANNEL_FLAGS_USABLE}};
    state.readyAfter = 1;
    ASSERT_TRUE(sim::SaveState(statePath, state));
  }
  void TearDown() override { unsetenv("KD_SIM_STATE"); }

  std::string statePath;
};

TEST_P(ConventionTest, BindDeviceIdStatusQueryAndSendHold) {
  auto spooler = std::make_unique<fakes::RecordingSpooler>();
  spooler->AddQueue(QUEUE, "LPT1:", MODEL);
  fakes::TestPlatform platform{};
  shell::ToolApp app(programs::KestruneProfile(),
                     fakes::MakeFakePlatform(&platform, std::move(spooler),
                                             std::make_unique<FixedLibrary>(GetParam().path)));
  fakes::InstallTestSettings(*platform.files, {0});
  BidiApi api(app.Library(), app.Spooler(), app.Files());
  printer_link::PrinterChannel channel = app.Channel(&api);

  // Repeated so that a stack left a few bytes off by each call would show.
  for (int round = 0; round < 3; ++round) {
    SCOPED_TRACE(round);
    ASSERT_EQ(api.Bind(QUEUE, printer_link::LibrarySearch::PlainNameFirst), 1);
    EXPECT_TRUE(channel.MatchDeviceId(QUEUE, MODEL));
    EXPECT_EQ(channel.WaitUntilReady(QUEUE, false, nullptr), printer_link::WAIT_READY);

    uint8_t reply[512] = {};
    int received =
        channel.QueryPrinter(QUEUE, simtest::VERSION_QUERY.data(), 6, reply, sizeof reply, 10000);
    ASSERT_GT(received, 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(reply)), "@BDC PS\r\nVI:00SN120315;\x0C");

    int handle = channel.Open(QUEUE);
    ASSERT_GE(handle, 1);
    printer_link::StatusReply status;
    EXPECT_GT(channel.ReadStatus(handle, status), 0);
    simtest::Bytes request = simtest::SnmpRequest(simtest::VERSION_QUERY);
    EXPECT_EQ(api.KBSend(handle, request.data(), static_cast<uint32_t>(request.size())),
              static_cast<int>(request.size()));
    channel.Close(handle);
    EXPECT_EQ(api.Release(), 1);
  }
}

std::vector<Build> Builds() {
  std::vector<Build> builds = {{"default", KD_STANDIN_LIBRARY}};
#ifdef KD_STANDIN_CDECL_LIBRARY
  builds[0].convention = "stdcall";
  builds.push_back({"cdecl", KD_STANDIN_CDECL_LIBRARY});
#endif
  return builds;
}

INSTANTIATE_TEST_SUITE_P(StandIn, ConventionTest, ::testing::ValuesIn(Builds()),
                         [](const ::testing::TestParamInfo<Build>& info) {
                           return std::string(info.param.convention);
                         });

// Callees of either convention with enough arguments that a missed or doubled pop would move
// the stack by 24 bytes per call. Each folds its arguments so that order and widening show.
#if defined(__i386__)
#define KD_TEST_STDCALL __attribute__((stdcall))
#define KD_TEST_CDECL __attribute__((cdecl))
#else
#define KD_TEST_STDCALL
#define KD_TEST_CDECL
#endif

int KD_TEST_STDCALL FoldStd(int a, int8_t b, uint16_t c, const char* d, uint32_t e, int f) {
  return a * 1000000 + b * 10000 + c * 100 + (d ? d[0] : 0) + static_cast<int>(e) - f;
}
int KD_TEST_CDECL FoldCdecl(int a, int8_t b, uint16_t c, const char* d, uint32_t e, int f) {
  return a * 1000000 + b * 10000 + c * 100 + (d ? d[0] : 0) + static_cast<int>(e) - f;
}
int KD_TEST_STDCALL NoArguments() {
  return 42;
}

using FoldFn = int (*)(int, int8_t, uint16_t, const char*, uint32_t, int);

TEST(ForeignCallTest, EitherConventionLeavesTheCallersStackAsItWas) {
  const struct {
    const char* convention;
    void* entry;
  } callees[] = {{"stdcall", reinterpret_cast<void*>(&FoldStd)},
                 {"cdecl", reinterpret_cast<void*>(&FoldCdecl)}};
  for (const auto& callee : callees) {
    SCOPED_TRACE(callee.convention);
    auto fold = reinterpret_cast<FoldFn>(callee.entry);
    // Negative narrow values arrive sign-extended, a null pointer as null, the order kept.
    volatile int sum = 0;
    for (int i = 0; i < 1000; ++i) {
      sum = sum + printer_link::ForeignCall(fold, 3, -2, 7, nullptr, 5u, 1) -
            printer_link::ForeignCall(fold, 3, -2, 7, "A", 5u, i);
    }
    EXPECT_EQ(printer_link::ForeignCall(fold, 3, -2, 7, nullptr, 5u, 1), 2980704);
    EXPECT_EQ(printer_link::ForeignCall(fold, 3, -2, 7, "A", 5u, 1), 2980704 + 'A');
    EXPECT_EQ(sum, 999 * 1000 / 2 - 1000 * ('A' + 1));
  }
  auto none = reinterpret_cast<int (*)()>(reinterpret_cast<void*>(&NoArguments));
  EXPECT_EQ(printer_link::ForeignCall(none), 42);
}

}  // namespace

// The driver-settings binding against the stand-in library loaded with dlopen, as the program
// finds it beside the printer driver, and the simulated driver's items and faults.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "link/driver_media_list.h"
#include "link/driver_settings_api.h"
#include "platform/posix/posix_platform.h"
#include "sim/printer_state.h"
#include "sim/simulated_driver.h"
#include "tests/sim/sim_test_bytes.h"
#include "tests/support/fake_spooler.h"

namespace {

using namespace printer_link;

constexpr char QUEUE[] = "Plotter";

std::string FolderOf(const std::string& path) {
  return path.substr(0, path.rfind('/'));
}

// Records what was asked for and loads the stand-in under some of the names.
class WatchedLibrary : public platform::Library {
 public:
  std::unique_ptr<platform::LoadedLibrary> Load(const std::string& name) override {
    asked.push_back(name);
    auto found = paths.find(name);
    return found == paths.end() ? real.Load(name) : real.Load(found->second);
  }
  std::map<std::string, std::string> paths;  // name asked -> file loaded
  std::vector<std::string> asked;
  platform::PosixLibrary real;
};

class DriverStandInTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = simtest::TempFolder();
    ASSERT_FALSE(folder.empty());
    statePath = folder + "printer.state";
    setenv("KD_SIM_STATE", statePath.c_str(), 1);
    ASSERT_TRUE(sim::SaveState(statePath, state));
    spooler.AddQueue(QUEUE, "KD1394D3_1", "KALDO Model 9000");
    // The stand-in is built as KDSET32.DLL, so the driver's folder is its folder.
    spooler.driverInfo[QUEUE] = {FolderOf(KD_KDSET32_LIBRARY) + "\\KDDRV.DLL", "KDDRV.INI"};
  }
  void TearDown() override { unsetenv("KD_SIM_STATE"); }

  sim::PrinterState Saved() {
    sim::PrinterState saved;
    EXPECT_TRUE(sim::LoadState(statePath, &saved, nullptr));
    return saved;
  }
  void Change(const std::string& setting) {
    sim::PrinterState s = Saved();
    ASSERT_TRUE(sim::ApplySetting(setting, &s, nullptr));
    ASSERT_TRUE(sim::SaveState(statePath, s));
  }

  std::string folder;
  std::string statePath;
  sim::PrinterState state;
  fakes::RecordingSpooler spooler;
  WatchedLibrary library;
};

TEST_F(DriverStandInTest, BindsBesideTheDriver) {
  DriverSettingsApi api(library, spooler);
  ASSERT_EQ(api.Bind(QUEUE), 1);
  EXPECT_EQ(library.asked,
            std::vector<std::string>{FolderOf(KD_KDSET32_LIBRARY) + "\\KDSET32.DLL"});
  EXPECT_TRUE(spooler.Balanced());
  api.Unbind();
  EXPECT_FALSE(api.IsLoaded());
}

TEST_F(DriverStandInTest, WhereTheLibraryIsLookedFor) {
  struct Case {
    const char* name;
    std::function<void(fakes::RecordingSpooler&)> setup;
    int bound;
    std::vector<std::string> asked;
  };
  const std::string beside = "/no/such/driver/folder\\KDSET32.DLL";
  const Case cases[] = {
      // Nothing loads beside the driver: no second try under the plain name.
      {"missing beside the driver",
       [](fakes::RecordingSpooler& s) {
         s.driverInfo[QUEUE].driverPath = "/no/such/driver/folder\\KDDRV.DLL";
       },
       0,
       {beside}},
      {"queue unknown",
       [](fakes::RecordingSpooler& s) { s.refuseOpen = true; },
       1,
       {KDSET32_LIBRARY}},
      {"no driver information",
       [](fakes::RecordingSpooler& s) { s.driverInfo.clear(); },
       1,
       {KDSET32_LIBRARY}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fakes::RecordingSpooler s;
    s.AddQueue(QUEUE, "KD1394D3_1", "KALDO Model 9000");
    s.driverInfo[QUEUE] = spooler.driverInfo[QUEUE];
    c.setup(s);
    WatchedLibrary watched;
    watched.paths[KDSET32_LIBRARY] = KD_KDSET32_LIBRARY;
    DriverSettingsApi api(watched, s);
    EXPECT_EQ(api.Bind(QUEUE), c.bound);
    EXPECT_EQ(watched.asked, c.asked);
    EXPECT_TRUE(s.Balanced());
  }
}

TEST_F(DriverStandInTest, LibraryShortOfOneExportBindsToZeroButKeepsTheRest) {
  library.paths[FolderOf(KD_KDSET32_LIBRARY) + "\\KDSET32.DLL"] = KD_KDSET32_PARTIAL_LIBRARY;
  DriverSettingsApi api(library, spooler);
  EXPECT_EQ(api.Bind(QUEUE), 0);
  KddmHandle handle = nullptr;
  ASSERT_EQ(api.KDDM_Open(QUEUE, 0, KDDM_OPEN_PLAIN, nullptr, &handle), 0);
  EXPECT_EQ(api.KDDM_Close(handle), KDSET32_MISSING);
}

TEST_F(DriverStandInTest, MediaListThroughTheLibrary) {
  DriverSettingsApi api(library, spooler);
  ASSERT_EQ(api.Bind(QUEUE), 1);
  DriverMediaList list;
  {
    DriverMediaHolder holder(list, &api, QUEUE, 1);
    ASSERT_EQ(holder.Count(), 12);
    EXPECT_EQ(holder.Id(0), 1);
    EXPECT_EQ(holder.Name(0), "Plain Paper");
    EXPECT_EQ(holder.Id(11), 12);
    EXPECT_EQ(holder.Name(11), "Proofing Paper");
    DriverMediaHolder shared(list, &api, QUEUE, 1);
  }
  sim::PrinterState saved = Saved();
  EXPECT_TRUE(saved.driver.handles.empty());
  int opens = 0;
  for (const std::string& line : saved.log) opens += line.rfind("driver: open 1 ", 0) == 0 ? 1 : 0;
  EXPECT_EQ(opens, 1);
}

TEST_F(DriverStandInTest, ItemsAsTheSamplePrintUsesThem) {
  DriverSettingsApi api(library, spooler);
  ASSERT_EQ(api.Bind(QUEUE), 1);
  KddmHandle handle = nullptr;
  ASSERT_EQ(api.KDDM_Open(QUEUE, 1, KDDM_OPEN_PLAIN, nullptr, &handle), 0);

  EXPECT_EQ(api.KDDM_SetData(handle, ITEM_SAMPLE_PRINT, 1), 0);
  EXPECT_EQ(api.KDDM_SetData(handle, ITEM_PAPER_HANDLING, 4), 0);
  EXPECT_NE(api.KDDM_SetData(handle, ITEM_PAPER_HANDLING, 5), 0);

  uint32_t user[9] = {1, 36, 0, 0, 0, 0, 0, 0, 256};
  ASSERT_EQ(api.KDDM_GetData(handle, ITEM_USER_SIZE, user), 0);
  EXPECT_EQ(user[2], 6100u);
  uint16_t page[4] = {static_cast<uint16_t>(user[2]), 1480, PAPER_USER_DEFINED, 0};
  ASSERT_EQ(api.KDDM_SetData(handle, ITEM_PAPER_SIZE, reinterpret_cast<intptr_t>(page)), 0);
  uint16_t size[4] = {};
  ASSERT_EQ(api.KDDM_GetData(handle, ITEM_PAPER_SIZE, size), 0);
  EXPECT_EQ(std::vector<uint16_t>(size, size + 4), (std::vector<uint16_t>{6100, 1480, 256, 0}));

  uint16_t mode[4] = {1, 2, 99, 2};  // no such media
  EXPECT_NE(api.KDDM_SetData(handle, ITEM_MEDIA_MODE, reinterpret_cast<intptr_t>(mode)), 0);
  mode[2] = 11;  // canvas: the cutter leaves it alone
  EXPECT_EQ(api.KDDM_SetData(handle, ITEM_MEDIA_MODE, reinterpret_cast<intptr_t>(mode)), 0);
  uint32_t roll[3] = {1, 12, 0};
  ASSERT_EQ(api.KDDM_GetRange(handle, ITEM_ROLL_FLAGS, roll), 0);
  EXPECT_EQ(roll[2] & 0x8, 0u);

  uint8_t feed[20] = {};
  ASSERT_EQ(api.KDDM_GetData(handle, ITEM_FEED_DATA, feed), 0);
  feed[9] = static_cast<uint8_t>(-3);
  ASSERT_EQ(api.KDDM_SetData(handle, ITEM_FEED_DATA, reinterpret_cast<intptr_t>(feed)), 0);

  // The device mode carries the handle's settings into a handle opened with it.
  int bytes = api.KDDM_GetDevMode(handle, nullptr);
  ASSERT_GT(bytes, static_cast<int>(sim::DEVMODE_PUBLIC_SIZE));
  std::vector<uint8_t> devMode(static_cast<size_t>(bytes));
  EXPECT_NE(api.KDDM_GetDevMode(handle, devMode.data()), 0);
  KddmHandle copy = nullptr;
  ASSERT_EQ(api.KDDM_Open(QUEUE, 1, KDDM_OPEN_WITH_DEVMODE, devMode.data(), &copy), 0);
  uint8_t copied[20] = {};
  ASSERT_EQ(api.KDDM_GetData(copy, ITEM_FEED_DATA, copied), 0);
  EXPECT_EQ(static_cast<int8_t>(copied[9]), -3);
  api.KDDM_Close(copy);
  api.KDDM_Close(handle);
  EXPECT_TRUE(Saved().driver.handles.empty());
}

TEST_F(DriverStandInTest, PaperSizeNamesByCode) {
  DriverSettingsApi api(library, spooler);
  ASSERT_EQ(api.Bind(QUEUE), 1);
  KddmHandle handle = nullptr;
  ASSERT_EQ(api.KDDM_Open(QUEUE, 2, KDDM_OPEN_PLAIN, nullptr, &handle), 0);
  IdRangeBlock range;
  ASSERT_EQ(api.KDDM_GetRange(handle, ITEM_PAPER_SIZE, &range), 0);
  std::vector<uint16_t> codes(range.count);
  range.ids = codes.data();
  ASSERT_EQ(api.KDDM_GetRange(handle, ITEM_PAPER_SIZE, &range), 0);
  EXPECT_EQ(codes.back(), PAPER_USER_DEFINED);
  char name[NAME_BUFFER_SIZE] = {};
  NameRequestBlock request;
  request.kind = NAME_KIND_PAPER_SIZE;
  request.id = codes.front();
  request.name = name;
  ASSERT_EQ(api.KDDM_GetData(handle, ITEM_NAME, &request), 0);
  EXPECT_STREQ(name, "A4 210 x 297 mm");
  api.KDDM_Close(handle);
}

TEST_F(DriverStandInTest, FaultsLeaveTheDriverUntouched) {
  DriverSettingsApi api(library, spooler);
  ASSERT_EQ(api.Bind(QUEUE), 1);
  KddmHandle handle = nullptr;

  Change("driver.open_fails=1");
  EXPECT_NE(api.KDDM_Open(QUEUE, 1, KDDM_OPEN_PLAIN, nullptr, &handle), 0);
  EXPECT_TRUE(Saved().driver.handles.empty());

  Change("driver.open_fails=0");
  Change("driver.refuse=40,219");
  ASSERT_EQ(api.KDDM_Open(QUEUE, 1, KDDM_OPEN_PLAIN, nullptr, &handle), 0);
  sim::DriverSettings before = Saved().driver.handles.begin()->second;
  uint8_t feed[20] = {1, 0, 0, 0, 20};
  EXPECT_NE(api.KDDM_SetData(handle, ITEM_PAPER_HANDLING, 4), 0);
  EXPECT_NE(api.KDDM_SetData(handle, ITEM_FEED_DATA, reinterpret_cast<intptr_t>(feed)), 0);
  EXPECT_NE(api.KDDM_GetData(handle, ITEM_FEED_DATA, feed), 0);
  EXPECT_TRUE(Saved().driver.handles.begin()->second == before);
  api.KDDM_Close(handle);
}

TEST(DriverStateFile, DriverKeysSurviveTheStateFile) {
  sim::PrinterState s;
  const char* settings[] = {"driver.media=3:Film|5:Canvas:Heavy", "driver.papers=9:2100x2970:A4",
                            "driver.refuse=30", "driver.open_fails=1", "driver.user_width=9140"};
  for (const char* line : settings) ASSERT_TRUE(sim::ApplySetting(line, &s, nullptr)) << line;
  sim::PrinterState parsed;
  ASSERT_TRUE(sim::ParseState(sim::FormatState(s), &parsed, nullptr));
  ASSERT_EQ(parsed.driver.media.size(), 2u);
  EXPECT_EQ(parsed.driver.media[1].name, "Canvas:Heavy");
  EXPECT_EQ(parsed.driver.papers[0].length, 2970);
  EXPECT_TRUE(parsed.driver.openFails);
  EXPECT_EQ(parsed.driver.refusedItems, std::set<int>{30});
  EXPECT_EQ(parsed.driver.userWidth, 9140);
  for (const char* bad : {"driver.media=x:Film", "driver.papers=9:2100:A4", "driver.open_fails=2",
                          "driver.handle.1=00", "driver.nothing=1"}) {
    EXPECT_FALSE(sim::ApplySetting(bad, &s, nullptr)) << bad;
  }
}

}  // namespace

// The driver media list: loading through the binding, sharing between holders and reuse for
// one queue name, against a scripted driver.
#include "link/driver_media_list.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using printer_link::DriverMediaHolder;
using printer_link::DriverMediaList;
using printer_link::DriverSettingsApi;
using printer_link::IdRangeBlock;
using printer_link::KddmHandle;
using printer_link::NameRequestBlock;

constexpr char QUEUE[] = "Plotter";
constexpr char OTHER_QUEUE[] = "Plotter 2";
constexpr int OPEN_NUMBER = 7;

// What the exports answer; one at a time, reached through the exports below.
struct ScriptedDriver {
  std::vector<uint16_t> ids = {4, 9, 12};
  std::map<uint32_t, std::string> names = {{0, "Plain"}, {1, "Glossy"}, {2, "Film"}};
  uint16_t elementSize = 2;
  bool openFails = false;
  bool rangeFails = false;
  int opens = 0;
  int closes = 0;
  int lastOpenNumber = 0;
  size_t bufferBytes = 0;  // what the caller offered for the ids
};
ScriptedDriver* driver = nullptr;

int Open(const char*, int number, uint32_t, void*, KddmHandle* handle) {
  ++driver->opens;
  driver->lastOpenNumber = number;
  if (driver->openFails) return -1;
  *handle = reinterpret_cast<KddmHandle>(intptr_t{1});
  return 0;
}
int GetRange(KddmHandle, int item, void* block) {
  auto* range = static_cast<IdRangeBlock*>(block);
  if (driver->rangeFails || item != printer_link::ITEM_MEDIA_TYPES) return -1;
  if (range->ids == nullptr) {
    range->count = static_cast<uint16_t>(driver->ids.size());
    range->elementSize = driver->elementSize;
    return 0;
  }
  // Element by element in the size the driver named.
  auto* out = static_cast<uint8_t*>(range->ids);
  for (uint16_t id : driver->ids) {
    for (uint16_t b = 0; b < driver->elementSize; ++b) *out++ = static_cast<uint8_t>(id >> (8 * b));
  }
  return 0;
}
int GetData(KddmHandle, int, void* block) {
  auto* request = static_cast<NameRequestBlock*>(block);
  auto found = driver->names.find(request->id);
  if (found == driver->names.end()) return -1;
  std::memset(request->name, 'x', request->nameSize);  // no terminator of its own when too long
  std::memcpy(request->name, found->second.data(),
              std::min<size_t>(found->second.size(), request->nameSize));
  if (found->second.size() < request->nameSize) request->name[found->second.size()] = '\0';
  return 0;
}
int Close(KddmHandle) {
  ++driver->closes;
  return 0;
}
int Other(KddmHandle, void*) {
  return 0;
}

class ScriptedModule : public platform::LoadedLibrary {
 public:
  void* Export(const char* name) override {
    static const std::map<std::string, void*> exports = {
        {"KDDM_Open", reinterpret_cast<void*>(&Open)},
        {"KDDM_GetRange", reinterpret_cast<void*>(&GetRange)},
        {"KDDM_GetData", reinterpret_cast<void*>(&GetData)},
        {"KDDM_Close", reinterpret_cast<void*>(&Close)}};
    auto found = exports.find(name);
    return found == exports.end() ? reinterpret_cast<void*>(&Other) : found->second;
  }
};

class ScriptedLibrary : public platform::Library {
 public:
  std::unique_ptr<platform::LoadedLibrary> Load(const std::string&) override {
    return std::make_unique<ScriptedModule>();
  }
};

class NoSpooler : public platform::Spooler {
 public:
  bool EnumeratePrinters(std::vector<platform::PrinterQueue>*) override { return false; }
  platform::PrinterHandle OpenPrinter(const std::string&) override { return 0; }
  void ClosePrinter(platform::PrinterHandle) override {}
  bool GetDriverInfo(platform::PrinterHandle, platform::DriverInfo*) override { return false; }
  bool GetDeviceSettings(platform::PrinterHandle, const std::string&, ui::View*,
                         std::vector<uint8_t>*) override {
    return false;
  }
  uint32_t StartDoc(platform::PrinterHandle, const std::string&) override { return 0; }
  bool StartPage(platform::PrinterHandle) override { return false; }
  bool Write(platform::PrinterHandle, const uint8_t*, uint32_t, uint32_t*) override {
    return false;
  }
  bool EndPage(platform::PrinterHandle) override { return false; }
  bool EndDoc(platform::PrinterHandle) override { return false; }
  bool EnumerateJobs(platform::PrinterHandle, std::vector<platform::JobInfo>*) override {
    return false;
  }
};

class DriverMediaListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    driver = &script;
    ASSERT_EQ(api.Bind(QUEUE), 1);
  }
  void TearDown() override { driver = nullptr; }

  static std::vector<std::string> Names(const DriverMediaHolder& h) {
    std::vector<std::string> names;
    for (int i = 0; i < h.Count(); ++i) names.push_back(h.Name(i));
    return names;
  }

  ScriptedDriver script;
  ScriptedLibrary library;
  NoSpooler spooler;
  DriverSettingsApi api{library, spooler};
  DriverMediaList list;
};

TEST_F(DriverMediaListTest, LoadsIdsAndNamesOnAHandleOfItsOwn) {
  DriverMediaHolder holder(list, &api, QUEUE, OPEN_NUMBER);
  ASSERT_EQ(holder.Count(), 3);
  EXPECT_EQ(holder.Id(0), 4);
  EXPECT_EQ(holder.Id(2), 12);
  EXPECT_EQ(Names(holder), (std::vector<std::string>{"Plain", "Glossy", "Film"}));
  EXPECT_EQ(script.lastOpenNumber, OPEN_NUMBER);
  EXPECT_EQ(script.closes, 1);
  // Outside the list: id 0 and no name.
  for (int index : {-1, 3}) {
    EXPECT_EQ(holder.Id(index), 0);
    EXPECT_EQ(holder.Name(index), "");
  }
}

TEST_F(DriverMediaListTest, SharedByHoldersAndLoadedOncePerQueue) {
  {
    DriverMediaHolder first(list, &api, QUEUE, OPEN_NUMBER);
    DriverMediaHolder second(list, &api, QUEUE, OPEN_NUMBER);
    EXPECT_EQ(script.opens, 1);
    EXPECT_EQ(list.Holders(), 2);
    EXPECT_EQ(second.Count(), 3);
    {
      DriverMediaHolder other(list, &api, OTHER_QUEUE, OPEN_NUMBER);
      EXPECT_EQ(script.opens, 2);
    }
    EXPECT_EQ(list.Holders(), 2);
    // No holder without a binding changes the list.
    DriverMediaHolder unbound(list, nullptr, QUEUE, OPEN_NUMBER);
    EXPECT_EQ(unbound.Count(), 3);
    EXPECT_EQ(list.QueueName(), OTHER_QUEUE);
  }
  EXPECT_EQ(list.Holders(), 0);
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(DriverMediaListTest, DiscardedListIsLoadedAgainForTheSameQueue) {
  { DriverMediaHolder first(list, &api, QUEUE, OPEN_NUMBER); }
  DriverMediaHolder again(list, &api, QUEUE, OPEN_NUMBER);
  EXPECT_EQ(script.opens, 2);
  EXPECT_EQ(again.Count(), 3);
}

TEST_F(DriverMediaListTest, FailedOpenOrRangeIsAskedAgainByTheNextHolder) {
  for (bool openFails : {true, false}) {
    SCOPED_TRACE(openFails ? "open fails" : "range fails");
    DriverMediaList fresh;
    script.opens = 0;
    script.openFails = openFails;
    script.rangeFails = !openFails;
    DriverMediaHolder failed(fresh, &api, QUEUE, OPEN_NUMBER);
    EXPECT_EQ(failed.Count(), 0);
    script.openFails = script.rangeFails = false;
    DriverMediaHolder retried(fresh, &api, QUEUE, OPEN_NUMBER);
    EXPECT_EQ(script.opens, 2);
    EXPECT_EQ(retried.Count(), 3);
  }
}

TEST_F(DriverMediaListTest, CallersHandleAlwaysReloads) {
  DriverMediaHolder own(list, &api, QUEUE, OPEN_NUMBER);
  script.ids = {5};
  script.names = {{0, "Canvas"}};
  DriverMediaHolder onHandle(list, api, QUEUE, reinterpret_cast<KddmHandle>(intptr_t{1}));
  EXPECT_EQ(script.opens, 1);
  EXPECT_EQ(script.closes, 1);
  EXPECT_EQ(own.Count(), 1);
  EXPECT_EQ(own.Name(0), "Canvas");

  script.rangeFails = true;
  DriverMediaHolder failed(list, api, QUEUE, reinterpret_cast<KddmHandle>(intptr_t{1}));
  EXPECT_EQ(list.Count(), 0);
}

TEST_F(DriverMediaListTest, FailedNameKeepsThePreviousName) {
  script.names = {{1, "Glossy"}};  // ids 0 and 2 have no name
  DriverMediaHolder holder(list, &api, QUEUE, OPEN_NUMBER);
  EXPECT_EQ(Names(holder), (std::vector<std::string>{"", "Glossy", "Glossy"}));
}

TEST_F(DriverMediaListTest, OverlongNameIsCutInsideTheBuffer) {
  script.names[0] = std::string(400, 'n');
  DriverMediaHolder holder(list, &api, QUEUE, OPEN_NUMBER);
  EXPECT_EQ(holder.Name(0), std::string(printer_link::NAME_BUFFER_SIZE - 1, 'n'));
}

TEST_F(DriverMediaListTest, NarrowElementsAreNotReadPastTheBuffer) {
  struct Case {
    uint16_t elementSize;
    int count;
  };
  // One-byte elements leave the high bytes zero; no elements at all give no list.
  for (Case c : {Case{1, 3}, Case{0, 0}}) {
    SCOPED_TRACE(c.elementSize);
    DriverMediaList fresh;
    script.elementSize = c.elementSize;
    script.ids = {4, 9, 12};
    DriverMediaHolder holder(fresh, &api, QUEUE, OPEN_NUMBER);
    EXPECT_EQ(holder.Count(), c.count);
  }
}

TEST(DriverSettingsApiTest, UnboundWrappersAnswerMissing) {
  ScriptedLibrary library;
  NoSpooler spooler;
  DriverSettingsApi api(library, spooler);
  KddmHandle handle = nullptr;
  IdRangeBlock range;
  const int results[] = {
      api.KDDM_Open(QUEUE, 0, 0, nullptr, &handle), api.KDDM_GetRange(handle, 60, &range),
      api.KDDM_GetData(handle, 213, &range),        api.KDDM_SetData(handle, 40, 4),
      api.KDDM_GetDevMode(handle, nullptr),         api.KDDM_Close(handle)};
  for (int result : results) EXPECT_EQ(result, printer_link::KDSET32_MISSING);
}

}  // namespace

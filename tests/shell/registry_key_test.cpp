// Registry semantics of the key wrapper, on the in-memory registry.
#include "shell/registry_key.h"

#include <gtest/gtest.h>

#include "tests/support/fake_platform.h"

namespace {

using platform::HIVE_CURRENT_USER;
using platform::HIVE_LOCAL_MACHINE;
using shell::RegistryKey;

class RegistryKeyTest : public ::testing::Test {
 protected:
  fakes::FakeRegistry registry;
};

TEST_F(RegistryKeyTest, CurrentUserKeyIsCreatedByConstructionAndStringsRoundTrip) {
  {
    RegistryKey key(registry, HIVE_CURRENT_USER, shell::REG_SUITE_PATH, false);
    EXPECT_TRUE(key.IsOpen());
    EXPECT_EQ(key.SetString("Model 9000", "SelectPrinter", "Queue A"), platform::REG_OK);
    EXPECT_EQ(key.GetString("Model 9000", "SelectPrinter", "x"), "Queue A");
  }
  EXPECT_TRUE(registry.HasKey(HIVE_CURRENT_USER, "SoftWare\\KALDO\\KALDO Maroset\\Model 9000"));
  EXPECT_EQ(registry.OpenHandles(), 0);  // every subkey and the key itself closed
}

TEST_F(RegistryKeyTest, ReadingAnUnusedModelCreatesItsEmptySubkey) {
  RegistryKey key(registry, HIVE_CURRENT_USER, shell::REG_SUITE_PATH, false);
  EXPECT_EQ(key.GetString("Model 7000", "SelectPrinter", ""), "");
  EXPECT_TRUE(registry.HasKey(HIVE_CURRENT_USER, "SoftWare\\KALDO\\KALDO Maroset\\Model 7000"));
}

TEST_F(RegistryKeyTest, LocalMachineKeyIsReadOnly) {
  registry.PutString(HIVE_LOCAL_MACHINE, "SoftWare\\KALDO\\KALDO Maroset", "InstallPath",
                     "C:\\Panel");
  RegistryKey key(registry, HIVE_LOCAL_MACHINE, shell::REG_MAKER_PATH, false);
  EXPECT_EQ(key.GetString(shell::REG_SUITE_SUBKEY, shell::REG_INSTALL_PATH, ""), "C:\\Panel");
  // A missing subkey below a read-only key yields the default and is not created.
  EXPECT_EQ(key.GetString("Other", "InstallPath", "dflt"), "dflt");
  EXPECT_FALSE(registry.HasKey(HIVE_LOCAL_MACHINE, "SoftWare\\KALDO\\Other"));
}

TEST_F(RegistryKeyTest, StringReadsAreBoundedByTheBuffer) {
  const std::string path = "SoftWare\\KALDO\\KALDO Maroset\\M";
  registry.PutString(HIVE_CURRENT_USER, path, "Long", std::string(260, 'a'));  // 261 with zero
  registry.PutString(HIVE_CURRENT_USER, path, "Max", std::string(259, 'b'));
  // Exactly 260 bytes and no terminating zero: must not be read past the buffer.
  registry.PutRaw(HIVE_CURRENT_USER, path, "Full", platform::REG_TYPE_STRING,
                  std::vector<uint8_t>(260, 'c'));
  registry.PutRaw(HIVE_CURRENT_USER, path, "Number", platform::REG_TYPE_NUMBER, {0x41, 0x42, 0, 0});
  RegistryKey key(registry, HIVE_CURRENT_USER, shell::REG_SUITE_PATH, false);
  EXPECT_EQ(key.GetString("M", "Long", "dflt"), "dflt");
  EXPECT_EQ(key.GetString("M", "Max", "dflt"), std::string(259, 'b'));
  EXPECT_EQ(key.GetString("M", "Full", "dflt"), std::string(260, 'c'));
  EXPECT_EQ(key.GetString("M", "Number", "dflt"), "AB");  // type is not checked
  EXPECT_EQ(key.GetString("M", "Absent", "dflt"), "dflt");
}

TEST_F(RegistryKeyTest, NumbersRoundTripAndFallBack) {
  RegistryKey key(registry, HIVE_CURRENT_USER, shell::REG_SUITE_PATH, false);
  EXPECT_EQ(key.SetNumber("M\\Trevalo", "AutoCutR", -5), platform::REG_OK);
  EXPECT_EQ(key.GetNumber("M\\Trevalo", "AutoCutR", 7), -5);
  EXPECT_EQ(key.GetNumber("M\\Trevalo", "SampleFeedingR", 7), 7);
  key.SetString("M\\Trevalo", "Text", "longer than four");
  EXPECT_EQ(key.GetNumber("M\\Trevalo", "Text", 7), 7);  // does not fit 4 bytes
}

TEST_F(RegistryKeyTest, EnumeratesSubkeysInOrderAndFailsOnAMissingKey) {
  registry.AddKey(HIVE_LOCAL_MACHINE, "Software\\KALDO\\QTW3\\Driver\\KALDO Model 9000");
  registry.AddKey(HIVE_LOCAL_MACHINE, "Software\\KALDO\\QTW3\\Driver\\KALDO Model 7000");
  RegistryKey monitor(registry, HIVE_LOCAL_MACHINE, shell::REG_MONITOR_PATH, true);
  std::string name;
  EXPECT_EQ(monitor.EnumSubkey(0, &name), platform::REG_OK);
  EXPECT_EQ(name, "KALDO Model 9000");
  EXPECT_EQ(monitor.EnumSubkey(1, &name), platform::REG_OK);
  EXPECT_EQ(name, "KALDO Model 7000");
  EXPECT_EQ(monitor.EnumSubkey(2, &name), platform::REG_NO_MORE_ITEMS);

  RegistryKey missing(registry, HIVE_LOCAL_MACHINE, "Software\\Nothing", true);
  EXPECT_FALSE(missing.IsOpen());
  EXPECT_NE(missing.EnumSubkey(0, &name), platform::REG_OK);
  EXPECT_FALSE(registry.HasKey(HIVE_LOCAL_MACHINE, "Software\\Nothing"));
  EXPECT_EQ(missing.Close(), platform::REG_OK);
}

}  // namespace

// In-memory fakes of the seam for host tests; each honours its interface's contract.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace fakes {

// Files keyed by their full backslash path.
class FakeFiles : public platform::Files {
 public:
  std::map<std::string, std::string> files;
  std::set<std::string> folders;
  std::set<std::string> unreadable;  // exist, but cannot be opened
  std::string programPath = "C:\\Tools\\Maint\\Kestrune.exe";
  int readAllCalls = 0;

  void Put(const std::string& path, const std::string& content) { files[path] = content; }

  bool Exists(const std::string& path) override;
  bool Size(const std::string& path, uint64_t* size) override;
  bool ReadAll(const std::string& path, std::string* content) override;
  int64_t ReadExclusive(const std::string& path, uint8_t* buffer, uint64_t size) override;
  std::string ProgramPath() override { return programPath; }
  std::string ProfileString(const std::string& file, const std::string& section,
                            const std::string& key, const std::string& fallback) override;
};

// A fake clock: Sleep advances time at once, and every TickCount may advance by `step`.
class FakeClock : public platform::Clock {
 public:
  uint32_t now = 1000;
  uint32_t step = 0;
  uint64_t slept = 0;
  std::function<void(uint32_t)> onAdvance;  // called with the new time

  uint32_t TickCount() override;
  void Sleep(uint32_t ms) override;
  void Advance(uint32_t ms);
};

// A registry tree: keys by lower-case full path, as the system compares them.
class FakeRegistry : public platform::Registry {
 public:
  struct Value {
    uint32_t type;
    std::vector<uint8_t> data;
  };
  struct Key {
    std::string name;  // as created
    std::map<std::string, Value> values;
    std::vector<std::string> subkeys;  // lower-case paths, in creation order
  };

  // Creates the key and its parents.
  void AddKey(platform::RegHandle hive, const std::string& path);
  void PutString(platform::RegHandle hive, const std::string& path, const std::string& name,
                 const std::string& text);
  void PutRaw(platform::RegHandle hive, const std::string& path, const std::string& name,
              uint32_t type, std::vector<uint8_t> data);
  bool HasKey(platform::RegHandle hive, const std::string& path) const;
  const Value* Find(platform::RegHandle hive, const std::string& path,
                    const std::string& name) const;
  int OpenHandles() const { return static_cast<int>(handles_.size()); }

  long OpenKey(platform::RegHandle parent, const std::string& path, platform::RegAccess access,
               platform::RegHandle* key) override;
  long CreateKey(platform::RegHandle parent, const std::string& path, platform::RegAccess access,
                 platform::RegHandle* key) override;
  long QueryValue(platform::RegHandle key, const std::string& name, uint8_t* buffer, uint32_t* size,
                  uint32_t* type) override;
  long SetValue(platform::RegHandle key, const std::string& name, uint32_t type,
                const uint8_t* data, uint32_t size) override;
  long EnumKey(platform::RegHandle key, uint32_t index, char* name, uint32_t size) override;
  long CloseKey(platform::RegHandle key) override;

 private:
  struct Handle {
    std::string path;
    platform::RegAccess access;
  };
  std::string Resolve(platform::RegHandle parent, const std::string& path, bool* ok) const;
  Key& Ensure(const std::string& path);

  std::map<std::string, Key> keys_;
  std::map<platform::RegHandle, Handle> handles_;
  platform::RegHandle next_ = 0x100;
};

class FakeSystem : public platform::System {
 public:
  std::set<std::string> locks;  // names of existing instance locks
  bool failLock = false;
  platform::OsVersion version{5, 1};
  uint32_t fileVersionHigh = 0x00010000;
  uint32_t fileVersionLow = 0;

  bool InstanceLockExists(const std::string& name) override { return locks.count(name) > 0; }
  std::unique_ptr<platform::InstanceLock> CreateInstanceLock(const std::string& name) override;
  platform::OsVersion Version() override { return version; }
  bool ProgramFileVersion(uint32_t* high, uint32_t* low) override {
    *high = fileVersionHigh;
    *low = fileVersionLow;
    return true;
  }
};

// The lead bytes of the double-byte ANSI code pages (932, 936, 949, 950) and of Johab (1361), as
// the system's test reports them; any other number has none.
class FakeCodePage : public platform::CodePage {
 public:
  explicit FakeCodePage(unsigned number = 1252) : number(number) {}
  unsigned number;
  bool IsLeadByte(uint8_t byte) const override;
};

}  // namespace fakes

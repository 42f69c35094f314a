// Kernel and shell services that are neither files nor windows.
#pragma once

#include <memory>
#include <string>

namespace platform {

// Held for as long as the named instance marker must exist.
class InstanceLock {
 public:
  virtual ~InstanceLock() = default;
};

struct OsVersion {
  int major = 0;
  int minor = 0;
};

class System {
 public:
  virtual ~System() = default;
  // True when a named mutual-exclusion object of that name exists (the probe handle is closed).
  virtual bool InstanceLockExists(const std::string& name) = 0;
  // Creates the named object, initially owned; null when it cannot be created.
  virtual std::unique_ptr<InstanceLock> CreateInstanceLock(const std::string& name) = 0;
  virtual OsVersion Version() = 0;
  // File version of the running executable (the two 32-bit halves); false when it has none.
  virtual bool ProgramFileVersion(uint32_t* high, uint32_t* low) = 0;
};

}  // namespace platform

// POSIX realisations of the seam used by the host tools and tests.
#pragma once

#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/files.h"
#include "platform/library.h"

namespace platform {

// Backslashes in paths are folder separators here as on the system the suite targets.
std::string ToNativePath(const std::string& path);

class PosixFiles : public Files {
 public:
  // programPath: the executable's path as the core should see it (backslashes).
  explicit PosixFiles(std::string programPath = std::string())
      : programPath_(std::move(programPath)) {}
  bool Exists(const std::string& path) override;
  bool Size(const std::string& path, uint64_t* size) override;
  bool ReadAll(const std::string& path, std::string* content) override;
  int64_t ReadExclusive(const std::string& path, uint8_t* buffer, uint64_t size) override;
  std::string ProgramPath() override { return programPath_; }
  std::string ProfileString(const std::string& file, const std::string& section,
                            const std::string& key, const std::string& fallback) override;

 private:
  std::string programPath_;
};

class PosixLibrary : public Library {
 public:
  std::unique_ptr<LoadedLibrary> Load(const std::string& nameOrPath) override;
};

class SteadyClock : public Clock {
 public:
  uint32_t TickCount() override;
  void Sleep(uint32_t ms) override;
};

// Path of the running executable with backslash separators.
std::string CurrentProgramPath();

}  // namespace platform

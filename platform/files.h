// Kernel file operations the suite needs: existence, size, whole reads, profile strings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Paths are in the system's form: folders joined with a backslash. Realisations on systems
// with another separator translate it.
class Files {
 public:
  virtual ~Files() = default;
  // True when the attributes of path can be read (a folder counts).
  virtual bool Exists(const std::string& path) = 0;
  // Size in bytes; false when the file cannot be queried.
  virtual bool Size(const std::string& path, uint64_t* size) = 0;
  // Whole content of a text file as stored (no newline translation); false when it cannot be
  // opened. Settings files are read through this at every lookup.
  virtual bool ReadAll(const std::string& path, std::string* content) = 0;
  // Opens path for reading without sharing (must exist) and reads up to size bytes in one read.
  // Returns the number of bytes read, or -1 when the file cannot be opened or read.
  virtual int64_t ReadExclusive(const std::string& path, uint8_t* buffer, uint64_t size) = 0;
  // Full path of the running executable, folders joined with backslashes.
  virtual std::string ProgramPath() = 0;
  // Profile string of section/key from an INI-style file, or fallback when absent.
  virtual std::string ProfileString(const std::string& file, const std::string& section,
                                    const std::string& key, const std::string& fallback) = 0;
};

}  // namespace platform

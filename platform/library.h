// Run-time loading of outside libraries and lookup of their exports.
#pragma once

#include <memory>
#include <string>

namespace platform {

// A loaded library; destroying it unloads the library.
class LoadedLibrary {
 public:
  virtual ~LoadedLibrary() = default;
  // Address of the named export, or null when the library has none of that name.
  virtual void* Export(const char* name) = 0;
};

class Library {
 public:
  virtual ~Library() = default;
  // Loads by plain file name (system search order) or by path; null when nothing loads.
  // An empty name never loads.
  virtual std::unique_ptr<LoadedLibrary> Load(const std::string& nameOrPath) = 0;
};

}  // namespace platform

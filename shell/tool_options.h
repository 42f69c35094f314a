// The values a tool keeps under its own subkey of the chosen model's registry key. Each value is
// declared once, by the library that owns it, with its name, type and default; the program
// supplies the subkey.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/registry.h"

namespace shell {

struct NumberOption {
  const char* name;
  int32_t fallback;  // when absent or unreadable
};

struct StringOption {
  const char* name;
  const char* fallback;
};

class ToolOptions {
 public:
  virtual ~ToolOptions() = default;
  virtual int32_t Get(const NumberOption& option) = 0;
  virtual std::string Get(const StringOption& option) = 0;
  virtual void Set(const NumberOption& option, int32_t value) = 0;
  virtual void Set(const StringOption& option, const std::string& value) = 0;
};

// The suite's key of a driver's model (below the current user), where the remembered printer
// and every tool's subkey live.
std::string ModelKeyPath(const std::string& driverName);

// The options under subkey of the model key of whatever driver driverName answers at each use
// (the chosen printer may change between uses).
class ModelKeyOptions : public ToolOptions {
 public:
  ModelKeyOptions(platform::Registry& registry, std::string subkey,
                  std::function<std::string()> driverName)
      : registry_(registry), subkey_(std::move(subkey)), driverName_(std::move(driverName)) {}

  int32_t Get(const NumberOption& option) override;
  std::string Get(const StringOption& option) override;
  void Set(const NumberOption& option, int32_t value) override;
  void Set(const StringOption& option, const std::string& value) override;

 private:
  platform::Registry& registry_;
  std::string subkey_;
  std::function<std::string()> driverName_;
};

}  // namespace shell

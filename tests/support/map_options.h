// Tool options kept in maps by value name, for seats with scripted answers.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "shell/tool_options.h"

namespace fakes {

class MapOptions : public shell::ToolOptions {
 public:
  MapOptions(std::map<std::string, int32_t>& numbers, std::map<std::string, std::string>& strings)
      : numbers_(numbers), strings_(strings) {}

  int32_t Get(const shell::NumberOption& option) override {
    auto found = numbers_.find(option.name);
    return found == numbers_.end() ? option.fallback : found->second;
  }
  std::string Get(const shell::StringOption& option) override {
    auto found = strings_.find(option.name);
    return found == strings_.end() ? option.fallback : found->second;
  }
  void Set(const shell::NumberOption& option, int32_t value) override {
    numbers_[option.name] = value;
  }
  void Set(const shell::StringOption& option, const std::string& value) override {
    strings_[option.name] = value;
  }

 private:
  std::map<std::string, int32_t>& numbers_;
  std::map<std::string, std::string>& strings_;
};

}  // namespace fakes

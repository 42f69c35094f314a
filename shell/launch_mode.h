// The launch mode: Normal for operators, P and U for the maker's preview and service set-ups.
#pragma once

#include "shell/settings_reader.h"

namespace shell {

enum class LaunchMode { Normal = 0, P = 1, U = 2 };

constexpr char LAUNCH_FILE[] = "Setting_Launch.ini";
constexpr char LAUNCH_KEY[] = "Ope";

// Launch mode from the "Ope" key of Setting_Launch.ini; exact, case-sensitive.
LaunchMode ReadLaunchMode(const SettingsReader& settings);
const char* LaunchModeName(LaunchMode mode);  // "Normal", "P", "U"

}  // namespace shell

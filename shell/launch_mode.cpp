// The launch mode read from the installation's launch settings.
#include "shell/launch_mode.h"

namespace shell {

namespace {

constexpr char LAUNCH_VALUE_P[] = "P";
constexpr char LAUNCH_VALUE_U[] = "U";

}  // namespace

LaunchMode ReadLaunchMode(const SettingsReader& settings) {
  // The comparison is exact: "p" or "P " leave the mode Normal.
  std::string value = settings.ReadSetting(LAUNCH_FILE, LAUNCH_KEY);
  if (value == LAUNCH_VALUE_P) return LaunchMode::P;
  if (value == LAUNCH_VALUE_U) return LaunchMode::U;
  return LaunchMode::Normal;
}

const char* LaunchModeName(LaunchMode mode) {
  switch (mode) {
    case LaunchMode::P:
      return LAUNCH_VALUE_P;
    case LaunchMode::U:
      return LAUNCH_VALUE_U;
    default:
      return "Normal";
  }
}

}  // namespace shell

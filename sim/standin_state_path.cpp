// Where a stand-in library finds the simulated printer's state.
#include "sim/standin_state_path.h"

#include <cstdlib>

#include "platform/module_path.h"

namespace sim {

namespace {

constexpr char STATE_VARIABLE[] = "KD_SIM_STATE";
constexpr char STATE_FILE_NAME[] = "kdsim.state";

}  // namespace

std::string StandInStatePath() {
  const char* named = std::getenv(STATE_VARIABLE);
  if (named != nullptr && *named != '\0') return named;
  // This function lies in the stand-in itself, so its module's folder is the stand-in's.
  std::string own = platform::ModulePathOf(reinterpret_cast<const void*>(&StandInStatePath));
  return platform::FolderOf(own) + STATE_FILE_NAME;
}

}  // namespace sim

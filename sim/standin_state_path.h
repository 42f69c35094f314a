// Where a stand-in library finds the simulated printer's state: the file KD_SIM_STATE names,
// else kdsim.state beside the library. Compiled into each stand-in, so "beside" is its own folder.
#pragma once

#include <string>

namespace sim {

std::string StandInStatePath();

}  // namespace sim

// The kdsim command line: create, inspect and feed simulated printers.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/clock.h"

namespace sim {

// args without the program name. Answers 0 on success, 1 on a failure, 2 on a usage error.
int RunKdsim(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             platform::Clock& clock);

}  // namespace sim

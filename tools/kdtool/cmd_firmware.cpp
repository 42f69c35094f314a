// kdtool: firmware commands (none yet).
#include "tools/kdtool/commands.h"

namespace kdtool {

const Command FIRMWARE_COMMANDS[] = {{"", "", nullptr}};
const int FIRMWARE_COMMAND_COUNT = 0;

}  // namespace kdtool

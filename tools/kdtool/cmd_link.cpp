// kdtool: link commands (none yet).
#include "tools/kdtool/commands.h"

namespace kdtool {

const Command LINK_COMMANDS[] = {{"", "", nullptr}};
const int LINK_COMMAND_COUNT = 0;

}  // namespace kdtool

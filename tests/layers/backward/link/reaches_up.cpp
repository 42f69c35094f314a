// A link file that reaches up into the shell: the layer check must refuse this tree.
#include "link/printer_channel.h"
#include "shell/tool_app.h"

// A tool page that takes the application object instead of its seat: the layer check must refuse
// this tree.
#include "shell/page.h"
#include "shell/tool_app.h"

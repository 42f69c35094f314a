/* Control ids every tool page template has. Read by the resource compiler and by C++ alike. */
#pragma once

#define IDC_HELP_BUTTON 1003
#define IDC_CLOSE_BUTTON 1004

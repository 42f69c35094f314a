/* Ids of the minimal dialog programs. */
#pragma once

#define IDD_MINIMAL 100
#define IDC_MINIMAL_TEXT 101
#define IDC_MINIMAL_PRINTERS 102

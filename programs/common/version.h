/* The suite's file version, carried by every program's VERSIONINFO (the About box shows it). */
#pragma once

#define KD_VERSION_NUMBERS 1, 0, 0, 0
#define KD_VERSION_TEXT "1.0.0.0"

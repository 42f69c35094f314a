// Numbers of the localized texts the firmware update shows, and which message a file result gets.
#pragma once

#include "firmware/firmware_file.h"
#include "shell/shared_texts.h"

namespace firmware {

constexpr int TEXT_PAGE_CAPTION = 0;  // caption of the refresh's progress dialog
constexpr int TEXT_FILE_CAPTION = 2;
constexpr int TEXT_VERSION_FRAME = 3;
constexpr int TEXT_PRINTER_VERSION_CAPTION = 4;
constexpr int TEXT_NO_VERSION = 5;  // shown instead of an unknown printer version
constexpr int TEXT_FILE_VERSION_CAPTION = 6;
constexpr int TEXT_BROWSE = 100;
constexpr int TEXT_UPDATE = 101;
constexpr int TEXT_MANUAL = 102;
constexpr int TEXT_CLOSE = 180;
constexpr int TEXT_NOT_READY = shell::TEXT_TOOL_NOT_READY;
constexpr int TEXT_NO_MEMORY = 303;
constexpr int TEXT_WRONG_PRINTER = shell::TEXT_TOOL_WRONG_PRINTER;
constexpr int TEXT_NO_PRINTER_VERSION = 306;
constexpr int TEXT_BAD_VERSION_TAG = 307;
constexpr int TEXT_FILE_DAMAGED = 308;
constexpr int TEXT_UPDATED = 309;
constexpr int TEXT_UPDATE_TIMED_OUT = 310;
constexpr int TEXT_VERSION_DIFFERS = 311;
constexpr int TEXT_STILL_NOT_READY = 312;
constexpr int TEXT_NOT_FIRMWARE = 314;
constexpr int TEXT_PROGRAM_TITLE = 400;

// The message of a rejected file.
constexpr int FileRejectionText(int checkResult) {
  return checkResult == FW_FILE_NOT_FIRMWARE      ? TEXT_NOT_FIRMWARE
         : checkResult == FW_FILE_BAD_VERSION_TAG ? TEXT_BAD_VERSION_TAG
                                                  : TEXT_FILE_DAMAGED;
}

}  // namespace firmware

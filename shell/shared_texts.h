// Text numbers that more than one tool library shows, named once. Each program has its own
// numbering, so the names say whose messages they are.
#pragma once

namespace shell {

// Kestrune's and Sunnabar's printer messages.
constexpr int TEXT_TOOL_NOT_READY = 302;
constexpr int TEXT_TOOL_WRONG_PRINTER = 305;

// The printer messages of Trevalo's tool pages and dialogs.
constexpr int TEXT_PAGE_PRINTER_CHANGED = 300;
constexpr int TEXT_PAGE_WRONG_PRINTER = 310;
constexpr int TEXT_PAGE_NOT_READY = 312;
constexpr int TEXT_PAGE_PRINTER_GONE = 330;

}  // namespace shell

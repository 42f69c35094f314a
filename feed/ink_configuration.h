// The printer's ink configuration from its status: four inks or eight, and the ink class.
#pragma once

#include <string>

#include "link/printer_channel.h"
#include "link/status_reply.h"

namespace feed {

constexpr int INK_CONFIGURATION_FOUR = 4;
constexpr int INK_CONFIGURATION_EIGHT = 8;

// From the first ink table field (0F): four entries or fewer are four inks; more are four inks
// only when entries 5 and 6 and entries 7 and 8 agree in their first two bytes (the same inks
// twice over). Without status, without the field, or when entries 5 to 8 do not all lie inside
// the field (or are shorter than two bytes), the configuration is eight.
int InkConfiguration(const printer_link::StatusReply& status);

// INK_CLASS_FOUR for a configuration of four, INK_CLASS_EIGHT otherwise.
int InkClassOf(int configuration);

// Opens a channel, reads the status and closes it again; a printer that cannot be reached or
// gives no status counts as eight inks.
int ReadInkClass(printer_link::PrinterChannel& channel, const std::string& queueName);

}  // namespace feed

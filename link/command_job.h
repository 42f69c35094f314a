// Hands a command stream to the printer's queue as one raw job.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/spooler.h"

namespace printer_link {

constexpr char COMMAND_JOB_NAME[] = "KDSU Command";

// 0 when the whole stream was written in one write of one job; -1 otherwise.
int SendCommandJob(platform::Spooler& spooler, const std::string& queueName, const uint8_t* bytes,
                   size_t length);

}  // namespace printer_link

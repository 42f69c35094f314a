// kdtool: command streams, SNMP wrapping, status replies, device IDs and a live printer probe.
#include <algorithm>
#include <cstring>
#include <memory>
#include <ostream>

#include "link/command_framing.h"
#include "link/hex.h"
#include "link/printer_channel.h"
#include "link/status_reply.h"
#include "tools/kdtool/commands.h"

#ifdef _WIN32
#include "platform/native.h"
#endif

namespace kdtool {

namespace {

struct NamedStream {
  const char* name;
  printer_link::CommandStream (*build)();
};

const NamedStream STREAMS[] = {
    {"nozzle-check", printer_link::NozzleCheckStream},
    {"deep-cleaning", printer_link::DeepCleaningStream},
    {"cleaning", printer_link::CleaningPageStream},
    {"nozzle-check-page", printer_link::NozzleCheckPageStream},
};

int Stream(Context& c);
int Snmp(Context& c);
int Status(Context& c);
int MatchDeviceId(Context& c);
int Printer(Context& c);

}  // namespace

const Command LINK_COMMANDS[] = {
    {"stream", "nozzle-check|deep-cleaning|cleaning|nozzle-check-page", Stream},
    {"snmp", "HEX", Snmp},
    {"status", "HEX", Status},
    {"match-device-id", "DEVICE_ID DRIVER", MatchDeviceId},
    {"printer", "QUEUE", Printer},
};
const int LINK_COMMAND_COUNT = sizeof LINK_COMMANDS / sizeof LINK_COMMANDS[0];

namespace {

int NotHex(Context& c, const Command& command) {
  return BadArgument(c, command, "'" + c.args[0] + "' is not hex (byte pairs of 0-9, A-F)");
}

int Stream(Context& c) {
  if (c.args.size() == 1) {
    for (const NamedStream& s : STREAMS) {
      if (c.args[0] != s.name) continue;
      printer_link::CommandStream stream = s.build();
      c.out << ToHex(stream.bytes, stream.length) << "\n";
      return EXIT_OK;
    }
    return BadArgument(c, LINK_COMMANDS[0], "no stream named " + c.args[0]);
  }
  return Usage(c, LINK_COMMANDS[0]);
}

int Snmp(Context& c) {
  std::vector<uint8_t> command;
  if (c.args.size() != 1) return Usage(c, LINK_COMMANDS[1]);
  if (!printer_link::BytesFromHex(c.args[0], &command, printer_link::HexBlanks::Skipped))
    return NotHex(c, LINK_COMMANDS[1]);
  std::vector<uint8_t> message;
  if (!printer_link::WrapSnmp(command.data(), command.size(), &message)) {
    c.err << "kdtool: snmp: the command of " << command.size()
          << " bytes is too long for one SNMP message\n";
    return EXIT_FAILED;
  }
  c.out << ToHex(message.data(), message.size()) << "\n";
  return EXIT_OK;
}

int Status(Context& c) {
  std::vector<uint8_t> reply;
  if (c.args.size() != 1) return Usage(c, LINK_COMMANDS[2]);
  if (!printer_link::BytesFromHex(c.args[0], &reply, printer_link::HexBlanks::Skipped))
    return NotHex(c, LINK_COMMANDS[2]);
  printer_link::StatusReply status;
  if (printer_link::ReadStatusBytes(reply.data(), reply.size(), status) !=
      printer_link::StatusRead::Read) {
    c.out << "no-status\n";
  } else {
    c.out << StatusLine(status) << "\n";
  }
  return EXIT_OK;
}

int MatchDeviceId(Context& c) {
  if (c.args.size() != 2) return Usage(c, LINK_COMMANDS[3]);
  // As the library hands it over: at most the buffer, zero-terminated only when it fits.
  char buffer[printer_link::DEVICE_ID_BUFFER] = {};
  std::memcpy(buffer, c.args[0].data(), std::min(c.args[0].size(), sizeof buffer));
  bool match = printer_link::DeviceIdMatches(buffer, sizeof buffer, c.args[1]);
  c.out << (match ? "match" : "no-match") << "\n";
  return EXIT_OK;
}

#ifdef _WIN32

const char* ChannelName(uint32_t type) {
  if (type == printer_link::CHANNEL_CONTROL) return "control";
  if (type == printer_link::CHANNEL_NETWORK) return "network";
  return "none";
}

int Printer(Context& c) {
  if (c.args.size() != 1) return Usage(c, LINK_COMMANDS[4]);
  const std::string& queue = c.args[0];
  // The probe needs the spooler, the library and a clock, nothing of a program: it never waits
  // for readiness, so its channel has no wait windows.
  std::unique_ptr<platform::Spooler> spooler = platform::MakeNativeSpooler();
  std::unique_ptr<platform::Library> library = platform::MakeNativeLibrary();
  std::unique_ptr<platform::Clock> clock = platform::MakeNativeClock();

  std::string driver;
  std::vector<platform::PrinterQueue> queues;
  if (spooler->EnumeratePrinters(&queues)) {
    for (const platform::PrinterQueue& q : queues) {
      if (q.printerName == queue) driver = q.driverName;
    }
  }

  // Bound as the programs bind: by name first, the driver's own copy when no channel opens.
  printer_link::BidiApi api(*library, *spooler, c.files);
  printer_link::BindWithFallback(api, queue, *clock);
  if (!api.IsLoaded()) {
    c.err << "kdtool: the communication library cannot be loaded for " << queue << "\n";
    return EXIT_FAILED;
  }

  printer_link::PrinterChannel channel(&api, *clock);
  char id[printer_link::DEVICE_ID_BUFFER] = {};
  uint32_t size = sizeof id;
  int result = api.KBGetDeviceID(printer_link::KB_CONSTANT, queue.c_str(), id, &size);
  if (result == 0) {
    const char* end = static_cast<const char*>(std::memchr(id, 0, sizeof id));
    c.out << "device-id: " << std::string(id, end ? static_cast<size_t>(end - id) : sizeof id)
          << "\n";
  } else {
    c.out << "device-id: none (" << result << ")\n";
  }
  c.out << "driver: " << driver << "\n";
  c.out << (channel.MatchDeviceId(queue, driver) ? "match" : "no-match") << "\n";

  int handle = channel.Open(queue);
  c.out << "channel: " << ChannelName(channel.CachedType()) << "\n";
  if (handle >= 1) {
    printer_link::StatusReply status;
    int read = channel.ReadStatus(handle, status);
    c.out << (read > 0 && !status.Empty() ? StatusLine(status) : std::string("no-status")) << "\n";
    channel.Close(handle);
  }
  api.Release();
  return handle >= 1 ? EXIT_OK : EXIT_FAILED;
}

#else

int Printer(Context& c) {
  if (c.args.size() != 1) return Usage(c, LINK_COMMANDS[4]);
  c.err << "kdtool: printer needs the Windows spooler and communication library\n";
  return EXIT_FAILED;
}

#endif

}  // namespace

}  // namespace kdtool

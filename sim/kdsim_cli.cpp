// kdsim commands over a state file.
#include "sim/kdsim_cli.h"

#include <fstream>
#include <iterator>
#include <sstream>

#include "link/hex.h"
#include "sim/printer_state.h"
#include "sim/simulated_printer.h"
#include "trace/trace_replay.h"

namespace sim {

namespace {

constexpr int EXIT_OK = 0;
constexpr int EXIT_FAILED = 1;
constexpr int EXIT_USAGE = 2;

constexpr char USAGE[] =
    "usage:\n"
    "  kdsim create STATE [--model M] [--device-id TEXT] [--queue Q]\n"
    "                     [--status ready|busy|CODE] [--ink L1,L2,...] [--0d V]\n"
    "                     [--firmware VER] [--firmware-busy-ms MS] [--busy-for MS]\n"
    "                     [--channels control,network[:FLAGS],...] [--fault NAME[=VALUE]]...\n"
    "                     [--input PATH]\n"
    "  kdsim show STATE              print the state\n"
    "  kdsim log STATE               take in new input, print the event log\n"
    "  kdsim set STATE KEY=VALUE...  change state keys\n"
    "  kdsim ingest STATE FILE       hand FILE to the printer as one raw job\n"
    "  kdsim calls STATE             print the driver-settings calls in order\n"
    "  kdsim protocol STATE          take in new input, end the run on sheets, print the\n"
    "                                protocol faults (exit status 1 when there are any)\n"
    "  kdsim value STATE SELECTOR [CURRENT REFERENCE]\n"
    "                                an adjustment value (hex bytes): print it or set it\n"
    "  kdsim replay STATE TRACE      answer the libraries' calls from TRACE from now on\n"
    "  kdsim replay STATE            print the divergences and the recorded calls no call\n"
    "                                took (exit status 1 when there are any)\n"
    "faults: init_fails no_library no_channel open_fails status_no_crlf status_overlong\n"
    "        never_ready silent wrong_model refuses_writes vanishes_in_firmware offline\n"
    "        garbled_reply ready_after=N missing_export=NAME\n"
    "driver (set keys): driver.open_fails=1 driver.refuse=ITEM,... driver.user_width=W\n"
    "        driver.media=ID:NAME|... driver.papers=CODE:WxL:NAME|...\n";

// Options of create and the state keys they set.
struct Option {
  const char* flag;
  const char* key;
};
const Option CREATE_OPTIONS[] = {
    {"--model", "model"},       {"--device-id", "device_id"},
    {"--queue", "queue"},       {"--status", "status"},
    {"--ink", "ink"},           {"--0d", "0d"},
    {"--firmware", "firmware"}, {"--firmware-busy-ms", "firmware_busy_ms"},
    {"--channels", "channels"}, {"--input", "input"},
};

int Usage(std::ostream& err, const std::string& problem) {
  if (!problem.empty()) err << "kdsim: " << problem << "\n";
  err << USAGE;
  return EXIT_USAGE;
}

bool Load(const std::string& path, SimulatedPrinter* printer, std::ostream& err) {
  std::string error;
  if (printer->Load(path, &error)) return true;
  err << "kdsim: " << error << "\n";
  return false;
}

int Save(const std::string& path, const SimulatedPrinter& printer, std::ostream& err) {
  if (printer.Save(path)) return EXIT_OK;
  err << "kdsim: cannot write " << path << "\n";
  return EXIT_FAILED;
}

// A fault switch, or one of the two faults that carry a value.
bool AddFault(const std::string& spec, PrinterState* state, std::string* error) {
  size_t eq = spec.find('=');
  std::string name = spec.substr(0, eq);
  if (eq != std::string::npos) {
    if (name != "ready_after" && name != "missing_export") {
      *error = "fault " + name + " takes no value";
      return false;
    }
    return ApplySetting(spec, state, error);
  }
  for (const std::string& known : KnownFaults()) {
    if (known == name) {
      state->faults.insert(name);
      return true;
    }
  }
  *error = "unknown fault " + name;
  return false;
}

int Create(const std::vector<std::string>& args, std::ostream& err, platform::Clock& clock) {
  SimulatedPrinter printer(clock);
  PrinterState& state = printer.State();
  for (size_t i = 2; i < args.size(); ++i) {
    const std::string& flag = args[i];
    if (i + 1 >= args.size()) return Usage(err, flag + " needs a value");
    const std::string& value = args[++i];
    std::string error;
    bool done = false;
    for (const Option& option : CREATE_OPTIONS) {
      if (flag == option.flag) {
        if (!ApplySetting(std::string(option.key) + "=" + value, &state, &error)) {
          return Usage(err, "bad value for " + flag + ": " + value);
        }
        done = true;
      }
    }
    if (done) continue;
    if (flag == "--fault") {
      if (!AddFault(value, &state, &error)) return Usage(err, error);
    } else if (flag == "--busy-for") {
      uint32_t ms = 0;
      try {
        ms = static_cast<uint32_t>(std::stoul(value));
      } catch (...) {
        return Usage(err, "bad value for --busy-for: " + value);
      }
      state.busyUntil = clock.TickCount() + ms;
    } else {
      return Usage(err, "unknown option " + flag);
    }
  }
  return Save(args[1], printer, err);
}

// An adjustment value by its 13-byte selector: printed as current and reference ("8A80"), or
// set from two hex bytes.
int Value(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
          SimulatedPrinter* printer) {
  constexpr size_t SELECTOR_BYTES = 13;
  std::vector<uint8_t> selector, current, reference;
  if ((args.size() != 3 && args.size() != 5) || !printer_link::BytesFromHex(args[2], &selector) ||
      selector.size() != SELECTOR_BYTES) {
    return Usage(err, "value needs the state file and a selector of 13 bytes in hex");
  }
  if (args.size() == 5 &&
      (!printer_link::BytesFromHex(args[3], &current) || current.size() != 1 ||
       !printer_link::BytesFromHex(args[4], &reference) || reference.size() != 1)) {
    return Usage(err, "current and reference are one hex byte each");
  }
  if (!Load(args[1], printer, err)) return EXIT_FAILED;
  // Jobs already handed to the printer count, as they would on the printer itself.
  printer->IngestInput();
  if (args.size() == 3) {
    out << printer->AdjustmentValue(selector) << "\n";
    return Save(args[1], *printer, err);
  }
  printer->SetAdjustmentValue(selector, current[0], reference[0]);
  return Save(args[1], *printer, err);
}

bool ReadTraceFile(const std::string& path, trace::Trace* read, std::ostream& err) {
  std::ifstream in(SystemPath(path), std::ios::binary);
  if (!in) {
    err << "kdsim: cannot read " << path << "\n";
    return false;
  }
  std::ostringstream text;
  text << in.rdbuf();
  *read = trace::ReadTrace(text.str());
  return true;
}

// Starts a replay from a trace, or reports how the replay went: each divergence, then what the
// trace holds that no call took.
int Replay(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           SimulatedPrinter* printer) {
  if (args.size() != 2 && args.size() != 3) {
    return Usage(err, "replay needs the state file and, to start, a trace");
  }
  if (!Load(args[1], printer, err)) return EXIT_FAILED;
  PrinterState& state = printer->State();
  trace::Trace read;
  if (args.size() == 3) {
    if (!ReadTraceFile(args[2], &read, err)) return EXIT_FAILED;
    for (const trace::BadLine& bad : read.bad) {
      err << "kdsim: " << args[2] << ": line " << bad.lineNumber << " left out: " << bad.problem
          << "\n";
    }
    state.replay = args[2];
    state.replayUsed.clear();
    state.replayCalls = 0;
    state.replayDevModeSize = 0;
    state.divergences.clear();
    return Save(args[1], *printer, err);
  }
  if (state.replay.empty()) {
    err << "kdsim: no replay was started on " << args[1] << "\n";
    return EXIT_FAILED;
  }
  if (!ReadTraceFile(state.replay, &read, err)) return EXIT_FAILED;
  std::string used = state.replayUsed;
  size_t calls = state.replayCalls;
  trace::TraceReplay replay(read, &used, &calls);
  for (const std::string& line : state.divergences) out << "divergence " << line << "\n";
  out << "calls " << calls << " answered " << read.calls.size() - replay.Unanswered() << " of "
      << read.calls.size() << "\n";
  // Calls left over mean the program stopped short of what it did when recorded.
  if (replay.Unanswered() > 0) out << "next recorded " << replay.FirstUnanswered() << "\n";
  bool same = state.divergences.empty() && read.bad.empty() && replay.Unanswered() == 0;
  return same ? EXIT_OK : EXIT_FAILED;
}

}  // namespace

int RunKdsim(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             platform::Clock& clock) {
  if (args.size() < 2) return Usage(err, "");
  const std::string& command = args[0];
  const std::string& path = args[1];
  if (command == "create") return Create(args, err, clock);

  SimulatedPrinter printer(clock);
  if (command == "show") {
    if (args.size() != 2) return Usage(err, "show takes only the state file");
    if (!Load(path, &printer, err)) return EXIT_FAILED;
    out << FormatState(printer.State());
    return EXIT_OK;
  }
  if (command == "log") {
    if (args.size() != 2) return Usage(err, "log takes only the state file");
    if (!Load(path, &printer, err)) return EXIT_FAILED;
    printer.IngestInput();
    printer.IsBusy();  // lets a finished firmware update show in the log
    for (const std::string& line : printer.State().log) out << line << "\n";
    return Save(path, printer, err);
  }
  if (command == "set") {
    if (args.size() < 3) return Usage(err, "set needs KEY=VALUE");
    if (!Load(path, &printer, err)) return EXIT_FAILED;
    for (size_t i = 2; i < args.size(); ++i) {
      std::string error;
      if (!ApplySetting(args[i], &printer.State(), &error)) return Usage(err, error);
    }
    return Save(path, printer, err);
  }
  if (command == "ingest") {
    if (args.size() != 3) return Usage(err, "ingest needs the state file and one job file");
    if (!Load(path, &printer, err)) return EXIT_FAILED;
    std::ifstream in(SystemPath(args[2]), std::ios::binary);
    if (!in) {
      err << "kdsim: cannot read " << args[2] << "\n";
      return EXIT_FAILED;
    }
    std::vector<uint8_t> job((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
    size_t before = printer.State().log.size();
    printer.ReceiveJob(job);
    const std::vector<std::string>& log = printer.State().log;
    for (size_t i = before; i < log.size(); ++i) out << log[i] << "\n";
    return Save(path, printer, err);
  }
  if (command == "value") return Value(args, out, err, &printer);
  if (command == "replay") return Replay(args, out, err, &printer);
  if (command == "calls") {
    if (args.size() != 2) return Usage(err, "calls takes only the state file");
    if (!Load(path, &printer, err)) return EXIT_FAILED;
    for (const std::string& call : printer.State().driver.calls) out << call << "\n";
    return EXIT_OK;
  }
  if (command == "protocol") {
    if (args.size() != 2) return Usage(err, "protocol takes only the state file");
    if (!Load(path, &printer, err)) return EXIT_FAILED;
    printer.IngestInput();
    std::vector<std::string> faults = printer.EndSampleRun();
    for (const std::string& fault : faults) out << fault << "\n";
    int saved = Save(path, printer, err);
    return saved != EXIT_OK ? saved : faults.empty() ? EXIT_OK : EXIT_FAILED;
  }
  return Usage(err, "unknown command " + command);
}

}  // namespace sim

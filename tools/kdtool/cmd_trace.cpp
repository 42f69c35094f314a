// kdtool: a trace of the calls into the maker's libraries, decoded one call per line.
#include <cstring>
#include <ostream>

#include "link/command_framing.h"
#include "link/printer_channel.h"
#include "link/status_reply.h"
#include "tools/kdtool/commands.h"
#include "trace/trace_calls.h"
#include "trace/trace_format.h"

namespace kdtool {

namespace {

using trace::Call;
using trace::Field;

constexpr size_t PACKET_HEAD = 4;       // two letters, 16-bit parameter count
constexpr size_t FEED_SELECTOR_AT = 9;  // of an "EX" read: head, five lead bytes, then the id
constexpr size_t COMMAND_LENGTH_MIN = PACKET_HEAD;

int Trace(Context& c);

}  // namespace

const Command TRACE_COMMANDS[] = {
    {"trace", "FILE", Trace},
};
const int TRACE_COMMAND_COUNT = sizeof TRACE_COMMANDS / sizeof TRACE_COMMANDS[0];

namespace {

const uint8_t* BytesOf(const Field& field) {
  return reinterpret_cast<const uint8_t*>(field.data.data());
}

int64_t Number(const std::vector<Field>& fields, const char* key) {
  const Field* field = trace::FindField(fields, key);
  return field && field->kind == trace::ValueKind::Number ? field->number : 0;
}

std::string Quoted(const std::string& text) {
  trace::Call holder;
  trace::AddText(&holder.in, "t", text);
  std::string line = trace::FormatRequest(holder);  // "? t=\"...\""
  return line.substr(line.find('=') + 1);
}

std::string TextOf(const std::vector<Field>& fields, const char* key) {
  const Field* field = trace::FindField(fields, key);
  if (!field || field->kind == trace::ValueKind::Number) return "none";
  std::string text = field->data;
  size_t end = text.find('\0');
  return Quoted(end == std::string::npos ? text : text.substr(0, end));
}

std::string ChannelName(int64_t type) {
  if (type == printer_link::CHANNEL_CONTROL) return "control";
  if (type == printer_link::CHANNEL_NETWORK) return "network";
  return "type " + std::to_string(type);
}

bool Same(const uint8_t* built, size_t builtLength, const uint8_t* data, size_t length) {
  return builtLength == length && std::memcmp(built, data, length) == 0;
}

// A plain command packet named as the programs build it, or empty.
std::string CommandName(const uint8_t* data, size_t length) {
  uint8_t built[printer_link::STREAM_BUFFER];
  if (Same(built, printer_link::VersionQuery(built, sizeof built), data, length)) {
    return "\"VI\" version query";
  }
  if (length > FEED_SELECTOR_AT + printer_link::FEED_ID_LENGTH - 1 &&
      Same(built, printer_link::FeedValueRead(built, sizeof built, data + FEED_SELECTOR_AT), data,
           length)) {
    return "\"EX\" query of selector " +
           ToHex(data + FEED_SELECTOR_AT, printer_link::FEED_ID_LENGTH);
  }
  if (length >= COMMAND_LENGTH_MIN) {
    return "\"" + std::string(reinterpret_cast<const char*>(data), 2) + "\" command, " +
           std::to_string(length) + " bytes";
  }
  return std::string();
}

// What a send carries: a command packet, or one wrapped in the SNMP request the programs build
// on the network channel (found by wrapping each tail of the message again).
std::string SendText(const Field* data) {
  if (!data || data->kind != trace::ValueKind::Bytes) return "nothing";
  const uint8_t* bytes = BytesOf(*data);
  size_t length = data->data.size();
  for (size_t tail = COMMAND_LENGTH_MIN; tail < length; ++tail) {
    std::vector<uint8_t> message;
    const uint8_t* command = bytes + length - tail;
    if (printer_link::WrapSnmp(command, tail, &message) &&
        Same(message.data(), message.size(), bytes, length)) {
      return CommandName(command, tail) + " in SNMP";
    }
  }
  std::string name = CommandName(bytes, length);
  return name.empty() ? ToHex(bytes, length) : name;
}

// A reply from its "@BDC PS" marker on, as text.
std::string ReplyText(const Field* reply) {
  if (!reply || reply->kind != trace::ValueKind::Bytes || reply->data.empty()) return "no reply";
  const uint8_t* bytes = BytesOf(*reply);
  long marker = printer_link::FindReplyMarker(bytes, reply->data.size());
  if (marker < 0) return "reply without marker " + Quoted(reply->data);
  return "reply " + Quoted(reply->data.substr(static_cast<size_t>(marker)));
}

std::string StatusText(const Field* status) {
  if (!status || status->kind != trace::ValueKind::Bytes) return "no status";
  printer_link::StatusReply reply;
  if (printer_link::ReadStatusBytes(BytesOf(*status), status->data.size(), reply) !=
      printer_link::StatusRead::Read) {
    return "status unreadable";
  }
  return "status " + StatusLine(reply) + ", " + std::to_string(reply.Body().size()) + "-byte block";
}

std::string ItemText(int64_t item) {
  const char* meaning = trace::ItemMeaning(static_cast<int>(item));
  return "item " + std::to_string(item) + (*meaning ? std::string(" (") + meaning + ")" : "");
}

std::string BlockText(const std::vector<Field>& fields) {
  const Field* block = trace::FindField(fields, "block");
  if (!block || block->kind != trace::ValueKind::Bytes) return std::string();
  return " [" + ToHex(BytesOf(*block), block->data.size()) + "]";
}

// The call's request in words, then what came back.
void Decode(const Call& call, std::string* request, std::string* answer) {
  const std::string& n = call.name;
  const auto& in = call.in;
  const auto& out = call.out;
  std::string handle = "channel " + std::to_string(Number(in, "handle"));
  if (n == "KBGetDeviceID") {
    *request = "device ID of " + TextOf(in, "queue");
    *answer = TextOf(out, "id");
  } else if (n == "KBGetAvailableChannel") {
    bool query = Number(in, "buffer") == 0;
    *request = (query ? "channel list size for " : "channel list of ") + TextOf(in, "queue");
    *answer = query ? "size " + std::to_string(Number(out, "size"))
                    : std::to_string(call.result > 0 ? call.result : 0) + " entries";
  } else if (n == "KBOpenChannel") {
    *request = "open " + ChannelName(Number(in, "type")) + " channel to " + TextOf(in, "queue");
  } else if (n == "KBCloseChannel" || n == "KBReceiveCancel") {
    *request = (n == "KBCloseChannel" ? "close " : "cancel receive on ") + handle;
  } else if (n == "KBGetStatus") {
    *request = "status of " + handle;
    *answer = StatusText(trace::FindField(out, "status"));
  } else if (n == "KBSend") {
    *request = "send on " + handle + ": " + SendText(trace::FindField(in, "data"));
  } else if (n == "KBReceive") {
    *request = "receive on " + handle + " within " + std::to_string(Number(in, "limit")) + " ms";
    *answer = ReplyText(trace::FindField(out, "reply"));
  } else if (n == "KDDM_Open") {
    *request = "open driver settings of " + TextOf(in, "queue") + " number " +
               std::to_string(Number(in, "number")) +
               (trace::FindField(in, "devmode") ? " with a device mode" : "");
    *answer = "handle " + std::to_string(Number(out, "handle"));
  } else if (n == "KDDM_GetRange" || n == "KDDM_GetData" || n == "KDDM_SetData") {
    std::string verb = n == "KDDM_GetRange" ? "range of " : n == "KDDM_GetData" ? "get " : "set ";
    *request =
        verb + ItemText(Number(in, "item")) + " on handle " + std::to_string(Number(in, "handle"));
    if (trace::FindField(in, "kind")) {
      *request +=
          " kind " + std::to_string(Number(in, "kind")) + " id " + std::to_string(Number(in, "id"));
    }
    if (trace::FindField(in, "value")) *request += " value " + std::to_string(Number(in, "value"));
    if (n == "KDDM_SetData") *request += BlockText(in);
    if (const Field* ids = trace::FindField(out, "ids")) {
      *answer = "ids [" + ToHex(BytesOf(*ids), ids->data.size()) + "]";
    } else if (trace::FindField(out, "count")) {
      *answer = std::to_string(Number(out, "count")) + " of " +
                std::to_string(Number(out, "element")) + " bytes";
    } else if (trace::FindField(out, "name")) {
      *answer = TextOf(out, "name");
    } else {
      *answer = BlockText(out);
      if (!answer->empty()) answer->erase(0, 1);
    }
  } else if (n == "KDDM_GetDevMode") {
    bool query = Number(in, "buffer") == 0;
    *request = std::string(query ? "device mode size" : "device mode") + " of handle " +
               std::to_string(Number(in, "handle"));
    const Field* devMode = trace::FindField(out, "devmode");
    if (devMode) *answer = std::to_string(devMode->data.size()) + " bytes";
  } else if (n == "KDDM_Close") {
    *request = "close handle " + std::to_string(Number(in, "handle"));
  } else {
    // Exports the programs never call: their fields as written.
    *request = trace::FormatRequest(call).substr(n.size());
    if (!request->empty()) request->erase(0, 1);
  }
}

int Trace(Context& c) {
  const Command& command = TRACE_COMMANDS[0];
  if (c.args.size() != 1) return Usage(c, command);
  std::string text;
  if (!c.files.ReadAll(c.args[0], &text)) {
    c.err << "kdtool: trace: cannot read " << c.args[0] << "\n";
    return EXIT_FAILED;
  }
  trace::Trace read = trace::ReadTrace(text);
  size_t bad = 0;
  for (size_t i = 0; i < read.calls.size(); ++i) {
    // Malformed lines are shown where they stand.
    while (bad < read.bad.size() && read.bad[bad].lineNumber < read.lineNumbers[i]) {
      c.out << read.bad[bad].lineNumber << ": malformed: " << read.bad[bad].problem << "\n";
      ++bad;
    }
    const Call& call = read.calls[i];
    std::string request, answer;
    Decode(call, &request, &answer);
    c.out << read.lineNumbers[i] << ": +" << call.timeMs << " ms " << call.name
          << (request.empty() ? "" : " " + request) << " -> " << call.result
          << (answer.empty() ? "" : ": " + answer) << "\n";
  }
  for (; bad < read.bad.size(); ++bad) {
    c.out << read.bad[bad].lineNumber << ": malformed: " << read.bad[bad].problem << "\n";
  }
  return read.bad.empty() ? EXIT_OK : EXIT_FAILED;
}

}  // namespace

}  // namespace kdtool

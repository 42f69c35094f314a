// Writing and reading trace lines.
#include "trace/trace_format.h"

#include "link/hex.h"

namespace trace {

namespace {

constexpr char HEX_DIGITS[] = "0123456789ABCDEF";
constexpr int64_t NUMBER_MAX = INT64_MAX;
constexpr uint32_t TIME_MAX = UINT32_MAX;

bool IsKeyStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsKeyChar(char c) {
  return IsKeyStart(c) || (c >= '0' && c <= '9');
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

void AppendValue(const Field& field, std::string* line) {
  switch (field.kind) {
    case ValueKind::Number:
      *line += std::to_string(field.number);
      break;
    case ValueKind::Text:
      line->push_back('"');
      for (unsigned char c : field.data) {
        if (c == '"' || c == '\\') {
          line->push_back('\\');
          line->push_back(static_cast<char>(c));
        } else if (c < 0x20 || c > 0x7E) {
          *line += "\\x";
          line->push_back(HEX_DIGITS[c >> 4]);
          line->push_back(HEX_DIGITS[c & 0x0F]);
        } else {
          line->push_back(static_cast<char>(c));
        }
      }
      line->push_back('"');
      break;
    case ValueKind::Bytes:
      line->push_back('<');
      for (unsigned char c : field.data) {
        line->push_back(HEX_DIGITS[c >> 4]);
        line->push_back(HEX_DIGITS[c & 0x0F]);
      }
      line->push_back('>');
      break;
  }
}

void AppendFields(const std::vector<Field>& fields, std::string* line) {
  for (const Field& field : fields) {
    line->push_back(' ');
    *line += field.key;
    line->push_back('=');
    AppendValue(field, line);
  }
}

// Reads the line from at; every step stops at the line's end.
class LineReader {
 public:
  explicit LineReader(const std::string& line) : line_(line) {}

  bool AtEnd() const { return at_ >= line_.size(); }
  bool SkipBlank() {
    if (AtEnd() || line_[at_] != ' ') return false;
    while (!AtEnd() && line_[at_] == ' ') ++at_;
    return true;
  }
  bool Word(std::string* word) {
    size_t start = at_;
    while (!AtEnd() && line_[at_] != ' ') ++at_;
    *word = line_.substr(start, at_ - start);
    return at_ > start;
  }
  bool Number(int64_t* value, const char** problem) {
    bool negative = !AtEnd() && line_[at_] == '-';
    if (negative) ++at_;
    if (AtEnd() || !IsDigit(line_[at_])) return Fail(problem, "a number was expected");
    uint64_t magnitude = 0;
    while (!AtEnd() && IsDigit(line_[at_])) {
      magnitude = magnitude * 10 + static_cast<uint64_t>(line_[at_] - '0');
      if (magnitude > static_cast<uint64_t>(NUMBER_MAX)) return Fail(problem, "number too large");
      ++at_;
    }
    *value = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
    return true;
  }
  bool Field(trace::Field* field, const char** problem) {
    size_t start = at_;
    if (AtEnd() || !IsKeyStart(line_[at_])) return Fail(problem, "a field name was expected");
    while (!AtEnd() && IsKeyChar(line_[at_])) ++at_;
    field->key = line_.substr(start, at_ - start);
    if (AtEnd() || line_[at_] != '=') return Fail(problem, "'=' missing after a field name");
    ++at_;
    if (AtEnd()) return Fail(problem, "a field has no value");
    field->data.clear();
    field->number = 0;
    if (line_[at_] == '"') {
      field->kind = ValueKind::Text;
      return Text(&field->data, problem);
    }
    if (line_[at_] == '<') {
      field->kind = ValueKind::Bytes;
      return Bytes(&field->data, problem);
    }
    field->kind = ValueKind::Number;
    return Number(&field->number, problem);
  }
  // After a value, the line ends or a blank follows.
  bool ValueEnds(const char** problem) {
    if (AtEnd() || line_[at_] == ' ') return true;
    return Fail(problem, "a value runs into the next");
  }

 private:
  bool Fail(const char** problem, const char* why) {
    *problem = why;
    return false;
  }
  bool Text(std::string* text, const char** problem) {
    ++at_;
    while (!AtEnd() && line_[at_] != '"') {
      char c = line_[at_++];
      if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) {
        return Fail(problem, "a text holds an unescaped control or non-ASCII character");
      }
      if (c != '\\') {
        text->push_back(c);
        continue;
      }
      if (AtEnd()) break;
      char escaped = line_[at_++];
      if (escaped == '"' || escaped == '\\') {
        text->push_back(escaped);
      } else if (escaped == 'x' && line_.size() - at_ >= 2 &&
                 printer_link::HexDigit(line_[at_]) >= 0 &&
                 printer_link::HexDigit(line_[at_ + 1]) >= 0) {
        text->push_back(static_cast<char>(printer_link::HexDigit(line_[at_]) * 16 +
                                          printer_link::HexDigit(line_[at_ + 1])));
        at_ += 2;
      } else {
        return Fail(problem, "a text has an unknown escape");
      }
    }
    if (AtEnd()) return Fail(problem, "a text is not closed");
    ++at_;
    return true;
  }
  bool Bytes(std::string* bytes, const char** problem) {
    ++at_;
    size_t close = line_.find('>', at_);
    if (close == std::string::npos) return Fail(problem, "bytes are not closed");
    std::vector<uint8_t> read;
    if (!printer_link::BytesFromHex(line_.substr(at_, close - at_), &read)) {
      return Fail(problem, "bytes are not pairs of hex digits");
    }
    bytes->assign(read.begin(), read.end());
    at_ = close + 1;
    return true;
  }

  const std::string& line_;
  size_t at_ = 0;
};

}  // namespace

bool SameRequest(const Call& a, const Call& b) {
  return a.name == b.name && a.in == b.in;
}

std::string FormatRequest(const Call& call) {
  std::string line = call.name;
  AppendFields(call.in, &line);
  return line;
}

std::string FormatCall(const Call& call) {
  std::string line = std::to_string(call.timeMs) + " " + FormatRequest(call) + " " + RESULT_MARK +
                     " " + std::to_string(call.result);
  AppendFields(call.out, &line);
  return line;
}

LineRead ParseLine(const std::string& line, Call* call, std::string* problem) {
  if (line.empty() || line[0] == '#') return LineRead::Note;
  const char* why = nullptr;
  auto malformed = [&](const char* text) {
    *problem = text;
    return LineRead::Malformed;
  };
  if (line.size() > LINE_LIMIT) return malformed("line too long");
  LineReader reader(line);
  Call read;
  int64_t time = 0;
  if (!reader.Number(&time, &why) || time < 0 || time > TIME_MAX) {
    return malformed("the line does not start with its time");
  }
  read.timeMs = static_cast<uint32_t>(time);
  if (!reader.SkipBlank() || !reader.Word(&read.name)) return malformed("no export named");
  for (char c : read.name) {
    if (!IsKeyChar(c)) return malformed("the export's name is not a name");
  }
  bool results = false;
  while (reader.SkipBlank()) {
    if (reader.AtEnd()) break;
    if (!results) {
      LineReader probe = reader;
      std::string word;
      probe.Word(&word);
      if (word == RESULT_MARK) {
        reader.Word(&word);
        if (!reader.SkipBlank() || !reader.Number(&read.result, &why) || !reader.ValueEnds(&why)) {
          return malformed("no result after \"->\"");
        }
        results = true;
        continue;
      }
    }
    Field field;
    if (!reader.Field(&field, &why) || !reader.ValueEnds(&why)) return malformed(why);
    (results ? read.out : read.in).push_back(std::move(field));
  }
  if (!reader.AtEnd()) return malformed("unexpected text");
  if (!results) return malformed("no \"->\" and result");
  *call = std::move(read);
  return LineRead::Call;
}

Trace ReadTrace(const std::string& text) {
  Trace trace;
  size_t start = 0;
  size_t number = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    ++number;
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    Call call;
    std::string problem;
    switch (ParseLine(line, &call, &problem)) {
      case LineRead::Call:
        trace.calls.push_back(std::move(call));
        trace.lineNumbers.push_back(number);
        break;
      case LineRead::Note:
        break;
      case LineRead::Malformed:
        trace.bad.push_back({number, problem});
        break;
    }
    start = end + 1;
  }
  return trace;
}

void AddNumber(std::vector<Field>* fields, const char* key, int64_t number) {
  Field field;
  field.key = key;
  field.number = number;
  fields->push_back(std::move(field));
}

void AddText(std::vector<Field>* fields, const char* key, const std::string& text) {
  Field field;
  field.key = key;
  field.kind = ValueKind::Text;
  field.data = text;
  fields->push_back(std::move(field));
}

void AddBytes(std::vector<Field>* fields, const char* key, const uint8_t* bytes, size_t size) {
  Field field;
  field.key = key;
  field.kind = ValueKind::Bytes;
  if (size > 0) field.data.assign(reinterpret_cast<const char*>(bytes), size);
  fields->push_back(std::move(field));
}

const Field* FindField(const std::vector<Field>& fields, const char* key) {
  for (const Field& field : fields) {
    if (field.key == key) return &field;
  }
  return nullptr;
}

}  // namespace trace

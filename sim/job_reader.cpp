// Raw job reading: the sequences a maintenance command stream is built from.
#include "sim/job_reader.h"

#include <cstring>

#include "sim/document_reader.h"
#include "sim/protocol_bytes.h"

namespace sim {

namespace {

class Reader {
 public:
  Reader(const uint8_t* bytes, size_t length) : bytes_(bytes), length_(length) {}

  std::vector<JobEvent> Run() {
    while (at_ < length_) {
      if (!TopLevel()) break;
    }
    return events_;
  }

 private:
  size_t Left() const { return length_ - at_; }

  bool StartsDocument(size_t at) const {
    return at <= length_ && length_ - at >= DOCUMENT_INTRO_LENGTH &&
           std::memcmp(bytes_ + at, DOCUMENT_INTRO, DOCUMENT_INTRO_LENGTH) == 0;
  }

  template <size_t N>
  bool Matches(size_t at, const uint8_t (&sequence)[N]) const {
    return at <= length_ && length_ - at >= N && std::memcmp(bytes_ + at, sequence, N) == 0;
  }

  uint16_t Le16(size_t at) const {
    return static_cast<uint16_t>(bytes_[at] | (bytes_[at + 1] << 8));
  }

  bool StartsKnownSequence(size_t at) const {
    return Matches(at, RESET) || Matches(at, REMOTE_INTRO) || Matches(at, SAMPLE_SHEET_INTRO) ||
           Matches(at, FIRMWARE_INTRO) || Matches(at, PAGE_END) || StartsDocument(at);
  }

  void Add(JobPiece piece) {
    JobEvent event;
    event.piece = piece;
    events_.push_back(event);
  }

  void AddCount(JobPiece piece, size_t count) {
    JobEvent event;
    event.piece = piece;
    event.count = count;
    events_.push_back(event);
  }

  // Records a fault; false means nothing more of the job can be read.
  bool Malformed(const std::string& problem, bool canGoOn) {
    JobEvent event;
    event.piece = JobPiece::MALFORMED;
    event.problem = problem;
    events_.push_back(event);
    if (!canGoOn) at_ = length_;
    return canGoOn;
  }

  // One sequence outside remote mode; false when the job cannot be read further.
  bool TopLevel() {
    if (Matches(at_, RESET)) {
      at_ += sizeof RESET;
      Add(JobPiece::RESET);
      return true;
    }
    if (Matches(at_, REMOTE_INTRO)) return RemoteMode();
    if (Matches(at_, SAMPLE_SHEET_INTRO)) return SampleSheet();
    if (Matches(at_, FIRMWARE_INTRO)) return Firmware();
    if (StartsDocument(at_)) {
      DocumentExtent extent = MeasureDocument(bytes_ + at_, Left());
      JobEvent event;
      event.piece = JobPiece::DOCUMENT;
      event.at = at_;
      event.count = extent.length;
      event.cut = !extent.complete;
      events_.push_back(event);
      at_ += extent.length;
      return true;
    }
    if (Matches(at_, PAGE_END)) {
      at_ += sizeof PAGE_END;
      Add(JobPiece::PAGE_END);
      return true;
    }
    if (bytes_[at_] == LEAD_IN_BYTE) {
      size_t start = at_;
      while (at_ < length_ && bytes_[at_] == LEAD_IN_BYTE) ++at_;
      AddCount(JobPiece::LEAD_IN, at_ - start);
      return true;
    }
    size_t start = at_++;
    while (at_ < length_ && !StartsKnownSequence(at_)) ++at_;
    AddCount(JobPiece::PRINT_DATA, at_ - start);
    return true;
  }

  bool RemoteMode() {
    const size_t head = sizeof REMOTE_INTRO + 2;
    if (Left() < head) return Malformed("truncated remote mode block", false);
    size_t n = Le16(at_ + sizeof REMOTE_INTRO);
    if (Left() - head < n) return Malformed("truncated remote mode block", false);
    bool sound = n == sizeof REMOTE_PAYLOAD &&
                 std::memcmp(bytes_ + at_ + head, REMOTE_PAYLOAD, sizeof REMOTE_PAYLOAD) == 0;
    at_ += head + n;
    if (!sound) return Malformed("remote mode block without REMOTE1", true);
    Add(JobPiece::ENTER_REMOTE);

    while (at_ < length_) {
      if (Matches(at_, REMOTE_LEAVE)) {
        at_ += sizeof REMOTE_LEAVE;
        Add(JobPiece::LEAVE_REMOTE);
        return true;
      }
      if (Left() < REMOTE_PACKET_HEAD) return Malformed("truncated remote packet", false);
      char first = static_cast<char>(bytes_[at_]);
      char second = static_cast<char>(bytes_[at_ + 1]);
      if (first < 'A' || first > 'Z' || second < 'A' || second > 'Z') {
        // Not a packet: the printer drops out of remote mode and reads on as print data.
        return Malformed("remote mode left without its block", true);
      }
      size_t count = Le16(at_ + 2);
      if (Left() - REMOTE_PACKET_HEAD < count) {
        return Malformed(std::string("truncated ") + first + second + " packet", false);
      }
      JobEvent event;
      event.piece = JobPiece::REMOTE_COMMAND;
      event.command = std::string{first, second};
      event.data.assign(bytes_ + at_ + REMOTE_PACKET_HEAD,
                        bytes_ + at_ + REMOTE_PACKET_HEAD + count);
      events_.push_back(event);
      at_ += REMOTE_PACKET_HEAD + count;
    }
    return Malformed("job ends in remote mode", false);
  }

  bool SampleSheet() {
    const size_t head = sizeof SAMPLE_SHEET_INTRO + 2;
    if (Left() < head) return Malformed("truncated sample sheet command", false);
    size_t count = Le16(at_ + sizeof SAMPLE_SHEET_INTRO);
    if (Left() - head < count) return Malformed("truncated sample sheet command", false);
    const uint8_t* body = bytes_ + at_ + head;
    at_ += head + count;
    if (count != SAMPLE_SHEET_COUNT ||
        std::memcmp(body, SAMPLE_SHEET_ACCESS, sizeof SAMPLE_SHEET_ACCESS) != 0) {
      return Malformed("sample sheet command with a wrong access value", true);
    }
    AddCount(JobPiece::SAMPLE_SHEET, body[SAMPLE_SHEET_COUNT - 1]);
    return true;
  }

  bool Firmware() {
    const size_t head = sizeof FIRMWARE_INTRO + 2;
    if (Left() < head) return Malformed("truncated firmware header", false);
    size_t count = Le16(at_ + sizeof FIRMWARE_INTRO);
    if (Left() - head < count) return Malformed("truncated firmware header", false);
    const uint8_t* access = bytes_ + at_ + head;
    at_ += head + count;
    if (count != FIRMWARE_COUNT ||
        std::memcmp(access, FIRMWARE_ACCESS, sizeof FIRMWARE_ACCESS) != 0) {
      return Malformed("firmware header with a wrong access value", true);
    }
    // The file says how long it is; whatever follows it is another job's.
    size_t take = Left();
    if (take >= 4) {
      const uint8_t* f = bytes_ + at_;
      uint64_t outer =
          (uint64_t{f[0]} << 24) | (uint64_t{f[1]} << 16) | (uint64_t{f[2]} << 8) | f[3];
      if (outer + 8 <= take && outer + 8 >= FW_IMAGE_AT) take = static_cast<size_t>(outer + 8);
    }
    JobEvent event;
    event.piece = JobPiece::FIRMWARE;
    event.data.assign(bytes_ + at_, bytes_ + at_ + take);
    events_.push_back(event);
    at_ += take;
    return true;
  }

  const uint8_t* bytes_;
  size_t length_;
  size_t at_ = 0;
  std::vector<JobEvent> events_;
};

}  // namespace

std::vector<JobEvent> ReadJob(const uint8_t* bytes, size_t length) {
  if (bytes == nullptr) return {};
  return Reader(bytes, length).Run();
}

size_t WholeJobsLength(const uint8_t* bytes, size_t length) {
  if (bytes == nullptr) return 0;
  std::vector<JobEvent> events = ReadJob(bytes, length);
  if (!events.empty()) {
    const JobEvent& last = events.back();
    if (last.piece == JobPiece::DOCUMENT && last.cut && last.at + last.count == length) {
      return last.at;
    }
  }
  return length;
}

}  // namespace sim

// The status block: finding it in a reply, and the field checks on well-formed, truncated and
// malicious blocks.
#include "link/status_reply.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/fake_kbapi.h"

namespace {

using printer_link::StatusReply;

StatusReply FromBody(const std::vector<uint8_t>& body) {
  StatusReply status;
  std::vector<uint8_t> reply = fakes::StatusReplyBytes(body);
  EXPECT_TRUE(status.Assign(reply.data(), reply.size()));
  return status;
}

TEST(StatusReply, FieldChecks) {
  struct Case {
    const char* name;
    std::vector<uint8_t> body;
    bool ready, inkLow, low0D;
  };
  const Case cases[] = {
      {"ready", {0x01, 0x01, 0x04}, true, false, false},
      {"busy", {0x01, 0x01, 0x03}, false, false, false},
      {"no status field", {0x0D, 0x01, 0x20}, false, false, false},
      {"status field without data", {0x01, 0x00, 0x0F, 0x00}, false, false, false},
      {"only the first status field counts",
       {0x01, 0x01, 0x03, 0x01, 0x01, 0x04},
       false,
       false,
       false},
      {"status after other fields",
       {0x02, 0x02, 0x04, 0x04, 0x01, 0x02, 0x04, 0x00},
       true,
       false,
       false},
      {"ink levels 26 and 40", {0x0F, 0x07, 0x03, 0, 0, 26, 0, 0, 40}, false, false, false},
      {"ink level 25", {0x0F, 0x07, 0x03, 0, 0, 26, 0, 0, 25}, false, true, false},
      {"ink level 0 in a wider entry",
       {0x0F, 0x09, 0x04, 9, 9, 90, 9, 9, 9, 0, 9},
       false,
       true,
       false},
      {"only the first ink field counts",
       {0x0F, 0x04, 0x03, 0, 0, 80, 0x0F, 0x04, 0x03, 0, 0, 1},
       false,
       false,
       false},
      {"0D last byte 13", {0x0D, 0x03, 0x00, 0x50, 13}, false, false, true},
      {"0D last byte 14", {0x0D, 0x03, 0x00, 0x05, 14}, false, false, false},
      {"0D without data", {0x0D, 0x00}, false, false, false},
      {"all three",
       {0x01, 0x01, 0x04, 0x0F, 0x04, 0x03, 1, 2, 3, 0x0D, 0x01, 0x00},
       true,
       true,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StatusReply status = FromBody(c.body);
    EXPECT_EQ(status.IsReady(), c.ready);
    EXPECT_EQ(status.IsInkLow(), c.inkLow);
    EXPECT_EQ(status.IsField0DLow(), c.low0D);
  }
}

TEST(StatusReply, WalkEndsAtAFieldThatRunsPastTheBody) {
  // The status field claims five data bytes but the body ends after one.
  EXPECT_FALSE(FromBody({0x01, 0x05, 0x04}).IsReady());
  // A broken field before the wanted one hides it.
  EXPECT_FALSE(FromBody({0x02, 0x09, 0x00, 0x01, 0x01, 0x04}).IsReady());
  // A lone type byte at the end has no length to read.
  EXPECT_FALSE(FromBody({0x02, 0x00, 0x01}).IsReady());
  EXPECT_FALSE(FromBody({0x0D, 0x04, 0x00, 0x01}).IsField0DLow());
}

TEST(StatusReply, InkEntryRunningPastItsFieldIsNotRead) {
  // n = 6, e = 3: the second entry would need a seventh byte, which belongs to the next field
  // (type 05, here a low value).
  StatusReply status = FromBody({0x0F, 0x06, 0x03, 0, 0, 90, 0, 0, 0x05, 0x01, 0x00});
  EXPECT_FALSE(status.IsInkLow());
  // n = 4, e = 2: two entries by the printer's count; the second one's level byte (data
  // position 5) lies outside the field and is not read, the first one's (position 3) is.
  EXPECT_TRUE(FromBody({0x0F, 0x04, 0x02, 1, 90, 1, 0x05, 0x01, 0x00}).IsInkLow());
  EXPECT_FALSE(FromBody({0x0F, 0x04, 0x02, 1, 90, 90, 0x05, 0x01, 0x00}).IsInkLow());
}

TEST(StatusReply, InkCountIsTheFieldLengthOverTheEntrySize) {
  // n = 8, e = 4: two entries. The second one's level (data position 7) is the field's last
  // byte; counting (n - 1) / e entries would miss it.
  EXPECT_TRUE(FromBody({0x0F, 0x08, 0x04, 9, 9, 90, 9, 9, 9, 5}).IsInkLow());
  EXPECT_FALSE(FromBody({0x0F, 0x08, 0x04, 9, 9, 90, 9, 9, 9, 26}).IsInkLow());
}

TEST(StatusReply, ZeroEntrySizeHasNoEntries) {
  EXPECT_FALSE(FromBody({0x0F, 0x04, 0x00, 0, 0, 0}).IsInkLow());
}

TEST(StatusReply, ReplyShapes) {
  struct Case {
    const char* name;
    std::vector<uint8_t> reply;
    bool sound;
    size_t bodySize;
  };
  std::vector<uint8_t> head = {'S', 'T', 0x0D, 0x0A};
  auto with = [&head](std::vector<uint8_t> tail) {
    std::vector<uint8_t> reply = head;
    reply.insert(reply.end(), tail.begin(), tail.end());
    return reply;
  };
  const Case cases[] = {
      {"well-formed", with({0x03, 0x00, 0x01, 0x01, 0x04}), true, 3},
      {"bytes after the block are ignored", with({0x01, 0x00, 0x07, 0xAA, 0xBB}), true, 1},
      {"CR alone is no block", {'S', 0x0D, 0x03, 0x00, 0x01, 0x01, 0x04}, false, 0},
      {"no CR LF", {0x03, 0x00, 0x01, 0x01, 0x04}, false, 0},
      {"length 0", with({0x00, 0x00}), false, 0},
      {"length word cut short", with({0x03}), false, 0},
      {"nothing after CR LF", head, false, 0},
      {"length beyond the reply", with({0x05, 0x00, 0x01, 0x01, 0x04}), false, 0},
      {"length word of 65535", with({0xFF, 0xFF, 0x01, 0x01, 0x04}), false, 0},
      {"first CR LF ends the head", {0x0D, 0x0A, 0x01, 0x00, 0x0D, 0x0A}, true, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StatusReply status;
    std::vector<uint8_t> old = fakes::StatusReplyBytes({0x01, 0x01, 0x04});
    ASSERT_TRUE(status.Assign(old.data(), old.size()));
    EXPECT_EQ(status.Assign(c.reply.data(), c.reply.size()), c.sound);
    EXPECT_EQ(status.Body().size(), c.bodySize);
    if (!c.sound) {
      EXPECT_FALSE(status.IsReady());
    }
  }
}

TEST(StatusReply, LengthWordBeyondTheReplyCopiesNothing) {
  // The block claims 200 body bytes, but only 3 arrived: the copy must not read beyond them.
  std::vector<uint8_t> reply = {'S', 0x0D, 0x0A, 200, 0x00, 0x01, 0x01, 0x04};
  StatusReply status;
  EXPECT_FALSE(status.Assign(reply.data(), reply.size()));
  EXPECT_TRUE(status.Empty());
}

TEST(StatusReply, EmptyReplyFailsEveryCheck) {
  StatusReply status;
  EXPECT_FALSE(status.IsReady());
  EXPECT_FALSE(status.IsInkLow());
  EXPECT_FALSE(status.IsField0DLow());
}

}  // namespace

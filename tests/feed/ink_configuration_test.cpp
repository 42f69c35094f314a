// The ink configuration from the status block's ink table, and the ink class read from a printer.
#include "feed/ink_configuration.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "link/bidi_api.h"
#include "programs/trevalo/trevalo_tables.h"
#include "samples/adjustment_selection.h"
#include "tests/support/fake_kbapi.h"
#include "tests/support/test_app.h"

namespace {

using Bytes = std::vector<uint8_t>;

// An ink table field of entries of `size` bytes.
Bytes InkField(uint8_t size, const std::vector<Bytes>& entries) {
  Bytes field = {0x0F, 0, size};
  for (const Bytes& e : entries) field.insert(field.end(), e.begin(), e.end());
  field[1] = static_cast<uint8_t>(field.size() - 2);
  return field;
}

int Configuration(const Bytes& body) {
  Bytes reply = fakes::StatusReplyBytes(body);
  printer_link::StatusReply status;
  status.Assign(reply.data(), reply.size());
  return feed::InkConfiguration(status);
}

TEST(InkConfiguration, FourOrEightInks) {
  const std::vector<Bytes> four = {{1, 1, 80}, {2, 1, 80}, {3, 1, 80}, {4, 1, 80}};
  auto eight = [&](Bytes e5, Bytes e6, Bytes e7, Bytes e8) {
    std::vector<Bytes> entries = four;
    entries.insert(entries.end(), {e5, e6, e7, e8});
    return entries;
  };
  const Bytes ready = {0x01, 0x01, 0x04};
  struct Case {
    const char* name;
    Bytes body;
    int configuration;
  } cases[] = {
      {"four entries", InkField(3, four), 4},
      {"pairs in 5-6 and 7-8", InkField(3, eight({5, 1, 10}, {5, 1, 90}, {6, 2, 3}, {6, 2, 4})), 4},
      {"eight distinct", InkField(3, eight({5, 1, 0}, {6, 1, 0}, {7, 1, 0}, {8, 1, 0})), 8},
      {"only 5-6 a pair", InkField(3, eight({5, 1, 0}, {5, 1, 0}, {7, 1, 0}, {8, 1, 0})), 8},
      {"second byte differs", InkField(3, eight({5, 1, 0}, {5, 2, 0}, {7, 1, 0}, {7, 1, 0})), 8},
      {"five entries", InkField(3, {{1, 1, 0}, {2, 1, 0}, {3, 1, 0}, {4, 1, 0}, {5, 1, 0}}), 8},
      {"seven entries", InkField(3, eight({5, 1, 0}, {5, 1, 0}, {7, 1, 0}, {})), 8},
      {"entries of one byte", InkField(1, {{1}, {2}, {3}, {4}, {5}, {5}, {7}, {7}}), 8},
      {"entries of no bytes", {0x0F, 0x03, 0x00, 0x05, 0x05}, 8},
      {"empty ink table", {0x0F, 0x00}, 4},
      {"no ink table", ready, 8},
      {"the first ink table counts",
       [&] {
         Bytes body = InkField(3, four);
         Bytes second = InkField(3, eight({5, 1, 0}, {6, 1, 0}, {7, 1, 0}, {8, 1, 0}));
         body.insert(body.end(), second.begin(), second.end());
         return body;
       }(),
       4},
      {"ink table past the end", {0x01, 0x01, 0x04, 0x0F, 0x20, 0x03, 1, 1, 80}, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Configuration(c.body), c.configuration);
  }
  EXPECT_EQ(feed::InkConfiguration(printer_link::StatusReply()), 8);
  EXPECT_EQ(feed::InkClassOf(4), feed::INK_CLASS_FOUR);
  EXPECT_EQ(feed::InkClassOf(8), feed::INK_CLASS_EIGHT);
}

TEST(InkConfiguration, ReadFromThePrinter) {
  fakes::TestPlatform platform{};
  auto library = std::make_unique<fakes::FakeKbLibrary>();
  fakes::KbScript* kb = &library->script;
  shell::ToolApp app(programs::TrevaloProfile(),
                     fakes::MakeFakePlatform(&platform, nullptr, std::move(library)));
  printer_link::BidiApi api(app.Library(), app.Spooler(), app.Files());
  ASSERT_EQ(api.Bind("Q", printer_link::LibrarySearch::PlainNameFirst), 1);
  const Bytes fourInks = fakes::StatusReplyBytes(InkField(3, {{1}, {2}, {3}, {4}}));

  struct Case {
    const char* name;
    int openResult;
    Bytes reply;
    int inkClass;
  } cases[] = {
      {"four inks", 3, fourInks, feed::INK_CLASS_FOUR},
      {"channel does not open", -1, fourInks, feed::INK_CLASS_EIGHT},
      {"status without CR LF", 3, Bytes(fourInks.begin() + 10, fourInks.end()),
       feed::INK_CLASS_EIGHT},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    kb->channels = {{printer_link::CHANNEL_CONTROL, 0x07}};
    kb->openResult = c.openResult;
    kb->statusReplies = {c.reply};
    kb->statusIndex = 0;
    kb->closedHandles.clear();
    printer_link::PrinterChannel channel = app.Channel(&api);
    EXPECT_EQ(feed::ReadInkClass(channel, "Q"), c.inkClass);
    EXPECT_EQ(kb->closedHandles.size(), c.openResult > 0 ? 1u : 0u);
  }
}

}  // namespace

// How the simulated printer recognises a page that a printer driver rendered from a program's
// drawing (a sample job) among the raw jobs of the same port.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "sim/document_reader.h"
#include "sim/job_reader.h"
#include "sim/simulated_printer.h"
#include "tests/sim/sim_test_bytes.h"
#include "tests/support/fake_platform.h"

namespace {

using simtest::Bytes;
using Lines = std::vector<std::string>;

// A page in the shape the system's PostScript driver writes for one caption drawn with a
// downloaded font, a second one, and a picture band; font programs cut down to a line.
const char SAMPLE_PAGE[] = R"(%!PS-Adobe-3.0
%%Creator: Wine PostScript Driver
%%Title: Feed +12
%%Pages: (atend)
%%EndComments
%%BeginProlog
/N {newpath} def
%%EndProlog
%%Page: 1 1
72 300 div 72 300 div scale
25 dict begin
 /FontName /Sans-Bold def
currentdict end dup /FontName get exch definefont pop
100 187 moveto
%%glyph 0029
/Sans-Bold findfont dup
/Private get begin
/CharStrings get begin
/F 57 RD
f71dff000004e30df7bbff0000049d15
ND
end end
/F glyphshow
/e glyphshow
/e glyphshow
/d glyphshow
/uni00A0 glyphshow
/plus glyphshow
/one glyphshow
/two glyphshow
0.00 0.00 0.00 setrgbcolor
400 187 moveto
/quotedbl glyphshow
/M glyphshow
/backslash glyphshow
/comma glyphshow
gsave
100 500 translate
<<
 /DataSource currentfile /ASCII85Decode filter /RunLengthDecode filter
>>
image
(DI2V1+42?7QbR!>
/x glyphshow
~>
grestore
showpage
%%Trailer
%%Pages: 1
%%EOF
)";

Bytes Sample() {
  return simtest::Text(SAMPLE_PAGE);
}

const char SAMPLE_RECORD[] =
    R"(sample job "Feed +12" pages 1 images 1 captions "Feed +12" "\"M\\,")";

sim::PrintedDocument Read(const std::string& text) {
  return sim::ReadDocument(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

std::string Page(const std::string& body) {
  return "%!PS-Adobe-3.0\n%%Title: T\n%%EndComments\n0 0 moveto\n" + body + "showpage\n%%EOF\n";
}

TEST(DocumentJob, SamplePageGivesTitleCaptionsAndPicture) {
  Bytes page = Sample();
  sim::PrintedDocument document = sim::ReadDocument(page.data(), page.size());
  EXPECT_TRUE(document.complete);
  EXPECT_EQ(sim::DocumentRecord(document), SAMPLE_RECORD);
}

TEST(DocumentJob, GlyphNamesAndStringsReadBackAsText) {
  struct Case {
    const char* name;
    std::string body;
    std::vector<std::string> texts;
  };
  const Case cases[] = {
      {"letters, digits and named punctuation",
       "/A glyphshow\n/zero glyphshow\n/hyphen glyphshow\n/parenright glyphshow\n",
       {"A0-)"}},
      {"a font's only space and hyphen glyphs named after their no-break and soft forms",
       "/minus glyphshow\n/uni00AD glyphshow\n/two glyphshow\n/uni00A0 glyphshow\n",
       {"--2 "}},
      {"variants and code points",
       "/a.alt glyphshow\n/uni00E9 glyphshow\n/u1F600 glyphshow\n",
       {"a\xC3\xA9\xF0\x9F\x98\x80"}},
      {"unknown names and surrogates",
       "/g123 glyphshow\n/uniD800 glyphshow\n/uni00e9 glyphshow\n",
       {"???"}},
      {"string shows with escapes",
       "(Caption \\(x\\) \\\\ \\101\\351) show\n",
       {"Caption (x) \\ A\xC3\xA9"}},
      {"a string not closed on its line is no text", "(open \\) show\n", {}},
      {"each move starts a caption",
       "/a glyphshow\n5 0 moveto\n5 0 moveto\n/b glyphshow\n",
       {"a", "b"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim::PrintedDocument document = Read(Page(c.body));
    EXPECT_EQ(document.texts, c.texts);
    EXPECT_EQ(document.title, "T");
  }
}

TEST(DocumentJob, RecordQuotesTitleAndMarksACutDocument) {
  sim::PrintedDocument document = Read(
      "%!PS-Adobe-3.0\n%%Title: (Caf\\351 \\(2\\)\\t)\n%%EndComments\n0 0 moveto\n"
      "/a glyphshow\n");
  EXPECT_FALSE(document.complete);
  EXPECT_EQ(sim::DocumentRecord(document),
            "sample job \"Caf\xC3\xA9 (2)\\x09\" pages 0 images 0 captions \"a\" cut");
}

// Every cut of the page is read inside its own bytes (each copy on the heap, exactly that long,
// so that a sanitizer sees any read past it) and counts as whole only with its last line.
TEST(DocumentJob, EveryCutOfThePageStaysInsideItsBytes) {
  Bytes page = Sample();
  const size_t endLine = page.size() - std::string("%%EOF\n").size();
  for (size_t length = 0; length <= page.size(); ++length) {
    SCOPED_TRACE(length);
    auto copy = std::make_unique<uint8_t[]>(length);
    std::copy(page.begin(), page.begin() + static_cast<std::ptrdiff_t>(length), copy.get());
    sim::DocumentExtent extent = sim::MeasureDocument(copy.get(), length);
    EXPECT_EQ(extent.length, length);
    EXPECT_EQ(extent.complete, length >= endLine + 5);
    sim::PrintedDocument document = sim::ReadDocument(copy.get(), length);
    EXPECT_EQ(document.complete, extent.complete);
    EXPECT_LE(document.texts.size(), 2u);
    // Too short to be told from other print data, a start is taken in as such.
    bool recognised = length >= sim::DOCUMENT_INTRO_LENGTH;
    EXPECT_EQ(sim::WholeJobsLength(copy.get(), length),
              extent.complete || !recognised ? length : 0);
  }
}

class DocumentJobPrinter : public ::testing::Test {
 protected:
  Lines Run(const Bytes& job) {
    size_t before = printer.State().log.size();
    printer.ReceiveJob(job);
    const Lines& log = printer.State().log;
    return Lines(log.begin() + static_cast<std::ptrdiff_t>(before), log.end());
  }

  fakes::FakeClock clock;
  sim::SimulatedPrinter printer{clock};
};

TEST_F(DocumentJobPrinter, PagesBetweenSampleSheetCommandsAreEachRecorded) {
  const Bytes sheetOpen = {0x1B, 0x7C, 0x01, 0x06, 0x00, 0x5C, 0x21, 0x9D, 0x4E, 0x08, 0x01};
  const Bytes sheetClose = {0x1B, 0x7C, 0x01, 0x06, 0x00, 0x5C, 0x21, 0x9D, 0x4E, 0x08, 0x00};
  Bytes second = simtest::Text(Page("/b glyphshow\n"));
  Bytes job = simtest::Join({sheetOpen, Sample(), second, sheetClose});
  const std::string size = std::to_string(Sample().size());
  EXPECT_EQ(Run(job),
            (Lines{"job " + std::to_string(job.size()) + " bytes", "sample sheet mode 1",
                   "print data " + size + " bytes", SAMPLE_RECORD,
                   "print data " + std::to_string(second.size()) + " bytes",
                   R"(sample job "T" pages 1 images 0 captions "b")", "sample sheet mode 0"}));
}

TEST_F(DocumentJobPrinter, APageStillBeingWrittenIsTakenInWhole) {
  std::string port = simtest::TempFolder() + "port.prn";
  printer.State().input = port;
  Bytes page = Sample();
  const Bytes sheet = {0x1B, 0x7C, 0x01, 0x06, 0x00, 0x5C, 0x21, 0x9D, 0x4E, 0x08, 0x02};
  auto append = [&](const Bytes& bytes, size_t from, size_t to) {
    std::ofstream(port, std::ios::binary | std::ios::app)
        .write(reinterpret_cast<const char*>(bytes.data() + from),
               static_cast<std::streamsize>(to - from));
  };
  append(sheet, 0, sheet.size());
  append(page, 0, page.size() / 2);
  EXPECT_EQ(printer.IngestInput(), static_cast<long>(sheet.size()));  // the command only
  EXPECT_EQ(printer.IngestInput(), 0);
  append(page, page.size() / 2, page.size());
  EXPECT_EQ(printer.IngestInput(), static_cast<long>(page.size()));
  EXPECT_EQ(printer.State().log.back(), SAMPLE_RECORD);
}

}  // namespace

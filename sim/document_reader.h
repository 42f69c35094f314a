// Documents that a printer driver renders for the printer (PostScript, as Wine's driver writes
// it): the title and the texts drawn on the pages, so that a sample job can be recognised.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

// A document starts with this at the start of a job's data or of a line.
constexpr char DOCUMENT_INTRO[] = "%!PS";
constexpr size_t DOCUMENT_INTRO_LENGTH = sizeof DOCUMENT_INTRO - 1;

struct PrintedDocument {
  std::string title;               // the header's title comment, as the document names itself
  int pages = 0;                   // pages shown
  int images = 0;                  // pictures drawn
  std::vector<std::string> texts;  // one per text run, in drawing order, UTF-8
  bool complete = false;           // the end-of-file comment was reached
};

struct DocumentExtent {
  size_t length = 0;      // bytes of the document, its closing line included
  bool complete = false;  // false: the data ended (or the next document began) first
};

// How far the document at bytes[0] reaches: through its end-of-file comment line, or up to the
// next document's start or the end of the data when it has none. Reads only [0, length).
DocumentExtent MeasureDocument(const uint8_t* bytes, size_t length);

PrintedDocument ReadDocument(const uint8_t* bytes, size_t length);

// The printer's record of a document, one log line:
//   sample job "TITLE" pages P images I captions "TEXT" "TEXT" ...
// with " cut" at the end when the document ended early; quotes and backslashes in the texts
// are escaped with a backslash, other control characters written as \xHH.
std::string DocumentRecord(const PrintedDocument& document);

}  // namespace sim

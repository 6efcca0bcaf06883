// The ISO 10303-21 reader: an exchange file into a new design.
//
// Header records go to the design's header section, entity instances to its
// data section(s); references between instances are resolved, forward ones
// when the referenced instance is read.  Instances keep the numbers they
// have in the file.  The reader is tolerant: a defect is reported (through
// the exchange-file messages, prefixed with file and line) and the
// statement or value concerned is skipped.  The read fails as a whole only
// when the frame of the file (ISO-10303-21, HEADER, DATA, ENDSEC,
// END-ISO-10303-21) is broken or a schema named in FILE_SCHEMA cannot be
// found.
#ifndef KORVA_EXCHANGE_PART21_READER_H
#define KORVA_EXCHANGE_PART21_READER_H

#include <cstddef>
#include <cstdio>

namespace korva {

class TarnDesign;

class Part21Reader {
 public:
  // Reads the stream into a new design named `name`; `fileName` labels the
  // messages (may be null).  Null when the read fails.
  static TarnDesign* Read(std::FILE* in, const char* name, const char* fileName);
  // The same from text in memory.
  static TarnDesign* ReadText(const char* data, std::size_t size, const char* name, const char* fileName);
};

}  // namespace korva

#endif  // KORVA_EXCHANGE_PART21_READER_H

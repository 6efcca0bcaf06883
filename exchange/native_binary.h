// The native binary design format ("standard_3.0", also "standard" and
// "binary"): the same content as the text format (exchange/native_text.h),
// in length-prefixed little-endian records (docs/NATIVE_FORMAT.md):
//
//   Format = "standard_3.0"\n   the first line, as in the text format
//   01 04 07                    marker
//   designs, design record, objects
//   07 04 01                    end marker
//
// Reals are stored with all their bits, so a design read back holds exactly
// the values written.  Streams are opened in binary mode by the callers
// ("rb"/"wb"), so nothing is translated on any platform.
#ifndef KORVA_EXCHANGE_NATIVE_BINARY_H
#define KORVA_EXCHANGE_NATIVE_BINARY_H

#include <cstdio>
#include <string>

#include "exchange/format_registry.h"

namespace korva {

struct NativeImage;

class IOStandard : public IORoot {
 public:
  IOStandard() : IORoot({"standard_3.0", "standard", "binary"}) {}
  // Reads the rest of the stream (after the first line) into a new design.
  TarnDesign* readContents(std::FILE* in, const char* name) override;
  // Writes the whole file, first line included.
  bool writeContents(TarnDesign* design, std::FILE* out) override;

  // Reads from bytes in memory: the marker onwards (a leading first line is
  // skipped).  Reports "Binary marker missing.", "Unexpected end of binary
  // design.", "<Unknown Field> %d in attribute "%s"." and "Bad binary
  // record." and returns null when the bytes cannot be read.
  static TarnDesign* ReadBytes(const std::string& bytes, const char* name);
  // The whole file content of a design; false when it cannot be written.
  static bool WriteBytes(TarnDesign* design, std::string* out);
  // Renders and decodes images (decoding starts at the marker).
  static std::string Encode(const NativeImage& image);
  static bool Decode(const std::string& bytes, NativeImage* image);
};

}  // namespace korva

#endif  // KORVA_EXCHANGE_NATIVE_BINARY_H

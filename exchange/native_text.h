// The native text design format ("tarn_r3.0", also "tarn"): the format of
// the compiled schemas.  Layout (docs/NATIVE_FORMAT.md):
//
//   Format = "tarn_r3.0"
//   TARN_OIDS ( (0 = this_design) (1 = other_design) ... )
//   TARN_DESIGN (TarnDesign  attribute: value ... )
//   STEP_OBJECTS ( (<0-1> Domain  attribute: value ...) ... )
//
// Values: 'text' (quotes doubled), integers, reals, TRUE/FALSE/UNKNOWN, $,
// .ENUM., object identifiers <d-n> (object n of design d) and <d-"name">
// (the object entered under name in design d's name table), and (a, b, ...)
// for aggregates.
#ifndef KORVA_EXCHANGE_NATIVE_TEXT_H
#define KORVA_EXCHANGE_NATIVE_TEXT_H

#include <cstdio>
#include <string>

#include "exchange/format_registry.h"

namespace korva {

class IOTarn : public IORoot {
 public:
  IOTarn() : IORoot({"tarn_r3.0", "tarn"}) {}
  // Reads the rest of the stream (after the first line) into a new design.
  TarnDesign* readContents(std::FILE* in, const char* name) override;
  bool writeContents(TarnDesign* design, std::FILE* out) override;

  // Reads from text already in memory (after the first line).
  static TarnDesign* ReadText(const std::string& text, const char* name);
};

}  // namespace korva

#endif  // KORVA_EXCHANGE_NATIVE_TEXT_H

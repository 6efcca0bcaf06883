// The "step" format: ISO 10303-21 exchange files, written by Part21Writer
// and read by the exchange-file reader.
#ifndef KORVA_EXCHANGE_IOSTEP_H
#define KORVA_EXCHANGE_IOSTEP_H

#include "exchange/format_registry.h"

namespace korva {

class IOSTEP : public IORoot {
 public:
  IOSTEP() : IORoot({"step"}) {}
  TarnDesign* readContents(std::FILE* in, const char* name) override;
  bool writeContents(TarnDesign* design, std::FILE* out) override;

  // The reader is installed by the exchange-file reader's unit.
  typedef TarnDesign* (*Reader)(std::FILE* in, const char* name);
  static void setReader(Reader reader);
};

}  // namespace korva

#endif  // KORVA_EXCHANGE_IOSTEP_H

#include "exchange/iostep.h"

#include "exchange/part21_writer.h"
#include "objdb/interface.h"

namespace korva {
namespace {
IOSTEP g_step;
IOSTEP::Reader g_reader = nullptr;
}  // namespace

void IOSTEP::setReader(Reader reader) { g_reader = reader; }

TarnDesign* IOSTEP::readContents(std::FILE* in, const char* name) {
  if (g_reader == nullptr) return IORoot::readContents(in, name);
  return g_reader(in, name);
}

bool IOSTEP::writeContents(TarnDesign* design, std::FILE* out) { return Part21Writer::Write(design, out); }

}  // namespace korva

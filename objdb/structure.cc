#include "objdb/structure.h"

#include "objdb/design.h"
#include "objdb/domain.h"
#include "objdb/interface.h"

namespace korva {

TarnAttribute* TarnStructure::getAttribute(const void* slotAddress) {
  TarnDomain* d = domain();
  if (d == nullptr) return nullptr;
  const char* full = static_cast<const char*>(baseObject());
  std::ptrdiff_t distance = static_cast<const char*>(slotAddress) - full;
  for (TarnAttribute* att : d->allAttributes())
    if (!att->inOverflow() && att->offset() == distance) return att;
  if (overflow() != nullptr) {
    std::ptrdiff_t inOverflow = static_cast<const char*>(slotAddress) - static_cast<char*>(overflow());
    for (TarnAttribute* att : d->allAttributes())
      if (att->inOverflow() && att->offset() == inOverflow) return att;
  }
  TARN().error("%s: domain %s does not have a attribute at offset %d.",
               "TarnStructure::getAttribute(void *slotAddress)", d->name(), static_cast<int>(distance));
  return nullptr;
}

uint32_t TarnStructure::recordSize() { return typePtr()->recordSize(); }

void TarnStructure::display(std::FILE* out) {
  std::fprintf(out, "%s:", domainName());
  if (instanceNumber() != 0) std::fprintf(out, "[%u]", instanceNumber());
  std::fprintf(out, "\n");
  TarnDomain* d = domain();
  if (d == nullptr) return;
  for (TarnAttribute* att : d->allAttributes()) {
    std::fprintf(out, "  %s: ", att->name());
    const TarnType* type = slotType(att);
    void* slot = slotAddress(att, 0);
    if (slot == nullptr) {
      std::fprintf(out, "<NULL>\n");
    } else if (type->nodeType() == kNodeString) {
      const char* s = *static_cast<char**>(slot);
      if (s != nullptr) std::fprintf(out, "\"%s\"\n", s);
      else std::fprintf(out, "<NULL>\n");
    } else if (IsObjectNode(type->nodeType())) {
      TarnObject* o = getObject(att);
      if (o != nullptr) std::fprintf(out, "[%s]\n", o->domainName());
      else std::fprintf(out, "<NULL>\n");
    } else {
      const char* text = getString(att);
      std::fprintf(out, "%s\n", text != nullptr ? text : "<NULL>");
    }
  }
}

void* TarnStructure::slotAddress(TarnAttribute* attribute, int) {
  return attribute != nullptr ? fieldSlot(attribute) : nullptr;
}

}  // namespace korva

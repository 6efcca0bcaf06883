// TarnStructure: an entity instance, one slot per attribute.  Generated
// entity classes and the dictionary classes derive from it (virtually, so
// that a subtype holds one part per ancestor and one TarnObject part).
// Attributes its class does not declare (best-fit classes) live in the
// instance's overflow storage.
#ifndef KORVA_OBJDB_STRUCTURE_H
#define KORVA_OBJDB_STRUCTURE_H

#include "objdb/tarn_object.h"

namespace korva {

class TarnStructure : public virtual TarnObject {
  TARN_CLASS(TarnStructure)
 public:
  TarnStructure() = default;
  TarnAttribute* getAttribute(const char* name) override { return TarnObject::getAttribute(name); }
  TarnAttribute* getAttribute(const void* slotAddress) override;
  uint32_t recordSize() override;
  void display(std::FILE* out) override;
  void* slotAddress(TarnAttribute* attribute, int index) override;
};

}  // namespace korva

#endif  // KORVA_OBJDB_STRUCTURE_H

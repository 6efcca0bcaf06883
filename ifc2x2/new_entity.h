// Making IFC instances in a design by their class.
#ifndef KORVA_IFC2X2_NEW_ENTITY_H
#define KORVA_IFC2X2_NEW_ENTITY_H

#include "objdb/design.h"

namespace korva {

// A new entity or select value of class T in `design` (null when the
// design's schema has no such type, reported by the database).
template <class T>
T* NewEntity(TarnDesign* design) {
  return typecast<T>(design->newInstance(T::classType.name()));
}

}  // namespace korva

#endif  // KORVA_IFC2X2_NEW_ENTITY_H

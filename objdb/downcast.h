// Casting from TarnObject to a class that derives from it virtually, for
// walks that cast long runs of values of one class.
#ifndef KORVA_OBJDB_DOWNCAST_H
#define KORVA_OBJDB_DOWNCAST_H

#include <cstddef>
#include <typeinfo>

#include "objdb/tarn_object.h"

namespace korva {

// dynamic_cast from TarnObject to a class that derives from it virtually,
// remembered for the last most-derived class seen: the distance between the
// two parts is the same in every instance of one class, and a walk meets
// long runs of values of one class (the coordinate lists of an extent of
// points, say).
template <class T>
class TarnDowncast {
 public:
  T* operator()(TarnObject* object) {
    const std::type_info* type = &typeid(*object);
    if (type != type_) {
      type_ = type;
      T* result = dynamic_cast<T*>(object);
      found_ = result != nullptr;
      if (found_) delta_ = reinterpret_cast<char*>(result) - reinterpret_cast<char*>(object);
      return result;
    }
    return found_ ? reinterpret_cast<T*>(reinterpret_cast<char*>(object) + delta_) : nullptr;
  }

 private:
  const std::type_info* type_ = nullptr;
  std::ptrdiff_t delta_ = 0;
  bool found_ = false;
};

}  // namespace korva

#endif  // KORVA_OBJDB_DOWNCAST_H

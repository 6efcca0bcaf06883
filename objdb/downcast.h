// Casting from TarnObject to a class that derives from it virtually, for
// walks that cast long runs of values of one class.
#ifndef KORVA_OBJDB_DOWNCAST_H
#define KORVA_OBJDB_DOWNCAST_H

#include <cstddef>
#include <typeinfo>

#include "objdb/tarn_object.h"

namespace korva {

// dynamic_cast from TarnObject to a class that derives from it virtually,
// remembered for the last few most-derived classes seen: the distance
// between the two parts is the same in every instance of one class, and a
// walk meets long runs of values of a few classes (the coordinate and
// direction lists of the placements of an extent of members, say).
template <class T>
class TarnDowncast {
 public:
  T* operator()(TarnObject* object) {
    const std::type_info* type = &typeid(*object);
    for (const Seen& seen : seen_)
      if (seen.type == type)
        return seen.found ? reinterpret_cast<T*>(reinterpret_cast<char*>(object) + seen.delta) : nullptr;
    T* result = dynamic_cast<T*>(object);
    Seen& slot = seen_[next_];
    next_ = (next_ + 1) % kSeen;
    slot.type = type;
    slot.found = result != nullptr;
    slot.delta = slot.found ? reinterpret_cast<char*>(result) - reinterpret_cast<char*>(object) : 0;
    return result;
  }

 private:
  static constexpr int kSeen = 4;
  struct Seen {
    const std::type_info* type = nullptr;
    std::ptrdiff_t delta = 0;
    bool found = false;
  };
  Seen seen_[kSeen];
  int next_ = 0;
};

}  // namespace korva

#endif  // KORVA_OBJDB_DOWNCAST_H

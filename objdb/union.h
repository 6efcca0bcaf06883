// TarnUnion: a select value.  It holds the active member (an attribute of
// the select's domain, one per member type, or none) and one 8-byte slot
// with the member's value: a number, a string or an object.
#ifndef KORVA_OBJDB_UNION_H
#define KORVA_OBJDB_UNION_H

#include "objdb/aggregate.h"
#include "objdb/tarn_object.h"

namespace korva {

class TarnUnion : public virtual TarnObject {
  TARN_CLASS(TarnUnion)
 public:
  TarnUnion() { value_.integer = 0; }
  void* slotAddress(TarnAttribute* attribute, int index) override;
  const TarnType* slotType(TarnAttribute* attribute) override;
  bool getValue(TarnAttribute* attribute, int index, void** out, const TarnType* as) override;
  bool putValue(TarnAttribute* attribute, int index, const void* in, const TarnType* as) override;
  void display(std::FILE* out) override;

  // The active member, or null.
  TarnAttribute* attribute() const { return active_; }
  // Makes the member `name` active ("$" and "NULL" clear the choice); an
  // unknown name reports 1001 and fails.  Choosing another member clears
  // the value.
  bool putAttribute(const char* name);
  bool putAttribute(TarnAttribute* attribute);
  // True when the active member is the one named `name`.
  bool isMember(const char* name);
  // The raw value slot.
  void* valueSlot() { return &value_; }


 private:
  TarnAttribute* active_ = nullptr;
  union {
    int64_t integer;
    double real;
    void* pointer;
  } value_;
};

TARN_OBJECT_AGGREGATE(ListOfTarnUnion, TarnUnion, TarnPtrList)

}  // namespace korva

#endif  // KORVA_OBJDB_UNION_H

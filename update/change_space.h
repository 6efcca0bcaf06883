// Where the update builds the instances of one change.
//
// The IFC builders (ifc2x2/) make instances of the generated IFC2x2
// classes.  On an IFC2x2 update design they build in the design itself.
// On a design of another schema (IFC2X3) they build in a scratch IFC2x2
// design, where the design's own instances that the new ones refer to are
// represented by stand-ins of the same entity; `commit` then carries the
// new instances into the update design by the schema conversion's plans
// (exchange/schema_conversion.h), a reference to a stand-in becoming one
// to the instance it stands for.  Nothing of the design's own content is
// converted or lost.  The scratch design is emptied after each change and
// serves the whole update session (deleted by EndUpdate).
#ifndef KORVA_UPDATE_CHANGE_SPACE_H
#define KORVA_UPDATE_CHANGE_SPACE_H

#include <unordered_map>

#include "exchange/schema_conversion.h"
#include "objdb/design.h"

namespace korva {
namespace update {

// Whether `design` holds IFC2x2 instances (of the generated classes).
bool HoldsIfc2x2(TarnDesign* design);

// Deletes the update session's scratch design, if one was made.
void DeleteScratch();

class ChangeSpace {
 public:
  explicit ChangeSpace(TarnDesign* design);
  ~ChangeSpace();
  ChangeSpace(const ChangeSpace&) = delete;
  ChangeSpace& operator=(const ChangeSpace&) = delete;

  // The design the builders build in; null when no scratch could be made.
  TarnDesign* design() const { return build_; }

  // An instance of the update design as class T for the builders: the
  // instance itself, or its stand-in (made once per instance).  Null for
  // null, or when T is not the class of its entity.
  template <class T>
  T* stand(TarnObject* existing) {
    return typecast<T>(standIn(existing));
  }
  TarnObject* standIn(TarnObject* existing);

  // Carries what was built into the update design (nothing to do on an
  // IFC2x2 design).  False, after a warning naming `call`, when something
  // could not be carried.
  bool commit(const char* call);

  // The update design's instance for an instance built here (after commit);
  // null for null or an instance not carried.
  TarnObject* inUpdate(TarnObject* built) const;

 private:
  TarnDesign* design_;
  TarnDesign* build_ = nullptr;
  bool scratch_ = false;
  InstancePairs known_;
  std::unordered_map<TarnObject*, TarnObject*> standIns_;  // update instance -> stand-in
  std::unordered_map<TarnObject*, TarnObject*> carried_;   // built instance -> update instance
};

}  // namespace update
}  // namespace korva

#endif  // KORVA_UPDATE_CHANGE_SPACE_H

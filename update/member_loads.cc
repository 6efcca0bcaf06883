#include "update/member_loads.h"

#include <vector>

#include "ifc2x2/new_entity.h"
#include "ifc2x2/owner_history.h"
#include "update/change_space.h"
#include "update/globalid_search.h"
#include "update/update_state.h"
#include "update/update_support.h"

namespace korva {
namespace update {

namespace {

struct Reaction {
  IfcStructuralPointReaction* reaction = nullptr;
  IfcStructuralActivityAssignmentSelect* member = nullptr;
};

Reaction MakeReaction(TarnDesign* d, IfcOwnerHistory* history, IfcStructuralItem* member,
                      const char* reactionName, const char* loadName, const EndForces& forces) {
  Reaction r;
  r.reaction = NewEntity<IfcStructuralPointReaction>(d);
  IfcStructuralLoadSingleForce* load = NewEntity<IfcStructuralLoadSingleForce>(d);
  r.member = NewEntity<IfcStructuralActivityAssignmentSelect>(d);
  if (r.reaction != nullptr) {
    SetRoot(r.reaction, history);
    r.reaction->Name(reactionName);
    r.reaction->AppliedLoad(load);
    r.reaction->GlobalOrLocal(IfcGlobalOrLocalEnum_LOCAL_COORDS);
  }
  if (load != nullptr) {
    load->ForceX(forces.values[0]);
    load->ForceY(forces.values[1]);
    load->ForceZ(forces.values[2]);
    load->MomentX(forces.values[3]);
    load->MomentY(forces.values[4]);
    load->MomentZ(forces.values[5]);
    load->Name(loadName);
  }
  if (r.member != nullptr) r.member->_IfcStructuralItem(member);
  return r;
}

void Connect(TarnDesign* d, IfcOwnerHistory* history, const Reaction& r, const char* description) {
  IfcRelConnectsStructuralActivity* c = NewEntity<IfcRelConnectsStructuralActivity>(d);
  if (c == nullptr) return;
  c->RelatedStructuralActivity(r.reaction);
  c->RelatingElement(r.member);
  SetRoot(c, history);
  c->Description(description);
}

}  // namespace

int AddMemberReaction(const char* memberId, const char* nodeI, const char* nodeJ, const char* loadGroupId,
                      const EndForces& atI, const EndForces& atJ) {
  TarnDesign* d;
  TarnObject* updateHistory;
  if (!RequireUpdate("UpdateOneCurveMemberReaction", &d, &updateHistory)) return -1;
  TarnObject* memberFound = FindByGlobalId(d, "IfcStructuralCurveMember", memberId);
  TarnObject* first = nullptr;
  TarnObject* second = nullptr;
  FindPairByGlobalId(d, "IfcStructuralPointConnection", nodeI, nodeJ, &first, &second);
  TarnObject* groupFound = FindByGlobalId(d, "IfcStructuralLoadGroup", loadGroupId);
  if (memberFound == nullptr || first == nullptr || second == nullptr || groupFound == nullptr) return -1;

  ChangeSpace space(d);
  d = space.design();
  auto* member = space.stand<IfcStructuralItem>(memberFound);
  auto* group = space.stand<IfcGroup>(groupFound);
  auto* history = space.stand<IfcOwnerHistory>(updateHistory);
  if (d == nullptr || member == nullptr || group == nullptr) return -1;

  Reaction i = MakeReaction(d, history, member, "Member Reaction Node I", "Reaction Node I", atI);
  Reaction j = MakeReaction(d, history, member, "Member Reaction Node J", "Reaction Node J", atJ);
  Connect(d, history, i, "Node I");
  Connect(d, history, j, "Node J");
  IfcRelAssignsToGroup* assignment = NewEntity<IfcRelAssignsToGroup>(d);
  if (assignment != nullptr) {
    SetRoot(assignment, history);
    assignment->RelatingGroup(group);
    if (i.reaction != nullptr) assignment->RelatedObjects()->append(i.reaction);
    if (j.reaction != nullptr) assignment->RelatedObjects()->append(j.reaction);
  }
  space.commit("UpdateOneCurveMemberReaction");
  return -1;
}

int AddCamberAndStuds(const char* memberId, int studs, double camber) {
  TarnDesign* d;
  TarnObject* updateHistory;
  if (!RequireUpdate("UpdateOneCurveMemberCamberAndStuds", &d, &updateHistory)) return -1;
  const std::vector<TarnObject*> members = FindAllByGlobalId(d, "IfcStructuralCurveMember", memberId);
  if (members.empty()) return -1;
  ChangeSpace space(d);
  d = space.design();
  auto* history = space.stand<IfcOwnerHistory>(updateHistory);
  if (d == nullptr) return -1;
  for (TarnObject* found : members) {
    auto* member = space.stand<IfcObject>(found);
    if (member == nullptr) continue;
    IfcPropertySingleValue* studCount = NewEntity<IfcPropertySingleValue>(d);
    if (studCount != nullptr) {
      studCount->Name("Number Stud");
      IfcValue* value = NewEntity<IfcValue>(d);
      IfcSimpleValue* simple = NewEntity<IfcSimpleValue>(d);
      if (simple != nullptr) simple->_IfcInteger(studs);
      if (value != nullptr) value->_IfcSimpleValue(simple);
      studCount->NominalValue(value);
    }
    IfcPropertySingleValue* camberValue = NewEntity<IfcPropertySingleValue>(d);
    if (camberValue != nullptr) {
      camberValue->Name("Camber");
      IfcValue* value = NewEntity<IfcValue>(d);
      IfcSimpleValue* simple = NewEntity<IfcSimpleValue>(d);
      if (simple != nullptr) simple->_IfcReal(camber);
      if (value != nullptr) value->_IfcSimpleValue(simple);
      camberValue->NominalValue(value);
    }
    IfcRelDefinesByProperties* defines = NewEntity<IfcRelDefinesByProperties>(d);
    if (defines != nullptr) defines->RelatedObjects()->append(member);
    IfcPropertySet* set = NewEntity<IfcPropertySet>(d);
    if (set != nullptr) {
      if (studCount != nullptr) set->HasProperties()->append(studCount);
      if (camberValue != nullptr) set->HasProperties()->append(camberValue);
      SetRoot(set, history);
    }
    if (defines != nullptr) {
      defines->RelatingPropertyDefinition(set);
      SetRoot(defines, history);
    }
  }
  space.commit("UpdateOneCurveMemberCamberAndStuds");
  return -1;
}

}  // namespace update
}  // namespace korva

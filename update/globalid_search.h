// Finding IFC objects of an update design by their GlobalId.
//
// Every walk goes over the instances of one entity type and its subtypes,
// in cursor order, and writes the trace line "Name: <type name>" to
// standard output for each instance it visits.  An instance matches when
// the first attribute named "GlobalId" of its domain holds a text equal to
// the wanted one byte for byte (letter case counts); an instance without
// GlobalId, or a null wanted text, never matches.
#ifndef KORVA_UPDATE_GLOBALID_SEARCH_H
#define KORVA_UPDATE_GLOBALID_SEARCH_H

#include <functional>
#include <vector>

namespace korva {

class TarnDesign;
class TarnObject;

namespace update {

// The first instance of `typeName` whose GlobalId is `id` (and that
// `accept`, when given, accepts), or null.  The walk stops at it.
TarnObject* FindByGlobalId(TarnDesign* design, const char* typeName, const char* id,
                           const std::function<bool(TarnObject*)>& accept = nullptr);

// Two objects of one type in one walk that stops as soon as both are found
// (both may be the same instance when the texts are equal).
void FindPairByGlobalId(TarnDesign* design, const char* typeName, const char* idA, const char* idB,
                        TarnObject** a, TarnObject** b);

// Every instance of `typeName` whose GlobalId is `id`, in walk order (the
// walk goes to the end).
std::vector<TarnObject*> FindAllByGlobalId(TarnDesign* design, const char* typeName, const char* id);

// Writes the trace line of one visited instance.
void TraceVisit(TarnObject* instance);

}  // namespace update
}  // namespace korva

#endif  // KORVA_UPDATE_GLOBALID_SEARCH_H

// The definitions of the exported getters and counters, expanded from the
// lists of api/import_getters.h.  A translation unit defines its family's
// getters with
//   #define KORVA_STATE BuildingImport()
//   KORVA_BUILDING_COUNTS(KORVA_DEFINE_COUNT)
//   KORVA_BUILDING_GETTERS(KORVA_DEFINE_GETTER)
// where KORVA_STATE names the import state object whose tables the lists
// name.  A getter reads the record its table finds at `index` (import_
// table.h): outside the table a building getter returns 0 and copies
// nothing, an analysis getter reads the table's default record.
#ifndef KORVA_IMPORT_GETTER_DEFINITIONS_H
#define KORVA_IMPORT_GETTER_DEFINITIONS_H

#include <cstddef>

#include "api/import_getters.h"
#include "import/import_table.h"

namespace korva {

static_assert(kLongestText + 1 == KORVA_TEXT_BUFFER_SIZE, "the bound the hosts are told");

// Element `position` of a record's array, or 0 outside it.
template <class Values>
auto ElementAt(const Values& values, int position) -> typename Values::value_type {
  using T = typename Values::value_type;
  return position >= 0 && static_cast<size_t>(position) < values.size() ? values[static_cast<size_t>(position)] : T();
}

}  // namespace korva

#define KORVA_GETTER_BODY_NUMBER(table, member)         \
  const auto* r = KORVA_STATE.table.find(index);        \
  return r != nullptr ? static_cast<double>(r->member) : 0.0;
#define KORVA_GETTER_BODY_INTEGER(table, member)        \
  const auto* r = KORVA_STATE.table.find(index);        \
  return r != nullptr ? static_cast<int>(r->member) : 0;
#define KORVA_GETTER_BODY_TEXTS(table, member, kind) \
  const auto& t = KORVA_STATE.table;                 \
  if (const auto* r = t.find(index)) korva::CopyText(r->member, t.generation(), buffer, kind);
#define KORVA_GETTER_BODY_TEXT(table, member) KORVA_GETTER_BODY_TEXTS(table, member, korva::TextKind::kText)
#define KORVA_GETTER_BODY_GLOBALID(table, member) KORVA_GETTER_BODY_TEXTS(table, member, korva::TextKind::kGlobalId)
#define KORVA_GETTER_BODY_NUMBER_AT(table, member)      \
  const auto* r = KORVA_STATE.table.find(index);        \
  return r != nullptr ? static_cast<double>(korva::ElementAt(r->member, position)) : 0.0;
#define KORVA_GETTER_BODY_INTEGER_AT(table, member)     \
  const auto* r = KORVA_STATE.table.find(index);        \
  return r != nullptr ? static_cast<int>(korva::ElementAt(r->member, position)) : 0;

#define KORVA_DEFINE_GETTER(Family, Field, Kind, table, member) \
  KORVA_API KORVA_GETTER_SIGNATURE_##Kind(Get##Family##Field) { KORVA_GETTER_BODY_##Kind(table, member) }
#define KORVA_DEFINE_COUNT(Name, value) \
  KORVA_API int KORVA_CALL Get##Name(void) { return KORVA_STATE.value; }

#endif  // KORVA_IMPORT_GETTER_DEFINITIONS_H

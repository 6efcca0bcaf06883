#include "cli/json_import.h"

#include <string>

#include "api/korvaifc.h"
#include "cli/ifc_text.h"

namespace korva {
namespace cli {
namespace {

// One getter of a record: a number, an integer or a text.
struct Field {
  const char* key;
  double(KORVA_CALL* number)(int);
  int(KORVA_CALL* integer)(int);
  void(KORVA_CALL* text)(int, char*);
};

// The fields of a record, in the order of the getter lists
// (api/import_getters.h); getters with a second index are not fields.
#define KORVA_JSON_FIELD_NUMBER(Family, Name) {#Name, &Get##Family##Name, nullptr, nullptr},
#define KORVA_JSON_FIELD_INTEGER(Family, Name) {#Name, nullptr, &Get##Family##Name, nullptr},
#define KORVA_JSON_FIELD_TEXT(Family, Name) {#Name, nullptr, nullptr, &Get##Family##Name},
#define KORVA_JSON_FIELD_GLOBALID KORVA_JSON_FIELD_TEXT
#define KORVA_JSON_FIELD_NUMBER_AT(Family, Name)
#define KORVA_JSON_FIELD_INTEGER_AT(Family, Name)
#define FIELD(Family, Name, Kind, table, member) KORVA_JSON_FIELD_##Kind(Family, Name)

const Field kBeamFields[] = {KORVA_BEAM_GETTERS(FIELD, Beam, beams)};
const Field kColumnFields[] = {KORVA_BEAM_GETTERS(FIELD, Column, columns)};
const Field kWallFields[] = {KORVA_WALL_GETTERS(FIELD, Wall, walls)};
const Field kSlabFields[] = {KORVA_WALL_GETTERS(FIELD, Slab, slabs)};
const Field kGeneralFields[] = {KORVA_GENERAL_GETTERS(FIELD)};
const Field kAnalysisModelFields[] = {KORVA_ANAMODEL_GETTERS(FIELD)};
const Field kCurveMemberFields[] = {KORVA_CURVE_MEMBER_GETTERS(FIELD)};
const Field kSurfaceMemberFields[] = {KORVA_SURFACE_MEMBER_GETTERS(FIELD)};
const Field kPointConnectionFields[] = {KORVA_POINT_CONNECTION_GETTERS(FIELD)};
const Field kLoadGroupFields[] = {KORVA_LOAD_GROUP_GETTERS(FIELD)};
const Field kPointActionFields[] = {KORVA_ACTION_GETTERS(FIELD, StrPointAction, pointActions)};
const Field kLinearActionFields[] = {KORVA_ACTION_GETTERS(FIELD, StrLinearAction, linearActions)};
const Field kGeneralMaterialFields[] = {KORVA_GENERAL_MATERIAL_GETTERS(FIELD)};
const Field kSteelFields[] = {KORVA_STEEL_GETTERS(FIELD)};
const Field kConcreteFields[] = {KORVA_CONCRETE_GETTERS(FIELD)};
const Field kProfileFields[] = {KORVA_PROFILE_GETTERS(FIELD)};
const Field kUnitFields[] = {KORVA_UNIT_GETTERS(FIELD)};

#undef FIELD

template <size_t N>
Json Record(const Field (&fields)[N], int index) {
  Json record = Json::object();
  for (const Field& f : fields) {
    if (f.number != nullptr) {
      record[f.key] = f.number(index);
    } else if (f.integer != nullptr) {
      record[f.key] = f.integer(index);
    } else {
      char text[KORVA_TEXT_BUFFER_SIZE] = "";
      f.text(index, text);
      record[f.key] = TextToUtf8(text);
    }
  }
  return record;
}

// The records 0 .. last of a table whose counter holds the last index, each
// with what `nested(index, record)` adds to it (its points, ...); in a
// summary, their number.
template <size_t N, class Nested>
void Table(JsonWriter& w, bool summary, const Field (&fields)[N], int last, Nested nested) {
  if (summary) {
    w.value(last >= 0 ? last + 1 : 0);
    return;
  }
  w.beginArray();
  for (int i = 0; i <= last; ++i) {
    Json record = Record(fields, i);
    nested(i, record);
    w.value(record);
  }
  w.endArray();
}

template <size_t N>
void Table(JsonWriter& w, bool summary, const Field (&fields)[N], int last) {
  Table(w, summary, fields, last, [](int, Json&) {});
}

// Outline points first .. first + count - 1 of walls and slabs.
Json Outline(double(KORVA_CALL* x)(int), double(KORVA_CALL* y)(int), int first, int count) {
  Json points = Json::array();
  for (int k = 0; k < count; ++k) points.push_back({x(first + k), y(first + k)});
  return points;
}

template <size_t N>
void OutlinedTable(JsonWriter& w, bool summary, const Field (&fields)[N], int last, int(KORVA_CALL* index)(int),
                   int(KORVA_CALL* total)(int), double(KORVA_CALL* x)(int), double(KORVA_CALL* y)(int)) {
  Table(w, summary, fields, last, [&](int i, Json& r) { r["points"] = Outline(x, y, index(i), total(i)); });
}

// The connections of a member: entries 0 .. last, where the last index is
// the record's NumberStructuralConnection; entries without a connection
// (a member nothing refers to keeps 0) are left out.
Json Connections(int member, int last, int(KORVA_CALL* id)(int, int), double(KORVA_CALL* const (&values)[6])(int, int)) {
  static const char* const kKeys[6] = {"Dx", "Dy", "Dz", "Rx", "Ry", "Rz"};
  Json connections = Json::array();
  for (int k = 0; k <= last; ++k) {
    const int connection = id(member, k);
    if (connection == 0) continue;
    Json entry = {{"id", connection}};
    for (int v = 0; v < 6; ++v) entry[kKeys[v]] = values[v](member, k);
    connections.push_back(entry);
  }
  return connections;
}

double(KORVA_CALL* const kCurveValues[6])(int, int) = {
    &GetStrCurveMemberStructuralConnectionDx, &GetStrCurveMemberStructuralConnectionDy,
    &GetStrCurveMemberStructuralConnectionDz, &GetStrCurveMemberStructuralConnectionRx,
    &GetStrCurveMemberStructuralConnectionRy, &GetStrCurveMemberStructuralConnectionRz};
double(KORVA_CALL* const kSurfaceValues[6])(int, int) = {
    &GetStrSurfaceMemberStructuralConnectionDx, &GetStrSurfaceMemberStructuralConnectionDy,
    &GetStrSurfaceMemberStructuralConnectionDz, &GetStrSurfaceMemberStructuralConnectionRx,
    &GetStrSurfaceMemberStructuralConnectionRy, &GetStrSurfaceMemberStructuralConnectionRz};

}  // namespace

void WriteBuilding(JsonWriter& w, bool summary) {
  w.beginObject();
  w.key("beams");
  Table(w, summary, kBeamFields, GetTotalBeams());
  w.key("columns");
  Table(w, summary, kColumnFields, GetTotalColumns());
  w.key("slabs");
  OutlinedTable(w, summary, kSlabFields, GetTotalSlabs(), &GetSlabIndex, &GetSlabTotal, &GetSlabX, &GetSlabY);
  w.key("walls");
  OutlinedTable(w, summary, kWallFields, GetTotalWalls(), &GetWallIndex, &GetWallTotal, &GetWallX, &GetWallY);
  w.key("generals");
  Table(w, summary, kGeneralFields, GetTotalGenerals(), [](int i, Json& r) {
    Json points = Json::array();
    const int first = GetGeneralIndex(i);
    for (int k = 0; k < GetGeneralTotal(i); ++k)
      points.push_back({GetGeneralX(first + k), GetGeneralY(first + k), GetGeneralZ(first + k)});
    r["points"] = points;
  });
  w.endObject();
}

void WriteModelFields(JsonWriter& w, int index, bool summary) {
  const Json record = Record(kAnalysisModelFields, index);
  if (!summary) {
    w.members(record);
    return;
  }
  w.key("Name");
  w.value(record["Name"]);
  w.key("FileID");
  w.value(record["FileID"]);
}

void WriteModelContents(JsonWriter& w, bool summary) {
  w.key("curveMembers");
  Table(w, summary, kCurveMemberFields, GetNumberStrCurveMembers(), [](int i, Json& r) {
    r["connections"] = Connections(i, GetStrCurveMemberNumberStructuralConnection(i),
                                   &GetStrCurveMemberStructuralConnection, kCurveValues);
  });
  w.key("surfaceMembers");
  Table(w, summary, kSurfaceMemberFields, GetNumberStrSurfaceMembers(), [](int i, Json& r) {
    Json points = Json::array();
    for (int k = 0; k < GetStrSurfaceMemberNumberPts(i); ++k)
      points.push_back({GetStrSurfaceMemberPx(i, k), GetStrSurfaceMemberPy(i, k), GetStrSurfaceMemberPz(i, k)});
    r["points"] = points;
    r["connections"] = Connections(i, GetStrSurfaceMemberNumberStructuralConnection(i),
                                   &GetStrSurfaceMemberStructuralConnection, kSurfaceValues);
  });
  w.key("pointConnections");
  Table(w, summary, kPointConnectionFields, GetNumberStrPointConnections());
}

void WriteLoads(JsonWriter& w, bool summary, bool filled) {
  w.beginObject();
  w.key("loadGroups");
  Table(w, summary, kLoadGroupFields, filled ? GetNumberStrLoadGroups() : -1, [](int i, Json& r) {
    Json members = Json::array();
    for (int k = 0; k < GetStrLoadGroupTotalMember(i); ++k) members.push_back(GetStrLoadGroupMember(i, k));
    r["members"] = members;
  });
  w.key("pointActions");
  Table(w, summary, kPointActionFields, filled ? GetNumberStrPointActions() : -1);
  w.key("linearActions");
  Table(w, summary, kLinearActionFields, filled ? GetNumberStrLinearActions() : -1);
  w.endObject();
}

void WriteMaterials(JsonWriter& w, bool summary) {
  w.beginObject();
  w.key("general");
  Table(w, summary, kGeneralMaterialFields, GetNumberGeneralMaterials());
  w.key("steel");
  Table(w, summary, kSteelFields, GetNumberMechSteelMats());
  w.key("concrete");
  Table(w, summary, kConcreteFields, GetNumberMechConcMats());
  w.endObject();
}

void WriteProfiles(JsonWriter& w, bool summary) {
  Table(w, summary, kProfileFields, GetNumberStrProfileProperties());
}

void WriteUnits(JsonWriter& w, bool summary) {
  // The counter holds the number of units; the derived-unit elements of
  // all units follow one another.
  int element = 0;
  Table(w, summary, kUnitFields, GetNumberProjectUnits() - 1, [&](int i, Json& unit) {
    Json exponents = Json::array();
    for (int k = 0; k < 7; ++k) exponents.push_back(GetProjectConversionBasedExponent(i, k));
    unit["ConversionBasedExponent"] = exponents;
    Json elements = Json::array();
    for (int k = 0; k < GetProjectTotDerivedUnit(i); ++k, ++element)
      elements.push_back({{"DerivedUnitIndex", GetProjectDerivedUnitIndex(element)},
                          {"DerivedUnitExp", GetProjectDerivedUnitExp(element)}});
    unit["derivedUnitElements"] = elements;
  });
}

}  // namespace cli
}  // namespace korva

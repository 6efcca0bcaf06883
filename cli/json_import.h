// The import tables as JSON, read record by record through the exported
// getters exactly as a host reads them, and written as they are read (one
// record in memory at a time).  Each record is an object whose keys are the
// getters' names without their family prefix ("Startx", "GUID", "FileID",
// ...), in the order of the getter lists; text getters that copy nothing
// give "", the others' text is UTF-8 (cli/ifc_text.h).  With `summary` a
// table is written as its number of records, read from the counters alone.
#ifndef KORVA_CLI_JSON_IMPORT_H
#define KORVA_CLI_JSON_IMPORT_H

#include "cli/json_stream.h"

namespace korva {
namespace cli {

// After FindTotalObjects and CheckNumber: {"beams": [...], "columns",
// "slabs", "walls", "generals"}; walls and slabs carry their outline
// ("points": [[x, y], ...]), proxies their brep points ([[x, y, z], ...]).
void WriteBuilding(JsonWriter& w, bool summary);

// After FindTotalAnaModels: the members of the analysis-model record
// `index` into the open object (in a summary only its Name and FileID),
// and the materials ({"general", "steel", "concrete"}), profile properties
// and project units (with their derived-unit elements and conversion
// exponents), which the fills of one model leave as they are.
void WriteModelFields(JsonWriter& w, int index, bool summary);
void WriteMaterials(JsonWriter& w, bool summary);
void WriteProfiles(JsonWriter& w, bool summary);
void WriteUnits(JsonWriter& w, bool summary);

// After CheckAnaModel: the members "curveMembers", "surfaceMembers" and
// "pointConnections" of the model it read, into the open object (members
// with their "connections": [{"id", "Dx".."Rz"}], surface members with
// "points"), and {"loadGroups" (with "members"), "pointActions",
// "linearActions"}, which do not depend on the model; without `filled`
// (no fill ran, the census having met none) the three are empty.
void WriteModelContents(JsonWriter& w, bool summary);
void WriteLoads(JsonWriter& w, bool summary, bool filled);

}  // namespace cli
}  // namespace korva

#endif  // KORVA_CLI_JSON_IMPORT_H

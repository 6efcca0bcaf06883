// The import tables as JSON, read record by record through the exported
// getters exactly as a host reads them.  Each record is an object whose keys
// are the getters' names without their family prefix ("Startx", "GUID",
// "FileID", ...); text getters that copy nothing give "".
#ifndef KORVA_CLI_JSON_IMPORT_H
#define KORVA_CLI_JSON_IMPORT_H

#include <nlohmann/json.hpp>

namespace korva {
namespace cli {

using Json = nlohmann::ordered_json;

// After FindTotalObjects and CheckNumber: {"beams": [...], "columns",
// "slabs", "walls", "generals"}; walls and slabs carry their outline
// ("points": [[x, y], ...]), proxies their brep points ([[x, y, z], ...]).
Json BuildingElementsJson();

// After FindTotalAnaModels: the analysis-model records, and the materials
// ({"general", "steel", "concrete"}), profile properties and project units
// (with their derived-unit elements and conversion exponents).
Json AnalysisModelsJson();
Json MaterialsJson();
Json ProfilesJson();
Json UnitsJson();

// After CheckAnaModel: {"curveMembers", "surfaceMembers",
// "pointConnections"} of the model it read (members with their
// "connections": [{"id", "Dx".."Rz"}], surface members with "points"), and
// {"loadGroups" (with "members"), "pointActions", "linearActions"}.
Json ModelContentsJson();
Json LoadsJson();

}  // namespace cli
}  // namespace korva

#endif  // KORVA_CLI_JSON_IMPORT_H

// The model files of export-building and export-analysis (docs/CLI.md):
// JSON read into plain records, checked so that the export calls only get
// what they can write.  A defect is described with its place in the file
// ("beams[2].points: ...").
#ifndef KORVA_CLI_JSON_MODEL_H
#define KORVA_CLI_JSON_MODEL_H

#include <array>
#include <string>
#include <vector>

namespace korva {
namespace cli {

using Point2 = std::array<double, 2>;
using Point3 = std::array<double, 3>;

// The file header and the length unit.  Enumerators are kept by name (or
// as the index given) until the schema's dictionary resolves them.
struct ExportHeader {
  std::string description = "korva-ifc export";
  std::string originatingSystem = "korva-ifc";
  std::string author;
  std::string organization;
  std::string authorization;
  std::string application = "korva-ifc";
  std::string prefix;  // IfcSIPrefix enumerator; empty: no prefix
  std::string unit = "METRE";  // IfcSIUnitName enumerator
};

struct Storey {
  std::string name;
  double elevation = 0.0;
};

// A column, beam, slab or wall: a plan polygon extruded by depth along the
// local Z axis of its placement.
struct BuildingElement {
  int storey = 1;
  std::vector<Point2> points;
  double depth = 0.0;
  Point3 location{{0.0, 0.0, 0.0}};
  Point3 axis{{0.0, 0.0, 1.0}};
  Point3 ref{{1.0, 0.0, 0.0}};
};

struct BuildingModel {
  ExportHeader header;
  std::vector<Storey> storeys;
  std::vector<BuildingElement> columns, beams, slabs, walls;
};

struct AnalysisNode {
  std::string id;
  int storey = 1;
  Point3 at{};
};

struct CurveMember {
  std::string name;
  int storey = 1;
  std::string start, end;  // node ids
};

struct SurfaceMember {
  std::string name;
  int storey = 1;
  std::vector<std::string> nodes;  // corner node ids, in order
};

struct AnalysisModel {
  ExportHeader header;
  std::string name = "Analysis Model";
  std::string description;
  std::vector<Storey> storeys;
  std::vector<AnalysisNode> nodes;
  std::vector<CurveMember> curveMembers;
  std::vector<SurfaceMember> surfaceMembers;
};

// Parse JSON text; false with `error` set when the text is not JSON or not
// a model of that kind.
bool ParseBuildingModel(const std::string& text, BuildingModel* model, std::string* error);
bool ParseAnalysisModel(const std::string& text, AnalysisModel* model, std::string* error);

}  // namespace cli
}  // namespace korva

#endif  // KORVA_CLI_JSON_MODEL_H

#include "bench/bench_model.h"

#include <cstdio>

#include "bench/bench_builder.h"

namespace korva {
namespace bench {

long BuildBuilding(TarnDesign* design, long instances) {
  Builder b(design);
  char id[23];
  long ids = 0;

  IfcOwnerHistory* history = b.make<IfcOwnerHistory>();
  history->CreationDate(1700000000);
  IfcProject* project = b.make<IfcProject>();
  GlobalIdOf(ids++, id);
  project->GlobalId(id);
  project->OwnerHistory(history);
  project->Name("Benchmark building");
  IfcLocalPlacement* world =
      b.placement(nullptr, b.axes(b.point(0, 0, 0), b.direction(0, 0, 1), b.direction(1, 0, 0)));

  // Each element is 20 instances; 1000 elements per storey.
  const long kPerElement = 20;
  const long kPerStorey = 1000;
  const long elements = instances > 40 ? (instances - 10) / kPerElement : 1;
  IfcBuildingStorey* storey = nullptr;
  IfcLocalPlacement* storeyPlacement = nullptr;
  IfcRelContainedInSpatialStructure* contained = nullptr;
  static const char* const kKinds[4] = {"IfcWallStandardCase", "IfcSlab", "IfcBeam", "IfcColumn"};
  static const char* const kNames[4] = {"Wall", "Slab", "Beam", "Column"};
  char name[64];
  for (long e = 0; e < elements; ++e) {
    if (e % kPerStorey == 0) {
      const double elevation = 3.5 * static_cast<double>(e / kPerStorey);
      storey = b.make<IfcBuildingStorey>();
      GlobalIdOf(ids++, id);
      storey->GlobalId(id);
      storey->OwnerHistory(history);
      std::snprintf(name, sizeof name, "Storey %ld", e / kPerStorey + 1);
      storey->Name(name);
      storey->Elevation(elevation);
      storeyPlacement = b.placement(
          world, b.axes(b.point(0, 0, elevation), b.direction(0, 0, 1), b.direction(1, 0, 0)));
      storey->ObjectPlacement(storeyPlacement);
      contained = b.make<IfcRelContainedInSpatialStructure>();
      GlobalIdOf(ids++, id);
      contained->GlobalId(id);
      contained->OwnerHistory(history);
      contained->Name("Storey elements");
      contained->RelatingStructure(storey);
    }
    const int kind = static_cast<int>(e % 4);
    // Outline: a closed quadrilateral, the first point repeated.
    const double x = Coordinate(e, 1), y = Coordinate(e, 2);
    const double w = 0.2 + static_cast<double>(e % 17) * 0.125, l = 1.5 + static_cast<double>(e % 23) * 0.25;
    IfcShapeRepresentation* body = b.sweptOutline(l, w, 2.75 + static_cast<double>(e % 5) * 0.05);
    IfcProductDefinitionShape* shape = b.make<IfcProductDefinitionShape>();
    shape->Representations()->add(body);

    IfcBuildingElement* element = typecast<IfcBuildingElement>(design->newInstance(kKinds[kind]));
    GlobalIdOf(ids++, id);
    element->GlobalId(id);
    element->OwnerHistory(history);
    std::snprintf(name, sizeof name, "%s %ld", kNames[kind], e + 1);
    element->Name(name);
    element->Description("Generated for the exchange benchmark");
    element->ObjectPlacement(b.placement(
        storeyPlacement,
        b.axes(b.point(x, y, 0), b.direction(0, 0, 1), b.direction(kind == 1 ? 0.0 : 1.0, kind == 1 ? 1.0 : 0.0, 0))));
    element->Representation(shape);
    contained->RelatedElements()->add(element);
  }
  return b.made() + elements;
}

long ScanInstanceStatements(std::FILE* in) {
  // States: 0 between tokens, 1 in a string, 2 after '/', 3 in a comment,
  // 4 in a comment after '*', 5 in the digits after '#'.
  static char buf[1 << 16];
  long count = 0;
  int state = 0;
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, in)) > 0) {
    for (const char *p = buf, *end = buf + n; p < end; ++p) {
      const char c = *p;
      switch (state) {
        case 0: state = c == '\'' ? 1 : c == '/' ? 2 : c == '#' ? 5 : 0; break;
        case 1: if (c == '\'') state = 0; break;  // '' reads as two strings
        case 2: state = c == '*' ? 3 : c == '\'' ? 1 : c == '#' ? 5 : 0; break;
        case 3: if (c == '*') state = 4; break;
        case 4: state = c == '/' ? 0 : c == '*' ? 4 : 3; break;
        case 5:
          if (c >= '0' && c <= '9') break;
          if (c == '=') ++count;
          state = c == '\'' ? 1 : c == '/' ? 2 : c == '#' ? 5 : 0;
          break;
      }
    }
  }
  return count;
}

}  // namespace bench
}  // namespace korva

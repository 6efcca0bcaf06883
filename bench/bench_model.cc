#include "bench/bench_model.h"

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ifc2x2/ifc2x2.h"
#include "objdb/design.h"

namespace korva {
namespace bench {
namespace {

// Reads one "Name:   123 kB" line of /proc/self/status.
std::size_t StatusKilobytes(const char* field) {
  std::FILE* f = std::fopen("/proc/self/status", "r");
  if (f == nullptr) return 0;
  char line[256];
  std::size_t kb = 0;
  const std::size_t n = std::strlen(field);
  while (std::fgets(line, sizeof line, f) != nullptr)
    if (std::strncmp(line, field, n) == 0 && line[n] == ':') kb = std::strtoul(line + n + 1, nullptr, 10);
  std::fclose(f);
  return kb * 1024;
}

template <class T>
T* Make(TarnDesign* d) {
  return typecast<T>(d->newInstance(T::classType.name()));
}

class Builder {
 public:
  explicit Builder(TarnDesign* d) : d_(d) {}

  long made() const { return made_; }

  IfcCartesianPoint* point(double x, double y, double z) {
    IfcCartesianPoint* p = make<IfcCartesianPoint>();
    ListOfIfcLengthMeasure* c = p->Coordinates();
    c->add(x);
    c->add(y);
    c->add(z);
    return p;
  }
  IfcCartesianPoint* point2(double x, double y) {
    IfcCartesianPoint* p = make<IfcCartesianPoint>();
    p->Coordinates()->add(x);
    p->Coordinates()->add(y);
    return p;
  }
  IfcDirection* direction(double x, double y, double z) {
    IfcDirection* r = make<IfcDirection>();
    ListOfdouble* c = r->DirectionRatios();
    c->add(x);
    c->add(y);
    c->add(z);
    return r;
  }
  IfcAxis2Placement3D* axes(IfcCartesianPoint* at, IfcDirection* axis, IfcDirection* ref) {
    IfcAxis2Placement3D* a = make<IfcAxis2Placement3D>();
    a->Location(at);
    a->Axis(axis);
    a->RefDirection(ref);
    return a;
  }
  IfcLocalPlacement* placement(IfcLocalPlacement* relTo, IfcAxis2Placement3D* a) {
    IfcLocalPlacement* p = make<IfcLocalPlacement>();
    IfcAxis2Placement* select = Make<IfcAxis2Placement>(d_);  // a select, not an entity
    select->_IfcAxis2Placement3D(a);
    p->RelativePlacement(select);
    if (relTo != nullptr) p->PlacementRelTo(relTo);
    return p;
  }
  template <class T>
  T* make() {
    ++made_;
    return Make<T>(d_);
  }

 private:
  TarnDesign* d_;
  long made_ = 0;
};

// A 22-character identifier in the GlobalId alphabet, unique per n.
void GlobalIdOf(long n, char* out) {
  static const char kAlphabet[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_$";
  unsigned long long v = 0x9E3779B97F4A7C15ull * static_cast<unsigned long long>(n + 1);
  for (int i = 0; i < 22; ++i) {
    out[i] = kAlphabet[(v >> ((i * 6) % 60)) & 63];
    if (i == 10) v ^= static_cast<unsigned long long>(n) * 0xBF58476D1CE4E5B9ull;
  }
  out[22] = '\0';
}

// Varied decimals with up to three places, as drawn coordinates are.
double Coordinate(long n, int salt) {
  const long k = (n * 7919 + salt * 104729) % 2000000;
  return static_cast<double>(k - 1000000) / 1000.0;
}

}  // namespace

double SystemSeconds() {
  rusage usage{};
  if (getrusage(RUSAGE_SELF, &usage) != 0) return 0;
  return static_cast<double>(usage.ru_stime.tv_sec) + static_cast<double>(usage.ru_stime.tv_usec) / 1e6;
}

std::size_t PeakMemory() { return StatusKilobytes("VmHWM"); }
std::size_t CurrentMemory() { return StatusKilobytes("VmRSS"); }

bool ResetPeakMemory() {
  std::FILE* f = std::fopen("/proc/self/clear_refs", "w");
  if (f == nullptr) return false;
  const bool ok = std::fputs("5", f) >= 0;
  return std::fclose(f) == 0 && ok;
}

std::string LoadAverage() {
  std::FILE* f = std::fopen("/proc/loadavg", "r");
  if (f == nullptr) return "?";
  char buf[128] = {0};
  double a = 0, b = 0, c = 0;
  std::string out = "?";
  if (std::fgets(buf, sizeof buf, f) != nullptr && std::sscanf(buf, "%lf %lf %lf", &a, &b, &c) == 3) {
    std::snprintf(buf, sizeof buf, "%.2f %.2f %.2f", a, b, c);
    out = buf;
  }
  std::fclose(f);
  return out;
}

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
    IfcPolyline* outline = b.make<IfcPolyline>();
    ListOfIfcCartesianPoint* points = outline->Points();
    points->add(b.point2(0, 0));
    points->add(b.point2(l, 0));
    points->add(b.point2(l, w));
    points->add(b.point2(0, w));
    points->add(points->first());
    IfcArbitraryClosedProfileDef* profile = b.make<IfcArbitraryClosedProfileDef>();
    profile->ProfileType(IfcProfileTypeEnum_AREA);
    profile->OuterCurve(outline);
    IfcExtrudedAreaSolid* solid = b.make<IfcExtrudedAreaSolid>();
    solid->SweptArea(profile);
    solid->Position(b.axes(b.point(0, 0, 0), b.direction(0, 0, 1), b.direction(1, 0, 0)));
    solid->ExtrudedDirection(b.direction(0, 0, 1));
    solid->Depth(2.75 + static_cast<double>(e % 5) * 0.05);
    IfcShapeRepresentation* body = b.make<IfcShapeRepresentation>();
    body->RepresentationIdentifier("Body");
    body->RepresentationType("SweptSolid");
    body->Items()->add(solid);
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

std::string ReadWholeFile(const std::string& path) {
  std::string out;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return out;
  char buf[1 << 16];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  std::fclose(f);
  return out;
}

long FileSize(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return -1;
  std::fseek(f, 0, SEEK_END);
  const long size = std::ftell(f);
  std::fclose(f);
  return size;
}

}  // namespace bench
}  // namespace korva

// korva-ifc export-building and export-analysis: a model file (JSON,
// docs/CLI.md) written to IFC through the library's exported export
// functions, with the arrays and call sequence a host uses.
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "api/korvaifc.h"
#include "cli/cli.h"
#include "cli/json_model.h"
#include "ifc2x2/schema.h"
#include "objdb/dictionary_binding.h"
#include "objdb/domain.h"
#include "platform/platform.h"

namespace korva {
namespace cli {
namespace {

int RunExportBuilding(const Invocation& call);
int RunExportAnalysis(const Invocation& call);

}  // namespace

extern const Command kExportBuildingCommand = {
    "export-building", "[--schemas DIR] MODEL.json OUT.ifc",
    "Writes the building described by MODEL.json (storeys; columns, beams, slabs\n"
    "and walls as plan polygons with a depth and a placement; see docs/CLI.md)\n"
    "to OUT.ifc with ExportOpenFileWithStoryesAndSlabsWalls.\n\n"
    "  --schemas DIR  the folder of the compiled schemas\n",
    RunExportBuilding};

extern const Command kExportAnalysisCommand = {
    "export-analysis", "[--schemas DIR] MODEL.json OUT.ifc",
    "Writes the structural analysis model described by MODEL.json (storeys,\n"
    "nodes, curve members and surface members between nodes; see docs/CLI.md)\n"
    "to OUT.ifc with the analysis-model export calls: ExportAnalysisModelOpenFile,\n"
    "...BuidlingOneStory per storey, ...AddAnalysisModel, ...AddOnePointConnection\n"
    "per node, ...AddOneCurveMember, ...AddOneSurfaceMember, ...CloseFile.\n\n"
    "  --schemas DIR  the folder of the compiled schemas\n",
    RunExportAnalysis};

namespace {

char* Text(const std::string& s) { return const_cast<char*>(s.c_str()); }

// Reads the whole model file.
int ReadModelFile(const std::string& path, std::string* text) {
  if (int status = CheckInput(path)) return status;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return Fail(kExitNoInput, "%s: cannot be read", path.c_str());
  char buffer[8192];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text->append(buffer, n);
  std::fclose(f);
  return kExitOk;
}

// An enumerator of `type` by name (any case) or index; -1 for an empty
// name, -2 when the name is not an enumerator.
int EnumeratorIndex(const char* type, const std::string& name) {
  if (name.empty()) return -1;
  TarnDomain* domain = FindDomainInSchema(LoadIfcSchema(), type);
  const int count = domain != nullptr ? static_cast<int>(domain->enumerators().size()) : 0;
  char* end = nullptr;
  const long index = std::strtol(name.c_str(), &end, 10);
  if (*end == '\0') return index >= 0 && index < count ? static_cast<int>(index) : -2;
  for (int i = 0; i < count; ++i) {
    const char* e = domain->enumerators()[i];
    std::string upper;
    for (char c : name) upper.push_back(static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c));
    if (upper == e) return i;
  }
  return -2;
}

// The common part of both commands: arguments, files, schema, units.
struct ExportJob {
  std::string modelPath;
  std::string modelText;
  PathParts out;
  std::string outPath;
  int prefix = -1;
  int unit = -1;
};

int Prepare(const Command& command, const Invocation& call, ExportJob* job) {
  Arguments args;
  if (!ParseArguments(command, call, {}, {"--schemas"}, &args)) return kExitUsage;
  if (args.positional.size() != 2) return UsageError(command, "a model file and an output file expected");
  job->modelPath = args.positional[0];
  job->outPath = args.positional[1];
  job->out = SplitPath(job->outPath);
  // The library saves a name without extension as NAME.stp.
  if (job->out.file.find('.') == std::string::npos)
    return UsageError(command, "the output file needs an extension (OUT.ifc)");
  if (int status = ReadModelFile(job->modelPath, &job->modelText)) return status;
  if (int status = CheckOutput(job->outPath)) return status;
  if (!StartLibrary(call.program, args.value("--schemas"))) return kExitNoSchema;
  // Whether the export wrote the file is told by its presence afterwards.
  std::remove(job->outPath.c_str());
  return kExitOk;
}

int ResolveUnits(const ExportHeader& h, const std::string& modelPath, ExportJob* job) {
  job->prefix = EnumeratorIndex("IfcSIPrefix", h.prefix);
  if (job->prefix == -2) return Fail(kExitBadModel, "%s: units.prefix: no IfcSIPrefix '%s'", modelPath.c_str(), h.prefix.c_str());
  job->unit = EnumeratorIndex("IfcSIUnitName", h.unit);
  if (job->unit < 0) return Fail(kExitBadModel, "%s: units.length: no IfcSIUnitName '%s'", modelPath.c_str(), h.unit.c_str());
  return kExitOk;
}

// The library reports a file it cannot save and goes on; the file's
// presence tells.
int Written(const ExportJob& job) {
  if (!platform::IsRegularFile(job.outPath)) return Fail(kExitNoOutput, "%s was not written", job.outPath.c_str());
  return kExitOk;
}

// The arrays of ExportOpenFileWithStoryesAndSlabsWalls.  Per-element and
// per-storey arrays are read from index 1, so element 0 is a placeholder;
// the running element number e counts columns, beams, slabs, walls.
struct BuildingArrays {
  std::vector<double> elevation{0.0}, x{0.0}, y{0.0};
  std::vector<double> depth{0.0}, lx{0.0}, ly{0.0}, lz{0.0}, ax{0.0}, ay{0.0}, az{0.0}, rx{0.0}, ry{0.0}, rz{0.0};
  struct Kind {
    std::vector<int> start{0}, count{0}, storey{0};
  } columns, beams, slabs, walls;

  void add(Kind* kind, const BuildingElement& e) {
    kind->start.push_back(static_cast<int>(x.size()));
    kind->count.push_back(static_cast<int>(e.points.size()));
    kind->storey.push_back(e.storey);
    for (const Point2& p : e.points) {
      x.push_back(p[0]);
      y.push_back(p[1]);
    }
    depth.push_back(e.depth);
    lx.push_back(e.location[0]), ly.push_back(e.location[1]), lz.push_back(e.location[2]);
    ax.push_back(e.axis[0]), ay.push_back(e.axis[1]), az.push_back(e.axis[2]);
    rx.push_back(e.ref[0]), ry.push_back(e.ref[1]), rz.push_back(e.ref[2]);
  }
};

int RunExportBuilding(const Invocation& call) {
  ExportJob job;
  if (int status = Prepare(kExportBuildingCommand, call, &job)) return status;
  BuildingModel model;
  std::string error;
  const std::string& modelPath = job.modelPath;
  if (!ParseBuildingModel(job.modelText, &model, &error))
    return Fail(kExitBadModel, "%s: %s", modelPath.c_str(), error.c_str());
  if (int status = ResolveUnits(model.header, modelPath, &job)) return status;

  BuildingArrays a;
  for (const Storey& s : model.storeys) a.elevation.push_back(s.elevation);
  for (const BuildingElement& e : model.columns) a.add(&a.columns, e);
  for (const BuildingElement& e : model.beams) a.add(&a.beams, e);
  for (const BuildingElement& e : model.slabs) a.add(&a.slabs, e);
  for (const BuildingElement& e : model.walls) a.add(&a.walls, e);
  const ExportHeader& h = model.header;
  ExportOpenFileWithStoryesAndSlabsWalls(
      Text(job.out.file), Text(job.out.folder), Text(h.description), Text(h.originatingSystem), Text(h.author),
      Text(h.organization), Text(h.authorization), Text(h.application), job.prefix, job.unit,
      static_cast<int>(model.columns.size()), static_cast<int>(model.beams.size()),
      static_cast<int>(model.storeys.size()), static_cast<int>(model.slabs.size()),
      static_cast<int>(model.walls.size()), a.elevation.data(), a.x.data(), a.y.data(), a.columns.start.data(),
      a.columns.count.data(), a.columns.storey.data(), a.beams.start.data(), a.beams.count.data(),
      a.beams.storey.data(), a.slabs.start.data(), a.slabs.count.data(), a.slabs.storey.data(),
      a.walls.start.data(), a.walls.count.data(), a.walls.storey.data(), a.depth.data(), a.lx.data(), a.ly.data(),
      a.lz.data(), a.ax.data(), a.ay.data(), a.az.data(), a.rx.data(), a.ry.data(), a.rz.data());
  return Written(job);
}

int RunExportAnalysis(const Invocation& call) {
  ExportJob job;
  if (int status = Prepare(kExportAnalysisCommand, call, &job)) return status;
  AnalysisModel model;
  std::string error;
  const std::string& modelPath = job.modelPath;
  if (!ParseAnalysisModel(job.modelText, &model, &error))
    return Fail(kExitBadModel, "%s: %s", modelPath.c_str(), error.c_str());
  if (int status = ResolveUnits(model.header, modelPath, &job)) return status;

  const ExportHeader& h = model.header;
  ExportAnalysisModelOpenFile(Text(job.out.file), nullptr, Text(h.description), Text(h.originatingSystem),
                              Text(h.author), Text(h.organization), Text(h.authorization), Text(h.application),
                              job.prefix, job.unit);
  QuietLibrary();
  for (const Storey& s : model.storeys) ExportAnalysisModelBuidlingOneStory(Text(s.name), s.elevation);
  ExportAnalysisModelAddAnalysisModel(Text(model.name), Text(model.description));

  // Nodes are referred to by (storey, position in the storey); the
  // position is what adding the node returned.
  std::map<std::string, std::pair<int, int>> where;
  std::map<std::string, Point3> at;
  for (const AnalysisNode& n : model.nodes) {
    const int position =
        ExportAnalysisModelAddOnePointConnection(Text(n.id), n.storey, n.at[0], n.at[1], n.at[2]);
    where[n.id] = {n.storey, position};
    at[n.id] = n.at;
  }
  for (const CurveMember& c : model.curveMembers) {
    const Point3& p = at[c.start];
    const Point3& q = at[c.end];
    ExportAnalysisModelAddOneCurveMember(Text(c.name), c.storey, where[c.start].first, where[c.end].first,
                                         where[c.start].second, where[c.end].second, p[0], p[1], p[2], q[0],
                                         q[1], q[2]);
  }
  for (const SurfaceMember& s : model.surfaceMembers) {
    std::vector<int> storeys, positions;
    std::vector<double> xs, ys, zs;
    for (const std::string& id : s.nodes) {
      storeys.push_back(where[id].first);
      positions.push_back(where[id].second);
      xs.push_back(at[id][0]);
      ys.push_back(at[id][1]);
      zs.push_back(at[id][2]);
    }
    ExportAnalysisModelAddOneSurfaceMember(Text(s.name), s.storey, static_cast<int>(s.nodes.size()),
                                           storeys.data(), positions.data(), xs.data(), ys.data(), zs.data());
  }
  ExportAnalysisModelCloseFile(Text(job.out.file), Text(job.out.folder));
  return Written(job);
}

}  // namespace
}  // namespace cli
}  // namespace korva

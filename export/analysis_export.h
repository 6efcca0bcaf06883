// The structural analysis model written to an IFC2x2 file over a sequence
// of calls: open, storeys, the analysis model, then point connections,
// curve members and surface members one at a time, close.
//
// Between the calls the export in progress (its design, the shared objects,
// the storeys with what each contains, the model and its group assignment)
// is one AnalysisModelExport kept by the library state
// (api/library_state.h): OpenFile makes it and CloseFile ends it.  Every item is written with its own local placement
// relative to the shared placement, a topology representation in the model
// context ("Vertex", "Edge" or "Face"), an entry in the model's group
// assignment and an entry in its storey's containment relationship.
//
// Items are addressed by the host as (storey number, position): storeys
// count from 1; positions count from 1 the elements contained in a storey
// in the order they were added (point connections and members alike).
#ifndef KORVA_EXPORT_ANALYSIS_EXPORT_H
#define KORVA_EXPORT_ANALYSIS_EXPORT_H

#include <memory>
#include <string>
#include <vector>

#include "ifc2x2/project_skeleton.h"

namespace korva {

class AnalysisModelExport {
 public:
  // Makes the design and the skeleton up to the building with the one model
  // context; null when the IFC2x2 schema cannot be loaded.
  static std::unique_ptr<AnalysisModelExport> Open(const HeaderArguments& args);

  // Leaves the design alone: it belongs to the interface object.
  ~AnalysisModelExport() = default;
  AnalysisModelExport(const AnalysisModelExport&) = delete;
  AnalysisModelExport& operator=(const AnalysisModelExport&) = delete;

  // Whether the library state still holds the design (false once the
  // interface object has been shut down, by ShutDown or a building export,
  // or the design deleted, whatever was initialised since) and it still
  // holds this export's project.  No other operation may be used then.
  bool isLive() const;

  // Replaces the storey list by `count` storeys "Stroy1", "Stroy2", ...
  // with elevations[1..count] (element 0 is not read), each with its
  // containment relationship "StroyStructure1", ...  A negative count makes
  // no storey.  `elevations` must hold count+1 values when count > 0.
  void makeStoreys(int count, const double* elevations);
  // Appends one storey named by the host; its containment is named
  // "StroyStructure" and the new storey count.
  void addStorey(const char* name, double elevation);
  // Makes the analysis model (LOADING_3D, oriented by the world axes) and
  // the group assignment "Structural Analysis Model" that items go into.
  // A second call starts a new model; later items go into it.
  void addModel(const char* name, const char* description);

  // A node at (x, y, z).  Returns its position in its storey, 0 when the
  // storey number names no storey (the node is then contained nowhere).
  int addPointConnection(const char* name, int storey, double x, double y, double z);
  // A member from `start` to `end` (x, y, z each), related to the nodes at
  // (startStorey, startPosition) as "1" and (endStorey, endPosition) as "2"
  // where those are point connections.
  void addCurveMember(const char* name, int storey, int startStorey, int endStorey, int startPosition,
                      int endPosition, const double start[3], const double end[3]);
  // A face over the `count` corners (xs[i], ys[i], zs[i]), i from 0, the
  // loop not closed; corner i is related to the node at (storeys[i],
  // positions[i]) as " " followed by i+1 where that is a point connection.
  // A negative count is taken as 0; with count > 0 every array must hold
  // count values.
  void addSurfaceMember(const char* name, int storey, int count, const int* storeys, const int* positions,
                        const double* xs, const double* ys, const double* zs);

  // Aggregates the storeys into the building, the building into the site
  // and the site into the project; saves as `fileName` in `directory` (see
  // FinishProjectSkeleton), deletes the design and shuts the interface
  // object down.  False when the save failed.
  bool close(const char* fileName, const char* directory);
  // Deletes the design without saving (an export abandoned by a new one).
  void discard();

  // The design's name, known also after the design has gone.
  const std::string& name() const { return name_; }
  int storeyCount() const { return static_cast<int>(skeleton_.storeys.size()); }
  TarnDesign* design() const { return skeleton_.design; }

 private:
  AnalysisModelExport() = default;

  // The item frame: start() gives the item its name, GlobalId, owner
  // history and placement; finish() its representation of `topology`, its
  // group and its storey, and returns its position in the storey (0 when
  // it has none).
  void start(IfcProduct* item, const char* name);
  int finish(IfcProduct* item, IfcRepresentationItem* topology, const char* representationType, int storey,
             IfcStructuralPointConnection* node);
  // The point connection at (storey, position), or null.
  IfcStructuralPointConnection* node(int storey, int position) const;
  void connect(IfcStructuralMember* member, IfcStructuralPointConnection* node, const char* name);

  ProjectSkeleton skeleton_;
  unsigned generation_ = 0;
  std::string name_;
  // The project as the object store links it, and its GlobalId: they tell
  // this design from a later one at the same address.
  TarnObject* project_ = nullptr;
  std::string projectId_;
  // What each storey's containment holds, by position - 1: the node for a
  // point connection, null for a member.
  std::vector<std::vector<IfcStructuralPointConnection*>> contents_;
  IfcStructuralAnalysisModel* model_ = nullptr;
  IfcRelAssignsToGroup* group_ = nullptr;
};

// The process-wide export behind the exported functions.  Each function
// runs to completion and returns what its exported function returns (a
// failed allocation is thrown to the exported function, which reports it).
// Calls out of order are reported through the error reporter as warnings
// and change nothing:
//   - any call but OpenFile while no export is open (none opened yet,
//     already closed, or ended by a shutdown of the interface object, which
//     ShutDown and every building export do): ignored, returns -1
//     (AddPointConnection 0);
//   - OpenFile while an export is open: the unfinished export's design is
//     deleted unsaved, then the new export opens;
//   - MakeStoreys with count > 0 and no elevations, AddSurfaceMember with
//     count > 0 and a missing array: ignored;
//   - an item before AddModel: written, in no group (reported);
//   - an item whose storey number names no storey: written, contained
//     nowhere (reported); AddPointConnection then returns 0;
//   - node references that name no element, or an element that is no
//     point connection: no connection relationship, not reported.
namespace analysis_export {

int OpenFile(const HeaderArguments& args);
int MakeStoreys(int count, const double* elevations);
int AddStorey(const char* name, double elevation);
int AddModel(const char* name, const char* description);
int AddPointConnection(const char* name, int storey, double x, double y, double z);
int AddCurveMember(const char* name, int storey, int startStorey, int endStorey, int startPosition,
                   int endPosition, double x1, double y1, double z1, double x2, double y2, double z2);
int AddSurfaceMember(const char* name, int storey, int count, const int* storeys, const int* positions,
                     const double* xs, const double* ys, const double* zs);
int CloseFile(const char* fileName, const char* directory);

// The export in progress, null when none is open.  An export whose design
// has gone (with a shutdown of the interface object) is reported and
// dropped here, without touching its handles.
AnalysisModelExport* Current();

}  // namespace analysis_export
}  // namespace korva

#endif  // KORVA_EXPORT_ANALYSIS_EXPORT_H

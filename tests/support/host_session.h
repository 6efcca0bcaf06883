// A host's session with the library as the application runs one, through
// the exported functions of a HostCalls table: a building and an analysis
// model written into a folder, both read back through census, fill and
// getters, the analysis model updated in place.  The values read are
// returned for the tests to check.
//
//   building  one storey; a column at (0,0) 3 high, a beam from (0,0,2.5)
//             along X, 5 long
//   analysis  storey "Level 1"; model "Frame A"; nodes N1 (0,0,0) and
//             N2 (6,0,0); member B1 from N1 to N2
#ifndef KORVA_TESTS_SUPPORT_HOST_SESSION_H
#define KORVA_TESTS_SUPPORT_HOST_SESSION_H

#include <string>

#include "support/host_calls.h"

namespace korva {
namespace test {

struct BuildingRead {
  int censusColumns = -2;  // GetTotalColumns after the census
  int lastColumn = -2;     // ... and after the fill pass (index of the last record)
  int lastBeam = -2;
  double columnX = 0, columnHeight = 0, beamZ = 0, beamLength = 0;
  std::string beamGuid;
};

struct AnalysisRead {
  int lastModel = -2;  // GetTotalAnaModels after the census
  std::string modelName;
  int lastMember = -2, lastNode = -2;  // after the fill pass
  int units = -2;
  std::string memberName, memberGuid;
  double memberEndX = 0;  // X of the second point of the member's edge
  std::string secondNodeName, secondNodeGuid;
  double secondNodeX = 0;
};

class HostSession {
 public:
  HostSession(const HostCalls& calls, const std::string& folder) : calls_(calls), folder_(folder) {}

  std::string path(const std::string& name) const { return folder_ + "/" + name; }

  // The building through ExportOpenFileWithStoryesAndSlabsWalls.
  void writeBuilding(const std::string& name);
  // The analysis model, from ExportAnalysisModelOpenFile to
  // ExportAnalysisModelCloseFile.
  void writeAnalysisModel(const std::string& name);
  // FindTotalObjects, CheckNumber and the getters.
  BuildingRead readBuilding(const std::string& name);
  // FindTotalAnaModels, CheckAnaModel of the first model and the getters.
  AnalysisRead readAnalysisModel(const std::string& name);
  // Opens `name` for update, records an owner history, moves the second
  // node to (x, 0, 0), rebuilds the members' edges and saves as `savedAs`.
  void updateAnalysisModel(const std::string& name, const AnalysisRead& read, double x,
                           const std::string& savedAs);

 private:
  HostCalls calls_;
  std::string folder_;
};

}  // namespace test
}  // namespace korva

#endif  // KORVA_TESTS_SUPPORT_HOST_SESSION_H

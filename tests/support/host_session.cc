#include "support/host_session.h"

#include <vector>

namespace korva {
namespace test {
namespace {

char* S(const std::string& s) { return const_cast<char*>(s.c_str()); }
char* S(const char* s) { return const_cast<char*>(s); }

// A text getter's result, read into a buffer the size a host gives.
template <typename Getter>
std::string Text(Getter getter, int index) {
  char buffer[256] = "";
  getter(index, buffer);
  return buffer;
}

}  // namespace

void HostSession::writeBuilding(const std::string& name) {
  // Arrays are read from index 1.  Running numbers: column 1, beam 2.
  std::vector<double> elevation = {99, 0.0};
  std::vector<double> x = {99, 0, 0.3, 0.3, 0, 0, 0.3, 0.3, 0};
  std::vector<double> y = {99, 0, 0, 0.3, 0.3, 0, 0, 0.5, 0.5};
  std::vector<int> columnStart = {99, 1}, columnPoints = {99, 4}, columnStorey = {99, 1};
  std::vector<int> beamStart = {99, 5}, beamPoints = {99, 4}, beamStorey = {99, 1};
  std::vector<int> none = {99};
  std::vector<double> depth = {99, 3.0, 5.0};
  std::vector<double> lx = {99, 0, 0}, ly = {99, 0, 0}, lz = {99, 0, 2.5};
  std::vector<double> ax = {99, 0, 1}, ay = {99, 0, 0}, az = {99, 1, 0};
  std::vector<double> rx = {99, 1, 0}, ry = {99, 0, 1}, rz = {99, 0, 0};
  calls_.ExportOpenFileWithStoryesAndSlabsWalls(
      S(name), S(folder_), S("KORVA model"), S("KORVA 9"), S("Lee"), S("Korva Ltd"), S("none"),
      S("KORVA Structural"), 10, 15, /* columns, beams, storeys, slabs, walls */ 1, 1, 1, 0, 0,
      elevation.data(), x.data(), y.data(), columnStart.data(), columnPoints.data(), columnStorey.data(),
      beamStart.data(), beamPoints.data(), beamStorey.data(), none.data(), none.data(), none.data(),
      none.data(), none.data(), none.data(), depth.data(), lx.data(), ly.data(), lz.data(), ax.data(),
      ay.data(), az.data(), rx.data(), ry.data(), rz.data());
}

void HostSession::writeAnalysisModel(const std::string& name) {
  calls_.ExportAnalysisModelOpenFile(S(name), S(""), S("KORVA analysis"), S("KORVA 9"), S("Lee"),
                                     S("Korva Ltd"), S("none"), S("KORVA Structural"), 10, 15);
  calls_.ExportAnalysisModelBuidlingOneStory(S("Level 1"), 0.0);
  calls_.ExportAnalysisModelAddAnalysisModel(S("Frame A"), S("gravity"));
  calls_.ExportAnalysisModelAddOnePointConnection(S("N1"), 1, 0.0, 0.0, 0.0);
  calls_.ExportAnalysisModelAddOnePointConnection(S("N2"), 1, 6.0, 0.0, 0.0);
  calls_.ExportAnalysisModelAddOneCurveMember(S("B1"), 1, 1, 1, 1, 2, 0.0, 0.0, 0.0, 6.0, 0.0, 0.0);
  calls_.ExportAnalysisModelCloseFile(S(name), S(folder_));
}

BuildingRead HostSession::readBuilding(const std::string& name) {
  const std::string file = path(name);
  BuildingRead read;
  calls_.FindTotalObjects(S(file));
  read.censusColumns = calls_.GetTotalColumns();
  calls_.CheckNumber(0, S(file));
  read.lastColumn = calls_.GetTotalColumns();
  read.lastBeam = calls_.GetTotalBeams();
  read.columnX = calls_.GetColumnStartx(0);
  read.columnHeight = calls_.GetColumnExtrudedDepth(0);
  read.beamZ = calls_.GetBeamStartz(0);
  read.beamLength = calls_.GetBeamExtrudedDepth(0);
  read.beamGuid = Text(calls_.GetBeamGUID, 0);
  return read;
}

AnalysisRead HostSession::readAnalysisModel(const std::string& name) {
  const std::string file = path(name);
  AnalysisRead read;
  calls_.FindTotalAnaModels(S(file));
  read.lastModel = calls_.GetTotalAnaModels();
  read.modelName = Text(calls_.GetAnaModelName, 0);
  read.units = calls_.GetNumberProjectUnits();
  calls_.CheckAnaModel(0, calls_.GetAnaModelFileID(0), S(file));
  read.lastMember = calls_.GetNumberStrCurveMembers();
  read.lastNode = calls_.GetNumberStrPointConnections();
  read.memberName = Text(calls_.GetStrCurveMemberName, 0);
  read.memberGuid = Text(calls_.GetStrCurveMemberGUID, 0);
  read.memberEndX = calls_.GetStrCurveMemberEdgeX2(0);
  read.secondNodeName = Text(calls_.GetStrPointConnectionName, 1);
  read.secondNodeGuid = Text(calls_.GetStrPointConnectionGUID, 1);
  read.secondNodeX = calls_.GetStrPointConnectionVertexX1(1);
  return read;
}

void HostSession::updateAnalysisModel(const std::string& name, const AnalysisRead& read, double x,
                                      const std::string& savedAs) {
  calls_.OpenFileForUpdate(0, S(path(name)));
  calls_.UpdateHistory(0, S(""), S("Ann Smith"), S("Korva Ltd"), S(""), S("KORVA Structural"), S("9.0"),
                       S("KORVA"), 1700000000);
  calls_.UpdateOneStructuralPoint(0, S(read.secondNodeGuid), x, 0.0, 0.0);
  calls_.UpdateStructuralMembersRepresentation(0);
  calls_.SaveAndCloseFileAfterUpdate(0, S(savedAs), S(folder_));
}

}  // namespace test
}  // namespace korva

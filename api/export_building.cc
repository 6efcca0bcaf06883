// The building exports: the host's arguments gathered for export/, which
// checks them and writes the file.  Nothing escapes to the host
// (api/guarded_call.h).
#include "api/guarded_call.h"
#include "api/korvaifc.h"
#include "export/building_export.h"

namespace {

using korva::building::BuildingForm;
using korva::building::ElementArrays;
using korva::building::FacetArrays;
using korva::building::kBeam;
using korva::building::kColumn;
using korva::building::kSlab;
using korva::building::kWall;

korva::HeaderArguments File(char* fileName, char* directory, char* description, char* originatingSystem,
                            char* author, char* organization, char* authorization, char* applicationName,
                            int siPrefix, int siUnitName) {
  return {fileName,     directory,     description,     originatingSystem, author,
          organization, authorization, applicationName, siPrefix,          siUnitName};
}

void Kind(ElementArrays* a, int kind, int count, int* start, int* pointCount, int* storey) {
  a->count[kind] = count;
  a->start[kind] = start;
  a->points[kind] = pointCount;
  a->storey[kind] = storey;
}

void Geometry(ElementArrays* a, double* x, double* y, double* depth, double* locationX, double* locationY,
              double* locationZ, double* axisX, double* axisY, double* axisZ, double* referenceX,
              double* referenceY, double* referenceZ) {
  a->x = x;
  a->y = y;
  a->depth = depth;
  a->location[0] = locationX;
  a->location[1] = locationY;
  a->location[2] = locationZ;
  a->axis[0] = axisX;
  a->axis[1] = axisY;
  a->axis[2] = axisZ;
  a->reference[0] = referenceX;
  a->reference[1] = referenceY;
  a->reference[2] = referenceZ;
}

const char kFamily[] = "Building export";

int Extruded(const char* function, BuildingForm form, const korva::HeaderArguments& file, int storeyCount,
             const double* elevation, const ElementArrays& elements) {
  return korva::GuardedCall(kFamily, function, -1, [&] {
    korva::building::ExportExtrudedBuilding(function, form, file, storeyCount, elevation, elements);
    return -1;
  });
}

}  // namespace

KORVA_API int KORVA_CALL ExportOpenFile(char* fileName, char* directory, char* description,
                                        char* originatingSystem, char* author, char* organization,
                                        char* authorization, char* applicationName, int siPrefix,
                                        int siUnitName, int /*unused*/, int objectCount, double* vx,
                                        double* vy, double* vz, int* vertex1, int* vertex2,
                                        int* vertex3, int* vertex4, int* firstFace, int* faceCount) {
  FacetArrays f;
  f.objectCount = objectCount;
  f.x = vx;
  f.y = vy;
  f.z = vz;
  f.vertex[0] = vertex1;
  f.vertex[1] = vertex2;
  f.vertex[2] = vertex3;
  f.vertex[3] = vertex4;
  f.firstFace = firstFace;
  f.faceCount = faceCount;
  return korva::GuardedCall(kFamily, "ExportOpenFile", -1, [&] {
    korva::building::ExportFacetedBuilding(File(fileName, directory, description, originatingSystem, author,
                                                organization, authorization, applicationName, siPrefix,
                                                siUnitName),
                                           f);
    return -1;
  });
}

KORVA_API int KORVA_CALL ExportOpenFileNew(char* fileName, char* directory, char* description,
                                           char* originatingSystem, char* author, char* organization,
                                           char* authorization, char* applicationName, int siPrefix,
                                           int siUnitName, int columnCount, int beamCount, double* x,
                                           double* y, int* columnStart, int* columnPointCount,
                                           int* beamStart, int* beamPointCount, double* depth,
                                           double* locationX, double* locationY, double* locationZ,
                                           double* axisX, double* axisY, double* axisZ,
                                           double* referenceX, double* referenceY, double* referenceZ) {
  ElementArrays a;
  Kind(&a, kColumn, columnCount, columnStart, columnPointCount, nullptr);
  Kind(&a, kBeam, beamCount, beamStart, beamPointCount, nullptr);
  Geometry(&a, x, y, depth, locationX, locationY, locationZ, axisX, axisY, axisZ, referenceX, referenceY,
           referenceZ);
  return Extruded("ExportOpenFileNew", BuildingForm::kNew,
           File(fileName, directory, description, originatingSystem, author, organization, authorization,
                applicationName, siPrefix, siUnitName),
           0, nullptr, a);
}

KORVA_API int KORVA_CALL ExportOpenFileWithStoryes(
    char* fileName, char* directory, char* description, char* originatingSystem, char* author,
    char* organization, char* authorization, char* applicationName, int siPrefix, int siUnitName,
    int columnCount, int beamCount, int storeyCount, double* elevation, double* x, double* y,
    int* columnStart, int* columnPointCount, int* columnStorey, int* beamStart, int* beamPointCount,
    int* beamStorey, double* depth, double* locationX, double* locationY, double* locationZ,
    double* axisX, double* axisY, double* axisZ, double* referenceX, double* referenceY,
    double* referenceZ) {
  ElementArrays a;
  Kind(&a, kColumn, columnCount, columnStart, columnPointCount, columnStorey);
  Kind(&a, kBeam, beamCount, beamStart, beamPointCount, beamStorey);
  Geometry(&a, x, y, depth, locationX, locationY, locationZ, axisX, axisY, axisZ, referenceX, referenceY,
           referenceZ);
  return Extruded("ExportOpenFileWithStoryes", BuildingForm::kWithStoreys,
           File(fileName, directory, description, originatingSystem, author, organization, authorization,
                applicationName, siPrefix, siUnitName),
           storeyCount, elevation, a);
}

KORVA_API int KORVA_CALL ExportOpenFileWithStoryesAndSlabs(
    char* fileName, char* directory, char* description, char* originatingSystem, char* author,
    char* organization, char* authorization, char* applicationName, int siPrefix, int siUnitName,
    int columnCount, int beamCount, int storeyCount, int slabCount, double* elevation, double* x,
    double* y, int* columnStart, int* columnPointCount, int* columnStorey, int* beamStart,
    int* beamPointCount, int* beamStorey, int* slabStart, int* slabPointCount, int* slabStorey,
    double* depth, double* locationX, double* locationY, double* locationZ, double* axisX,
    double* axisY, double* axisZ, double* referenceX, double* referenceY, double* referenceZ) {
  ElementArrays a;
  Kind(&a, kColumn, columnCount, columnStart, columnPointCount, columnStorey);
  Kind(&a, kBeam, beamCount, beamStart, beamPointCount, beamStorey);
  Kind(&a, kSlab, slabCount, slabStart, slabPointCount, slabStorey);
  Geometry(&a, x, y, depth, locationX, locationY, locationZ, axisX, axisY, axisZ, referenceX, referenceY,
           referenceZ);
  return Extruded("ExportOpenFileWithStoryesAndSlabs", BuildingForm::kWithSlabs,
           File(fileName, directory, description, originatingSystem, author, organization, authorization,
                applicationName, siPrefix, siUnitName),
           storeyCount, elevation, a);
}

KORVA_API int KORVA_CALL ExportOpenFileWithStoryesAndSlabsWalls(
    char* fileName, char* directory, char* description, char* originatingSystem, char* author,
    char* organization, char* authorization, char* applicationName, int siPrefix, int siUnitName,
    int columnCount, int beamCount, int storeyCount, int slabCount, int wallCount, double* elevation,
    double* x, double* y, int* columnStart, int* columnPointCount, int* columnStorey, int* beamStart,
    int* beamPointCount, int* beamStorey, int* slabStart, int* slabPointCount, int* slabStorey,
    int* wallStart, int* wallPointCount, int* wallStorey, double* depth, double* locationX,
    double* locationY, double* locationZ, double* axisX, double* axisY, double* axisZ,
    double* referenceX, double* referenceY, double* referenceZ) {
  ElementArrays a;
  Kind(&a, kColumn, columnCount, columnStart, columnPointCount, columnStorey);
  Kind(&a, kBeam, beamCount, beamStart, beamPointCount, beamStorey);
  Kind(&a, kSlab, slabCount, slabStart, slabPointCount, slabStorey);
  Kind(&a, kWall, wallCount, wallStart, wallPointCount, wallStorey);
  Geometry(&a, x, y, depth, locationX, locationY, locationZ, axisX, axisY, axisZ, referenceX, referenceY,
           referenceZ);
  return Extruded("ExportOpenFileWithStoryesAndSlabsWalls", BuildingForm::kWithWalls,
           File(fileName, directory, description, originatingSystem, author, organization, authorization,
                applicationName, siPrefix, siUnitName),
           storeyCount, elevation, a);
}

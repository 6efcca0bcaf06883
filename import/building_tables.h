// The building-element tables of an import: beams, columns, walls and slabs
// (with one table of outline points for all walls and one for all slabs) and
// proxy elements (with their pool of brep points).  The census stores a
// count in each table's counter; the fill pass allocates the records from
// those counts and advances the counter to the index of the record it
// fills; the getters read the records by index.
//
// These tables never grow past their census count, and a read outside them
// finds no record (import_table.h).  Record fields are named as the getters
// that read them.
#ifndef KORVA_IMPORT_BUILDING_TABLES_H
#define KORVA_IMPORT_BUILDING_TABLES_H

#include "import/import_table.h"

namespace korva {

// An element's placement: the sum of the Locations along its placement
// chain, and the Axis and RefDirection ratios of the placement applied last.
struct PlacementFrame {
  double start[3] = {0.0, 0.0, 0.0};
  double axis[3] = {0.0, 0.0, 0.0};
  double ref[3] = {0.0, 0.0, 0.0};
};

// Dimensions and corner of an element's bounding-box representation.
struct BoxFields {
  double height = 0.0;
  double width = 0.0;
  double length = 0.0;
  double corner[3] = {0.0, 0.0, 0.0};
};

// What beams, columns, walls and slabs have in common.
struct ElementRecord {
  const char* Name = kBlankField;
  const char* GUID = kBlankField;
  int FileID = 0;
  PlacementFrame Placement;
  BoxFields Box;
};

// A beam or a column.
struct BeamRecord : ElementRecord {
  double ExtrudedDepth = 0.0;
  double ExtrudedAxis[3] = {0.0, 0.0, 0.0};
  double ExtrudedPos[3] = {0.0, 0.0, 0.0};
  double ExtrudedPosAxis[3] = {0.0, 0.0, 0.0};
  double ExtrudedPosRefAxis[3] = {0.0, 0.0, 0.0};
  // Never written by the import; kept for the host's 2D getters.
  double Height2D = 0.0;
  double Width2D = 0.0;
  double Offset2D[2] = {0.0, 0.0};
  double DirectionAxis2D[2] = {0.0, 0.0};
};
using ColumnRecord = BeamRecord;

// A wall or a slab; its outline points are [index, index + total) of the
// point table of its kind.
struct WallRecord : ElementRecord {
  int Index = 0;
  int Total = 0;
  double ExtrudedDepth = 0.0;
};
using SlabRecord = WallRecord;

// One outline point of a wall or a slab.
struct OutlinePointRecord {
  const char* Name = kBlankField;
  const char* GUID = kBlankField;
  int FileID = 0;
  double X = 0.0;
  double Y = 0.0;
};
using WallPointRecord = OutlinePointRecord;
using SlabPointRecord = OutlinePointRecord;

// A proxy element (IfcBuildingElementProxy): no identity, only geometry;
// its brep points are [index, index + total) of the proxy point pool.
struct GeneralElementRecord {
  PlacementFrame Placement;
  BoxFields Box;
  int Index = 0;
  int Total = 0;
};

struct GeneralPointRecord {
  double X = 0.0;
  double Y = 0.0;
  double Z = 0.0;
};

// Brep points a proxy element may carry on average: the pool holds this
// many points per proxy counted by the census.
constexpr int kProxyPointsPerElement = 128;

template <class Record>
using BuildingTable = ImportTable<Record, CensusBound<Record>>;

// The building-element import state of the process.
struct BuildingTables {
  BuildingTable<BeamRecord> beams;
  BuildingTable<ColumnRecord> columns;
  BuildingTable<WallRecord> walls;
  BuildingTable<WallPointRecord> wallPoints;
  BuildingTable<SlabRecord> slabs;
  BuildingTable<SlabPointRecord> slabPoints;
  BuildingTable<GeneralElementRecord> generals;
  BuildingTable<GeneralPointRecord> generalPoints;
};

// The process-wide tables, kept by the library state (api/library_state.h).
BuildingTables& BuildingImport();

// Every building counter (beams, columns, walls, slabs, proxies and their
// points) set to `value`; with -1 the tables are also replaced by empty
// ones.  The analysis-model census leaves the counters at 0, its fill at -1
// with empty tables: building elements are not imported together with an
// analysis model.
void ResetBuildingCounters(int value);

// Empty tables with every counter at `counter` (0: the state before any
// import).
void ReleaseBuildingTables(int counter);

}  // namespace korva

#endif  // KORVA_IMPORT_BUILDING_TABLES_H

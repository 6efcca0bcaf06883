// The building-element tables of an import: beams, columns, walls and slabs
// (with one table of outline points for all walls and one for all slabs) and
// proxy elements (with their pool of brep points).  The census stores a
// count in each table's counter; the fill pass allocates the records from
// those counts and advances the counter to the index of the record it
// fills; the getters read the records by index.
//
// String fields point at kBlankField or at text owned by the design the
// tables were filled from; they are handed out only while that design can
// still exist (same generation of the interface object).
#ifndef KORVA_IMPORT_BUILDING_TABLES_H
#define KORVA_IMPORT_BUILDING_TABLES_H

#include <cstddef>
#include <vector>

#include "import/import_state.h"

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

// A beam or a column.
struct BeamRecord {
  const char* name = kBlankField;
  const char* guid = kBlankField;
  int fileId = 0;
  PlacementFrame placement;
  BoxFields box;
  double extrudedDepth = 0.0;
  double extrudedAxis[3] = {0.0, 0.0, 0.0};
  double extrudedPos[3] = {0.0, 0.0, 0.0};
  double extrudedPosAxis[3] = {0.0, 0.0, 0.0};
  double extrudedPosRef[3] = {0.0, 0.0, 0.0};
  // Never written by the import; kept for the host's 2D getters.
  double height2D = 0.0;
  double width2D = 0.0;
  double offset2D[2] = {0.0, 0.0};
  double direction2D[2] = {0.0, 0.0};
};
using ColumnRecord = BeamRecord;

// A wall or a slab; its outline points are [index, index + total) of the
// point table of its kind.
struct WallRecord {
  const char* name = kBlankField;
  const char* guid = kBlankField;
  int fileId = 0;
  PlacementFrame placement;
  BoxFields box;
  int index = 0;
  int total = 0;
  double extrudedDepth = 0.0;
};
using SlabRecord = WallRecord;

// One outline point of a wall or a slab.
struct OutlinePointRecord {
  const char* name = kBlankField;
  const char* guid = kBlankField;
  int fileId = 0;
  double x = 0.0;
  double y = 0.0;
};
using WallPointRecord = OutlinePointRecord;
using SlabPointRecord = OutlinePointRecord;

// A proxy element (IfcBuildingElementProxy): no identity, only geometry;
// its brep points are [index, index + total) of the proxy point pool.
struct GeneralElementRecord {
  PlacementFrame placement;
  BoxFields box;
  int index = 0;
  int total = 0;
};

struct GeneralPointRecord {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

// Brep points a proxy element may carry on average: the pool holds this
// many points per proxy counted by the census.
constexpr int kProxyPointsPerElement = 128;

// One kind's counter and records.  The counter holds the census count until
// the fill pass allocates, then the index of the last record filled (-1:
// none).  Records past the capacity are never written: next() refuses and
// leaves the counter where it is, so a host that reads 0..counter stays in
// range.
template <class Record>
class RecordTable {
 public:
  int counter() const { return counter_; }
  void setCounter(int value) { counter_ = value; }
  int capacity() const { return static_cast<int>(records_.size()); }

  // New records with their defaults, as many as the counter says (none for
  // a negative counter); the counter becomes -1.
  void allocate() { allocate(counter_); }
  void allocate(long long capacity) {
    std::vector<Record> fresh(capacity > 0 ? static_cast<size_t>(capacity) : 0);
    records_.swap(fresh);
    counter_ = -1;
  }
  // Drops the records; the counter becomes `counter`.
  void release(int counter) {
    std::vector<Record>().swap(records_);
    counter_ = counter;
  }

  // Advances the counter to the next record and returns it; null when the
  // table is full.
  Record* next() {
    if (counter_ + 1 >= capacity()) return nullptr;
    return &records_[static_cast<size_t>(++counter_)];
  }
  // The record at `index`, or null outside the table.
  Record* at(int index) {
    return index >= 0 && index < capacity() ? &records_[static_cast<size_t>(index)] : nullptr;
  }
  const Record* at(int index) const {
    return index >= 0 && index < capacity() ? &records_[static_cast<size_t>(index)] : nullptr;
  }

 private:
  int counter_ = 0;
  std::vector<Record> records_;
};

// The building-element import state of the process.
struct BuildingTables {
  RecordTable<BeamRecord> beams;
  RecordTable<ColumnRecord> columns;
  RecordTable<WallRecord> walls;
  RecordTable<WallPointRecord> wallPoints;
  RecordTable<SlabRecord> slabs;
  RecordTable<SlabPointRecord> slabPoints;
  RecordTable<GeneralElementRecord> generals;
  RecordTable<GeneralPointRecord> generalPoints;
  // Generation of the interface object when the tables were filled: their
  // strings live as long as it does.
  unsigned generation = 0;
  bool filled = false;
};

// The process-wide tables.
BuildingTables& BuildingImport();

// Whether string fields of the current tables may still be read: they were
// filled, and the interface object has not shut down since.
bool BuildingStringsValid();

// Copies `field` with its terminator into `buffer`.  Nothing is copied for
// a null field or buffer, nor for text of a design that no longer exists.
void CopyBuildingString(const char* field, char* buffer);

// Every building counter (beams, columns, walls, slabs, proxies and their
// points) set to `value`; with -1 the tables are also replaced by empty
// ones.  The analysis-model census leaves the counters at 0, its fill at -1
// with empty tables: building elements are not imported together with an
// analysis model.
void ResetBuildingCounters(int value);

// Empty tables with every counter at 0: the state before any import.
void ResetBuildingTables();

}  // namespace korva

#endif  // KORVA_IMPORT_BUILDING_TABLES_H

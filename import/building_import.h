// The census and fill passes of an IFC import (FindTotalObjects and
// CheckNumber) and the readers of building elements.
//
// The census visits every entity instance of the import design, counts the
// instances of each imported type (the exact domain of the type in the
// design's own schema, so subtypes are not counted) and the outline points
// of walls and slabs, and stores the counts in the tables' counters.  Both
// passes read IFC2x2 and IFC2X3 designs alike, late-bound by attribute name
// (building_domains.h); outlines that are no polyline follow the rules of
// profile_outline.h.  The fill pass allocates every
// table from those counters, visits the instances again in the same order,
// writes one trace line "Name: <type>" per instance and reads each imported
// instance into the next record of its kind.
//
// The same calls also count and fill the analysis models, materials,
// profile properties, curve members and point connections and read the
// project's units through the analysis import's CountAnalysisKinds and
// FillAnalysisKinds (analysis_import.h).  In turn the analysis-model calls
// reset the building tables with ResetBuildingCounters (building_tables.h).
#ifndef KORVA_IMPORT_BUILDING_IMPORT_H
#define KORVA_IMPORT_BUILDING_IMPORT_H

#include <cstdio>

#include "import/building_tables.h"

namespace korva {

class TarnDesign;
class TarnObject;

// Census pass over `design` (null: a file that could not be had, so every
// count is 0).  The count of each kind goes to its counter.
void CountImportObjects(TarnDesign* design);

// Fill pass over `design`: allocates every table from its counter (also for
// a null design, which leaves the tables empty with counters at -1), reads
// the instances into them and writes the trace lines to `trace` (null:
// none).  A failed allocation is thrown to the caller, which empties the
// tables (import_guard.h).
void FillImportTables(TarnDesign* design, std::FILE* trace);

// Composes the placement of an IfcObjectPlacement: Start is the sum of the
// Locations of the IfcAxis2Placement3D along the PlacementRelTo chain,
// applied from the nearest ancestor to the farthest and then the placement
// itself; Axis and Ref are those of the placement applied last.  With
// `skipWithoutAxis` a placement without Axis is passed over entirely (the
// rule for beams, columns, walls and slabs); otherwise it is applied with
// zero ratios for what it lacks (the rule for proxies).  An absent
// RefDirection also reads as zero ratios.  A 2D or grid placement adds
// nothing; a chain that loops is followed once around.
PlacementFrame ComposePlacement(TarnObject* objectPlacement, bool skipWithoutAxis);

}  // namespace korva

#endif  // KORVA_IMPORT_BUILDING_IMPORT_H

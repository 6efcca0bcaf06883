// Shared pieces of the exchange benchmarks: a building model of a chosen
// size made through the generated IFC classes and a raw instance count
// over file text; timing and memory figures come from bench_measure.h.
#ifndef KORVA_BENCH_BENCH_MODEL_H
#define KORVA_BENCH_BENCH_MODEL_H

#include <cstdio>

#include "bench/bench_measure.h"

namespace korva {

class TarnDesign;

namespace bench {

// Fills `design` (an IFC design) with a building of about `instances`
// entity instances in a mix that an exporter writes: the spatial skeleton
// (project, site, building, storeys, owner history), and per element a
// closed polyline outline, an arbitrary closed profile, an extruded solid
// with its position, a body representation and its shape, a local placement
// with location, axis and reference direction, and the element itself
// (walls, slabs, beams and columns in turn) with a GlobalId, a name and a
// description; the elements of each storey are contained in relationships
// of 1000 elements each.  Coordinates are varied decimals.  Returns the
// number of entity instances made.
long BuildBuilding(TarnDesign* design, long instances);

// The raw scan that reading is measured against: reads the stream to its
// end in 64 KB blocks and counts the instance statements ("#n=" outside
// strings and comments) in one pass.
long ScanInstanceStatements(std::FILE* in);

}  // namespace bench
}  // namespace korva

#endif  // KORVA_BENCH_BENCH_MODEL_H

// The model of the host benchmark: a building and its structural analysis
// model in one file, so that every table of the import gets records.
//
// Shared once: owner history, a project with its unit assignment (SI,
// conversion-based and derived units), two materials with general, steel
// and concrete properties, profile properties of every shape the import
// reads, three load groups and the analysis model with its group
// assignment.  Then storey by storey, on a grid of nodes:
//   - building elements as an exporter writes them: walls around the grid,
//     a slab per bay, beams along the grid lines, a column per node and two
//     proxy elements with a faceted brep; each with a local placement, an
//     extruded solid of a polyline outline (the proxies: the brep) and a
//     bounding box;
//   - the analysis items as the analysis export writes them: a point
//     connection per node, curve members for the beams and columns,
//     surface members for the bays, each with its placement and topology
//     representation, grouped into the model and connected to its nodes;
//     the ground storey's columns carry boundary node conditions;
//   - profile and material associations per storey, a point action on
//     every node and a linear action on every beam, assigned to the load
//     groups in turn.
#ifndef KORVA_BENCH_HOST_MODEL_H
#define KORVA_BENCH_HOST_MODEL_H

namespace korva {

class TarnDesign;

namespace bench {

// Fills `design` (an IFC design) with storeys until about `instances`
// entity instances have been made (at least one storey); returns the
// number made.
long BuildAnalysedBuilding(TarnDesign* design, long instances);

}  // namespace bench
}  // namespace korva

#endif  // KORVA_BENCH_HOST_MODEL_H

// The census and fill passes of the structural analysis import, on a
// design (the exported functions open it by file name).  The records land
// in the tables of AnalysisImport() (analysis_tables.h).
//
// Two protocols share the tables:
//
//   analysis model   CensusAnalysisModels counts every analysis kind, reads
//                    the project units and fills the analysis models,
//                    materials and profile properties; FillAnalysisModel
//                    then fills the members and point connections grouped
//                    into one model, and every load group and action.
//   building import  The building census calls CountAnalysisKinds and the
//                    building fill calls FillAnalysisKinds, which handle
//                    the analysis kinds that import reads along with the
//                    building elements.
//
// A null design (a file that cannot be found or read) counts nothing and
// leaves empty tables.  Each fill replaces the tables it fills; text
// fields stay readable until the next fill of their table or a shutdown.
#ifndef KORVA_IMPORT_ANALYSIS_IMPORT_H
#define KORVA_IMPORT_ANALYSIS_IMPORT_H

namespace korva {

class TarnDesign;

// Census of the building import.  Sets the analysis-model availability flag
// (-1 when the design has an IfcStructuralAnalysisModel, else 0), stores the
// number of analysis models, general, steel and concrete material
// properties, profile properties, curve members and point connections in
// their counters, and reads the units of every IfcProject (none: 0 units).
// The counters of surface members, load groups and actions are not
// touched.
void CountAnalysisKinds(TarnDesign* design);

// Fill of the building import, after CountAnalysisKinds of the same
// design: allocates the analysis-model, material, profile, curve-member and
// point-connection tables from their counters and fills them in instance
// order.  Member and connection relationships are read only when the
// design's back-pointers have been computed before.  Writes no trace lines
// (the building fill writes one per instance).
void FillAnalysisKinds(TarnDesign* design);

// FindTotalAnaModels: sets the availability flag, counts every analysis
// kind (surface members, load groups and actions too), reads the project
// units, sets the building-element counters to 0 and fills the
// analysis-model, material and profile tables.
void CensusAnalysisModels(TarnDesign* design);

// CheckAnaModel: empties the building-element tables (counters -1),
// computes the design's back-pointers, fills the curve members, surface
// members and point connections that group assignments put into the
// analysis model whose instance number is `modelFileId` (a number that
// names no analysis model, or 0, fills none), then every load group, point
// action and linear action.  Each of its four passes over the design
// writes "Name: <type>" for every instance to standard output.
void FillAnalysisModel(TarnDesign* design, int modelFileId);


}  // namespace korva

#endif  // KORVA_IMPORT_ANALYSIS_IMPORT_H

// The library's state between exported calls, owned by one object.
//
// The object store keeps its own across calls (objdb/process_state.h).  On
// top of it the library keeps, from one exported call to the next:
//   - the import design and the import tables (building elements; analysis
//     items, materials, profiles and units), which the census and fill
//     calls rewrite and the getters read;
//   - the analysis-model export in progress;
//   - the update design and the update owner history.
// All of them live here, made on first use and freed with the library.
//
// Everything kept refers into designs of the interface object, which a
// shutdown destroys (ShutDown, every building export, the close of an
// analysis export or an update).  Whether something kept is still valid has
// one answer: the generation it was taken in must be the generation of the
// interface object now initialised, and a design must still be held by the
// interface object, not marked for deletion.  Pointers into a design that
// fails that test are dropped without being touched.
//
// This header names the kept types without defining them, so that the
// import, export and update code can include it.
#ifndef KORVA_API_LIBRARY_STATE_H
#define KORVA_API_LIBRARY_STATE_H

#include <memory>

namespace korva {

class TarnDesign;
class TarnObject;
class AnalysisModelExport;
struct BuildingTables;
struct AnalysisImportState;

// A design kept across calls, with the generation it was taken in.
struct HeldDesign {
  TarnDesign* design = nullptr;
  unsigned generation = 0;
};

class LibraryState {
 public:
  // The one object, made on first use.
  static LibraryState& get();

  // The generation of the interface object now initialised; 0 while it is
  // not initialised (before the first call, after a shutdown).
  unsigned generation() const;
  // Whether what was taken in `generation` is still valid (never for 0).
  bool isLive(unsigned generation) const { return generation != 0 && generation == this->generation(); }
  // `design` taken now.
  HeldDesign hold(TarnDesign* design) const { return {design, generation()}; }
  // Whether the design of `held` still exists: its generation lives and the
  // interface object holds it, not marked for deletion.  Only pointers are
  // compared until that is known.
  bool holds(const HeldDesign& held) const;

  // The design the import reads; its string fields point into its text.
  HeldDesign& importDesign();
  BuildingTables& buildingTables();
  AnalysisImportState& analysisTables();

  // The analysis-model export in progress, or empty.
  std::unique_ptr<AnalysisModelExport>& analysisExport();

  // The update design and the owner history its changes are recorded in,
  // and the scratch design the changes to a design of another schema than
  // IFC2x2 are built in (update/change_space.h), one for the session.
  HeldDesign& updateDesign();
  TarnObject*& updateHistory();
  HeldDesign& updateScratch();

  // Releases the import design (its contents, then the design itself) and
  // shuts the interface object down.  What the other families keep is
  // dropped when they next ask whether it is still valid.
  void shutDown();

  LibraryState();
  ~LibraryState();
  LibraryState(const LibraryState&) = delete;
  LibraryState& operator=(const LibraryState&) = delete;

 private:
  struct Kept;
  std::unique_ptr<Kept> kept_;
};

}  // namespace korva

#endif  // KORVA_API_LIBRARY_STATE_H

/* The structural analysis import: census and fill of an IFC file's analysis
 * models, members, point connections, load groups, actions, materials,
 * profile properties and project units, and the getters the host reads them
 * with.  Getters take 0-based indices; an index outside a table reads as an
 * unfilled record (0, 0.0, or " " for text) and a position outside a
 * record's array as 0.  Text getters copy the text with its terminator into
 * the host's buffer, at most KORVA_TEXT_BUFFER_SIZE (256) bytes
 * (api/import_getters.h); they copy nothing for a null field, a null buffer,
 * or text of a design that ShutDown has released. */
#ifndef KORVA_API_IMPORT_ANALYSIS_H
#define KORVA_API_IMPORT_ANALYSIS_H

#include "api/import_getters.h"
#include "platform/exports.h"

/* Census and fill.  The file name is that of the IFC file (or of a design in
 * memory).  FindTotalAnaModels counts and reads the analysis models, materials,
 * profile properties and project units; CheckAnaModel(ignored, model FileID,
 * file name) reads the members and point connections of one model and every
 * load group and action.  Both return -1. */
KORVA_API int KORVA_CALL FindTotalAnaModels(char* fileName);
KORVA_API int KORVA_CALL CheckAnaModel(int ignored, int modelFileId, char* fileName);

/* Counts: the availability flag (GetAnaModelAvailable: -1 when the last
 * census met an analysis model, else 0) and one counter per table (the
 * census count, then the index of the last record filled);
 * GetNumberProjectUnits is the number of units. */
KORVA_ANALYSIS_COUNTS(KORVA_DECLARE_COUNT)

/* Getters of analysis models, curve and surface members, point
 * connections, load groups, point and linear actions, materials, profile
 * properties and project units: one per line of KORVA_ANALYSIS_GETTERS in
 * api/import_getters.h.  Curve-member connections take a connection index
 * from 0 to NumberStructuralConnection, surface-member points one below
 * NumberPts, load-group members one below TotalMember, conversion
 * exponents a position from 0 to 6.  GetMechSteelMatMaxAggregateSize and
 * GetMechSteelMatProtectivePoreRatio read the concrete table;
 * GetStrProfilePropertiesGUID copies nothing (the entity has no
 * GlobalId). */
KORVA_ANALYSIS_GETTERS(KORVA_DECLARE_GETTER)

#endif /* KORVA_API_IMPORT_ANALYSIS_H */

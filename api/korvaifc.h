/* The exported interface of korvaifc, as a host sees it.  Every function
 * uses the stdcall convention on 32-bit Windows; text arguments are
 * zero-terminated 8-bit strings owned by the host.  The frame, export,
 * import and update functions return -1; errors go to the message log. */
#ifndef KORVA_API_KORVAIFC_H
#define KORVA_API_KORVAIFC_H

#include "platform/exports.h"

/* Frame. */
KORVA_API int KORVA_CALL OpenLogFile(char* path);
KORVA_API int KORVA_CALL CloseLogFile(int ignored);
KORVA_API int KORVA_CALL SetSchemaPath(char* directory);
KORVA_API int KORVA_CALL ShutDown();

#include "api/export_building.h"
#include "api/export_analysis.h"
#include "api/import_building.h"
#include "api/import_analysis.h"
#include "api/update.h"

#endif /* KORVA_API_KORVAIFC_H */

// The IFC2x2 schema as the export, import and update code use it.
#ifndef KORVA_IFC2X2_SCHEMA_H
#define KORVA_IFC2X2_SCHEMA_H

namespace korva {

class TarnDesign;

extern const char* const kIfcSchemaName;  // "ifc2x2_final"

// Initialises the library when needed and resolves the domain of every
// generated IFC2x2 class, which loads the IFC2x2 dictionary from the schema
// path.  Null when it cannot be found, after the reporter's errors
// "Couldn't open schema" and "Could not acquire domain" (which end the
// process under the default exit level).
TarnDesign* LoadIfcSchema();

// A new design for an IFC file: named after `fileName` (folder and
// extension split off), with the IFC2x2 schema, saved in the "step" format
// into `directory`, with its header records made.  Null when the schema
// cannot be loaded.
TarnDesign* NewIfcDesign(const char* fileName, const char* directory);

// Saves an IFC design in the output schema the configuration asks for
// (TarnConfiguration::outputSchema): unset or "IFC2X2_FINAL", the design as
// it is; "IFC2X3", a converted copy of it (exchange/schema_conversion.h),
// whose losses, if any, are reported as warnings.  Any other value is
// reported and the design is saved as it is.  Every export saves through
// here.
bool SaveIfcDesign(TarnDesign* design);

// Saves an IFC design (SaveIfcDesign), then deletes it and empties the
// trash.
bool SaveAndDiscard(TarnDesign* design);

}  // namespace korva

#endif  // KORVA_IFC2X2_SCHEMA_H

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

// The schema a save writes: the design's own, or the output schema the
// configuration asks for (TarnConfiguration::outputSchema; what the exports
// write).
enum class SaveSchema { kOwn, kConfigured };

// Saves an IFC design in the output schema the configuration asks for:
// unset or "IFC2X2_FINAL", the design as it is; "IFC2X3", a converted copy
// of it (exchange/schema_conversion.h), whose losses, if any, are reported
// as warnings.  Any other value is reported and the design is saved as it
// is.
bool SaveInOutputSchema(TarnDesign* design);

// Saves `design` as `fileName` (folder and extension split off like a
// design name; null or empty keeps the design's own name) in `directory`
// (null keeps the design's folder, or takes the file name's), in the
// schema `schema` names.  A file name without extension keeps the design's
// extension with `keepOwnExtension`, else takes the format's.  The design
// keeps its own name in the interface object's name table.  False when
// there is no design or the save failed (the writer has reported why).
bool SaveIfcDesignAs(TarnDesign* design, const char* fileName, const char* directory, bool keepOwnExtension,
                     SaveSchema schema);

// Empties and deletes a design, then empties the trash; null does nothing.
void DiscardIfcDesign(TarnDesign* design);

// Saves an IFC design under its own name and in its own schema, then
// discards it.
bool SaveAndDiscard(TarnDesign* design);

}  // namespace korva

#endif  // KORVA_IFC2X2_SCHEMA_H

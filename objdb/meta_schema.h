// The built-in meta-schema "corbel3_0": domains for the primitive types, the
// object kinds, the dictionary classes, the library's aggregates and
// dictionaries, generated in code when the interface object initialises and
// held by the system design.  The library classes are bound to these
// domains as they are made.
#ifndef KORVA_OBJDB_META_SCHEMA_H
#define KORVA_OBJDB_META_SCHEMA_H

namespace korva {

class TarnDesign;

extern const char* const kMetaSchemaName;        // "corbel3_0"
extern const char* const kMetaExtensionsName;    // "corbel_extensions"

// Makes the system design with the meta-schema, activated.
TarnDesign* GenerateMetaSchema();

// Unbinds every library class from the domains of a system design about to
// be destroyed, so that a new initialisation binds them afresh.
void UnbindClassesOf(TarnDesign* schema);

}  // namespace korva

#endif  // KORVA_OBJDB_META_SCHEMA_H

// Writes the compiled dictionary of a schema in the library's native text
// design format ("tarn_r3.0"): one TarnDomain per type (entities, selects,
// enumerations, defined types and the aggregate types used), one
// TarnAttribute per explicit attribute, select member ("_" + type) and
// enumerator, one TarnRefined per attribute redeclared DERIVE, and the
// schema's name table.  Meta-schema domains are referred to by name in
// design 1 ("corbel3_0").  See docs/NATIVE_FORMAT.md.
#pragma once

#include <string>

#include "express/schema_model.h"

namespace korva::generator {

// `designName` is the schema's dictionary name ("ifc2x2_final").
bool EmitTarnSchema(const express::Schema& schema, const std::string& designName,
                    const std::string& path);

}  // namespace korva::generator

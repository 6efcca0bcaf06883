// Recursive-descent parser for the EXPRESS subset used by IFC schemas.
//
// Reads one SCHEMA ... END_SCHEMA; block into a Schema whose names are not yet
// resolved (see resolver.h).  Kept: TYPE declarations (simple, named,
// aggregate, ENUMERATION and SELECT underlying types, WHERE labels), ENTITY
// declarations (ABSTRACT, SUPERTYPE OF text, SUBTYPE OF list, explicit,
// DERIVE and INVERSE attributes including SELF\X.A redeclarations, UNIQUE and
// WHERE rules with their expression text).  Skipped whole: FUNCTION,
// PROCEDURE and RULE bodies (to the matching END_ keyword), CONSTANT blocks,
// USE/REFERENCE interfaces and SUBTYPE_CONSTRAINTs.
//
// The first syntax error raises ExpressError with file, line and the token it
// was found near.
#pragma once

#include <string>
#include <string_view>

#include "express/schema_model.h"

namespace korva::express {

Schema parseSchema(std::string_view source, const std::string& fileName);

}  // namespace korva::express

// Links the names of a parsed schema to their declarations and computes the
// derived views of the model (schema_model.h, fields marked "resolved"):
//   - every named type in attributes, defined types, aggregates and select
//     members points at its declaration;
//   - each entity's direct supertypes and subtypes, all ancestors (depth-first
//     over supertypes in declaration order, each once, roots first) and its
//     complete explicit attribute list (each ancestor's attributes once, then
//     its own), with attributes that it or an ancestor redeclares in DERIVE
//     flagged as derived;
//   - SELF\X.A redeclarations and INVERSE targets / FOR attributes.
//
// Problems (unknown names, wrong kinds of names, cycles among supertypes or
// defined types, redeclarations of attributes that do not exist) are all
// collected and raised together as one ExpressError, each with file and line.
#pragma once

#include "express/schema_model.h"

namespace korva::express {

void resolveSchema(Schema& schema);

}  // namespace korva::express

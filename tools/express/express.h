// Entry points for reading an EXPRESS schema into a resolved model.
//
//   Schema s = loadSchemaFile("IFC2X2_FINAL.exp");   // parse + resolve
//   const Entity* beam = s.findEntity("IfcBeam");
//   for (const AttributeSlot& a : beam->allAttributes) ...
//
// Both functions raise ExpressError (error.h) on any syntax or resolution
// problem, or when the file cannot be read.
#pragma once

#include <string>
#include <string_view>

#include "express/error.h"
#include "express/schema_model.h"

namespace korva::express {

// Parses and resolves `source`; `fileName` only labels diagnostics.
Schema loadSchema(std::string_view source, const std::string& fileName);

// Reads the file and calls loadSchema.
Schema loadSchemaFile(const std::string& path);

}  // namespace korva::express

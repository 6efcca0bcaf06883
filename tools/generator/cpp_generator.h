// Emits the C++ bindings of a schema: one header declaring every class and
// enumeration type, and a few translation units defining them.
//
//   entity E      class E : public virtual S1, ... (or TarnStructure), one
//                 field per own explicit attribute, getters and setters named
//                 as the attribute, default and full constructors, layout
//   select S      class S : public TarnUnion with members "_" + type
//   enumeration   a type record "E_type" and constants E_NAME = index
//   aggregate     class KindOfElement over the store's aggregate of its kind
#pragma once

#include <string>

#include "express/schema_model.h"

namespace korva::generator {

struct CppOptions {
  std::string outputDir;     // where files are written
  std::string baseName;      // "ifc2x2": ifc2x2.h, ifc2x2_1.cc, ...
  std::string schemaName;    // dictionary schema name: "ifc2x2_final"
  int units = 8;             // number of .cc files
};

// Writes the files; returns false (after a message on stderr) on I/O errors.
bool GenerateCpp(const express::Schema& schema, const CppOptions& options);

}  // namespace korva::generator

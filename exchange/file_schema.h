// Which compiled dictionary reads an exchange file, by the name its
// FILE_SCHEMA gives.
//
//   IFC2X2_FINAL   the IFC2x2 dictionary "ifc2x2_final" (generated classes)
//   IFC2X3         the IFC2x3 dictionary "ifc2x3" (late-bound instances)
//   IFC2X3_FINAL   written by some exporters for IFC2X3: read as IFC2X3
//   IFC2X_FINAL    read with the IFC2x2 dictionary, which kept every entity
//                  of IFC2x; one message (severity 1) says so
//
// Any other name is looked up along the schema path as it stands (a
// compiled schema of that name, in lower case, wherever it lies).  A name
// that still cannot be found is the reader's 2011; ReportReadableSchemas
// then names the schemas this build reads.  A dictionary is loaded only when
// a file names it.
#ifndef KORVA_EXCHANGE_FILE_SCHEMA_H
#define KORVA_EXCHANGE_FILE_SCHEMA_H

#include <string>
#include <vector>

namespace korva {

class TarnDesign;

// The IFC schemas of this build by the name FILE_SCHEMA gives them, and the
// name of their compiled dictionary.
struct IfcSchemaName {
  const char* fileName;    // "IFC2X3"
  const char* dictionary;  // "ifc2x3"
};
const std::vector<IfcSchemaName>& IfcSchemasOfThisBuild();

// The FILE_SCHEMA name a design of compiled schema `dictionary` is written
// with ("IFC2X3" for "ifc2x3"); the name itself, upper-cased, for others.
std::string FileSchemaName(const char* dictionary);

// The FILE_SCHEMA name of this build's schema that `name` or an alias of
// it names ("IFC2X3" for "ifc2x3_final"), or null.
const char* BuildFileSchemaName(const char* name);

// The compiled schema that reads files naming `fileSchema`: aliases
// resolved as above, loaded along the schema path when not yet in memory.
// Null when there is none (nothing is reported then).
TarnDesign* FindFileSchema(const char* fileSchema);

// "This build reads ..." as one message of the exchange-file category.
void ReportReadableSchemas();

}  // namespace korva

#endif  // KORVA_EXCHANGE_FILE_SCHEMA_H

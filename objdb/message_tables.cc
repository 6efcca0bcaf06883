// The numbered message tables of the database and exchange-file categories,
// and the category operations that look entries up in them.
#include <cstdio>

#include "objdb/error_category.h"
#include "objdb/interface.h"

namespace korva {
namespace {

// Database messages.  Searched linearly in this order: 1041 precedes 1040
// and 1059 stands where 1047 would be; 1022 and 1047 have no entry.
const TarnErrorEntry kDatabaseTable[] = {
    {1001, 2, "Attribute %s.%s not found."},
    {1002, 2, "Bad hex character '%c' for binary value. Using '0'."},
    {1003, 2, "Bad first character '%c' for binary value. Expecting 0-3."},
    {1004, 2, "Class %s not found."},
    {1005, 2, "Domain %s not found."},
    {1006, 3, "Could not find hash insertion point."},
    {1007, 3, "Unknown TarnNodeType %d found."},
    {1008, 2, "Schema %s not found."},
    {1009, 2, "Design contains extra '%s' objects."},
    {1010, 3, "Found enum of size (%d).  Expected: %d %d or %d"},
    {1011, 3, "Found primitive value of size (%d).  Expected: %d %d or %d"},
    {1012, 2, "Generating domain  %s - %s."},
    {1013, 2, "Generating schema - ignoring schema '%s' is in search path."},
    {1014, 2, "Generating schema - schema name cannot be null."},
    {1015, 2, "Generating schema - creating schema '%s'."},
    {1016, 3, "Change value not allowed on '%s' object"},
    {1017, 3, "Insert not allowed on '%s' object"},
    {1018, 3, "Remove not allowed on '%s' object"},
    {1019, 2, "Attempt to modify read-only design '%s'."},
    {1020, 3, "%s::%s: Function must be overridden."},
    {1021, 3, "Traversal in progress, nested traversals not allowed."},
    {1023, 2, "No attribute specified."},
    {1024, 3, "Class '%s' has no creator function."},
    {1025, 2, "Problems reading design '%s'"},
    {1026, 2, "Format '%s' not available, no such repository present."},
    {1027, 2, "No OID for built-in type '%s'"},
    {1028, 4, "Out of memory, can not continue."},
    {1029, 3, "Class '%s' has no prototype."},
    {1030, 2, "Repository '%s' not found."},
    {1031, 3, "Problems creating TARN oid index."},
    {1032, 3, "Object with OID already exists in design '%s'."},
    {1033, 3, "Could not generate unique OID."},
    {1034, 3, "TarnTypePtrs cannot be created after TARN is initialized."},
    {1035, 4, "TarnTypePtrs must be statically created."},
    {1036, 2, "Repository of type '%s' was not registered."},
    {1037, 1, "Reading in %s format"},
    {1038, 1, "Writing in %s format"},
    {1039, 2, "No copy ctors for 'best-fit' classes. '%s' copied as a '%s'."},
    {1041, 2, "Unable to open short name file: %s."},
    {1040, 1, "Reading short-name alias file: %s"},
    {1042, 2, "Design %s is locked (save aborted)!"},
    {1043, 3, "Design %s has itself as it's own schema."},
    {1044, 1, "Could not open directory %s"},
    {1045, 2, "No handler for file extension '%s'"},
    {1046, 2, "No system schema path. Set $TARN_RUNTIME or $TARN_SCHEMA."},
    {1059, 2, "KS-Runtime does not appear to be installed. Set $TARN_RUNTIME or $TARN_SCHEMAS."},
    {1048, 3, "Design %s is part of cyclic dependency"},
    {1049, 2, "Design %s is already in memory"},
    {1050, 2, "Unable to open file: %s"},
    {1051, 2, "Unable to save file: %s"},
    {1052, 2, "%s: Section is from a different design, ignored."},
    {1053, 3, "New operator nesting too deep (%d levels)"},
    {1054, 2, "Cannot typecast %s object to %s"},
    {1055, 2, "TarnUnion attribute is %s (requested %s)"},
    {1056, 2, "Attribute %s.%s not in domain %s."},
    {1057, 2, "Sort name syntax error %s:%d."},
    {1058, 2, "Cannot find longname '%s' in schema %s."},
};

// Exchange-file messages; 2003, 2004, 2020, 2024, 2031 and 2037 are unassigned.
const TarnErrorEntry kExchangeTable[] = {
    {2001, 2, "Unknown delimiter after element %d in attribute %s"},
    {2002, 2, "Unknown type '%s' (short name for '%s'), entity ignored."},
    {2005, 2, "Unknown delimiter after attribute '%s' (field %d)."},
    {2006, 2, "Unknown type '%s', entity ignored."},
    {2007, 3, "Bad entity definition, ignored."},
    {2008, 3, "Unknown enum '%s' for %s in attribute '%s'."},
    {2009, 3, "Bad OID prefix"},
    {2010, 3, "Reference index can not handle object of type '%s' (nodetype=%d)"},
    {2011, 2, "Couldn't find schema '%s'."},
    {2012, 2, "Type '%s' not allowed in aggregate '%s'."},
    {2013, 2, "Type '%s' not allowed for attribute '%s' (type '%s')."},
    {2014, 2, "Problems reading %s in attribute '%s'."},
    {2015, 3, "Object of type '%s': Problems casting '%s' value to '%s'."},
    {2016, 2, "%s: Converting '%s' value to '%s'."},
    {2017, 2, "Attribute '%s': Converting '%s' value to '%s'."},
    {2018, 2, "Duplicate entity #%d found, ignored."},
    {2019, 2, "ENDSCOPE without matching &SCOPE."},
    {2021, 2, "More than one '%s' object found."},
    {2022, 3, "Found enum of size (%d).  Expected: %d %d or %d"},
    {2023, 2, "Header section objects are incorrectly ordered."},
    {2025, 2, "%s object missing."},
    {2026, 2, "No AND/OR domain for this combination of types, entity ignored."},
    {2027, 3, "Attribute not specified"},
    {2028, 3, "Opening paren missing in attribute '%s'."},
    {2029, 3, "Closing paren missing in attribute '%s'."},
    {2030, 2, "Found %s instead of entity definition."},
    {2032, 3, "'%s' keyword missing."},
    {2033, 3, "Out of memory. Could not create objects."},
    {2034, 2, "No schemas, make sure compiled EXPRESS is present."},
    {2035, 2, "Could not find opening paren, entity ignored."},
    {2036, 2, "Missing type name in external mapping."},
    {2038, 2, "Reading '(%s) %s.%s':  Converting to '(%s) %s.%s'"},
    {2039, 2, "SELECT type element for '%s' not found."},
    {2040, 2, "User-defined type '%s', entity ignored."},
    {2041, 3, "Unknown primitive type '(%s) %s.%s' (%d)"},
    {2042, 2, "Writing '(%s) %s.%s':  Converting to '(%s) %s.%s'"},
    {2043, 3, "Expecting %s, found %s instead."},
    {2044, 3, "Expecting %s or %s, found %s instead."},
    {2045, 3, "Expecting %s, %s, or %s, found %s instead."},
    {2046, 3, "Expecting %d attribute%s, found %d instead."},
    {2047, 3, "Reference to #%d is %s, not compatible with %s."},
    {2048, 3, "Reference to #%d on line %d is %s, not compatible with %s."},
    {2049, 3, "Attribute %s of #%d is an external reference.  Writing as NULL."},
};

constexpr int kDatabaseCount = sizeof kDatabaseTable / sizeof kDatabaseTable[0];
constexpr int kExchangeCount = sizeof kExchangeTable / sizeof kExchangeTable[0];
static_assert(kDatabaseCount == 57, "database table has 57 entries");
static_assert(kExchangeCount == 43, "exchange-file table has 43 entries");

// The database category prints and exits at the reporter's levels; the
// exchange-file category prints from severity 1 and exits only on fatals.
constexpr TarnErrorCategory kDatabase("database", kDatabaseTable, kDatabaseCount, 0, 0);
constexpr TarnErrorCategory kExchange("exchange", kExchangeTable, kExchangeCount, 1, 4);

}  // namespace

const TarnErrorCategory& DatabaseMessages() { return kDatabase; }
const TarnErrorCategory& ExchangeMessages() { return kExchange; }

const TarnErrorEntry* TarnErrorCategory::find(int code) const {
  for (int i = 0; i < count_; ++i)
    if (table_[i].code == code) return &table_[i];
  return nullptr;
}

void TarnErrorCategory::vreport(int code, va_list args) const {
  TarnErrorReporter* reporter = TARN().reporter();
  const TarnErrorEntry* entry = find(code);
  if (entry == nullptr) {
    std::fprintf(reporter->errorStream(), "TarnErrorReporter::Unknown error code %d\n", code);
    return;
  }
  reporter->report(*this, *entry, args);
}

void TarnErrorCategory::report(int code, ...) const {
  va_list args;
  va_start(args, code);
  vreport(code, args);
  va_end(args);
}

void TarnErrorCategory::vtext(int severity, const char* format, va_list args) const {
  const TarnErrorEntry entry = {-1, severity, format};
  TARN().reporter()->report(*this, entry, args);
}

#define KORVA_TEXT_REPORT(method, severity)                     \
  void TarnErrorCategory::method(const char* format, ...) const { \
    va_list args;                                                \
    va_start(args, format);                                      \
    vtext(severity, format, args);                               \
    va_end(args);                                                \
  }
KORVA_TEXT_REPORT(fatal, kFatal)
KORVA_TEXT_REPORT(error, kError)
KORVA_TEXT_REPORT(warning, kWarning)
KORVA_TEXT_REPORT(message, kMessage)
#undef KORVA_TEXT_REPORT

}  // namespace korva

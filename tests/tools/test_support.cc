#include "test_support.h"

#include <gtest/gtest.h>

namespace korva::express::testing {

std::string wrapBody(const std::string& body) {
  return "SCHEMA test_schema;\n" + body + "\nEND_SCHEMA;\n";
}

Schema loadBody(const std::string& body) { return loadSchema(wrapBody(body), "t.exp"); }

Diagnostic firstError(const std::string& source, const std::string& file) {
  try {
    loadSchema(source, file);
  } catch (const ExpressError& e) {
    return e.first();
  }
  ADD_FAILURE() << "expected an error for:\n" << source;
  return Diagnostic{};
}

std::string attributeNames(const Entity& entity) {
  std::string names;
  for (const AttributeSlot& slot : entity.allAttributes) {
    if (!names.empty()) names += ",";
    names += slot.name();
  }
  return names;
}

const Schema& ifcSchema() {
  static const Schema schema = loadSchemaFile(KORVA_IFC_SCHEMA);
  return schema;
}

}  // namespace korva::express::testing

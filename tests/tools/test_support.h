// Helpers shared by the EXPRESS reader tests.
#pragma once

#include <string>

#include "express/express.h"

namespace korva::express::testing {

// Wraps declarations in "SCHEMA test_schema; ... END_SCHEMA;" (the SCHEMA
// line is line 1, so body line n is file line n + 1) and loads them.
Schema loadBody(const std::string& body);
std::string wrapBody(const std::string& body);

// Loads `source` expecting an ExpressError; returns its first diagnostic.
// Fails the current test (and returns an empty diagnostic) if none is raised.
Diagnostic firstError(const std::string& source, const std::string& file = "t.exp");

// Names of an entity's complete attribute list, comma separated.
std::string attributeNames(const Entity& entity);

// The IFC2X2_FINAL schema, loaded once per test binary.
const Schema& ifcSchema();

}  // namespace korva::express::testing

// expressc: reads an EXPRESS schema and reports on it.
//
//   expressc <file.exp>     print a summary of the schema
//
// Exit status 0 on success, 1 on a syntax or resolution error (printed to
// stderr as "file:line: error: ..."), 2 on a usage error.

#include <exception>
#include <iostream>
#include <string>

#include "express/aggregates.h"
#include "express/express.h"

namespace {

using namespace korva::express;

int usage() {
  std::cerr << "usage: expressc <file.exp>\n";
  return 2;
}

void printSummary(const Schema& schema, std::ostream& out) {
  const std::vector<AggregateClass> classes = aggregateClasses(schema);
  int counts[4] = {0, 0, 0, 0};
  for (const AggregateClass& c : classes) ++counts[static_cast<int>(c.kind)];

  out << "schema " << schema.name << "\n"
      << "entities: " << schema.entities().size() << "\n"
      << "selects: " << schema.selects().size() << "\n"
      << "enumerations: " << schema.enumerations().size() << "\n"
      << "defined types: " << schema.definedTypes().size() << "\n"
      << "aggregate classes: " << classes.size() << " ("
      << counts[static_cast<int>(AggregateKind::List)] << " lists, "
      << counts[static_cast<int>(AggregateKind::Set)] << " sets, "
      << counts[static_cast<int>(AggregateKind::Bag)] << " bags, "
      << counts[static_cast<int>(AggregateKind::Array)] << " arrays)\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || argv[1][0] == '-') return usage();
  try {
    const Schema schema = loadSchemaFile(argv[1]);
    printSummary(schema, std::cout);
  } catch (const ExpressError& e) {
    std::cerr << e.what() << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << argv[1] << ": error: " << e.what() << "\n";
    return 1;
  }
  return 0;
}

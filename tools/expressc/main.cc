// expressc: the EXPRESS compiler of the project.
//
//   expressc FILE.exp
//       print a summary of the schema
//   expressc FILE.exp --cpp DIR --base NAME --schema NAME [--units N]
//       write the C++ bindings DIR/NAME.h and DIR/NAME_1.cc ...
//   expressc FILE.exp --tarn FILE --schema NAME
//       write the compiled dictionary in the native text design format
//
// Exit status 0 on success, 1 on a syntax or resolution error (printed to
// stderr as "file:line: error: ...") or an output error, 2 on a usage error.

#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>
#include <string>

#include "express/aggregates.h"
#include "express/express.h"
#include "generator/cpp_generator.h"
#include "generator/tarn_emitter.h"

namespace {

using namespace korva::express;

int usage() {
  std::cerr << "usage: expressc FILE.exp [--cpp DIR --base NAME] [--tarn FILE] [--schema NAME] [--units N]\n";
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
  if (argc < 2 || argv[1][0] == '-') return usage();
  std::string cppDir, base, tarnFile, schemaName;
  int units = 8;
  for (int i = 2; i < argc; ++i) {
    std::string arg = argv[i];
    if (i + 1 >= argc) return usage();
    std::string value = argv[++i];
    if (arg == "--cpp") cppDir = value;
    else if (arg == "--base") base = value;
    else if (arg == "--tarn") tarnFile = value;
    else if (arg == "--schema") schemaName = value;
    else if (arg == "--units") units = std::atoi(value.c_str());
    else return usage();
  }
  if ((!cppDir.empty() && base.empty()) || units < 1) return usage();
  try {
    const Schema schema = loadSchemaFile(argv[1]);
    if (schemaName.empty()) {
      schemaName = schema.name;
      for (char& c : schemaName) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    if (cppDir.empty() && tarnFile.empty()) {
      printSummary(schema, std::cout);
      return 0;
    }
    if (!cppDir.empty() &&
        !korva::generator::GenerateCpp(schema, {cppDir, base, schemaName, units}))
      return 1;
    if (!tarnFile.empty() && !korva::generator::EmitTarnSchema(schema, schemaName, tarnFile)) return 1;
  } catch (const ExpressError& e) {
    std::cerr << e.what() << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << argv[1] << ": error: " << e.what() << "\n";
    return 1;
  }
  return 0;
}

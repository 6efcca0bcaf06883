#include "express/express.h"

#include <fstream>
#include <sstream>

#include "express/parser.h"
#include "express/resolver.h"

namespace korva::express {

Schema loadSchema(std::string_view source, const std::string& fileName) {
  Schema schema = parseSchema(source, fileName);
  resolveSchema(schema);
  return schema;
}

Schema loadSchemaFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ExpressError(Diagnostic{path, 0, "cannot open file", ""});
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw ExpressError(Diagnostic{path, 0, "cannot read file", ""});
  return loadSchema(text.str(), path);
}

}  // namespace korva::express

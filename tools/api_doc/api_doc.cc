// korva_api_doc: writes docs/API.md from the contract abi/exports.tsv, the
// import's getter lists (api/import_getters.h) and the declarations of the
// api/ headers.
//
//   korva_api_doc CONTRACT OUTPUT API_DIR
//
// The contract gives every exported function with its family, result and
// argument types; the getter lists and the headers (API_DIR/*.h) give the
// argument names.  A getter or declaration whose result or argument types
// differ from the contract is an error, and so is a family without a
// description below, so the document cannot drift from the contract or
// from the code.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "api/import_getters.h"

namespace {

struct Function {
  std::string name, result, family;
  std::vector<std::string> types, names;
};

struct Family {
  const char* id;
  const char* title;
  const char* text;
};

// In the order of the document.
const Family kFamilies[] = {
    {"frame", "Frame",
     "Logging, the folder of the compiled schemas, and shutdown. Each returns -1. `OpenLogFile` "
     "and `SetSchemaPath` may be called before anything else; `ShutDown` releases the imported "
     "file and every design and ends logging."},
    {"export-building", "Building-model export",
     "One call writes one complete IFC2x2 file: project, site, building, storeys and the "
     "building elements as extruded solids (or faceted proxies for `ExportOpenFile`). Per-element "
     "arrays are read from index 1. Each returns -1; every one except `ExportOpenFile` shuts the "
     "library down at its end."},
    {"export-analysis", "Analysis-model export",
     "A structural analysis model written over several calls: open, the storeys, the analysis "
     "model, nodes and members, close (which saves the file and shuts the library down). "
     "`ExportAnalysisModelAddOnePointConnection` returns the node's position in its storey; the "
     "others return -1."},
    {"import-census", "Import: census and fill",
     "Count the objects of an IFC file (`FindTotalObjects`, `FindTotalAnaModels`), then fill the "
     "tables (`CheckNumber`, `CheckAnaModel` for one analysis model chosen by its instance "
     "number). Each returns -1."},
    {"count", "Import: counters",
     "After a census, the number of objects found; after the fill pass, the index of the last "
     "record filled (-1 when there is none)."},
    {"getter-beam", "Import: beams", nullptr},
    {"getter-column", "Import: columns", nullptr},
    {"getter-wall", "Import: walls and their outline points", nullptr},
    {"getter-slab", "Import: slabs and their outline points", nullptr},
    {"getter-general", "Import: other building elements", nullptr},
    {"getter-anamodel", "Import: structural analysis models", nullptr},
    {"getter-curvemember", "Import: structural curve members", nullptr},
    {"getter-surfacemember", "Import: structural surface members", nullptr},
    {"getter-pointconnection", "Import: structural point connections", nullptr},
    {"getter-loadgroup", "Import: load groups", nullptr},
    {"getter-pointaction", "Import: point actions", nullptr},
    {"getter-linearaction", "Import: linear actions", nullptr},
    {"getter-material", "Import: materials", nullptr},
    {"getter-profile", "Import: profile properties", nullptr},
    {"getter-units", "Import: project units", nullptr},
    {"update", "Update in place",
     "Open an existing IFC file, change structural members, record the change in a new owner "
     "history and save the file again. Each returns -1."},
    {"update-decorated", "Update in place: the two C++ functions",
     "Declared as C++ functions and exported only under decorated names: on 32-bit Windows "
     "`?OpenFileForUpdate2@@YGHHPAD@Z` and `?UpdateOneCurveMemberSectionName@@YGHHHPAD@Z`, on "
     "64-bit Windows `?OpenFileForUpdate2@@YAHHPEAD@Z` and "
     "`?UpdateOneCurveMemberSectionName@@YAHHHPEAD@Z`, on Linux the Itanium names "
     "`_Z18OpenFileForUpdate2iPc` and `_Z31UpdateOneCurveMemberSectionNameiiPc`."},
};

const char kGetterText[] =
    "Getters take a 0-based record index (and, for the values of a record's arrays, a position). "
    "Text getters copy the text with its terminator into the buffer the host passes, and write at most "
    "256 bytes (`KORVA_TEXT_BUFFER_SIZE`): a text longer than 255 bytes is cut there, a GlobalId longer "
    "than 22 characters is handed out empty, and the import warns of each. Hosts pass buffers of at "
    "least 256 bytes.";

// A getter or counter of the lists: its shape (api/import_getters.h) and
// the name of its index ("point" in the tables of points, "index" in the
// others).
struct Listed {
  const char* name;
  const char* result;
  const char* types;
  std::string table;
};

#define KORVA_DOC_GETTER(Family, Field, Kind, table, member) {"Get" #Family #Field, KORVA_GETTER_SHAPE_##Kind, #table},
#define KORVA_DOC_COUNT(Name, value) {"Get" #Name, KORVA_COUNT_SHAPE, ""},

const std::vector<Listed>& ListedGetters() {
  static const std::vector<Listed> kListed = {
      KORVA_BUILDING_COUNTS(KORVA_DOC_COUNT) KORVA_BUILDING_GETTERS(KORVA_DOC_GETTER)
      KORVA_ANALYSIS_COUNTS(KORVA_DOC_COUNT) KORVA_ANALYSIS_GETTERS(KORVA_DOC_GETTER)};
  return kListed;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::vector<std::string> Split(const std::string& text, char sep) {
  std::vector<std::string> out;
  std::string item;
  std::istringstream in(text);
  while (std::getline(in, item, sep)) out.push_back(item);
  return out;
}

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t\r\n");
  return s.substr(b, e - b + 1);
}

// "char *  name" -> type "char*", name "name"; "int" -> type "int", no name.
void SplitParameter(const std::string& parameter, std::string* type, std::string* name) {
  std::string p = Trim(parameter);
  size_t end = p.size();
  size_t begin = end;
  while (begin > 0 && (std::isalnum(static_cast<unsigned char>(p[begin - 1])) || p[begin - 1] == '_')) --begin;
  std::string head = p.substr(0, begin);
  std::string squeezed;
  for (char c : head)
    if (c != ' ' && c != '\t' && c != '\n') squeezed += c;
  // A lone type (no name) leaves nothing but spaces or nothing before it.
  if (squeezed.empty() || squeezed == "const") {
    *type = p;
    name->clear();
  } else {
    *type = squeezed;
    *name = p.substr(begin);
  }
}

std::string StripComments(const std::string& text) {
  static const std::regex kComments(R"(/\*[\s\S]*?\*/|//[^\n]*)");
  return std::regex_replace(text, kComments, " ");
}

bool ReadFile(const std::string& path, std::string* out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  *out = s.str();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: korva_api_doc CONTRACT OUTPUT API_DIR\n";
    return 2;
  }
  std::string text;
  if (!ReadFile(argv[1], &text)) {
    std::cerr << "cannot read " << argv[1] << "\n";
    return 1;
  }
  std::vector<Function> functions;
  std::map<std::string, size_t> byName;
  for (const std::string& raw : Split(text, '\n')) {
    std::string line = raw;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> f = Split(line, '\t');
    if (f.empty() || f[0].empty() || f[0] == "name") continue;
    if (f.size() < 4) {
      std::cerr << "malformed contract line: " << line << "\n";
      return 1;
    }
    Function fn{f[0], f[1], f[3], {}, {}};
    for (const std::string& t : Split(f[2], ','))
      if (!t.empty()) fn.types.push_back(t);
    fn.names.assign(fn.types.size(), "");
    byName[fn.name] = functions.size();
    functions.push_back(fn);
  }

  // Declarations: KORVA_API <result> KORVA_CALL <Name>(<parameters>);
  static const std::regex kDecl(R"(KORVA_(?:CPP_)?API\s+([A-Za-z_][\w\s\*]*?)\s+KORVA_CALL\s+(\w+)\s*\(([^)]*)\))");
  std::vector<std::string> headers;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(argv[3], ec))
    if (entry.path().extension() == ".h") headers.push_back(entry.path().string());
  if (ec || headers.empty()) {
    std::cerr << "no headers in " << argv[3] << "\n";
    return 1;
  }
  std::sort(headers.begin(), headers.end());
  int errors = 0;
  for (const std::string& path : headers) {
    std::string header;
    if (!ReadFile(path, &header)) {
      std::cerr << "cannot read " << path << "\n";
      return 1;
    }
    header = StripComments(header);
    for (std::sregex_iterator it(header.begin(), header.end(), kDecl), end; it != end; ++it) {
      const std::string name = (*it)[2];
      auto found = byName.find(name);
      if (found == byName.end()) {
        std::cerr << path << ": " << name << " is declared for export but not in the contract\n";
        ++errors;
        continue;
      }
      Function& fn = functions[found->second];
      std::string result = Trim((*it)[1]);
      std::vector<std::string> types, names;
      for (const std::string& p : Split((*it)[3], ',')) {
        std::string type, pname;
        SplitParameter(p, &type, &pname);
        if (type.empty() || type == "void") continue;
        types.push_back(type);
        names.push_back(pname);
      }
      if (result != fn.result || types != fn.types) {
        std::cerr << path << ": " << name << " is declared with other types than the contract's\n";
        ++errors;
        continue;
      }
      fn.names = names;
    }
  }

  for (const Listed& getter : ListedGetters()) {
    auto found = byName.find(getter.name);
    if (found == byName.end()) {
      std::cerr << "api/import_getters.h: " << getter.name << " is listed but not in the contract\n";
      ++errors;
      continue;
    }
    Function& fn = functions[found->second];
    std::vector<std::string> types;
    for (const std::string& t : Split(getter.types, ',')) types.push_back(t);
    if (getter.result != fn.result || types != fn.types) {
      std::cerr << "api/import_getters.h: " << getter.name << " is listed with other types than the contract's\n";
      ++errors;
      continue;
    }
    fn.names.clear();
    if (!types.empty()) fn.names.push_back(EndsWith(getter.table, "Points") ? "point" : "index");
    if (types.size() > 1) fn.names.push_back(types[1] == "char*" ? "buffer" : "position");
  }

  std::map<std::string, std::vector<const Function*>> byFamily;
  for (const Function& fn : functions) {
    bool known = false;
    for (const Family& family : kFamilies) known = known || fn.family == family.id;
    if (!known) {
      std::cerr << fn.name << ": family " << fn.family << " has no description\n";
      ++errors;
    }
    byFamily[fn.family].push_back(&fn);
  }
  if (errors != 0) return 1;

  std::ostringstream out;
  out << "# korvaifc API\n\n"
      << "<!-- Generated by tools/api_doc from abi/exports.tsv and api/*.h; "
         "rebuild with `cmake --build build --target api_doc`. -->\n\n"
      << "The library exports " << functions.size()
      << " functions. On 32-bit Windows they use the stdcall convention and are exported under "
         "their plain names (two under decorated C++ names, see the last section); integers are "
         "32-bit, `double` is a 64-bit floating-point value, text arguments are zero-terminated "
         "8-bit strings owned by the host. Errors are reported through the message log, never "
         "through results.\n\n";
  for (const Family& family : kFamilies) {
    auto it = byFamily.find(family.id);
    if (it == byFamily.end()) continue;
    out << "- [" << family.title << "](#" << family.id << ") (" << it->second.size() << ")\n";
  }
  for (const Family& family : kFamilies) {
    auto it = byFamily.find(family.id);
    if (it == byFamily.end()) continue;
    out << "\n<a id=\"" << family.id << "\"></a>\n## " << family.title << "\n\n"
        << (family.text != nullptr ? family.text : kGetterText) << "\n\n"
        << "| Function | Result | Arguments |\n|---|---|---|\n";
    for (const Function* fn : it->second) {
      out << "| `" << fn->name << "` | " << fn->result << " | ";
      for (size_t i = 0; i < fn->types.size(); ++i) {
        if (i > 0) out << ", ";
        out << "`" << fn->types[i];
        if (!fn->names[i].empty()) out << " " << fn->names[i];
        out << "`";
      }
      out << " |\n";
    }
  }

  std::ofstream file(argv[2], std::ios::binary);
  file << out.str();
  if (!file.flush()) {
    std::cerr << "cannot write " << argv[2] << "\n";
    return 1;
  }
  return 0;
}

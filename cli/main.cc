// korva-ifc: command-line host of the korvaifc library.
//
//   korva-ifc demo [LOGFILE]   open a message log, initialise the library,
//                              make a few GlobalIds, shut down, show the log
//   korva-ifc guid [COUNT]     print COUNT new IFC GlobalIds (default 1)
//   korva-ifc schema [--schemas DIR] [NAME]
//                              without NAME: how many entities, selects,
//                              enumerations, defined types and aggregate
//                              classes the dictionary of "ifc2x2_final"
//                              holds; with NAME: that type (an entity's
//                              supertypes and complete attribute list, a
//                              select's members, an enumeration's
//                              enumerators with their indices, ...).  An
//                              unknown NAME ends with status 1.
//
// The compiled schemas are looked for in DIR when --schemas is given, else
// along TARN_SCHEMAS when it is set, else in the "schemas" folder beside the
// program's folder: <folder of korva-ifc>/../schemas.  That is the build
// tree's schemas/ folder (the program is built in cli/) and, installed,
// <prefix>/schemas beside <prefix>/bin (see cli/CMakeLists.txt).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "api/korvaifc.h"
#include "ifc2x2/globalid.h"
#include "objdb/design.h"
#include "objdb/dictionary_binding.h"
#include "objdb/domain.h"
#include "objdb/interface.h"
#include "platform/platform.h"

namespace {

const char kIfcSchema[] = "ifc2x2_final";

int Usage() {
  std::fprintf(stderr,
               "usage: korva-ifc demo [LOGFILE]\n"
               "       korva-ifc guid [COUNT]\n"
               "       korva-ifc schema [--schemas DIR] [NAME]\n");
  return 2;
}

int PrintGuids(int count) {
  char buffer[23];
  for (int i = 0; i < count; ++i) {
    if (korva::NewCompressedGuid(buffer, sizeof buffer) == nullptr) {
      std::fprintf(stderr, "korva-ifc: the platform produced no GUID\n");
      return 1;
    }
    std::printf("%s\n", buffer);
  }
  return 0;
}

int Demo(const char* logPath) {
  std::string log = logPath != nullptr ? logPath : "korva-demo.log";
  std::remove(log.c_str());
  OpenLogFile(const_cast<char*>(log.c_str()));
  korva::TARN().initialize();
  std::printf("search path: %s\n", korva::TARN().searchPath().c_str());
  std::printf("GlobalIds:\n");
  PrintGuids(3);
  ShutDown();

  std::printf("\n--- %s ---\n", log.c_str());
  std::FILE* f = std::fopen(log.c_str(), "r");
  if (f == nullptr) {
    std::fprintf(stderr, "korva-ifc: cannot read %s\n", log.c_str());
    return 1;
  }
  char line[512];
  while (std::fgets(line, sizeof line, f)) std::fputs(line, stdout);
  std::fclose(f);
  return 0;
}

// --- schema ----------------------------------------------------------------

// The folder of the running program, from argv[0] (looked up along PATH
// when it names no folder); empty when it cannot be told.
std::string ProgramFolder(const char* argv0) {
  using korva::platform::IsPathSeparator;
  std::string path = argv0 != nullptr ? argv0 : "";
  if (std::none_of(path.begin(), path.end(), IsPathSeparator)) {
    const char* list = korva::platform::GetEnv("PATH");
    const char separator = korva::platform::PathSeparator() == '\\' ? ';' : ':';
    std::string found;
    std::string folders = list != nullptr ? list : "";
    for (size_t start = 0; found.empty() && start <= folders.size();) {
      size_t end = folders.find(separator, start);
      if (end == std::string::npos) end = folders.size();
      std::string candidate = korva::platform::JoinPath(folders.substr(start, end - start), path);
      if (end > start && (korva::platform::IsRegularFile(candidate) ||
                          korva::platform::IsRegularFile(candidate + ".exe")))
        found = candidate;
      start = end + 1;
    }
    path = found;
  }
  size_t cut = path.size();
  while (cut > 0 && !IsPathSeparator(path[cut - 1])) --cut;
  while (cut > 1 && IsPathSeparator(path[cut - 1])) --cut;
  return path.substr(0, cut);
}

// The kind of type a domain of a compiled schema describes, from the shape
// the schema compiler gives it.
enum class Kind { kEntity, kSelect, kEnumeration, kDefined, kAggregate };

Kind KindOf(korva::TarnDomain* d) {
  korva::TarnDomain* super = d->firstSuper();
  const char* superName = super != nullptr && super->name() != nullptr ? super->name() : "";
  if (std::strcmp(superName, "TarnUnion") == 0) return Kind::kSelect;
  if (std::strcmp(superName, "TarnEnum") == 0) return Kind::kEnumeration;
  if (d->nodeType() == korva::kNodeStructure) return Kind::kEntity;
  // Aggregate types are declared with their element; defined types only
  // name what they are stored as.
  for (korva::TarnAttribute* a : d->allAttributes())
    if (d->nodeType() == korva::kNodeAggregate && std::strcmp(a->name(), "element") == 0 &&
        a->original()->owner() == d)
      return Kind::kAggregate;
  return Kind::kDefined;
}

const char* NameOf(korva::TarnDomain* d) { return d != nullptr && d->name() != nullptr ? d->name() : "?"; }

// The domains of a schema design, in the order the schema holds them.
std::vector<korva::TarnDomain*> SchemaDomains(korva::TarnDesign* schema) {
  std::vector<korva::TarnDomain*> domains;
  for (korva::TarnSection* s : schema->sections())
    for (korva::TarnExtent* e = s->firstExtent(); e != nullptr; e = e->next())
      for (korva::TarnObject* o = e->first(); o != nullptr; o = o->nextInExtent())
        if (auto* d = dynamic_cast<korva::TarnDomain*>(o)) domains.push_back(d);
  return domains;
}

void PrintCounts(korva::TarnDesign* schema) {
  int counts[5] = {};
  for (korva::TarnDomain* d : SchemaDomains(schema)) ++counts[static_cast<int>(KindOf(d))];
  std::printf("schema %s\n", schema->name());
  std::printf("  entities           %5d\n", counts[static_cast<int>(Kind::kEntity)]);
  std::printf("  selects            %5d\n", counts[static_cast<int>(Kind::kSelect)]);
  std::printf("  enumerations       %5d\n", counts[static_cast<int>(Kind::kEnumeration)]);
  std::printf("  defined types      %5d\n", counts[static_cast<int>(Kind::kDefined)]);
  std::printf("  aggregate classes  %5d\n", counts[static_cast<int>(Kind::kAggregate)]);
}

void PrintType(korva::TarnDesign* schema, korva::TarnDomain* d) {
  // Own attributes, in declaration order (selects and aggregates keep their
  // members and element there).
  std::vector<korva::TarnAttribute*> own;
  if (korva::ListOfTarnAttribute* list = d->listOfAttribute())
    for (uint32_t i = 0; i < list->count(); ++i) own.push_back(list->get(i));
  switch (KindOf(d)) {
    case Kind::kEntity: {
      std::printf("ENTITY %s\n", NameOf(d));
      std::string supers;
      const auto& all = d->allSupers();
      for (auto it = all.rbegin(); it != all.rend(); ++it)
        if ((*it)->design() == schema) supers += std::string(" ") + NameOf(*it);
      std::printf("  supertypes:%s\n", supers.empty() ? " (none)" : supers.c_str());
      std::printf("  attributes: %d\n", static_cast<int>(d->allAttributes().size()));
      int n = 0;
      for (korva::TarnAttribute* a : d->allAttributes()) {
        korva::TarnDomain* owner = a->original()->owner();
        std::printf("  %3d  %-28s %-32s %s%s\n", ++n, a->name(), NameOf(a->domain()), NameOf(owner),
                    a->isDerived() ? " (derived)" : "");
      }
      break;
    }
    case Kind::kSelect:
      std::printf("SELECT %s\n", NameOf(d));
      std::printf("  members: %d\n", static_cast<int>(own.size()));
      for (korva::TarnAttribute* a : own) std::printf("    %s\n", NameOf(a->domain()));
      break;
    case Kind::kEnumeration: {
      std::printf("ENUMERATION %s\n", NameOf(d));
      const std::vector<const char*>& names = d->enumerators();
      std::printf("  enumerators: %d\n", static_cast<int>(names.size()));
      for (size_t i = 0; i < names.size(); ++i) std::printf("  %3d  %s\n", static_cast<int>(i), names[i]);
      break;
    }
    case Kind::kDefined:
      std::printf("TYPE %s = %s\n", NameOf(d), NameOf(d->firstSuper()));
      break;
    case Kind::kAggregate:
      std::printf("AGGREGATE %s = %s OF %s\n", NameOf(d), NameOf(d->firstSuper()),
                  own.empty() ? "?" : NameOf(own.front()->domain()));
      break;
  }
}

int Schema(const char* argv0, int argc, char** argv) {
  const char* folder = nullptr;
  const char* name = nullptr;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--schemas") == 0 && i + 1 < argc) folder = argv[++i];
    else if (name == nullptr && argv[i][0] != '-') name = argv[i];
    else return Usage();
  }
  std::string path;
  if (folder != nullptr) {
    path = folder;
  } else if (const char* env = korva::platform::GetEnv("TARN_SCHEMAS"); env == nullptr || *env == '\0') {
    path = korva::platform::JoinPath(korva::platform::JoinPath(ProgramFolder(argv0), ".."), "schemas");
  }
  if (!path.empty()) korva::TARN().setSchemaPath(path.c_str());
  // The library's own messages go with the errors, not into the listing.
  korva::TARN().reporter()->setStreams(stderr, stderr);
  korva::TARN().initialize();

  korva::TarnDesign* schema = korva::FindSchemaDesign(kIfcSchema);
  if (schema == nullptr) {
    const char* where = korva::TARN().schemaPath();
    std::fprintf(stderr, "korva-ifc: schema %s not found (schema path: %s)\n", kIfcSchema,
                 where != nullptr ? where : "unset");
    return 1;
  }
  if (name == nullptr) {
    PrintCounts(schema);
    return 0;
  }
  korva::TarnDomain* d = korva::FindDomainInSchema(schema, name);
  if (d == nullptr) {
    std::fprintf(stderr, "korva-ifc: %s has no type named '%s'\n", kIfcSchema, name);
    return 1;
  }
  PrintType(schema, d);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  if (std::strcmp(argv[1], "demo") == 0) return Demo(argc > 2 ? argv[2] : nullptr);
  if (std::strcmp(argv[1], "guid") == 0) {
    int count = argc > 2 ? std::atoi(argv[2]) : 1;
    return PrintGuids(count > 0 ? count : 1);
  }
  if (std::strcmp(argv[1], "schema") == 0) return Schema(argv[0], argc - 2, argv + 2);
  return Usage();
}

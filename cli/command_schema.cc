// korva-ifc schema: the dictionary of "ifc2x2_final" as the library loads
// it from the compiled schemas.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "ifc2x2/schema.h"
#include "objdb/design.h"
#include "objdb/dictionary_binding.h"
#include "objdb/domain.h"
#include "objdb/interface.h"

namespace korva {
namespace cli {
namespace {

// The kind of type a domain of a compiled schema describes, from the shape
// the schema compiler gives it.
enum class Kind { kEntity, kSelect, kEnumeration, kDefined, kAggregate };

Kind KindOf(TarnDomain* d) {
  TarnDomain* super = d->firstSuper();
  const char* superName = super != nullptr && super->name() != nullptr ? super->name() : "";
  if (std::strcmp(superName, "TarnUnion") == 0) return Kind::kSelect;
  if (std::strcmp(superName, "TarnEnum") == 0) return Kind::kEnumeration;
  if (d->nodeType() == kNodeStructure) return Kind::kEntity;
  // Aggregate types are declared with their element; defined types only
  // name what they are stored as.
  for (TarnAttribute* a : d->allAttributes())
    if (d->nodeType() == kNodeAggregate && std::strcmp(a->name(), "element") == 0 &&
        a->original()->owner() == d)
      return Kind::kAggregate;
  return Kind::kDefined;
}

const char* NameOf(TarnDomain* d) { return d != nullptr && d->name() != nullptr ? d->name() : "?"; }

// The domains of a schema design, in the order the schema holds them.
std::vector<TarnDomain*> SchemaDomains(TarnDesign* schema) {
  std::vector<TarnDomain*> domains;
  for (TarnSection* s : schema->sections())
    for (TarnExtent* e = s->firstExtent(); e != nullptr; e = e->next())
      for (TarnObject* o = e->first(); o != nullptr; o = o->nextInExtent())
        if (auto* d = dynamic_cast<TarnDomain*>(o)) domains.push_back(d);
  return domains;
}

void PrintCounts(TarnDesign* schema) {
  int counts[5] = {};
  for (TarnDomain* d : SchemaDomains(schema)) ++counts[static_cast<int>(KindOf(d))];
  std::printf("schema %s\n", schema->name());
  std::printf("  entities           %5d\n", counts[static_cast<int>(Kind::kEntity)]);
  std::printf("  selects            %5d\n", counts[static_cast<int>(Kind::kSelect)]);
  std::printf("  enumerations       %5d\n", counts[static_cast<int>(Kind::kEnumeration)]);
  std::printf("  defined types      %5d\n", counts[static_cast<int>(Kind::kDefined)]);
  std::printf("  aggregate classes  %5d\n", counts[static_cast<int>(Kind::kAggregate)]);
}

void PrintType(TarnDesign* schema, TarnDomain* d) {
  // Own attributes, in declaration order (selects and aggregates keep their
  // members and element there).
  std::vector<TarnAttribute*> own;
  if (ListOfTarnAttribute* list = d->listOfAttribute())
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
      for (TarnAttribute* a : d->allAttributes()) {
        TarnDomain* owner = a->original()->owner();
        std::printf("  %3d  %-28s %-32s %s%s\n", ++n, a->name(), NameOf(a->domain()), NameOf(owner),
                    a->isDerived() ? " (derived)" : "");
      }
      break;
    }
    case Kind::kSelect:
      std::printf("SELECT %s\n", NameOf(d));
      std::printf("  members: %d\n", static_cast<int>(own.size()));
      for (TarnAttribute* a : own) std::printf("    %s\n", NameOf(a->domain()));
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

int RunSchema(const Invocation& call);

}  // namespace

extern const Command kSchemaCommand = {
    "schema", "[--schemas DIR] [NAME]",
    "Without NAME: how many entities, selects, enumerations, defined types and\n"
    "aggregate classes the dictionary of ifc2x2_final holds.  With NAME (any\n"
    "case): that type - an entity's supertypes and complete attribute list, a\n"
    "select's members, an enumeration's enumerators with their indices, ...\n"
    "An unknown NAME ends with status 1.\n\n"
    "  --schemas DIR  the folder of the compiled schemas (default: TARN_SCHEMAS,\n"
    "                 else the schemas folder beside the program's folder)\n",
    RunSchema};

namespace {

int RunSchema(const Invocation& call) {
  Arguments args;
  if (!ParseArguments(kSchemaCommand, call, {}, {"--schemas"}, &args)) return kExitUsage;
  if (args.positional.size() > 1) return UsageError(kSchemaCommand, "too many arguments");
  if (!StartLibrary(call.program, args.value("--schemas"))) return kExitNoSchema;
  TarnDesign* schema = LoadIfcSchema();
  if (args.positional.empty()) {
    PrintCounts(schema);
    return kExitOk;
  }
  const char* name = args.positional[0].c_str();
  TarnDomain* d = FindDomainInSchema(schema, name);
  if (d == nullptr) return Fail(kExitFailed, "%s has no type named '%s'", kIfcSchemaName, name);
  PrintType(schema, d);
  return kExitOk;
}

}  // namespace
}  // namespace cli
}  // namespace korva

#include "support/referrers.h"

#include <string>

#include "objdb/aggregate.h"
#include "objdb/design.h"

namespace korva {
namespace test {

Objects Listed(const TarnReferrers& referrers) { return Objects(referrers.begin(), referrers.end()); }

Objects ReferrersOf(TarnObject* instance) { return Listed(backPointers(instance)); }

Objects Entities(TarnDesign* design) {
  Objects out;
  for (TarnSection* s : design->sections())
    for (TarnExtent* e = s->firstExtent(); e != nullptr; e = e->next())
      for (TarnObject* o = e->first(); o != nullptr; o = o->nextInExtent())
        if (o->typePtr()->nodeType() == kNodeStructure) out.push_back(o);
  return out;
}

Objects Searched(TarnObject* instance) {
  ListOfTarnObject found;
  instance->usedin(nullptr, nullptr, &found);
  Objects out;
  for (uint32_t i = 0; i < found.count(); ++i) out.push_back(found.get(i));
  return out;
}

Listing ListingOf(TarnDesign* design) {
  Listing l;
  auto add = [&l](uint32_t n, char separator) {
    const std::string text = std::to_string(n) + separator;
    for (char c : text) l.digest = (l.digest ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  };
  for (TarnObject* o : Entities(design)) {
    const Objects referrers = ReferrersOf(o);
    if (referrers.empty()) continue;
    ++l.targets;
    l.entries += referrers.size();
    add(o->instanceNumber(), ':');
    for (TarnObject* r : referrers) add(r->instanceNumber(), ' ');
    add(0, '\n');
  }
  return l;
}

bool operator==(const Listing& a, const Listing& b) {
  return a.targets == b.targets && a.entries == b.entries && a.digest == b.digest;
}

}  // namespace test
}  // namespace korva

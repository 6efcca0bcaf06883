// Complex (AND/OR) domains: the domain of an instance that belongs to
// several entity types at once.  Its supertypes are the combined entity
// domains, its name joins their names with "_and_" in sorted order, and it
// is flagged complex.
#ifndef KORVA_OBJDB_COMPLEX_DOMAIN_H
#define KORVA_OBJDB_COMPLEX_DOMAIN_H

#include <vector>

namespace korva {

class TarnDesign;
class TarnDomain;

// The leaves of a set of entity domains: members that are a supertype of
// another member are dropped; the rest are sorted by name.
std::vector<TarnDomain*> ComplexLeaves(const std::vector<TarnDomain*>& domains);

// The AND/OR domain of the set: null without leaves, the leaf itself for
// one, else a complex subtype of the first leaf (of `schema` when given)
// whose supertypes are exactly the leaves; null when there is none.
TarnDomain* FindAndOrDomain(const std::vector<TarnDomain*>& domains, TarnDesign* schema);

// Makes the AND/OR domain of the set, in `schema` when it is a schema
// design, else in the design of the first leaf's domain; activated.
TarnDomain* MakeAndOrDomain(const std::vector<TarnDomain*>& domains, TarnDesign* schema);

}  // namespace korva

#endif  // KORVA_OBJDB_COMPLEX_DOMAIN_H

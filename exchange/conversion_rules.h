// The explicit rules of the conversion between the IFC schemas of this
// build (exchange/schema_conversion.h).  Everything else is converted by
// name, entity by entity and attribute by attribute, from the two compiled
// dictionaries; a rule covers only what the names cannot:
//
//   rename entity     the entity has another name in the target schema
//   rename attribute  the attribute has another name in the target entity
//   drop attribute    the target entity has no such attribute, and the value
//                     means nothing there: it is left out and counted as
//                     carried by a rule, not as a loss
//   default           the target entity requires an attribute the source
//                     entity does not have: it gets this enumerator
//
// Entity names in a rule match the source entity and its subtypes.
#ifndef KORVA_EXCHANGE_CONVERSION_RULES_H
#define KORVA_EXCHANGE_CONVERSION_RULES_H

#include <vector>

namespace korva {

class TarnDomain;

struct ConversionRule {
  enum Kind { kRenameEntity, kRenameAttribute, kDropAttribute, kDefault };
  Kind kind;
  const char* from;       // FILE_SCHEMA name of the source ("IFC2X2_FINAL")
  const char* to;         // FILE_SCHEMA name of the target ("IFC2X3")
  const char* entity;     // source entity (and its subtypes)
  const char* attribute;  // source attribute; target attribute for kDefault
  const char* value;      // new name or enumerator; null for kDropAttribute
  const char* reason;     // why, in a few words (docs and reports)
};

// Every rule, in table order.
const std::vector<ConversionRule>& ConversionRules();

// The first rule of `kind` from schema `from` to `to` for `entity` (by its
// own name or one of its supertypes') and `attribute` (ignored for entity
// renames); null when there is none.  Names compare without regard to case.
const ConversionRule* FindConversionRule(ConversionRule::Kind kind, const char* from, const char* to,
                                         TarnDomain* entity, const char* attribute);

}  // namespace korva

#endif  // KORVA_EXCHANGE_CONVERSION_RULES_H

#include "exchange/conversion_rules.h"

#include "objdb/domain.h"
#include "objdb/text.h"

namespace korva {
namespace {

using R = ConversionRule;

// IFC2x3 renamed one entity (a misspelt name) and one attribute of texture
// maps, and moved ProjectedOrTrue from every structural action down to the
// linear and planar actions (those convert by name): on a point action it
// describes nothing.
const std::vector<ConversionRule> kRules = {
    {R::kRenameEntity, "IFC2X2_FINAL", "IFC2X3", "IfcExternallyDefinedSufaceStyle", nullptr,
     "IfcExternallyDefinedSurfaceStyle", "the misspelt name was corrected"},
    {R::kRenameEntity, "IFC2X3", "IFC2X2_FINAL", "IfcExternallyDefinedSurfaceStyle", nullptr,
     "IfcExternallyDefinedSufaceStyle", "the misspelt name was corrected"},
    {R::kRenameAttribute, "IFC2X2_FINAL", "IFC2X3", "IfcTextureMap", "VertexBasedTextures", "TextureMaps",
     "the attribute was renamed"},
    {R::kRenameAttribute, "IFC2X3", "IFC2X2_FINAL", "IfcTextureMap", "TextureMaps", "VertexBasedTextures",
     "the attribute was renamed"},
    {R::kDropAttribute, "IFC2X2_FINAL", "IFC2X3", "IfcStructuralPointAction", "ProjectedOrTrue", nullptr,
     "a point load has no length to project"},
    {R::kDefault, "IFC2X3", "IFC2X2_FINAL", "IfcStructuralPointAction", "ProjectedOrTrue", "TRUE_LENGTH",
     "required in IFC2x2, meaningless for a point load"},
};

bool Matches(TarnDomain* entity, const char* name) {
  if (entity == nullptr || name == nullptr) return false;
  if (entity->name() != nullptr && EqualNoCase(entity->name(), name)) return true;
  for (TarnDomain* s : entity->allSupers())
    if (s->name() != nullptr && EqualNoCase(s->name(), name)) return true;
  return false;
}

}  // namespace

const std::vector<ConversionRule>& ConversionRules() { return kRules; }

const ConversionRule* FindConversionRule(ConversionRule::Kind kind, const char* from, const char* to,
                                         TarnDomain* entity, const char* attribute) {
  if (from == nullptr || to == nullptr) return nullptr;
  for (const ConversionRule& r : kRules) {
    if (r.kind != kind || !EqualNoCase(r.from, from) || !EqualNoCase(r.to, to)) continue;
    if (!Matches(entity, r.entity)) continue;
    if (kind != ConversionRule::kRenameEntity && (attribute == nullptr || !EqualNoCase(r.attribute, attribute)))
      continue;
    return &r;
  }
  return nullptr;
}

}  // namespace korva

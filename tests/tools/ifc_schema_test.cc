// The real IFC2X2_FINAL schema, as the code generator will see it.
#include <gtest/gtest.h>

#include <map>

#include "express/aggregates.h"
#include "test_support.h"

namespace korva::express {
namespace {

using testing::attributeNames;
using testing::ifcSchema;

const Entity& entity(const char* name) {
  const Entity* e = ifcSchema().findEntity(name);
  if (!e) throw std::runtime_error(std::string("no entity ") + name);
  return *e;
}

TEST(IfcSchema, LoadsWithExpectedCounts) {
  const Schema s = loadSchemaFile(KORVA_IFC_SCHEMA);
  EXPECT_EQ(s.name, "IFC2X2_FINAL");
  EXPECT_EQ(s.entities().size(), 629u);
  EXPECT_EQ(s.selects().size(), 42u);
  EXPECT_EQ(s.enumerations().size(), 161u);
  EXPECT_EQ(s.declarations().size(),
            629u + 42u + 161u + s.definedTypes().size());
}

TEST(IfcSchema, CompleteAttributeListsInheritedFirst) {
  EXPECT_EQ(attributeNames(entity("IfcBeam")),
            "GlobalId,OwnerHistory,Name,Description,ObjectType,ObjectPlacement,"
            "Representation,Tag");
  EXPECT_EQ(attributeNames(entity("IfcBuildingStorey")),
            "GlobalId,OwnerHistory,Name,Description,ObjectType,ObjectPlacement,"
            "Representation,LongName,CompositionType,Elevation");

  const Entity& beam = entity("IfcBeam");
  EXPECT_EQ(beam.findAttribute("globalid")->owner, &entity("IfcRoot"));
  EXPECT_FALSE(beam.findAttribute("Name")->isDerived());
  EXPECT_TRUE(beam.findAttribute("Name")->optional());
  EXPECT_FALSE(beam.findAttribute("GlobalId")->optional());

  // Ancestors from the root down, as the class layout declares them.
  std::string chain;
  for (const Entity* a : entity("IfcDirection").ancestors) chain += a->name + ",";
  EXPECT_EQ(chain, "IfcRepresentationItem,IfcGeometricRepresentationItem,");
}

TEST(IfcSchema, DerivedRedeclarationsMarkInheritedSlots) {
  const Entity& sub = entity("IfcGeometricRepresentationSubContext");
  EXPECT_EQ(attributeNames(sub),
            "ContextIdentifier,ContextType,CoordinateSpaceDimension,Precision,"
            "WorldCoordinateSystem,TrueNorth,ParentContext,TargetScale,TargetView,"
            "UserDefinedTargetView");
  std::string derived;
  for (const AttributeSlot& slot : sub.allAttributes)
    if (slot.isDerived()) derived += slot.name() + ",";
  EXPECT_EQ(derived, "CoordinateSpaceDimension,Precision,WorldCoordinateSystem,TrueNorth,");
  EXPECT_FALSE(entity("IfcGeometricRepresentationContext").findAttribute("Precision")->isDerived());

  const Entity& edge = entity("IfcOrientedEdge");
  EXPECT_EQ(attributeNames(edge), "EdgeStart,EdgeEnd,EdgeElement,Orientation");
  EXPECT_TRUE(edge.allAttributes[0].isDerived());
  EXPECT_TRUE(edge.allAttributes[1].isDerived());
  EXPECT_FALSE(edge.allAttributes[2].isDerived());
  EXPECT_EQ(edge.derived[0].redeclares->declaredIn, &entity("IfcEdge"));

  const AttributeSlot* dims = entity("IfcSIUnit").findAttribute("Dimensions");
  ASSERT_NE(dims, nullptr);
  EXPECT_TRUE(dims->isDerived());
  EXPECT_EQ(dims->owner, &entity("IfcNamedUnit"));
}

TEST(IfcSchema, EnumerationIndicesFollowSchemaOrder) {
  const Schema& s = ifcSchema();
  const EnumerationType* unit = s.findEnumeration("IfcSIUnitName");
  ASSERT_NE(unit, nullptr);
  EXPECT_EQ(unit->indexOf("METRE"), 15);
  EXPECT_EQ(unit->indexOf("SQUARE_METRE"), 24);
  EXPECT_EQ(s.findEnumeration("IfcSIPrefix")->indexOf("MILLI"), 10);
  const EnumerationType* slab = s.findEnumeration("IfcSlabTypeEnum");
  ASSERT_NE(slab, nullptr);
  EXPECT_EQ(slab->items,
            (std::vector<std::string>{"FLOOR", "ROOF", "LANDING", "USERDEFINED", "NOTDEFINED"}));
}

TEST(IfcSchema, SelectMembersInDeclarationOrder) {
  const std::map<std::string, std::vector<std::string>> expected = {
      {"IfcAxis2Placement", {"IfcAxis2Placement2D", "IfcAxis2Placement3D"}},
      {"IfcUnit", {"IfcDerivedUnit", "IfcNamedUnit", "IfcMonetaryUnit"}},
      {"IfcSimpleValue",
       {"IfcInteger", "IfcReal", "IfcBoolean", "IfcIdentifier", "IfcText", "IfcLabel",
        "IfcLogical"}},
  };
  for (const auto& [name, members] : expected) {
    const SelectType* select = ifcSchema().findSelect(name);
    ASSERT_NE(select, nullptr) << name;
    std::vector<std::string> got;
    for (const Declaration* m : select->members) got.push_back(m->name);
    EXPECT_EQ(got, members) << name;
  }
  EXPECT_EQ(ifcSchema().findSelect("IfcAxis2Placement")->members[0]->kind, DeclKind::Entity);
  EXPECT_EQ(ifcSchema().findSelect("IfcSimpleValue")->members[0]->kind, DeclKind::DefinedType);
}

TEST(IfcSchema, TypesOfAttributes) {
  const TypeDesc& guid = underlyingType(entity("IfcRoot").attributes[0].type);
  EXPECT_EQ(guid.describe(), "STRING(22) FIXED");

  const TypeDesc& polygon = *entity("IfcPolyLoop").findAttribute("Polygon")->type;
  EXPECT_EQ(polygon.describe(), "LIST [3:?] OF UNIQUE IfcCartesianPoint");

  const AttributeSlot* wAxes = entity("IfcGrid").findAttribute("WAxes");
  EXPECT_TRUE(wAxes->optional());
  EXPECT_EQ(wAxes->type->describe(), "LIST [1:?] OF UNIQUE IfcGridAxis");

  const TypeDesc& coords = *entity("IfcCartesianPoint").findAttribute("Coordinates")->type;
  EXPECT_EQ(coords.lower.value, 1);
  EXPECT_EQ(coords.upper.value, 3);
  EXPECT_EQ(underlyingType(*coords.element).simple, SimpleKind::Real);

  // INVERSE attributes keep their aggregate, target and FOR attribute.
  const InverseAttribute& inv = entity("IfcRepresentationContext").inverses.at(0);
  EXPECT_EQ(inv.name, "RepresentationsInContext");
  EXPECT_EQ(inv.type.describe(), "SET [0:?] OF IfcRepresentation");
  EXPECT_EQ(inv.target, &entity("IfcRepresentation"));
  EXPECT_EQ(inv.inverseOf, entity("IfcRepresentation").findAttribute("ContextOfItems")->attribute);

  EXPECT_TRUE(entity("IfcRoot").isAbstract);
  EXPECT_EQ(entity("IfcRoot").unique.at(0).label, "UR1");
  EXPECT_EQ(entity("IfcGeometricRepresentationSubContext").where.at(1).label, "WR32");
}

TEST(IfcSchema, AggregateClassCounts) {
  // Every distinct (kind, named element type) over explicit, derived and
  // inverse attributes: 105 sets, 36 lists and one array.
  std::map<AggregateKind, int> byKind;
  std::map<std::string, AggregateKind> byName;
  for (const AggregateClass& c : aggregateClasses(ifcSchema())) {
    ++byKind[c.kind];
    byName[c.name] = c.kind;
  }
  EXPECT_EQ(byName.size(), 142u);
  EXPECT_EQ(byKind[AggregateKind::Set], 105);
  EXPECT_EQ(byKind[AggregateKind::List], 36);
  EXPECT_EQ(byKind[AggregateKind::Array], 1);
  EXPECT_EQ(byKind[AggregateKind::Bag], 0);
  for (const char* name :
       {"SetOfIfcRepresentationItem", "ListOfIfcCartesianPoint", "ListOfIfcRepresentation",
        "SetOfIfcFace", "SetOfIfcUnit", "ArrayOfIfcCartesianPoint", "ListOfIfcValue",
        "SetOfIfcObject", "SetOfIfcFaceBound", "SetOfIfcDerivedUnitElement",
        "ListOfIfcLengthMeasure"})
    EXPECT_EQ(byName.count(name), 1u) << name;
  // Aggregates of simple values are the object store's, not generated.
  EXPECT_EQ(byName.count("ListOfREAL"), 0u);
}

}  // namespace
}  // namespace korva::express

// The generated IFC2x2 classes bound to the compiled dictionary loaded from
// the build's schemas folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ifc2x2/ifc2x2.h"
#include "objdb/dictionary_binding.h"
#include "objdb/interface.h"
#include "support/test_util.h"

namespace korva {
namespace {

class BindingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TARN().reporter()->setStreams(out_.get(), err_.get());
    TARN().setSchemaPath(KORVA_SCHEMA_DIR);
    TARN().initialize();
    design_ = TARN().newDesign("bindings");
    ASSERT_TRUE(design_->addSchema("ifc2x2_final")) << out_.text();
  }
  void TearDown() override {
    TARN().shutdown();
    TARN().setSchemaPath(nullptr);
    TARN().reporter()->setStreams(stdout, stderr);
  }
  std::vector<std::string> AttributeNames(const char* domain) {
    std::vector<std::string> names;
    TarnDomain* d = design_->findDomain(domain);
    if (d == nullptr) return names;
    for (TarnAttribute* a : d->allAttributes()) names.emplace_back(a->name());
    return names;
  }
  test::CapturedStream out_, err_;
  TarnDesign* design_ = nullptr;
};

TEST_F(BindingsTest, SchemaLoadsWithEveryType) {
  TarnDesign* schema = FindSchemaDesign("ifc2x2_final");
  ASSERT_NE(schema, nullptr);
  EXPECT_TRUE(schema->isSchemaDesign());
  EXPECT_EQ(AttributeNames("IfcBeam"),
            (std::vector<std::string>{"GlobalId", "OwnerHistory", "Name", "Description", "ObjectType",
                                      "ObjectPlacement", "Representation", "Tag"}));
  EXPECT_EQ(IfcBeam::classType.domain(), design_->findDomain("IFCBEAM"));
  const std::string text = out_.text();
  EXPECT_EQ(text.find("not found"), std::string::npos) << text;
  EXPECT_EQ(text.find("error"), std::string::npos) << text;
}

TEST_F(BindingsTest, TypedAndLateBoundAccessMeet) {
  IfcBuildingStorey* storey = typecast<IfcBuildingStorey>(design_->newInstance("IfcBuildingStorey"));
  ASSERT_NE(storey, nullptr);
  EXPECT_EQ(storey->Elevation(), 0.0);
  storey->Elevation(3.5);
  EXPECT_EQ(storey->getDouble("Elevation"), 3.5);
  storey->putString("Level 1", "Name");
  EXPECT_STREQ(storey->Name(), "Level 1");
  IfcOwnerHistory* history = typecast<IfcOwnerHistory>(design_->newInstance("IfcOwnerHistory"));
  ASSERT_NE(history, nullptr);
  EXPECT_EQ(history->ChangeAction(), -1);
  EXPECT_EQ(history->CreationDate(), 0);
  storey->OwnerHistory(history);
  EXPECT_EQ(storey->getObject("OwnerHistory"), static_cast<TarnObject*>(history));
  // An aggregate getter of a new instance makes an empty aggregate.
  IfcCartesianPoint* point = typecast<IfcCartesianPoint>(design_->newInstance("IfcCartesianPoint"));
  ListOfIfcLengthMeasure* coordinates = point->Coordinates();
  ASSERT_NE(coordinates, nullptr);
  EXPECT_EQ(coordinates->count(), 0u);
  coordinates->add(1.0);
  coordinates->add(2.0);
  EXPECT_EQ(point->getObject("Coordinates"), static_cast<TarnObject*>(coordinates));
  EXPECT_EQ(coordinates->getDouble(1), 2.0);
}

TEST_F(BindingsTest, EnumerationsAndSelects) {
  TarnType* names = IfcSIUnitName_type.domain()->typeRecord();
  ASSERT_NE(names, nullptr);
  EXPECT_STREQ(names->enumeratorName(15), "METRE");
  EXPECT_STREQ(names->enumeratorName(24), "SQUARE_METRE");
  EXPECT_EQ(IfcSIUnitName_METRE, 15);
  EXPECT_EQ(IfcSlabTypeEnum_ROOF, 1);
  IfcSlab* slab = typecast<IfcSlab>(design_->newInstance("IfcSlab"));
  slab->PredefinedType(IfcSlabTypeEnum_ROOF);
  EXPECT_STREQ(slab->getString("PredefinedType"), "ROOF");
  IfcAxis2Placement* placement = typecast<IfcAxis2Placement>(design_->newInstance("IfcAxis2Placement"));
  ASSERT_NE(placement, nullptr);
  IfcAxis2Placement3D* p3 = typecast<IfcAxis2Placement3D>(design_->newInstance("IfcAxis2Placement3D"));
  placement->_IfcAxis2Placement3D(p3);
  EXPECT_TRUE(placement->isIfcAxis2Placement3D());
  EXPECT_FALSE(placement->isIfcAxis2Placement2D());
  EXPECT_EQ(placement->_IfcAxis2Placement3D(), p3);
  std::vector<std::string> members;
  for (TarnAttribute* a : placement->domain()->allAttributes()) members.emplace_back(a->name());
  EXPECT_EQ(members, (std::vector<std::string>{"_IfcAxis2Placement2D", "_IfcAxis2Placement3D"}));
}

TEST_F(BindingsTest, ProfilePropertiesAttributesInDeclarationOrder) {
  // Inherited first (IfcProfileProperties, IfcGeneralProfileProperties),
  // then the entity's own in schema order (Z before Y for the shear values).
  EXPECT_EQ(AttributeNames("IfcStructuralProfileProperties"),
            (std::vector<std::string>{
                "ProfileName", "ProfileDefinition", "PhysicalWeight", "Perimeter", "MinimumPlateThickness",
                "MaximumPlateThickness", "CrossSectionArea", "TorsionalConstantX", "MomentOfInertiaYZ",
                "MomentOfInertiaY", "MomentOfInertiaZ", "WarpingConstant", "ShearCentreZ", "ShearCentreY",
                "ShearDeformationAreaZ", "ShearDeformationAreaY", "MaximumSectionModulusY", "MinimumSectionModulusY",
                "MaximumSectionModulusZ", "MinimumSectionModulusZ", "TorsionalSectionModulus"}));
}

// Every shutdown destroys the schema designs; the next initialisation loads
// them again and every class binds to the new domains.
TEST_F(BindingsTest, ShutdownCyclesRebindEveryClass) {
  for (int cycle = 0; cycle < 20; ++cycle) {
    SCOPED_TRACE("cycle " + std::to_string(cycle));
    TarnDesign* schema = FindSchemaDesign("ifc2x2_final");
    ASSERT_NE(schema, nullptr);
    for (TarnType* type : {&IfcBeam::classType, &IfcCartesianPoint::classType, &IfcAxis2Placement::classType,
                           &ListOfIfcCartesianPoint::classType}) {
      ASSERT_NE(type->domain(), nullptr) << type->name();
      EXPECT_EQ(type->domain()->design(), schema) << type->name();
    }
    IfcBeam* beam = typecast<IfcBeam>(design_->newInstance("IfcBeam"));
    ASSERT_NE(beam, nullptr);
    beam->Tag(const_cast<char*>("B1"));
    EXPECT_STREQ(beam->getString("Tag"), "B1");
    TARN().shutdown();
    TARN().reporter()->setStreams(out_.get(), err_.get());
    TARN().initialize();
    design_ = TARN().newDesign("bindings");
    ASSERT_TRUE(design_->addSchema("ifc2x2_final"));
  }
  EXPECT_EQ(out_.text().find("error"), std::string::npos);
}

}  // namespace
}  // namespace korva

// The structural analysis import on a model built in memory: two analysis
// models with members, point connections and boundary conditions, a load
// group with point and linear actions, materials, profile properties of
// several shapes and project units.  The census and fill run on the design;
// the values are read back through the exported counters and getters.
#include "import/analysis_import.h"

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ifc2x2/schema.h"
#include "import/import_fixture.h"

namespace korva {
namespace {

using test::Id;

// The analysis model's parts, on top of the shared entities.
class ModelBuilder : public test::IfcBuilder {
 public:
  using IfcBuilder::IfcBuilder;

  IfcVertexPoint* vertex(std::initializer_list<double> xyz) {
    IfcVertexPoint* v = entity<IfcVertexPoint>("IfcVertexPoint");
    v->VertexGeometry(point(xyz));
    return v;
  }
  // A product representation with one topology representation, as the
  // analysis export writes them.
  IfcProductDefinitionShape* topology(const char* type, IfcRepresentationItem* item) {
    IfcTopologyRepresentation* r = entity<IfcTopologyRepresentation>("IfcTopologyRepresentation");
    r->RepresentationType(type);
    r->Items()->add(item);
    IfcProductDefinitionShape* s = entity<IfcProductDefinitionShape>("IfcProductDefinitionShape");
    s->Representations()->add(r);
    return s;
  }
  IfcBoundaryNodeCondition* condition(std::initializer_list<double> stiffnesses) {
    IfcBoundaryNodeCondition* b = entity<IfcBoundaryNodeCondition>("IfcBoundaryNodeCondition");
    const char* names[6] = {"LinearStiffnessX",     "LinearStiffnessY",     "LinearStiffnessZ",
                            "RotationalStiffnessX", "RotationalStiffnessY", "RotationalStiffnessZ"};
    int i = 0;
    for (double s : stiffnesses) b->putDouble(s, names[i++]);
    return b;
  }
  IfcRelConnectsStructuralMember* connect(IfcStructuralMember* member, IfcStructuralConnection* connection,
                                          IfcBoundaryCondition* condition) {
    IfcRelConnectsStructuralMember* r = entity<IfcRelConnectsStructuralMember>("IfcRelConnectsStructuralMember");
    r->RelatingStructuralMember(member);
    r->RelatedStructuralConnection(connection);
    if (condition != nullptr) r->AppliedCondition(condition);
    return r;
  }
  IfcRelAssignsToGroup* group(IfcGroup* group, std::initializer_list<IfcObject*> objects) {
    IfcRelAssignsToGroup* r = entity<IfcRelAssignsToGroup>("IfcRelAssignsToGroup");
    r->RelatingGroup(group);
    for (IfcObject* o : objects) r->RelatedObjects()->add(o);
    return r;
  }
  void actOn(IfcStructuralActivity* action, IfcStructuralItem* item) {
    IfcRelConnectsStructuralActivity* r = entity<IfcRelConnectsStructuralActivity>("IfcRelConnectsStructuralActivity");
    IfcStructuralActivityAssignmentSelect* s =
        select<IfcStructuralActivityAssignmentSelect>("IfcStructuralActivityAssignmentSelect");
    s->_IfcStructuralItem(item);
    r->RelatingElement(s);
    r->RelatedStructuralActivity(action);
  }
  IfcSIUnit* siUnit(int type, int prefix, int name) {
    IfcSIUnit* u = entity<IfcSIUnit>("IfcSIUnit");
    u->UnitType(type);
    if (prefix >= 0) u->Prefix(prefix);
    u->Name(name);
    return u;
  }
  IfcDimensionalExponents* exponents(std::initializer_list<int> values) {
    IfcDimensionalExponents* e = entity<IfcDimensionalExponents>("IfcDimensionalExponents");
    // The seven exponents are the entity's attributes, in the schema's order.
    size_t i = 0;
    for (int v : values) EXPECT_TRUE(e->putInteger(v, e->domain()->allAttributes().at(i++)));
    return e;
  }
  IfcDerivedUnit* derived(std::vector<std::pair<IfcNamedUnit*, int>> elements) {
    IfcDerivedUnit* u = entity<IfcDerivedUnit>("IfcDerivedUnit");
    for (const auto& e : elements) {
      IfcDerivedUnitElement* element = entity<IfcDerivedUnitElement>("IfcDerivedUnitElement");
      element->Unit(e.first);
      element->Exponent(e.second);
      u->Elements()->add(element);
    }
    return u;
  }
};

// What a test needs to name of the hand-built model.
struct Model {
  IfcStructuralAnalysisModel *frameA, *frameB;
  IfcStructuralCurveMember *beam, *column, *brace;
  IfcStructuralSurfaceMember* slab;
  IfcStructuralPointConnection *support, *joint, *corner, *free;
  IfcStructuralLoadGroup *liveLoad, *deadLoad;
  IfcStructuralPointAction *pointLoad, *settlement;
  IfcStructuralLinearAction* lineLoad;
  IfcMaterial* steel;
  IfcStructuralProfileProperties *ipe, *rectangle, *circle, *tee, *angle, *bare;
};

class AnalysisImportTest : public test::ImportTest {
 protected:
  void SetUp() override {
    ImportTest::SetUp();
    ASSERT_NE(LoadIfcSchema(), nullptr) << out_.text();
    design_ = TARN().newDesign("frames");
    ASSERT_TRUE(design_->addSchema(kIfcSchemaName));
    build_ = std::make_unique<ModelBuilder>(design_);
    BuildModel();
  }

  void BuildModel();
  void BuildUnits();
  void BuildProperties();

  TarnDesign* design_ = nullptr;
  std::unique_ptr<ModelBuilder> build_;
  Model m_{};
};

// Frame A: a beam on a support (met twice) and a joint, a column on the
// same joint, a slab on a corner connection, and a free point connection.
// Frame B: a brace grouped into it twice.
void AnalysisImportTest::BuildModel() {
  ModelBuilder& b = *build_;
  BuildUnits();
  m_.frameA = b.entity<IfcStructuralAnalysisModel>("IfcStructuralAnalysisModel");
  m_.frameA->putString("Frame A", "Name");
  m_.frameA->putString("G-frame-A", "GlobalId");
  m_.frameA->putString("3", "ObjectType");
  m_.frameA->OrientationOf2DPlane(b.axes({1, 2, 3}, b.direction({0, 1, 0}), b.direction({0, 0, 1})));
  m_.frameB = b.entity<IfcStructuralAnalysisModel>("IfcStructuralAnalysisModel");
  m_.frameB->putString("Frame B", "Name");
  m_.frameB->putString("lateral", "ObjectType");

  IfcLocalPlacement* storey = b.local(nullptr, b.axes({10, 0, 3}, b.direction({0, 0, 1}), b.direction({1, 0, 0})));
  m_.beam = b.entity<IfcStructuralCurveMember>("IfcStructuralCurveMember");
  m_.beam->putString("B1", "Name");
  m_.beam->putString("G-beam", "GlobalId");
  m_.beam->ObjectPlacement(b.local(storey, b.axes({0, 5, 0}, b.direction({1, 0, 0}), b.direction({0, 1, 0}))));
  IfcEdge* edge = b.entity<IfcEdge>("IfcEdge");
  edge->EdgeStart(b.vertex({0, 0, 3}));
  edge->EdgeEnd(b.vertex({6, 0, 3}));
  m_.beam->Representation(b.topology("Edge", edge));
  m_.column = b.entity<IfcStructuralCurveMember>("IfcStructuralCurveMember");  // no name, no placement
  m_.brace = b.entity<IfcStructuralCurveMember>("IfcStructuralCurveMember");
  m_.brace->putString("X1", "Name");

  m_.slab = b.entity<IfcStructuralSurfaceMember>("IfcStructuralSurfaceMember");
  m_.slab->putString("S1", "Name");
  // The placement's own axes lack their directions.
  m_.slab->ObjectPlacement(b.local(nullptr, b.axes({0, 0, 3}, nullptr, nullptr)));
  IfcFace* face = b.entity<IfcFace>("IfcFace");
  for (IfcPolyLoop* l : {b.loop({}), b.loop({{0, 0, 3}, {6, 0, 3}, {6, 4, 3}, {0, 4, 3}}),
                         b.loop({{1, 1, 3}, {2, 1, 3}, {2, 2, 3}})}) {
    IfcFaceBound* bound = b.entity<IfcFaceBound>("IfcFaceBound");
    bound->Bound(l);
    face->Bounds()->add(bound);
  }
  m_.slab->Representation(b.topology("Face", face));

  IfcStructuralPointConnection** points[4] = {&m_.support, &m_.joint, &m_.corner, &m_.free};
  const char* names[4] = {"N1", "N2", "N3", "N4"};
  const double x[4] = {0, 6, 0, 9};
  for (int i = 0; i < 4; ++i) {
    *points[i] = b.entity<IfcStructuralPointConnection>("IfcStructuralPointConnection");
    (*points[i])->putString(names[i], "Name");
    (*points[i])->Representation(b.topology("Vertex", b.vertex({x[i], 0, 3})));
  }
  (*points[0])->ObjectPlacement(b.local(nullptr, b.axes({0, 0, 3}, b.direction({0, 0, 1}), b.direction({1, 0, 0}))));

  // The support twice on the beam, the second time with a condition.
  b.connect(m_.beam, m_.support, nullptr);
  b.connect(m_.beam, m_.joint, b.condition({1, 2, 3, 4, 5, 6}));
  IfcBoundaryNodeCondition* partial = b.condition({7, 8, 9, 10, 11, 12});
  partial->unset("LinearStiffnessZ");
  b.connect(m_.beam, m_.support, partial);
  b.connect(m_.column, m_.joint, nullptr);
  b.connect(m_.slab, m_.corner, b.condition({100, 200, 300, 400, 500, 600}));

  m_.liveLoad = b.entity<IfcStructuralLoadGroup>("IfcStructuralLoadGroup");
  m_.liveLoad->putString("LC1", "Name");
  m_.liveLoad->PredefinedType(1);  // LOAD_CASE
  m_.liveLoad->ActionType(1);      // VARIABLE_Q
  m_.liveLoad->ActionSource(2);    // LIVE_LOAD_Q
  m_.liveLoad->Coefficient(1.5);
  m_.deadLoad = b.entity<IfcStructuralLoadGroup>("IfcStructuralLoadGroup");
  m_.deadLoad->putString("LC0", "Name");
  m_.frameA->LoadedBy()->add(m_.liveLoad);

  m_.pointLoad = b.entity<IfcStructuralPointAction>("IfcStructuralPointAction");
  m_.pointLoad->putString("P1", "Name");
  IfcStructuralLoadSingleForce* force = b.entity<IfcStructuralLoadSingleForce>("IfcStructuralLoadSingleForce");
  const char* forces[6] = {"ForceX", "ForceY", "ForceZ", "MomentX", "MomentY", "MomentZ"};
  for (int i = 0; i < 6; ++i) force->putDouble(i + 1.0, forces[i]);
  m_.pointLoad->AppliedLoad(force);
  m_.settlement = b.entity<IfcStructuralPointAction>("IfcStructuralPointAction");
  m_.settlement->AppliedLoad(b.entity<IfcStructuralLoadSingleDisplacement>("IfcStructuralLoadSingleDisplacement"));
  m_.lineLoad = b.entity<IfcStructuralLinearAction>("IfcStructuralLinearAction");
  m_.lineLoad->putString("Q1", "Name");
  IfcStructuralLoadLinearForce* line = b.entity<IfcStructuralLoadLinearForce>("IfcStructuralLoadLinearForce");
  const char* linear[6] = {"LinearForceX", "LinearForceY", "LinearForceZ",
                           "LinearMomentX", "LinearMomentY", "LinearMomentZ"};
  for (int i = 0; i < 6; ++i) line->putDouble(10.0 * (i + 1), linear[i]);
  m_.lineLoad->AppliedLoad(line);
  b.actOn(m_.pointLoad, m_.support);
  b.actOn(m_.lineLoad, m_.beam);

  b.group(m_.frameA, {m_.beam, m_.column, m_.slab, m_.support, m_.joint, m_.corner, m_.free});
  b.group(m_.frameB, {m_.brace});
  b.group(m_.frameB, {m_.brace});
  b.group(m_.liveLoad, {m_.pointLoad, m_.lineLoad});
  BuildProperties();
}

// Units: metre, foot, square millimetre, two derived units, degree.
void AnalysisImportTest::BuildUnits() {
  ModelBuilder& b = *build_;
  IfcProject* project = b.entity<IfcProject>("IfcProject");
  IfcUnitAssignment* assignment = b.entity<IfcUnitAssignment>("IfcUnitAssignment");
  project->UnitsInContext(assignment);
  IfcSIUnit* metre = b.siUnit(15, -1, 15);            // LENGTHUNIT, METRE
  IfcSIUnit* second = b.siUnit(27, -1, 21);           // TIMEUNIT, SECOND
  IfcSIUnit* newton = b.siUnit(11, 5, 17);            // FORCEUNIT, KILO NEWTON
  IfcConversionBasedUnit* foot = b.entity<IfcConversionBasedUnit>("IfcConversionBasedUnit");
  foot->UnitType(15);
  foot->Name("FOOT");
  foot->Dimensions(b.exponents({1, 0, 0, 0, 0, 0, 0}));
  IfcConversionBasedUnit* degree = b.entity<IfcConversionBasedUnit>("IfcConversionBasedUnit");
  degree->UnitType(21);  // PLANEANGLEUNIT: its dimensions are not read
  degree->Name("DEGREE");
  degree->Dimensions(b.exponents({0, 1, 0, 0, 0, 0, 0}));
  std::vector<TarnObject*> units = {metre,
                                    foot,
                                    b.siUnit(2, 10, 24),  // AREAUNIT, MILLI SQUARE_METRE
                                    b.derived({{metre, 1}, {second, -1}}),
                                    b.derived({{newton, 1}, {metre, -2}, {second, 1}}),
                                    degree};
  for (TarnObject* u : units) {
    IfcUnit* s = b.select<IfcUnit>("IfcUnit");
    if (IfcDerivedUnit* d = dynamic_cast<IfcDerivedUnit*>(u)) s->_IfcDerivedUnit(d);
    else s->_IfcNamedUnit(dynamic_cast<IfcNamedUnit*>(u));
    assignment->Units()->add(s);
  }
}

IfcAxis2Placement2D* Position2D(ModelBuilder& b, std::initializer_list<double> at, IfcDirection* ref) {
  IfcAxis2Placement2D* p = b.entity<IfcAxis2Placement2D>("IfcAxis2Placement2D");
  p->Location(b.point(at));
  if (ref != nullptr) p->RefDirection(ref);
  return p;
}

// Steel with general and mechanical properties, concrete, and six
// profiles: I, rectangle, circle, T, L and one without definition.  The
// beam takes the I profile and the steel.
void AnalysisImportTest::BuildProperties() {
  ModelBuilder& b = *build_;
  m_.steel = b.entity<IfcMaterial>("IfcMaterial");
  m_.steel->Name("S235");
  IfcMaterial* concrete = b.entity<IfcMaterial>("IfcMaterial");
  concrete->Name("C30/37");

  IfcGeneralMaterialProperties* general = b.entity<IfcGeneralMaterialProperties>("IfcGeneralMaterialProperties");
  general->Material(m_.steel);
  general->MolecularWeight(55.85);
  general->unset("Porosity");
  general->MassDensity(7850);
  IfcMechanicalSteelMaterialProperties* mech =
      b.entity<IfcMechanicalSteelMaterialProperties>("IfcMechanicalSteelMaterialProperties");
  mech->Material(m_.steel);
  mech->unset("DynamicViscosity");
  const std::pair<const char*, double> steelValues[] = {
      {"YoungModulus", 2.1e11},    {"ShearModulus", 8.1e10},       {"PoissonRatio", 0.3},
      {"ThermalExpansionCoefficient", 1.2e-05}, {"YieldStress", 2.35e8}, {"UltimateStress", 3.6e8},
      {"UltimateStrain", 0.15},    {"HardeningModule", 1.0e9},     {"ProportionalStress", 2.0e8},
      {"PlasticStrain", 0.002}};
  for (const auto& v : steelValues) mech->putDouble(v.second, v.first);
  IfcMechanicalConcreteMaterialProperties* conc =
      b.entity<IfcMechanicalConcreteMaterialProperties>("IfcMechanicalConcreteMaterialProperties");
  conc->Material(concrete);
  conc->CompressiveStrength(3.0e7);
  conc->MaxAggregateSize(0.032);

  auto profile = [&](const char* name, IfcProfileDef* definition) {
    IfcStructuralProfileProperties* p = b.entity<IfcStructuralProfileProperties>("IfcStructuralProfileProperties");
    p->putString(name, "ProfileName");
    if (definition != nullptr) p->ProfileDefinition(definition);
    return p;
  };
  IfcIShapeProfileDef* i = b.entity<IfcIShapeProfileDef>("IfcIShapeProfileDef");
  const std::pair<const char*, double> iValues[] = {{"OverallWidth", 0.18},   {"OverallDepth", 0.4},
                                                    {"WebThickness", 0.0086}, {"FlangeThickness", 0.0135},
                                                    {"FilletRadius", 0.021}};
  for (const auto& v : iValues) i->putDouble(v.second, v.first);
  i->Position(Position2D(b, {0.1, 0.2}, b.direction({0, 1})));
  m_.ipe = profile("IPE400", i);
  const std::pair<const char*, double> sectionValues[] = {
      {"PhysicalWeight", 66.3}, {"CrossSectionArea", 0.00845}, {"MomentOfInertiaY", 2.313e-4},
      {"MomentOfInertiaZ", 1.318e-5}, {"ShearCentreY", 0.5}, {"TorsionalSectionModulus", 1.0e-5}};
  for (const auto& v : sectionValues) m_.ipe->putDouble(v.second, v.first);

  IfcRectangleProfileDef* r = b.entity<IfcRectangleProfileDef>("IfcRectangleProfileDef");
  r->XDim(0.3);
  r->YDim(0.5);
  r->Position(Position2D(b, {0, 0}, nullptr));
  m_.rectangle = profile("R300x500", r);
  IfcCircleProfileDef* c = b.entity<IfcCircleProfileDef>("IfcCircleProfileDef");
  c->Radius(0.1);
  m_.circle = profile("D200", c);
  IfcTShapeProfileDef* t = b.entity<IfcTShapeProfileDef>("IfcTShapeProfileDef");
  t->Depth(0.3);
  t->FlangeWidth(0.2);
  t->CentreOfGravityInY(0.07);
  m_.tee = profile("T300", t);
  IfcLShapeProfileDef* l = b.entity<IfcLShapeProfileDef>("IfcLShapeProfileDef");
  l->Depth(0.1);
  l->Thickness(0.01);
  l->LegSlope(0.05);
  m_.angle = profile("L100", l);
  m_.bare = profile("none", nullptr);

  IfcRelAssociatesProfileProperties* section =
      b.entity<IfcRelAssociatesProfileProperties>("IfcRelAssociatesProfileProperties");
  section->RelatingProfileProperties(m_.ipe);
  section->RelatedObjects()->add(m_.beam);
  IfcRelAssociatesMaterial* material = b.entity<IfcRelAssociatesMaterial>("IfcRelAssociatesMaterial");
  IfcMaterialSelect* s = b.select<IfcMaterialSelect>("IfcMaterialSelect");
  s->_IfcMaterial(m_.steel);
  material->RelatingMaterial(s);
  material->RelatedObjects()->add(m_.beam);
}

TEST_F(AnalysisImportTest, CensusCountsEveryKindAndReadsModelsInInstanceOrder) {
  CensusAnalysisModels(design_);
  EXPECT_EQ(GetAnaModelAvailable(), -1);
  EXPECT_EQ(GetTotalAnaModels(), 1);  // two models: last index
  EXPECT_EQ(GetNumberGeneralMaterials(), 0);
  EXPECT_EQ(GetNumberMechSteelMats(), 0);
  EXPECT_EQ(GetNumberMechConcMats(), 0);
  EXPECT_EQ(GetNumberStrProfileProperties(), 5);
  // Census counts for the members' fill.
  EXPECT_EQ(GetNumberStrCurveMembers(), 3);
  EXPECT_EQ(GetNumberStrSurfaceMembers(), 1);
  EXPECT_EQ(GetNumberStrPointConnections(), 4);
  EXPECT_EQ(GetNumberStrLoadGroups(), 2);
  EXPECT_EQ(GetNumberStrPointActions(), 2);
  EXPECT_EQ(GetNumberStrLinearActions(), 1);
  EXPECT_EQ(GetNumberProjectUnits(), 6);

  EXPECT_EQ(Text(GetAnaModelName, 0), "Frame A");
  EXPECT_EQ(Text(GetAnaModelName, 1), "Frame B");
  EXPECT_EQ(Text(GetAnaModelGUID, 0), "G-frame-A");
  EXPECT_EQ(Text(GetAnaModelGUID, 1), kUntouched);  // unset GlobalId: null field
  EXPECT_EQ(GetAnaModelFileID(0), Id(m_.frameA));
  EXPECT_EQ(GetAnaModelFileID(1), Id(m_.frameB));
  EXPECT_EQ(GetAnaModelType(0), 3);
  EXPECT_EQ(GetAnaModelType(1), 0);  // "lateral" is no integer
  const double orientation[9] = {1, 2, 3, 0, 1, 0, 0, 0, 1};
  double (*const getters[9])(int) = {GetAnaModelStartx, GetAnaModelStarty, GetAnaModelStartz,
                                     GetAnaModelAxis1,  GetAnaModelAxis2,  GetAnaModelAxis3,
                                     GetAnaModelRef1,   GetAnaModelRef2,   GetAnaModelRef3};
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(getters[i](0), orientation[i]) << i;
    EXPECT_EQ(getters[i](1), 0.0) << i;  // no OrientationOf2DPlane
  }
}

TEST_F(AnalysisImportTest, ProjectUnitsByEnumeratorIndex) {
  CensusAnalysisModels(design_);
  ASSERT_EQ(GetNumberProjectUnits(), 6);
  struct Expected {
    int type, prefix, name, derived;
    const char* conversion;
  };
  const Expected units[6] = {
      {15, -1, 15, 0, " "},     // LENGTHUNIT, METRE
      {15, -1, -1, 0, "FOOT"},  // conversion based
      {2, 10, 24, 0, " "},      // AREAUNIT, MILLI, SQUARE_METRE
      {0, -1, -1, 2, " "},      // derived
      {0, -1, -1, 3, " "},      // derived
      {21, -1, -1, 0, "DEGREE"}};
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(GetProjectType(i), units[i].type);
    EXPECT_EQ(GetProjectSIUnitPrefix(i), units[i].prefix);
    EXPECT_EQ(GetProjectSIUnitName(i), units[i].name);
    EXPECT_EQ(GetProjectTotDerivedUnit(i), units[i].derived);
    EXPECT_EQ(Text(GetProjectConversionBasedName, i), units[i].conversion);
  }
  // Exponents of conversion-based length units only.
  const int foot[7] = {1, 0, 0, 0, 0, 0, 0};
  for (int e = 0; e < 7; ++e) {
    EXPECT_EQ(GetProjectConversionBasedExponent(1, e), foot[e]) << e;
    EXPECT_EQ(GetProjectConversionBasedExponent(5, e), 0) << e;
  }
  // The elements of the two derived units, one after the other.
  const int index[5] = {15, 27, 11, 15, 27};
  const int exponent[5] = {1, -1, 1, -2, 1};
  for (int p = 0; p < 5; ++p) {
    EXPECT_EQ(GetProjectDerivedUnitIndex(p), index[p]) << p;
    EXPECT_EQ(GetProjectDerivedUnitExp(p), exponent[p]) << p;
  }
}

TEST_F(AnalysisImportTest, MaterialsAndDefaults) {
  CensusAnalysisModels(design_);
  EXPECT_EQ(Text(GetGeneralMaterialName, 0), "S235");
  EXPECT_EQ(GetGeneralMaterialMolecularWeight(0), 55.85);
  EXPECT_EQ(GetGeneralMaterialPorosity(0), 0.0);  // unset
  EXPECT_EQ(GetGeneralMaterialMassDensity(0), 7850.0);

  EXPECT_EQ(Text(GetMechSteelMatName, 0), "S235");
  const std::pair<double (*)(int), double> steel[] = {
      {GetMechSteelMatDynamicViscosity, 0.0},  {GetMechSteelMatYoungModulus, 2.1e11},
      {GetMechSteelMatShearModulus, 8.1e10},   {GetMechSteelMatPoissonRatio, 0.3},
      {GetMechSteelMatThermalExpansion, 1.2e-05}, {GetMechSteelMatYieldStress, 2.35e8},
      {GetMechSteelMatUltimateStress, 3.6e8},  {GetMechSteelMatUltimateStrain, 0.15},
      {GetMechSteelMatHardeningModule, 1.0e9}, {GetMechSteelMatProportionalStress, 2.0e8},
      {GetMechSteelMatPlasticStrain, 0.002}};
  for (size_t i = 0; i < sizeof steel / sizeof steel[0]; ++i) EXPECT_EQ(steel[i].first(0), steel[i].second) << i;
  EXPECT_EQ(GetMechSteelMatNumberRelaxation(0), 0);

  // Concrete properties are counted, not read: every field keeps its default,
  // also through the two steel-named getters of the concrete table.
  for (auto get : {GetMechConcMatName, GetMechConcMatAdmixturesDescription, GetMechConcMatWorkability,
                   GetMechConcMatWaterImpermeability})
    EXPECT_EQ(Text(get, 0), " ");
  for (auto get : {GetMechConcMatYoungModulus, GetMechConcMatCompressiveStrength, GetMechSteelMatMaxAggregateSize,
                   GetMechSteelMatProtectivePoreRatio})
    EXPECT_EQ(get(0), 0.0);
}

TEST_F(AnalysisImportTest, ProfileShapesFlagsAndValues) {
  CensusAnalysisModels(design_);
  int (*const flags[9])(int) = {GetStrProfilePropertiesISection,    GetStrProfilePropertiesLSection,
                                GetStrProfilePropertiesUSection,    GetStrProfilePropertiesCSection,
                                GetStrProfilePropertiesZSection,    GetStrProfilePropertiesTSection,
                                GetStrProfilePropertiesTrapSection, GetStrProfilePropertiesRectSection,
                                GetStrProfilePropertiesCirSection};
  struct Expected {
    const char* name;
    IfcStructuralProfileProperties* Model::*profile;
    int flags[9];  // I, L, U, C, Z, T, Trap, Rect, Cir
  };
  // Every profile definition sets the I flag; no definition sets none.
  const Expected profiles[6] = {{"IPE400", &Model::ipe, {-1, 0, 0, 0, 0, 0, 0, 0, 0}},
                                {"R300x500", &Model::rectangle, {-1, 0, 0, 0, 0, 0, 0, -1, 0}},
                                {"D200", &Model::circle, {-1, 0, 0, 0, 0, 0, 0, 0, -1}},
                                {"T300", &Model::tee, {-1, 0, 0, 0, 0, -1, 0, 0, 0}},
                                {"L100", &Model::angle, {-1, -1, 0, 0, 0, 0, 0, 0, 0}},
                                {"none", &Model::bare, {0, 0, 0, 0, 0, 0, 0, 0, 0}}};
  for (int p = 0; p < 6; ++p) {
    SCOPED_TRACE(profiles[p].name);
    EXPECT_EQ(Text(GetStrProfilePropertiesProfileName, p), profiles[p].name);
    EXPECT_EQ(Text(GetStrProfilePropertiesSectionName, p), " ");
    EXPECT_EQ(Text(GetStrProfilePropertiesGUID, p), kUntouched);
    EXPECT_EQ(GetStrProfilePropertiesFileID(p), Id(m_.*profiles[p].profile));
    EXPECT_EQ(GetStrProfilePropertiesProfileType(p), 0);
    for (int f = 0; f < 9; ++f) EXPECT_EQ(flags[f](p), profiles[p].flags[f]) << f;
  }
  const std::pair<double (*)(int), double> ipe[] = {
      {GetStrProfilePropertiesPhysicalWeight, 66.3},     {GetStrProfilePropertiesCrossSectionArea, 0.00845},
      {GetStrProfilePropertiesMomentOfInertiaY, 2.313e-4}, {GetStrProfilePropertiesMomentOfInertiaZ, 1.318e-5},
      {GetStrProfilePropertiesShearCentreY, 0.5},        {GetStrProfilePropertiesTorsionalSectionModulus, 1.0e-5},
      {GetStrProfilePropertiesPerimeter, 0.0},           {GetStrProfilePropertiesIOverallWidth, 0.18},
      {GetStrProfilePropertiesIOverallDepth, 0.4},       {GetStrProfilePropertiesIWebThickness, 0.0086},
      {GetStrProfilePropertiesIFlangeThickness, 0.0135}, {GetStrProfilePropertiesIFilletRadius, 0.021},
      {GetStrProfilePropertiesIPhysicalWeight, 0.0},     {GetStrProfilePropertiesStartx, 0.1},
      {GetStrProfilePropertiesStarty, 0.2},              {GetStrProfilePropertiesStartz, 0.0},
      {GetStrProfilePropertiesRef1, 0.0},                {GetStrProfilePropertiesRef2, 1.0},
      {GetStrProfilePropertiesAxis3, 0.0}};
  for (size_t i = 0; i < sizeof ipe / sizeof ipe[0]; ++i) EXPECT_EQ(ipe[i].first(0), ipe[i].second) << i;
  EXPECT_EQ(GetStrProfilePropertiesRectXDim(1), 0.3);
  EXPECT_EQ(GetStrProfilePropertiesRectYDim(1), 0.5);
  EXPECT_EQ(GetStrProfilePropertiesRef1(1), 0.0);  // no RefDirection
  EXPECT_EQ(GetStrProfilePropertiesCirRadius(2), 0.1);
  EXPECT_EQ(GetStrProfilePropertiesTDepth(3), 0.3);
  EXPECT_EQ(GetStrProfilePropertiesTFlangeWidth(3), 0.2);
  EXPECT_EQ(GetStrProfilePropertiesTCentreOfGravityInY(3), 0.07);
  EXPECT_EQ(GetStrProfilePropertiesLDepth(4), 0.1);
  EXPECT_EQ(GetStrProfilePropertiesLThickness(4), 0.01);
  EXPECT_EQ(GetStrProfilePropertiesLLegSlope(4), 0.05);
  EXPECT_EQ(GetStrProfilePropertiesIOverallWidth(4), 0.0);
}

TEST_F(AnalysisImportTest, MembersOfTheChosenModelWithConnectionsSectionAndMaterial) {
  CensusAnalysisModels(design_);
  const std::string trace = Traced([&] { FillAnalysisModel(design_, GetAnaModelFileID(0)); });

  ASSERT_EQ(GetNumberStrCurveMembers(), 1);  // beam, column
  EXPECT_EQ(Text(GetStrCurveMemberName, 0), "B1");
  EXPECT_EQ(Text(GetStrCurveMemberGUID, 0), "G-beam");
  EXPECT_EQ(Text(GetStrCurveMemberName, 1), kUntouched);
  EXPECT_EQ(GetStrCurveMemberFileID(0), Id(m_.beam));
  EXPECT_EQ(GetStrCurveMemberFileID(1), Id(m_.column));
  // Start sums the storey's and the beam's locations; the axes are the
  // beam's own.
  const double beam[15] = {10, 5, 3, 1, 0, 0, 0, 1, 0, 0, 0, 3, 6, 0, 3};
  double (*const beamGetters[15])(int) = {
      GetStrCurveMemberStartx, GetStrCurveMemberStarty, GetStrCurveMemberStartz, GetStrCurveMemberAxis1,
      GetStrCurveMemberAxis2,  GetStrCurveMemberAxis3,  GetStrCurveMemberRef1,   GetStrCurveMemberRef2,
      GetStrCurveMemberRef3,   GetStrCurveMemberEdgeX1, GetStrCurveMemberEdgeY1, GetStrCurveMemberEdgeZ1,
      GetStrCurveMemberEdgeX2, GetStrCurveMemberEdgeY2, GetStrCurveMemberEdgeZ2};
  for (int i = 0; i < 15; ++i) {
    EXPECT_EQ(beamGetters[i](0), beam[i]) << i;
    EXPECT_EQ(beamGetters[i](1), 0.0) << i;
  }
  EXPECT_EQ(GetStrCurveMemberSectionID(0), Id(m_.ipe));
  EXPECT_EQ(GetStrCurveMemberMaterialID(0), Id(m_.steel));
  EXPECT_EQ(GetStrCurveMemberSectionID(1), 0);

  // The support met twice is one entry with the later condition (its unset
  // Z stiffness left as it was); the joint follows.
  ASSERT_EQ(GetStrCurveMemberNumberStructuralConnection(0), 1);
  EXPECT_EQ(GetStrCurveMemberStructuralConnection(0, 0), Id(m_.support));
  EXPECT_EQ(GetStrCurveMemberStructuralConnection(0, 1), Id(m_.joint));
  double (*const stiffness[6])(int, int) = {
      GetStrCurveMemberStructuralConnectionDx, GetStrCurveMemberStructuralConnectionDy,
      GetStrCurveMemberStructuralConnectionDz, GetStrCurveMemberStructuralConnectionRx,
      GetStrCurveMemberStructuralConnectionRy, GetStrCurveMemberStructuralConnectionRz};
  const double support[6] = {7, 8, 0, 10, 11, 12}, joint[6] = {1, 2, 3, 4, 5, 6};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(stiffness[i](0, 0), support[i]) << i;
    EXPECT_EQ(stiffness[i](0, 1), joint[i]) << i;
    EXPECT_EQ(stiffness[i](1, 0), 0.0) << i;  // the column's joint has no condition
  }
  EXPECT_EQ(GetStrCurveMemberNumberStructuralConnection(1), 0);
  EXPECT_EQ(GetStrCurveMemberStructuralConnection(1, 0), Id(m_.joint));

  // The slab: the empty first loop is passed over, and so is the loop after
  // the first one with points; directions it lacks read
  // as the placement's defaults.
  ASSERT_EQ(GetNumberStrSurfaceMembers(), 0);
  EXPECT_EQ(Text(GetStrSurfaceMemberName, 0), "S1");
  ASSERT_EQ(GetStrSurfaceMemberNumberPts(0), 4);
  const double px[4] = {0, 6, 6, 0}, py[4] = {0, 0, 4, 4};
  for (int j = 0; j < 4; ++j) {
    EXPECT_EQ(GetStrSurfaceMemberPx(0, j), px[j]);
    EXPECT_EQ(GetStrSurfaceMemberPy(0, j), py[j]);
    EXPECT_EQ(GetStrSurfaceMemberPz(0, j), 3.0);
  }
  EXPECT_EQ(GetStrSurfaceMemberStartz(0), 3.0);
  EXPECT_EQ(GetStrSurfaceMemberAxis3(0), 1.0);
  EXPECT_EQ(GetStrSurfaceMemberRef1(0), 1.0);
  EXPECT_EQ(GetStrSurfaceMemberNumberStructuralConnection(0), 0);
  EXPECT_EQ(GetStrSurfaceMemberStructuralConnection(0, 0), Id(m_.corner));
  EXPECT_EQ(GetStrSurfaceMemberStructuralConnectionRz(0, 0), 600.0);

  // Point connections in the order of the group assignment.
  ASSERT_EQ(GetNumberStrPointConnections(), 3);
  struct Expected {
    IfcStructuralPointConnection* Model::*node;
    const char* name;
    double vertexX;
    double stiffness[6];
  };
  const Expected nodes[4] = {{&Model::support, "N1", 0, {7, 8, -1, 10, 11, 12}},
                             {&Model::joint, "N2", 6, {1, 2, 3, 4, 5, 6}},
                             {&Model::corner, "N3", 0, {100, 200, 300, 400, 500, 600}},
                             {&Model::free, "N4", 9, {-1, -1, -1, -1, -1, -1}}};
  double (*const boundary[6])(int) = {GetStrPointConnectionUX, GetStrPointConnectionUY, GetStrPointConnectionUZ,
                                      GetStrPointConnectionRX, GetStrPointConnectionRY, GetStrPointConnectionRZ};
  for (int n = 0; n < 4; ++n) {
    SCOPED_TRACE(nodes[n].name);
    EXPECT_EQ(Text(GetStrPointConnectionName, n), nodes[n].name);
    EXPECT_EQ(GetStrPointConnectionFileID(n), Id(m_.*nodes[n].node));
    EXPECT_EQ(GetStrPointConnectionVertexX1(n), nodes[n].vertexX);
    EXPECT_EQ(GetStrPointConnectionVertexZ1(n), 3.0);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(boundary[i](n), nodes[n].stiffness[i]) << i;
  }
  EXPECT_EQ(GetStrPointConnectionStartz(0), 3.0);
  EXPECT_EQ(GetStrPointConnectionAxis3(0), 1.0);

  // Four passes, one line per entity instance each.
  const int entities = build_->entities();
  size_t lines = 0, members = 0;
  for (size_t at = 0; (at = trace.find("Name: ", at)) != std::string::npos; at += 6) {
    ++lines;
    if (trace.compare(at, 31, "Name: IfcStructuralCurveMember\n") == 0) ++members;
  }
  EXPECT_EQ(lines, 4u * static_cast<size_t>(entities));
  EXPECT_EQ(members, 12u);
  EXPECT_EQ(std::count(trace.begin(), trace.end(), '\n'), 4 * entities);
  // Nothing read is reported: no value was read with a type it lacks.
  const std::string log = out_.text();
  EXPECT_EQ(log.find("warning"), std::string::npos) << log;
  EXPECT_EQ(log.find("error"), std::string::npos) << log;
}

TEST_F(AnalysisImportTest, LoadGroupsAndActionsWhateverTheModel) {
  CensusAnalysisModels(design_);
  Traced([&] { FillAnalysisModel(design_, GetAnaModelFileID(1)); });

  ASSERT_EQ(GetNumberStrLoadGroups(), 1);
  EXPECT_EQ(Text(GetStrLoadGroupName, 0), "LC1");
  EXPECT_EQ(GetStrLoadGroupFileID(0), Id(m_.liveLoad));
  EXPECT_EQ(GetStrLoadGroupPredefinedType(0), 1);
  EXPECT_EQ(GetStrLoadGroupActionType(0), 1);
  EXPECT_EQ(GetStrLoadGroupActionSource(0), 2);
  EXPECT_EQ(GetStrLoadGroupCoefficient(0), 1.5);
  // Referred to by frame A (LoadedBy) and by its own group assignment: an
  // entry per referrer, the assignment's relating group for the latter.
  ASSERT_EQ(GetStrLoadGroupTotalMember(0), 2);
  EXPECT_EQ(GetStrLoadGroupMember(0, 0), 0);
  EXPECT_EQ(GetStrLoadGroupMember(0, 1), Id(m_.liveLoad));
  EXPECT_EQ(Text(GetStrLoadGroupName, 1), "LC0");
  EXPECT_EQ(GetStrLoadGroupTotalMember(1), 0);
  EXPECT_EQ(GetStrLoadGroupCoefficient(1), 0.0);

  ASSERT_EQ(GetNumberStrPointActions(), 1);
  EXPECT_EQ(Text(GetStrPointActionName, 0), "P1");
  EXPECT_EQ(GetStrPointActionFileID(0), Id(m_.pointLoad));
  EXPECT_EQ(GetStrPointActionActedOn(0), Id(m_.support));
  EXPECT_EQ(GetStrPointActionLoadGroupID(0), Id(m_.liveLoad));
  double (*const point[6])(int) = {GetStrPointActionFx, GetStrPointActionFy, GetStrPointActionFz,
                                   GetStrPointActionMx, GetStrPointActionMy, GetStrPointActionMz};
  double (*const linear[6])(int) = {GetStrLinearActionFx, GetStrLinearActionFy, GetStrLinearActionFz,
                                    GetStrLinearActionMx, GetStrLinearActionMy, GetStrLinearActionMz};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(point[i](0), i + 1.0) << i;
    EXPECT_EQ(point[i](1), 0.0) << i;  // a displacement is no single force
    EXPECT_EQ(linear[i](0), 10.0 * (i + 1)) << i;
  }
  EXPECT_EQ(GetStrPointActionActedOn(1), 0);
  EXPECT_EQ(GetStrPointActionLoadGroupID(1), 0);
  ASSERT_EQ(GetNumberStrLinearActions(), 0);
  EXPECT_EQ(Text(GetStrLinearActionName, 0), "Q1");
  EXPECT_EQ(GetStrLinearActionActedOn(0), Id(m_.beam));
  EXPECT_EQ(GetStrLinearActionLoadGroupID(0), Id(m_.liveLoad));
}

TEST_F(AnalysisImportTest, ModelChoiceByFileId) {
  CensusAnalysisModels(design_);
  testing::internal::CaptureStdout();
  // Frame B groups the brace twice: two records of it.
  FillAnalysisModel(design_, Id(m_.frameB));
  EXPECT_EQ(GetNumberStrCurveMembers(), 1);
  EXPECT_EQ(Text(GetStrCurveMemberName, 0), "X1");
  EXPECT_EQ(Text(GetStrCurveMemberName, 1), "X1");
  // Referred to (by the assignments) but connected to nothing.
  EXPECT_EQ(GetStrCurveMemberNumberStructuralConnection(0), -1);
  EXPECT_EQ(GetNumberStrSurfaceMembers(), -1);
  EXPECT_EQ(GetNumberStrPointConnections(), -1);
  // A FileID of no analysis model, and 0, fill no members; load groups and
  // actions are read all the same.
  for (int id : {Id(m_.beam), 99999, 0}) {
    CensusAnalysisModels(design_);
    FillAnalysisModel(design_, id);
    EXPECT_EQ(GetNumberStrCurveMembers(), -1) << id;
    EXPECT_EQ(GetNumberStrPointConnections(), -1) << id;
    EXPECT_EQ(GetNumberStrLoadGroups(), 1) << id;
  }
  testing::internal::GetCapturedStdout();
}

TEST_F(AnalysisImportTest, BuildingFillReadsNoRelationshipsOfAFreshDesign) {
  CountAnalysisKinds(design_);
  EXPECT_EQ(GetAnaModelAvailable(), -1);
  EXPECT_EQ(GetTotalAnaModels(), 2);
  EXPECT_EQ(GetNumberStrCurveMembers(), 3);
  EXPECT_EQ(GetNumberStrPointConnections(), 4);
  EXPECT_EQ(GetNumberProjectUnits(), 6);
  FillAnalysisKinds(design_);
  EXPECT_EQ(GetTotalAnaModels(), 1);
  EXPECT_EQ(GetNumberStrProfileProperties(), 5);
  // Every curve member and point connection, in instance order, with
  // geometry but without the relationship parts.
  ASSERT_EQ(GetNumberStrCurveMembers(), 2);
  EXPECT_EQ(Text(GetStrCurveMemberName, 2), "X1");
  EXPECT_EQ(GetStrCurveMemberEdgeX2(0), 6.0);
  EXPECT_EQ(GetStrCurveMemberSectionID(0), 0);
  EXPECT_EQ(GetStrCurveMemberNumberStructuralConnection(0), 0);
  ASSERT_EQ(GetNumberStrPointConnections(), 3);
  EXPECT_EQ(GetStrPointConnectionVertexX1(3), 9.0);
  EXPECT_EQ(GetStrPointConnectionUX(0), -1.0);
}

TEST_F(AnalysisImportTest, DesignWithoutAnalysisModel) {
  TarnDesign* empty = TARN().newDesign("empty");
  ASSERT_TRUE(empty->addSchema(kIfcSchemaName));
  ModelBuilder(empty).entity<IfcProject>("IfcProject");
  CensusAnalysisModels(empty);
  EXPECT_EQ(GetAnaModelAvailable(), 0);
  EXPECT_EQ(GetTotalAnaModels(), -1);
  EXPECT_EQ(GetNumberProjectUnits(), 0);
  EXPECT_EQ(GetNumberStrCurveMembers(), 0);
  FillAnalysisModel(empty, 10);
  EXPECT_EQ(GetNumberStrCurveMembers(), -1);
  EXPECT_EQ(GetNumberStrLoadGroups(), -1);
}

// The exported census and fill find the design by name in memory; after
// ShutDown the numbers stay readable while the text (owned by the released
// design) is no longer copied.
TEST_F(AnalysisImportTest, ExportedCallsByDesignNameAndShutDown) {
  char name[] = "frames";
  EXPECT_EQ(FindTotalAnaModels(name), -1);
  ASSERT_EQ(GetTotalAnaModels(), 1);
  Traced([&] { EXPECT_EQ(CheckAnaModel(7, GetAnaModelFileID(0), name), -1); });
  EXPECT_EQ(GetNumberStrCurveMembers(), 1);
  EXPECT_EQ(Text(GetStrCurveMemberName, 0), "B1");
  EXPECT_EQ(ShutDown(), -1);
  EXPECT_EQ(Text(GetStrCurveMemberName, 0), kUntouched);
  EXPECT_EQ(Text(GetProjectConversionBasedName, 1), kUntouched);
  EXPECT_EQ(GetStrCurveMemberEdgeX2(0), 6.0);
}

TEST_F(AnalysisImportTest, HostileInputs) {
  // Missing files and null names give empty tables.
  char missing[] = "no-such-model.ifc";
  EXPECT_EQ(FindTotalAnaModels(nullptr), -1);
  EXPECT_EQ(GetAnaModelAvailable(), 0);
  EXPECT_EQ(GetTotalAnaModels(), -1);
  EXPECT_EQ(FindTotalAnaModels(missing), -1);
  EXPECT_EQ(GetTotalAnaModels(), -1);
  EXPECT_EQ(CheckAnaModel(0, 10, missing), -1);
  EXPECT_EQ(CheckAnaModel(0, 10, nullptr), -1);
  EXPECT_EQ(GetNumberStrCurveMembers(), -1);
  // Indices outside the tables and their arrays read as defaults; a null
  // buffer is left alone.
  for (int index : {-1, 0, 1000000}) {
    EXPECT_EQ(GetAnaModelFileID(index), 0);
    EXPECT_EQ(GetStrPointConnectionUX(index), -1.0);
    EXPECT_EQ(GetStrCurveMemberStructuralConnectionDx(index, index), 0.0);
    EXPECT_EQ(GetStrSurfaceMemberPx(index, 3), 0.0);
    EXPECT_EQ(GetStrLoadGroupMember(index, 0), 0);
    EXPECT_EQ(GetProjectSIUnitPrefix(index), -1);
    EXPECT_EQ(GetProjectConversionBasedExponent(index, 9), 0);
    EXPECT_EQ(GetProjectDerivedUnitExp(index), 0);
    EXPECT_EQ(Text(GetAnaModelName, index), " ");
    GetStrCurveMemberGUID(index, nullptr);
    GetProjectConversionBasedName(index, nullptr);
  }
}

// A round trip through an exchange file: written (instances renumbered from
// 10), read back by name and imported through the exported calls.
TEST_F(AnalysisImportTest, SavedFileImportsThroughTheExportedCalls) {
  std::string path = WriteAndForget(design_);
  std::vector<char> file(path.begin(), path.end());
  file.push_back('\0');
  EXPECT_EQ(FindTotalAnaModels(file.data()), -1);
  ASSERT_EQ(GetTotalAnaModels(), 1);
  EXPECT_EQ(Text(GetAnaModelName, 1), "Frame B");
  EXPECT_EQ(GetNumberProjectUnits(), 6);
  EXPECT_EQ(GetProjectSIUnitName(2), 24);
  // Unset values read from the file keep their defaults.
  EXPECT_EQ(Text(GetAnaModelGUID, 1), kUntouched);
  EXPECT_EQ(GetGeneralMaterialPorosity(0), 0.0);
  EXPECT_EQ(GetMechSteelMatDynamicViscosity(0), 0.0);
  Traced([&] { EXPECT_EQ(CheckAnaModel(0, GetAnaModelFileID(0), file.data()), -1); });
  ASSERT_EQ(GetNumberStrCurveMembers(), 1);
  EXPECT_EQ(GetStrCurveMemberNumberStructuralConnection(0), 1);
  EXPECT_EQ(GetStrCurveMemberSectionID(0), GetStrProfilePropertiesFileID(0));
  EXPECT_EQ(GetStrPointConnectionUY(1), 2.0);
  EXPECT_EQ(GetStrPointConnectionUZ(0), -1.0);
  EXPECT_EQ(GetStrCurveMemberStructuralConnectionDz(0, 0), 0.0);
  EXPECT_EQ(GetStrSurfaceMemberNumberPts(0), 4);
  EXPECT_EQ(GetStrPointActionLoadGroupID(0), GetStrLoadGroupFileID(0));
  ShutDown();
}

}  // namespace
}  // namespace korva

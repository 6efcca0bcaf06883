#include "bench/host_model.h"

#include <cstdio>
#include <vector>

#include "bench/bench_builder.h"

namespace korva {
namespace bench {
namespace {

// The grid of one storey: kAcross x kDeep nodes, kBay metres apart.
constexpr int kAcross = 10;
constexpr int kDeep = 10;
constexpr double kBay = 6.0;
constexpr double kStoreyHeight = 3.5;
constexpr int kLoadGroups = 3;

// The pieces made once and shared by every storey.
struct Shared {
  IfcOwnerHistory* history = nullptr;
  IfcLocalPlacement* world = nullptr;
  IfcMaterialSelect* steel = nullptr;
  IfcMaterialSelect* concrete = nullptr;
  IfcStructuralProfileProperties* beamSection = nullptr;
  IfcStructuralProfileProperties* columnSection = nullptr;
  IfcRelAssignsToGroup* model = nullptr;  // the analysis model's grouping
  IfcRelAssignsToGroup* loads[kLoadGroups] = {};
};

class AnalysedBuilding {
 public:
  explicit AnalysedBuilding(TarnDesign* design) : b_(design) {}

  long made() const { return b_.made(); }

  void shared() {
    s_.history = b_.make<IfcOwnerHistory>();
    s_.history->CreationDate(1700000000);
    IfcProject* project = b_.make<IfcProject>();
    root(project, "Benchmark building");
    project->UnitsInContext(units());
    s_.world = b_.placement(nullptr, b_.axesAt(0, 0, 0));
    s_.steel = material("S355", true);
    s_.concrete = material("C30/37", false);
    profiles();
    IfcStructuralAnalysisModel* model = b_.make<IfcStructuralAnalysisModel>();
    root(model, "Benchmark analysis model");
    model->PredefinedType(IfcAnalysisModelTypeEnum_LOADING_3D);
    model->OrientationOf2DPlane(b_.axesAt(0, 0, 0));
    static const char* const kGroups[kLoadGroups] = {"Dead load", "Live load", "Wind"};
    for (int g = 0; g < kLoadGroups; ++g) {
      IfcStructuralLoadGroup* group = b_.make<IfcStructuralLoadGroup>();
      root(group, kGroups[g]);
      group->PredefinedType(IfcLoadGroupTypeEnum_LOAD_CASE);
      group->ActionType(g == 0 ? IfcActionTypeEnum_PERMANENT_G : IfcActionTypeEnum_VARIABLE_Q);
      group->ActionSource(g == 0   ? IfcActionSourceTypeEnum_DEAD_LOAD_G
                          : g == 1 ? IfcActionSourceTypeEnum_LIVE_LOAD_Q
                                   : IfcActionSourceTypeEnum_WIND_W);
      group->Coefficient(1.0 + 0.25 * g);
      model->LoadedBy()->add(group);
      s_.loads[g] = grouping(group);
    }
    s_.model = grouping(model);
  }

  void storey(int level) {
    const double z = kStoreyHeight * level;
    IfcBuildingStorey* storey = b_.make<IfcBuildingStorey>();
    char name[64];
    std::snprintf(name, sizeof name, "Storey %d", level + 1);
    root(storey, name);
    storey->Elevation(z);
    storeyPlacement_ = b_.placement(s_.world, b_.axesAt(0, 0, z));
    storey->ObjectPlacement(storeyPlacement_);
    contained_ = b_.make<IfcRelContainedInSpatialStructure>();
    root(contained_, "Storey elements");
    contained_->RelatingStructure(storey);
    IfcRelAssociatesProfileProperties* beamSection = association(s_.beamSection);
    IfcRelAssociatesProfileProperties* columnSection = association(s_.columnSection);
    IfcRelAssociatesMaterial* steel = association(s_.steel);
    IfcRelAssociatesMaterial* concrete = association(s_.concrete);

    // Nodes, with a point action each.
    std::vector<IfcStructuralPointConnection*> nodes;
    for (int j = 0; j < kDeep; ++j)
      for (int i = 0; i < kAcross; ++i) {
        IfcStructuralPointConnection* node = b_.make<IfcStructuralPointConnection>();
        item(node, "Node", kBay * i, kBay * j, z);
        represent(node, vertex(kBay * i, kBay * j, z), "Vertex");
        nodes.push_back(node);
        pointAction(node);
      }
    auto at = [&nodes](int i, int j) { return nodes[static_cast<size_t>(j * kAcross + i)]; };

    // Beams along both grid directions, columns down to the storey below
    // (the ground storey's stand on supports).
    for (int j = 0; j < kDeep; ++j)
      for (int i = 0; i < kAcross; ++i) {
        const double x = kBay * i, y = kBay * j;
        if (i + 1 < kAcross) beam(at(i, j), at(i + 1, j), x, y, x + kBay, y, z, beamSection, steel);
        if (j + 1 < kDeep) beam(at(i, j), at(i, j + 1), x, y, x, y + kBay, z, beamSection, steel);
        IfcStructuralCurveMember* column = curveMember("Column", x, y, z - kStoreyHeight, x, y, z);
        connect(column, level > 0 ? below_[static_cast<size_t>(j * kAcross + i)] : support(x, y, z), level == 0);
        connect(column, at(i, j), false);
        columnSection->RelatedObjects()->add(column);
        steel->RelatedObjects()->add(column);
        element<IfcColumn>("Column", x, y, z, 0.4, 0.4, kStoreyHeight);
      }
    // A slab per bay, as a surface member and as a building element.
    for (int j = 0; j + 1 < kDeep; ++j)
      for (int i = 0; i + 1 < kAcross; ++i) {
        IfcStructuralPointConnection* corners[4] = {at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)};
        IfcStructuralSurfaceMember* slab = surfaceMember(kBay * i, kBay * j, z, corners);
        concrete->RelatedObjects()->add(slab);
        element<IfcSlab>("Slab", kBay * i, kBay * j, z, kBay, kBay, 0.25);
      }
    // Walls around the grid, beams along it, two proxies.
    for (int i = 0; i + 1 < kAcross; ++i) {
      element<IfcWallStandardCase>("Wall", kBay * i, 0, z, kBay, 0.3, kStoreyHeight);
      element<IfcWallStandardCase>("Wall", kBay * i, kBay * (kDeep - 1), z, kBay, 0.3, kStoreyHeight);
    }
    for (int j = 0; j + 1 < kDeep; ++j) {
      element<IfcWallStandardCase>("Wall", 0, kBay * j, z, 0.3, kBay, kStoreyHeight);
      element<IfcWallStandardCase>("Wall", kBay * (kAcross - 1), kBay * j, z, 0.3, kBay, kStoreyHeight);
    }
    for (int j = 0; j < kDeep; ++j)
      for (int i = 0; i + 1 < kAcross; ++i) element<IfcBeam>("Beam", kBay * i, kBay * j, z, kBay, 0.3, 0.5);
    proxy(kBay * 0.5, kBay * 0.5, z);
    proxy(kBay * 1.5, kBay * 0.5, z);
    below_ = nodes;
  }

 private:
  void root(IfcRoot* object, const char* name) {
    char id[23];
    GlobalIdOf(ids_++, id);
    object->GlobalId(id);
    object->OwnerHistory(s_.history);
    if (name != nullptr) object->Name(name);
  }

  // Metre, kilonewton, radian, the foot and newton per metre.
  IfcUnitAssignment* units() {
    IfcUnitAssignment* units = b_.make<IfcUnitAssignment>();
    auto named = [&](IfcNamedUnit* unit) {
      IfcUnit* select = Make<IfcUnit>(b_.design());
      select->_IfcNamedUnit(unit);
      units->Units()->add(select);
    };
    auto si = [&](int32_t type, int32_t prefix, int32_t name) {
      IfcSIUnit* unit = b_.make<IfcSIUnit>();
      unit->UnitType(type);
      if (prefix >= 0) unit->Prefix(prefix);
      unit->Name(name);
      return unit;
    };
    IfcSIUnit* metre = si(IfcUnitEnum_LENGTHUNIT, -1, IfcSIUnitName_METRE);
    IfcSIUnit* newton = si(IfcUnitEnum_FORCEUNIT, -1, IfcSIUnitName_NEWTON);
    named(metre);
    named(si(IfcUnitEnum_FORCEUNIT, IfcSIPrefix_KILO, IfcSIUnitName_NEWTON));
    named(si(IfcUnitEnum_PLANEANGLEUNIT, -1, IfcSIUnitName_RADIAN));
    IfcDimensionalExponents* length = b_.make<IfcDimensionalExponents>();
    length->LengthExponent(1);
    length->MassExponent(0);
    length->TimeExponent(0);
    length->ElectricCurrentExponent(0);
    length->ThermodynamicTemperatureExponent(0);
    length->AmountOfSubstanceExponent(0);
    length->LuminousIntensityExponent(0);
    IfcConversionBasedUnit* foot = b_.make<IfcConversionBasedUnit>();
    foot->UnitType(IfcUnitEnum_LENGTHUNIT);
    foot->Name("FOOT");
    foot->Dimensions(length);
    named(foot);
    IfcDerivedUnit* perMetre = b_.make<IfcDerivedUnit>();
    perMetre->UnitType(IfcDerivedUnitEnum_LINEARFORCEUNIT);
    for (auto part : {std::make_pair(newton, 1), std::make_pair(metre, -1)}) {
      IfcDerivedUnitElement* e = b_.make<IfcDerivedUnitElement>();
      e->Unit(part.first);
      e->Exponent(part.second);
      perMetre->Elements()->add(e);
    }
    IfcUnit* derived = Make<IfcUnit>(b_.design());
    derived->_IfcDerivedUnit(perMetre);
    units->Units()->add(derived);
    return units;
  }

  IfcMaterialSelect* material(const char* name, bool steel) {
    IfcMaterial* m = b_.make<IfcMaterial>();
    m->Name(name);
    IfcGeneralMaterialProperties* general = b_.make<IfcGeneralMaterialProperties>();
    general->Material(m);
    general->MassDensity(steel ? 7850.0 : 2400.0);
    general->Porosity(steel ? 0.0 : 0.12);
    if (steel) {
      IfcMechanicalSteelMaterialProperties* p = b_.make<IfcMechanicalSteelMaterialProperties>();
      p->Material(m);
      p->YoungModulus(2.1e11);
      p->ShearModulus(8.1e10);
      p->PoissonRatio(0.3);
      p->ThermalExpansionCoefficient(1.2e-05);
      p->YieldStress(3.55e8);
      p->UltimateStress(5.1e8);
    } else {
      IfcMechanicalConcreteMaterialProperties* p = b_.make<IfcMechanicalConcreteMaterialProperties>();
      p->Material(m);
      p->YoungModulus(3.3e10);
      p->PoissonRatio(0.2);
      p->CompressiveStrength(3.0e7);
      p->MaxAggregateSize(0.016);
    }
    IfcMaterialSelect* select = Make<IfcMaterialSelect>(b_.design());
    select->_IfcMaterial(m);
    return select;
  }

  IfcStructuralProfileProperties* section(const char* name, IfcProfileDef* definition, double area) {
    definition->ProfileType(IfcProfileTypeEnum_AREA);
    definition->ProfileName(name);
    IfcStructuralProfileProperties* p = b_.make<IfcStructuralProfileProperties>();
    p->ProfileName(name);
    p->ProfileDefinition(definition);
    p->CrossSectionArea(area);
    p->PhysicalWeight(area * 7850.0);
    p->MomentOfInertiaY(area * 0.01);
    p->MomentOfInertiaZ(area * 0.004);
    p->TorsionalConstantX(area * 0.0001);
    return p;
  }

  // A section of every shape; beams use the I shape, columns the rectangle.
  void profiles() {
    IfcIShapeProfileDef* i = b_.make<IfcIShapeProfileDef>();
    i->Position(b_.axes2(0, 0));
    i->OverallWidth(0.15);
    i->OverallDepth(0.3);
    i->WebThickness(0.0071);
    i->FlangeThickness(0.0107);
    i->FilletRadius(0.015);
    s_.beamSection = section("IPE300", i, 0.00538);
    IfcRectangleProfileDef* r = b_.make<IfcRectangleProfileDef>();
    r->Position(b_.axes2(0, 0));
    r->XDim(0.4);
    r->YDim(0.4);
    s_.columnSection = section("R400x400", r, 0.16);
    IfcLShapeProfileDef* l = b_.make<IfcLShapeProfileDef>();
    l->Position(b_.axes2(0, 0));
    l->Depth(0.1);
    l->Width(0.1);
    l->Thickness(0.01);
    l->CentreOfGravityInX(0.028);
    section("L100x10", l, 0.00192);
    IfcUShapeProfileDef* u = b_.make<IfcUShapeProfileDef>();
    u->Position(b_.axes2(0, 0));
    u->Depth(0.2);
    u->FlangeWidth(0.075);
    u->WebThickness(0.0085);
    u->FlangeThickness(0.0115);
    u->CentreOfGravityInX(0.0201);
    section("UPN200", u, 0.00322);
    IfcCShapeProfileDef* c = b_.make<IfcCShapeProfileDef>();
    c->Position(b_.axes2(0, 0));
    c->Depth(0.2);
    c->Width(0.07);
    c->WallThickness(0.002);
    c->Girth(0.02);
    c->CentreOfGravityInX(0.02);
    section("C200", c, 0.00072);
    IfcZShapeProfileDef* zs = b_.make<IfcZShapeProfileDef>();
    zs->Position(b_.axes2(0, 0));
    zs->Depth(0.2);
    zs->FlangeWidth(0.07);
    zs->WebThickness(0.002);
    zs->FlangeThickness(0.002);
    section("Z200", zs, 0.0007);
    IfcTShapeProfileDef* t = b_.make<IfcTShapeProfileDef>();
    t->Position(b_.axes2(0, 0));
    t->Depth(0.1);
    t->FlangeWidth(0.1);
    t->WebThickness(0.011);
    t->FlangeThickness(0.011);
    t->CentreOfGravityInY(0.0274);
    section("T100", t, 0.00209);
    IfcTrapeziumProfileDef* trap = b_.make<IfcTrapeziumProfileDef>();
    trap->Position(b_.axes2(0, 0));
    trap->BottomXDim(0.4);
    trap->TopXDim(0.2);
    trap->YDim(0.5);
    trap->TopXOffset(0.1);
    section("Trapezium", trap, 0.15);
    IfcCircleProfileDef* circle = b_.make<IfcCircleProfileDef>();
    circle->Position(b_.axes2(0, 0));
    circle->Radius(0.15);
    section("D300", circle, 0.0707);
  }

  // The grouping relationship of a group, filled storey by storey.
  IfcRelAssignsToGroup* grouping(IfcGroup* group) {
    IfcRelAssignsToGroup* g = b_.make<IfcRelAssignsToGroup>();
    root(g, nullptr);
    g->RelatedObjectsType(IfcObjectTypeEnum_NOTDEFINED);
    g->RelatingGroup(group);
    return g;
  }

  IfcRelAssociatesProfileProperties* association(IfcStructuralProfileProperties* section) {
    IfcRelAssociatesProfileProperties* a = b_.make<IfcRelAssociatesProfileProperties>();
    root(a, nullptr);
    a->RelatingProfileProperties(section);
    return a;
  }
  IfcRelAssociatesMaterial* association(IfcMaterialSelect* material) {
    IfcRelAssociatesMaterial* a = b_.make<IfcRelAssociatesMaterial>();
    root(a, nullptr);
    a->RelatingMaterial(material);
    return a;
  }

  // Identity, placement on the storey, membership of the model and of the
  // storey, as the analysis export gives every item.
  void item(IfcProduct* product, const char* name, double x, double y, double z) {
    root(product, name);
    product->ObjectPlacement(b_.placement(storeyPlacement_, b_.axesAt(x, y, z)));
    s_.model->RelatedObjects()->add(product);
    contained_->RelatedElements()->add(product);
  }

  void represent(IfcProduct* product, IfcRepresentationItem* topology, const char* type) {
    IfcTopologyRepresentation* rep = b_.make<IfcTopologyRepresentation>();
    rep->Items()->add(topology);
    rep->RepresentationType(type);
    IfcProductRepresentation* shape = b_.make<IfcProductRepresentation>();
    shape->Representations()->add(rep);
    product->Representation(shape);
  }

  IfcVertexPoint* vertex(double x, double y, double z) {
    IfcVertexPoint* v = b_.make<IfcVertexPoint>();
    v->VertexGeometry(b_.point(x, y, z));
    return v;
  }

  IfcStructuralCurveMember* curveMember(const char* name, double x1, double y1, double z1, double x2, double y2,
                                        double z2) {
    IfcStructuralCurveMember* member = b_.make<IfcStructuralCurveMember>();
    item(member, name, x1, y1, z1);
    member->PredefinedType(IfcStructuralCurveTypeEnum_RIGID_JOINED_MEMBER);
    IfcEdge* edge = b_.make<IfcEdge>();
    edge->EdgeStart(vertex(x1, y1, z1));
    edge->EdgeEnd(vertex(x2, y2, z2));
    represent(member, edge, "Edge");
    return member;
  }

  void beam(IfcStructuralPointConnection* from, IfcStructuralPointConnection* to, double x1, double y1, double x2,
            double y2, double z, IfcRelAssociatesProfileProperties* section, IfcRelAssociatesMaterial* material) {
    IfcStructuralCurveMember* member = curveMember("Beam", x1, y1, z, x2, y2, z);
    connect(member, from, false);
    connect(member, to, false);
    section->RelatedObjects()->add(member);
    material->RelatedObjects()->add(member);
    linearAction(member);
  }

  IfcStructuralSurfaceMember* surfaceMember(double x, double y, double z,
                                            IfcStructuralPointConnection* const (&corners)[4]) {
    IfcStructuralSurfaceMember* member = b_.make<IfcStructuralSurfaceMember>();
    item(member, "Slab", x, y, z);
    member->PredefinedType(IfcStructuralSurfaceTypeEnum_SHELL);
    member->Thickness(0.25);
    IfcPolyLoop* loop = b_.make<IfcPolyLoop>();
    static const int kCorner[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (const auto& c : kCorner) loop->Polygon()->add(b_.point(x + kBay * c[0], y + kBay * c[1], z));
    IfcFaceOuterBound* bound = b_.make<IfcFaceOuterBound>();
    bound->Bound(loop);
    bound->Orientation(kTrue);
    IfcFace* face = b_.make<IfcFace>();
    face->Bounds()->add(bound);
    represent(member, face, "Face");
    for (IfcStructuralPointConnection* corner : corners) connect(member, corner, false);
    return member;
  }

  // A ground node under a column, fixed in all six directions.
  IfcStructuralPointConnection* support(double x, double y, double z) {
    IfcStructuralPointConnection* node = b_.make<IfcStructuralPointConnection>();
    item(node, "Support", x, y, z - kStoreyHeight);
    represent(node, vertex(x, y, z - kStoreyHeight), "Vertex");
    return node;
  }

  void connect(IfcStructuralMember* member, IfcStructuralPointConnection* node, bool fixed) {
    IfcRelConnectsStructuralMember* rel = b_.make<IfcRelConnectsStructuralMember>();
    root(rel, nullptr);
    rel->RelatingStructuralMember(member);
    rel->RelatedStructuralConnection(node);
    if (!fixed) return;
    IfcBoundaryNodeCondition* condition = b_.make<IfcBoundaryNodeCondition>();
    condition->Name("Fixed");
    condition->LinearStiffnessX(1e12);
    condition->LinearStiffnessY(1e12);
    condition->LinearStiffnessZ(1e12);
    condition->RotationalStiffnessX(1e12);
    condition->RotationalStiffnessY(1e12);
    condition->RotationalStiffnessZ(1e12);
    rel->AppliedCondition(condition);
  }

  // The action, its load and the relationship to what it acts on; the
  // load groups take the actions in turn.
  void act(IfcStructuralAction* action, IfcStructuralLoad* load, IfcStructuralItem* on) {
    root(action, nullptr);
    action->AppliedLoad(load);
    action->GlobalOrLocal(IfcGlobalOrLocalEnum_GLOBAL_COORDS);
    action->DestabilizingLoad(kFalse);
    action->ProjectedOrTrue(IfcProjectedOrTrueLengthEnum_TRUE_LENGTH);
    IfcRelConnectsStructuralActivity* rel = b_.make<IfcRelConnectsStructuralActivity>();
    root(rel, nullptr);
    IfcStructuralActivityAssignmentSelect* select = Make<IfcStructuralActivityAssignmentSelect>(b_.design());
    select->_IfcStructuralItem(on);
    rel->RelatingElement(select);
    rel->RelatedStructuralActivity(action);
    s_.loads[actions_++ % kLoadGroups]->RelatedObjects()->add(action);
  }

  void pointAction(IfcStructuralPointConnection* node) {
    IfcStructuralLoadSingleForce* force = b_.make<IfcStructuralLoadSingleForce>();
    force->ForceZ(-10000.0 - static_cast<double>(actions_ % 97));
    force->MomentX(25.0);
    act(b_.make<IfcStructuralPointAction>(), force, node);
  }

  void linearAction(IfcStructuralCurveMember* member) {
    IfcStructuralLoadLinearForce* force = b_.make<IfcStructuralLoadLinearForce>();
    force->LinearForceZ(-2500.0 - static_cast<double>(actions_ % 89));
    act(b_.make<IfcStructuralLinearAction>(), force, member);
  }

  void place(IfcProduct* product, double x, double y, double z) {
    product->ObjectPlacement(b_.placement(storeyPlacement_, b_.axesAt(x, y, z)));
    contained_->RelatedElements()->add(product);
  }

  // The bounding box representation of an element.
  IfcShapeRepresentation* box(double x, double y, double z) {
    IfcBoundingBox* box = b_.make<IfcBoundingBox>();
    box->Corner(b_.point(0, 0, 0));
    box->XDim(x);
    box->YDim(y);
    box->ZDim(z);
    IfcShapeRepresentation* rep = b_.make<IfcShapeRepresentation>();
    rep->RepresentationIdentifier("Box");
    rep->RepresentationType("BoundingBox");
    rep->Items()->add(box);
    return rep;
  }

  // An element extruded from a closed rectangular outline, with its box.
  template <class T>
  void element(const char* kind, double x, double y, double z, double dx, double dy, double dz) {
    IfcShapeRepresentation* body = b_.sweptOutline(dx, dy, dz);
    IfcProductDefinitionShape* shape = b_.make<IfcProductDefinitionShape>();
    shape->Representations()->add(body);
    shape->Representations()->add(box(dx, dy, dz));
    T* element = b_.make<T>();
    char name[64];
    std::snprintf(name, sizeof name, "%s %ld", kind, ++elements_);
    root(element, name);
    element->Description("Generated for the host benchmark");
    place(element, x + Coordinate(elements_, 1) * 1e-3, y, z);
    element->Representation(shape);
  }

  // A proxy element: a box as a faceted brep of six four-point faces.
  void proxy(double x, double y, double z) {
    IfcCartesianPoint* corner[8];
    for (int k = 0; k < 8; ++k) corner[k] = b_.point(k & 1 ? 1.0 : 0.0, k & 2 ? 1.0 : 0.0, k & 4 ? 2.0 : 0.0);
    static const int kFaces[6][4] = {{0, 1, 3, 2}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                     {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 3, 7, 5}};
    IfcClosedShell* shell = b_.make<IfcClosedShell>();
    for (const auto& f : kFaces) {
      IfcPolyLoop* loop = b_.make<IfcPolyLoop>();
      for (int k : f) loop->Polygon()->add(corner[k]);
      IfcFaceOuterBound* bound = b_.make<IfcFaceOuterBound>();
      bound->Bound(loop);
      bound->Orientation(kTrue);
      IfcFace* face = b_.make<IfcFace>();
      face->Bounds()->add(bound);
      shell->CfsFaces()->add(face);
    }
    IfcFacetedBrep* brep = b_.make<IfcFacetedBrep>();
    brep->Outer(shell);
    IfcShapeRepresentation* body = b_.make<IfcShapeRepresentation>();
    body->RepresentationIdentifier("Body");
    body->RepresentationType("Brep");
    body->Items()->add(brep);
    IfcProductDefinitionShape* shape = b_.make<IfcProductDefinitionShape>();
    shape->Representations()->add(body);
    shape->Representations()->add(box(1.0, 1.0, 2.0));
    IfcBuildingElementProxy* proxy = b_.make<IfcBuildingElementProxy>();
    root(proxy, "Proxy");
    proxy->CompositionType(IfcElementCompositionEnum_ELEMENT);
    place(proxy, x, y, z);
    proxy->Representation(shape);
  }

  Builder b_;
  Shared s_;
  long ids_ = 0;
  long elements_ = 0;
  long actions_ = 0;
  IfcLocalPlacement* storeyPlacement_ = nullptr;
  IfcRelContainedInSpatialStructure* contained_ = nullptr;
  std::vector<IfcStructuralPointConnection*> below_;
};

}  // namespace

long BuildAnalysedBuilding(TarnDesign* design, long instances) {
  AnalysedBuilding model(design);
  model.shared();
  int level = 0;
  do {
    model.storey(level++);
  } while (model.made() < instances);
  return model.made();
}

}  // namespace bench
}  // namespace korva

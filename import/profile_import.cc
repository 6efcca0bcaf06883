#include "import/profile_import.h"

#include "import/analysis_domains.h"
#include "import/analysis_reading.h"

namespace korva {
namespace {

typedef ProfilePropertiesRecord P;

struct NumberField {
  const char* attribute;
  double P::*field;
};

const NumberField kSectionFields[] = {
    {"PhysicalWeight", &P::PhysicalWeight},
    {"Perimeter", &P::Perimeter},
    {"MinimumPlateThickness", &P::MinimumPlateThickness},
    {"MaximumPlateThickness", &P::MaximumPlateThickness},
    {"CrossSectionArea", &P::CrossSectionArea},
    {"TorsionalConstantX", &P::TorsionalConstantX},
    {"MomentOfInertiaYZ", &P::MomentOfInertiaYZ},
    {"MomentOfInertiaY", &P::MomentOfInertiaY},
    {"MomentOfInertiaZ", &P::MomentOfInertiaZ},
    {"WarpingConstant", &P::WarpingConstant},
    {"ShearCentreZ", &P::ShearCentreZ},
    {"ShearCentreY", &P::ShearCentreY},
    {"ShearDeformationAreaZ", &P::ShearDeformationAreaZ},
    {"ShearDeformationAreaY", &P::ShearDeformationAreaY},
    {"MaximumSectionModulusY", &P::MaximumSectionModulusY},
    {"MinimumSectionModulusY", &P::MinimumSectionModulusY},
    {"MaximumSectionModulusZ", &P::MaximumSectionModulusZ},
    {"MinimumSectionModulusZ", &P::MinimumSectionModulusZ},
    {"TorsionalSectionModulus", &P::TorsionalSectionModulus},
};

// One shape block: the profile entity it is read from (and its subtypes),
// its flag and its values by attribute name.
struct ShapeBlock {
  Entity shape;
  int P::*flag;
  std::vector<NumberField> fields;
};

const std::vector<ShapeBlock>& ShapeBlocks() {
  static const std::vector<ShapeBlock> blocks = {
      {Entity::kIShapeProfileDef, &P::ISection,
       {{"OverallWidth", &P::IOverallWidth}, {"OverallDepth", &P::IOverallDepth},
        {"WebThickness", &P::IWebThickness}, {"FlangeThickness", &P::IFlangeThickness},
        {"FilletRadius", &P::IFilletRadius}}},
      {Entity::kLShapeProfileDef, &P::LSection,
       {{"Depth", &P::LDepth}, {"Width", &P::LWidth}, {"Thickness", &P::LThickness},
        {"FilletRadius", &P::LFilletRadius}, {"EdgeRadius", &P::LEdgeRadius}, {"LegSlope", &P::LLegSlope},
        {"CentreOfGravityInX", &P::LCentreOfGravityInX}, {"CentreOfGravityInY", &P::LCentreOfGravityInY}}},
      {Entity::kUShapeProfileDef, &P::USection,
       {{"Depth", &P::UDepth}, {"FlangeWidth", &P::UFlangeWidth}, {"WebThickness", &P::UWebThickness},
        {"FlangeThickness", &P::UFlangeThickness}, {"FilletRadius", &P::UFilletRadius},
        {"EdgeRadius", &P::UEdgeRadius}, {"FlangeSlope", &P::UFlangeSlope},
        {"CentreOfGravityInX", &P::UCentreOfGravityInX}}},
      {Entity::kCShapeProfileDef, &P::CSection,
       {{"Depth", &P::CDepth}, {"Width", &P::CWidth}, {"WallThickness", &P::CWallThickness},
        {"Girth", &P::CGirth}, {"InternalFilletRadius", &P::CInternalFilletRadius},
        {"CentreOfGravityInX", &P::CCentreOfGravityInX}}},
      {Entity::kZShapeProfileDef, &P::ZSection,
       {{"Depth", &P::ZDepth}, {"FlangeWidth", &P::ZFlangeWidth}, {"WebThickness", &P::ZWebThickness},
        {"FlangeThickness", &P::ZFlangeThickness}, {"FilletRadius", &P::ZFilletRadius},
        {"EdgeRadius", &P::ZEdgeRadius}}},
      {Entity::kTShapeProfileDef, &P::TSection,
       {{"Depth", &P::TDepth}, {"FlangeWidth", &P::TFlangeWidth}, {"WebThickness", &P::TWebThickness},
        {"FlangeThickness", &P::TFlangeThickness}, {"FilletRadius", &P::TFilletRadius},
        {"FlangeEdgeRadius", &P::TFlangeEdgeRadius}, {"WebEdgeRadius", &P::TWebEdgeRadius},
        {"WebSlope", &P::TWebSlope}, {"FlangeSlope", &P::TFlangeSlope},
        {"CentreOfGravityInY", &P::TCentreOfGravityInY}}},
      {Entity::kTrapeziumProfileDef, &P::TrapSection,
       {{"BottomXDim", &P::TrapBottomXDim}, {"TopXDim", &P::TrapTopXDim}, {"YDim", &P::TrapYDim},
        {"TopXOffset", &P::TrapTopXOffset}}},
      {Entity::kRectangleProfileDef, &P::RectSection, {{"XDim", &P::RectXDim}, {"YDim", &P::RectYDim}}},
      {Entity::kCircleProfileDef, &P::CirSection, {{"Radius", &P::CirRadius}}},
  };
  return blocks;
}

void ReadFields(TarnObject* object, TarnAttribute* attribute, const NumberField* begin, const NumberField* end,
                P* record) {
  for (const NumberField* f = begin; f != end; ++f) {
    if (Named(attribute, f->attribute)) {
      ReadDouble(object, attribute, &(record->*f->field));
      return;
    }
  }
}

void ReadPosition(TarnObject* position, P* record) {
  double xyz[3];
  const AnalysisDomains& domains = AnalysisDomains::Of(position);
  if (domains.isA(position, Entity::kAxis2Placement2D)) {
    ReadPoint(ReadObject(position, "Location"), xyz);
    record->Startx += xyz[0];
    record->Starty += xyz[1];
    if (TarnObject* ref = ReadObject(position, "RefDirection")) {
      ReadDirection(ref, xyz);
      record->Ref1 = xyz[0];
      record->Ref2 = xyz[1];
    }
  } else if (domains.isA(position, Entity::kAxis2Placement3D)) {
    ReadPoint(ReadObject(position, "Location"), xyz);
    record->Startx += xyz[0];
    record->Starty += xyz[1];
    record->Startz += xyz[2];
    if (TarnObject* axis = ReadObject(position, "Axis")) {
      ReadDirection(axis, xyz);
      record->Axis1 = xyz[0];
      record->Axis2 = xyz[1];
      record->Axis3 = xyz[2];
    }
    if (TarnObject* ref = ReadObject(position, "RefDirection")) {
      ReadDirection(ref, xyz);
      record->Ref1 = xyz[0];
      record->Ref2 = xyz[1];
      record->Ref3 = xyz[2];
    }
  }
}

void ReadDefinition(TarnObject* definition, P* record) {
  const AnalysisDomains& domains = AnalysisDomains::Of(definition);
  for (const ShapeBlock& block : ShapeBlocks()) {
    if (!domains.isA(definition, block.shape)) continue;
    record->*block.flag = -1;
    const NumberField* fields = block.fields.data();
    for (TarnAttribute* a : AttributesOf(definition)) ReadFields(definition, a, fields, fields + block.fields.size(), record);
  }
  // ISection is -1 for every profile definition met, I-shaped or not; the
  // other flags name the shape.
  record->ISection = -1;
  for (TarnAttribute* a : AttributesOf(definition))
    if (Named(a, "Position")) ReadPosition(ReadObject(definition, a), record);
}

}  // namespace

void ReadProfileProperties(TarnObject* properties, ProfilePropertiesRecord* record) {
  record->FileID = FileIdOf(properties);
  const NumberField* begin = kSectionFields;
  const NumberField* end = kSectionFields + sizeof kSectionFields / sizeof kSectionFields[0];
  for (TarnAttribute* a : AttributesOf(properties)) {
    if (Named(a, "ProfileName")) {
      record->ProfileName = ReadString(properties, a);
    } else if (Named(a, "ProfileDefinition")) {
      if (TarnObject* definition = ReadObject(properties, a)) ReadDefinition(definition, record);
    } else {
      ReadFields(properties, a, begin, end, record);
    }
  }
}

}  // namespace korva

// korva-ifc sample: a small IFC2x2 design built in code and saved, so that a
// user can see a file this library writes with every kind of value in it.
#include <cstdio>
#include <string>

#include "cli/cli.h"
#include "ifc2x2/globalid.h"
#include "ifc2x2/ifc2x2.h"
#include "ifc2x2/schema.h"
#include "objdb/design.h"
#include "objdb/header_section.h"
#include "objdb/interface.h"

namespace korva {
namespace cli {
namespace {

int RunSample(const Invocation& call);

}  // namespace

extern const Command kSampleCommand = {
    "sample", "[--schemas DIR] OUT.ifc",
    "Writes a small IFC2x2 file built in code: a person and an organization\n"
    "(strings, a list of strings, an unset $ identifier), length and area units\n"
    "(enumerations), a placement (lists of reals and references), and a property\n"
    "set whose values are selects with typed values - IFCLABEL('...'),\n"
    "IFCINTEGER(42), IFCREAL(0.25), IFCLENGTHMEASURE(3.5) - and a unit reference.\n"
    "Instances are numbered from #10.\n\n"
    "  --schemas DIR  the folder of the compiled schemas\n",
    RunSample};

namespace {

template <class T>
T* New(TarnDesign* design) {
  return typecast<T>(design->newInstance(T::classType.name()));
}

IfcCartesianPoint* Point(TarnDesign* d, double x, double y, double z) {
  IfcCartesianPoint* p = New<IfcCartesianPoint>(d);
  p->Coordinates()->add(x);
  p->Coordinates()->add(y);
  p->Coordinates()->add(z);
  return p;
}

IfcDirection* Direction(TarnDesign* d, double x, double y, double z) {
  IfcDirection* r = New<IfcDirection>(d);
  r->DirectionRatios()->add(x);
  r->DirectionRatios()->add(y);
  r->DirectionRatios()->add(z);
  return r;
}

IfcPropertySingleValue* Property(TarnDesign* d, const char* name, IfcValue* value) {
  IfcPropertySingleValue* p = New<IfcPropertySingleValue>(d);
  p->Name(name);
  p->NominalValue(value);
  return p;
}

// A value of the select IfcValue holding a simple value (IfcLabel, ...).
IfcValue* Simple(TarnDesign* d, IfcSimpleValue* simple) {
  IfcValue* v = New<IfcValue>(d);
  v->_IfcSimpleValue(simple);
  return v;
}

void BuildSample(TarnDesign* d) {
  if (file_description* description = d->header_description())
    description->description()->add(const_cast<char*>("korva-ifc sample: every kind of value"));
  if (file_name* name = d->header_name()) {
    name->originating_system("korva-ifc");
    name->author()->add(const_cast<char*>("Sample Author"));
    name->organization()->add(const_cast<char*>("Korva Sample Works"));
  }

  // Strings, a list of strings, and an identifier left unset ($).
  IfcPerson* person = New<IfcPerson>(d);
  person->FamilyName("Korva");
  person->GivenName("Sample");
  person->MiddleNames()->add(const_cast<char*>("Ifc"));
  person->MiddleNames()->add(const_cast<char*>("Two x Two"));
  IfcOrganization* organization = New<IfcOrganization>(d);
  organization->Name("Korva Sample Works");
  organization->Description("It's a sample");  // the apostrophe is doubled in the file
  IfcPersonAndOrganization* user = New<IfcPersonAndOrganization>(d);
  user->ThePerson(person);
  user->TheOrganization(organization);

  // Enumerations: millimetre and square millimetre.
  IfcSIUnit* length = New<IfcSIUnit>(d);
  length->UnitType(IfcUnitEnum_LENGTHUNIT);
  length->Prefix(IfcSIPrefix_MILLI);
  length->Name(IfcSIUnitName_METRE);
  IfcSIUnit* area = New<IfcSIUnit>(d);
  area->UnitType(IfcUnitEnum_AREAUNIT);
  area->Name(IfcSIUnitName_SQUARE_METRE);
  IfcUnitAssignment* units = New<IfcUnitAssignment>(d);
  for (IfcSIUnit* u : {length, area}) {
    IfcUnit* unit = New<IfcUnit>(d);
    unit->_IfcNamedUnit(u);
    units->Units()->add(unit);
  }

  // Lists of reals and references.
  IfcAxis2Placement3D* axes = New<IfcAxis2Placement3D>(d);
  axes->Location(Point(d, 1500.0, 2000.0, 0.0));
  axes->Axis(Direction(d, 0.0, 0.0, 1.0));
  axes->RefDirection(Direction(d, 1.0, 0.0, 0.0));

  // Selects with typed values.
  IfcSimpleValue* label = New<IfcSimpleValue>(d);
  label->_IfcLabel("text");
  IfcSimpleValue* integer = New<IfcSimpleValue>(d);
  integer->_IfcInteger(42);
  IfcSimpleValue* real = New<IfcSimpleValue>(d);
  real->_IfcReal(0.25);
  IfcMeasureValue* measure = New<IfcMeasureValue>(d);
  measure->_IfcLengthMeasure(3.5);
  IfcValue* lengthValue = New<IfcValue>(d);
  lengthValue->_IfcMeasureValue(measure);

  IfcPropertySingleValue* span = Property(d, "Span", lengthValue);
  IfcUnit* spanUnit = New<IfcUnit>(d);
  spanUnit->_IfcNamedUnit(length);
  span->Unit(spanUnit);

  IfcPropertySet* set = New<IfcPropertySet>(d);
  char guid[23];
  set->GlobalId(NewCompressedGuid(guid, sizeof guid));
  set->Name("Pset_KorvaSample");
  for (IfcPropertySingleValue* p :
       {Property(d, "Label", Simple(d, label)), Property(d, "Count", Simple(d, integer)),
        Property(d, "Ratio", Simple(d, real)), span})
    set->HasProperties()->add(p);
}

int RunSample(const Invocation& call) {
  Arguments args;
  if (!ParseArguments(kSampleCommand, call, {}, {"--schemas"}, &args)) return kExitUsage;
  if (args.positional.size() != 1) return UsageError(kSampleCommand, "one output file expected");
  const std::string& out = args.positional[0];
  if (int status = CheckOutput(out)) return status;
  if (!StartLibrary(call.program, args.value("--schemas"))) return kExitNoSchema;

  const PathParts parts = SplitPath(out);
  TarnDesign* design = NewIfcDesign(parts.file.c_str(), parts.folder.c_str());
  if (design == nullptr) return Fail(kExitFailed, "cannot make the sample design");
  BuildSample(design);
  const bool saved = SaveAndDiscard(design);
  TARN().shutdown();
  if (!saved) return Fail(kExitNoOutput, "%s: cannot be written", out.c_str());
  return kExitOk;
}

}  // namespace
}  // namespace cli
}  // namespace korva

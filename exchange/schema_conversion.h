// Conversion of a design from one IFC schema of this build to another
// (IFC2X2_FINAL to IFC2X3 and back).
//
// The conversion is driven by the two compiled dictionaries: every entity
// instance becomes an instance of the target entity of the same name, every
// attribute is carried to the target attribute of the same name, values
// are converted by kind (numbers, strings, enumerators by their names,
// references to the converted instance, aggregates element by element,
// select values to the member of the same type).  The few things names
// cannot carry are the explicit rules of exchange/conversion_rules.h.
// Whatever is left (an entity without counterpart, a set attribute without
// one, a value the target type cannot hold) is never dropped silently: it
// is listed in the report by type and instance number.
//
// The source design is not changed.  The target is a new design with the
// source's name, folder, extension and format, the target schema, the
// source's header records (FILE_SCHEMA follows the target schema) and its
// instances in the source's order with the source's instance numbers, so
// that writing it numbers them as writing the source would.  Linear in the
// number of instances and values.
#ifndef KORVA_EXCHANGE_SCHEMA_CONVERSION_H
#define KORVA_EXCHANGE_SCHEMA_CONVERSION_H

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace korva {

class Part21View;
class TarnDesign;
class TarnObject;

// What could not be carried over: one line per type and kind of loss, with
// the numbers of the instances concerned.
struct ConversionLoss {
  std::string type;               // source entity
  std::string what;               // "has no counterpart in IFC2X3", "attribute X: ..."
  std::vector<uint32_t> numbers;  // source instance numbers (0: not numbered)
};

struct ConversionReport {
  std::string from, to;      // FILE_SCHEMA names ("IFC2X2_FINAL", "IFC2X3")
  uint64_t instances = 0;    // entity instances carried over
  uint32_t types = 0;        // entity types carried over
  uint32_t renamedTypes = 0; // of them, carried to another name by a rule
  uint64_t ruled = 0;        // values handled by a rule (dropped or defaulted)
  std::vector<ConversionLoss> losses;

  bool complete() const { return losses.empty(); }
  // "IFC2X2_FINAL -> IFC2X3: 1234 instances of 56 types mapped, ..."
  std::string summary() const;
  // One line per loss: "IfcFoo: what (#12, #15, ... and 3 more)".
  std::vector<std::string> lossLines(size_t numbersPerLine = 8) const;
};

// The compiled schema a design is converted to, by FILE_SCHEMA name
// ("IFC2X3", "IFC2X2_FINAL"; aliases as the reader knows them); null when
// this build has no such schema.
TarnDesign* ConversionTarget(const char* fileSchemaName);

// The IFC schema of a design (its first schema other than the header's),
// or null.
TarnDesign* IfcSchemaOf(TarnDesign* design);

// Converts `source` into a new design of schema `target` (see above).  The
// report is filled in either case; null when the source has no IFC schema
// or `target` is null.  The current design of the interface is kept.
TarnDesign* ConvertDesign(TarnDesign* source, TarnDesign* target, ConversionReport* report);

// Pairs of instances: (source instance, target instance).
using InstancePairs = std::vector<std::pair<TarnObject*, TarnObject*>>;

// Carries the instances of `source` into `target`, an existing design of
// another IFC schema of this build, without changing what `target` holds:
// every data instance of `source` gets a new instance in the default
// section of `target`, filled as ConvertDesign fills it, except the source
// instances of `known`, which stand for the target instances paired with
// them: they are not carried, and a reference to one becomes a reference
// to its partner.  `made` receives the pairs of the instances made, in
// source order.  False when either design has no IFC schema or something
// could not be carried (listed in the report).
bool CarryInstances(TarnDesign* source, TarnDesign* target, const InstancePairs& known, InstancePairs* made,
                    ConversionReport* report);

// Most designs are written alike in both schemas but for the names of a few
// types and the order of some attributes: their instances can be written
// straight through a view (Part21Writer::Write with the view), with the
// same result as writing ConvertDesign's design, without making one.  The
// view, with the report's counts filled in; null when some value may be
// written otherwise in the target (an entity without counterpart or of a
// complex type, an attribute without counterpart or that a rule drops or
// defaults, an enumerator, a select member or a kind of value the target
// attribute lacks): ConvertDesign then does the work.  Decided from the
// dictionaries and the types present, not the values.
std::unique_ptr<Part21View> ConversionView(TarnDesign* source, TarnDesign* target, ConversionReport* report);

}  // namespace korva

#endif  // KORVA_EXCHANGE_SCHEMA_CONVERSION_H

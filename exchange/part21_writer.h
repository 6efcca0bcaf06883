// The ISO 10303-21 writer: one design as an exchange file.
//
//   ISO-10303-21;
//   HEADER; FILE_DESCRIPTION, FILE_NAME (annotated), FILE_SCHEMA, ... ENDSEC;
//   DATA; #10=NAME(values); ... ENDSEC;
//   END-ISO-10303-21;
//
// Before writing, every instance of the data sections is numbered 10, 11,
// ... in design order (sections in order, extents in order, instances in
// creation order); the numbers stay in the instances.  The file's edition
// (1, 2 = default, 3 = second edition) and conformance class (1 = default,
// 2) are process-wide settings; the second edition is used on its own when
// the design needs it (several or named data sections, or population,
// context or language header records).
#ifndef KORVA_EXCHANGE_PART21_WRITER_H
#define KORVA_EXCHANGE_PART21_WRITER_H

#include <cstdio>
#include <string>
#include <vector>

namespace korva {

class TarnDesign;
class TarnDomain;

// A way of writing a design as the population of another schema whose
// values are written alike (exchange/schema_conversion.h): the schema names
// of FILE_SCHEMA and, per entity domain, the type name written and where
// each written value comes from.
class Part21View {
 public:
  enum : int { kUnset = -1, kDerived = -2 };
  virtual ~Part21View() = default;
  virtual std::vector<std::string> fileSchemas() const = 0;
  // The type name for instances of `domain` and, for each value written, the
  // position in domain->allAttributes() of the attribute written there (or
  // kUnset, kDerived).  False when the view has no layout for the domain
  // (its instances are then written as they are).
  virtual bool layout(TarnDomain* domain, std::string* typeName, std::vector<int>* attributes) const = 0;
};

class Part21Writer {
 public:
  // Writes `design` to `file`; true when the stream reports no error.
  static bool Write(TarnDesign* design, std::FILE* file);
  // The same through a view (complex instances are written as they are).
  static bool Write(TarnDesign* design, std::FILE* file, const Part21View& view);

  // Process-wide settings.  Out-of-range values are reported ("Invalid Part
  // 21 conformance class '%d'", "Invalid Part 21 spec version '%d'") and the
  // setting is kept.
  static bool setConformanceClass(unsigned value);
  static bool setSpecVersion(unsigned value);
  static unsigned conformanceClass();
  static unsigned specVersion();
};

// Numbers the data-section instances of a design from 10 in design order.
void NumberInstances(TarnDesign* design);

}  // namespace korva

#endif  // KORVA_EXCHANGE_PART21_WRITER_H

// The native text design format ("tarn_r3.0", also "tarn"): the format of
// the compiled schemas.  Layout (docs/NATIVE_FORMAT.md):
//
//   Format = "tarn_r3.0"
//   TARN_OIDS ( (0 = this_design) (1 = other_design) ... )
//   TARN_DESIGN (TarnDesign  attribute: value ... )
//   STEP_OBJECTS ( (<0-1> Domain  attribute: value ...) ... )
//
// Values: 'text' (quotes doubled), integers, reals, TRUE/FALSE/UNKNOWN, $,
// .ENUM., object identifiers <d-n> (object n of design d; n = 0 is design d
// itself) and <d-"name"> (the object entered under name in design d's name
// table), (a, b, ...) for aggregates and Member(value) for selects.
//
// Both native formats (this one and the binary IOStandard) share one image
// of a design: CaptureNativeImage turns a design into it, BuildNativeDesign
// makes a design of it.  The text and binary handlers only render and parse
// the image, so that both formats carry exactly the same content.
#ifndef KORVA_EXCHANGE_NATIVE_TEXT_H
#define KORVA_EXCHANGE_NATIVE_TEXT_H

#include <cstdio>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "exchange/format_registry.h"

namespace korva {

class TarnAttribute;
class TarnDomain;
class TarnObject;

// One value of an image.
struct NativeValue {
  enum Kind { kNull, kString, kInteger, kReal, kSingle, kLogical, kEnum, kOid, kList, kSelect };
  Kind kind = kNull;
  std::string text;        // string, enumerator, select member, or the name of a by-name identifier
  long long integer = 0;   // integer; logical 0 false, 1 true, 2 unknown
  double real = 0.0;       // real and single
  int design = 0;          // identifiers: design number
  int object = 0;          // identifiers: object number (0: the design itself, or a by-name identifier)
  std::vector<NativeValue> items;  // aggregate elements; the one value of a select
};

typedef std::vector<std::pair<std::string, NativeValue>> NativeValues;

struct NativeObject {
  int number = 0;
  std::string domain;
  NativeValues values;
};

// A design as the native formats hold it.
struct NativeImage {
  std::vector<std::pair<int, std::string>> designs;  // number and name; 0 is the design itself
  std::string designDomain;                          // domain of the design object
  NativeValues designValues;                         // its stored attributes
  std::vector<NativeObject> objects;                 // numbered 1, 2, ... in this order
};

// The order in which the native formats write the structure instances of a
// design; an object's number is its position in it, from 1.  Objects are
// grouped by domain, the dictionary objects (which the readers put into the
// system section) first, then all others; groups in the order in which
// their first object is met going through the sections, objects in extent
// order.  A design read back from either format has its extents in exactly
// this order, so that writing it again gives the same file.
//
// Enumeration domains made in code keep their enumerators in memory only,
// and attributes redeclared DERIVE in code have no TarnRefined record: the
// order adds free-standing TarnAttribute and TarnRefined objects for them
// (owned by the order), so that a schema built in code is saved complete.
class NativeObjectOrder {
 public:
  explicit NativeObjectOrder(TarnDesign* design);
  ~NativeObjectOrder();
  NativeObjectOrder(const NativeObjectOrder&) = delete;
  NativeObjectOrder& operator=(const NativeObjectOrder&) = delete;

  const std::vector<TarnObject*>& objects() const { return objects_; }
  // The number of a written object, 0 for any other.
  int number(TarnObject* object) const;
  // The list written for `att` of `owner` in place of the stored one (the
  // added enumerator attributes), or null.
  const std::vector<TarnObject*>* replacedList(TarnObject* owner, TarnAttribute* att) const;
  // Instances that are neither structures nor written inline (aggregates
  // and selects): they cannot be written.
  const std::vector<TarnObject*>& unexpected() const { return unexpected_; }

  // Whether readers put instances of the domain into the system section.
  static bool SystemDomain(const char* domainName);

 private:
  std::vector<TarnObject*> objects_;
  std::vector<TarnObject*> unexpected_;
  std::vector<TarnObject*> added_;
  std::unordered_map<TarnObject*, int> numbers_;
  std::unordered_map<TarnObject*, std::vector<TarnObject*>> replaced_;
};

// Which native format an image is captured for (they word one message
// differently).
enum class NativeForm { kText, kBinary };

// Turns a design into an image.  Messages: for a design whose domain lies
// in the design itself `Design "%s" contains its own domain.` (text) or
// "The domain of [%s] must be in a different design" (binary),
// "Could not find the design's domain." when it has none, "unexpected
// object type while writing" for an instance of another kind, the warning
// "Nonpersistant or deleted object found, written as NULL" for a reference
// to such an object, and 2041 for a value kind that cannot be written.
// False when the design cannot be written; the image is complete otherwise.
bool CaptureNativeImage(TarnDesign* design, NativeForm form, NativeImage* image);

// Makes a design named `name` from an image.  Null when the design object's
// domain is unknown (`Domain "%s" not found.`) or no kind of design
// (`Domain "%s" is not a type of TarnDesign.`); problems with single objects
// and values are reported and skipped.
TarnDesign* BuildNativeDesign(const NativeImage& image, const char* name);

class IOTarn : public IORoot {
 public:
  IOTarn() : IORoot({"tarn_r3.0", "tarn"}) {}
  // Reads the rest of the stream (after the first line) into a new design.
  TarnDesign* readContents(std::FILE* in, const char* name) override;
  // Writes the whole file, first line included.
  bool writeContents(TarnDesign* design, std::FILE* out) override;

  // Reads from text already in memory (after the first line; a leading
  // "Format = ..." line is skipped).
  static TarnDesign* ReadText(const std::string& text, const char* name);
  // The whole file text of a design; false (and `out` unspecified) when it
  // cannot be written.
  static bool WriteText(TarnDesign* design, std::string* out);
  // Renders and parses images; ParseText reports what it finds wrong.
  static std::string FormatText(const NativeImage& image);
  static bool ParseText(const std::string& text, NativeImage* image);
};

}  // namespace korva

#endif  // KORVA_EXCHANGE_NATIVE_TEXT_H

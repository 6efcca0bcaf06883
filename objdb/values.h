// Value kinds of the object store: the primitive C++ types that attribute
// slots hold, the node types that classify domains and classes, and the
// markers of unset and unresolved values.
#ifndef KORVA_OBJDB_VALUES_H
#define KORVA_OBJDB_VALUES_H

#include <cfloat>
#include <cstdint>

namespace korva {

typedef char* STR;
typedef uint8_t TarnBoolean;  // 0 false, 1 true, 2 unknown, 3 unset
typedef uint8_t TarnLogical;
typedef int32_t TarnEnum;     // enumerator index, -1 unset
typedef uint32_t TarnOID;
typedef unsigned char byte;
typedef unsigned short ushort;
typedef unsigned int uint;
typedef uint32_t ulong32;

// A binary value: its bits as text ("0".."3" then hexadecimal digits).
struct BINARY {
  char* text;
  int32_t bits;
};

// How values of a class or domain are stored.
enum TarnNodeType {
  kNodeUnknown = 0,
  kNodeInt = 1,
  kNodeFloat = 2,
  kNodeBoolean = 3,
  kNodeLogical = 4,
  kNodeString = 5,
  kNodeOID = 6,
  kNodeDouble = 7,
  kNodeByte = 8,
  kNodeShort = 9,
  kNodeLong = 10,
  kNodeUShort = 11,
  kNodeUInt = 12,
  kNodeULong = 13,
  kNodeChar = 14,
  kNodeBinary = 15,
  kNodeEnum = 16,
  kNodeStructure = 18,
  kNodeUnion = 19,
  kNodeAggregate = 20,
  kNodeDesign = 21,
  kNodeObject = 22,
};

// Every test of whether a value is an object reference is this one.
inline bool IsObjectNode(int nodeType) { return nodeType > 17; }

// Unset markers by kind.
constexpr int32_t kUnsetInteger = INT32_MIN;
constexpr double kUnsetReal = 2.2250738585072014E-308;  // smallest normal double
constexpr uint8_t kUnsetBoolean = 3;
constexpr int32_t kUnsetEnum = -1;

// A reference slot holding all ones names an object not yet in memory.
inline void* UnresolvedMarker() { return reinterpret_cast<void*>(~uintptr_t{0}); }
inline bool IsUnresolved(const void* p) { return reinterpret_cast<uintptr_t>(p) == ~uintptr_t{0}; }

enum TarnBool : uint8_t { kFalse = 0, kTrue = 1, kUnknown = 2 };

}  // namespace korva

#endif  // KORVA_OBJDB_VALUES_H

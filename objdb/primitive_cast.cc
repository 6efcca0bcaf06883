// Conversions between primitive kinds, used when a value is read or written
// with a type other than the type of its slot.
//
//  - numbers convert among all numeric kinds (int, float, double, byte,
//    short, long, the unsigned kinds, char, boolean) by truncation or
//    widening; an enumeration reads as its index;
//  - a double becomes text with "%.15G", a float with "%.7G";
//  - an enumeration becomes its enumerator name ("" for -1; no result when
//    the index names no enumerator);
//  - a number becomes an enumeration only when it is not negative (-1 stays
//    unset);
//  - text becomes a binary value (checked digit by digit);
//  - anything else is refused with a warning.
// Results land in static buffers (or the caller's `out`): copy them before
// the next conversion.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "objdb/interface.h"
#include "objdb/tarn_type.h"

namespace korva {
namespace {

union Result {
  int64_t integer;
  double real;
  float single;
  char* text;
  unsigned char bytes[16];
};
Result g_result;        // every target but BINARY
Result g_binaryResult;  // BINARY targets
char g_text[64];
std::string g_binaryText;

bool IsNumeric(int node) {
  switch (node) {
    case kNodeInt: case kNodeFloat: case kNodeBoolean: case kNodeLogical: case kNodeOID:
    case kNodeDouble: case kNodeByte: case kNodeShort: case kNodeLong: case kNodeUShort:
    case kNodeUInt: case kNodeULong: case kNodeChar:
      return true;
    default:
      return false;
  }
}

bool IsRealNode(int node) { return node == kNodeFloat || node == kNodeDouble; }

// Reads an integer-kind value of `type` at `in`.
bool ReadInteger(const TarnType& type, const void* in, int64_t* v) {
  switch (type.nodeType()) {
    case kNodeBoolean: case kNodeLogical: case kNodeByte: *v = *static_cast<const uint8_t*>(in); return true;
    case kNodeChar: *v = *static_cast<const int8_t*>(in); return true;
    case kNodeShort: *v = *static_cast<const int16_t*>(in); return true;
    case kNodeUShort: *v = *static_cast<const uint16_t*>(in); return true;
    case kNodeInt: case kNodeLong: *v = *static_cast<const int32_t*>(in); return true;
    case kNodeUInt: case kNodeULong: case kNodeOID: *v = *static_cast<const uint32_t*>(in); return true;
    case kNodeEnum:
      switch (type.recordSize()) {
        case 1: *v = *static_cast<const int8_t*>(in); return true;
        case 2: *v = *static_cast<const int16_t*>(in); return true;
        case 4: *v = *static_cast<const int32_t*>(in); return true;
        default:
          TARN().report(1010, static_cast<int>(type.recordSize()), 1, 2, 4);
          return false;
      }
    default:
      TARN().report(1011, static_cast<int>(type.recordSize()), 1, 2, 4);
      return false;
  }
}

void* WriteInteger(const TarnType& to, int64_t v, void* out) {
  switch (to.nodeType()) {
    case kNodeBoolean: case kNodeLogical: case kNodeByte: *static_cast<uint8_t*>(out) = static_cast<uint8_t>(v); break;
    case kNodeChar: *static_cast<int8_t*>(out) = static_cast<int8_t>(v); break;
    case kNodeShort: *static_cast<int16_t*>(out) = static_cast<int16_t>(v); break;
    case kNodeUShort: *static_cast<uint16_t*>(out) = static_cast<uint16_t>(v); break;
    case kNodeInt: case kNodeLong: *static_cast<int32_t*>(out) = static_cast<int32_t>(v); break;
    case kNodeUInt: case kNodeULong: case kNodeOID: *static_cast<uint32_t*>(out) = static_cast<uint32_t>(v); break;
    case kNodeFloat: *static_cast<float*>(out) = static_cast<float>(v); break;
    case kNodeDouble: *static_cast<double*>(out) = static_cast<double>(v); break;
    case kNodeEnum:
      switch (to.recordSize()) {
        case 1: *static_cast<int8_t*>(out) = static_cast<int8_t>(v); break;
        case 2: *static_cast<int16_t*>(out) = static_cast<int16_t>(v); break;
        case 4: *static_cast<int32_t*>(out) = static_cast<int32_t>(v); break;
        default:
          TARN().report(1010, static_cast<int>(to.recordSize()), 1, 2, 4);
          return nullptr;
      }
      break;
    default:
      return nullptr;
  }
  return out;
}

void* WriteReal(const TarnType& to, double v, void* out) {
  switch (to.nodeType()) {
    case kNodeFloat: *static_cast<float*>(out) = static_cast<float>(v); return out;
    case kNodeDouble: *static_cast<double*>(out) = v; return out;
    default: return WriteInteger(to, static_cast<int64_t>(v), out);
  }
}

const char* Name(const TarnType& t) { return t.name() != nullptr ? t.name() : "<no-name>"; }

void* Refuse(const TarnType& to, const TarnType& from) {
  TARN().warning("Cannot typecast primitive type: '%s' to '%s'", Name(from), Name(to));
  return nullptr;
}

// Text to a binary value: the first digit 0-3 gives the unused bits of the
// last hexadecimal digit; bad digits are replaced by '0' with a warning.
void* TextToBinary(const char* text, void* out) {
  g_binaryText.assign(text != nullptr ? text : "");
  if (!g_binaryText.empty()) {
    char first = g_binaryText[0];
    if (first < '0' || first > '3') {
      TARN().report(1003, first);
      g_binaryText[0] = '0';
    }
    for (size_t i = 1; i < g_binaryText.size(); ++i) {
      char c = g_binaryText[i];
      bool hex = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
      if (!hex) {
        TARN().report(1002, c);
        g_binaryText[i] = '0';
      }
    }
  }
  BINARY b;
  b.text = &g_binaryText[0];
  int unused = g_binaryText.empty() ? 0 : g_binaryText[0] - '0';
  b.bits = g_binaryText.empty() ? 0 : static_cast<int32_t>((g_binaryText.size() - 1) * 4 - unused);
  std::memcpy(out, &b, sizeof b);
  return out;
}

}  // namespace

void* ConvertPrimitive(const TarnType& to, const void* in, const TarnType& from, void* out) {
  if (in == nullptr) return nullptr;
  const int fn = from.nodeType(), tn = to.nodeType();
  if (out == nullptr) out = tn == kNodeBinary ? &g_binaryResult : &g_result;
  if (&to == &from) {
    std::memcpy(out, in, to.recordSize());
    return out;
  }
  // To text.
  if (tn == kNodeString) {
    if (fn == kNodeDouble) {
      std::snprintf(g_text, sizeof g_text, "%.15G", *static_cast<const double*>(in));
    } else if (fn == kNodeFloat) {
      std::snprintf(g_text, sizeof g_text, "%.7G", static_cast<double>(*static_cast<const float*>(in)));
    } else if (fn == kNodeEnum) {
      int64_t index;
      if (!ReadInteger(from, in, &index)) return nullptr;
      if (index == -1) {
        g_text[0] = '\0';
      } else {
        const char* name = from.enumeratorName(static_cast<int32_t>(index));
        if (name == nullptr) return nullptr;
        std::snprintf(g_text, sizeof g_text, "%s", name);
        if (std::strlen(name) >= sizeof g_text) {
          static_cast<Result*>(out)->text = const_cast<char*>(name);
          return out;
        }
      }
    } else if (fn == kNodeBinary) {
      static_cast<Result*>(out)->text = static_cast<const BINARY*>(in)->text;
      return out;
    } else {
      return Refuse(to, from);
    }
    static_cast<Result*>(out)->text = g_text;
    return out;
  }
  // To binary.
  if (tn == kNodeBinary) {
    if (fn == kNodeString) return TextToBinary(*static_cast<char* const*>(in), out);
    return Refuse(to, from);
  }
  // To an enumeration.
  if (tn == kNodeEnum) {
    if (IsRealNode(fn) || IsNumeric(fn) || fn == kNodeEnum) {
      int64_t v;
      if (IsRealNode(fn)) v = static_cast<int64_t>(fn == kNodeFloat ? *static_cast<const float*>(in)
                                                                   : *static_cast<const double*>(in));
      else if (!ReadInteger(from, in, &v)) return nullptr;
      if (v < -1) {
        TARN().warning("Cannot typecast negative primitive '%s' to an enumeration of type '%s'.",
                       Name(from), Name(to));
        return nullptr;
      }
      return WriteInteger(to, v, out);
    }
    return Refuse(to, from);
  }
  // Between numbers (an enumeration reads as its index).
  if (IsNumeric(tn) && (IsNumeric(fn) || fn == kNodeEnum)) {
    if (IsRealNode(fn)) {
      double v = fn == kNodeFloat ? *static_cast<const float*>(in) : *static_cast<const double*>(in);
      return WriteReal(to, v, out);
    }
    int64_t v;
    if (!ReadInteger(from, in, &v)) return nullptr;
    return WriteInteger(to, v, out);
  }
  return Refuse(to, from);
}

}  // namespace korva

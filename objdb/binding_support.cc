#include "objdb/binding_support.h"

namespace korva {

TarnObject* SelectObject(TarnUnion* s, const char* member) { return s->getObject(s->getAttribute(member)); }

const char* SelectString(TarnUnion* s, const char* member) { return s->getString(s->getAttribute(member)); }

double SelectReal(TarnUnion* s, const char* member) { return s->getDouble(s->getAttribute(member)); }

int32_t SelectInteger(TarnUnion* s, const char* member) { return s->getInteger(s->getAttribute(member)); }

void SetSelectObject(TarnUnion* s, const char* member, TarnObject* value) {
  s->putObject(value, s->getAttribute(member));
}

void SetSelectString(TarnUnion* s, const char* member, const char* value) {
  s->putString(value, s->getAttribute(member));
}

void SetSelectReal(TarnUnion* s, const char* member, double value) {
  s->putDouble(value, s->getAttribute(member));
}

void SetSelectEnum(TarnUnion* s, const char* member, int32_t value) {
  s->putEnum(value, s->getAttribute(member));
}

void SetSelectInteger(TarnUnion* s, const char* member, int32_t value, const TarnType* as) {
  TarnAttribute* att = s->getAttribute(member);
  if (as == &kBooleanType || as == &kLogicalType) s->putBoolean(static_cast<TarnBoolean>(value), att);
  else s->putInteger(value, att);
}

}  // namespace korva

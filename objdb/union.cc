#include "objdb/union.h"

#include <cstring>

#include "objdb/domain.h"
#include "objdb/interface.h"

namespace korva {

void* TarnUnion::slotAddress(TarnAttribute*, int) { return &value_; }

const TarnType* TarnUnion::slotType(TarnAttribute* attribute) {
  const TarnType* t = TarnObject::slotType(attribute);
  // Object members are held as TarnObject pointers.
  if (IsObjectNode(t->nodeType())) return &TarnObject::classType;
  return t;
}

bool TarnUnion::putAttribute(const char* name) {
  if (name == nullptr || std::strcmp(name, "$") == 0 || std::strcmp(name, "NULL") == 0) {
    if (active_ != nullptr) modified();
    active_ = nullptr;
    value_.integer = 0;
    return true;
  }
  TarnAttribute* att = getAttribute(name);
  if (att == nullptr) {
    TARN().report(1001, domainName(), name);
    return false;
  }
  return putAttribute(att);
}

bool TarnUnion::putAttribute(TarnAttribute* attribute) {
  if (attribute == nullptr) return putAttribute(static_cast<const char*>(nullptr));
  TarnDomain* d = domain();
  TarnAttribute* mine = (d != nullptr && attribute->owner() != d) ? d->typeAttribute(attribute) : attribute;
  if (mine == nullptr) {
    TARN().report(1001, domainName(), attribute->name());
    return false;
  }
  if (mine != active_) {
    active_ = mine;
    value_.integer = 0;
  }
  modified();
  return true;
}

bool TarnUnion::isMember(const char* name) {
  return active_ != nullptr && name != nullptr && std::strcmp(active_->name(), name) == 0;
}

bool TarnUnion::getValue(TarnAttribute* attribute, int index, void** out, const TarnType* as) {
  *out = nullptr;
  if (attribute == nullptr) {
    TARN().report(1023);
    return false;
  }
  TarnAttribute* wanted = attribute;
  TarnDomain* d = domain();
  if (d != nullptr && attribute->owner() != d) wanted = d->typeAttribute(attribute);
  if (wanted == nullptr || wanted != active_) {
    TARN().report(1055, active_ != nullptr ? active_->name() : "NULL", attribute->name());
    return false;
  }
  return TarnObject::getValue(wanted, index, out, as);
}

bool TarnUnion::putValue(TarnAttribute* attribute, int index, const void* in, const TarnType* as) {
  if (attribute == nullptr) {
    TARN().report(1023);
    return false;
  }
  if (!putAttribute(attribute)) return false;
  return TarnObject::putValue(active_, index, in, as);
}

void TarnUnion::display(std::FILE* out) {
  std::fprintf(out, "%s:", domainName());
  if (active_ == nullptr) {
    std::fprintf(out, "<NULL>\n");
    return;
  }
  std::fprintf(out, "[%s]\n", active_->name());
}

}  // namespace korva

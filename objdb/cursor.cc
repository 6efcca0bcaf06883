#include "objdb/cursor.h"

#include "objdb/design.h"
#include "objdb/domain.h"

namespace korva {
namespace {

// Live cursors, newest first.
TarnCursor* g_live = nullptr;

}  // namespace

TarnCursor::TarnCursor() {
  nextLive_ = g_live;
  if (g_live != nullptr) g_live->prevLive_ = this;
  g_live = this;
}

TarnCursor::TarnCursor(TarnDesign* design, TarnDomain* domain) : TarnCursor() {
  design_ = design;
  domain_ = domain;
}

TarnCursor::~TarnCursor() {
  if (prevLive_ != nullptr) prevLive_->nextLive_ = nextLive_;
  else g_live = nextLive_;
  if (nextLive_ != nullptr) nextLive_->prevLive_ = prevLive_;
}

TarnCursor* TarnCursor::firstLive() { return g_live; }

void TarnCursor::traverse(TarnDesign* design) {
  design_ = design;
  section_ = nullptr;
  rewind();
}

void TarnCursor::traverse(TarnSection* section) {
  section_ = section;
  design_ = section != nullptr ? section->design() : nullptr;
  rewind();
}

void TarnCursor::domain(TarnDomain* domain) {
  domain_ = domain;
  exact_ = false;
  unknownDomain_ = false;
  rewind();
}

void TarnCursor::exactDomain(TarnDomain* domain) {
  domain_ = domain;
  exact_ = true;
  unknownDomain_ = false;
  rewind();
}

bool TarnCursor::domain(const char* name) {
  TarnDomain* d = design_ != nullptr && name != nullptr ? design_->findDomain(name) : nullptr;
  domain(d);
  unknownDomain_ = d == nullptr;
  return d != nullptr;
}

bool TarnCursor::exactDomain(const char* name) {
  TarnDomain* d = design_ != nullptr && name != nullptr ? design_->findDomain(name) : nullptr;
  exactDomain(d);
  unknownDomain_ = d == nullptr;
  return d != nullptr;
}

void TarnCursor::sectionKind(int kind) {
  kind_ = kind;
  rewind();
}

void TarnCursor::sectionFilter(SectionFilter filter, void* context) {
  filter_ = filter;
  context_ = context;
  rewind();
}

void TarnCursor::rewind() {
  where_ = kBefore;
  index_ = 0;
  extent_ = nullptr;
  object_ = nullptr;
  gap_ = false;
}

TarnObject* TarnCursor::current() const { return where_ == kOn && !gap_ ? object_ : nullptr; }

int TarnCursor::sectionCount() const {
  if (section_ != nullptr) return 1;
  return design_ != nullptr ? static_cast<int>(design_->sections().size()) : 0;
}

TarnSection* TarnCursor::sectionAt(int index) const {
  return section_ != nullptr ? section_ : design_->sections()[static_cast<size_t>(index)];
}

bool TarnCursor::sectionPasses(TarnSection* section) const {
  if (kind_ != 0 && section->kind() != kind_) return false;
  return filter_ == nullptr || filter_(section, context_);
}

bool TarnCursor::extentMatches(const TarnExtent* extent) const {
  if (unknownDomain_) return false;
  if (domain_ == nullptr) return true;
  TarnDomain* d = extent->domain();
  if (d == domain_) return true;
  // An inactive domain (one still being read) matches only exactly.
  return !exact_ && d != nullptr && d->isActiveQuiet() && d->typeIsA(domain_);
}

TarnObject* TarnCursor::seekForward(int index, TarnExtent* after) {
  const int n = sectionCount();
  for (int i = index; i < n; ++i) {
    TarnSection* s = sectionAt(i);
    TarnExtent* e;
    if (after != nullptr) {
      e = after->next();  // still in the section the cursor was in
      after = nullptr;
    } else {
      if (!sectionPasses(s)) continue;
      e = s->firstExtent();
    }
    for (; e != nullptr; e = e->next()) {
      if (e->first() == nullptr || !extentMatches(e)) continue;
      where_ = kOn;
      index_ = i;
      extent_ = e;
      object_ = e->first();
      gap_ = false;
      return object_;
    }
  }
  where_ = kAfter;
  extent_ = nullptr;
  object_ = nullptr;
  gap_ = false;
  return nullptr;
}

TarnObject* TarnCursor::seekBackward(int index, TarnExtent* before) {
  for (int i = index; i >= 0; --i) {
    TarnSection* s = sectionAt(i);
    if (before == nullptr && !sectionPasses(s)) continue;
    // Extents link forward only: the last match ahead of `before` wins.
    TarnExtent* found = nullptr;
    for (TarnExtent* e = s->firstExtent(); e != nullptr && e != before; e = e->next())
      if (e->first() != nullptr && extentMatches(e)) found = e;
    before = nullptr;
    if (found == nullptr) continue;
    where_ = kOn;
    index_ = i;
    extent_ = found;
    object_ = found->last();
    gap_ = false;
    return object_;
  }
  where_ = kBefore;
  extent_ = nullptr;
  object_ = nullptr;
  gap_ = false;
  return nullptr;
}

TarnObject* TarnCursor::next() {
  switch (where_) {
    case kAfter:
      return nullptr;
    case kBefore:
      return seekForward(0, nullptr);
    case kOn:
      break;
  }
  TarnObject* n = gap_ && object_ == nullptr ? extent_->first() : object_->nextInExtent();
  gap_ = false;
  if (n != nullptr) {
    object_ = n;
    return n;
  }
  return seekForward(index_, extent_);
}

TarnObject* TarnCursor::previous() {
  switch (where_) {
    case kBefore:
      return nullptr;
    case kAfter:
      return seekBackward(sectionCount() - 1, nullptr);
    case kOn:
      break;
  }
  if (gap_) {
    // The instance before the gap, when the gap is not at the extent's start.
    gap_ = false;
    if (object_ != nullptr) return object_;
    return seekBackward(index_, extent_);
  }
  TarnObject* p = object_->previousInExtent();
  if (p != nullptr) {
    object_ = p;
    return p;
  }
  return seekBackward(index_, extent_);
}

uint32_t TarnCursor::size() {
  uint32_t n = 0;
  const int count = sectionCount();
  for (int i = 0; i < count; ++i) {
    TarnSection* s = sectionAt(i);
    if (!sectionPasses(s)) continue;
    for (TarnExtent* e = s->firstExtent(); e != nullptr; e = e->next())
      if (extentMatches(e)) n += e->count();
  }
  return n;
}

void TarnCursor::leaving(TarnObject* object) {
  for (TarnCursor* c = g_live; c != nullptr; c = c->nextLive_) {
    if (c->where_ != kOn || c->object_ != object) continue;
    c->object_ = object->previousInExtent();
    c->gap_ = true;
  }
}

}  // namespace korva

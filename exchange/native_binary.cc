#include "exchange/native_binary.h"

#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "exchange/native_text.h"
#include "objdb/design.h"
#include "objdb/error_category.h"

namespace korva {
namespace {

IOStandard g_handler;

const TarnErrorCategory& Messages() { return ExchangeMessages(); }

const char kMarker[] = {1, 4, 7};
const char kEndMarker[] = {7, 4, 1};
constexpr int kMaxNesting = 255;

// Field kinds of the records, one per kind of value.
enum FieldKind : uint8_t {
  kFieldNull = 0,
  kFieldInteger = 1,   // int64
  kFieldReal = 2,      // IEEE double
  kFieldSingle = 3,    // IEEE float
  kFieldLogical = 4,   // u8: 0 false, 1 true, 2 unknown
  kFieldString = 5,    // text
  kFieldEnum = 6,      // text: the enumerator
  kFieldOid = 7,       // u32 design, u32 object
  kFieldNamedOid = 8,  // u32 design, text: the name
  kFieldList = 9,      // u32 count, fields
  kFieldSelect = 10,   // text: the member, one field
  kFieldKinds
};

// Domain, attribute, enumerator and select member names are written once,
// in a table in front of the records, and referred to by position.
struct NameTable {
  std::unordered_map<std::string, uint32_t> index;
  std::vector<std::string> names;
  uint32_t id(const std::string& name) {
    auto it = index.emplace(name, static_cast<uint32_t>(names.size())).first;
    if (it->second == names.size()) names.push_back(name);
    return it->second;
  }
};

class Out {
 public:
  Out(std::string* bytes, NameTable* names) : bytes_(bytes), names_(names) {}
  void u8(uint8_t v) { bytes_->push_back(static_cast<char>(v)); }
  void u32(uint32_t v) {
    for (int i = 0; i < 4; ++i) u8(static_cast<uint8_t>(v >> (8 * i)));
  }
  void u64(uint64_t v) {
    for (int i = 0; i < 8; ++i) u8(static_cast<uint8_t>(v >> (8 * i)));
  }
  void text(const std::string& s) {
    u32(static_cast<uint32_t>(s.size()));
    bytes_->append(s);
  }
  void name(const std::string& s) { u32(names_->id(s)); }
  void raw(const char* p, size_t n) { bytes_->append(p, n); }

 private:
  std::string* bytes_;
  NameTable* names_;
};

class In {
 public:
  In(const char* p, const char* end) : p_(p), end_(end) {}
  void setNames(std::vector<std::string> names) { names_ = std::move(names); }
  bool ok() const { return ok_; }
  bool atEnd() const { return p_ >= end_; }
  // Reports the first problem only.
  void fail(const char* message) {
    if (ok_) Messages().error("%s", message);
    ok_ = false;
  }
  // Stops without a further message (one was given).
  void stop() { ok_ = false; }
  bool need(size_t n) {
    if (ok_ && static_cast<size_t>(end_ - p_) >= n) return true;
    fail("Unexpected end of binary design.");
    return false;
  }
  uint8_t u8() { return need(1) ? static_cast<uint8_t>(*p_++) : 0; }
  uint32_t u32() {
    if (!need(4)) return 0;
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<uint8_t>(*p_++)) << (8 * i);
    return v;
  }
  uint64_t u64() {
    if (!need(8)) return 0;
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= static_cast<uint64_t>(static_cast<uint8_t>(*p_++)) << (8 * i);
    return v;
  }
  std::string text() {
    uint32_t n = u32();
    if (!need(n)) return std::string();
    std::string s(p_, n);
    p_ += n;
    return s;
  }
  // A name of the table, by position.
  std::string name() {
    uint32_t i = u32();
    if (!ok_) return std::string();
    if (i >= names_.size()) {
      fail("Bad binary record.");
      return std::string();
    }
    return names_[i];
  }
  bool match(const char* bytes, size_t n) {
    if (!need(n)) return false;
    if (std::memcmp(p_, bytes, n) != 0) return false;
    p_ += n;
    return true;
  }
  // A count of records that each take at least `least` bytes.
  uint32_t count(size_t least) {
    uint32_t n = u32();
    if (ok_ && static_cast<size_t>(end_ - p_) / least < n) {
      fail("Unexpected end of binary design.");
      return 0;
    }
    return n;
  }

 private:
  const char* p_;
  const char* end_;
  bool ok_ = true;
  std::vector<std::string> names_;
};

// Encoders and decoders of the field kinds, indexed by kind.
typedef void (*FieldWriter)(Out& out, const NativeValue& v, int depth);
typedef bool (*FieldReader)(In& in, NativeValue* v, int depth);

void WriteField(Out& out, const NativeValue& v, int depth);
bool ReadField(In& in, NativeValue* v, int depth, const std::string& attribute);

void WriteNull(Out&, const NativeValue&, int) {}
void WriteInteger(Out& out, const NativeValue& v, int) { out.u64(static_cast<uint64_t>(v.integer)); }
void WriteReal(Out& out, const NativeValue& v, int) {
  uint64_t bits;
  std::memcpy(&bits, &v.real, sizeof bits);
  out.u64(bits);
}
void WriteSingle(Out& out, const NativeValue& v, int) {
  float f = static_cast<float>(v.real);
  uint32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  out.u32(bits);
}
void WriteLogical(Out& out, const NativeValue& v, int) { out.u8(static_cast<uint8_t>(v.integer)); }
void WriteText(Out& out, const NativeValue& v, int) { out.text(v.text); }
void WriteName(Out& out, const NativeValue& v, int) { out.name(v.text); }
void WriteOid(Out& out, const NativeValue& v, int) {
  out.u32(static_cast<uint32_t>(v.design));
  out.u32(static_cast<uint32_t>(v.object));
}
void WriteNamedOid(Out& out, const NativeValue& v, int) {
  out.u32(static_cast<uint32_t>(v.design));
  out.text(v.text);
}
void WriteList(Out& out, const NativeValue& v, int depth) {
  out.u32(static_cast<uint32_t>(v.items.size()));
  for (const NativeValue& item : v.items) WriteField(out, item, depth + 1);
}
void WriteSelect(Out& out, const NativeValue& v, int depth) {
  out.name(v.text);
  if (v.items.empty()) WriteField(out, NativeValue(), depth + 1);
  else WriteField(out, v.items.front(), depth + 1);
}

bool ReadNull(In&, NativeValue* v, int) {
  v->kind = NativeValue::kNull;
  return true;
}
bool ReadInteger(In& in, NativeValue* v, int) {
  v->kind = NativeValue::kInteger;
  v->integer = static_cast<long long>(in.u64());
  return in.ok();
}
bool ReadReal(In& in, NativeValue* v, int) {
  uint64_t bits = in.u64();
  v->kind = NativeValue::kReal;
  std::memcpy(&v->real, &bits, sizeof bits);
  return in.ok();
}
bool ReadSingle(In& in, NativeValue* v, int) {
  uint32_t bits = in.u32();
  float f;
  std::memcpy(&f, &bits, sizeof f);
  v->kind = NativeValue::kSingle;
  v->real = f;
  return in.ok();
}
bool ReadLogical(In& in, NativeValue* v, int) {
  v->kind = NativeValue::kLogical;
  v->integer = in.u8();
  if (in.ok() && v->integer > 2) in.fail("Bad binary record.");
  return in.ok();
}
bool ReadString(In& in, NativeValue* v, int) {
  v->kind = NativeValue::kString;
  v->text = in.text();
  return in.ok();
}
bool ReadEnum(In& in, NativeValue* v, int) {
  v->kind = NativeValue::kEnum;
  v->text = in.name();
  return in.ok();
}
bool ReadOid(In& in, NativeValue* v, int) {
  v->kind = NativeValue::kOid;
  v->design = static_cast<int>(in.u32());
  v->object = static_cast<int>(in.u32());
  if (in.ok() && (v->design < 0 || v->object < 0)) in.fail("Bad binary record.");
  return in.ok();
}
bool ReadNamedOid(In& in, NativeValue* v, int) {
  v->kind = NativeValue::kOid;
  v->design = static_cast<int>(in.u32());
  v->text = in.text();
  if (in.ok() && (v->design < 0 || v->text.empty())) in.fail("Bad binary record.");
  return in.ok();
}
bool ReadList(In& in, NativeValue* v, int depth) {
  v->kind = NativeValue::kList;
  const uint32_t n = in.count(1);
  v->items.resize(n);
  for (uint32_t i = 0; i < n && in.ok(); ++i) ReadField(in, &v->items[i], depth + 1, std::string());
  return in.ok();
}
bool ReadSelect(In& in, NativeValue* v, int depth) {
  v->kind = NativeValue::kSelect;
  v->text = in.name();
  v->items.resize(1);
  return in.ok() && ReadField(in, &v->items[0], depth + 1, std::string());
}

const FieldWriter kWriters[kFieldKinds] = {&WriteNull,   &WriteInteger, &WriteReal,     &WriteSingle,
                                           &WriteLogical, &WriteText,    &WriteName,     &WriteOid,
                                           &WriteNamedOid, &WriteList,   &WriteSelect};
const FieldReader kReaders[kFieldKinds] = {&ReadNull,    &ReadInteger, &ReadReal,     &ReadSingle,
                                           &ReadLogical, &ReadString,  &ReadEnum,     &ReadOid,
                                           &ReadNamedOid, &ReadList,   &ReadSelect};

FieldKind KindOf(const NativeValue& v) {
  switch (v.kind) {
    case NativeValue::kNull: return kFieldNull;
    case NativeValue::kString: return kFieldString;
    case NativeValue::kInteger: return kFieldInteger;
    case NativeValue::kReal: return kFieldReal;
    case NativeValue::kSingle: return kFieldSingle;
    case NativeValue::kLogical: return kFieldLogical;
    case NativeValue::kEnum: return kFieldEnum;
    case NativeValue::kOid: return v.text.empty() ? kFieldOid : kFieldNamedOid;
    case NativeValue::kList: return kFieldList;
    case NativeValue::kSelect: return kFieldSelect;
  }
  return kFieldNull;
}

void WriteField(Out& out, const NativeValue& v, int depth) {
  const FieldKind kind = KindOf(v);
  out.u8(kind);
  kWriters[kind](out, v, depth);
}

bool ReadField(In& in, NativeValue* v, int depth, const std::string& attribute) {
  const uint8_t kind = in.u8();
  if (!in.ok()) return false;
  if (kind >= kFieldKinds) {
    Messages().error("<Unknown Field> %d in attribute \"%s\".", kind, attribute.c_str());
    in.stop();
    return false;
  }
  if (depth > kMaxNesting) {
    in.fail("Bad binary record.");
    return false;
  }
  return kReaders[kind](in, v, depth);
}

void WriteValues(Out& out, const NativeValues& values) {
  out.u32(static_cast<uint32_t>(values.size()));
  for (const auto& [name, value] : values) {
    out.name(name);
    WriteField(out, value, 0);
  }
}

bool ReadValues(In& in, NativeValues* values) {
  // A value is at least a name and a field kind.
  const uint32_t n = in.count(5);
  values->reserve(n);
  for (uint32_t i = 0; i < n && in.ok(); ++i) {
    std::string name = in.name();
    if (!in.ok()) return false;
    values->emplace_back(std::move(name), NativeValue());
    if (!ReadField(in, &values->back().second, 0, values->back().first)) return false;
  }
  return in.ok();
}

}  // namespace

std::string IOStandard::Encode(const NativeImage& image) {
  NameTable names;
  std::string body;
  body.reserve(64 * 1024);
  Out records(&body, &names);
  records.name(image.designDomain);
  WriteValues(records, image.designValues);
  records.u32(static_cast<uint32_t>(image.objects.size()));
  for (const NativeObject& o : image.objects) {
    records.u32(static_cast<uint32_t>(o.number));
    records.name(o.domain);
    WriteValues(records, o.values);
  }

  std::string bytes;
  bytes.reserve(body.size() + 16 * names.names.size() + 64);
  Out out(&bytes, &names);
  out.raw(kMarker, sizeof kMarker);
  out.u32(static_cast<uint32_t>(image.designs.size()));
  for (const auto& [number, name] : image.designs) {
    out.u32(static_cast<uint32_t>(number));
    out.text(name);
  }
  out.u32(static_cast<uint32_t>(names.names.size()));
  for (const std::string& name : names.names) out.text(name);
  bytes.append(body);
  out.raw(kEndMarker, sizeof kEndMarker);
  return bytes;
}

bool IOStandard::Decode(const std::string& bytes, NativeImage* image) {
  *image = NativeImage();
  In in(bytes.data(), bytes.data() + bytes.size());
  if (bytes.size() < sizeof kMarker || !in.match(kMarker, sizeof kMarker)) {
    Messages().error("Binary marker missing.");
    return false;
  }
  const uint32_t designs = in.count(8);
  for (uint32_t i = 0; i < designs && in.ok(); ++i) {
    const uint32_t number = in.u32();
    std::string name = in.text();
    if (in.ok() && (number > INT32_MAX || name.empty())) in.fail("Bad binary record.");
    image->designs.emplace_back(static_cast<int>(number), std::move(name));
  }
  // The table of names; none may be empty.
  const uint32_t count = in.count(5);
  std::vector<std::string> names;
  names.reserve(count);
  for (uint32_t i = 0; i < count && in.ok(); ++i) {
    names.push_back(in.text());
    if (in.ok() && names.back().empty()) in.fail("Bad binary record.");
  }
  in.setNames(std::move(names));
  image->designDomain = in.name();
  if (!in.ok() || !ReadValues(in, &image->designValues)) return false;
  // An object is at least its number, its domain and a value count.
  const uint32_t objects = in.count(12);
  image->objects.reserve(objects);
  for (uint32_t i = 0; i < objects && in.ok(); ++i) {
    NativeObject o;
    const uint32_t number = in.u32();
    o.domain = in.name();
    if (in.ok() && (number == 0 || number > INT32_MAX)) in.fail("Bad binary record.");
    o.number = static_cast<int>(number);
    if (!in.ok() || !ReadValues(in, &o.values)) return false;
    image->objects.push_back(std::move(o));
  }
  if (!in.ok()) return false;
  if (!in.match(kEndMarker, sizeof kEndMarker) || !in.atEnd()) {
    in.fail("Bad binary record.");
    return false;
  }
  return true;
}

TarnDesign* IOStandard::ReadBytes(const std::string& bytes, const char* name) {
  size_t start = 0;
  if (bytes.compare(0, 6, "Format") == 0) {
    start = bytes.find('\n');
    start = start == std::string::npos ? bytes.size() : start + 1;
  }
  NativeImage image;
  if (!Decode(start == 0 ? bytes : bytes.substr(start), &image)) return nullptr;
  return BuildNativeDesign(image, name);
}

bool IOStandard::WriteBytes(TarnDesign* design, std::string* out) {
  NativeImage image;
  if (!CaptureNativeImage(design, NativeForm::kBinary, &image)) return false;
  *out = "Format = \"standard_3.0\"\n";
  out->append(Encode(image));
  return true;
}

TarnDesign* IOStandard::readContents(std::FILE* in, const char* name) {
  std::string bytes;
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) bytes.append(buffer, n);
  TarnDesign* design = ReadBytes(bytes, name);
  // Saved again, the design keeps the format it was read in.
  if (design != nullptr) design->format(mainName());
  return design;
}

bool IOStandard::writeContents(TarnDesign* design, std::FILE* out) {
  std::string bytes;
  if (!WriteBytes(design, &bytes)) return false;
  return std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size() && std::ferror(out) == 0;
}

}  // namespace korva

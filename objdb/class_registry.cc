// Type records of the primitive value types and of every library class,
// with the layouts that tell the dictionary where their parts and fields lie.
#include "objdb/class_support.h"
#include "objdb/design.h"
#include "objdb/dictionary.h"
#include "objdb/domain.h"
#include "objdb/union.h"

namespace korva {

// --- Primitive value types -------------------------------------------------

TarnType kUnknownType("Unknown", 0, 0, 0);
TarnType kIntType("int", 4, 1, kNodeInt);
TarnType kFloatType("float", 4, 2, kNodeFloat);
TarnType kBooleanType("TarnBoolean", 1, 3, kNodeBoolean);
TarnType kLogicalType("TarnLogical", 1, 268, kNodeLogical);
TarnType kStrType("STR", sizeof(char*), 4, kNodeString);
TarnType kOidType("TarnOID", 4, 200, kNodeOID);
TarnType kDoubleType("double", 8, 250, kNodeDouble);
TarnType kByteType("byte", 1, 251, kNodeByte);
TarnType kShortType("short", 2, 261, kNodeShort);
TarnType kLongType("long", 4, 262, kNodeLong);
TarnType kUShortType("ushort", 2, 263, kNodeUShort);
TarnType kUIntType("uint", 4, 264, kNodeUInt);
TarnType kULongType("ulong", 4, 265, kNodeULong);
TarnType kCharType("char", 1, 266, kNodeChar);
TarnType kBinaryType("BINARY", sizeof(BINARY), 267, kNodeBinary);
TarnType kEnumType("TarnEnum", 4, 260, kNodeEnum);

namespace {
void InstallConvert(TarnType& t) { t.convert = &ConvertPrimitive; }
TarnTypePtr gPrimitiveHolders[] = {
    TarnTypePtr(&kIntType, InstallConvert),   TarnTypePtr(&kFloatType, InstallConvert),
    TarnTypePtr(&kBooleanType, InstallConvert), TarnTypePtr(&kLogicalType, InstallConvert),
    TarnTypePtr(&kStrType, InstallConvert),   TarnTypePtr(&kOidType, InstallConvert),
    TarnTypePtr(&kDoubleType, InstallConvert), TarnTypePtr(&kByteType, InstallConvert),
    TarnTypePtr(&kShortType, InstallConvert), TarnTypePtr(&kLongType, InstallConvert),
    TarnTypePtr(&kUShortType, InstallConvert), TarnTypePtr(&kUIntType, InstallConvert),
    TarnTypePtr(&kULongType, InstallConvert), TarnTypePtr(&kCharType, InstallConvert),
    TarnTypePtr(&kBinaryType, InstallConvert), TarnTypePtr(&kEnumType, InstallConvert),
};
}  // namespace

const TarnType* PrimitiveType(int nodeType) {
  static const TarnType* const kByNode[] = {
      nullptr,     &kIntType,   &kFloatType, &kBooleanType, &kLogicalType, &kStrType,
      &kOidType,   &kDoubleType, &kByteType, &kShortType,   &kLongType,    &kUShortType,
      &kUIntType,  &kULongType, &kCharType,  &kBinaryType,  &kEnumType};
  return nodeType > 0 && nodeType <= 16 ? kByNode[nodeType] : nullptr;
}

template <>
const TarnType& TarnValueAggregate<int, TarnList>::ElementClass() { return kIntType; }

#define KORVA_ELEMENT_CLASSES(Base)                                                             \
  template <> const TarnType& TarnValueAggregate<int, Base>::ElementClass() { return kIntType; } \
  template <> const TarnType& TarnValueAggregate<double, Base>::ElementClass() { return kDoubleType; } \
  template <> const TarnType& TarnValueAggregate<TarnBoolean, Base>::ElementClass() { return kBooleanType; } \
  template <> const TarnType& TarnValueAggregate<float, Base>::ElementClass() { return kFloatType; } \
  template <> const TarnType& TarnValueAggregate<STR, Base>::ElementClass() { return kStrType; }
KORVA_ELEMENT_CLASSES(TarnSet)
KORVA_ELEMENT_CLASSES(TarnBag)
KORVA_ELEMENT_CLASSES(TarnArray)
template <> const TarnType& TarnValueAggregate<double, TarnList>::ElementClass() { return kDoubleType; }
template <> const TarnType& TarnValueAggregate<TarnBoolean, TarnList>::ElementClass() { return kBooleanType; }
template <> const TarnType& TarnValueAggregate<float, TarnList>::ElementClass() { return kFloatType; }
template <> const TarnType& TarnValueAggregate<STR, TarnList>::ElementClass() { return kStrType; }
#undef KORVA_ELEMENT_CLASSES

// --- Object kinds ------------------------------------------------------------

TarnType TarnObject::classType("TarnObject", sizeof(TarnObject), 100, kNodeObject);
TarnTypePtr TarnObject::typeHolder(&TarnObject::classType, [](TarnType& t) {
  TarnClassFunctions<TarnObject>::install(t);
  t.objectCast = [](void* p) { return static_cast<TarnObject*>(p); };
});

TARN_DEFINE_CLASS(TarnStructure, "TarnStructure", 600, kNodeStructure, nullptr,
                  (DeclareSupers<TarnStructure, TarnObject>))
TARN_DEFINE_CLASS(TarnUnion, "TarnUnion", 500, kNodeUnion, nullptr,
                  (DeclareSupers<TarnUnion, TarnObject>))
TARN_DEFINE_CLASS(TarnAggregate, "TarnAggregate", 700, kNodeAggregate, nullptr,
                  (DeclareSupers<TarnAggregate, TarnObject>))

#define KORVA_GENERIC(T, Id)                                                     \
  TARN_DEFINE_CLASS(T, #T, Id, kNodeAggregate, nullptr,                          \
                    (DeclareSupers<T, TarnObject, TarnAggregate>))
KORVA_GENERIC(TarnList, 1100)
KORVA_GENERIC(TarnPtrList, 1102)
KORVA_GENERIC(TarnEnumList, 1103)
KORVA_GENERIC(TarnSet, 1200)
KORVA_GENERIC(TarnPtrSet, 1202)
KORVA_GENERIC(TarnEnumSet, 1203)
KORVA_GENERIC(TarnBag, 1300)
KORVA_GENERIC(TarnPtrBag, 1302)
KORVA_GENERIC(TarnEnumBag, 1303)
KORVA_GENERIC(TarnArray, 1400)
KORVA_GENERIC(TarnPtrArray, 1402)
KORVA_GENERIC(TarnEnumArray, 1403)
#undef KORVA_GENERIC

#define KORVA_TYPED(T, Base, Id)                                                 \
  TARN_DEFINE_CLASS(T, #T, Id, kNodeAggregate, nullptr,                          \
                    (DeclareSupers<T, TarnObject, TarnAggregate, Base>))
#define KORVA_VALUE_FAMILY(Kind, Id)                       \
  KORVA_TYPED(Kind##Ofint, Tarn##Kind, Id + 10)            \
  KORVA_TYPED(Kind##Ofdouble, Tarn##Kind, Id + 11)         \
  KORVA_TYPED(Kind##OfTarnBoolean, Tarn##Kind, Id + 12)    \
  KORVA_TYPED(Kind##Offloat, Tarn##Kind, Id + 13)          \
  KORVA_TYPED(Kind##OfSTR, Tarn##Kind, Id + 14)
KORVA_VALUE_FAMILY(List, 1100)
KORVA_VALUE_FAMILY(Set, 1200)
KORVA_VALUE_FAMILY(Bag, 1300)
KORVA_VALUE_FAMILY(Array, 1400)
#undef KORVA_VALUE_FAMILY
KORVA_TYPED(ListOfTarnObject, TarnPtrList, 1120)
KORVA_TYPED(SetOfTarnObject, TarnPtrSet, 1220)
KORVA_TYPED(BagOfTarnObject, TarnPtrBag, 1320)
KORVA_TYPED(ArrayOfTarnObject, TarnPtrArray, 1420)
KORVA_TYPED(ListOfTarnDomain, TarnPtrList, 1121)
KORVA_TYPED(ListOfTarnAttribute, TarnPtrList, 1122)
KORVA_TYPED(ListOfTarnStructure, TarnPtrList, 1123)
KORVA_TYPED(ListOfTarnDesign, TarnPtrList, 1124)
KORVA_TYPED(ListOfTarnDefType, TarnPtrList, 1125)
KORVA_TYPED(ListOfTarnRefined, TarnPtrList, 1126)
KORVA_TYPED(ListOfTarnUnion, TarnPtrList, 1127)
#undef KORVA_TYPED

// --- Dictionary classes --------------------------------------------------------

void TarnAttribute::layout(TarnType& t) {
  DeclareSupers<TarnAttribute, TarnObject, TarnStructure>(t);
  TarnAttribute* p = dynamic_cast<TarnAttribute*>(t.prototype());
  t.declareAttribute("name", &kStrType, FieldOffset(p, &p->name_));
  t.declareAttribute("domain", &TarnDomain::classType, FieldOffset(p, &p->domain_));
}
TARN_DEFINE_CLASS(TarnAttribute, "TarnAttribute", 620, kNodeStructure, nullptr, &TarnAttribute::layout)

void TarnDomain::layout(TarnType& t) {
  DeclareSupers<TarnDomain, TarnObject, TarnStructure>(t);
  TarnDomain* p = dynamic_cast<TarnDomain*>(t.prototype());
  t.declareAttribute("name", &kStrType, FieldOffset(p, &p->name_));
  t.declareAttribute("listOfSuper", &ListOfTarnDomain::classType, FieldOffset(p, &p->supers_));
  t.declareAttribute("listOfAttribute", &ListOfTarnAttribute::classType, FieldOffset(p, &p->ownAttributes_));
}
TARN_DEFINE_CLASS(TarnDomain, "TarnDomain", 610, kNodeStructure, nullptr, &TarnDomain::layout)

void TarnDefType::layout(TarnType& t) {
  DeclareSupers<TarnDefType, TarnObject, TarnStructure>(t);
  TarnDefType* p = dynamic_cast<TarnDefType*>(t.prototype());
  t.declareAttribute("name", &kStrType, FieldOffset(p, &p->name));
  t.declareAttribute("tarn_def", &TarnDomain::classType, FieldOffset(p, &p->tarn_def));
  t.declareAttribute("express_def", &TarnDefType::classType, FieldOffset(p, &p->express_def));
}
TARN_DEFINE_CLASS(TarnDefType, "TarnDefType", 0, kNodeStructure, nullptr, &TarnDefType::layout)

void TarnRefined::layout(TarnType& t) {
  DeclareSupers<TarnRefined, TarnObject, TarnStructure>(t);
  TarnRefined* p = dynamic_cast<TarnRefined*>(t.prototype());
  t.declareAttribute("refined_att", &TarnAttribute::classType, FieldOffset(p, &p->refined_att));
  t.declareAttribute("refined_by", &TarnDomain::classType, FieldOffset(p, &p->refined_by));
  t.declareAttribute("refined_to", &TarnDomain::classType, FieldOffset(p, &p->refined_to));
}
TARN_DEFINE_CLASS(TarnRefined, "TarnRefined", 0, kNodeStructure, nullptr, &TarnRefined::layout)

void TarnDictionary::layout(TarnType& t) {
  DeclareSupers<TarnDictionary, TarnObject, TarnStructure>(t);
  TarnDictionary* p = dynamic_cast<TarnDictionary*>(t.prototype());
  t.declareAttribute("listOfKeys", &ListOfSTR::classType, FieldOffset(p, &p->keys_));
  t.declareAttribute("listOfValues", &TarnAggregate::classType, FieldOffset(p, &p->values_));
}
TARN_DEFINE_CLASS(TarnDictionary, "TarnDictionary", 1000, kNodeStructure, nullptr, &TarnDictionary::layout)

#define KORVA_DICTIONARY(T)                                                            \
  TARN_DEFINE_CLASS(T, #T, 1000, kNodeStructure, nullptr,                              \
                    (DeclareSupers<T, TarnObject, TarnStructure, TarnDictionary>))
KORVA_DICTIONARY(DictionaryOfTarnObject)
KORVA_DICTIONARY(DictionaryOfString)
KORVA_DICTIONARY(DictionaryOfInteger)
KORVA_DICTIONARY(DictionaryOfFloat)
KORVA_DICTIONARY(DictionaryOfBoolean)
KORVA_DICTIONARY(DictionaryOfTarnDesign)
#undef KORVA_DICTIONARY

void TarnDesign::layout(TarnType& t) {
  DeclareSupers<TarnDesign, TarnObject>(t);
  TarnDesign* p = dynamic_cast<TarnDesign*>(t.prototype());
  t.declareAttribute("name", &kStrType, FieldOffset(p, &p->name_));
  t.declareAttribute("root", &TarnObject::classType, FieldOffset(p, &p->root_));
  t.declareAttribute("keyword_table", &DictionaryOfString::classType, FieldOffset(p, &p->keywords_));
  t.declareAttribute("name_table", &DictionaryOfTarnObject::classType, FieldOffset(p, &p->names_));
  t.declareAttribute("schemas", &ListOfTarnDesign::classType, FieldOffset(p, &p->schemas_));
}
TARN_DEFINE_CLASS(TarnDesign, "TarnDesign", 630, kNodeDesign, nullptr, &TarnDesign::layout)
// Designs held in a design are activated with it.
static const bool g_designsActivate = (TarnDesign::classType.activates = true);

}  // namespace korva

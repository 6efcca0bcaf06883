#include "objdb/test_schema.h"

#include "objdb/class_support.h"
#include "objdb/interface.h"
#include "objdb/schema_builder.h"

namespace korva {
namespace test {

void TPoint::layout(TarnType& t) {
  DeclareSupers<TPoint, TarnObject, TarnStructure>(t);
  TPoint* p = dynamic_cast<TPoint*>(t.prototype());
  t.declareAttribute("X", &kDoubleType, FieldOffset(p, &p->X));
  t.declareAttribute("Y", &kDoubleType, FieldOffset(p, &p->Y));
  t.declareAttribute("Label", &kStrType, FieldOffset(p, &p->Label));
  t.declareAttribute("Kind", nullptr, FieldOffset(p, &p->Kind));
}
TARN_DEFINE_CLASS(TPoint, "TPoint", 0, kNodeStructure, "korva_test", &TPoint::layout)

void TNode::layout(TarnType& t) {
  DeclareSupers<TNode, TarnObject, TarnStructure, TPoint>(t);
  TNode* p = dynamic_cast<TNode*>(t.prototype());
  t.declareAttribute("Id", &kIntType, FieldOffset(p, &p->Id));
  t.declareAttribute("Ref", &TPoint::classType, FieldOffset(p, &p->Ref));
  t.declareAttribute("Links", &ListOfTarnObject::classType, FieldOffset(p, &p->Links));
  t.declareAttribute("Choice", &TarnUnion::classType, FieldOffset(p, &p->Choice));
}
TARN_DEFINE_CLASS(TNode, "TNode", 0, kNodeStructure, "korva_test", &TNode::layout)

void TLeaf::layout(TarnType& t) {
  DeclareSupers<TLeaf, TarnObject, TarnStructure, TPoint, TNode>(t);
  TLeaf* p = dynamic_cast<TLeaf*>(t.prototype());
  t.declareAttribute("W", &kDoubleType, FieldOffset(p, &p->W));
}
TARN_DEFINE_CLASS(TLeaf, "TLeaf", 0, kNodeStructure, "korva_test", &TLeaf::layout)

TarnDesign* TestSchema() {
  TARN().initialize();
  if (TarnDesign* d = TARN().designInMemory("korva_test")) return d;
  SchemaBuilder b("korva_test");
  b.enumeration("TKind", {"ALPHA", "BETA", "GAMMA"});
  b.defined("TLength", "Float");
  TarnDomain* point = b.entity("TPoint");
  b.select("TChoice", {"TPoint", "TLength"});
  b.aggregate("ListOfTPoint", AggregateKind::kList, "TPoint");
  b.attribute(point, "X", "Float");
  b.attribute(point, "Y", "Float");
  b.attribute(point, "Label", "String");
  b.attribute(point, "Kind", "TKind");
  TarnDomain* node = b.entity("TNode", {"TPoint"});
  b.attribute(node, "Id", "Integer");
  b.attribute(node, "Ref", "TPoint");
  b.attribute(node, "Links", "ListOfTPoint");
  b.attribute(node, "Choice", "TChoice");
  TarnDomain* leaf = b.entity("TLeaf", {"TNode"});
  b.attribute(leaf, "W", "Float");
  TarnDomain* extra = b.entity("TExtra", {"TNode"});
  b.attribute(extra, "Extra", "Float");
  b.attribute(extra, "Note", "String");
  b.derived(extra, "Y");
  b.entity("TLoose", {"Undefined"});
  return b.finish();
}

TarnDesign* NewTestDesign(const char* name) {
  TarnDesign* schema = TestSchema();
  return TARN().newDesign(name, schema);
}

}  // namespace test
}  // namespace korva

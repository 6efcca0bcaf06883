// A small schema built in test code, "korva_test", with compiled classes
// for three levels of entities (TPoint <- TNode <- TLeaf, virtually
// inherited), an entity without a class (TExtra, best fit), an enumeration,
// a select and an aggregate:
//
//   TKind   = ENUMERATION OF (ALPHA, BETA, GAMMA)
//   TLength = REAL
//   TChoice = SELECT (TPoint, TLength)
//   TPoint  : X, Y : REAL; Label : STRING; Kind : TKind
//   TNode   SUBTYPE OF TPoint : Id : INTEGER; Ref : TPoint;
//             Links : LIST OF TPoint; Choice : TChoice
//   TLeaf   SUBTYPE OF TNode : W : REAL
//   TExtra  SUBTYPE OF TNode : Extra : REAL; Note : STRING
//   TLoose  SUBTYPE OF Undefined (no class anywhere)
#ifndef KORVA_TESTS_OBJDB_TEST_SCHEMA_H
#define KORVA_TESTS_OBJDB_TEST_SCHEMA_H

#include "objdb/aggregate.h"
#include "objdb/design.h"
#include "objdb/domain.h"
#include "objdb/structure.h"
#include "objdb/union.h"

namespace korva {
namespace test {

class TPoint : public virtual TarnStructure {
  TARN_CLASS(TPoint)
 public:
  double X = 0.0;
  double Y = 0.0;
  char* Label = nullptr;
  int32_t Kind = -1;
  static void layout(TarnType& t);
};

class TNode : public virtual TPoint {
  TARN_CLASS(TNode)
 public:
  int32_t Id = 0;
  TPoint* Ref = nullptr;
  ListOfTarnObject* Links = nullptr;
  TarnUnion* Choice = nullptr;
  static void layout(TarnType& t);
};

class TLeaf : public virtual TNode {
  TARN_CLASS(TLeaf)
 public:
  double W = 0.0;
  static void layout(TarnType& t);
};

// Builds (once per initialisation) and returns the schema design.
TarnDesign* TestSchema();

// A fresh data design using the test schema.
TarnDesign* NewTestDesign(const char* name);

}  // namespace test
}  // namespace korva

#endif  // KORVA_TESTS_OBJDB_TEST_SCHEMA_H

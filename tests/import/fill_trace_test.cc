// The trace of the fill passes: one line "Name: <type>" per entity instance
// of the data sections in cursor order; once by CheckNumber (whose lines of
// a type it does not read are written in blocks) and four times by
// CheckAnaModel, also after a shutdown has replaced every design.
#include <gtest/gtest.h>

#include <string>

#include "api/korvaifc.h"
#include "ifc2x2/ifc2x2.h"
#include "ifc2x2/schema.h"
#include "objdb/design.h"
#include "objdb/domain.h"
#include "objdb/interface.h"
#include "support/test_util.h"

namespace korva {
namespace test {
namespace {

class FillTraceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ShutDown();
    TARN().reporter()->setStreams(out_.get(), err_.get());
    TARN().setSchemaPath(KORVA_SCHEMA_DIR);
  }
  void TearDown() override {
    ShutDown();
    TARN().reporter()->setStreams(stdout, stderr);
  }

  template <class T>
  T* make() {
    return typecast<T>(design_->newInstance(T::classType.name()));
  }
  // More points than one block of trace lines holds, beams between them,
  // a select (no line) and an analysis model with a curve member.
  void build() {
    ASSERT_NE(LoadIfcSchema(), nullptr);
    TARN().reporter()->setStreams(out_.get(), err_.get());
    design_ = NewIfcDesign("trace_model", dir_.path().c_str());
    ASSERT_NE(design_, nullptr);
    for (int i = 0; i < 6000; ++i) {
      IfcCartesianPoint* p = make<IfcCartesianPoint>();
      p->Coordinates()->add(i);
      if (i % 2000 == 0) make<IfcBeam>()->Name("beam");
    }
    make<IfcAxis2Placement>()->_IfcAxis2Placement3D(make<IfcAxis2Placement3D>());
    IfcStructuralAnalysisModel* model = make<IfcStructuralAnalysisModel>();
    IfcRelAssignsToGroup* group = make<IfcRelAssignsToGroup>();
    group->RelatingGroup(model);
    group->RelatedObjects()->add(make<IfcStructuralCurveMember>());
    int number = 10;
    for (TarnExtent* e = design_->dflt_section()->firstExtent(); e != nullptr; e = e->next())
      for (TarnObject* o = e->first(); o != nullptr; o = o->nextInExtent()) o->setInstanceNumber(number++);
    modelNumber_ = static_cast<int>(model->instanceNumber());
  }
  // One line per entity instance of the data section, in cursor order.
  std::string expected() const {
    std::string lines;
    for (TarnExtent* e = design_->dflt_section()->firstExtent(); e != nullptr; e = e->next()) {
      if (!e->domain()->isEntity()) continue;
      for (uint32_t i = 0; i < e->count(); ++i) lines.append("Name: ").append(e->domain()->name()).append("\n");
    }
    return lines;
  }

  TempDir dir_;
  TarnDesign* design_ = nullptr;
  int modelNumber_ = 0;
  CapturedStream out_, err_;
};

TEST_F(FillTraceTest, EveryEntityOncePerPassInCursorOrder) {
  for (int round = 0; round < 2; ++round) {  // the second after a shutdown
    build();
    std::string name = "trace_model";
    FindTotalObjects(&name[0]);
    testing::internal::CaptureStdout();
    CheckNumber(0, &name[0]);
    const std::string fill = testing::internal::GetCapturedStdout();
    EXPECT_EQ(GetTotalBeams(), 2);
    const std::string once = expected();
    ASSERT_GT(once.size(), 6000u * 20u);
    EXPECT_TRUE(fill == once) << "round " << round << ": " << fill.size() << " bytes, expected " << once.size();

    FindTotalAnaModels(&name[0]);
    ASSERT_EQ(GetAnaModelFileID(0), modelNumber_);
    testing::internal::CaptureStdout();
    CheckAnaModel(0, modelNumber_, &name[0]);
    const std::string passes = testing::internal::GetCapturedStdout();
    EXPECT_EQ(GetNumberStrCurveMembers(), 0);  // the one member, read
    EXPECT_TRUE(passes == once + once + once + once) << "round " << round << ": " << passes.size() << " bytes";
    ShutDown();
    TARN().reporter()->setStreams(out_.get(), err_.get());
  }
}

}  // namespace
}  // namespace test
}  // namespace korva

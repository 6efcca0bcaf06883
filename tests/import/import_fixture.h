// What the import tests share: the fixture that sends the library's
// messages into captured streams, takes the compiled schemas from the build
// and empties every import table before and after a test; the host's view
// of a text getter; and a builder of IFC entities in a design.
#ifndef KORVA_TESTS_IMPORT_IMPORT_FIXTURE_H
#define KORVA_TESTS_IMPORT_IMPORT_FIXTURE_H

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "api/korvaifc.h"
#include "ifc2x2/ifc2x2.h"
#include "import/analysis_tables.h"
#include "import/building_tables.h"
#include "objdb/design.h"
#include "objdb/interface.h"
#include "support/test_util.h"

namespace korva {
namespace test {

class ImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CaptureMessages();
    TARN().setSchemaPath(KORVA_SCHEMA_DIR);
    EmptyTables();
  }
  void TearDown() override {
    ShutDown();
    TARN().setSchemaPath(nullptr);
    TARN().reporter()->setStreams(stdout, stderr);
    EmptyTables();
  }
  static void EmptyTables() {
    ReleaseBuildingTables(0);
    ReleaseAnalysisTables(0);
  }

  // Points the error reporter at out_ and err_ again: a shutdown (also the
  // one at the end of an export) makes a new reporter.
  void CaptureMessages() { TARN().reporter()->setStreams(out_.get(), err_.get()); }

  // Writes `design` as an ISO 10303-21 file into dir_ and shuts the library
  // down, so that an import reads the file afresh; returns its path.
  std::string WriteAndForget(TarnDesign* design) {
    design->format("step");
    design->fileDirectory(dir_.path());
    const std::string extension = design->extension().empty() ? "stp" : design->extension();
    const std::string path = dir_.file(std::string(design->name()) + "." + extension);
    EXPECT_TRUE(design->save()) << out_.text();
    ShutDown();
    CaptureMessages();
    return path;
  }

  // What a text getter leaves for `index` in a host's buffer of
  // KORVA_TEXT_BUFFER_SIZE bytes: the text it copies, or kUntouched when it
  // copies nothing.  A getter that writes past the buffer (into the canary
  // behind it) or leaves it without terminator fails the test.
  static constexpr const char* kUntouched = "<untouched>";
  static std::string Text(void (*getter)(int, char*), int index) {
    constexpr size_t kSize = KORVA_TEXT_BUFFER_SIZE, kCanary = 64;
    char buffer[kSize + kCanary];
    std::memset(buffer + kSize, '#', kCanary);
    std::strcpy(buffer, kUntouched);
    getter(index, buffer);
    EXPECT_EQ(std::string(buffer + kSize, kCanary), std::string(kCanary, '#')) << "past the host's buffer";
    const char* end = std::find(buffer, buffer + kSize, '\0');
    EXPECT_NE(end, buffer + kSize) << "no terminator in the host's buffer";
    return std::string(buffer, static_cast<size_t>(end - buffer));
  }

  // Runs `call`; what it wrote on standard output (the fill's trace).
  template <class Call>
  static std::string Traced(Call call) {
    testing::internal::CaptureStdout();
    call();
    return testing::internal::GetCapturedStdout();
  }

  TempDir dir_;
  CapturedStream out_, err_;
};

// The instance number of an entity, as its FileID.
inline int Id(TarnObject* o) { return static_cast<int>(o->instanceNumber()); }

// Makes IFC entities in one design through the generated classes, each
// with the next instance number from 10, as a file read from disk has them.
class IfcBuilder {
 public:
  explicit IfcBuilder(TarnDesign* design) : d_(design) {}

  int entities() const { return next_ - 10; }
  template <class T>
  T* entity(const char* type) {
    T* made = typecast<T>(d_->newInstance(type));
    EXPECT_NE(made, nullptr) << type;
    if (made != nullptr) made->setInstanceNumber(next_++);
    return made;
  }
  // A select value (no instance number).
  template <class T>
  T* select(const char* type) {
    return typecast<T>(d_->newInstance(type));
  }

  IfcCartesianPoint* point(const std::vector<double>& xyz) {
    IfcCartesianPoint* p = entity<IfcCartesianPoint>("IfcCartesianPoint");
    for (double c : xyz) p->Coordinates()->add(c);
    return p;
  }
  IfcDirection* direction(const std::vector<double>& ratios) {
    IfcDirection* d = entity<IfcDirection>("IfcDirection");
    for (double r : ratios) d->DirectionRatios()->add(r);
    return d;
  }
  // Axis and RefDirection may be null.
  IfcAxis2Placement3D* axes(const std::vector<double>& at, IfcDirection* axis, IfcDirection* ref) {
    IfcAxis2Placement3D* a = entity<IfcAxis2Placement3D>("IfcAxis2Placement3D");
    a->Location(point(at));
    if (axis != nullptr) a->Axis(axis);
    if (ref != nullptr) a->RefDirection(ref);
    return a;
  }
  IfcLocalPlacement* local(IfcLocalPlacement* relTo, IfcAxis2Placement3D* relative) {
    IfcLocalPlacement* p = entity<IfcLocalPlacement>("IfcLocalPlacement");
    if (relTo != nullptr) p->PlacementRelTo(relTo);
    IfcAxis2Placement* s = select<IfcAxis2Placement>("IfcAxis2Placement");
    s->_IfcAxis2Placement3D(relative);
    p->RelativePlacement(s);
    return p;
  }
  IfcPolyLoop* loop(const std::vector<std::vector<double>>& points) {
    IfcPolyLoop* l = entity<IfcPolyLoop>("IfcPolyLoop");
    ListOfIfcCartesianPoint* polygon = l->Polygon();  // an empty list, not an unset one
    for (const auto& p : points) polygon->add(point(p));
    return l;
  }

 private:
  TarnDesign* d_;
  int next_ = 10;
};

}  // namespace test
}  // namespace korva

#endif  // KORVA_TESTS_IMPORT_IMPORT_FIXTURE_H

// The integrated-model loader: the list design, the model schemas it names,
// and the compiled classes they take over.
#include "objdb/integrated_models.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exchange/format_registry.h"
#include "objdb/dictionary_binding.h"
#include "objdb/interface.h"
#include "objdb/schema_builder.h"
#include "objdb/test_schema.h"
#include "support/store_fixture.h"
#include "support/test_util.h"

namespace korva {
namespace test {
namespace {

class IntegratedModelsTest : public StoreTest {
 protected:
  IntegratedModelsTest() : StoreTest(KORVA_SCHEMA_DIR) {}
  // Shutting down ends the reporter; the next one writes to our streams too.
  void Restart() {
    TARN().shutdown();
    TARN().reporter()->setStreams(out_.get(), err_.get());
    TARN().initialize();
  }

  // Writes iso_ap_list.tarn with the lists given (null: no such list).
  void WriteListDesign(const std::vector<const char*>* protocols, const std::vector<const char*>* models) {
    TarnDesign* d = TARN().newDesign("iso_ap_list");
    auto addList = [&](const char* name, const std::vector<const char*>* entries) {
      if (entries == nullptr) return;
      auto* list = new (d->dflt_section(), nullptr, &ListOfSTR::classType) ListOfSTR();
      for (const char* e : *entries) list->add(const_cast<char*>(e));
      d->nameTable()->add(name, list);
    };
    addList("__ISO_AP_LIST", protocols);
    addList("__ISO_IR_LIST", models);
    ASSERT_TRUE(WriteDesignFile(d, dir_.file("iso_ap_list.tarn"), "tarn_r3.0"));
  }

  // Writes the model schema "korva_model": an entity TPoint, like the test
  // schema's but with one attribute more, and an entity of its own.
  void WriteModelSchema() {
    SchemaBuilder b("korva_model");
    TarnDomain* point = b.entity("TPoint");
    b.attribute(point, "X", "Float");
    b.attribute(point, "Y", "Float");
    b.attribute(point, "Label", "String");
    b.attribute(point, "Z", "Float");
    b.entity("TOwn");
    TarnDesign* schema = b.finish();
    ASSERT_TRUE(WriteDesignFile(schema, dir_.file("korva_model.tarn"), "tarn_r3.0"));
    Restart();  // the loader must read it from the model folder
  }

  TempDir dir_;
};

TEST_F(IntegratedModelsTest, ModelSchemaTakesOverTheClassesOfItsDomains) {
  const std::vector<const char*> protocols = {"AP203", "AP214"};
  const std::vector<const char*> models = {"korva_model"};
  WriteListDesign(&protocols, &models);
  WriteModelSchema();
  const std::string searchPath = TARN().searchPath();

  EXPECT_EQ(LoadIntegratedModels(dir_.path().c_str()), 0) << out_.text();
  const std::string text = out_.text();
  EXPECT_NE(text.find("USING INTEGRATED MODELS FOR: AP203.\n"), std::string::npos) << text;
  EXPECT_NE(text.find("USING INTEGRATED MODELS FOR: AP214.\n"), std::string::npos) << text;
  EXPECT_NE(text.find("INTEGRATED MODEL: korva_model.\n"), std::string::npos) << text;
  EXPECT_NE(text.find("class TPoint: create as schema korva_model (originally korva_test)\n"), std::string::npos)
      << text;
  EXPECT_EQ(text.find("class TNode:"), std::string::npos) << text;  // not a domain of the model
  EXPECT_EQ(IntegratedProtocols(), (std::vector<std::string>{"AP203", "AP214"}));
  EXPECT_EQ(IntegratedModels(), std::vector<std::string>{"korva_model"});
  EXPECT_EQ(TARN().searchPath(), searchPath);

  // The class now makes instances of the model's domain, with its slots.
  TarnDomain* domain = TPoint::classType.domain();
  ASSERT_NE(domain, nullptr);
  ASSERT_NE(domain->design(), nullptr);
  EXPECT_STREQ(domain->design()->name(), "korva_model");
  EXPECT_NE(domain->findAttribute("Z"), nullptr);
  TarnDesign* data = TARN().newDesign("points");
  ASSERT_TRUE(data->addSchema("korva_model"));
  TarnObject* p = data->newInstance("TPoint");
  ASSERT_NE(typecast<TPoint>(p), nullptr);
  EXPECT_TRUE(p->putDouble(2.5, "X"));
  EXPECT_DOUBLE_EQ(typecast<TPoint>(p)->X, 2.5);

  // After a shutdown the lists are gone and the class is bound afresh to
  // the schema it was generated from.
  Restart();
  EXPECT_TRUE(IntegratedModels().empty());
  TestSchema();
  ASSERT_NE(TPoint::classType.domain(), nullptr);
  EXPECT_STREQ(TPoint::classType.domain()->design()->name(), "korva_test");
}

TEST_F(IntegratedModelsTest, MissingPiecesAreReported) {
  EXPECT_EQ(LoadIntegratedModels(nullptr), 1);
  EXPECT_NE(out_.text().find("$TARN_AP_PATH not set, could not find integrated schemas"), std::string::npos);

  EXPECT_EQ(LoadIntegratedModels(dir_.path().c_str()), 1);
  EXPECT_NE(out_.text().find("Could not find iso_ap_list.tarn."), std::string::npos) << out_.text();

  const std::vector<const char*> models = {"absent_model"};
  WriteListDesign(nullptr, &models);
  EXPECT_EQ(LoadIntegratedModels(dir_.path().c_str()), 1);
  EXPECT_NE(out_.text().find("iso_ap_list.tarn does not contain an AP list."), std::string::npos) << out_.text();
}

TEST_F(IntegratedModelsTest, AbsentModelIsReportedAndTheRestLoads) {
  const std::vector<const char*> protocols = {"AP203"};
  const std::vector<const char*> models = {"absent_model", "korva_model"};
  WriteListDesign(&protocols, &models);
  WriteModelSchema();
  EXPECT_EQ(LoadIntegratedModels(dir_.path().c_str()), 1);
  const std::string text = out_.text();
  EXPECT_NE(text.find("Could not find absent_model."), std::string::npos) << text;
  EXPECT_NE(text.find("class TPoint: create as schema korva_model"), std::string::npos) << text;

  Restart();
  const std::vector<const char*> none;
  WriteListDesign(&none, nullptr);
  EXPECT_EQ(LoadIntegratedModels(dir_.path().c_str()), 1);
  EXPECT_NE(out_.text().find("iso_ap_list.tarn does not contain an IR list."), std::string::npos);
}

}  // namespace
}  // namespace test
}  // namespace korva

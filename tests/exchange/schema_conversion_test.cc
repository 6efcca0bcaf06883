// Conversion of designs between IFC2X2_FINAL and IFC2X3: everything the
// exports and the update write is carried over attribute by attribute and
// back; what cannot be carried is listed by type and instance number; the
// rules table names only what the dictionaries have.
#include "exchange/schema_conversion.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "exchange/conversion_rules.h"
#include "exchange/file_schema.h"
#include "exchange/part21_reader.h"
#include "exchange/part21_writer.h"
#include "objdb/design.h"
#include "objdb/dictionary_binding.h"
#include "objdb/domain.h"
#include "objdb/interface.h"
#include "objdb/text.h"
#include "support/step_text.h"
#include "support/store_fixture.h"
#include "support/test_util.h"

namespace korva {
namespace {

using test::StepInstance;

// Errors are read with the messages: both go to out_.
class SchemaConversionTest : public test::StoreTest {
 protected:
  SchemaConversionTest() : StoreTest(KORVA_SCHEMA_DIR) {}
  void SetUp() override {
    StoreTest::SetUp();
    TARN().reporter()->setStreams(out_.get(), out_.get());
  }
  TarnDesign* Read(const std::string& text, const std::string& name) {
    return Part21Reader::ReadText(text.data(), text.size(), name.c_str(), name.c_str());
  }
  static std::string Write(TarnDesign* design) {
    test::CapturedStream file;
    EXPECT_TRUE(Part21Writer::Write(design, file.get()));
    return file.text();
  }
  // The design written straight in schema `to` through the conversion's
  // view; "" when there is no view for it.
  static std::string WriteViewed(TarnDesign* design, const char* to, ConversionReport* report) {
    std::unique_ptr<Part21View> view = ConversionView(design, ConversionTarget(to), report);
    if (view == nullptr) return "";
    test::CapturedStream file;
    EXPECT_TRUE(Part21Writer::Write(design, file.get(), *view));
    return file.text();
  }
  // The view gives what writing the converted design gives; `required`:
  // there must be one.
  static void ExpectViewAlike(TarnDesign* source, const char* to, const ConversionReport& converted,
                              const std::string& convertedText, const std::string& where, bool required = true) {
    ConversionReport viewed;
    const std::string text = WriteViewed(source, to, &viewed);
    if (!required && text.empty()) return;
    ASSERT_FALSE(text.empty()) << where;
    EXPECT_EQ(test::FileSchemas(text), test::FileSchemas(convertedText)) << where;
    EXPECT_TRUE(test::DataInstances(text) == test::DataInstances(convertedText)) << where;
    EXPECT_EQ(viewed.summary(), converted.summary()) << where;
  }
  static TarnDesign* Convert(TarnDesign* design, const char* to, ConversionReport* report) {
    return ConvertDesign(design, ConversionTarget(to), report);
  }
  static std::string File(const std::string& schema, const std::string& data) {
    return "ISO-10303-21;\nHEADER;\nFILE_DESCRIPTION((''),'2;1');\n"
           "FILE_NAME('m','2024-01-01T00:00:00',(''),(''),'','','');\nFILE_SCHEMA(('" +
           schema + "'));\nENDSEC;\nDATA;\n" + data + "ENDSEC;\nEND-ISO-10303-21;\n";
  }
  // The written instances of one type, in file order.
  static std::vector<StepInstance> OfType(const std::map<uint32_t, StepInstance>& all, const char* type) {
    std::vector<StepInstance> found;
    for (const auto& [number, s] : all)
      if (s.type == type) found.push_back(s);
    return found;
  }
  static std::string Lines(const ConversionReport& r) {
    std::string all;
    for (const std::string& l : r.lossLines()) all += l + "\n";
    return all;
  }

  // Every instance of `before` (schema `from`) is in `after` (schema `to`)
  // under the same number, with each attribute's written value where the
  // target entity has the attribute of that name; an attribute without
  // counterpart is one a rule drops, and a new attribute is unset unless a
  // rule gives it a value.
  void ExpectCarried(const std::map<uint32_t, StepInstance>& before, const std::map<uint32_t, StepInstance>& after,
                     const char* from, const char* to, const std::string& where) {
    TarnDesign* fromSchema = ConversionTarget(from);
    TarnDesign* toSchema = ConversionTarget(to);
    ASSERT_EQ(after.size(), before.size()) << where;
    for (const auto& [number, s] : before) {
      auto found = after.find(number);
      ASSERT_NE(found, after.end()) << where << " #" << number;
      const StepInstance& t = found->second;
      TarnDomain* sd = FindDomainInSchema(fromSchema, s.type.c_str());
      TarnDomain* td = FindDomainInSchema(toSchema, t.type.c_str());
      ASSERT_NE(sd, nullptr) << s.type;
      ASSERT_NE(td, nullptr) << t.type;
      if (s.type != t.type) {
        EXPECT_NE(FindConversionRule(ConversionRule::kRenameEntity, from, to, sd, nullptr), nullptr) << s.type;
      }
      ASSERT_EQ(s.values.size(), sd->allAttributes().size()) << where << " #" << number;
      ASSERT_EQ(t.values.size(), td->allAttributes().size()) << where << " #" << number;
      std::vector<bool> matched(t.values.size(), false);
      for (size_t i = 0; i < s.values.size(); ++i) {
        const char* name = sd->allAttributes()[i]->name();
        size_t k = 0;
        while (k < t.values.size() && !EqualNoCase(td->allAttributes()[k]->name(), name)) ++k;
        if (k == t.values.size()) {
          EXPECT_TRUE(s.values[i] == "$" || s.values[i] == "*" ||
                      FindConversionRule(ConversionRule::kDropAttribute, from, to, sd, name) != nullptr)
              << where << " #" << number << " " << s.type << "." << name << " = " << s.values[i];
          continue;
        }
        matched[k] = true;
        EXPECT_EQ(t.values[k], s.values[i]) << where << " #" << number << " " << s.type << "." << name;
      }
      for (size_t k = 0; k < t.values.size(); ++k) {
        if (matched[k] || t.values[k] == "$" || t.values[k] == "*") continue;
        EXPECT_NE(FindConversionRule(ConversionRule::kDefault, from, to, sd, td->allAttributes()[k]->name()), nullptr)
            << where << " #" << number << " " << t.type << "." << td->allAttributes()[k]->name();
      }
    }
  }

};

// The files the export, import and update tests and the example models
// write (the committed baseline, time stamps filled in again) are converted
// to IFC2X3 without loss and back to IFC2X2_FINAL as they were.
TEST_F(SchemaConversionTest, EveryFileTheExportsAndTheUpdateWriteGoesToIfc2x3AndBack) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(KORVA_BASELINE_FILES))
    if (entry.is_regular_file()) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  ASSERT_GE(files.size(), 40u);
  std::set<std::string> types;
  int n = 0;
  for (const std::filesystem::path& path : files) {
    std::string text = test::ReadFile(path.string());
    for (size_t at = text.find("<DATE>"); at != std::string::npos; at = text.find("<DATE>"))
      text.replace(at, 6, "0");
    const std::string where = path.parent_path().filename().string() + "/" + path.filename().string();
    TarnDesign* source = Read(text, "source" + std::to_string(++n));
    ASSERT_NE(source, nullptr) << where;
    const std::string written = Write(source);
    const auto before = test::DataInstances(written);
    for (const auto& [number, s] : before) types.insert(s.type);

    ConversionReport there;
    TarnDesign* converted = Convert(source, "IFC2X3", &there);
    ASSERT_NE(converted, nullptr) << where;
    EXPECT_TRUE(there.complete()) << where << "\n" << Lines(there);
    EXPECT_EQ(there.instances, before.size()) << where;
    const std::string convertedText = Write(converted);
    EXPECT_EQ(test::FileSchemas(convertedText), std::vector<std::string>{"IFC2X3"}) << where;
    const auto after = test::DataInstances(convertedText);
    ExpectCarried(before, after, "IFC2X2_FINAL", "IFC2X3", where);
    // A file with types whose attributes a rule drops (the point actions'
    // ProjectedOrTrue) needs the conversion; any other has a view.
    bool dropping = false;
    for (const auto& [number, s] : before) {
      TarnDomain* d = FindDomainInSchema(ConversionTarget("IFC2X2_FINAL"), s.type.c_str());
      for (TarnAttribute* a : d->allAttributes())
        dropping = dropping ||
                   FindConversionRule(ConversionRule::kDropAttribute, "IFC2X2_FINAL", "IFC2X3", d, a->name()) != nullptr;
    }
    ExpectViewAlike(source, "IFC2X3", there, convertedText, where, !dropping);
    // (Compared as instances: the header's time stamp is written afresh.)
    EXPECT_TRUE(test::DataInstances(Write(source)) == before) << where << ": the source changed";

    ConversionReport back;
    TarnDesign* returned = Convert(converted, "IFC2X2_FINAL", &back);
    ASSERT_NE(returned, nullptr) << where;
    EXPECT_TRUE(back.complete()) << where << "\n" << Lines(back);
    const std::string returnedText = Write(returned);
    EXPECT_EQ(test::FileSchemas(returnedText), std::vector<std::string>{"IFC2X2_FINAL"}) << where;
    ExpectCarried(after, test::DataInstances(returnedText), "IFC2X3", "IFC2X2_FINAL", where);
    // IFC2x2 attributes are narrower than some IFC2X3 ones (IfcObject where
    // IFC2X3 has IfcObjectDefinition): the way back has a view only where
    // the dictionaries alone tell that every value fits.
    ExpectViewAlike(converted, "IFC2X2_FINAL", back, returnedText, where, false);
    for (TarnDesign* d : {source, converted, returned}) {
      d->emptyYourself();
      TARN().deleteDesign(d);
    }
    TARN().emptyTrash();
  }
  // What the exports write is among them.
  for (const char* type : {"IFCWALLSTANDARDCASE", "IFCSLAB", "IFCBEAM", "IFCCOLUMN", "IFCBUILDINGELEMENTPROXY",
                           "IFCSTRUCTURALCURVEMEMBER", "IFCSTRUCTURALSURFACEMEMBER", "IFCSTRUCTURALPOINTCONNECTION",
                           "IFCRELCONNECTSSTRUCTURALMEMBER", "IFCSTRUCTURALPROFILEPROPERTIES",
                           "IFCRELASSOCIATESPROFILEPROPERTIES", "IFCFACETEDBREP", "IFCOWNERHISTORY"})
    EXPECT_EQ(types.count(type), 1u) << type;
}

// Each rule names entities and attributes as the two dictionaries have
// them, and is needed: a renamed or dropped attribute is really missing
// from the target, a defaulted one really required there.
TEST_F(SchemaConversionTest, RulesNameWhatTheDictionariesHave) {
  ASSERT_FALSE(ConversionRules().empty());
  for (const ConversionRule& r : ConversionRules()) {
    const std::string what = std::string(r.entity) + (r.attribute != nullptr ? std::string(".") + r.attribute : "");
    TarnDesign* from = ConversionTarget(r.from);
    TarnDesign* to = ConversionTarget(r.to);
    ASSERT_NE(from, nullptr) << r.from;
    ASSERT_NE(to, nullptr) << r.to;
    EXPECT_NE(r.reason, nullptr) << what;
    TarnDomain* source = FindDomainInSchema(from, r.entity);
    ASSERT_NE(source, nullptr) << what;
    EXPECT_TRUE(source->isEntity()) << what;
    TarnDomain* same = FindDomainInSchema(to, r.entity);
    switch (r.kind) {
      case ConversionRule::kRenameEntity:
        EXPECT_EQ(same, nullptr) << what;
        ASSERT_NE(FindDomainInSchema(to, r.value), nullptr) << what;
        break;
      case ConversionRule::kRenameAttribute:
        ASSERT_NE(same, nullptr) << what;
        EXPECT_NE(source->findAttribute(r.attribute), nullptr) << what;
        EXPECT_EQ(same->findAttribute(r.attribute), nullptr) << what;
        EXPECT_NE(same->findAttribute(r.value), nullptr) << what;
        break;
      case ConversionRule::kDropAttribute:
        ASSERT_NE(same, nullptr) << what;
        EXPECT_NE(source->findAttribute(r.attribute), nullptr) << what;
        EXPECT_EQ(same->findAttribute(r.attribute), nullptr) << what;
        break;
      case ConversionRule::kDefault: {
        ASSERT_NE(same, nullptr) << what;
        EXPECT_EQ(source->findAttribute(r.attribute), nullptr) << what;
        TarnAttribute* a = same->findAttribute(r.attribute);
        ASSERT_NE(a, nullptr) << what;
        ASSERT_NE(a->domain(), nullptr) << what;
        EXPECT_NE(std::find_if(a->domain()->enumerators().begin(), a->domain()->enumerators().end(),
                               [&](const char* e) { return EqualNoCase(e, r.value); }),
                  a->domain()->enumerators().end())
            << what;
        break;
      }
    }
  }
}

// IFC2x2 values IFC2X3 has no place for are listed by type and number; the
// rules' values are counted, not listed; the rest is carried.
TEST_F(SchemaConversionTest, WhatIfc2x3CannotHoldIsListedByTypeAndNumber) {
  TarnDesign* source = Read(
      File("IFC2X2_FINAL",
           "#1=IFCTEXTSTYLEWITHMIRROR(#2);\n"
           "#2=IFCAXIS2PLACEMENT2D(#3,$);\n"
           "#3=IFCCARTESIANPOINT((0.,0.));\n"
           "#4=IFCSOUNDPROPERTIES('0abcdefghijklmnopqrstu',$,$,$,.T.,$,#5,(#6));\n"
           "#5=IFCLOCALPLACEMENT($,#2);\n"
           "#6=IFCSOUNDVALUE('3abcdefghijklmnopqrstu',$,$,$,$,500.,$);\n"
           "#7=IFCEXTERNALLYDEFINEDSUFACESTYLE('loc','ref','name');\n"
           "#8=IFCSTRUCTURALPOINTACTION('1abcdefghijklmnopqrstu',$,'F',$,$,$,$,#9,.GLOBAL_COORDS.,.F.,"
           ".TRUE_LENGTH.,$);\n"
           "#9=IFCSTRUCTURALLOADSINGLEFORCE('f',1.,2.,3.,$,$,$);\n"
           "#10=IFCMATERIALLAYER($,0.2,.T.);\n"
           "#11=IFCSOUNDPROPERTIES('2abcdefghijklmnopqrstu',$,$,$,.F.,$,#5,(#6));\n"),
      "losses");
  ASSERT_NE(source, nullptr) << out_.text();
  ConversionReport r;
  EXPECT_EQ(WriteViewed(source, "IFC2X3", &r), "");  // losses and rules: no view
  TarnDesign* converted = Convert(source, "IFC2X3", &r);
  ASSERT_NE(converted, nullptr);
  EXPECT_FALSE(r.complete());
  EXPECT_EQ(r.from, "IFC2X2_FINAL");
  EXPECT_EQ(r.to, "IFC2X3");
  EXPECT_EQ(r.instances, 10u);  // all but the text style
  EXPECT_EQ(r.renamedTypes, 1u);
  EXPECT_EQ(r.ruled, 1u);  // the point action's ProjectedOrTrue
  const std::vector<std::string> lines = r.lossLines();
  ASSERT_EQ(lines.size(), 2u) << Lines(r);
  EXPECT_EQ(lines[0], "IfcTextStyleWithMirror: has no counterpart in IFC2X3 (#1)");
  EXPECT_EQ(lines[1], "IfcSoundProperties: attribute PointOfMeasurement has no counterpart in IFC2X3 (#4, #11)");
  EXPECT_NE(r.summary().find("10 instances of 9 types mapped"), std::string::npos) << r.summary();
  EXPECT_NE(r.summary().find("2 kinds of loss in 3 instances"), std::string::npos) << r.summary();

  const auto after = test::DataInstances(Write(converted));
  EXPECT_EQ(after.size(), 10u);
  EXPECT_TRUE(OfType(after, "IFCTEXTSTYLEWITHMIRROR").empty());
  const auto style = OfType(after, "IFCEXTERNALLYDEFINEDSURFACESTYLE");
  ASSERT_EQ(style.size(), 1u);
  EXPECT_EQ(style[0].values, (std::vector<std::string>{"'loc'", "'ref'", "'name'"}));
  const auto action = OfType(after, "IFCSTRUCTURALPOINTACTION");
  ASSERT_EQ(action.size(), 1u);
  ASSERT_EQ(action[0].values.size(), 11u);
  EXPECT_EQ(action[0].values[9], ".F.");
  EXPECT_EQ(action[0].values[10], "$");
  const auto layer = OfType(after, "IFCMATERIALLAYER");
  ASSERT_EQ(layer.size(), 1u);
  EXPECT_EQ(layer[0].values[2], ".T.");  // BOOLEAN to LOGICAL
  const auto sound = OfType(after, "IFCSOUNDPROPERTIES");
  ASSERT_EQ(sound.size(), 2u);
  // IFC2x3's sound properties have no PointOfMeasurement between the scale
  // and the values.
  ASSERT_EQ(sound[1].values.size(), 7u);
  EXPECT_EQ(sound[1].values[4], ".F.");
  EXPECT_TRUE(std::regex_match(sound[1].values[6], std::regex("\\(#[0-9]+\\)"))) << sound[1].values[6];
}

// The way back: enumerators and attributes IFC2x2 lacks are listed, the
// point action gets the value IFC2x2 requires.
TEST_F(SchemaConversionTest, WhatIfc2x2CannotHoldIsListedOnTheWayBack) {
  TarnDesign* source = Read(
      File("IFC2X3",
           "#1=IFCSLAB('0abcdefghijklmnopqrstu',$,'S',$,$,$,$,$,.BASESLAB.);\n"
           "#2=IFCSLAB('1abcdefghijklmnopqrstu',$,'S',$,$,$,$,$,.FLOOR.);\n"
           "#3=IFCSTRUCTURALPOINTACTION('2abcdefghijklmnopqrstu',$,'F',$,$,$,$,#4,.GLOBAL_COORDS.,.F.,$);\n"
           "#4=IFCSTRUCTURALLOADSINGLEFORCE('f',1.,2.,3.,$,$,$);\n"
           "#5=IFCSTRUCTURALPROFILEPROPERTIES('P',$,$,$,$,$,$,$,$,$,$,$,$,$,$,$,$,$,$,$,$,0.1,$);\n"
           "#6=IFCMATERIALLAYER($,0.2,.U.);\n"
           "#7=IFCPROPERTYSINGLEVALUE('p',$,IFCLABEL('text'),$);\n"),
      "back");
  ASSERT_NE(source, nullptr) << out_.text();
  EXPECT_EQ(out_.text().find("warning"), std::string::npos) << out_.text();
  ConversionReport r;
  EXPECT_EQ(WriteViewed(source, "IFC2X2_FINAL", &r), "");
  TarnDesign* converted = Convert(source, "IFC2X2_FINAL", &r);
  ASSERT_NE(converted, nullptr);
  const std::vector<std::string> lines = r.lossLines();
  ASSERT_EQ(lines.size(), 3u) << Lines(r);
  EXPECT_EQ(lines[0], "IfcSlab: enumerator BASESLAB of IfcSlabTypeEnum has no counterpart in IFC2X2_FINAL (#1)");
  EXPECT_EQ(lines[1], "IfcStructuralProfileProperties: attribute CentreOfGravityInX has no counterpart in "
                      "IFC2X2_FINAL (#5)");
  EXPECT_EQ(lines[2], "IfcMaterialLayer: an UNKNOWN logical value has no counterpart in a BOOLEAN attribute (#6)");
  EXPECT_EQ(r.ruled, 1u);
  const auto after = test::DataInstances(Write(converted));
  ASSERT_EQ(after.size(), 7u);
  const auto slabs = OfType(after, "IFCSLAB");
  ASSERT_EQ(slabs.size(), 2u);
  EXPECT_EQ(slabs[0].values[8], "$");
  EXPECT_EQ(slabs[1].values[8], ".FLOOR.");
  ASSERT_EQ(OfType(after, "IFCSTRUCTURALPOINTACTION").size(), 1u);
  EXPECT_EQ(OfType(after, "IFCSTRUCTURALPOINTACTION")[0].values[10], ".TRUE_LENGTH.");
  ASSERT_EQ(OfType(after, "IFCMATERIALLAYER").size(), 1u);
  EXPECT_EQ(OfType(after, "IFCMATERIALLAYER")[0].values[2], "$");
  ASSERT_EQ(OfType(after, "IFCPROPERTYSINGLEVALUE").size(), 1u);
  EXPECT_EQ(OfType(after, "IFCPROPERTYSINGLEVALUE")[0].values[2], "IFCLABEL('text')");
}

// A design converted to its own schema is written as it was.
TEST_F(SchemaConversionTest, TheSameSchemaGivesTheSameFile) {
  const std::string text = File("IFC2X3",
                                "#10=IFCCARTESIANPOINT((1.,2.,3.));\n"
                                "#11=IFCPOLYLINE((#10,#12));\n"
                                "#12=IFCCARTESIANPOINT((4.,5.,6.));\n"
                                "#13=IFCPROPERTYSINGLEVALUE('p',$,IFCPOSITIVELENGTHMEASURE(2.5),$);\n");
  TarnDesign* source = Read(text, "same");
  ASSERT_NE(source, nullptr);
  ConversionReport r;
  TarnDesign* converted = Convert(source, "IFC2X3", &r);
  ASSERT_NE(converted, nullptr);
  EXPECT_TRUE(r.complete()) << Lines(r);
  EXPECT_EQ(r.instances, 4u);
  EXPECT_EQ(test::DataInstances(Write(converted)), test::DataInstances(Write(source)));
  ExpectViewAlike(source, "IFC2X3", r, Write(converted), "same schema");
  EXPECT_EQ(ConversionTarget("IFC4"), nullptr);
  // The names other tools write for our schemas name them as targets too.
  EXPECT_EQ(ConversionTarget("IFC2X3_FINAL"), ConversionTarget("IFC2X3"));
  EXPECT_EQ(ConversionTarget("ifc2x_final"), ConversionTarget("IFC2X2_FINAL"));
  EXPECT_EQ(ConvertDesign(source, nullptr, &r), nullptr);
}

}  // namespace
}  // namespace korva

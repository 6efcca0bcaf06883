// The native design formats: the text form (IOTarn) and the binary form
// (IOStandard) written and read back, on the schema of test_schema.h, on a
// data design of it, on a schema with nested values built here and on the
// compiled IFC schema; references into other designs; damaged files.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "exchange/format_registry.h"
#include "exchange/native_binary.h"
#include "exchange/native_text.h"
#include "objdb/dictionary_binding.h"
#include "objdb/interface.h"
#include "objdb/schema_builder.h"
#include "objdb/test_schema.h"
#include "support/store_fixture.h"
#include "support/test_util.h"

namespace korva {
namespace test {
namespace {

const char* const kFormats[] = {"tarn_r3.0", "standard_3.0"};

class NativeFormatTest : public StoreTest {
 protected:
  NativeFormatTest() : StoreTest(KORVA_SCHEMA_DIR) {}
  void SetUp() override {
    StoreTest::SetUp();
    messages();
  }
  static std::string Text(TarnDesign* design) {
    std::string text;
    EXPECT_TRUE(IOTarn::WriteText(design, &text));
    return text;
  }
  // The text of a design read back under another name, with the name
  // replaced by the original one.
  static std::string TextAs(TarnDesign* copy, const std::string& original) {
    std::string text = Text(copy);
    const std::string name = copy->name();
    for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + original.size()))
      text.replace(at, name.size(), original);
    return text;
  }
  // Saves `design` in `format` as a ".tarn" file and reads it back, through
  // its first line, under the name `as`.
  TarnDesign* SaveAndLoad(TarnDesign* design, const char* format, const char* as) {
    const std::string path = dir_.file(std::string(as) + "_" + format + ".tarn");
    EXPECT_TRUE(WriteDesignFile(design, path, format)) << messages();
    return ReadDesignFile(path, "tarn", as);
  }

  // A data design of the test schema: a node with a quoted label, a leaf, a
  // best-fit TExtra with its overflow attributes, a list and selects.
  TarnDesign* MakeData(const char* name) {
    TarnDesign* d = NewTestDesign(name);
    TarnObject* node = d->newInstance("TNode");
    TarnObject* leaf = d->newInstance("TLeaf");
    TarnObject* extra = d->newInstance("TExtra");
    node->putDouble(1.5, "X");
    node->putDouble(-2.25e-10, "Y");
    node->putString("it's a 'node'", "Label");
    node->putEnum(1, node->getAttribute("Kind"));
    node->putInteger(42, "Id");
    node->putObject(leaf, "Ref");
    TarnAggregate* links = typecast<TarnAggregate>(d->newInstance("ListOfTPoint"));
    links->putObject(leaf, -1);
    links->putObject(extra, -1);
    node->putObject(links, "Links");
    TarnUnion* length = typecast<TarnUnion>(d->newInstance("TChoice"));
    length->putDouble(2.5, length->getAttribute("_TLength"));
    node->putObject(length, "Choice");

    leaf->putDouble(0.1 + 0.2, "W");
    leaf->unset("Id");
    TarnUnion* point = typecast<TarnUnion>(d->newInstance("TChoice"));
    point->putObject(node, point->getAttribute("_TPoint"));
    leaf->putObject(point, "Choice");

    extra->putDouble(3.75, "Extra");
    extra->putString("line one\nline two", "Note");
    extra->putEnum(2, extra->getAttribute("Kind"));
    return d;
  }

  TempDir dir_;
};

// The instances of a design, first in extent order.
TarnObject* First(TarnDesign* d, const char* domain) {
  TarnDomain* dom = d->findDomain(domain);
  TarnExtent* e = dom != nullptr ? d->dflt_section()->extent(dom, false) : nullptr;
  return e != nullptr ? e->first() : nullptr;
}

uint32_t CountOf(TarnDesign* d, TarnDomain* domain) {
  uint32_t n = 0;
  for (TarnSection* s : d->sections())
    if (TarnExtent* e = s->extent(domain, false)) n += e->count();
  return n;
}

// --- The text form -----------------------------------------------------------------

const char kDataText[] = R"(Format = "tarn_r3.0"

TARN_OIDS (
	(0 = korva_data)
	(1 = korva_test)
)

TARN_DESIGN (TarnDesign
	name: 'korva_data'
	root: $
	keyword_table: $
	name_table: $
	schemas: (<1-0>)
)

STEP_OBJECTS (
	(<0-1> TNode
		X: 1.5
		Y: -2.25e-10
		Label: 'it''s a ''node'''
		Kind: .BETA.
		Id: 42
		Ref: <0-2>
		Links: (<0-2>, <0-3>)
		Choice: TLength(2.5)
	)
	(<0-2> TLeaf
		X: 0.0
		Y: 0.0
		Label: $
		Kind: $
		Id: $
		Ref: $
		Links: $
		Choice: TPoint(<0-1>)
		W: 0.3
	)
	(<0-3> TExtra
		X: 0.0
		Label: $
		Kind: .GAMMA.
		Id: 0
		Ref: $
		Links: $
		Choice: $
		Extra: 3.75
		Note: 'line one
line two'
	)
)
)";

TEST_F(NativeFormatTest, DataDesignIsWrittenAsDocumented) {
  TarnDesign* data = MakeData("korva_data");
  messages();
  EXPECT_EQ(Text(data), kDataText);
  EXPECT_EQ(messages(), "");
  // Read and written again, the file is the same.
  TarnDesign* copy = IOTarn::ReadText(kDataText, "korva_data_copy");
  ASSERT_NE(copy, nullptr) << messages();
  EXPECT_EQ(TextAs(copy, "korva_data"), kDataText);
}

// A compiled schema read as the first operation of a process (the database
// shut down) starts the database as every other operation does.
TEST_F(NativeFormatTest, ReadingFirstStartsTheDatabase) {
  TARN().shutdown();
  TARN().reporter()->setStreams(out_.get(), err_.get());
  const std::string text = ReadFile(std::string(KORVA_SCHEMA_DIR) + "/header_section_schema.tarn");
  ASSERT_FALSE(text.empty());
  TarnDesign* schema = IOTarn::ReadText(text, "header_copy");
  EXPECT_EQ(TARN().state(), TarnInterface::kInitialized);
  ASSERT_NE(schema, nullptr) << messages();
  EXPECT_GT(schema->size(), 0u);
  // A domain without supertype makes the schema damaged: reported, no design.
  std::string damaged = text;
  const size_t super = damaged.find("listOfSuper: (<");
  ASSERT_NE(super, std::string::npos);
  damaged.replace(super, damaged.find(')', super) + 1 - super, "listOfSuper: ()");
  messages();
  EXPECT_EQ(IOTarn::ReadText(damaged, "damaged_header"), nullptr);
  EXPECT_NE(messages().find("has no supertype."), std::string::npos);
  // So do supertypes that go round: exchange_name under language_name,
  // which is under exchange_name.
  std::string looped = text;
  const size_t first = looped.find("listOfSuper: (<1-\"String\">)");
  ASSERT_NE(first, std::string::npos);
  ASSERT_NE(looped.find("name: 'language_name'\n\t\tlistOfSuper: (<0-2>)"), std::string::npos);
  looped.replace(first, std::strlen("listOfSuper: (<1-\"String\">)"), "listOfSuper: (<0-6>)");
  EXPECT_EQ(IOTarn::ReadText(looped, "looped_header"), nullptr);
  EXPECT_NE(messages().find("Domain \"exchange_name\" has no supertype."), std::string::npos);
}

TEST_F(NativeFormatTest, DataDesignReadsBackInBothFormats) {
  TarnDesign* data = MakeData("korva_data");
  const std::string text = Text(data);
  for (const char* format : kFormats) {
    SCOPED_TRACE(format);
    messages();
    TarnDesign* copy = SaveAndLoad(data, format, format[0] == 't' ? "from_text" : "from_binary");
    ASSERT_NE(copy, nullptr) << messages();
    EXPECT_STREQ(copy->format(), format);
    EXPECT_EQ(TextAs(copy, "korva_data"), text);

    TNode* node = typecast<TNode>(First(copy, "TNode"));
    TLeaf* leaf = typecast<TLeaf>(First(copy, "TLeaf"));
    TarnObject* extra = First(copy, "TExtra");
    ASSERT_TRUE(node != nullptr && leaf != nullptr && extra != nullptr);
    EXPECT_STREQ(node->Label, "it's a 'node'");
    EXPECT_EQ(node->Kind, 1);
    EXPECT_EQ(node->Id, 42);
    EXPECT_EQ(node->Ref, static_cast<TPoint*>(leaf));
    ASSERT_NE(node->Links, nullptr);
    ASSERT_EQ(node->Links->count(), 2u);
    EXPECT_EQ(node->Links->get(1), extra);
    ASSERT_NE(node->Choice, nullptr);
    EXPECT_TRUE(node->Choice->isMember("_TLength"));
    EXPECT_EQ(node->Choice->getDouble(node->Choice->attribute()), 2.5);
    EXPECT_EQ(leaf->getObject(static_cast<const char*>("Choice")) != nullptr, true);
    EXPECT_EQ(leaf->Choice->getObject(leaf->Choice->attribute()), static_cast<TarnObject*>(node));
    EXPECT_TRUE(leaf->isUnset("Id"));
    EXPECT_EQ(extra->getDouble("Extra"), 3.75);
    EXPECT_STREQ(extra->getString("Note"), "line one\nline two");
    // The binary form keeps every bit of a real; the text form 15 digits.
    if (format[0] == 's') EXPECT_EQ(leaf->W, 0.1 + 0.2);
    else EXPECT_EQ(leaf->W, 0.3);
  }
}

// --- Schemas -----------------------------------------------------------------------

TEST_F(NativeFormatTest, SchemaBuiltInCodeIsSavedComplete) {
  TarnDesign* schema = TestSchema();
  const std::string text = Text(schema);
  // Enumerators and the DERIVE redeclaration, kept in memory by the
  // builder, are written as records.
  EXPECT_NE(text.find("\t(<0-1> DictionaryOfTarnObject\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\t\tname: 'ALPHA'\n\t\tdomain: $\n"), std::string::npos) << text;
  EXPECT_NE(text.find(" TarnRefined\n\t\trefined_att: <0-"), std::string::npos) << text;
  EXPECT_NE(text.find("\t\tlistOfSuper: (<1-\"TarnStructure\">)\n"), std::string::npos) << text;

  for (const char* format : kFormats) {
    SCOPED_TRACE(format);
    TarnDesign* copy = SaveAndLoad(schema, format, "korva_test");
    ASSERT_NE(copy, nullptr) << messages();
    ASSERT_NE(copy, schema);
    EXPECT_TRUE(copy->isSchemaDesign());
    EXPECT_EQ(Text(copy), text);
    TarnDomain* kind = FindDomainInSchema(copy, "TKind");
    ASSERT_NE(kind, nullptr);
    std::vector<std::string> enumerators(kind->enumerators().begin(), kind->enumerators().end());
    EXPECT_EQ(enumerators, (std::vector<std::string>{"ALPHA", "BETA", "GAMMA"}));
    TarnDomain* extra = FindDomainInSchema(copy, "TExtra");
    ASSERT_NE(extra, nullptr);
    std::vector<std::string> derived;
    for (TarnAttribute* a : extra->allAttributes())
      if (a->isDerived()) derived.emplace_back(a->name());
    EXPECT_EQ(derived, std::vector<std::string>{"Y"});
    EXPECT_EQ(CountOf(copy, TarnDomain::classType.domain()), CountOf(schema, TarnDomain::classType.domain()));
  }
}

TEST_F(NativeFormatTest, CompiledIfcSchemaSurvivesRewriting) {
  TarnDesign* ifc = FindSchemaDesign("ifc2x2_final");
  ASSERT_NE(ifc, nullptr) << messages();
  const std::string text = Text(ifc);
  std::string bytes;
  ASSERT_TRUE(IOStandard::WriteBytes(ifc, &bytes));
  EXPECT_EQ(bytes.compare(0, 27, std::string("Format = \"standard_3.0\"\n\x01\x04\x07", 27)), 0);
  messages();

  TarnDomain* domainDomain = TarnDomain::classType.domain();
  std::map<std::string, std::vector<std::string>> lists;
  for (TarnExtent* e = ifc->dflt_section()->extent(domainDomain, false) ? ifc->dflt_section()->firstExtent() : nullptr;
       e != nullptr; e = e->next())
    if (e->domain() == domainDomain)
      for (TarnObject* o = e->first(); o != nullptr; o = o->nextInExtent()) {
        TarnDomain* d = typecast<TarnDomain>(o);
        std::vector<std::string>& names = lists[d->name()];
        for (TarnAttribute* a : d->allAttributes()) names.emplace_back(a->name());
      }
  ASSERT_GT(lists.size(), 1000u);

  TarnDesign* copies[] = {IOTarn::ReadText(text, "ifc2x2_final"), IOStandard::ReadBytes(bytes, "ifc2x2_final")};
  for (TarnDesign* copy : copies) {
    ASSERT_NE(copy, nullptr) << messages();
    EXPECT_EQ(CountOf(copy, domainDomain), CountOf(ifc, domainDomain));
    for (const auto& [name, attributes] : lists) {
      TarnDomain* d = FindDomainInSchema(copy, name.c_str());
      ASSERT_NE(d, nullptr) << name;
      std::vector<std::string> have;
      for (TarnAttribute* a : d->allAttributes()) have.emplace_back(a->name());
      EXPECT_EQ(have, attributes) << name;
    }
    EXPECT_EQ(Text(copy), text);
  }
}

// A schema of nested values: lists of selects, lists of lists, lists of
// enumerators, logicals and a select holding a list.
TEST_F(NativeFormatTest, NestedValuesAreIndentedAndReadBack) {
  SchemaBuilder b("korva_nested");
  b.enumeration("TFlag", {"ON", "OFF"});
  b.defined("TNum", "Float");
  b.aggregate("ListOfTFlag", AggregateKind::kList, "TFlag");
  b.aggregate("ListOfListOfInteger", AggregateKind::kList, "ListOfInteger");
  b.select("TAny", {"TNum", "ListOfTFlag"});
  b.aggregate("SetOfTAny", AggregateKind::kSet, "TAny");
  TarnDomain* box = b.entity("TBox");
  b.attribute(box, "Flags", "ListOfTFlag");
  b.attribute(box, "Values", "SetOfTAny");
  b.attribute(box, "Grid", "ListOfListOfInteger");
  b.attribute(box, "Open", "LOGICAL");
  b.attribute(box, "Reals", "ListOfFloat");
  b.finish();

  TarnDesign* d = TARN().newDesign("nested_data");
  ASSERT_TRUE(d->addSchema("korva_nested"));
  TarnObject* o = d->newInstance("TBox");
  ASSERT_NE(o, nullptr);
  auto* flags = typecast<TarnAggregate>(d->newInstance("ListOfTFlag"));
  flags->putInteger(1, -1);
  flags->putInteger(0, -1);
  o->putObject(flags, "Flags");
  auto* values = typecast<TarnAggregate>(d->newInstance("SetOfTAny"));
  auto* number = typecast<TarnUnion>(d->newInstance("TAny"));
  number->putDouble(-0.0, number->getAttribute("_TNum"));
  auto* list = typecast<TarnUnion>(d->newInstance("TAny"));
  auto* inner = typecast<TarnAggregate>(d->newInstance("ListOfTFlag"));
  inner->putInteger(1, -1);
  list->putObject(inner, list->getAttribute("_ListOfTFlag"));
  values->putObject(number, -1);
  values->putObject(list, -1);
  o->putObject(values, "Values");
  auto* grid = typecast<TarnAggregate>(d->newInstance("ListOfListOfInteger"));
  for (int row = 0; row < 2; ++row) {
    auto* r = typecast<TarnAggregate>(d->newInstance("ListOfInteger"));
    r->putInteger(row, -1);
    r->putInteger(row + 10, -1);
    grid->putObject(r, -1);
  }
  o->putObject(grid, "Grid");
  o->putBoolean(kUnknown, o->getAttribute("Open"));
  auto* reals = typecast<TarnAggregate>(d->newInstance("ListOfFloat"));
  reals->putDouble(1e300, -1);
  reals->putDouble(kUnsetReal, -1);
  reals->putDouble(2.0, -1);
  o->putObject(reals, "Reals");
  messages();

  const std::string text = Text(d);
  const std::string expected =
      "\t(<0-1> TBox\n"
      "\t\tFlags: (.OFF., .ON.)\n"
      "\t\tValues: (\n"
      "\t\t\tTNum(-0.0),\n"
      "\t\t\tListOfTFlag((.OFF.))\n"
      "\t\t)\n"
      "\t\tGrid: (\n"
      "\t\t\t(0, 10),\n"
      "\t\t\t(1, 11)\n"
      "\t\t)\n"
      "\t\tOpen: UNKNOWN\n"
      "\t\tReals: (1e+300, $, 2.0)\n"
      "\t)\n";
  EXPECT_NE(text.find(expected), std::string::npos) << text;
  for (const char* format : kFormats) {
    SCOPED_TRACE(format);
    TarnDesign* copy = SaveAndLoad(d, format, "nested_copy");
    ASSERT_NE(copy, nullptr) << messages();
    EXPECT_EQ(TextAs(copy, "nested_data"), text);
    EXPECT_EQ(messages().find("error"), std::string::npos);
  }
}

// --- References between designs ----------------------------------------------------

TEST_F(NativeFormatTest, ReferencesIntoAnotherDesignByNameOrNumber) {
  TarnDesign* base = MakeData("korva_base");
  TarnObject* named = First(base, "TLeaf");
  TarnObject* numbered = First(base, "TExtra");
  base->nameTable()->add("the leaf", named);
  TarnDesign* d = NewTestDesign("korva_refs");
  TarnObject* a = d->newInstance("TNode");
  TarnObject* b = d->newInstance("TNode");
  a->putObject(named, "Ref");
  b->putObject(numbered, "Ref");
  messages();

  const std::string text = Text(d);
  EXPECT_NE(text.find("\t(1 = korva_test)\n\t(2 = korva_base)\n"), std::string::npos) << text;
  EXPECT_NE(text.find("Ref: <2-\"the leaf\">"), std::string::npos) << text;
  // In written order korva_base holds its name table, the node, the leaf
  // and then the TExtra.
  EXPECT_NE(text.find("Ref: <2-4>"), std::string::npos) << text;
  EXPECT_EQ(messages(), "");
  for (const char* format : kFormats) {
    SCOPED_TRACE(format);
    TarnDesign* copy = SaveAndLoad(d, format, "refs_copy");
    ASSERT_NE(copy, nullptr) << messages();
    TarnObject* first = First(copy, "TNode");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->getObject("Ref"), named);
    EXPECT_EQ(first->nextInExtent()->getObject("Ref"), numbered);
    EXPECT_EQ(TextAs(copy, "korva_refs"), text);
  }
}

TEST_F(NativeFormatTest, WhatCannotBeWrittenIsReported) {
  TarnDesign* d = NewTestDesign("korva_bad");
  TarnObject* node = d->newInstance("TNode");
  TPoint* loose = new TPoint();
  node->putObject(loose, "Ref");
  messages();
  std::string text;
  ASSERT_TRUE(IOTarn::WriteText(d, &text));
  EXPECT_NE(text.find("\t\tRef: $\n"), std::string::npos);
  EXPECT_NE(messages().find("Nonpersistant or deleted object found, written as NULL"), std::string::npos);
  node->putObject(nullptr, "Ref");
  delete loose;

  // An instance of no structure class (its domain has no class at all).
  d->newInstance("TLoose");
  messages();
  EXPECT_FALSE(IOTarn::WriteText(d, &text));
  EXPECT_NE(messages().find("unexpected object type while writing"), std::string::npos);
  EXPECT_FALSE(WriteDesignFile(d, dir_.file("bad.tarn"), "binary"));
  EXPECT_NE(messages().find("unexpected object type while writing"), std::string::npos);

  // The meta-schema holds its own domain.
  EXPECT_FALSE(IOTarn::WriteText(TARN().systemDesign(), &text));
  EXPECT_NE(messages().find("Design \"corbel3_0\" contains its own domain."), std::string::npos);
  EXPECT_FALSE(IOStandard::WriteBytes(TARN().systemDesign(), &text));
  EXPECT_NE(messages().find("The domain of [corbel3_0] must be in a different design"), std::string::npos);

  EXPECT_FALSE(WriteDesignFile(d, dir_.file("x.tarn"), "no-such-format"));
  EXPECT_NE(messages().find("Format 'no-such-format' not available"), std::string::npos);
}

// --- Damaged files -----------------------------------------------------------------

TEST_F(NativeFormatTest, DamagedTextReportsAndYieldsNoDesign) {
  MakeData("korva_data");
  struct Case {
    const char* from;
    const char* to;
    const char* message;
  };
  const Case cases[] = {
      {"TARN_OIDS", "TARN_OID", "\"TARN_OIDS\" keyword missing."},
      {"TARN_DESIGN", "DESIGN", "\"TARN_DESIGN\" keyword missing."},
      {"STEP_OBJECTS (", "STEP_OBJECTS [", "Opening paren missing."},
      {"STEP_OBJECTS", "OBJECTS", "\"STEP_OBJECTS\" keyword missing."},
      {"(0 = korva_data)", "(zero = korva_data)", "Bad oid definition."},
      {"(1 = korva_test)\n)", "(1 = korva_test)\n", "Closing paren missing."},
      {"(TarnDesign", "('TarnDesign'", "Design domain missing."},
      {"(TarnDesign", "(TarnNothing", "Domain \"TarnNothing\" not found."},
      {"(TarnDesign", "(TarnDomain", "Domain \"TarnDomain\" is not a type of TarnDesign."},
      {"(<0-1> TNode", "(<0-x> TNode", "Bad Object Identifier."},
      {"(<0-1> TNode", "(<0-1 TNode", "Corrupted Object Identifier"},
      {"(<0-1> TNode", "(0-1 TNode", "Object identifier missing."},
      {"(<0-1> TNode", "(<0-1> 'TNode'", "Domain name missing."},
      {"\t(<0-2> TLeaf", "\t<0-2> TLeaf", "Must be an object definition."},
      {"X: 1.5", "X 1.5", "Separating colon missing."},
      {"X: 1.5", "X: %", "bad type"},
  };
  const std::string good = kDataText;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.to);
    std::string text = good;
    ASSERT_NE(text.find(c.from), std::string::npos);
    text.replace(text.find(c.from), std::strlen(c.from), c.to);
    messages();
    EXPECT_EQ(IOTarn::ReadText(text, "damaged"), nullptr);
    EXPECT_NE(messages().find(c.message), std::string::npos);
  }
  // Cut anywhere, the file is refused; never read past its end.
  for (size_t n = 0; n + 1 < good.size(); ++n) {
    ASSERT_EQ(IOTarn::ReadText(good.substr(0, n), "cut"), nullptr) << n;
  }
  // Through the file reader: the design is reported as not read.
  dir_.write("cut.tarn", good.substr(0, good.size() / 2));
  messages();
  EXPECT_EQ(ReadDesignFile(dir_.file("cut.tarn"), "tarn", "cut"), nullptr);
  EXPECT_NE(messages().find("Problems reading design 'cut'"), std::string::npos);
}

TEST_F(NativeFormatTest, DamagedValuesAreSkippedWithAMessage) {
  MakeData("korva_data");
  std::string text = kDataText;
  text.replace(text.find("Kind: .BETA."), 12, "Kind: .DELTA.");
  text.replace(text.find("Id: 42"), 6, "Size: 42");
  text.replace(text.find("Ref: <0-2>"), 10, "Ref: <0-9>");
  // A text where a list of references belongs is no reference.
  text.replace(text.find("Links: (<0-2>, <0-3>)"), 21, "Links: 'II'");
  TarnDesign* d = IOTarn::ReadText(text, "partly");
  ASSERT_NE(d, nullptr);
  const std::string said = messages();
  EXPECT_NE(said.find("Unknown enum 'DELTA'"), std::string::npos) << said;
  EXPECT_NE(said.find("\"Size\" is not an attribute in \"TNode\", skipping value"), std::string::npos) << said;
  EXPECT_NE(said.find("No reference found"), std::string::npos) << said;
  EXPECT_NE(said.find("Cannot typecast primitive type: 'STR'"), std::string::npos) << said;
  TNode* node = typecast<TNode>(First(d, "TNode"));
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->Ref, nullptr);
  EXPECT_EQ(node->Links, nullptr);
  EXPECT_STREQ(node->Label, "it's a 'node'");
}

// A design's name table is its own: one that names another design's table
// is not taken, and deleting the design leaves the other's table whole.
TEST_F(NativeFormatTest, ADesignNeverTakesAnotherDesignsNameTable) {
  TarnDesign* base = MakeData("korva_base");
  TarnObject* leaf = First(base, "TLeaf");
  base->nameTable()->add("the leaf", leaf);
  std::string text = kDataText;
  text.replace(text.find("\t(1 = korva_test)\n"), 0, "\t(2 = korva_base)\n");
  // In written order korva_base's first object is its name table.
  text.replace(text.find("name_table: $"), 13, "name_table: <2-1>");
  messages();
  TarnDesign* d = IOTarn::ReadText(text, "borrower");
  ASSERT_NE(d, nullptr) << messages();
  EXPECT_NE(messages().find("OID <2-1> is an external reference, skipping."), std::string::npos);
  EXPECT_NE(d->nameTable(), base->nameTable());
  d->emptyYourself();
  TARN().deleteDesign(d);
  TARN().emptyTrash();
  EXPECT_EQ(base->nameTable()->lookup("the leaf"), leaf);
}

TEST_F(NativeFormatTest, DamagedBinaryReportsAndYieldsNoDesign) {
  TarnDesign* data = MakeData("korva_data");
  std::string bytes;
  ASSERT_TRUE(IOStandard::WriteBytes(data, &bytes));
  ASSERT_NE(IOStandard::ReadBytes(bytes, "whole"), nullptr);
  const size_t body = bytes.find('\n') + 1;
  for (size_t n = 0; n < bytes.size(); ++n)
    ASSERT_EQ(IOStandard::ReadBytes(bytes.substr(0, n), "cut"), nullptr) << n;
  messages();
  EXPECT_EQ(IOStandard::ReadBytes(bytes.substr(0, bytes.size() / 2), "cut"), nullptr);
  EXPECT_NE(messages().find("Unexpected end of binary design."), std::string::npos);

  std::string marker = bytes;
  marker[body + 1] = 5;
  EXPECT_EQ(IOStandard::ReadBytes(marker, "marker"), nullptr);
  EXPECT_NE(messages().find("Binary marker missing."), std::string::npos);

  // The field kind of the design record's first value: the record starts
  // with the design's domain (name 0) and 5 values, the first "name" (name 1).
  std::string kind = bytes;
  const size_t name = kind.find(std::string("\0\0\0\0\x05\0\0\0\x01\0\0\0\x05", 13));
  ASSERT_NE(name, std::string::npos);
  kind[name + 12] = 99;
  EXPECT_EQ(IOStandard::ReadBytes(kind, "kind"), nullptr);
  EXPECT_NE(messages().find("<Unknown Field> 99 in attribute \"name\"."), std::string::npos);

  std::string longer = bytes + "x";
  EXPECT_EQ(IOStandard::ReadBytes(longer, "longer"), nullptr);
  EXPECT_NE(messages().find("Bad binary record."), std::string::npos);
}

TEST_F(NativeFormatTest, HandlersAndFirstLines) {
  IORoot* binary = FormatRegistry::byName("binary");
  ASSERT_NE(binary, nullptr);
  EXPECT_EQ(FormatRegistry::byName("standard"), binary);
  EXPECT_EQ(FormatRegistry::byName("standard_3.0"), binary);
  EXPECT_STREQ(binary->mainName(), "standard_3.0");
  IORoot* text = FormatRegistry::byName("tarn");
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text->mainName(), "tarn_r3.0");

  TarnDesign* data = MakeData("korva_data");
  ASSERT_TRUE(WriteDesignFile(data, dir_.file("t.tarn"), "tarn"));
  ASSERT_TRUE(WriteDesignFile(data, dir_.file("b.tarn"), "standard"));
  EXPECT_EQ(ReadFile(dir_.file("t.tarn")), kDataText);
  EXPECT_EQ(ReadFile(dir_.file("b.tarn")).compare(0, 27, std::string("Format = \"standard_3.0\"\n\x01\x04\x07", 27)), 0);
}

}  // namespace
}  // namespace test
}  // namespace korva

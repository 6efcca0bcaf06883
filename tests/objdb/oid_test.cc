// Object identifiers: blocks of 4096, prefix generation with an injected
// clock, the text form, uniqueness across designs and shutdowns, and the
// identifier index of a design.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "objdb/interface.h"
#include "objdb/oid.h"
#include "objdb/test_schema.h"
#include "support/test_util.h"

namespace korva {
namespace test {
namespace {

// Injected prefix sources.  Each test takes host values and times no other
// test (nor an earlier repetition) has used, so that none of its prefixes is
// already in the process-wide block table.
std::vector<std::time_t> g_script;
size_t g_reads = 0;
uint32_t g_host = 0;
uint32_t g_nextHost = 0xC0DE0000u;
std::time_t g_nextTime = 100000;

std::time_t ScriptedClock() {
  std::time_t t = g_script[g_reads < g_script.size() ? g_reads : g_script.size() - 1];
  ++g_reads;
  return t;
}
uint32_t TestHost() { return g_host; }
uint32_t TestNetwork() { return 0x55667788u; }
uint32_t TestMachine() { return 0x99AABBCCu; }

uint32_t FreshHost() { return ++g_nextHost; }
std::time_t FreshTime() { return g_nextTime += 1000; }

uint32_t Field32(const TarnOidPrefix& p, int at) {
  return (uint32_t{p.bytes[at]} << 24) | (uint32_t{p.bytes[at + 1]} << 16) |
         (uint32_t{p.bytes[at + 2]} << 8) | p.bytes[at + 3];
}

class OidTest : public ::testing::Test {
 protected:
  void SetUp() override { capture(); }
  void TearDown() override {
    SetOidSources({nullptr, nullptr, nullptr, nullptr});
    TARN().shutdown();
    TARN().reporter()->setStreams(stdout, stderr);
  }
  void capture() { TARN().reporter()->setStreams(out_.get(), err_.get()); }
  std::string messages() {
    std::string all = out_.text();
    std::string fresh = all.size() >= seen_ ? all.substr(seen_) : all;
    seen_ = all.size();
    return fresh;
  }
  // Injected sources with a new host value (so the next prefix restarts the
  // counter) and a clock that returns `times` in turn, then the last.
  void inject(std::vector<std::time_t> times) {
    g_script = std::move(times);
    g_reads = 0;
    g_host = FreshHost();
    SetOidSources({&ScriptedClock, &TestHost, &TestNetwork, &TestMachine});
  }

  CapturedStream out_, err_;
  size_t seen_ = 0;
};

TEST_F(OidTest, AllocatorHandsOutBlocksOf4096) {
  TarnDesign* d = TARN().newDesign("oid_blocks");
  messages();
  TarnOID first = d->newOid(0);
  ASSERT_NE(first, 0u);
  EXPECT_EQ(OidSequence(first), 0u);
  for (uint32_t i = 1; i < kOidsPerBlock; ++i) {
    TarnOID id = d->newOid(0);
    ASSERT_EQ(id, OidBase(first) | i) << "identifier " << i;
  }
  TarnOID next = d->newOid(0);  // the 4097th
  EXPECT_NE(OidBase(next), OidBase(first));
  EXPECT_EQ(OidSequence(next), 0u);
  EXPECT_EQ(d->newOid(0), next + 1);
  // Each kind has its own allocator and blocks, marked with the kind.
  TarnOID k2 = d->newOid(2);
  EXPECT_EQ(OidSequence(k2), 0u);
  EXPECT_EQ(OidBlockPrefix(k2)->bytes[13], 2);
  EXPECT_EQ(OidBlockPrefix(first)->bytes[13], 0);
  EXPECT_EQ(d->newOid(3), 0u);
  EXPECT_EQ(messages(), "");
}

TEST_F(OidTest, IdentifiersStayUniqueAcrossDesignsAndShutdown) {
  std::set<TarnOID> ids;
  std::set<std::string> texts;
  size_t made = 0;
  auto take = [&](TarnDesign* d) {
    for (int kind = 0; kind < kOidKinds; ++kind) {
      for (int i = 0; i < 5000; ++i) {
        TarnOID id = d->newOid(kind);
        ASSERT_NE(id, 0u);
        ids.insert(id);
        texts.insert(oidText(id));
        ++made;
      }
    }
  };
  take(TARN().newDesign("oid_first"));
  take(TARN().newDesign("oid_second"));
  ASSERT_NE(TARN().oidIndex(), nullptr);
  EXPECT_EQ(TARN().oidIndex()->bucketCount(), kOidIndexBuckets);
  TarnOID before = *ids.begin();
  std::string beforeText = oidText(before);

  TARN().shutdown();
  EXPECT_EQ(TARN().oidIndex(), nullptr);
  capture();
  TARN().initialize();
  ASSERT_NE(TARN().oidIndex(), nullptr);
  // Blocks made before the shutdown are known to the new index.
  EXPECT_GE(TARN().oidIndex()->count(), 12u);
  EXPECT_EQ(oidText(before), beforeText);
  EXPECT_EQ(parseOidText(beforeText.c_str()), before);

  take(TARN().newDesign("oid_third"));
  EXPECT_EQ(made, 45000u);
  EXPECT_EQ(ids.size(), made);
  EXPECT_EQ(texts.size(), made);
}

TEST_F(OidTest, TextFormCarriesThePrefixFieldsAndTheSequence) {
  std::time_t t = FreshTime();
  inject({t});
  TarnDesign* d = TARN().newDesign("oid_text");
  TarnOID id = d->newOid(2);
  ASSERT_NE(id, 0u);
  char expected[64];
  std::snprintf(expected, sizeof expected, "0x%08X%08X%08X%02X%02X%08X%04X", static_cast<unsigned>(g_host),
                static_cast<unsigned>(t), 0x55667788u, 0u, 2u, 0x99AABBCCu, 0u);
  EXPECT_EQ(oidText(id), expected);
  for (int i = 1; i < 0xABC; ++i) d->newOid(2);
  TarnOID abc = d->newOid(2);
  EXPECT_EQ(OidSequence(abc), 0xABCu);
  std::string text = oidText(abc);
  EXPECT_EQ(text.size(), 42u);
  EXPECT_EQ(text.substr(0, 39), std::string(expected).substr(0, 39));
  EXPECT_EQ(text.substr(39), "ABC");

  // Round trips, in either case; malformed text is no identifier.
  for (TarnOID x : {id, abc, d->newOid(0)}) EXPECT_EQ(parseOidText(oidText(x).c_str()), x);
  std::string lower = text;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(parseOidText(lower.c_str()), abc);
  EXPECT_EQ(parseOidText(text.substr(0, 41).c_str()), 0u);
  EXPECT_EQ(parseOidText((text + "0").c_str()), 0u);
  EXPECT_EQ(parseOidText("0x000000000000000000000000000000000000000G"), 0u);

  // A block written elsewhere becomes known on parsing and keeps its text.
  const char* foreign = "0xFEDCBA98765432100123456789ABCDEF0011A005";
  TarnOID f = parseOidText(foreign);
  EXPECT_EQ(OidSequence(f), 0x005u);
  EXPECT_EQ(oidText(f), foreign);
  TarnOID g = parseOidText("0xFEDCBA98765432100123456789ABCDEF0011AFFF");
  EXPECT_EQ(g, OidBase(f) | 0xFFFu);
}

TEST_F(OidTest, CounterCountsUpAndTheClockIsReadAgainOnWrap) {
  std::time_t t = FreshTime();
  inject({t, t, t, t + 1, t + 2, t + 3});
  TarnOidPrefix p0 = MakeOidPrefix(1);
  EXPECT_EQ(g_reads, 1u);
  EXPECT_EQ(p0.bytes[12], 0);
  EXPECT_EQ(Field32(p0, 0), g_host);
  EXPECT_EQ(Field32(p0, 4), static_cast<uint32_t>(t));
  // Counter 1..255 without reading the clock; only the counter byte changes.
  for (int c = 1; c <= 255; ++c) {
    TarnOidPrefix p = MakeOidPrefix(1);
    ASSERT_EQ(p.bytes[12], c);
    TarnOidPrefix q = p;
    q.bytes[12] = 0;
    ASSERT_EQ(q, p0) << "counter " << c;
  }
  EXPECT_EQ(g_reads, 1u);
  // After 255: restart at 0 with a new time, waiting while the clock still
  // gives the old one.
  TarnOidPrefix wrapped = MakeOidPrefix(1);
  EXPECT_EQ(wrapped.bytes[12], 0);
  EXPECT_EQ(Field32(wrapped, 4), static_cast<uint32_t>(t + 1));
  EXPECT_EQ(g_reads, 4u);
  EXPECT_EQ(MakeOidPrefix(0).bytes[12], 1);
  // A change of host value restarts the counter and reads the time again.
  g_host = FreshHost();
  TarnOidPrefix moved = MakeOidPrefix(0);
  EXPECT_EQ(moved.bytes[12], 0);
  EXPECT_EQ(Field32(moved, 0), g_host);
  EXPECT_EQ(Field32(moved, 4), static_cast<uint32_t>(t + 2));
  EXPECT_EQ(g_reads, 5u);
}

TEST_F(OidTest, APrefixAlreadyKnownIsReported) {
  std::time_t t = FreshTime();
  inject({t});
  // The prefix the next block of kind 0 will get, made known beforehand.
  char text[64];
  std::snprintf(text, sizeof text, "0x%08X%08X%08X%02X%02X%08X%04X", static_cast<unsigned>(g_host),
                static_cast<unsigned>(t), 0x55667788u, 0u, 0u, 0x99AABBCCu, 7u);
  ASSERT_NE(parseOidText(text), 0u);
  TarnDesign* d = TARN().newDesign("oid_clash");
  messages();
  TARN().reporter()->setExitLevel(4);
  EXPECT_EQ(d->newOid(0), 0u);
  EXPECT_NE(messages().find("Could not generate unique OID."), std::string::npos);
  // The next attempt takes the next counter value and succeeds.
  TarnOID id = d->newOid(0);
  ASSERT_NE(id, 0u);
  EXPECT_EQ(OidBlockPrefix(id)->bytes[12], 1);
  EXPECT_EQ(Field32(*OidBlockPrefix(id), 4), static_cast<uint32_t>(t));
}

TEST_F(OidTest, DesignIndexFollowsIdentifierChanges) {
  TarnDesign* d = NewTestDesign("oid_index");
  TarnObject* a = d->newInstance("TPoint");
  TarnObject* b = d->newInstance("TNode");
  TarnOID id = d->newOid(0), other = d->newOid(0);
  messages();
  a->setOid(id);
  EXPECT_EQ(d->findByOid(id), a);

  TARN().reporter()->setExitLevel(4);
  b->setOid(id);
  EXPECT_NE(messages().find("Object with OID already exists in design 'oid_index'."), std::string::npos);
  EXPECT_EQ(b->oid(), 0u);
  EXPECT_EQ(d->findByOid(id), a);
  TARN().reporter()->setExitLevel(3);

  // Changing an identifier frees the old one.
  a->setOid(other);
  EXPECT_EQ(d->findByOid(id), nullptr);
  EXPECT_EQ(d->findByOid(other), a);
  b->setOid(id);
  EXPECT_EQ(d->findByOid(id), b);
  // The same identifier in another design is no clash.
  TarnDesign* e = NewTestDesign("oid_index_other");
  TarnObject* c = e->newInstance("TPoint");
  c->setOid(id);
  EXPECT_EQ(e->findByOid(id), c);
  EXPECT_EQ(d->findByOid(id), b);
  EXPECT_EQ(messages(), "");
  // Instances that leave the design leave its index.
  d->emptyYourself();
  EXPECT_EQ(d->findByOid(id), nullptr);
  EXPECT_EQ(e->findByOid(id), c);
}

}  // namespace
}  // namespace test
}  // namespace korva

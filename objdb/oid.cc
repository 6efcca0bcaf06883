#include "objdb/oid.h"

#include <cstring>
#include <new>

#include "objdb/interface.h"
#include "objdb/process_state.h"
#include "platform/platform.h"

namespace korva {
namespace {

// Every block known to the process; block number n is entry n - 1.  Kept
// across shutdowns, so that identifiers stay unique.
std::vector<TarnOidPrefix>& Blocks() { return TarnProcessState::get().oidBlocks(); }

// State of the prefix generator, process-wide.  Injected sources run on a
// state of their own, so that the platform's prefixes carry on unchanged
// when the platform's sources come back.
struct GeneratorState {
  bool started = false;
  uint32_t host = 0;
  uint32_t time = 0;
  uint32_t counter = 0;
};
GeneratorState g_platformState;
GeneratorState g_injectedState;
GeneratorState* g_generator = &g_platformState;
TarnOidSources g_sources = {nullptr, nullptr, nullptr, nullptr};

std::time_t PlatformNow() { return std::time(nullptr); }

uint32_t PlatformNetwork() {
  static const uint32_t value = platform::NetworkValue();
  return value;
}

uint32_t PlatformMachine() {
  static const uint32_t value = platform::MachineValue() ^ (platform::ProcessId() * 0x9E3779B1u);
  return value;
}

void Put32(uint8_t* at, uint32_t v) {
  at[0] = static_cast<uint8_t>(v >> 24);
  at[1] = static_cast<uint8_t>(v >> 16);
  at[2] = static_cast<uint8_t>(v >> 8);
  at[3] = static_cast<uint8_t>(v);
}

// The sequence number shares the last two bytes with the prefix.
constexpr int kSequenceByte = kOidPrefixSize - 2;

uint32_t FindBlock(const TarnOidPrefix& prefix) {
  if (const TarnOidIndex* index = TARN().oidIndex()) return index->find(prefix);
  const std::vector<TarnOidPrefix>& blocks = Blocks();
  for (size_t i = 0; i < blocks.size(); ++i)
    if (blocks[i] == prefix) return static_cast<uint32_t>(i + 1);
  return 0;
}

// Enters a new block; 0 when the table is full.
uint32_t EnterBlock(const TarnOidPrefix& prefix) {
  std::vector<TarnOidPrefix>& blocks = Blocks();
  if (blocks.size() >= kOidMaxBlocks) return 0;
  blocks.push_back(prefix);
  uint32_t block = static_cast<uint32_t>(blocks.size());
  if (TarnOidIndex* index = TARN().oidIndex()) index->insert(prefix, block);
  return block;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

bool operator==(const TarnOidPrefix& a, const TarnOidPrefix& b) {
  return std::memcmp(a.bytes, b.bytes, kOidPrefixSize) == 0;
}

void SetOidSources(const TarnOidSources& sources) {
  g_sources = sources;
  if (sources.now != nullptr || sources.host != nullptr || sources.network != nullptr ||
      sources.machine != nullptr) {
    g_injectedState = GeneratorState();
    g_generator = &g_injectedState;
  } else {
    g_generator = &g_platformState;
  }
}

TarnOidPrefix MakeOidPrefix(int kind) {
  std::time_t (*now)() = g_sources.now != nullptr ? g_sources.now : &PlatformNow;
  uint32_t host = g_sources.host != nullptr ? g_sources.host() : platform::HostValue();
  GeneratorState& g = *g_generator;
  if (!g.started || host != g.host || g.counter >= 255) {
    uint32_t time = static_cast<uint32_t>(now());
    while (g.started && time == g.time) time = static_cast<uint32_t>(now());
    g.started = true;
    g.host = host;
    g.time = time;
    g.counter = 0;
  } else {
    ++g.counter;
  }
  TarnOidPrefix p;
  std::memset(p.bytes, 0, sizeof p.bytes);
  Put32(p.bytes, g.host);
  Put32(p.bytes + 4, g.time);
  Put32(p.bytes + 8, g_sources.network != nullptr ? g_sources.network() : PlatformNetwork());
  p.bytes[12] = static_cast<uint8_t>(g.counter);
  p.bytes[13] = static_cast<uint8_t>(kind);
  Put32(p.bytes + 14, g_sources.machine != nullptr ? g_sources.machine() : PlatformMachine());
  return p;
}

// --- TarnOidIndex ----------------------------------------------------------

TarnOidIndex::TarnOidIndex(uint32_t buckets) : buckets_(buckets) {}

uint32_t TarnOidIndex::bucketOf(const TarnOidPrefix& prefix) const {
  uint32_t h = 2166136261u;
  for (uint8_t b : prefix.bytes) {
    h ^= b;
    h *= 16777619u;
  }
  return h % static_cast<uint32_t>(buckets_.size());
}

uint32_t TarnOidIndex::find(const TarnOidPrefix& prefix) const {
  const std::vector<TarnOidPrefix>& blocks = Blocks();
  for (uint32_t block : buckets_[bucketOf(prefix)])
    if (blocks[block - 1] == prefix) return block;
  return 0;
}

void TarnOidIndex::insert(const TarnOidPrefix& prefix, uint32_t block) {
  buckets_[bucketOf(prefix)].push_back(block);
  ++count_;
}

TarnOidIndex* NewOidIndex(uint32_t buckets) {
  TarnOidIndex* index = buckets > 0 ? new (std::nothrow) TarnOidIndex(buckets) : nullptr;
  if (index == nullptr) {
    TARN().report(1031);
    return nullptr;
  }
  const std::vector<TarnOidPrefix>& blocks = Blocks();
  for (size_t i = 0; i < blocks.size(); ++i) index->insert(blocks[i], static_cast<uint32_t>(i + 1));
  return index;
}

const TarnOidPrefix* OidBlockPrefix(TarnOID oid) {
  uint32_t block = oid >> kOidSequenceBits;
  const std::vector<TarnOidPrefix>& blocks = Blocks();
  return block != 0 && block <= blocks.size() ? &blocks[block - 1] : nullptr;
}

// --- TarnOidAllocator --------------------------------------------------------

TarnOID TarnOidAllocator::next(int kind) {
  if (base_ == 0 || counter_ >= kOidsPerBlock) {
    TarnOidPrefix prefix = MakeOidPrefix(kind);
    uint32_t block = FindBlock(prefix) == 0 ? EnterBlock(prefix) : 0;
    if (block == 0) {
      TARN().report(1033);
      return 0;
    }
    base_ = block << kOidSequenceBits;
    counter_ = 0;
  }
  return base_ | counter_++;
}

// --- Text form ---------------------------------------------------------------

std::string oidText(TarnOID oid) {
  const TarnOidPrefix* prefix = OidBlockPrefix(oid);
  if (prefix == nullptr) return std::string();
  TarnOidPrefix p = *prefix;
  p.bytes[kSequenceByte] = static_cast<uint8_t>((p.bytes[kSequenceByte] & 0xF0) | (OidSequence(oid) >> 8));
  p.bytes[kSequenceByte + 1] = static_cast<uint8_t>(OidSequence(oid));
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text = "0x";
  for (uint8_t b : p.bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 0x0F];
  }
  return text;
}

bool IsOidText(const char* text) {
  if (text == nullptr || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return false;
  for (int i = 0; i < 2 * kOidPrefixSize; ++i)
    if (HexValue(text[2 + i]) < 0) return false;
  return text[2 + 2 * kOidPrefixSize] == '\0';
}

TarnOID parseOidText(const char* text) {
  if (!IsOidText(text)) return 0;
  TarnOidPrefix p;
  for (int i = 0; i < kOidPrefixSize; ++i)
    p.bytes[i] = static_cast<uint8_t>((HexValue(text[2 + 2 * i]) << 4) | HexValue(text[3 + 2 * i]));
  uint32_t sequence = (static_cast<uint32_t>(p.bytes[kSequenceByte] & 0x0F) << 8) | p.bytes[kSequenceByte + 1];
  p.bytes[kSequenceByte] &= 0xF0;
  p.bytes[kSequenceByte + 1] = 0;
  uint32_t block = FindBlock(p);
  if (block == 0) block = EnterBlock(p);
  return block == 0 ? 0 : (block << kOidSequenceBits) | sequence;
}

}  // namespace korva

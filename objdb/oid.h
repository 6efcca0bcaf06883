// Object identifiers (TarnOID): 32-bit names of instances that stay unique
// across designs, runs and machines once written out in their text form.
//
// Identifiers are handed out in blocks of 4096.  A block is named by a
// 20-byte prefix, built from these fields (multi-byte fields big-endian):
//
//   bytes  0..3   host value
//   bytes  4..7   time in seconds when the counter last restarted
//   bytes  8..11  network address value
//   byte   12     counter: successive prefixes of one host and time
//   byte   13     identifier kind (0, 1 or 2)
//   bytes 14..17  machine value, mixed with the process id so that two
//                 processes of one machine started in the same second differ
//   bytes 18..19  zero; the low 12 bits carry the sequence number in the
//                 text form
//
// The counter counts up from 0 while the host value stays the same.  On the
// first prefix of the process, when the host value changes, or after the
// prefix with counter 255, it restarts at 0 and the time is read again,
// waiting until it differs from the time of the previous prefix.  That
// clock state is process-wide and survives TARN().shutdown().
//
// Mapping to 32 bits: every block known to the process (made here, or named
// by identifier text that was parsed) gets a block number, counting from 1,
// in a process-wide table that lives until the process ends.
//
//   TarnOID = block number << 12 | sequence number (0..4095)
//
// so 0 is never a valid identifier, at most 2^20 - 1 blocks exist per
// process, and equal 32-bit values always name the same prefix and sequence
// within one process, before and after a shutdown.  The interface object
// holds the identifier index (prefix -> block number, a hash table of 200
// buckets), made at initialisation from the whole table and deleted at
// shutdown.
//
// Text form (the native design format): "0x" and the 20 prefix bytes as 40
// upper-case hexadecimal digits, the last three digits being the sequence
// number.
#ifndef KORVA_OBJDB_OID_H
#define KORVA_OBJDB_OID_H

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "objdb/values.h"

namespace korva {

constexpr int kOidPrefixSize = 20;
constexpr int kOidSequenceBits = 12;
constexpr uint32_t kOidsPerBlock = 1u << kOidSequenceBits;
constexpr uint32_t kOidSequenceMask = kOidsPerBlock - 1;
constexpr uint32_t kOidMaxBlocks = (1u << (32 - kOidSequenceBits)) - 1;
constexpr uint32_t kOidIndexBuckets = 200;
constexpr int kOidKinds = 3;

struct TarnOidPrefix {
  uint8_t bytes[kOidPrefixSize];
};
bool operator==(const TarnOidPrefix& a, const TarnOidPrefix& b);
inline bool operator!=(const TarnOidPrefix& a, const TarnOidPrefix& b) { return !(a == b); }

// Where the prefix fields come from.  A null member stands for the
// platform's value (the current time, platform::HostValue() and so on).
struct TarnOidSources {
  std::time_t (*now)();
  uint32_t (*host)();
  uint32_t (*network)();
  uint32_t (*machine)();
};
// Replaces the sources (tests inject a clock that does not need seconds to
// pass).  Injected sources start a clock state of their own, as if no prefix
// had been made; SetOidSources({}) returns to the platform's sources and
// their clock state as it was.
void SetOidSources(const TarnOidSources& sources);

// The next prefix for identifiers of `kind` (advances the clock state).
TarnOidPrefix MakeOidPrefix(int kind);

// The identifier index: block numbers hashed by prefix.  The prefixes
// themselves stay in the process-wide block table.
class TarnOidIndex {
 public:
  explicit TarnOidIndex(uint32_t buckets);
  // Block number of `prefix`, 0 when it is not entered.
  uint32_t find(const TarnOidPrefix& prefix) const;
  void insert(const TarnOidPrefix& prefix, uint32_t block);
  uint32_t bucketCount() const { return static_cast<uint32_t>(buckets_.size()); }
  uint32_t count() const { return count_; }

 private:
  uint32_t bucketOf(const TarnOidPrefix& prefix) const;
  std::vector<std::vector<uint32_t>> buckets_;
  uint32_t count_ = 0;
};

// Makes an index holding every block known to the process; reports 1031
// and returns null when it cannot be made (no buckets, no memory).
TarnOidIndex* NewOidIndex(uint32_t buckets = kOidIndexBuckets);

// The prefix of the block of `oid`, null when the block is unknown.
const TarnOidPrefix* OidBlockPrefix(TarnOID oid);
inline uint32_t OidSequence(TarnOID oid) { return oid & kOidSequenceMask; }
inline TarnOID OidBase(TarnOID oid) { return oid & ~kOidSequenceMask; }

// One allocator per design and identifier kind.
class TarnOidAllocator {
 public:
  // The next identifier of this allocator.  A new block is made when there
  // is none or all 4096 identifiers of the current one are used; a prefix
  // that is already known reports 1033 and gives 0.
  TarnOID next(int kind);
  TarnOID base() const { return base_; }

 private:
  TarnOID base_ = 0;
  uint32_t counter_ = 0;
};

// "0x" + 40 upper-case hexadecimal digits; empty for 0 or an identifier of
// an unknown block.
std::string oidText(TarnOID oid);
// The identifier written as `text` (hexadecimal digits of either case).  A
// block not known yet is entered in the block table.  0 when the text is
// not an identifier.
TarnOID parseOidText(const char* text);
// Whether `text` has the form of an identifier.
bool IsOidText(const char* text);

}  // namespace korva

#endif  // KORVA_OBJDB_OID_H

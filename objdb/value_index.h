// The value index of a large set: for every value held, its first position,
// so that the uniqueness test of an insertion is one lookup.  Element
// records of at most 8 bytes are keyed by their bytes, strings by their
// text.  The indexes of all aggregates are kept in one table of the process
// state (process_state.h), by aggregate; an aggregate drops its entry when
// it goes or when its records are written behind the index's back.
#ifndef KORVA_OBJDB_VALUE_INDEX_H
#define KORVA_OBJDB_VALUE_INDEX_H

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "objdb/aggregate.h"

namespace korva {

class TarnAggregate::ValueIndex {
 public:
  std::unordered_map<uint64_t, uint32_t> words;
  std::unordered_map<std::string, uint32_t> texts;
};

using TarnValueIndexTable = std::unordered_map<const TarnAggregate*, std::unique_ptr<TarnAggregate::ValueIndex>>;

}  // namespace korva

#endif  // KORVA_OBJDB_VALUE_INDEX_H

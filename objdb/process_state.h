// The process-wide state of the object store, owned by one object.
//
// Everything the object store keeps from one call to the next lives here:
// the interface object (TARN()), the table of class type records, the
// storage of free-standing instances, the value indexes of large sets and
// the blocks of object identifiers.  The object is made on first use, never
// during static initialisation (so it goes before the class type records,
// which are static objects), and destroyed with the library's other static
// objects: when the host unloads the library or the process ends.  Its
// destruction shuts the interface object down when the host has not and
// then frees the rest; the class type records free their prototypes.  A
// library unloaded leaves nothing allocated.
//
// What lives only from an initialisation to the next shutdown (designs, the
// error reporter, the identifier index) belongs to the interface object and
// goes with ShutDown.
#ifndef KORVA_OBJDB_PROCESS_STATE_H
#define KORVA_OBJDB_PROCESS_STATE_H

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "objdb/arena.h"
#include "objdb/interface.h"
#include "objdb/oid.h"
#include "objdb/tarn_type.h"
#include "objdb/value_index.h"

namespace korva {

// The registered class type records: in registration order, by class name,
// and the records made at run time (best-fit enumeration classes), which
// the table owns.
struct TarnTypeTables {
  std::vector<TarnType*> all;
  std::unordered_map<std::string, TarnType*> byName;
  std::vector<std::unique_ptr<TarnType>> adopted;
};

class TarnProcessState {
 public:
  // The one object, made on first use.
  static TarnProcessState& get();

  // The process is ending through exit() in the middle of an operation (a
  // message at the exit level): the state is then left as it is, since its
  // designs may be half-changed, and the system takes the memory back.
  static void processEnding();

  TarnInterface& interface() { return interface_; }
  TarnTypeTables& types() { return types_; }
  // Strings and blocks of instances that belong to no design.  While a
  // design lends its arena, they go there instead: the meta-schema's
  // objects join their design's extents only once their domains exist, and
  // what they hold must go with that design at shutdown.
  Arena& freeStanding() { return lent_ != nullptr ? *lent_ : freeStanding_; }
  void lendFreeStanding(Arena* arena) { lent_ = arena; }
  TarnValueIndexTable& valueIndexes() { return valueIndexes_; }
  // Every identifier block known to the process; block number n is entry
  // n - 1.  Kept across shutdowns so that identifiers stay unique.
  std::vector<TarnOidPrefix>& oidBlocks() { return oidBlocks_; }

  TarnProcessState() = default;
  // Shuts the interface object down, then frees the rest.
  ~TarnProcessState();
  TarnProcessState(const TarnProcessState&) = delete;
  TarnProcessState& operator=(const TarnProcessState&) = delete;

 private:

  // Destroyed in reverse order: the interface object first (its designs
  // hold aggregates, free-standing storage and type records), the type
  // records last.
  TarnTypeTables types_;
  std::vector<TarnOidPrefix> oidBlocks_;
  Arena freeStanding_;
  TarnValueIndexTable valueIndexes_;
  TarnInterface interface_;
  Arena* lent_ = nullptr;
};

}  // namespace korva

#endif  // KORVA_OBJDB_PROCESS_STATE_H

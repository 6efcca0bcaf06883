#include "import/long_texts.h"

#include <cstdio>
#include <cstring>
#include <type_traits>
#include <utility>

#include "api/import_getters.h"
#include "import/analysis_tables.h"
#include "import/building_tables.h"
#include "objdb/interface.h"

namespace korva {
namespace {

// The record's instance number, for the records that have one.
template <class R, class = void>
struct FileIdOf {
  static int get(const R&) { return 0; }
};
template <class R>
struct FileIdOf<R, std::void_t<decltype(std::declval<const R&>().FileID)>> {
  static int get(const R& r) { return r.FileID; }
};

class LongTexts {
 public:
  explicit LongTexts(unsigned since) : since_(since) {}

  // Checks the text `member` gives of every record of `table`, the field
  // that `getter` hands out.
  template <class Table, class Member>
  void check(const Table& table, const char* getter, TextKind kind, Member member) {
    if (table.allocation() <= since_) return;
    for (int i = 0; i < table.capacity(); ++i) {
      const auto& record = *table.find(i);
      const char* text = member(record);
      if (text == nullptr || FitsHost(text, kind)) continue;
      if (++found_ > kLongTextWarnings) continue;
      const int fileId = FileIdOf<std::decay_t<decltype(record)>>::get(record);
      char where[32] = "";
      if (fileId != 0) std::snprintf(where, sizeof where, ", #%d", fileId);
      if (kind == TextKind::kGlobalId)
        TARN().warning("Import: %s(%d)%s: a GlobalId of %lu characters is handed out empty", getter, i, where,
                       static_cast<unsigned long>(std::strlen(text)));
      else
        TARN().warning("Import: %s(%d)%s: a text of %lu bytes is handed out cut to %lu", getter, i, where,
                       static_cast<unsigned long>(std::strlen(text)), static_cast<unsigned long>(kLongestText));
    }
  }

  ~LongTexts() {
    if (found_ > kLongTextWarnings)
      TARN().warning("Import: %d more texts too long for their getters", found_ - kLongTextWarnings);
  }

 private:
  unsigned since_;
  int found_ = 0;
};

#define KORVA_CHECK_NUMBER(state, name, table, member)
#define KORVA_CHECK_INTEGER(state, name, table, member)
#define KORVA_CHECK_NUMBER_AT(state, name, table, member)
#define KORVA_CHECK_INTEGER_AT(state, name, table, member)
#define KORVA_CHECK_TEXT(state, name, table, member) \
  texts.check(state.table, name, TextKind::kText, [](const auto& r) { return r.member; });
#define KORVA_CHECK_GLOBALID(state, name, table, member) \
  texts.check(state.table, name, TextKind::kGlobalId, [](const auto& r) { return r.member; });
#define KORVA_CHECK_BUILDING(Family, Field, Kind, table, member) \
  KORVA_CHECK_##Kind(BuildingImport(), "Get" #Family #Field, table, member)
#define KORVA_CHECK_ANALYSIS(Family, Field, Kind, table, member) \
  KORVA_CHECK_##Kind(AnalysisImport(), "Get" #Family #Field, table, member)

}  // namespace

void ReportLongTexts(unsigned since) {
  LongTexts texts(since);
  KORVA_BUILDING_GETTERS(KORVA_CHECK_BUILDING)
  KORVA_ANALYSIS_GETTERS(KORVA_CHECK_ANALYSIS)
}

}  // namespace korva

#include "update/update_save.h"

#include "ifc2x2/schema.h"
#include "objdb/interface.h"
#include "update/update_state.h"

namespace korva {
namespace update {

int SaveAndClose(const char* fileName, const char* directory) {
  TarnDesign* design = RequireUpdateDesign("SaveAndCloseFileAfterUpdate");
  if (design == nullptr) return -1;
  SaveIfcDesignAs(design, fileName, directory, true, SaveSchema::kOwn);
  EndUpdate();
  DiscardIfcDesign(design);
  TARN().shutdown();
  return -1;
}

}  // namespace update
}  // namespace korva

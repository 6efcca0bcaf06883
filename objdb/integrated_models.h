// The integrated-model loader.
//
// The folder of integrated models (TARN_AP_PATH, or what the configuration
// finds instead) holds the design "iso_ap_list.tarn", whose name table
// lists, as string lists, the application protocols served
// ("__ISO_AP_LIST") and the integrated model schemas ("__ISO_IR_LIST").  The
// loader reads both lists, opens every model schema from that folder and
// lets each take over the compiled classes named like its domains, so that
// those classes make instances of the integrated model's domains.
//
// While it loads, the search path is the model folder alone; the previous
// search path is restored afterwards, so designs and schemas are found as
// before.  The lists stay known until the interface object shuts down.
#ifndef KORVA_OBJDB_INTEGRATED_MODELS_H
#define KORVA_OBJDB_INTEGRATED_MODELS_H

#include <string>
#include <vector>

namespace korva {

// Loads the integrated models of `folder` (null or empty: reports
// "$TARN_AP_PATH not set, could not find integrated schemas").  Returns 0 on
// success and 1 after a failure message; a model that cannot be found is
// reported and the others are still loaded.
int LoadIntegratedModels(const char* folder);
// The same with the configured integrated-model path.
int LoadIntegratedModels();

// The lists read by the last load (empty before a load and after shutdown).
const std::vector<std::string>& IntegratedProtocols();
const std::vector<std::string>& IntegratedModels();
void ForgetIntegratedModels();

}  // namespace korva

#endif  // KORVA_OBJDB_INTEGRATED_MODELS_H

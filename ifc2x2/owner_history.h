// Who made or changed a model, with which application: the IfcPerson,
// IfcOrganization, IfcPersonAndOrganization, IfcApplication and
// IfcOwnerHistory records, and the GlobalId and owner history that every
// rooted object carries.
#ifndef KORVA_IFC2X2_OWNER_HISTORY_H
#define KORVA_IFC2X2_OWNER_HISTORY_H

#include "ifc2x2/ifc2x2.h"

namespace korva {

// What a null text of the host becomes: an empty text ('') or an unset
// attribute ($).
enum class NullTexts { kEmpty, kUnset };

// The text `text` stands for under `rule`: itself, or for null "" or null.
const char* HostText(const char* text, NullTexts rule);

struct OwnerHistoryArguments {
  const char* person = nullptr;           // IfcPerson FamilyName and GivenName
  const char* organization = nullptr;     // IfcOrganization Name
  const char* applicationName = nullptr;  // IfcApplication ApplicationFullName
  const char* version = nullptr;          // IfcApplication Version
  const char* identifier = nullptr;       // IfcApplication ApplicationIdentifier
  int changeAction = IfcChangeActionEnum_NOCHANGE;
  int creationDate = 0;  // an IfcTimeStamp
  // The application as the older building exports record it: its full name
  // only (no developer, version or identifier), made together with the
  // person-and-organization before the person and the organization.
  bool applicationNameOnly = false;
  NullTexts nullTexts = NullTexts::kUnset;  // for the five texts above
};

// Creates in `design` an IfcPerson, an IfcOrganization, an
// IfcPersonAndOrganization of the two, an IfcApplication developed by the
// organization and an IfcOwnerHistory of that user and application (in this
// order unless applicationNameOnly: then application,
// person-and-organization, person, organization, owner history).  State,
// LastModifiedDate, LastModifyingUser and LastModifyingApplication are left
// as constructed: unset, and LastModifiedDate the integer 0.  Returns the
// owner history.
IfcOwnerHistory* NewOwnerHistory(TarnDesign* design, const OwnerHistoryArguments& args);

// Gives a rooted object its GlobalId (`globalId`, or a new one when null)
// and its owner history.
void SetRoot(IfcRoot* object, IfcOwnerHistory* history, const char* globalId = nullptr);

}  // namespace korva

#endif  // KORVA_IFC2X2_OWNER_HISTORY_H

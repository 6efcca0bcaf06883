#include "update/owner_history.h"

#include "ifc2x2/ifc2x2.h"
#include "objdb/design.h"
#include "update/update_state.h"
#include "update/update_support.h"

namespace korva {
namespace update {

IfcOwnerHistory* MakeUpdateOwnerHistory(TarnDesign* design, const HistoryArguments& args) {
  IfcPerson* person = New<IfcPerson>(design);
  IfcOrganization* organization = New<IfcOrganization>(design);
  IfcPersonAndOrganization* user = New<IfcPersonAndOrganization>(design);
  IfcApplication* application = New<IfcApplication>(design);
  IfcOwnerHistory* history = New<IfcOwnerHistory>(design);
  if (person == nullptr || organization == nullptr || user == nullptr || application == nullptr ||
      history == nullptr)
    return nullptr;
  person->FamilyName(args.person);
  person->GivenName(args.person);
  organization->Name(args.organization);
  user->ThePerson(person);
  user->TheOrganization(organization);
  application->ApplicationFullName(args.applicationName);
  application->ApplicationDeveloper(organization);
  application->Version(args.version);
  application->ApplicationIdentifier(args.identifier);
  history->OwningUser(user);
  history->OwningApplication(application);
  history->ChangeAction(IfcChangeActionEnum_MODIFIED);
  history->CreationDate(args.creationDate);
  history->unset("LastModifiedDate");
  return history;
}

int RecordHistory(const HistoryArguments& args) {
  TarnDesign* design = RequireUpdateDesign("UpdateHistory");
  if (design == nullptr) return -1;
  IfcOwnerHistory* history = MakeUpdateOwnerHistory(design, args);
  if (history != nullptr) SetUpdateOwnerHistory(history);
  return -1;
}

}  // namespace update
}  // namespace korva

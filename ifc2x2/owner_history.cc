#include "ifc2x2/owner_history.h"

#include "ifc2x2/globalid.h"
#include "ifc2x2/new_entity.h"

namespace korva {

const char* HostText(const char* text, NullTexts rule) {
  return text != nullptr || rule == NullTexts::kUnset ? text : "";
}

IfcOwnerHistory* NewOwnerHistory(TarnDesign* design, const OwnerHistoryArguments& args) {
  IfcApplication* application = nullptr;
  IfcPersonAndOrganization* user = nullptr;
  if (args.applicationNameOnly) {
    application = NewEntity<IfcApplication>(design);
    user = NewEntity<IfcPersonAndOrganization>(design);
  }
  IfcPerson* person = NewEntity<IfcPerson>(design);
  IfcOrganization* organization = NewEntity<IfcOrganization>(design);
  if (!args.applicationNameOnly) {
    user = NewEntity<IfcPersonAndOrganization>(design);
    application = NewEntity<IfcApplication>(design);
  }
  IfcOwnerHistory* history = NewEntity<IfcOwnerHistory>(design);

  const NullTexts rule = args.nullTexts;
  if (person != nullptr) {
    person->FamilyName(HostText(args.person, rule));
    person->GivenName(HostText(args.person, rule));
  }
  if (organization != nullptr) organization->Name(HostText(args.organization, rule));
  if (user != nullptr) {
    user->ThePerson(person);
    user->TheOrganization(organization);
  }
  if (application != nullptr) {
    application->ApplicationFullName(HostText(args.applicationName, rule));
    if (!args.applicationNameOnly) {
      application->ApplicationDeveloper(organization);
      application->Version(HostText(args.version, rule));
      application->ApplicationIdentifier(HostText(args.identifier, rule));
    }
  }
  if (history != nullptr) {
    history->OwningUser(user);
    history->OwningApplication(application);
    history->ChangeAction(args.changeAction);
    history->CreationDate(args.creationDate);
  }
  return history;
}

void SetRoot(IfcRoot* object, IfcOwnerHistory* history, const char* globalId) {
  if (object == nullptr) return;
  char id[23];
  object->GlobalId(globalId != nullptr ? globalId : NewCompressedGuid(id, sizeof id));
  object->OwnerHistory(history);
}

}  // namespace korva

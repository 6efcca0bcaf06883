// The owner history of an update: who made the change, with which
// application.
#ifndef KORVA_UPDATE_OWNER_HISTORY_H
#define KORVA_UPDATE_OWNER_HISTORY_H

namespace korva {

class IfcOwnerHistory;
class TarnDesign;

namespace update {

// What UpdateHistory is told (texts may be null: the attribute stays unset).
struct HistoryArguments {
  const char* person = nullptr;           // IfcPerson FamilyName and GivenName
  const char* organization = nullptr;     // IfcOrganization Name
  const char* applicationName = nullptr;  // IfcApplication ApplicationFullName
  const char* version = nullptr;          // IfcApplication Version
  const char* identifier = nullptr;       // IfcApplication ApplicationIdentifier
  int creationDate = 0;                   // IfcOwnerHistory CreationDate (seconds since 1970)
};

// Creates in `design`, in this order, an IfcPerson, an IfcOrganization, an
// IfcPersonAndOrganization of the two, an IfcApplication developed by the
// organization, and an IfcOwnerHistory of that user and application with
// ChangeAction MODIFIED (State and the last-modified attributes unset).
// Returns the owner history.
IfcOwnerHistory* MakeUpdateOwnerHistory(TarnDesign* design, const HistoryArguments& args);

// UpdateHistory: makes the owner history in the update design and uses it
// for the changes from then on.  Without an open update: reported, nothing
// made.
int RecordHistory(const HistoryArguments& args);

}  // namespace update
}  // namespace korva

#endif  // KORVA_UPDATE_OWNER_HISTORY_H

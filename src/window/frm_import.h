#pragma once
// The import window: its shared state, its procedures and its three event handlers. The
// procedures live with their subsystems (outlook/, touch/, report/); this class ties them
// together as the one window that owns everything.

#include <memory>
#include <optional>
#include <string>

#include "common/error.h"
#include "outlook/automation.h"
#include "window/form_ports.h"

namespace quorvel {

struct Platform {
  FormControls& form;
  Desktop& desktop;
  Clock& clock;
  RegionalFormats& formats;
  outlook::ObjectFactory& objects;
};

class frmImport {
 public:
  explicit frmImport(Platform platform) : p_(platform) {}

  // Event handlers. A failure that leaves one goes to the caller (the platform's
  // last-chance handling).
  void Form_Load();
  void cmdImport_Click();
  void DTPstartdatum_Change();

  // Window state fields: empty at creation, kept across runs.
  std::shared_ptr<outlook::Application> objOutlook;
  std::shared_ptr<outlook::Namespace> objNamespace;
  std::shared_ptr<outlook::Folder> objAgenda;
  std::wstring strAgendaOwner;
  std::wstring varStartdatum;
  std::wstring varEinddatum;
  std::wstring strFoutContext;

  // The failure being handled, as an automation client keeps it between a failure and its report.
  ErrorRecord currentError;

 private:
  void OUTLOOKNMS();
  void AGENDAS();
  void FOUTAFHANDELING();
  void ImportCalendar();
  bool IsChosenAppointment(outlook::AppointmentItem& appointment);

  Platform p_;
  // The bound text of this click that no written form makes Outlook read as the picked day;
  // the range pass is then left out rather than run over other days.
  std::optional<std::wstring> unreadable_bound_;

  // The unit tests call the private procedures one by one.
  friend class FormTestAccess;
};

}  // namespace quorvel

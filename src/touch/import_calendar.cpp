#include <cstdint>
#include <limits>
#include <memory>
#include <optional>

#include "common/continue_rule.h"
#include "touch/touch_texts.h"
#include "window/frm_import.h"

namespace quorvel {

namespace {

using outlook::Advance;
using outlook::AppointmentItem;
using outlook::ItemsEnumeration;

// One step of an enumeration. An element that is not an appointment is passed over, so one
// meeting request cannot hide the rest of the calendar; any other failure ends the pass.
Advance NextAppointment(ItemsEnumeration& pass, std::shared_ptr<AppointmentItem>& current) {
  Advance advance = Advance::kEnd;
  if (!Continue([&] {
        do advance = pass.Next(current);
        while (advance == Advance::kNotAnAppointment);
      })) {
    return Advance::kEnd;
  }
  return advance;
}

// A pass whose enumeration cannot even be started visits nothing.
Advance StartPass(outlook::Items& items, std::unique_ptr<ItemsEnumeration>& pass,
                  std::shared_ptr<AppointmentItem>& current) {
  if (!Continue([&] { pass = items.Enumerate(); })) return Advance::kEnd;
  if (!pass) return Advance::kEnd;
  return NextAppointment(*pass, current);
}

// Chosen appointments whose touch or save failed: the user is told how many, and why.
struct HandOverFailures {
  std::int32_t appointments = 0;
  ErrorRecord last;

  void Note(std::optional<ErrorRecord> touch_failure, std::optional<ErrorRecord> save_failure) {
    if (!touch_failure && !save_failure) return;
    ++appointments;
    last = save_failure ? *save_failure : *touch_failure;
  }
};

std::optional<ErrorRecord> Touch(const std::shared_ptr<AppointmentItem>& current) {
  return ContinueKeepingError([&] {
    AppointmentItem& appointment = Need(current);
    appointment.SetSubject(touch::TouchedSubject(appointment.Subject()));
  });
}

std::optional<ErrorRecord> Save(const std::shared_ptr<AppointmentItem>& current) {
  return ContinueKeepingError([&] { Need(current).Save(); });
}

void Count(std::int32_t& processed) {
  Continue([&] {
    if (processed == std::numeric_limits<std::int32_t>::max()) throw Overflow();
    ++processed;
  });
}

}  // namespace

void frmImport::ImportCalendar() {
  std::shared_ptr<outlook::Items> calendar_items;
  std::shared_ptr<outlook::Items> range_items;
  std::shared_ptr<AppointmentItem> current;
  std::unique_ptr<ItemsEnumeration> pass;
  std::wstring range_filter;
  std::int32_t intVerwerkt = 0;
  HandOverFailures failures;

  auto show_count = [&] { Continue([&] { p_.form.SetText1(touch::CountDisplay(intVerwerkt)); }); };
  auto refresh = [&] { Continue([&] { p_.form.Refresh(); }); };
  // The subject is read when the text is built, so a just-touched subject shows its blank.
  auto progress = [&](auto text_of) {
    Continue([&] {
      const std::wstring subject = Need(current).Subject();
      const std::wstring start = p_.formats.GeneralDate(current->Start());
      p_.form.SetProgressCaption(text_of(strAgendaOwner, subject, start));
    });
  };
  auto chosen = [&] {
    bool is_chosen = false;  // an appointment that cannot be judged is left alone
    Continue([&] { is_chosen = IsChosenAppointment(Need(current)); });
    return is_chosen;
  };

  // 1. The calendar's items, under the report rule.
  try {
    calendar_items = Need(objAgenda).Items();
    Need(calendar_items);
  } catch (...) {
    const ErrorRecord error = CurrentErrorOf(std::current_exception());
    p_.desktop.ShowMessage(touch::ItemsUnavailableMessage(error), kOkOnly);
    return;
  }

  // Pass 1: the recurring appointments (series masters and exceptions), whatever their dates.
  Advance next = StartPass(*calendar_items, pass, current);  // 2
  while (next == Advance::kAppointment) {
    bool recurring = true;  // a failed recurrence test still goes on to the selection test
    Continue([&] {          // 3
      const std::int32_t state = Need(current).RecurrenceState();
      recurring = state == outlook::kSeriesMaster || state == outlook::kException;
    });
    if (recurring) {
      if (chosen()) {                                                              // 4
        const auto touch_failure = Touch(current);                                 // 5
        Continue([&] { p_.form.SetProgressCaption(touch::kProcessingCaption); });  // 6
        refresh();                                                                 // 7
        failures.Note(touch_failure, Save(current));                               // 8
      }
      Count(intVerwerkt);  // 9
      show_count();        // 10
    }
    progress(touch::Pass1Progress);          // 11
    refresh();                               // 12
    next = NextAppointment(*pass, current);  // 13
  }

  // Pass 2: the appointments of the chosen range, in order of start.
  Continue([&] { range_filter = touch::RangeFilter(varStartdatum, varEinddatum); });  // 14
  Continue([&] { range_items = calendar_items->Restrict(range_filter); });            // 15
  bool range_empty = true;  // a range that cannot be counted ends the call
  Continue([&] { range_empty = Need(range_items).Count() == 0; });  // 16
  if (!range_empty) {                                               // 17
    Continue([&] { range_items->Sort(L"[Start]"); });               // 18
    next = StartPass(*range_items, pass, current);                  // 19
    while (next == Advance::kAppointment) {
      progress(touch::Pass2Progress);                 // 20
      refresh();                                      // 21
      if (chosen()) {                                 // 22
        const auto touch_failure = Touch(current);    // 23
        failures.Note(touch_failure, Save(current));  // 24
      }
      Count(intVerwerkt);                      // 25
      show_count();                            // 26
      next = NextAppointment(*pass, current);  // 27
    }
  }

  // 17 / 28: the end, but not before the user learns what could not be handed over.
  if (failures.appointments > 0) {
    Continue([&] {
      p_.desktop.ShowMessage(touch::HandOverWarning(failures.appointments, failures.last),
                             kExclamation);
    });
  }
}

}  // namespace quorvel

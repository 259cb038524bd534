#include <cstdint>
#include <limits>
#include <memory>
#include <optional>

#include "common/continue_rule.h"
#include "touch/run_account.h"
#include "touch/touch_texts.h"
#include "window/frm_import.h"

namespace quorvel {

namespace {

using outlook::Advance;
using outlook::AppointmentItem;
using outlook::ItemsEnumeration;
using touch::Pass;
using touch::RunAccount;

// One pass over a collection as the steps see it: an element that is not an appointment, or
// whose kind cannot be read, is passed over, so one odd element cannot hide the rest of the
// calendar. A fetch that fails ends the pass, and the account is told how far it came.
class PassWalk {
 public:
  PassWalk(Pass pass, RunAccount& account) : pass_(pass), account_(account) {}

  Advance Start(outlook::Items& items, std::shared_ptr<AppointmentItem>& current) {
    if (const auto failure = ContinueKeepingError([&] { walk_ = items.Enumerate(); })) {
      account_.NotePassCutShort(pass_, handled_, *failure);
      return Advance::kEnd;
    }
    if (!walk_) return Advance::kEnd;
    return Next(current);
  }

  Advance Next(std::shared_ptr<AppointmentItem>& current) {
    for (;;) {
      Advance advance = Advance::kEnd;
      outlook::Unexamined unexamined;
      if (const auto failure =
              ContinueKeepingError([&] { advance = walk_->Next(current, unexamined); })) {
        account_.NotePassCutShort(pass_, handled_, *failure);
        return Advance::kEnd;
      }
      if (advance == Advance::kEnd) return advance;
      ++handled_;
      if (advance == Advance::kAppointment) return advance;
      if (advance == Advance::kUnexaminable) {
        account_.NoteUnexaminable(unexamined.entry_id, unexamined.why);
      }
    }
  }

 private:
  Pass pass_;
  RunAccount& account_;
  std::unique_ptr<ItemsEnumeration> walk_;
  std::int64_t handled_ = 0;
};

// The touch of a chosen appointment: subject, then save, each under the continue rule. Its
// identity is read only when something failed, so a clean run pays nothing for the account.
struct TouchOutcome {
  std::optional<ErrorRecord> subject_failure;
  std::optional<ErrorRecord> save_failure;

  void Account(RunAccount& account, const std::shared_ptr<AppointmentItem>& current) const {
    if (!subject_failure && !save_failure) return;
    std::optional<std::wstring> entry_id;
    Continue([&] { entry_id = Need(current).EntryID(); });
    account.NoteHandOver(entry_id, subject_failure, save_failure);
  }
};

std::optional<ErrorRecord> TouchSubject(const std::shared_ptr<AppointmentItem>& current) {
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
  std::wstring range_filter;
  std::int32_t intVerwerkt = 0;
  RunAccount account;

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
  PassWalk recurring_pass(Pass::kRecurring, account);
  Advance next = recurring_pass.Start(*calendar_items, current);  // 2
  while (next == Advance::kAppointment) {
    bool recurring = true;  // a failed recurrence test still goes on to the selection test
    Continue([&] {          // 3
      const std::int32_t state = Need(current).RecurrenceState();
      recurring = state == outlook::kSeriesMaster || state == outlook::kException;
    });
    if (recurring) {
      if (chosen()) {                                                              // 4
        TouchOutcome outcome{TouchSubject(current), std::nullopt};                 // 5
        Continue([&] { p_.form.SetProgressCaption(touch::kProcessingCaption); });  // 6
        refresh();                                                                 // 7
        outcome.save_failure = Save(current);                                      // 8
        outcome.Account(account, current);
      }
      Count(intVerwerkt);  // 9
      show_count();        // 10
    }
    progress(touch::Pass1Progress);       // 11
    refresh();                            // 12
    next = recurring_pass.Next(current);  // 13
  }

  // The end, but not before the user learns what was left undone.
  auto tell_what_was_undone = [&] {
    if (account.Empty()) return;
    Continue([&] { p_.desktop.ShowMessage(account.Message(), kExclamation); });
  };

  // Pass 2: the appointments of the chosen range, in order of start. A range that Outlook
  // would read as other days is not filtered at all.
  if (unreadable_bound_) {
    account.NoteRangeUnreadable(*unreadable_bound_);
    return tell_what_was_undone();
  }
  Continue([&] { range_filter = touch::RangeFilter(varStartdatum, varEinddatum); });  // 14
  const auto not_filtered = ContinueKeepingError(                                     // 15
      [&] { range_items = calendar_items->Restrict(range_filter); });
  if (not_filtered) account.NoteRangeNotFiltered(false, *not_filtered);
  bool range_empty = true;  // a range that cannot be counted ends the call
  const auto not_counted =
      ContinueKeepingError([&] { range_empty = Need(range_items).Count() == 0; });  // 16
  // A range that was never filtered cannot be counted either; the account keeps the first.
  if (not_counted) account.NoteRangeNotFiltered(true, *not_counted);
  if (!range_empty) {  // 17
    if (const auto not_sorted = ContinueKeepingError([&] { range_items->Sort(L"[Start]"); })) {
      account.NoteRangeNotSorted(*not_sorted);  // 18
    }
    PassWalk range_pass(Pass::kRange, account);
    next = range_pass.Start(*range_items, current);  // 19
    while (next == Advance::kAppointment) {
      progress(touch::Pass2Progress);                               // 20
      refresh();                                                    // 21
      if (chosen()) {                                               // 22
        TouchOutcome outcome{TouchSubject(current), std::nullopt};  // 23
        outcome.save_failure = Save(current);                       // 24
        outcome.Account(account, current);
      }
      Count(intVerwerkt);               // 25
      show_count();                     // 26
      next = range_pass.Next(current);  // 27
    }
  }

  tell_what_was_undone();  // 17 / 28
}

}  // namespace quorvel

#include "touch/run_account.h"

#include "touch/touch_texts.h"

namespace quorvel::touch {

void RunAccount::NoteHandOver(const std::optional<std::wstring>& entry_id,
                              const std::optional<ErrorRecord>& subject_failure,
                              const std::optional<ErrorRecord>& save_failure) {
  if (!subject_failure && !save_failure) return;
  const HandOver now = save_failure ? HandOver::kSave : HandOver::kSubject;
  const ErrorRecord& error = save_failure ? *save_failure : *subject_failure;
  if (entry_id) {
    auto [known, added] = known_.try_emplace(*entry_id, now);
    if (!added) {
      if (known->second == HandOver::kSave || now == HandOver::kSubject) return;
      known->second = HandOver::kSave;  // saved once with its old subject, now not at all
      --subject_.count;
    }
  }
  (now == HandOver::kSave ? save_ : subject_).Add(error);
}

void RunAccount::NotePassCutShort(Pass pass, std::int64_t handled, const ErrorRecord& error) {
  cut_short_.try_emplace(pass, CutShort{handled, error});
}

void RunAccount::NoteRangeNotFiltered(bool counting, const ErrorRecord& error) {
  if (not_filtered_) return;
  not_filtered_ = error;
  not_counted_ = counting;
}

void RunAccount::NoteRangeUnreadable(const std::wstring& bound) {
  unreadable_bound_ = bound;
}

void RunAccount::NoteRangeNotSorted(const ErrorRecord& error) {
  if (!not_sorted_) not_sorted_ = error;
}

void RunAccount::NoteUnexaminable(const std::optional<std::wstring>& entry_id,
                                  const ErrorRecord& error) {
  if (entry_id && !unexamined_ids_.insert(*entry_id).second) return;
  unexaminable_.Add(error);
}

bool RunAccount::Empty() const {
  return save_.count == 0 && subject_.count == 0 && cut_short_.empty() && !not_filtered_ &&
         !unreadable_bound_ && !not_sorted_ && unexaminable_.count == 0;
}

std::wstring RunAccount::Message() const {
  if (Empty()) return {};
  std::wstring text = kOutcomeHeadline;
  auto section = [&](const std::wstring& what, const ErrorRecord& error) {
    text += L"\n\n" + what + L"\n" + ErrorLines(error);
  };
  if (save_.count > 0) section(AppointmentsNotSaved(save_.count), *save_.first);
  if (subject_.count > 0) section(SubjectsNotChanged(subject_.count), *subject_.first);
  for (const auto& [pass, cut] : cut_short_) {
    section(PassCutShort(pass == Pass::kRecurring, cut.handled), cut.error);
  }
  if (not_filtered_) section(RangeNotFiltered(not_counted_), *not_filtered_);
  if (unreadable_bound_) text += L"\n\n" + RangeUnreadable(*unreadable_bound_);
  if (not_sorted_) section(kRangeNotSorted, *not_sorted_);
  if (unexaminable_.count > 0)
    section(ElementsUnexaminable(unexaminable_.count), *unexaminable_.first);
  return text;
}

}  // namespace quorvel::touch

#pragma once
// The account of one run: everything that left chosen work undone, gathered through both passes
// and told to the user in one box at the end. A run with nothing undone has nothing to tell.

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "common/error.h"

namespace quorvel::touch {

enum class Pass { kRecurring = 1, kRange = 2 };

class RunAccount {
 public:
  // A chosen appointment whose touch failed at its subject, its save, or both. The same
  // appointment (by entry id) counts once however often it failed; one without a known id
  // counts on its own. A failed save outweighs a failed subject: nothing reached the store.
  void NoteHandOver(const std::optional<std::wstring>& entry_id,
                    const std::optional<ErrorRecord>& subject_failure,
                    const std::optional<ErrorRecord>& save_failure);
  // A pass whose next element could not be fetched, after `handled` elements.
  void NotePassCutShort(Pass pass, std::int64_t handled, const ErrorRecord& error);
  // The range could not be filtered or counted, so the range pass did not run.
  void NoteRangeNotFiltered(bool counting, const ErrorRecord& error);
  // A bound of the range that Outlook would read as another day, so the range pass did not run.
  void NoteRangeUnreadable(const std::wstring& bound);
  // The range could not be sorted, so the range pass ran in the collection's own order.
  void NoteRangeNotSorted(const ErrorRecord& error);
  // An element whose kind could not be read, left alone; counted once by its entry id.
  void NoteUnexaminable(const std::optional<std::wstring>& entry_id, const ErrorRecord& error);

  bool Empty() const;
  // The outcome box's text; empty when there is nothing to tell.
  std::wstring Message() const;

 private:
  enum class HandOver { kSubject, kSave };
  struct Tally {
    std::int64_t count = 0;
    std::optional<ErrorRecord> first;
    void Add(const ErrorRecord& error) {
      ++count;
      if (!first) first = error;
    }
  };
  struct CutShort {
    std::int64_t handled = 0;
    ErrorRecord error;
  };

  std::map<std::wstring, HandOver> known_;  // appointments told apart by entry id
  Tally subject_;
  Tally save_;
  std::map<Pass, CutShort> cut_short_;
  std::optional<ErrorRecord> not_filtered_;
  bool not_counted_ = false;
  std::optional<std::wstring> unreadable_bound_;
  std::optional<ErrorRecord> not_sorted_;
  Tally unexaminable_;
  std::set<std::wstring> unexamined_ids_;
};

}  // namespace quorvel::touch

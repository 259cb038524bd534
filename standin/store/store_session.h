#pragma once
// One opened store: the model, its journal and the checkpoint rule. Opening replays what an
// earlier process journalled but did not checkpoint, so no save is ever lost to a crash.

#include <memory>
#include <optional>
#include <string>

#include "store/save_sequence.h"
#include "store/store_files.h"
#include "store/store_model.h"

namespace standin {

// The store to use: QUORVEL_STANDIN_STORE, else HKLM\Software\QuorvelStandin "Store".
// Throws quorvel::Error when neither is set.
std::wstring ResolveStorePath();

// Companion files of a store.
std::wstring JournalPathOf(const std::wstring& store);  // <store>.journal
std::wstring HistoryPathOf(const std::wstring& store);  // <store>.history: checkpointed journal
std::wstring CallsPathOf(const std::wstring& store);    // <store>.calls.json

// The local time as the journal writes it, to the millisecond.
std::string JournalTimeNow();

class StoreSession {
 public:
  // Throws quorvel::Error naming the file and the problem; the file is left as it was.
  static std::unique_ptr<StoreSession> Open(const std::wstring& storePath);

  StoreModel& model() { return model_; }
  const std::wstring& path() const { return path_; }

  // Makes the item's new subject durable before returning: one journal record.
  void RecordSave(std::size_t index, const std::wstring& subject);

  // Rewrites the store with every save, moves the journal to the history, writes the counts.
  void Checkpoint();

 private:
  StoreSession(std::wstring path, StoreModel model, std::int64_t highestSeq, bool journalled);

  std::wstring path_;
  StoreModel model_;
  JournalWriter journal_;
  SaveSequence sequence_;
  bool flushEachSave_ = false;
  bool dirty_ = false;
};

// Appends a launch record to the store's journal (the exe started from the shell while the
// in-process host serves the calendar). Throws quorvel::Error.
void RecordLaunch(const std::wstring& storePath, const std::wstring& arguments);

}  // namespace standin

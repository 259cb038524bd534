#include "store/store_session.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "common/error.h"
#include "store/call_counts.h"
#include "store/text_encoding.h"

namespace standin {
namespace {

constexpr wchar_t kSource[] = L"Outlook stand-in";
constexpr std::int32_t kFileNotFound = static_cast<std::int32_t>(0x80070002);
constexpr std::int32_t kInvalidData = static_cast<std::int32_t>(0x8007000D);

std::wstring EnvironmentValue(const wchar_t* name) {
  std::vector<wchar_t> buffer(32768);
  const DWORD length =
      GetEnvironmentVariableW(name, buffer.data(), static_cast<DWORD>(buffer.size()));
  return length && length < buffer.size() ? std::wstring(buffer.data(), length) : std::wstring();
}

std::wstring RegistryStorePath() {
  wchar_t buffer[2048];
  DWORD size = sizeof buffer;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\QuorvelStandin", L"Store", RRF_RT_REG_SZ,
                   nullptr, buffer, &size) != ERROR_SUCCESS)
    return {};
  return buffer;
}

// Splits the journal into its complete lines; a torn last line (a write cut short) is dropped.
std::vector<std::string_view> CompleteLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t begin = 0;
  for (std::size_t feed; (feed = text.find('\n', begin)) != std::string_view::npos;
       begin = feed + 1) {
    std::string_view line = text.substr(begin, feed - begin);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty()) lines.push_back(line);
  }
  return lines;
}

// The highest "seq" among the journal lines, without parsing them fully.
std::int64_t HighestSequence(std::string_view text) {
  std::int64_t highest = 0;
  for (std::string_view line : CompleteLines(text)) {
    const std::size_t at = line.find("\"seq\":");
    if (at == std::string_view::npos) continue;
    std::int64_t value = 0;
    for (std::size_t i = at + 6; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i)
      value = value * 10 + (line[i] - '0');
    if (value > highest) highest = value;
  }
  return highest;
}

}  // namespace

std::wstring ResolveStorePath() {
  std::wstring path = EnvironmentValue(L"QUORVEL_STANDIN_STORE");
  if (path.empty()) path = RegistryStorePath();
  if (path.empty())
    throw quorvel::Error(kFileNotFound,
                         L"No stand-in store is set: set QUORVEL_STANDIN_STORE or the value "
                         L"\"Store\" under HKLM\\Software\\QuorvelStandin",
                         kSource);
  return path;
}

std::wstring JournalPathOf(const std::wstring& store) {
  return store + L".journal";
}
std::wstring HistoryPathOf(const std::wstring& store) {
  return store + L".history";
}
std::wstring CallsPathOf(const std::wstring& store) {
  return store + L".calls.json";
}

std::string JournalTimeNow() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%04u-%02u-%02uT%02u:%02u:%02u.%03u", t.wYear, t.wMonth,
                t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
  return buffer;
}

std::unique_ptr<StoreSession> StoreSession::Open(const std::wstring& storePath) {
  std::wstring problem;
  const auto text = ReadWholeFile(storePath, problem);
  if (!text)
    throw quorvel::Error(kFileNotFound,
                         L"The stand-in store \"" + storePath + L"\" cannot be opened: " + problem,
                         kSource);
  StoreModel model;
  try {
    model = StoreModel::Parse(*text);
  } catch (const StoreFormatError& bad) {
    throw quorvel::Error(kInvalidData,
                         L"The stand-in store \"" + storePath + L"\" is not a valid calendar: " +
                             Utf8ToWide(bad.what),
                         kSource);
  }
  bool journalled = false;
  std::int64_t highest = model.lastSequence();
  const std::wstring journalPath = JournalPathOf(storePath);
  std::wstring journalProblem;
  if (const auto journal = ReadWholeFile(journalPath, journalProblem)) {
    try {
      for (std::string_view line : CompleteLines(*journal)) {
        model.ApplyJournalLine(line);
        journalled = true;
      }
    } catch (const StoreFormatError& bad) {
      throw quorvel::Error(kInvalidData,
                           L"The stand-in journal \"" + journalPath + L"\" cannot be replayed: " +
                               Utf8ToWide(bad.what),
                           kSource);
    }
    highest = std::max(highest, model.lastSequence());
  }
  std::wstring historyProblem;
  if (const auto history = ReadWholeFile(HistoryPathOf(storePath), historyProblem))
    highest = std::max(highest, HighestSequence(*history));
  CallCounts::Instance().Reset();
  std::unique_ptr<StoreSession> session(
      new StoreSession(storePath, std::move(model), highest, journalled));
  if (journalled) session->Checkpoint();
  return session;
}

StoreSession::StoreSession(std::wstring path, StoreModel model, std::int64_t highestSeq,
                           bool journalled)
    : path_(std::move(path)),
      model_(std::move(model)),
      journal_(JournalPathOf(path_)),
      sequence_(path_, highestSeq),
      flushEachSave_(EnvironmentValue(L"QUORVEL_STANDIN_FLUSH") == L"1"),
      dirty_(journalled) {}

void StoreSession::RecordSave(std::size_t index, const std::wstring& subject) {
  StoredItem& item = model_.items()[index];
  const std::int64_t seq = sequence_.Next();
  journal_.Append(JournalSaveLine(seq, item.id, subject, JournalTimeNow()) + "\n", flushEachSave_);
  item.subject = subject;
  item.changed = true;
  model_.NoteSequence(seq);
  dirty_ = true;
}

void StoreSession::Checkpoint() {
  if (dirty_) {
    ReplaceFileAtomically(path_, model_.Serialize());
    // Only after the rewrite landed: until then the journal is the sole copy of the saves.
    std::wstring problem;
    if (const auto journal = ReadWholeFile(journal_.path(), problem); journal && !journal->empty())
      AppendToFile(HistoryPathOf(path_), *journal);
    journal_.Truncate();
    dirty_ = false;
  }
  ReplaceFileAtomically(CallsPathOf(path_), CallCounts::Instance().ToJson());
}

void RecordLaunch(const std::wstring& storePath, const std::wstring& arguments) {
  std::int64_t highest = 0;
  std::wstring problem;
  for (const std::wstring& file : {JournalPathOf(storePath), HistoryPathOf(storePath)})
    if (const auto text = ReadWholeFile(file, problem))
      highest = std::max(highest, HighestSequence(*text));
  if (const auto store = ReadWholeFile(storePath, problem)) {
    const std::size_t at = store->rfind("\"journalSequence\":");
    if (at != std::string::npos) {
      std::int64_t value = 0;
      std::size_t i = at + 18;
      while (i < store->size() && (*store)[i] == ' ') ++i;
      for (; i < store->size() && (*store)[i] >= '0' && (*store)[i] <= '9'; ++i)
        value = value * 10 + ((*store)[i] - '0');
      highest = std::max(highest, value);
    }
  }
  SaveSequence sequence(storePath, highest);
  JournalWriter journal(JournalPathOf(storePath));
  journal.Append(JournalLaunchLine(sequence.Next(), arguments, JournalTimeNow()) + "\n", false);
}

}  // namespace standin

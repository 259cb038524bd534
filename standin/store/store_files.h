#pragma once
// File operations of the store with the durability each needs: whole reads, an atomic
// replace for checkpoints, and an append-only journal written with one WriteFile per record.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "store/unique_handle.h"

namespace standin {

// The whole file, or nothing with `problem` set ("does not exist", a system message, ...).
std::optional<std::string> ReadWholeFile(const std::wstring& path, std::wstring& problem);

// Writes `contents` beside `path` and moves it over `path` in one step; throws quorvel::Error.
void ReplaceFileAtomically(const std::wstring& path, std::string_view contents);

// Appends `contents` to `path` (created if missing); throws quorvel::Error.
void AppendToFile(const std::wstring& path, std::string_view contents);

std::wstring SystemMessage(DWORD code);

class JournalWriter {
 public:
  explicit JournalWriter(std::wstring path);  // opens for appending; throws quorvel::Error

  // One record as one WriteFile: the kernel has it when this returns, so a crash of this
  // process loses nothing. `flush` also forces it to the disk (FlushFileBuffers).
  void Append(std::string_view lineWithFeed, bool flush);

  // Empties the journal once its contents are safe elsewhere.
  void Truncate();
  const std::wstring& path() const { return path_; }

 private:
  void Open();
  std::wstring path_;
  UniqueHandle file_;
};

}  // namespace standin

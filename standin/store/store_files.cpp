#include "store/store_files.h"

#include <algorithm>

#include "common/error.h"

namespace standin {
namespace {

constexpr wchar_t kSource[] = L"Outlook stand-in store";

[[noreturn]] void FailWith(const std::wstring& what, const std::wstring& path) {
  const DWORD code = GetLastError();
  throw quorvel::Error(static_cast<std::int32_t>(HRESULT_FROM_WIN32(code)),
                       what + L" \"" + path + L"\": " + SystemMessage(code), kSource);
}

void WriteAll(HANDLE file, std::string_view data, const std::wstring& path) {
  while (!data.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, data.data(), chunk, &written, nullptr)) FailWith(L"Cannot write", path);
    data.remove_prefix(written);
  }
}

}  // namespace

std::wstring SystemMessage(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = length ? std::wstring(text, length) : L"error " + std::to_wstring(code);
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                              message.back() == L' ' || message.back() == L'.'))
    message.pop_back();
  return message;
}

std::optional<std::string> ReadWholeFile(const std::wstring& path, std::wstring& problem) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD code = GetLastError();
    problem = code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ? L"does not exist"
                                                                           : SystemMessage(code);
    return std::nullopt;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) {
    problem = SystemMessage(GetLastError());
    return std::nullopt;
  }
  std::string contents(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < contents.size()) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(contents.size() - done, 1u << 30));
    if (!ReadFile(file.get(), contents.data() + done, want, &got, nullptr)) {
      problem = SystemMessage(GetLastError());
      return std::nullopt;
    }
    if (got == 0) break;
    done += got;
  }
  contents.resize(done);
  return contents;
}

void ReplaceFileAtomically(const std::wstring& path, std::string_view contents) {
  const std::wstring temporary = path + L".checkpoint.tmp";
  {
    UniqueHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) FailWith(L"Cannot create", temporary);
    WriteAll(file.get(), contents, temporary);
    // Once per checkpoint, so the rename never exposes a file whose data is still in flight.
    if (!FlushFileBuffers(file.get())) FailWith(L"Cannot flush", temporary);
  }
  if (!MoveFileExW(temporary.c_str(), path.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    FailWith(L"Cannot replace", path);
}

void AppendToFile(const std::wstring& path, std::string_view contents) {
  UniqueHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) FailWith(L"Cannot open", path);
  WriteAll(file.get(), contents, path);
}

JournalWriter::JournalWriter(std::wstring path) : path_(std::move(path)) {
  Open();
}

void JournalWriter::Open() {
  // Shared for writing too: a shell launch of the stand-in's exe records itself in the same
  // journal while an in-process host has it open.
  file_ = UniqueHandle(CreateFileW(path_.c_str(), FILE_APPEND_DATA,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file_) FailWith(L"Cannot open the journal", path_);
}

void JournalWriter::Append(std::string_view lineWithFeed, bool flush) {
  DWORD written = 0;
  if (!WriteFile(file_.get(), lineWithFeed.data(), static_cast<DWORD>(lineWithFeed.size()),
                 &written, nullptr) ||
      written != lineWithFeed.size())
    FailWith(L"Cannot write the journal", path_);
  if (flush && !FlushFileBuffers(file_.get())) FailWith(L"Cannot flush the journal", path_);
}

void JournalWriter::Truncate() {
  file_.Reset();
  UniqueHandle emptied(CreateFileW(path_.c_str(), GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!emptied) FailWith(L"Cannot empty the journal", path_);
  emptied.Reset();
  Open();
}

}  // namespace standin

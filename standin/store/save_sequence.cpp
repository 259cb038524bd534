#include "store/save_sequence.h"

#include <windows.h>

#include <cwctype>

#include "common/error.h"

namespace standin {
namespace {

std::wstring MappingName(const std::wstring& storePath) {
  std::uint64_t hash = 1469598103934665603ull;  // FNV-1a over the case-folded path
  for (wchar_t c : storePath) {
    hash ^= static_cast<std::uint64_t>(std::towlower(c == L'/' ? L'\\' : c));
    hash *= 1099511628211ull;
  }
  wchar_t name[64];
  swprintf(name, 64, L"Local\\QuorvelStandinSequence-%016llx",
           static_cast<unsigned long long>(hash));
  return name;
}

}  // namespace

SaveSequence::SaveSequence(const std::wstring& storePath, std::int64_t atLeast) {
  mapping_ = UniqueHandle(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                             sizeof(long long), MappingName(storePath).c_str()));
  if (!mapping_)
    throw quorvel::Error(static_cast<std::int32_t>(HRESULT_FROM_WIN32(GetLastError())),
                         L"Cannot create the journal sequence counter", L"Outlook stand-in");
  counter_ = static_cast<volatile long long*>(
      MapViewOfFile(mapping_.get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(long long)));
  if (!counter_)
    throw quorvel::Error(static_cast<std::int32_t>(HRESULT_FROM_WIN32(GetLastError())),
                         L"Cannot map the journal sequence counter", L"Outlook stand-in");
  long long seen = *counter_;
  while (seen < atLeast) {
    const long long before = InterlockedCompareExchange64(counter_, atLeast, seen);
    if (before == seen) break;
    seen = before;
  }
}

SaveSequence::~SaveSequence() {
  if (counter_) UnmapViewOfFile(const_cast<long long*>(counter_));
}

std::int64_t SaveSequence::Next() {
  return InterlockedIncrement64(counter_);
}

}  // namespace standin

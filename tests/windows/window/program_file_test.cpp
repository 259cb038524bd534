// What the program file itself carries: version information and icons, read from the file.

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "program.h"
#include "program_under_test.h"
#include "version.h"

namespace quorvel::window_tests {
namespace {

std::wstring VersionString(const std::vector<BYTE>& info, const wchar_t* name) {
  struct Translation {
    WORD language, code_page;
  }* translations = nullptr;
  UINT size = 0;
  if (!VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translations), &size) ||
      size < sizeof(Translation)) {
    return L"<no translation>";
  }
  wchar_t path[128];
  swprintf(path, 128, L"\\StringFileInfo\\%04x%04x\\%ls", translations->language,
           translations->code_page, name);
  wchar_t* value = nullptr;
  if (!VerQueryValueW(info.data(), path, reinterpret_cast<void**>(&value), &size)) {
    return L"<missing>";
  }
  return value;
}

TEST(ProgramFile, CarriesTheProjectVersionForFileAndProduct) {
  const std::wstring path = test_driver::WindowsPath(ProgramPath());
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  ASSERT_GT(size, 0u) << "no version resource";
  std::vector<BYTE> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  const DWORD major_minor = MAKELONG(QUORVEL_VERSION_MINOR, QUORVEL_VERSION_MAJOR);
  const DWORD build = MAKELONG(QUORVEL_VERSION_BUILD, 0);
  EXPECT_EQ(fixed->dwFileVersionMS, major_minor);
  EXPECT_EQ(fixed->dwFileVersionLS, build);
  EXPECT_EQ(fixed->dwProductVersionMS, major_minor);
  EXPECT_EQ(fixed->dwProductVersionLS, build);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

  // Shown as major.mm.bbbb: 1.6.0.70 is "1.06.0070".
  wchar_t shown[32];
  swprintf(shown, 32, L"%d.%02d.%04d", QUORVEL_VERSION_MAJOR, QUORVEL_VERSION_MINOR,
           QUORVEL_VERSION_BUILD);
  EXPECT_EQ(VersionString(info, L"FileVersion"), shown);
  EXPECT_EQ(VersionString(info, L"ProductVersion"), shown);
  EXPECT_EQ(VersionString(info, L"ProductName"), L"QuorvelImport");
}

#pragma pack(push, 2)
struct IconGroupHeader {
  WORD reserved, type, count;
};
struct IconGroupEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bit_count;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

struct Picture {
  int size, bits;
  bool operator==(const Picture&) const = default;
};

std::vector<Picture> IconGroup(HMODULE file, int id) {
  std::vector<Picture> pictures;
  HRSRC found = FindResourceW(file, MAKEINTRESOURCEW(id), RT_GROUP_ICON);
  if (!found) return pictures;
  const auto* header = static_cast<const IconGroupHeader*>(LockResource(LoadResource(file, found)));
  const auto* entries = reinterpret_cast<const IconGroupEntry*>(header + 1);
  for (WORD i = 0; i < header->count; ++i) {
    pictures.push_back({entries[i].width ? entries[i].width : 256, entries[i].bit_count});
  }
  return pictures;
}

TEST(ProgramFile, CarriesTheWindowIconFirstAndTheFivePictureIcon) {
  const std::wstring path = test_driver::WindowsPath(ProgramPath());
  HMODULE file = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(file, nullptr);
  // The shell shows the first icon group as the file's icon.
  std::vector<ULONG_PTR> groups;
  EnumResourceNamesW(
      file, RT_GROUP_ICON,
      [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR list) -> BOOL {
        reinterpret_cast<std::vector<ULONG_PTR>*>(list)->push_back(
            IS_INTRESOURCE(name) ? reinterpret_cast<ULONG_PTR>(name) : 0);
        return TRUE;
      },
      reinterpret_cast<LONG_PTR>(&groups));
  ASSERT_FALSE(groups.empty());
  EXPECT_EQ(groups.front(), 1u);

  const std::vector<Picture> window_icon{{32, 4}, {16, 4}};
  const std::vector<Picture> five_pictures{{32, 4}, {16, 4}, {48, 8}, {32, 8}, {16, 8}};
  EXPECT_EQ(IconGroup(file, 1), window_icon);
  EXPECT_EQ(IconGroup(file, 2), five_pictures);
  FreeLibrary(file);
}

}  // namespace
}  // namespace quorvel::window_tests

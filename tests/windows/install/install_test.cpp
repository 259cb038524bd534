// The package as an administrator meets it: refused on a Windows too old for the program,
// installed, repaired, replaced by another build of its version and by a newer version, refused
// when older, and removed with msiexec; after each step what a user and an administrator would
// find: the entry among the installed programs, the files, the Start-menu shortcut read through
// the shell's link interface, and the installed program working against the stand-in Outlook.

#include <windows.h>
#include <msi.h>
#include <shellapi.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/com/apartment.h"
#include "import_run_fixture.h"
#include "version.h"

namespace quorvel::endtoend {
std::wstring program_path;
}

namespace quorvel::install {
namespace {

using namespace endtoend;
using Microsoft::WRL::ComPtr;
namespace fs = std::filesystem;

std::wstring packages;  // the folder `packages make` filled

struct TaskMemory {
  void operator()(wchar_t* text) const { CoTaskMemFree(text); }
};

fs::path KnownFolder(REFKNOWNFOLDERID id) {
  wchar_t* path = nullptr;
  if (FAILED(SHGetKnownFolderPath(id, 0, nullptr, &path))) return {};
  return std::unique_ptr<wchar_t, TaskMemory>(path).get();
}

// A value of the program's entry among the installed programs, as Settings reads it; empty when
// there is no such entry.
std::wstring EntryValue(const std::wstring& product_code, const wchar_t* name) {
  const std::wstring key =
      L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + product_code;
  wchar_t value[MAX_PATH] = L"";
  DWORD size = sizeof value;
  RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size);
  return value;
}

// The products Windows Installer has installed under the program's name.
std::vector<std::wstring> InstalledProducts() {
  std::vector<std::wstring> codes;
  wchar_t code[39];
  for (DWORD i = 0; MsiEnumProductsW(i, code) == ERROR_SUCCESS; ++i) {
    if (EntryValue(code, L"DisplayName") == L"QuorvelImport") codes.push_back(code);
  }
  return codes;
}

// Every shortcut of the Start menu whose name has "Import" in it. Windows puts a package's
// shortcuts for every user among the common programs; Wine's Windows Installer puts them
// among the installing user's.
std::vector<fs::path> ImportShortcuts() {
  std::vector<fs::path> found;
  for (const auto& folder :
       {KnownFolder(FOLDERID_CommonPrograms), KnownFolder(FOLDERID_Programs)}) {
    std::error_code ignored;
    for (const auto& file : fs::recursive_directory_iterator(folder, ignored)) {
      if (file.path().extension() == L".lnk" &&
          file.path().filename().wstring().find(L"Import") != std::wstring::npos) {
        found.push_back(file.path());
      }
    }
  }
  return found;
}

struct Shortcut {
  std::wstring target;
  std::wstring working_folder;
  std::wstring icon;
};

std::optional<Shortcut> ReadShortcut(const fs::path& file) {
  ComPtr<IShellLinkW> link;
  ComPtr<IPersistFile> persisted;
  if (FAILED(
          CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))) ||
      FAILED(link.As(&persisted)) || FAILED(persisted->Load(file.c_str(), STGM_READ))) {
    return std::nullopt;
  }
  wchar_t target[MAX_PATH] = L"", folder[MAX_PATH] = L"", icon[MAX_PATH] = L"";
  int index = 0;
  link->GetPath(target, MAX_PATH, nullptr, 0);
  link->GetWorkingDirectory(folder, MAX_PATH);
  link->GetIconLocation(icon, MAX_PATH, &index);
  return Shortcut{target, folder, icon};
}

bool HoldsIcons(const std::wstring& file) {
  return !file.empty() && ExtractIconExW(file.c_str(), -1, nullptr, nullptr, 0) > 0;
}

// Every file under the folder, by its path inside it, in order.
std::vector<std::wstring> FilesUnder(const fs::path& folder) {
  std::vector<std::wstring> files;
  std::error_code ignored;
  for (const auto& file : fs::recursive_directory_iterator(folder, ignored)) {
    if (file.is_regular_file()) files.push_back(fs::relative(file.path(), folder).wstring());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string Contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Alike but for case and a closing backslash, which the installer writes after folders.
bool SamePath(const fs::path& a, const fs::path& b) {
  return lstrcmpiW((a / L"").c_str(), (b / L"").c_str()) == 0;
}

std::wstring InstallerVersion(int build_offset) {
  return std::to_wstring(QUORVEL_VERSION_MAJOR) + L"." + std::to_wstring(QUORVEL_VERSION_MINOR) +
         L"." + std::to_wstring(QUORVEL_VERSION_BUILD + build_offset);
}

// One msiexec command on one of the packages, on the Windows the prefix reports. Quiet (/qn)
// unless a box is expected: then with the basic interface (/qb), whose one box is read and
// answered.
struct Step {
  const char* what;
  const wchar_t* windows;        // the version winecfg sets: win7 or win10
  const wchar_t* package;        // own, rebuilt, newer or older (.msi)
  const wchar_t* action;         // /i or /x
  bool program_deleted_first;    // as a user might have, before a repair
  const wchar_t* refusal;        // words of the box that refuses it; null: it must succeed
  std::optional<int> installed;  // the build offset installed afterwards; none: nothing
  const wchar_t* program;        // the package whose program file is installed afterwards
  bool start_program;
  const wchar_t* folder = nullptr;  // where the maker's folder is afterwards; null: Program Files
  bool folder_given = false;        // INSTALLDIR given on the command line, in that folder
};

const Step kSteps[] = {
    {"refused on Windows 7, changing nothing", L"win7", L"own", L"/i", false,
     L"needs Windows 10 version 1607 (build 14393) or later", std::nullopt, nullptr, false},
    {"installs silently", L"win10", L"own", L"/i", false, nullptr, 0, L"own", true},
    {"the same package again repairs", L"win10", L"own", L"/i", true, nullptr, 0, L"own", false},
    {"another build of the same version replaces it in place", L"win10", L"rebuilt", L"/i", false,
     nullptr, 0, L"rebuilt", false},
    {"a newer package replaces it in place", L"win10", L"newer", L"/i", false, nullptr, 1, L"newer",
     true},
    {"an older package is refused and changes nothing", L"win10", L"older", L"/i", false,
     L"newer version", 1, L"newer", false},
    {"removal leaves nothing", L"win10", L"newer", L"/x", false, nullptr, std::nullopt, nullptr,
     false},
    // An upgrade that forgot the folder given would move the program back to Program Files,
    // away from where a deployment tool's detection rule looks for it.
    {"installs into the folder given", L"win10", L"own", L"/i", false, nullptr, 0, L"own", false,
     L"C:\\Tools", true},
    {"another build keeps the folder given", L"win10", L"rebuilt", L"/i", false, nullptr, 0,
     L"rebuilt", false, L"C:\\Tools"},
    {"removal from the folder given leaves nothing", L"win10", L"rebuilt", L"/x", false, nullptr,
     std::nullopt, nullptr, false, L"C:\\Tools"},
};

class Install : public ImportRun {
 protected:
  // Sets the Windows version the prefix reports, as winecfg does: in the registry, where the
  // package reads the build, too. The prefixes are made reporting Windows 10 (wine-prefix).
  void ReportWindows(const wchar_t* version) {
    if (windows_ == version) return;
    Program winecfg(KnownFolder(FOLDERID_System) / L"winecfg.exe", {}, std::nullopt,
                    std::wstring(L"/v ") + version);
    ASSERT_EQ(winecfg.WaitForExit(Duration{60000}), std::optional<DWORD>(0)) << "winecfg /v";
    windows_ = version;
  }

  // The exit code, and the box's text when one is expected.
  std::pair<std::optional<DWORD>, std::wstring> Msiexec(const Step& step) {
    const std::wstring package = WindowsPath(packages + L"/" + step.package + L".msi");
    Program msiexec(
        KnownFolder(FOLDERID_System) / L"msiexec.exe", {}, std::nullopt,
        std::wstring(step.action) + L" \"" + package + L"\" " + (step.refusal ? L"/qb" : L"/qn") +
            (step.folder_given ? L" INSTALLDIR=\"" + program_file_.parent_path().wstring() + L"\""
                               : L""));
    std::wstring box;
    if (step.refusal) box = AnswerNextBox(msiexec.process_id(), Duration{60000}).text;
    return {msiexec.WaitForExit(Duration{180000}), box};
  }

  void ExpectInstalled(int build_offset, const wchar_t* package) {
    const std::vector<std::wstring> products = InstalledProducts();
    ASSERT_EQ(products.size(), 1u) << "entries among the installed programs";
    const std::wstring& code = products[0];
    EXPECT_EQ(EntryValue(code, L"Publisher"), L"Quillmere");
    EXPECT_EQ(EntryValue(code, L"DisplayVersion"), InstallerVersion(build_offset));
    wchar_t icon[MAX_PATH] = L"";
    DWORD size = MAX_PATH;
    MsiGetProductInfoW(code.c_str(), INSTALLPROPERTY_PRODUCTICON, icon, &size);
    EXPECT_TRUE(HoldsIcons(icon)) << "the entry's icon: " << icon;
    EXPECT_TRUE(SamePath(EntryValue(code, L"InstallLocation"), program_file_.parent_path()))
        << "the entry's install location: " << EntryValue(code, L"InstallLocation");
    product_codes_.push_back(code);

    EXPECT_EQ(
        FilesUnder(maker_folder_),
        (std::vector<std::wstring>{L"QuorvelImport\\LICENSE", L"QuorvelImport\\QuorvelImport.exe",
                                   L"QuorvelImport\\THIRD-PARTY-NOTICES.txt"}));
    EXPECT_TRUE(Contents(program_file_) ==
                Contents(WindowsPath(packages + L"/" + package + L".exe")))
        << "the installed program file is not the one of " << package << ".msi";
    const std::vector<fs::path> shortcuts = ImportShortcuts();
    ASSERT_EQ(shortcuts.size(), 1u) << "Start-menu shortcuts with \"Import\" in their name";
    const std::optional<Shortcut> shortcut = ReadShortcut(shortcuts[0]);
    ASSERT_TRUE(shortcut) << "the shortcut cannot be read";
    EXPECT_TRUE(SamePath(shortcut->target, program_file_)) << shortcut->target;
    EXPECT_TRUE(SamePath(shortcut->working_folder, program_file_.parent_path()))
        << shortcut->working_folder;
    EXPECT_TRUE(HoldsIcons(shortcut->icon)) << "the shortcut's icon: " << shortcut->icon;
    target_ = shortcut->target;
  }

  void ExpectNothingLeft() {
    EXPECT_TRUE(InstalledProducts().empty());
    // The maker's folder goes with its last component; of a folder given, what the installer
    // made above it is not its to remove.
    const fs::path folder = custom_folder_ ? program_file_.parent_path() : maker_folder_;
    EXPECT_FALSE(fs::exists(folder)) << "left: " << folder;
    EXPECT_TRUE(ImportShortcuts().empty());
    for (const std::wstring& code : product_codes_) {
      EXPECT_EQ(EntryValue(code, L"DisplayName"), L"") << "left: the entry of " << code;
      const fs::path cached = KnownFolder(FOLDERID_Windows) / L"Installer" / code;
      EXPECT_FALSE(fs::exists(cached)) << "left: " << cached;
    }
  }

  // Started from the shortcut's target, the program connects to the stand-in (no box) and a
  // run over today saves today's appointment.
  void ExpectTheProgramWorks() {
    program_path = target_;
    const SYSTEMTIME now = [] {
      SYSTEMTIME moment{};
      GetLocalTime(&moment);
      return moment;
    }();
    StandinStore store;
    store.items.push_back(MakeItem("today", {now.wYear, now.wMonth, now.wDay, 9, 0, 0}));
    Start(store);
    EXPECT_TRUE(startup_box_.text.empty()) << "start-up box: " << startup_box_.text;
    const auto boxes = ClickStartImport();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back().text, kFinished);
    EXPECT_EQ(SavesById(store_).count("today"), 1u);
    Close();
  }

  // Where the step expects the maker's folder and the program file: under the folder given
  // (an administrator's INSTALLDIR), else under Program Files.
  void LookIn(const wchar_t* folder) {
    maker_folder_ = (folder ? fs::path(folder) : KnownFolder(FOLDERID_ProgramFiles)) / L"Quillmere";
    program_file_ = maker_folder_ / L"QuorvelImport" / L"QuorvelImport.exe";
    custom_folder_ = folder != nullptr;
  }

  com::Apartment apartment_;
  fs::path maker_folder_;
  fs::path program_file_;
  bool custom_folder_ = false;
  std::wstring target_;
  std::vector<std::wstring> product_codes_;
  std::wstring windows_;
};

TEST_F(Install, AsAnAdministratorDeploysUpgradesAndRemovesIt) {
  for (const Step& step : kSteps) {
    SCOPED_TRACE(step.what);
    LookIn(step.folder);
    ReportWindows(step.windows);
    if (HasFatalFailure()) return;
    if (step.program_deleted_first) {
      ASSERT_TRUE(DeleteFileW(program_file_.c_str()));
    }
    const auto [exit_code, box] = Msiexec(step);
    ASSERT_TRUE(exit_code.has_value()) << "msiexec did not end";
    if (step.refusal) {
      EXPECT_NE(*exit_code, 0u);
      EXPECT_NE(box.find(step.refusal), std::wstring::npos) << "box: " << box;
    } else {
      EXPECT_EQ(*exit_code, 0u);
    }
    if (step.installed) {
      ExpectInstalled(*step.installed, step.program);
    } else {
      ExpectNothingLeft();
    }
    if (step.start_program && !HasFatalFailure()) ExpectTheProgramWorks();
    if (HasFatalFailure()) return;
  }
}

}  // namespace
}  // namespace quorvel::install

int wmain(int argc, wchar_t** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) return 2;
  quorvel::install::packages = argv[1];
  return RUN_ALL_TESTS();
}

// QuorvelImport.exe: the import window on the platform's adapters.

#include <windows.h>
#include <commctrl.h>

#include "common/com/apartment.h"
#include "outlook/com/com_object_factory.h"
#include "window/frm_import.h"
#include "window/win32/clock.h"
#include "window/win32/desktop.h"
#include "window/win32/form_controls.h"
#include "window/win32/import_events.h"
#include "window/win32/import_window.h"
#include "window/win32/last_chance.h"
#include "window/win32/regional_formats.h"

namespace {

int RunProgram(HINSTANCE instance) {
  using namespace quorvel;
  com::Apartment apartment;
  win32::MousePointer pointer;
  win32::ImportWindow window(instance, pointer);
  win32::FormControls controls(window);
  win32::Desktop desktop(window.handle(), pointer);
  win32::Clock clock;
  win32::RegionalFormats formats;
  const auto objects = outlook::com::MakeComObjectFactory();
  frmImport form(Platform{controls, desktop, clock, formats, *objects});

  win32::ImportEvents events(window.handle(), form);
  window.SetEvents(&events);
  window.Load();
  window.Show();
  const int exit_code = window.RunMessageLoop();
  window.SetEvents(nullptr);
  // The form drops its Outlook objects here, before the apartment closes; Outlook keeps running.
  return exit_code;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // No DLL from the current directory or PATH: only the system's and our own folder's.
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
  // Outlook is started by name through the shell, which looks in the current folder before
  // the App Paths that Outlook's setup registers. Started from a download folder, that would
  // run any Outlook.exe a browser left there; the system folder holds none and only
  // administrators can write to it. The program opens no file by a relative name.
  wchar_t system_folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(system_folder, MAX_PATH);
  if (length > 0 && length < MAX_PATH) SetCurrentDirectoryW(system_folder);
  // A long run pumps no messages; the system must not swap the window for a ghost meanwhile.
  DisableProcessWindowsGhosting();
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&classes);
  try {
    return RunProgram(instance);
  } catch (...) {
    quorvel::win32::ShowRunTimeError(nullptr, quorvel::CurrentErrorOf(std::current_exception()));
    return 1;
  }
}

// The window in use: start-up, keyboard focus and Tab order, the two wired events, closing.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <thread>
#include <tuple>

#include "common/error.h"
#include "controls.h"
#include "input.h"
#include "message_box.h"
#include "program_under_test.h"
#include "remote_picker.h"
#include "window/win32/import_window.h"
#include "window/win32/queued_input.h"
#include "window/win32/system_failure.h"

namespace quorvel::window_tests {
namespace {

using namespace test_driver;

// A fresh program per test: each one changes what it finds.
class WindowLife : public testing::Test {
 protected:
  void SetUp() override {
    started_ = StartProgram();
    ASSERT_NE(started_.window, nullptr) << "the window did not show";
  }
  void TearDown() override {
    if (started_.program) CloseAllBoxes(started_.program->process_id());
  }

  HWND window() const { return started_.window; }
  HWND control(std::wstring_view name) const { return ControlByName(window(), name); }
  DWORD process_id() const { return started_.program->process_id(); }

  StartedProgram started_;
};

auto Key(const SYSTEMTIME& t) {
  return std::tuple(t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
}

TEST_F(WindowLife, WithoutOutlookTheStartUpReportComesFirstAndTheWindowStillOpens) {
  const MessageBoxView& box = started_.startup_box;
  ASSERT_NE(box.box, nullptr) << "no box before the window";
  EXPECT_EQ(box.icon, BoxIcon::kStop) << "icon: " << NameOf(box.icon);
  EXPECT_EQ(box.text.rfind(L"Error please start outlook\n\nnr.: ", 0), 0u);
  EXPECT_TRUE(IsWindowVisible(window()));
}

TEST_F(WindowLife, FocusStartsOnStartImportAndTabVisitsTheFocusableControlsInTabOrder) {
  EXPECT_EQ(FocusOf(window()), control(L"cmdImport"));
  const wchar_t* cycle[] = {L"Text1",   L"DTPstartdatum", L"DTPeinddatum", L"ChkBusy",
                            L"ChkFree", L"ChkOOF",        L"ChkTentative", L"cmdImport"};
  for (const wchar_t* next : cycle) {
    PostKey(window(), VK_TAB);
    const bool arrived =
        WaitFor([&] { return FocusOf(window()) == control(next); }, Duration{3000});
    ASSERT_TRUE(arrived) << "Tab did not reach " << std::string(next, next + wcslen(next))
                         << "; focus id " << GetDlgCtrlID(FocusOf(window()));
  }
}

// The name Windows' accessibility proxies (and Narrator through them) give a control that has no
// caption of its own: the text of the nearest static control before it in z-order, looking no
// further back than a control that starts a group and takes the focus.
std::wstring AccessibleLabel(HWND control) {
  for (HWND before = GetWindow(control, GW_HWNDPREV); before;
       before = GetWindow(before, GW_HWNDPREV)) {
    if ((StyleOf(before) & (WS_GROUP | WS_TABSTOP)) == (WS_GROUP | WS_TABSTOP)) break;
    if (ClassOf(before) == WC_STATICW) return Text(before);
  }
  return L"";
}

TEST_F(WindowLife, AScreenReaderNamesThePickersAndTheCountAfterTheirLabels) {
  EXPECT_EQ(AccessibleLabel(control(L"DTPstartdatum")), L"From:");
  EXPECT_EQ(AccessibleLabel(control(L"DTPeinddatum")), L"To:");
  EXPECT_EQ(AccessibleLabel(control(L"Text1")), L"Appointments processed");
}

TEST_F(WindowLife, ShiftTabGoesBackThroughTheSameCycle) {
  if (!SendKey(window(), VK_TAB, /*shift=*/true)) {
    GTEST_SKIP() << "the window could not be brought to the foreground for real key input";
  }
  const bool arrived =
      WaitFor([&] { return FocusOf(window()) == control(L"ChkTentative"); }, Duration{3000});
  EXPECT_TRUE(arrived) << "focus id " << GetDlgCtrlID(FocusOf(window()));
}

TEST_F(WindowLife, ChangingTheStartDateByKeyboardMovesTheEndDateFiveDaysOn) {
  HWND start = control(L"DTPstartdatum");
  HWND end = control(L"DTPeinddatum");
  ASSERT_TRUE(SetPickerValue(start, Moment(2027, 2, 28, 14, 30, 15)));
  ASSERT_TRUE(SetPickerValue(end, Moment(2027, 1, 1, 9, 0, 0)));
  // Set from outside the way the program sets a value: that is not a change by the user.
  Sleep(200);
  ASSERT_EQ(Key(*PickerValue(end)), Key(Moment(2027, 1, 1, 9, 0, 0)));

  // Into the picker and one step up on its first field, as a user would with the arrows.
  PostKey(window(), VK_TAB);
  ASSERT_TRUE(WaitFor([&] { return FocusOf(window()) == control(L"Text1"); }, Duration{3000}));
  PostKey(window(), VK_TAB);
  ASSERT_TRUE(WaitFor([&] { return FocusOf(window()) == start; }, Duration{3000}));
  const SYSTEMTIME before = *PickerValue(start);
  // A picker that just took the focus has no field chosen: Right chooses the first.
  PostKey(window(), VK_RIGHT);
  PostKey(window(), VK_UP);
  const bool changed =
      WaitFor([&] { return Key(*PickerValue(start)) != Key(before); }, Duration{3000});
  ASSERT_TRUE(changed) << "the picker took no key";
  const SYSTEMTIME now_start = *PickerValue(start);
  const bool moved =
      WaitFor([&] { return Key(*PickerValue(end)) != Key(Moment(2027, 1, 1, 9)); }, Duration{3000});
  ASSERT_TRUE(moved) << "the end date did not follow";
  // Five calendar days on, at the start's own time of day.
  SYSTEMTIME expected_start = now_start;
  FILETIME as_file{};
  SystemTimeToFileTime(&expected_start, &as_file);
  ULARGE_INTEGER ticks{{as_file.dwLowDateTime, as_file.dwHighDateTime}};
  ticks.QuadPart += 5ULL * 24 * 3600 * 10000000ULL;
  as_file = {ticks.LowPart, ticks.HighPart};
  SYSTEMTIME expected_end{};
  FileTimeToSystemTime(&as_file, &expected_end);
  EXPECT_EQ(Key(*PickerValue(end)), Key(expected_end));
  EXPECT_EQ(now_start.wHour, 14);
  EXPECT_EQ(now_start.wMinute, 30);
  EXPECT_EQ(now_start.wSecond, 15);
}

TEST_F(WindowLife, ChangingTheEndDateRaisesNothing) {
  HWND start = control(L"DTPstartdatum");
  HWND end = control(L"DTPeinddatum");
  const SYSTEMTIME start_before = *PickerValue(start);
  for (int i = 0; i < 3; ++i) PostKey(window(), VK_TAB);
  ASSERT_TRUE(WaitFor([&] { return FocusOf(window()) == end; }, Duration{3000}));
  const SYSTEMTIME end_before = *PickerValue(end);
  PostKey(window(), VK_RIGHT);
  PostKey(window(), VK_UP);
  ASSERT_TRUE(WaitFor([&] { return Key(*PickerValue(end)) != Key(end_before); }, Duration{3000}));
  Sleep(200);
  EXPECT_EQ(Key(*PickerValue(start)), Key(start_before));
  EXPECT_EQ(WaitForMessageBox(process_id(), Duration{0}), nullptr);
}

TEST_F(WindowLife, StartImportIsWiredAndRefusesAnEndBeforeTheStart) {
  ASSERT_TRUE(SetPickerValue(control(L"DTPstartdatum"), Moment(2026, 12, 8, 10)));
  ASSERT_TRUE(SetPickerValue(control(L"DTPeinddatum"), Moment(2026, 12, 7, 10)));
  Click(control(L"cmdImport"));
  const MessageBoxView box = AnswerNextBox(process_id(), Duration{10000});
  ASSERT_NE(box.box, nullptr) << "no box after the click";
  EXPECT_EQ(box.title, L"QuorvelImport") << "a box without a title shows the application title";
  EXPECT_EQ(box.text,
            L"The end date should be later then the start date. Please select other dates.");
  EXPECT_EQ(box.icon, BoxIcon::kStop) << "icon: " << NameOf(box.icon);
  // The window is back in business afterwards.
  EXPECT_EQ(WaitForMessageBox(process_id(), Duration{500}), nullptr);
  EXPECT_TRUE(started_.program->Running());
}

TEST_F(WindowLife, AClickByMouseMessagesIsAClickToo) {
  ASSERT_TRUE(SetPickerValue(control(L"DTPstartdatum"), Moment(2026, 12, 8, 10)));
  ASSERT_TRUE(SetPickerValue(control(L"DTPeinddatum"), Moment(2026, 12, 1, 10)));
  ClickWithMouseMessages(control(L"cmdImport"));
  const MessageBoxView box = AnswerNextBox(process_id(), Duration{10000});
  EXPECT_NE(box.box, nullptr);
}

TEST_F(WindowLife, CloseFromTheSystemMenuEndsTheProgramAtOnce) {
  CloseBySystemMenu(window());
  const auto code = started_.program->WaitForExit(Duration{10000});
  ASSERT_TRUE(code.has_value()) << "still running after close";
  EXPECT_EQ(*code, 0u);
  EXPECT_EQ(CloseAllBoxes(process_id()), 0) << "a question on close";
}

// As Restart Manager asks a program for its files when Windows Installer upgrades or removes it.
TEST_F(WindowLife, RestartManagersRequestEndsTheProgram) {
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(window(), WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP,
                                  SMTO_ABORTIFHUNG, 5000, &answer));
  EXPECT_EQ(answer, TRUE);
  SendMessageTimeoutW(window(), WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG, 5000,
                      &answer);
  EXPECT_EQ(started_.program->WaitForExit(Duration{10000}), std::optional<DWORD>(0));
}

TEST_F(WindowLife, AltF4EndsTheProgramToo) {
  if (!SendKey(window(), VK_F4, false, /*alt=*/true)) {
    GTEST_SKIP() << "the window could not be brought to the foreground for real key input";
  }
  EXPECT_TRUE(started_.program->WaitForExit(Duration{10000}).has_value());
}

LRESULT CALLBACK RefuseDatePickers(int code, WPARAM w, LPARAM l) {
  if (code == HCBT_CREATEWND) {
    const wchar_t* window_class = reinterpret_cast<CBT_CREATEWNDW*>(l)->lpcs->lpszClass;
    if (!IS_INTRESOURCE(window_class) && lstrcmpiW(window_class, DATETIMEPICK_CLASSW) == 0) {
      return 1;
    }
  }
  return CallNextHookEx(nullptr, code, w, l);
}

// A window that cannot be built is destroyed on the way to the box that tells why: it must
// leave no quit queued that would close that box by itself, and the error must be the failed
// call's own, not one an earlier call left behind, nor one that reads as success.
TEST(WindowBuild, AWindowThatCannotBeBuiltLeavesTheBoxThatTellsWhyToTheUser) {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&classes);  // as the program does before it builds its window
  HHOOK refusal = SetWindowsHookExW(WH_CBT, RefuseDatePickers, nullptr, GetCurrentThreadId());
  ASSERT_NE(refusal, nullptr);
  win32::MousePointer pointer;
  std::int32_t number = 0;
  try {
    SetLastError(ERROR_MOD_NOT_FOUND);  // as an earlier call of the program may leave it
    win32::ImportWindow window(GetModuleHandleW(nullptr), pointer);
  } catch (const Error& error) {
    number = error.number();
  }
  // The same refusal made directly, the last error cleared first: its own error, if any.
  SetLastError(ERROR_SUCCESS);
  ASSERT_EQ(CreateWindowExW(0, DATETIMEPICK_CLASSW, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr),
            nullptr);
  const std::int32_t cause = win32::SystemFailure(L"CreateWindowEx").number();
  UnhookWindowsHookEx(refusal);
  EXPECT_EQ(number, cause);
  EXPECT_NE(number, 0);
  MSG quit{};
  EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_NE(win32::SystemFailure(L"CreateFontIndirect", ERROR_SUCCESS).number(), 0);
}

// A close done while a box was up has posted its quit; the input discarded before the next box
// must not take the quit with it, or the program would run on with no window.
TEST(QueuedInput, AQuitAmongTheDiscardedInputStaysQueuedWithItsExitCode) {
  PostQuitMessage(7);
  win32::DiscardQueuedInput();
  MSG quit{};
  ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 7u);
}

// The kind of hook the next box is refused; the others are set as asked.
int refused_hook = 0;

HHOOK WINAPI RefuseOneKindOfHook(int kind, HOOKPROC procedure, HINSTANCE module, DWORD thread) {
  if (kind == refused_hook) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  return SetWindowsHookExW(kind, procedure, module, thread);
}

// A box whose input filter is set without the hook that tells when it showed must not drop the
// user's answer too.
TEST(QueuedInput, ABoxRefusedOneOfItsHooksStillTakesEnter) {
  for (int refused : {WH_CALLWNDPROCRET, WH_MSGFILTER}) {
    SCOPED_TRACE(refused == WH_MSGFILTER ? "input filter refused" : "showing hook refused");
    refused_hook = refused;
    bool enter_taken = false;
    // The user presses Enter once the box is up; OK is clicked for them if that did nothing, so
    // the test goes on either way.
    std::thread user([&] {
      HWND box = WaitForMessageBox(GetCurrentProcessId(), Duration{10000});
      if (!box) return;
      Sleep(200);
      PostKey(box, VK_RETURN);
      enter_taken = WaitFor([&] { return !IsWindow(box); }, Duration{3000});
      if (!enter_taken) PressOk(box);
    });
    const int answer = win32::MessageBoxOverDiscardedInput(nullptr, L"Press Enter", L"QueuedInput",
                                                           MB_OK, RefuseOneKindOfHook);
    user.join();
    EXPECT_EQ(answer, IDOK);
    EXPECT_TRUE(enter_taken) << "the box dropped Enter";
  }
}

}  // namespace
}  // namespace quorvel::window_tests

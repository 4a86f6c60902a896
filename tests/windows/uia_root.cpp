// A screen reader's first step on Windows, from another process: the game
// window's UI Automation element, asked for its name, control type and
// keyboard focus through the flat client functions of uiautomationcore.dll
// (mingw-w64 declares none of them and has no import library: they are
// loaded from the DLL). Prints "Name=... ControlType=... HasKeyboardFocus=..."
// and exits 0, or says what failed and exits 1. Every call that may block is
// bounded: a watchdog ends the program after kLimitSeconds.
//
// Usage: uia_root.exe TITLE   (the window's title, blanks around it ignored)
#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <thread>
#include <utility>

namespace {

constexpr DWORD kLimitSeconds = 20;
// UI Automation's property identifiers.
constexpr int kControlTypeProperty = 30003;
constexpr int kNameProperty = 30005;
constexpr int kHasKeyboardFocusProperty = 30008;

using HUIANODE = void*;
using NodeFromHandle = HRESULT(WINAPI*)(HWND, HUIANODE*);
using GetPropertyValue = HRESULT(WINAPI*)(HUIANODE, int, VARIANT*);
using NodeRelease = BOOL(WINAPI*)(HUIANODE);

std::wstring Trimmed(std::wstring text) {
  const auto first = text.find_first_not_of(L' ');
  if (first == std::wstring::npos) return {};
  return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

struct Search {
  std::wstring title;
  HWND found = nullptr;
};

BOOL CALLBACK MatchTitle(HWND window, LPARAM searchAddress) {
  auto* search = reinterpret_cast<Search*>(searchAddress);
  wchar_t text[256];
  if (IsWindowVisible(window) && GetWindowTextW(window, text, 256) > 0 && Trimmed(text) == search->title) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// A function of the library, by name; through void*, as the system's
// FARPROC has no parameters of its own.
template <typename Function>
Function Load(HMODULE library, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

int Fail(const char* what) {
  std::printf("FAIL: %s\n", what);
  return 1;
}

// The property as text: a string, a number, or a truth value as 0 or 1.
std::wstring Text(const VARIANT& value) {
  switch (value.vt) {
    case VT_BSTR:
      return value.bstrVal ? value.bstrVal : L"";
    case VT_I4:
      return std::to_wstring(value.lVal);
    case VT_BOOL:
      return value.boolVal ? L"1" : L"0";
    default:
      return L"(type " + std::to_wstring(value.vt) + L")";
  }
}

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
  if (argc != 2) return Fail("usage: uia_root.exe TITLE");
  std::thread([] {
    Sleep(kLimitSeconds * 1000);
    std::printf("FAIL: no answer after %lu s\n", kLimitSeconds);
    std::fflush(stdout);
    ExitProcess(2);
  }).detach();

  Search search{Trimmed(argv[1])};
  EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&search));
  if (!search.found) return Fail("no visible window with that title");
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  HMODULE library = LoadLibraryW(L"uiautomationcore.dll");
  if (!library) return Fail("uiautomationcore.dll does not load");
  const auto nodeFromHandle = Load<NodeFromHandle>(library, "UiaNodeFromHandle");
  const auto getPropertyValue = Load<GetPropertyValue>(library, "UiaGetPropertyValue");
  const auto nodeRelease = Load<NodeRelease>(library, "UiaNodeRelease");
  if (!nodeFromHandle || !getPropertyValue || !nodeRelease) return Fail("the client functions are missing");

  HUIANODE node = nullptr;
  if (FAILED(nodeFromHandle(search.found, &node)) || !node) return Fail("the window has no UI Automation element");
  std::wstring line;
  for (const auto& [id, name] : {std::pair{kNameProperty, L"Name"}, std::pair{kControlTypeProperty, L"ControlType"},
                                 std::pair{kHasKeyboardFocusProperty, L"HasKeyboardFocus"}}) {
    VARIANT value;
    VariantInit(&value);
    if (FAILED(getPropertyValue(node, id, &value))) return Fail("a property could not be read");
    line += (line.empty() ? L"" : L" ") + std::wstring(name) + L"=" + Text(value);
    VariantClear(&value);
  }
  nodeRelease(node);
  std::printf("%ls\n", line.c_str());
  std::fflush(stdout);
  ExitProcess(0);
}

// The entry point, the main window and its procedure.
#include "app/main_window.h"

#include "app/commands.h"
#include "app/context_menu.h"
#include "app/gamepad.h"
#include "app/reader_modes.h"
#include "app/reading_aids.h"
#include "app/window_placement.h"
#include "data/bookmarks.h"
#include "data/toc.h"
#include "platform/calls/message_calls.h"
#include "platform/calls/window_calls.h"
#include "platform/translation.h"
#include "reader/named_files.h"
#include "reader/reader.h"
#include "reader/reading_warnings.h"
#include "reader/text_fields.h"
#include "reader/texts.h"
#include "render/surfaces.h"
#include "script/interpreter.h"
#include "script/line_table.h"
#include "sound/music.h"

namespace {

constexpr char CLASS_NAME[] = "MyWin";
constexpr int ICON_RESOURCE = 101;

// The whole start-up runs inside the window's creation, so that the first page is
// on the window before it is shown.
void OnCreate(Reader& r, Window& window) {
  ReaderState& s = r.state;
  GetCurrentDirectoryA(r.platform, 255, s.WorkingDirectory);
  PlaceWindowCentred(r.platform, window);
  ResetScript(r);
  CreateSurfaces(r, window);
  for (int entry = 0; entry < TOC_COUNT; ++entry) {
    s.TocLabels[entry][0] = '\0';
    s.TocFiles[entry][0] = '\0';
  }
  SetBookmarkDefaults(s);
  LoadBookmarks(r);
  LoadToc(r);
  // Said with the folder, and shown: a reader who opened the wrong one sees where
  // yomu looked and what it found there instead.
  if (const FileOr<std::monostate> loaded = LoadScript(r); !loaded) {
    const bool missing = loaded.error().problem == FileProblem::NotFound;
    const std::string& place = r.platform.volume->place();
    const std::string script = QuotedForMessage(r.platform.shift_jis, s.ScriptFileName);
    const std::string problem = missing ? Formatted(_("script %s not found in %s"), script, place)
                                        : Formatted(_("script %s %s (in %s)"), script,
                                                    DescribeFileError(loaded.error()), place);
    WarnAt(r, "", problem);
    ShowMessage(r.platform, Formatted(_("yomu cannot start this novel: %s."), problem) +
                                WhatStandsInstead(*r.platform.volume, s.ScriptFileName));
  }
  RunScript(r, window);
}

void OnPaint(Reader& r, Window& window) {
  r.state.WindowDC = BeginPaint(window);
  PresentPage(r, r.state.WindowDC);
  EndPaint(window);
  r.state.WindowDC = nullptr;
}

void OnDestroy(Reader& r, Window& window) {
  StopCd(r, window);
  ReleaseSurfaces(r);
  ChangeDisplaySettingsA(r.platform, nullptr, 0);
  PostQuitMessage(r.platform, 0);
}

LRESULT OnMessage(Reader& r, Window& window, UINT message, WPARAM wparam, LPARAM lparam) {
  // The keyboard, the pad, the wheel, the backlog and auto mode come first; the rest
  // is as ever.
  if (message != WM_CREATE) {
    if (std::optional<LRESULT> result = OnReadingAidsMessage(r, window, message, wparam, lparam)) {
      return *result;
    }
  }
  switch (message) {
    case WM_CREATE: OnCreate(r, window); return 0;
    case WM_DESTROY: OnDestroy(r, window); return 0;
    case WM_PAINT: OnPaint(r, window); return 0;
    case WM_CONTEXTMENU: OnContextMenu(r, window, lparam); return 0;
    case WM_COMMAND: OnCommand(r, window, LOWORD(wparam)); return 0;
    case WM_TIMER: OnTimer(r, window, static_cast<UINT>(wparam)); return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(r, window, HIWORD(static_cast<std::uintptr_t>(lparam)));
      return 0;
    case WM_LBUTTONDOWN: OnLeftButtonDown(r, window); return 0;
    case WM_RBUTTONDOWN: OnRightButtonDown(r, window); return 0;
    default: return DefWindowProcA(window, message, wparam, lparam);
  }
}

}  // namespace

LRESULT MainWindowProc(Reader& r, Window& window, UINT message, WPARAM wparam, LPARAM lparam) {
  // After the teardown the surfaces are gone; what still arrives is the platform's.
  if (message != WM_CREATE && !r.state.PageSurface) {
    return DefWindowProcA(window, message, wparam, lparam);
  }
  // A pad's button goes the way of the key it stands for.
  if (message == WM_KEYDOWN || message == WM_KEYUP) wparam = KeyOfPadButton(wparam);
  const LRESULT result = OnMessage(r, window, message, wparam, lparam);
  if (r.state.PageSurface) AfterReaderMessage(r);
  return result;
}

int WinMain(Reader& r, int show_command) {
  Platform& platform = r.platform;
  WNDCLASSEXA window_class;
  window_class.lpfnWndProc = [&r](Window& window, UINT message, WPARAM wparam, LPARAM lparam) {
    return MainWindowProc(r, window, message, wparam, lparam);
  };
  window_class.icon_resource = ICON_RESOURCE;
  window_class.lpszClassName = CLASS_NAME;
  if (!RegisterClassExA(platform, window_class)) return 0;

  const int x = GetSystemMetrics(platform, SM_CXSCREEN) / 2 - 320;
  const int y = GetSystemMetrics(platform, SM_CYSCREEN) / 2 - 240;
  Window* window =
      CreateWindowExA(platform, 0, CLASS_NAME, texts::CAPTION, WINDOWED_STYLE, x, y, 640, 480);
  if (window == nullptr) return 0;
  ShowWindow(*window, show_command);
  UpdateWindow(*window);

  MSG message;
  while (GetMessageA(platform, &message)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

// The show's window on Win32: a window of the predefined class "EDIT",
// borderless at the top-left corner, with the Direct3D 9 device on it. Its
// messages are handled once a frame by the key query (win32_keys.cpp); a
// close request only marks the window as closing, and the frame loop then
// ends the show as it does on Escape.
#include "platform/d3d9_shared.h"
#include "platform/win32_shared.h"
#include "platform/window.h"

namespace {

struct Win32Window {
  HWND window = nullptr;
  WNDPROC editProcedure = nullptr;  // the class's own procedure, for everything else
  bool closing = false;
  bool cursorHidden = false;
};

Win32Window state;

LRESULT CALLBACK showWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:  // Alt-F4 and the system menu arrive here too
      state.closing = true;
      return 0;
    case WM_DESTROY:
      state.closing = true;
      break;
    case WM_ERASEBKGND:  // the device covers every pixel; the edit box must not paint over it
      return 1;
    case WM_PAINT:
      ValidateRect(window, nullptr);
      return 0;
    default:
      break;
  }
  return CallWindowProcA(state.editProcedure, window, message, wParam, lParam);
}

}  // namespace

bool showWindowClosing() { return state.closing || (state.window && !IsWindow(state.window)); }

bool openWindow(const WindowRequest& request, std::string* error) {
  if (!checkWindowRequest(request, state.window != nullptr, error)) return false;
  DWORD style = request.borderless ? WS_POPUP : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  if (!request.headless) style |= WS_VISIBLE;
  RECT frame = {0, 0, request.width, request.height};
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_APPWINDOW);
  const int x = request.borderless ? 0 : CW_USEDEFAULT;
  const int y = request.borderless ? 0 : CW_USEDEFAULT;
  const HWND window = CreateWindowExA(WS_EX_APPWINDOW, "EDIT", request.title ? request.title : "", style, x, y,
                                      frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                      nullptr, nullptr);
  if (!window) {
    *error = failedCall("CreateWindowExA", static_cast<long>(GetLastError()));
    return false;
  }
  state = Win32Window{window, nullptr, false, false};
  // An edit control keeps the text it was created with as its contents; the
  // window system's own title (task bar, task switcher) is set here.
  DefWindowProcA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(request.title ? request.title : ""));
  state.editProcedure = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&showWindowProcedure)));
  if (request.hideCursor) {
    ShowCursor(FALSE);
    state.cursorHidden = true;
  }
  const bool windowed = !request.fullScreen || request.headless;
  if (!createD3d9Device(window, request.width, request.height, windowed, error)) {
    closeWindow();
    return false;
  }
  return true;
}

void closeWindow() {
  if (!state.window) return;
  releaseD3d9Device();
  if (state.cursorHidden) ShowCursor(TRUE);
  DestroyWindow(state.window);
  state = Win32Window{};
}

// The setup window as a modal dialog from the program's template: the
// texts handed in go onto the controls, the list and the box are filled
// and read with dialog item messages.
#include "platform/setup_window.h"
#include "platform/win32_setup_dialog_ids.h"
#include "platform/win32_shared.h"

namespace {

struct SetupDialog {
  const SetupWindowContent* content;
  SetupWindowChoice* choice;
};

void showContent(HWND dialog, const SetupWindowContent& content) {
  SetWindowTextA(dialog, content.caption.c_str());
  SetDlgItemTextA(dialog, GM_SETUP_BANNER, content.banner.c_str());
  SetDlgItemTextA(dialog, GM_SETUP_RULE, content.rule.c_str());
  SetDlgItemTextA(dialog, GM_SETUP_RESOLUTION_LABEL, content.resolutionLabel.c_str());
  SetDlgItemTextA(dialog, GM_SETUP_FULL_SCREEN_LABEL, content.fullScreenLabel.c_str());
  SetDlgItemTextA(dialog, IDOK, content.startText.c_str());
  SetDlgItemTextA(dialog, IDCANCEL, content.cancelText.c_str());
  for (const std::string& text : content.modeTexts)
    SendDlgItemMessageA(dialog, GM_SETUP_MODES, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  if (content.selected >= 0)
    SendDlgItemMessageA(dialog, GM_SETUP_MODES, CB_SETCURSEL, static_cast<WPARAM>(content.selected), 0);
  if (content.fullScreenTicked) SendDlgItemMessageA(dialog, GM_SETUP_FULL_SCREEN, BM_SETCHECK, BST_CHECKED, 0);
}

INT_PTR CALLBACK setupDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* setup = reinterpret_cast<SetupDialog*>(lParam);
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    showContent(dialog, *setup->content);
    return TRUE;  // the focus goes to the first tab stop, START
  }
  if (message != WM_COMMAND) return FALSE;
  // Enter is IDOK; Escape and the close box are IDCANCEL.
  switch (LOWORD(wParam)) {
    case IDOK: {
      auto* setup = reinterpret_cast<SetupDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
      const LRESULT selected = SendDlgItemMessageA(dialog, GM_SETUP_MODES, CB_GETCURSEL, 0, 0);
      setup->choice->selected = selected == CB_ERR ? -1 : static_cast<int>(selected);
      setup->choice->fullScreenTicked =
          SendDlgItemMessageA(dialog, GM_SETUP_FULL_SCREEN, BM_GETCHECK, 0, 0) != BST_UNCHECKED;
      EndDialog(dialog, 1);
      break;
    }
    case IDCANCEL:
      EndDialog(dialog, 0);
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

int runSetupWindow(const SetupWindowContent& content, SetupWindowChoice& choice, std::string* error) {
  SetupDialog setup = {&content, &choice};
  const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(GM_SETUP_DIALOG),
                                         GetForegroundWindow(), setupDialogProcedure,
                                         reinterpret_cast<LPARAM>(&setup));
  if (result == 1 || result == 0) return static_cast<int>(result);
  *error = failedCall("DialogBoxParamA", static_cast<long>(GetLastError()));
  return -1;
}

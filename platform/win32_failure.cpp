#include <cstdio>

#include "platform/failure_text.h"
#include "platform/win32_shared.h"

namespace {

// Direct3D's own codes, which the system's message table does not know.
const char* direct3dName(unsigned long code) {
  switch (code) {
    case 0x8876086Aul: return "D3DERR_NOTAVAILABLE";
    case 0x8876086Cul: return "D3DERR_INVALIDCALL";
    case 0x8876017Cul: return "D3DERR_OUTOFVIDEOMEMORY";
    case 0x88760868ul: return "D3DERR_DEVICELOST";
    case 0x88760869ul: return "D3DERR_DEVICENOTRESET";
    case 0x88760827ul: return "D3DERR_DRIVERINTERNALERROR";
    case 0x8876021Cul: return "D3DERR_WASSTILLDRAWING";
    case 0x88760b59ul: return "D3DXERR_INVALIDDATA";
    default: return nullptr;
  }
}

}  // namespace

std::string failedCall(const char* call, long code, const char* words) {
  const auto value = static_cast<unsigned long>(code);
  char number[16];
  std::snprintf(number, sizeof number, "0x%08lX", value);
  std::string text = std::string(call) + " failed (" + number;
  if (words && *words) {
    text += ": " + std::string(words);
  } else if (const char* name = direct3dName(value)) {
    text += ", " + std::string(name);
  } else {
    char system[512] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        static_cast<DWORD>(value), 0, system, sizeof system, nullptr);
    std::string said(system, length);
    while (!said.empty() && (said.back() == '\n' || said.back() == '\r' || said.back() == ' ')) said.pop_back();
    if (!said.empty()) text += ": " + said;
  }
  return platformFailure(text + ")");
}

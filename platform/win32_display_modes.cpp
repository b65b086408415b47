#include "platform/display_modes.h"
#include "platform/win32_shared.h"

bool displayModeAt(int index, int32_t& width, int32_t& height) {
  if (index < 0) return false;
  DEVMODEA mode = {};
  mode.dmSize = sizeof mode;
  if (!EnumDisplaySettingsA(nullptr, static_cast<DWORD>(index), &mode)) return false;
  width = static_cast<int32_t>(mode.dmPelsWidth);
  height = static_cast<int32_t>(mode.dmPelsHeight);
  return true;
}

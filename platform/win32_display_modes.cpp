#include "platform/display_modes.h"
#include "platform/win32_shared.h"

namespace {
bool modeNumbered(DWORD number, int32_t& width, int32_t& height) {
  DEVMODEA mode = {};
  mode.dmSize = sizeof mode;
  if (!EnumDisplaySettingsA(nullptr, number, &mode)) return false;
  width = static_cast<int32_t>(mode.dmPelsWidth);
  height = static_cast<int32_t>(mode.dmPelsHeight);
  return true;
}
}  // namespace

bool displayModeAt(int index, int32_t& width, int32_t& height) {
  return index >= 0 && modeNumbered(static_cast<DWORD>(index), width, height);
}

bool currentDisplayMode(int32_t& width, int32_t& height) {
  return modeNumbered(ENUM_CURRENT_SETTINGS, width, height) && width > 0 && height > 0;
}

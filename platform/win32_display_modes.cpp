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

// The system marks the end of its modes and a failure alike; a display
// without even a first mode cannot be read.
bool displayModeAt(int index, int32_t& width, int32_t& height, std::string* error) {
  if (index < 0) return false;
  if (modeNumbered(static_cast<DWORD>(index), width, height)) return true;
  if (index == 0) *error = failedCall("EnumDisplaySettingsA", static_cast<long>(GetLastError()));
  return false;
}

bool currentDisplayMode(int32_t& width, int32_t& height) {
  return modeNumbered(ENUM_CURRENT_SETTINGS, width, height) && width > 0 && height > 0;
}

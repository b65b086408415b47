#pragma once

// Pumps the window system's events, then answers whether Escape is down
// now or was pressed since the previous query. A close request from the
// window manager, the show's window destroyed from outside and a caught
// stop signal (platform/stop_signals.h) count as Escape.
bool escapePressed();

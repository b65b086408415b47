#pragma once

// Pumps the window system's events, then answers whether Escape is down
// now or was pressed since the previous query. A close request from the
// window manager counts as Escape.
bool escapePressed();

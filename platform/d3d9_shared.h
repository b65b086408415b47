// What the Direct3D 9 device shares with the window, the effects and the
// fonts inside platform/. Nothing outside platform/ includes this.
#pragma once

#include <d3d9.h>

#include <string>

// Creates the Direct3D object and the device on `window`: back buffer
// width x height, A8R8G8B8 with a D24S8 depth buffer, immediate
// presentation, full screen unless `windowed`. On failure returns false
// with the failing call named in *error; nothing stays created.
bool createD3d9Device(HWND window, int width, int height, bool windowed, std::string* error);
void releaseD3d9Device();

// The device; null while none exists.
IDirect3DDevice9* d3d9Device();

// Drawing happens inside a scene: the first draw of a frame begins it,
// presenting the frame (or reading a surface back) ends it.
void beginD3d9Scene();

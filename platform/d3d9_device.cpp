// The GPU device on Direct3D 9: render textures in the default pool with
// their level-0 surfaces, managed textures for pictures filled once, quads
// drawn from program memory as triangle strips of pre-transformed vertices,
// the plain texture copy by the fixed-function stage 0.
#include <d3d9.h>

#include <cstring>
#include <utility>

#include "platform/d3d9_shared.h"
#include "platform/failure_text.h"
#include "platform/gpu.h"
#include "platform/win32_shared.h"

struct GpuTexture {
  IDirect3DTexture9* texture;
  int width, height;
  GpuSurface* surface;  // render textures only
};

struct GpuSurface {
  IDirect3DSurface9* surface;
  int width, height;
};

namespace {

constexpr DWORD kQuadVertexFormat = D3DFVF_XYZRHW | D3DFVF_TEX1;
constexpr int kStages = 2;

struct D3d9Device {
  IDirect3D9* d3d = nullptr;
  IDirect3DDevice9* device = nullptr;
  GpuSurface backBuffer = {};
  bool inScene = false;    // from the frame's first draw to its presentation
  std::string firstError;  // since the last checkGpuErrors
};

D3d9Device state;

// Every failing call of the device comes through here: the first one since
// the last checkGpuErrors is kept for it.
bool succeeded(HRESULT result, const char* call) {
  if (SUCCEEDED(result)) return true;
  if (state.firstError.empty()) state.firstError = failedCall(call, result);
  return false;
}

std::string sizeText(int width, int height) { return std::to_string(width) + " x " + std::to_string(height); }

GpuTexture* createTextureObject(int width, int height, DWORD usage, D3DPOOL pool, std::string* error) {
  if (!state.device || width <= 0 || height <= 0) {
    *error = platformFailure("cannot create a texture of " + sizeText(width, height) + " pixels");
    return nullptr;
  }
  IDirect3DTexture9* texture = nullptr;
  const HRESULT result = state.device->CreateTexture(static_cast<UINT>(width), static_cast<UINT>(height), 1, usage,
                                                     D3DFMT_A8R8G8B8, pool, &texture, nullptr);
  if (FAILED(result)) {
    *error = platformFailure("could not create a texture of " + sizeText(width, height) + " pixels",
                             failedCall("CreateTexture", result));
    return nullptr;
  }
  return new GpuTexture{texture, width, height, nullptr};
}

// Quads meet the same pixels as on every other device: positions name pixel
// edges, so the Direct3D 9 rule (pixel centres on whole coordinates) is met
// by moving every vertex half a pixel up and left.
void toDirect3dPixels(const QuadVertex quad[4], QuadVertex shifted[4]) {
  for (int i = 0; i < 4; ++i) {
    shifted[i] = quad[i];
    shifted[i].x -= 0.5f;
    shifted[i].y -= 0.5f;
  }
}

// Quads lie at depth 0 and cover their whole target; nothing is culled,
// depth-tested or dithered. Stage 0 keeps its defaults: the texture's
// colour and alpha (times the default white), which is the plain copy.
void setDeviceDefaults() {
  IDirect3DDevice9* device = state.device;
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->SetRenderState(D3DRS_DITHERENABLE, FALSE);
  device->SetRenderState(D3DRS_LIGHTING, FALSE);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  for (DWORD stage = 0; stage < kStages; ++stage) {
    device->SetSamplerState(stage, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    device->SetSamplerState(stage, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    device->SetSamplerState(stage, D3DSAMP_MIPFILTER, D3DTEXF_NONE);
    device->SetSamplerState(stage, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
    device->SetSamplerState(stage, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
    device->SetSamplerState(stage, D3DSAMP_BORDERCOLOR, 0);  // transparent black
  }
  device->SetFVF(kQuadVertexFormat);
}

void endScene() {
  if (!state.inScene) return;
  succeeded(state.device->EndScene(), "EndScene");
  state.inScene = false;
}

}  // namespace

IDirect3DDevice9* d3d9Device() { return state.device; }

void beginD3d9Scene() {
  if (state.inScene || !state.device) return;
  state.inScene = succeeded(state.device->BeginScene(), "BeginScene");
}

bool createD3d9Device(HWND window, int width, int height, bool windowed, std::string* error) {
  state = D3d9Device{};
  state.d3d = Direct3DCreate9(D3D_SDK_VERSION);
  if (!state.d3d) {
    *error = platformFailure("Direct3DCreate9 failed", "Direct3D 9 is not available");
    return false;
  }
  D3DPRESENT_PARAMETERS present = {};
  present.BackBufferWidth = static_cast<UINT>(width);
  present.BackBufferHeight = static_cast<UINT>(height);
  present.BackBufferFormat = D3DFMT_A8R8G8B8;
  present.BackBufferCount = 1;
  present.MultiSampleType = D3DMULTISAMPLE_NONE;
  present.MultiSampleQuality = 0;
  present.SwapEffect = D3DSWAPEFFECT_DISCARD;
  present.hDeviceWindow = window;
  present.Windowed = windowed ? TRUE : FALSE;
  present.EnableAutoDepthStencil = TRUE;
  present.AutoDepthStencilFormat = D3DFMT_D24S8;
  present.Flags = 0;
  present.FullScreen_RefreshRateInHz = 0;
  present.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
  // Hardware vertex processing on a pure device first; the quads are
  // pre-transformed, so software vertex processing draws the same where
  // the hardware path is refused.
  HRESULT result = state.d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                           D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE, &present,
                                           &state.device);
  if (FAILED(result)) {
    result = state.d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                     D3DCREATE_SOFTWARE_VERTEXPROCESSING, &present, &state.device);
  }
  if (FAILED(result)) {
    *error = platformFailure(failedCall("CreateDevice", result),
                             "no Direct3D 9 device for a " + sizeText(width, height) +
                                 (windowed ? " window" : " full screen"));
    releaseD3d9Device();
    return false;
  }
  result = state.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &state.backBuffer.surface);
  if (FAILED(result)) {
    *error = failedCall("GetBackBuffer", result);
    releaseD3d9Device();
    return false;
  }
  state.backBuffer.width = width;
  state.backBuffer.height = height;
  setDeviceDefaults();
  return true;
}

void releaseD3d9Device() {
  if (state.device) endScene();
  if (state.backBuffer.surface) state.backBuffer.surface->Release();
  if (state.device) state.device->Release();
  if (state.d3d) state.d3d->Release();
  state = D3d9Device{};
}

GpuTexture* createTexture(int width, int height, std::string* error) {
  return createTextureObject(width, height, 0, D3DPOOL_MANAGED, error);
}

GpuTexture* createRenderTexture(int width, int height, std::string* error) {
  GpuTexture* texture = createTextureObject(width, height, D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT, error);
  if (!texture) return nullptr;
  IDirect3DSurface9* surface = nullptr;
  const HRESULT result = texture->texture->GetSurfaceLevel(0, &surface);
  if (FAILED(result)) {
    *error = platformFailure("cannot draw into a texture of " + sizeText(width, height) + " pixels",
                             failedCall("GetSurfaceLevel", result));
    releaseTexture(texture);
    return nullptr;
  }
  texture->surface = new GpuSurface{surface, width, height};
  return texture;
}

GpuSurface* textureSurface(GpuTexture* texture) { return texture ? texture->surface : nullptr; }

GpuSurface* backBufferSurface() { return state.backBuffer.surface ? &state.backBuffer : nullptr; }

uint32_t* lockTexture(GpuTexture* texture, int* pitch, std::string* error) {
  if (!texture) {
    if (error) *error = platformFailure("no texture to lock");
    return nullptr;
  }
  D3DLOCKED_RECT locked = {};
  const HRESULT result = texture->texture->LockRect(0, &locked, nullptr, 0);
  if (FAILED(result)) {
    if (error) *error = failedCall("LockRect", result);
    return nullptr;
  }
  *pitch = locked.Pitch / 4;
  return static_cast<uint32_t*>(locked.pBits);
}

void unlockTexture(GpuTexture* texture) {
  if (texture) succeeded(texture->texture->UnlockRect(0), "UnlockRect");
}

void releaseTexture(GpuTexture* texture) {
  if (!texture) return;
  if (texture->surface) {
    texture->surface->surface->Release();
    delete texture->surface;
  }
  texture->texture->Release();
  delete texture;
}

void setRenderTarget(GpuSurface* surface) {
  if (surface && state.device) succeeded(state.device->SetRenderTarget(0, surface->surface), "SetRenderTarget");
}

void setTexture(int stage, GpuTexture* texture) {
  if (stage < 0 || stage >= kStages || !state.device) return;
  succeeded(state.device->SetTexture(static_cast<DWORD>(stage), texture ? texture->texture : nullptr), "SetTexture");
}

void setSamplerState(int stage, SamplerFilter magnification, SamplerAddress address) {
  if (stage < 0 || stage >= kStages || !state.device) return;
  const auto s = static_cast<DWORD>(stage);
  const DWORD filter = magnification == SamplerFilter::linear ? D3DTEXF_LINEAR : D3DTEXF_POINT;
  const DWORD mode = address == SamplerAddress::border ? D3DTADDRESS_BORDER : D3DTADDRESS_WRAP;
  state.device->SetSamplerState(s, D3DSAMP_MAGFILTER, filter);
  state.device->SetSamplerState(s, D3DSAMP_ADDRESSU, mode);
  state.device->SetSamplerState(s, D3DSAMP_ADDRESSV, mode);
}

void setBlendMode(BlendMode mode) {
  IDirect3DDevice9* device = state.device;
  if (!device) return;
  switch (mode) {
    case BlendMode::off:
      device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
      return;
    case BlendMode::add:
      device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
      device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
      break;
    case BlendMode::alphaBlend:
      device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
      device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
      break;
  }
  device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
  device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
}

void drawQuad(const QuadVertex quad[4]) {
  if (!state.device) return;
  QuadVertex shifted[4];
  toDirect3dPixels(quad, shifted);
  // Effects and text drawing may leave another vertex format behind.
  state.device->SetFVF(kQuadVertexFormat);
  beginD3d9Scene();
  succeeded(state.device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, shifted, sizeof(QuadVertex)), "DrawPrimitiveUP");
}

void presentFrame() {
  if (!state.device) return;
  endScene();
  succeeded(state.device->Present(nullptr, nullptr, nullptr, nullptr), "Present");
}

void finishGpuWork() {
  endScene();
  IDirect3DQuery9* query = nullptr;
  if (!state.device || !succeeded(state.device->CreateQuery(D3DQUERYTYPE_EVENT, &query), "CreateQuery")) return;
  query->Issue(D3DISSUE_END);
  while (query->GetData(nullptr, 0, D3DGETDATA_FLUSH) == S_FALSE) {
  }
  query->Release();
}

void surfaceSize(GpuSurface* surface, int* width, int* height) {
  *width = surface ? surface->width : 0;
  *height = surface ? surface->height : 0;
}

void readSurface(GpuSurface* surface, uint8_t* rgba) {
  if (!surface || !state.device) return;
  endScene();
  IDirect3DSurface9* copy = nullptr;
  if (!succeeded(state.device->CreateOffscreenPlainSurface(static_cast<UINT>(surface->width),
                                                           static_cast<UINT>(surface->height), D3DFMT_A8R8G8B8,
                                                           D3DPOOL_SYSTEMMEM, &copy, nullptr),
                 "CreateOffscreenPlainSurface"))
    return;
  D3DLOCKED_RECT locked = {};
  if (succeeded(state.device->GetRenderTargetData(surface->surface, copy), "GetRenderTargetData") &&
      succeeded(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY), "LockRect")) {
    // Texels are B, G, R, A in memory.
    for (int y = 0; y < surface->height; ++y) {
      const auto* row = static_cast<const uint8_t*>(locked.pBits) + static_cast<ptrdiff_t>(y) * locked.Pitch;
      uint8_t* out = rgba + static_cast<size_t>(y) * static_cast<size_t>(surface->width) * 4;
      for (int x = 0; x < surface->width; ++x) {
        out[4 * x + 0] = row[4 * x + 2];
        out[4 * x + 1] = row[4 * x + 1];
        out[4 * x + 2] = row[4 * x + 0];
        out[4 * x + 3] = row[4 * x + 3];
      }
    }
    copy->UnlockRect();
  }
  copy->Release();
}

bool checkGpuErrors(std::string* error) {
  if (state.firstError.empty()) return true;
  *error = std::move(state.firstError);
  state.firstError.clear();
  return false;
}

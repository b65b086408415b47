// Font objects and text drawing with D3DX 9: one ID3DXFont per font object;
// between beginTextDrawing and endTextDrawing the text of all fonts goes
// through one sprite, in the order it is drawn.
#include <d3dx9.h>

#include <algorithm>
#include <vector>

#include "platform/d3d9_shared.h"
#include "platform/failure_text.h"
#include "platform/font.h"
#include "platform/win32_shared.h"

struct TextFont {
  ID3DXFont* font;
};

namespace {

struct D3dxText {
  std::vector<TextFont*> fonts;
  ID3DXSprite* sprite = nullptr;
  bool drawing = false;  // inside beginTextDrawing / endTextDrawing
};

D3dxText state;

}  // namespace

bool prepareTextDrawing(std::string* error) {
  IDirect3DDevice9* device = d3d9Device();
  if (!device) {
    *error = platformFailure("there is no graphics device to draw text with");
    return false;
  }
  if (state.sprite) return true;
  const HRESULT result = D3DXCreateSprite(device, &state.sprite);
  if (FAILED(result)) {
    state.sprite = nullptr;
    *error = failedCall("D3DXCreateSprite", result);
    return false;
  }
  return true;
}

TextFont* createFont(int32_t height, int32_t width, const char* faceName, std::string* error) {
  if (!prepareTextDrawing(error)) return nullptr;
  // D3DX would quietly substitute another face for a missing one.
  if (!fontFamilyAvailable(faceName)) {
    *error = noInstalledFontFailure(faceName);
    return nullptr;
  }
  ID3DXFont* font = nullptr;
  const HRESULT result =
      D3DXCreateFontA(d3d9Device(), height, static_cast<UINT>(std::max(width, 0)), 0, 0, FALSE, ANSI_CHARSET,
                      OUT_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, faceName, &font);
  if (FAILED(result)) {
    *error = failedCall("D3DXCreateFontA", result);
    return nullptr;
  }
  state.fonts.push_back(new TextFont{font});
  return state.fonts.back();
}

void releaseFontObjects() {
  endTextDrawing();
  for (TextFont* font : state.fonts) {
    font->font->Release();
    delete font;
  }
  if (state.sprite) state.sprite->Release();
  state = D3dxText{};
}

void drawText(TextFont* font, const char* text, const FontRect& rect, uint32_t colour) {
  if (!font || !text) return;
  beginD3d9Scene();
  // Centred on the mid-point, which swapping the edges of an inverted
  // rectangle keeps.
  RECT box = {std::min(rect.left, rect.right), std::min(rect.top, rect.bottom), std::max(rect.left, rect.right),
              std::max(rect.top, rect.bottom)};
  font->font->DrawTextA(state.drawing ? state.sprite : nullptr, text, -1, &box,
                        DT_CENTER | DT_VCENTER | DT_NOCLIP | DT_SINGLELINE, colour);
}

void beginTextDrawing() {
  std::string unused;  // drawing without the resources draws nothing
  if (state.drawing || !prepareTextDrawing(&unused)) return;
  beginD3d9Scene();
  // Without D3DXSPRITE_DONOTSAVESTATE the sprite restores at End what it changed.
  state.drawing = SUCCEEDED(state.sprite->Begin(D3DXSPRITE_ALPHABLEND));
}

void endTextDrawing() {
  if (!state.drawing) return;
  state.sprite->End();
  state.drawing = false;
}

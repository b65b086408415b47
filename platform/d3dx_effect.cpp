// Effects on D3DX 9: the effect text is compiled as it is, its first
// technique is the one drawn, passes are addressed by number and
// parameters by name. A parameter set while a pass is in progress reaches
// that pass at once.
#include <d3dx9.h>

#include <cstring>

#include "platform/d3d9_shared.h"
#include "platform/effect.h"
#include "platform/failure_text.h"
#include "platform/win32_shared.h"

struct Effect {
  ID3DXEffect* effect;
  int passCount;
  bool begun;
  bool inPass;
};

namespace {

// The one place a failed effect call becomes words.
Effect* refuse(std::string* error, const std::string& why, ID3DXEffect* compiled) {
  if (compiled) compiled->Release();
  *error = platformFailure(why);
  return nullptr;
}

bool setParameter(Effect* effect, const char* name, HRESULT (*set)(ID3DXEffect*, D3DXHANDLE, const float*),
                  const float* value) {
  if (!effect || !name) return false;
  const D3DXHANDLE parameter = effect->effect->GetParameterByName(nullptr, name);
  if (!parameter || FAILED(set(effect->effect, parameter, value))) return false;
  if (effect->inPass) effect->effect->CommitChanges();
  return true;
}

}  // namespace

Effect* createEffect(const char* text, std::string* error) {
  IDirect3DDevice9* device = d3d9Device();
  if (!text || !device) return refuse(error, "no effect text or no graphics device", nullptr);
  ID3DXEffect* compiled = nullptr;
  ID3DXBuffer* messages = nullptr;
  // The text is handed over with its terminating NUL counted.
  const HRESULT result = D3DXCreateEffect(device, text, static_cast<UINT>(std::strlen(text) + 1), nullptr, nullptr,
                                          0, nullptr, &compiled, &messages);
  std::string said;
  if (messages) {
    said = static_cast<const char*>(messages->GetBufferPointer());
    messages->Release();
  }
  if (FAILED(result) || !compiled) {
    return refuse(error, said.empty() ? failedCall("D3DXCreateEffect", result) : said, compiled);
  }
  const D3DXHANDLE technique = compiled->GetTechnique(0);
  D3DXTECHNIQUE_DESC description = {};
  if (!technique || FAILED(compiled->GetTechniqueDesc(technique, &description)) || description.Passes == 0) {
    return refuse(error, "the effect text has no technique with a pass", compiled);
  }
  const HRESULT chosen = compiled->SetTechnique(technique);
  if (FAILED(chosen)) return refuse(error, failedCall("SetTechnique", chosen), compiled);
  return new Effect{compiled, static_cast<int>(description.Passes), false, false};
}

void releaseEffect(Effect* effect) {
  if (!effect) return;
  endEffect(effect);
  effect->effect->Release();
  delete effect;
}

int effectPassCount(const Effect* effect) { return effect ? effect->passCount : 0; }

bool setEffectFloat(Effect* effect, const char* name, float value) {
  return setParameter(
      effect, name, [](ID3DXEffect* e, D3DXHANDLE h, const float* v) { return e->SetFloat(h, *v); }, &value);
}

bool setEffectVector(Effect* effect, const char* name, const float value[4]) {
  return setParameter(
      effect, name,
      [](ID3DXEffect* e, D3DXHANDLE h, const float* v) {
        const D3DXVECTOR4 vector(v[0], v[1], v[2], v[3]);
        return e->SetVector(h, &vector);
      },
      value);
}

// D3DXMATRIX is row after row too, and the effect's `mul(v, m)` is v * M.
bool setEffectMatrix(Effect* effect, const char* name, const float rows[16]) {
  return setParameter(
      effect, name,
      [](ID3DXEffect* e, D3DXHANDLE h, const float* v) {
        const D3DXMATRIX matrix(v);
        return e->SetMatrix(h, &matrix);
      },
      rows);
}

void beginEffect(Effect* effect) {
  if (!effect || effect->begun) return;
  UINT passes = 0;
  // Flags 0: the device state the passes change is restored at End.
  effect->begun = SUCCEEDED(effect->effect->Begin(&passes, 0));
}

void beginPass(Effect* effect, int pass) {
  if (!effect || !effect->begun || effect->inPass || pass < 0 || pass >= effect->passCount) return;
  beginD3d9Scene();
  effect->inPass = SUCCEEDED(effect->effect->BeginPass(static_cast<UINT>(pass)));
}

void endPass(Effect* effect) {
  if (!effect || !effect->inPass) return;
  effect->effect->EndPass();
  effect->inPass = false;
  // Outside a pass quads are plain texture copies.
  d3d9Device()->SetPixelShader(nullptr);
  d3d9Device()->SetVertexShader(nullptr);
}

void endEffect(Effect* effect) {
  if (!effect || !effect->begun) return;
  endPass(effect);
  effect->effect->End();
  effect->begun = false;
}

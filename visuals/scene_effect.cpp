#include "visuals/scene_effect.h"

#include "platform/effect.h"
#include "visuals/effect_texts.h"

Effect* effect = nullptr;

bool compileSceneEffect(bool postProcess, std::string* error) {
  effect = createEffect(postProcess ? effectTextB : effectTextA, error);
  return effect != nullptr;
}

void setEffectValues(const EffectValues& values) {
  setEffectVector(effect, "e", values.e);
  setEffectMatrix(effect, "m", &values.m.m[0][0]);
  setEffectFloat(effect, "t", values.t);
  setEffectFloat(effect, "u", values.u);
}

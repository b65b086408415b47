#include "host/intro_config.h"

IntroConfig* config = nullptr;

void setIntroDefaults(IntroConfig& record, int32_t instance) {
  record.instance = instance;
  record.threadedSound = 1;
  record.postProcess = 1;
  record.width = 1280;
  record.height = 720;
  record.windowed = 0;
}

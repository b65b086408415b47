// The web page around the show: its address's parameters, its title, its
// notices, the browser's animation frames, the start panel, the audio
// start, and the console line that names the song it made. The page's
// program is driven by the browser: each of these answers through a
// callback, never by waiting.
#pragma once

#include <cstdint>
#include <string>

#include "platform/audio_output.h"
#include "platform/setup_window.h"

// The value of the page address's parameter `name`, from its fragment
// (#still=8&size=640x360) or else its query; false when the address has no
// such parameter ("" for one without a value).
bool pageParameter(const char* name, std::string* value);

// Calls `changed` whenever the address's fragment changes (a link or the
// history within the page), after the page has taken the new address.
void onAddressChange(void (*changed)());

void setPageTitle(const char* title);

// A line of text over the show that does not stop it (sound that cannot
// start); "" takes it away.
void showPageNotice(const char* text);

// Calls `frame` once per animation frame of the browser until it returns
// false.
void startAnimationFrames(bool (*frame)());

// Shows the setup panel with the content's texts and controls, or answers
// START at once with what it was given where the address has `autostart`.
// `answered` gets 1 with the choice after START, 0 after CANCEL.
using PanelAnswered = void (*)(int result, const SetupWindowChoice* choice);
void openSetupPanel(const SetupWindowContent& content, PanelAnswered answered);

// Hides the panel unanswered; its callback is not called.
void closeSetupPanel();

// Gets the page's audio ready for openAudioOutput at `sampleRate`: the
// browser may let it play only after a click or key, so the answer comes
// later, through `ready` (also when it cannot play: openAudioOutput then
// says why).
void prepareAudioOutput(uint32_t sampleRate, void (*ready)());

// False, with the reason, where the browser offers no WebGL 2.
bool webGl2Available(std::string* error);

// Writes "song digest: <16 hex digits>", the FNV-1a 64 digest of the
// block's bytes, as one console line.
void reportBlockDigest(const AudioBlock& block);

// The one wording of the web backend's failures: `what`, then the reason
// the browser or the page gave.
std::string webFailure(const std::string& what, const std::string& reason);

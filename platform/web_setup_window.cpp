// The setup window as a panel in the page: the same texts, controls, order
// and keys (Enter starts, Escape cancels); START and CANCEL take a click or
// a touch. START asks the browser for full screen while its click still
// counts as the viewer's gesture. With the page's `autostart` parameter the
// panel answers START with what it was given, without showing itself. The
// answer comes through a callback, in the click's own turn.
#include <emscripten/emscripten.h>

#include <string>

#include "platform/failure_text.h"
#include "platform/setup_window.h"
#include "platform/web_page.h"

namespace {

struct WebPanel {
  PanelAnswered answered = nullptr;
};

WebPanel panel;

using PackedAnswer = void (*)(int answer);

// The answer packed in one number: bit 0 START, bit 1 the box ticked, the
// selected entry + 1 from bit 2 on.
EM_JS(void, showPanel,
      (const char* caption, const char* banner, const char* rule, const char* resolutionLabel,
       const char* fullScreenLabel, const char* startText, const char* cancelText, const char* modeTexts,
       int selected, bool ticked, PackedAnswer answer),
      {
  const panel = document.getElementById("panel");
  const text = pointer => UTF8ToString(pointer);
  const pack = (start, entry, box) => (start ? 1 : 0) | (box ? 2 : 0) | ((entry + 1) << 2);
  const reply = packed => {
    try {
      getWasmTableEntry(answer)(packed);
    } catch (failure) {
      if (failure !== "unwind") throw failure;
    }
  };
  const askFullScreen = () => {
    const stage = document.getElementById("stage");
    if (stage.requestFullscreen) stage.requestFullscreen().catch(() => {});
  };
  document.title = text(caption);
  // autostart answers once: the panel shows itself after that show.
  const address = new URL(location.href);
  if (address.searchParams.has("autostart")) {
    address.searchParams.delete("autostart");
    history.replaceState(history.state, "", address.href);
    if (ticked) askFullScreen();
    const packed = pack(true, selected, ticked);
    setTimeout(() => reply(packed), 0);
    return;
  }
  const element = (tag, properties) => Object.assign(document.createElement(tag), properties);
  const list = element("select", {size: 6, id: "modes"});
  text(modeTexts).split("\n").filter(entry => entry.length > 0).forEach((entry, index) => {
    list.append(element("option", {textContent: entry, value: String(index), selected: index === selected}));
  });
  const box = element("input", {type: "checkbox", id: "fullscreen", checked: ticked});
  const start = element("button", {textContent: text(startText), id: "start"});
  const cancel = element("button", {textContent: text(cancelText), id: "cancel"});
  const row = (label, control, id) => {
    const line = element("div", {className: "row"});
    line.append(element("label", {textContent: text(label), htmlFor: id}), control);
    return line;
  };
  const buttons = element("div", {className: "buttons"});
  buttons.append(start, cancel);
  panel.replaceChildren(element("h1", {textContent: text(banner)}), element("pre", {textContent: text(rule)}),
                        row(resolutionLabel, list, "modes"), row(fullScreenLabel, box, "fullscreen"), buttons);
  panel.hidden = false;
  start.focus();
  const finish = started => {
    removeEventListener("keydown", onKey, true);
    panel.hidden = true;
    if (started && box.checked) askFullScreen();
    reply(pack(started, list.selectedIndex, box.checked));
  };
  const onKey = event => {
    if (panel.hidden) {
      removeEventListener("keydown", onKey, true);
      return;
    }
    if (event.key !== "Enter" && event.key !== "Escape") return;
    event.preventDefault();
    finish(event.key === "Enter");
  };
  addEventListener("keydown", onKey, true);
  start.onclick = () => finish(true);
  cancel.onclick = () => finish(false);
});

EM_JS(void, hidePanel, (), { document.getElementById("panel").hidden = true; });

void panelAnswered(int answer) {
  SetupWindowChoice choice;
  choice.fullScreenTicked = (answer & 2) != 0;
  choice.selected = (answer >> 2) - 1;
  const PanelAnswered answered = panel.answered;
  panel.answered = nullptr;
  if (answered) answered(answer & 1, &choice);
}

}  // namespace

void openSetupPanel(const SetupWindowContent& content, PanelAnswered answered) {
  panel.answered = answered;
  std::string modes;
  for (const std::string& mode : content.modeTexts) modes += mode + "\n";
  showPanel(content.caption.c_str(), content.banner.c_str(), content.rule.c_str(), content.resolutionLabel.c_str(),
            content.fullScreenLabel.c_str(), content.startText.c_str(), content.cancelText.c_str(), modes.c_str(),
            content.selected, content.fullScreenTicked, panelAnswered);
}

void closeSetupPanel() {
  panel.answered = nullptr;
  hidePanel();
}

// A page's panel cannot hold its caller until it is answered: it answers
// through openSetupPanel's callback instead.
int runSetupWindow(const SetupWindowContent&, SetupWindowChoice&, std::string* error) {
  *error = platformFailure("could not open the setup dialog", "a page's panel answers through openSetupPanel");
  return -1;
}

// The setup window as a panel in the page: the same texts, controls, order
// and keys (Enter starts, Escape cancels). START asks the browser for full
// screen while its click still counts as the viewer's gesture. With the
// page's `autostart` parameter the panel answers START with what it was
// given, without showing itself.
#include <emscripten/emscripten.h>

#include <string>

#include "platform/setup_window.h"

namespace {

// The answer packed in one number: bit 0 START, bit 1 the box ticked, the
// selected entry + 1 from bit 2 on.
EM_ASYNC_JS(int, runPanel,
            (const char* caption, const char* banner, const char* rule, const char* resolutionLabel,
             const char* fullScreenLabel, const char* startText, const char* cancelText, const char* modeTexts,
             int selected, bool ticked),
            {
  const panel = document.getElementById("panel");
  const text = pointer => UTF8ToString(pointer);
  const pack = (start, entry, box) => (start ? 1 : 0) | (box ? 2 : 0) | ((entry + 1) << 2);
  const askFullScreen = () => {
    const stage = document.getElementById("stage");
    if (stage.requestFullscreen) stage.requestFullscreen().catch(() => {});
  };
  document.title = text(caption);
  if (new URLSearchParams(location.search).has("autostart")) {
    if (ticked) askFullScreen();
    return pack(true, selected, ticked);
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
  return await new Promise(resolve => {
    const finish = started => {
      removeEventListener("keydown", onKey, true);
      panel.hidden = true;
      if (started && box.checked) askFullScreen();
      resolve(pack(started, list.selectedIndex, box.checked));
    };
    const onKey = event => {
      if (event.key !== "Enter" && event.key !== "Escape") return;
      event.preventDefault();
      finish(event.key === "Enter");
    };
    addEventListener("keydown", onKey, true);
    start.onclick = () => finish(true);
    cancel.onclick = () => finish(false);
  });
});

}  // namespace

int runSetupWindow(const SetupWindowContent& content, SetupWindowChoice& choice) {
  std::string modes;
  for (const std::string& mode : content.modeTexts) modes += mode + "\n";
  const int answer = runPanel(content.caption.c_str(), content.banner.c_str(), content.rule.c_str(),
                              content.resolutionLabel.c_str(), content.fullScreenLabel.c_str(),
                              content.startText.c_str(), content.cancelText.c_str(), modes.c_str(), content.selected,
                              content.fullScreenTicked);
  if ((answer & 1) == 0) return 0;
  choice.fullScreenTicked = (answer & 2) != 0;
  choice.selected = (answer >> 2) - 1;
  return 1;
}

// The page's font files (platform/web_font.cpp), fetched and handed to the
// browser as FontFaces before the program starts: each
// <link rel="preload" as="fetch" type="font/ttf" href="..."> of the page.
// files[href] holds the bytes (null when the fetch failed, with the HTTP
// status, 0 for no answer) and the loaded face (null when the browser
// refused it).
var webFont = {files: {}, installed: null, glyphCanvas: null};
Module["preRun"] = [].concat(Module["preRun"] || [], () => {
  document.querySelectorAll('link[rel="preload"][as="fetch"][type="font/ttf"]').forEach((link, index) => {
    const name = link.getAttribute("href");
    const file = webFont.files[name] = {bytes: null, status: 0, face: null};
    addRunDependency("font " + name);
    fetch(link.href)
      .then(response => {
        file.status = response.status;
        return response.ok ? response.arrayBuffer() : null;
      })
      .then(bytes => {
        if (!bytes) return;
        file.bytes = new Uint8Array(bytes);
        const face = new FontFace("page-font-" + index, bytes);
        return face.load().then(() => { file.face = face; }, () => {});
      })
      .catch(() => {})
      .finally(() => removeRunDependency("font " + name));
  });
});

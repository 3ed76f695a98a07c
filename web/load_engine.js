// Starts compiling the engine's WebAssembly while the rest of the page is still being read: its
// bytes are gzip'd, in base64, in the inert element before this script. The browser decodes them
// (a data: address), inflates them and compiles them as they come; the engine's script
// (Project1Engine) instantiates the compiled module once it runs, by window.project1Wasm.
"use strict";
window.project1Wasm = (function () {
  if (typeof WebAssembly !== "object") return Promise.reject(new Error("it does not run WebAssembly."));
  if (typeof DecompressionStream !== "function") {
    return Promise.reject(new Error("it cannot unpack the engine (it has no DecompressionStream)."));
  }
  const code = document.getElementById("engine-code");
  const text = code.textContent;
  code.remove();
  return fetch("data:application/octet-stream;base64," + text).then((response) => {
    const bytes = new Response(response.body.pipeThrough(new DecompressionStream("gzip")),
                               { headers: { "Content-Type": "application/wasm" } });
    if (typeof WebAssembly.compileStreaming === "function") return WebAssembly.compileStreaming(bytes);
    return bytes.arrayBuffer().then((buffer) => WebAssembly.compile(buffer));
  });
})();
// A failure is said by the page's script when it asks for the engine.
window.project1Wasm.catch(() => {});

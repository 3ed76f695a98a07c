// Starts compiling the engine's WebAssembly before the rest of the page is read: its bytes are
// gzip'd, in base64, in the inert element before this script. They are decoded here at once and
// inflated and compiled as they come, by the browser, while the page goes on; the engine's script
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
  let gzipped;
  if (typeof Uint8Array.fromBase64 === "function") {
    gzipped = Uint8Array.fromBase64(text);
  } else {
    const binary = atob(text);
    gzipped = new Uint8Array(binary.length);
    for (let i = 0; i < binary.length; ++i) gzipped[i] = binary.charCodeAt(i);
  }
  const bytes = new Response(new Response(gzipped).body.pipeThrough(new DecompressionStream("gzip")),
                             { headers: { "Content-Type": "application/wasm" } });
  if (typeof WebAssembly.compileStreaming === "function") return WebAssembly.compileStreaming(bytes);
  return bytes.arrayBuffer().then((buffer) => WebAssembly.compile(buffer));
})();
// A failure is said by the page's script when it asks for the engine.
window.project1Wasm.catch(() => {});

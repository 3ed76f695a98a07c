// Puts the page together as one file: the HTML with its styles, the engine's WebAssembly (gzip'd,
// in base64, in an inert element near the top, so that the browser starts compiling it early), the
// script that starts that, the engine's script and the page's script inline.
//   node web/make_page.js [--app] PAGE.html PAGE.css PAGE.js LOADER.js ENGINE.js ENGINE.wasm OUT.html
"use strict";
const crypto = require("crypto");
const fs = require("fs");
const zlib = require("zlib");

const args = process.argv.slice(2);
// --app: the page for a web server, installable: its manifest and icons beside it, and a service
// worker from the same folder that keeps it for offline use.
const app = args[0] === "--app";
if (app) args.shift();
const [page, style, script, loader, engine, wasm, out] = args;
if (!out) {
  console.error("usage: node make_page.js [--app] PAGE.html PAGE.css PAGE.js LOADER.js ENGINE.js " +
                "ENGINE.wasm OUT.html");
  process.exit(2);
}
// A script's text must not close its element early.
const inScript = (text) => text.replace(/<\/(script)/gi, "<\\/$1");
// A script without its lines of comment, which are for its readers.
const uncommented = (file) => inScript(fs.readFileSync(file, "utf8").replace(/^[ \t]*\/\/.*\n/gm, ""));
const parts = {
  "/*STYLE*/": fs.readFileSync(style, "utf8"),
  // Base64 holds no "<", so it cannot close its element.
  "/*WASM*/": zlib.gzipSync(fs.readFileSync(wasm), { level: 9 }).toString("base64"),
  "/*LOADER*/": uncommented(loader),
  "/*ENGINE*/": inScript(fs.readFileSync(engine, "utf8")),
  "/*SCRIPT*/": uncommented(script),
};
let html = fs.readFileSync(page, "utf8");
// The content security policy runs the three inline scripts by their hashes, and so no other
// script: no inline event handler, whatever text ever reaches the page as markup. The element of
// the WebAssembly is not a script the browser runs (its type is not JavaScript's).
const hash = (text) => "'sha256-" + crypto.createHash("sha256").update(text, "utf8").digest("base64") + "'";
parts["SCRIPT-HASHES"] = [parts["/*LOADER*/"], parts["/*ENGINE*/"], parts["/*SCRIPT*/"]].map(hash).join(" ");
parts["; APP-POLICY"] = app ? "; worker-src 'self'; manifest-src 'self'" : "";
parts[" IMAGES-FROM-SELF"] = app ? " 'self'" : "";
parts["<!--APP-->"] = app ? '<link rel="manifest" href="manifest.webmanifest">\n' +
  '<link rel="icon" href="icon-192.png">' : "";
for (const [mark, text] of Object.entries(parts)) {
  const at = html.indexOf(mark);
  if (at < 0 || html.indexOf(mark, at + 1) >= 0) {
    console.error(`${page} must hold ${mark} exactly once`);
    process.exit(1);
  }
  html = html.slice(0, at) + text + html.slice(at + mark.length);
}
fs.writeFileSync(out, html);

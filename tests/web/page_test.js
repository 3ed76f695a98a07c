// The page in Debian's chromium, driven by puppeteer-core: opened from file:// with every
// network request blocked and counted, used as a user would (picking and typing an oil, Enter
// and the button, each kind of failing step, the table's download, an address with inputs, the
// keyboard alone), checked by axe-core in both colour schemes, and photographed for the README.
// Every expected text comes from the native build of the same engine (page_answers), and the
// numbers by a law other than the window's, and the refusals, from the tool (VISCOSITY).
//   node page_test.js PAGE.html PAGE_ANSWERS VISCOSITY [--screenshots DIR]
//   node page_test.js PAGE.html --bench [OUT.json]   the timings, printed and written to OUT.json
"use strict";
const assert = require("assert");
const fs = require("fs");
const http = require("http");
const os = require("os");
const path = require("path");
const { execFileSync } = require("child_process");
const puppeteer = require("puppeteer-core");

const args = process.argv.slice(2);
const [pagePath, answersPath, toolPath] = args;
const screenshots = args.includes("--screenshots") ? args[args.indexOf("--screenshots") + 1] : null;
const bench = args[1] === "--bench";
const benchOut = bench ? args[2] : null;
if (!answersPath || (!bench && !toolPath)) {
  console.error("usage: node page_test.js PAGE.html PAGE_ANSWERS VISCOSITY [--screenshots DIR]\n" +
                "       node page_test.js PAGE.html --bench [OUT.json]");
  process.exit(2);
}
const pageUrl = "file://" + path.resolve(pagePath);
const deadline = 30000;

// The native answer for the inputs in the page's order of the engine's call.
function expected(inputs) {
  const line = [inputs.visc40, inputs.visc100, inputs.temp1, inputs.temp2, inputs.gravity,
                inputs.picked || "", inputs.law || "walther", inputs.chartWidth || "",
                inputs.chartHeight || ""].join("\t") + "\n";
  return JSON.parse(execFileSync(answersPath, { input: line }).toString("utf8"));
}

// The native answer of the bearing box for `asked`, by the engine's names.
const bearingKeys = ["visc40", "visc100", "law", "dm", "speed", "temperature", "type", "rating",
                     "load", "fatigueLoad", "reliability", "cleanliness"];
function expectedBearing(asked) {
  const line = ["bearing", ...bearingKeys.map((key) => asked[key] || "")].join("\t") + "\n";
  return JSON.parse(execFileSync(answersPath, { input: line }).toString("utf8"));
}

// Fills the bearing box: its boxes by id, its lists by the choice's name.
async function fillBearing(page, boxes) {
  for (const [id, text] of Object.entries(boxes)) {
    if ((await page.$eval(`#${id}`, (e) => e.tagName)) === "SELECT") {
      await page.select(`#${id}`, text);
    } else {
      await page.$eval(`#${id}`, (e) => { e.value = ""; });
      await page.type(`#${id}`, text);
    }
  }
}
const bearingAnswer = (page) => page.$$eval("#bearing-answer dd", (list) => list.map((e) => e.textContent));
const rollerBearing = { dm: "380", speed: "500", running: "100", "bearing-type": "roller",
                        rating: "1600", load: "200", fatigue: "140", reliability: "95",
                        cleanliness: "normal" };

// The tool's answer to `args`: its JSON, or its message when it refuses.
function tool(args) {
  try {
    const out = execFileSync(toolPath, [...args, "--format", "json"], { stdio: "pipe" });
    return { json: JSON.parse(out.toString("utf8")) };
  } catch (error) {
    return { message: error.stderr.toString("utf8").replace(/^viscosity: /, "").trimEnd() };
  }
}

// Whether `text`, a number as the page shows it ("412,753.932", ".0000108"), is `number` rounded
// to the digits shown.
function showsNumber(text, number) {
  const decimals = (text.split(".")[1] || "").replace(/\D.*$/, "").length;
  const shown = Number(text.replace(/,/g, "").replace(/ .*$/, ""));
  return Math.abs(shown - number) <= 0.5 * 10 ** -decimals * (1 + 1e-9);
}

const starting = { visc40: "320", visc100: "35", temp1: "71", temp2: "150", gravity: "0.87" };
const names = {
  visc40: "Viscosity at 40 °C, cSt",
  visc100: "Viscosity at 100 °C, cSt",
  gravity: "Specific Gravity",
  temp1: "First reference temperature, °C",
  temp2: "Second reference temperature, °C",
};
const resultNames = [
  "Calculated viscosity at the first reference temperature, cSt",
  "Calculated viscosity at the second reference temperature, cSt",
  "Dynamic viscosity at the first reference temperature, reyn",
  "Dynamic viscosity at the second reference temperature, reyn",
];
const button = "Calculate Viscosity at Reference Temperature";

async function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "project1-chromium-"));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    headless: true,
    userDataDir: profile,
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
           "--disable-background-networking", "--disable-component-update", "--disable-sync"],
  });
  return { browser, profile };
}

// A page whose every request but the page file itself is blocked and counted, and whose script
// errors are kept.
async function openPage(browser, fragment = "", width = 1280, height = 900) {
  const page = await browser.newPage();
  await page.setViewport({ width, height });
  page.blocked = [];
  page.errors = [];
  page.on("pageerror", (error) => page.errors.push(error.message));
  page.on("console", (message) => {
    if (message.type() === "error") page.errors.push(message.text().slice(0, 200));
  });
  await page.setRequestInterception(true);
  page.on("request", (request) => {
    // The page file itself, and data: addresses, which reach no network.
    if (request.url().split("#")[0] === pageUrl || request.url().startsWith("data:")) {
      return request.continue();
    }
    page.blocked.push(request.url().slice(0, 200));
    return request.abort();
  });
  await page.goto(pageUrl + fragment);
  await page.waitForFunction(() => document.documentElement.dataset.ready === "true",
                             { timeout: deadline });
  return page;
}

// Whether the chart shows exactly the native build's SVG for `inputs` at the size it is drawn,
// both read back the way the page holds them.
async function chartShows(page, inputs) {
  const [chartWidth, chartHeight] = await page.$eval("#chart svg", (svg) =>
    [svg.getAttribute("width"), svg.getAttribute("height")]);
  const svg = expected({ ...inputs, chartWidth, chartHeight }).chartSvg;
  return page.$eval("#chart", (chart, text) => {
    const copy = document.createElement("figure");
    copy.innerHTML = text;
    return chart.innerHTML === copy.innerHTML;
  }, svg);
}

const byName = (page, name) => page.waitForSelector(`::-p-aria(${name})`, { timeout: deadline });
const valueOf = async (page, name) => (await byName(page, name)).evaluate((e) => e.value);
const results = (page) => Promise.all(resultNames.map((name) => valueOf(page, name)));

async function type(page, name, text) {
  const box = await byName(page, name);
  await box.click({ count: 3 });
  await box.evaluate((e) => e.select());
  await page.keyboard.press("Backspace");
  if (text) await page.keyboard.type(text);
}

async function fill(page, inputs) {
  for (const [id, text] of Object.entries(inputs)) {
    if (names[id]) await type(page, names[id], text);
  }
}

async function press(page) {
  await (await byName(page, button)).click();
}

// The alert next to the box with id `box` (or the button's), and the focused element's id.
async function failureSeen(page, box) {
  return page.evaluate((id) => {
    const alerts = [...document.querySelectorAll('[role="alert"]')].filter((a) => a.textContent);
    return {
      alerts: alerts.map((a) => a.id),
      message: document.getElementById(id + "-alert").textContent,
      besideBox: document.getElementById(id + "-alert").parentElement ===
                  document.getElementById(id).parentElement,
      focused: document.activeElement.id,
    };
  }, box || "calculate");
}

// What is left of answers to earlier inputs: results marked done or stale, properties, chart,
// the finder's answer, and whether Copy and Download may be pressed.
const previousAnswers = (page) => page.evaluate(() => ({
  done: document.querySelectorAll("input.done").length,
  stale: document.querySelectorAll("input.stale").length,
  properties: document.getElementById("properties").children.length,
  chart: document.getElementById("chart").children.length,
  found: document.getElementById("found").textContent,
  copy: !document.getElementById("copy").disabled,
  download: !document.getElementById("download").disabled,
}));
const nothingLeft = { done: 0, stale: 0, properties: 0, chart: 0, found: "", copy: false,
                      download: false };

// The bytes of Viscosity.txt as Download table saves it.
async function downloaded(page, button = "Download table", name = "Viscosity.txt") {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), "project1-download-"));
  const session = await page.createCDPSession();
  await session.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: folder });
  await (await byName(page, button)).click();
  const file = path.join(folder, name);
  const until = Date.now() + deadline;
  while (!fs.existsSync(file) && Date.now() < until) await new Promise((r) => setTimeout(r, 50));
  const bytes = fs.readFileSync(file);
  fs.rmSync(folder, { recursive: true });
  return bytes;
}

const checks = [];
async function check(name, body) {
  await body();
  checks.push(name);
}

async function usePage(browser) {
  const page = await openPage(browser);

  await check("picking an oil fills its three values and the button shows its results", async () => {
    const list = await byName(page, "Lubricant List");
    const options = await list.evaluate((e) => [...e.options].map((o) => o.textContent));
    assert.strictEqual(options.length, 11);
    assert.strictEqual(options[10], "OTHER");
    await list.select("SHC 624");
    assert.deepStrictEqual([await valueOf(page, names.visc40), await valueOf(page, names.visc100),
                            await valueOf(page, names.gravity)], ["31", "5.8", "0.85"]);
    await press(page);
    const want = expected({ ...starting, visc40: "31", visc100: "5.8", gravity: "0.85",
                            picked: "SHC 624" });
    assert.deepStrictEqual(await results(page), want.shown);
    const shown = await page.$eval("#properties", (e) => e.textContent);
    for (const property of want.properties.filter((p) => !p.name.startsWith("ν") && p.name !== "Oil")) {
      assert.ok(shown.includes(property.name + property.value), `${property.name} in ${shown}`);
    }
    // The chart follows a frame later, with the picked oil's name.
    const chart = await byName(page, "Viscosity-temperature chart");
    await page.waitForFunction((e) => e.querySelector("svg") !== null, { timeout: deadline }, chart);
    assert.ok(await chartShows(page, { ...starting, visc40: "31", visc100: "5.8", gravity: "0.85",
                                       picked: "SHC 624" }));
  });

  await check("a typed oil is calculated by Enter in a box", async () => {
    const inputs = { visc40: "46", visc100: "6.8", gravity: "0.86", temp1: "60", temp2: "-10" };
    await fill(page, inputs);
    await page.keyboard.press("Enter");
    await page.waitForFunction((text) => document.getElementById("visc1").value === text,
                               { timeout: deadline }, expected({ ...starting, ...inputs }).shown[0]);
    assert.deepStrictEqual(await results(page), expected({ ...starting, ...inputs }).shown);
  });

  await check("each kind of failing step shows the message beside its box and focuses it", async () => {
    const steps = [
      { visc40: "3x0" },                    // reading
      { visc100: "0.4" },                   // fitting the line
      { temp1: "-300" },                    // the first temperature
      { temp2: "-300" },                    // the second temperature
      { gravity: "0" },                     // the tool's gravity range
      { gravity: "1e308" },                 // the same, far beyond any oil
      { gravity: "870" },                   // a density typed as a gravity
      { visc100: "400" },                   // thicker when hot
      { visc40: "100000", visc100: "1" },   // a row of the table
    ];
    for (const step of steps) {
      await fill(page, starting);
      await press(page);
      const before = await results(page);
      const inputs = { ...starting, ...step };
      await fill(page, step);
      await press(page);
      const want = expected(inputs);
      assert.ok(want.message, JSON.stringify(step));
      const seen = await failureSeen(page, want.box);
      assert.strictEqual(seen.message, want.message, JSON.stringify(step));
      assert.deepStrictEqual(seen.alerts, [(want.box || "calculate") + "-alert"]);
      assert.ok(seen.besideBox, JSON.stringify(step));
      if (want.box) assert.strictEqual(seen.focused, want.box, JSON.stringify(step));
      // The results computed before the failure are new; the others are emptied, and nothing of
      // the previous oil stays: no result marked done, no properties, no chart, no Copy.
      const now = await results(page);
      assert.deepStrictEqual(now, [...want.shown, "", "", "", ""].slice(0, 4));
      assert.notDeepStrictEqual(before, now);
      assert.deepStrictEqual(await previousAnswers(page), nothingLeft, JSON.stringify(step));
    }
  });

  await check("any change of the inputs marks the results as the previous inputs' and clears the rest", async () => {
    const changes = [
      ["typing in a box", () => type(page, names.visc100, "36")],
      ["picking an oil", async () => (await byName(page, "Lubricant List")).select("SHC 630")],
      ["changing the law", async () => (await byName(page, "Viscosity-temperature law")).select("d341")],
    ];
    for (const [name, change] of changes) {
      await fill(page, starting);
      await (await byName(page, "Viscosity-temperature law")).select("walther");
      await press(page);
      await type(page, "Viscosity to reach, cSt", "20");
      await page.keyboard.press("Enter");
      await page.waitForFunction(() => document.querySelector("#chart svg"), { timeout: deadline });
      const shown = await results(page);
      await change();
      assert.deepStrictEqual(await results(page), shown, name);
      assert.deepStrictEqual(await previousAnswers(page), { ...nothingLeft, stale: 4 }, name);
    }
    await (await byName(page, "Viscosity-temperature law")).select("walther");
  });

  await check("the downloaded table holds the window's bytes", async () => {
    await fill(page, starting);
    await press(page);
    const want = Buffer.from(expected(starting).table, "utf8");
    assert.ok((await downloaded(page)).equals(want), "Viscosity.txt differs from the window's");
    assert.ok(want.includes("\r\n") && !want.toString().replace(/\r\n/g, "").includes("\n"));
  });

  await check("copying puts the window's two lines on the clipboard", async () => {
    await page.browserContext().overridePermissions("file://",
                                                    ["clipboard-read", "clipboard-sanitized-write"]);
    // The status still tells of the download until the copy is done.
    const before = await page.$eval("#status", (e) => e.textContent);
    await (await byName(page, "Copy results")).click();
    await page.waitForFunction((old) => document.getElementById("status").textContent !== old,
                               { timeout: deadline }, before);
    assert.strictEqual(await page.$eval("#status", (e) => e.textContent), "Results copied.");
    assert.strictEqual(await page.evaluate(() => navigator.clipboard.readText()),
                       expected(starting).results);
  });

  await check("the law changes every answer: the boxes, mPa·s, download and chart, as the tool's", async () => {
    const law = await byName(page, "Viscosity-temperature law");
    assert.strictEqual(await law.evaluate((e) => e.value), "walther");
    const walther = await page.$eval("#chart", (e) => e.innerHTML);
    await law.select("d341");
    await press(page);
    const oil = ["--v40", starting.visc40, "--v100", starting.visc100];
    const rows = tool(["at", starting.temp1, starting.temp2, ...oil, "--sg", starting.gravity,
                       "--law", "d341"]).json;
    const shown = await results(page);
    const wanted = [rows[0].kinematic_cst, rows[1].kinematic_cst, rows[0].dynamic_reyn,
                    rows[1].dynamic_reyn];
    shown.forEach((text, i) => assert.ok(showsNumber(text, wanted[i]), `${text} for ${wanted[i]}`));
    assert.notDeepStrictEqual(shown, expected(starting).shown);
    const mpas = await page.$$eval("#properties dd", (d) => d.map((e) => e.textContent)
      .filter((t) => t.endsWith(" mPa·s")));
    assert.strictEqual(mpas.length, 2);
    mpas.forEach((text, i) => assert.ok(showsNumber(text, rows[i].dynamic_mpa_s), text));
    const table = execFileSync(toolPath, ["table", ...oil, "--law", "d341"]);
    assert.ok((await downloaded(page)).equals(table), "the downloaded table is not the tool's by d341");
    await page.waitForFunction((old) => document.getElementById("chart").innerHTML !== old,
                               { timeout: deadline }, walther);
    assert.ok(await chartShows(page, { ...starting, law: "d341" }));
    assert.ok(page.url().includes("law=d341"));
    await law.select("walther");
  });

  await check("the tool's refusals, with its messages, beside their boxes", async () => {
    const oil = (inputs) => ["--v40", inputs.visc40, "--v100", inputs.visc100, "--sg", inputs.gravity];
    const cases = [
      // The tool's own sentence.
      [{ visc100: "400" }, (m) => m],
      // The tool's rule for --sg, said of the box: its range and the density.
      [{ gravity: "870" }, (m) => m.slice(m.indexOf(" must be"), m.indexOf(": did you mean"))],
      [{ gravity: "0.4" }, (m) => m.slice(m.indexOf(" must be"))],
      [{ gravity: "1,320" }, (m) => m.slice(m.indexOf(" must be"))],
    ];
    for (const [change, part] of cases) {
      const inputs = { ...starting, ...change };
      await fill(page, inputs);
      await press(page);
      const box = Object.keys(change)[0];
      const seen = await failureSeen(page, box);
      const refused = tool(["at", inputs.temp1, ...oil(inputs)]).message;
      assert.ok(refused, JSON.stringify(change));
      assert.ok(seen.message.includes(part(refused)), `${seen.message} | ${refused}`);
      assert.ok(seen.besideBox && seen.focused === box, JSON.stringify(seen));
      assert.deepStrictEqual(await results(page), ["", "", "", ""]);
    }
  });

  await check("the viscosity at typed temperatures and a table of its own range, in any unit, as the tool's", async () => {
    const oil = ["--v40", starting.visc40, "--v100", starting.visc100, "--sg", starting.gravity];
    const cases = [
      // [law, unit, the boxes, the button, the tool's command]
      ["walther", "F", { temperatures: "-30 0 40 160F" }, "Viscosity at these temperatures",
       ["at", "-30", "0", "40", "160F"]],
      ["d341", "K", { temperatures: "313.15K 212F" }, "Viscosity at these temperatures",
       ["at", "313.15K", "212F"]],
      ["d341", "C", { from: "0", to: "12", step: "5" }, "Table with dynamic viscosity",
       ["table", "--from", "0", "--to", "12", "--step", "5"]],
      ["walther", "F", { from: "32F", to: "100", step: "18F" }, "Table with dynamic viscosity",
       ["table", "--from", "32F", "--to", "100", "--step", "18F"]],
      ["walther", "C", { temperatures: "15 100", expansion: "0.00065" }, "Viscosity at these temperatures",
       ["at", "15", "100", "--expansion", "0.00065"]],
    ];
    await fill(page, starting);
    for (const [law, unit, boxes, button, command] of cases) {
      const what = `${law} ${unit} ${JSON.stringify(boxes)}`;
      await (await byName(page, "Viscosity-temperature law")).select(law);
      await page.select("#unit", unit);
      for (const [id, text] of Object.entries(boxes)) {
        await page.$eval(`#${id}`, (e, t) => { e.value = t; }, text);
      }
      await (await byName(page, button)).click();
      const rows = await page.$$eval("#rows tbody tr", (r) => r.map((e) =>
        [...e.children].map((c) => c.textContent)));
      const want = tool([...command, ...oil, "--law", law, "--temperature-unit", unit]).json;
      assert.strictEqual(rows.length, want.length, what);
      rows.forEach((row, i) => {
        const numbers = [want[i][`temperature_${unit.toLowerCase()}`], want[i].kinematic_cst,
                         want[i].dynamic_reyn, want[i].dynamic_mpa_s];
        row.forEach((text, j) => assert.ok(showsNumber(text, numbers[j]), `${what}: ${text} for ${numbers[j]}`));
      });
    }
    // Any change of the oil leaves no rows of the previous one.
    await type(page, names.visc40, "330");
    assert.strictEqual(await page.$eval("#rows", (e) => e.children.length), 0);
    await page.select("#unit", "C");
    await (await byName(page, "Viscosity-temperature law")).select("walther");
    await page.$$eval(".more input", (boxes) => boxes.forEach((e) => { e.value = e.defaultValue; }));
    await fill(page, starting);
  });

  await check("the rows' boxes refuse with the tool's messages, beside themselves", async () => {
    const oil = ["--v40", starting.visc40, "--v100", starting.visc100];
    const cases = [
      // [box, text, button, the tool's command, the part of its message the page says]
      ["temperatures", "40 x", "Viscosity at these temperatures", ["at", "40", "x"], (m) => m],
      ["temperatures", "-300", "Viscosity at these temperatures", ["at", "-300"], (m) => m],
      // The tool's sentence, naming the boxes as their labels do.
      ["step", "0", "Table with dynamic viscosity", ["table", "--step", "0"],
       (m) => m.replace("--step", "Step")],
      ["to", "-50", "Table with dynamic viscosity", ["table", "--to", "-50"],
       (m) => m.replace("--to", "To").replace("--from", "From")],
      ["expansion", "0.01", "Viscosity at these temperatures", ["at", "40", "--sg", "0.87", "--expansion", "0.01"],
       (m) => m.replace("--expansion", "The thermal expansion coefficient")],
    ];
    for (const [box, text, button, command, part] of cases) {
      await page.$eval(`#${box}`, (e, t) => { e.value = t; }, text);
      await (await byName(page, button)).click();
      const seen = await failureSeen(page, box);
      const refused = tool([...command, ...oil]).message;
      assert.ok(refused && seen.message.includes(part(refused)), `${seen.message} | ${refused}`);
      assert.ok(seen.besideBox && seen.focused === box, JSON.stringify(seen));
      assert.strictEqual(await page.$eval("#rows", (e) => e.children.length), 0);
      await page.$eval(`#${box}`, (e) => { e.value = e.defaultValue; });
    }
  });

  await check("the bearing box answers on Calculate as the tool does, and a change clears it", async () => {
    await fill(page, starting);
    await fillBearing(page, rollerBearing);
    await press(page);
    const want = expectedBearing({ ...starting, law: "walther", dm: "380", speed: "500",
                                   temperature: "100", type: "roller", rating: "1600", load: "200",
                                   fatigueLoad: "140", reliability: "95", cleanliness: "normal" });
    const shown = await bearingAnswer(page);
    assert.deepStrictEqual(shown, ["rated", "kinematic", "kappa", "band", "kappa1At", "kappa4At",
                                   "basicLife", "aIso", "modifiedLife"].map((key) => want[key]));
    const { json } = tool(["bearing", "--v40", "320", "--v100", "35", "--dm", "380", "--speed",
                           "500", "--at", "100", "--type", "roller", "--rating", "1600", "--load",
                           "200", "--fatigue-load", "140", "--reliability", "95", "--cleanliness",
                           "normal"]);
    const point = json.points[0];
    [json.rated_viscosity_cst, point.kinematic_cst, point.kappa].forEach((number, i) =>
      assert.ok(showsNumber(shown[i], number), `${shown[i]} | ${number}`));
    assert.ok(showsNumber(shown[8], point.modified_rating_life_hours), shown[8]);
    await type(page, "Speed n, r/min", "600");
    assert.deepStrictEqual(await bearingAnswer(page), []);
    await press(page);
    assert.strictEqual((await bearingAnswer(page)).length, 9);
    await type(page, names.visc40, "330");
    assert.deepStrictEqual(await bearingAnswer(page), []);
    await fill(page, starting);
  });

  await check("a bearing box's refusal is shown beside it, focused, with no answer", async () => {
    const cases = [
      // [the boxes typed, the box refused]
      [{ dm: "0" }, "dm"],
      [{ load: "", fatigue: "" }, "load"],
      [{ running: "-300" }, "running"],
    ];
    for (const [boxes, box] of cases) {
      await fillBearing(page, { ...rollerBearing, ...boxes });
      await press(page);
      const seen = await failureSeen(page, box);
      const typed = { ...rollerBearing, ...boxes };
      const want = expectedBearing({ ...starting, law: "walther", dm: typed.dm, speed: typed.speed,
                                     temperature: typed.running, type: typed["bearing-type"],
                                     rating: typed.rating, load: typed.load,
                                     fatigueLoad: typed.fatigue, reliability: typed.reliability,
                                     cleanliness: typed.cleanliness });
      assert.strictEqual(want.box, box);
      assert.strictEqual(seen.message, want.message);
      assert.ok(seen.besideBox && seen.focused === box, JSON.stringify(seen));
      assert.deepStrictEqual(await bearingAnswer(page), []);
    }
    if (screenshots) {
      const phone = await openPage(browser, "", 390, 700);
      await fillBearing(phone, rollerBearing);
      await press(phone);
      await phone.evaluate(() => document.activeElement.blur());
      await phone.screenshot({ path: path.join(screenshots, "web-phone-bearing.png"), fullPage: true });
      await phone.close();
    }
    await fillBearing(page, Object.fromEntries(Object.keys(rollerBearing).map((id) =>
      [id, { "bearing-type": "ball", reliability: "90", cleanliness: "normal" }[id] || ""])));
  });

  await check("ν100 from ν40 and a viscosity index, as the tool finds it, or its refusal", async () => {
    const cases = [
      // [ν40, index, the part of the tool's refusal the page says, or null for an answer]
      ["320", "155", null],
      ["5", "300", null],
      ["46", "-40", null],
      ["5", "100000", (m) => m],
      ["320", "x", (m) => m.slice(m.indexOf('"x"'))],
    ];
    for (const [visc40, index, part] of cases) {
      await fill(page, { visc40 });
      await type(page, "Or its viscosity index, with ν40", index);
      await (await byName(page, "ν100 from this index")).click();
      const answer = tool(["index", "--v40", visc40, "--vi", index]);
      if (part === null) {
        assert.strictEqual(Number(await valueOf(page, names.visc100)), answer.json.kinematic_100c_cst);
      } else {
        const seen = await failureSeen(page, "index");
        assert.ok(seen.message.includes(part(answer.message)), `${seen.message} | ${answer.message}`);
        assert.ok(seen.besideBox && seen.focused === "index", JSON.stringify(seen));
      }
    }
    await type(page, "Or its viscosity index, with ν40", "");
    await fill(page, starting);
  });

  await check("measured points give ν40 and ν100 of their line and each point's deviation, as the tool's", async () => {
    const native = (points) => JSON.parse(execFileSync(answersPath, { input: `fit\t${points}\twalther\n` }));
    const fitted = async (points) => {
      await type(page, "Or measured points, °C=cSt", points);
      await (await byName(page, "ν40 and ν100 of their line")).click();
    };
    const points = "20=1100 40=320 140F=125 100=35";
    await fitted(points);
    const want = native(points);
    // The line's own digits, to the last one or two that WebAssembly's logarithms round apart.
    for (const id of ["visc40", "visc100"]) {
      const shown = Number(await valueOf(page, names[id]));
      assert.ok(Math.abs(shown - want[id]) <= 1e-13 * want[id], `${shown} | ${want[id]}`);
    }
    assert.deepStrictEqual(await page.$$eval("#fit-rows td", (cells) => cells.map((c) => c.textContent)),
                           want.rows.flat());
    const args = points.split(" ").flatMap((point) => ["--point", point]);
    const sentence = execFileSync(toolPath, ["at", "40", ...args]).toString("utf8").trimEnd().split("\n").pop();
    assert.strictEqual(await page.$eval("#fit-note", (e) => e.textContent), sentence);
    const line40 = tool(["at", "40", ...args]).json[0].kinematic_cst;
    assert.ok(Math.abs(await valueOf(page, names.visc40) - line40) <= 1e-13 * line40);
    await type(page, names.visc40, "330");
    assert.strictEqual(await page.$eval("#fit-rows", (e) => e.children.length + e.nextElementSibling.textContent), "0");
    await fitted("20=1100 40=320 100=400");
    const seen = await failureSeen(page, "points");
    assert.strictEqual(seen.message, native("20=1100 40=320 100=400").message);
    assert.strictEqual(seen.message, tool(["at", "40", "--point", "20=1100", "--point", "40=320", "--point", "100=400"]).message);
    assert.ok(seen.besideBox && seen.focused === "points", JSON.stringify(seen));
    await type(page, "Or measured points, °C=cSt", "");
    await fill(page, starting);
  });

  await check("the blend of two oils and the fraction for a target, as the tool's, or the refusal beside its box", async () => {
    await fill(page, starting);
    const blended = async (boxes) => {
      await fillBearing(page, { second40: "46", second100: "6.8", "blend-at": "40", fraction: "", target: "", ...boxes });
      await (await byName(page, "Blend")).click();
      return page.$$eval("#blend-answer dd", (list) => list.map((e) => e.textContent));
    };
    const oils = ["--v40", "320", "--v100", "35", "--with-v40", "46", "--with-v100", "6.8"];
    for (const [boxes, share] of [[{ fraction: "0.3" }, ["--fraction", "0.3"]],
                                  [{ "blend-at": "140F", target: "100" }, ["--target", "100"]]]) {
      const shown = await blended(boxes);
      const { json } = tool(["blend", ...oils, "--at", boxes["blend-at"] || "40", ...share]);
      [json.fraction, json.blend_kinematic_cst, json.blend_kinematic_40c_cst,
       json.blend_kinematic_100c_cst, json.viscosity_index].forEach((number, i) =>
        assert.ok(showsNumber(shown[i], number), `${shown[i]} | ${number}`));
    }
    await type(page, names.visc100, "36");
    assert.deepStrictEqual(await page.$$eval("#blend-answer dd", (list) => list.length), 0);
    assert.deepStrictEqual(await blended({ fraction: "1.5" }), []);
    const seen = await failureSeen(page, "fraction");
    assert.ok(seen.message.includes("from 0 to 1; it is 1.5."), seen.message);
    assert.ok(seen.besideBox && seen.focused === "fraction", JSON.stringify(seen));
    await fillBearing(page, { second40: "", second100: "", "blend-at": "40", fraction: "" });
    await fill(page, starting);
  });

  await check("the temperature for a viscosity, or the message beside its box", async () => {
    await fill(page, starting);
    await type(page, "Viscosity to reach, cSt", "20");
    await page.keyboard.press("Enter");
    assert.strictEqual(await page.$eval("#found", (e) => e.textContent), "123.379 °C");
    await type(page, "Viscosity to reach, cSt", "twenty");
    await (await byName(page, "Temperature for this viscosity")).click();
    const seen = await failureSeen(page, "wanted");
    assert.ok(seen.message.includes("twenty"), seen.message);
    assert.strictEqual(seen.focused, "wanted");
    assert.strictEqual(await page.$eval("#found", (e) => e.textContent), "");
  });

  await check("the keyboard alone reaches every box and calculates", async () => {
    await page.focus("#list");
    const order = ["list"];
    for (let i = 0; i < 12; ++i) {
      await page.keyboard.press("Tab");
      order.push(await page.evaluate(() => document.activeElement.id));
    }
    assert.deepStrictEqual(order, ["list", "visc40", "visc100", "index", "from-index", "points",
                                   "fit", "gravity", "temp1", "temp2", "law", "calculate", "visc1"]);
    await fill(page, { ...starting, temp1: "40" });
    await page.focus("#calculate");
    await page.keyboard.press("Space");
    assert.deepStrictEqual(await results(page), expected({ ...starting, temp1: "40" }).shown);
  });

  assert.deepStrictEqual(page.errors, []);
  assert.deepStrictEqual(page.blocked, []);
  await page.close();
}

async function userOilsKept(browser) {
  await check("your oils: imported from an oils.csv, listed, picked, kept and exported; a bad file refused by its line, nothing lost", async () => {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), "project1-oils-"));
    // A file as the desktop writes it, so that what is kept and exported is the same bytes.
    const good = "name,v40,v100,sg,note\nHydraulic 46,46,6.8,0.87,tank 2\nGear 150,150,14.5,,\n";
    fs.writeFileSync(path.join(folder, "oils.csv"), good);
    fs.writeFileSync(path.join(folder, "bad.csv"), "name,v40,v100\nA,46,6.8\nB,4x6,7\n");
    const kept = (page) => page.evaluate(() => localStorage.getItem("project1.oils.csv"));
    const listed = (page) => page.$$eval("#list optgroup option", (list) => list.map((o) => o.textContent));
    const page = await openPage(browser);
    await (await page.$("#import")).uploadFile(path.join(folder, "oils.csv"));
    await page.waitForFunction(() => document.getElementById("user-oils-status").textContent, { timeout: deadline });
    assert.strictEqual(await page.$eval("#user-oils-status", (e) => e.textContent),
                       "2 oils added: you have 2 oils of your own.");
    assert.deepStrictEqual(await listed(page), ["Hydraulic 46", "Gear 150"]);
    assert.strictEqual(await kept(page), good);
    await page.select("#list", "Hydraulic 46");
    await press(page);
    const oil = { visc40: "46", visc100: "6.8", temp1: "71", temp2: "150", gravity: "0.87",
                  picked: "Hydraulic 46" };
    assert.deepStrictEqual(await results(page), expected(oil).shown);
    // A file with a row that cannot be read adds nothing and says which line.
    await (await page.$("#import")).uploadFile(path.join(folder, "bad.csv"));
    await page.waitForFunction(() => document.getElementById("import-alert").textContent, { timeout: deadline });
    const seen = await failureSeen(page, "import");
    assert.ok(seen.message.startsWith("bad.csv line 3: "), seen.message);
    assert.ok(seen.besideBox && seen.focused === "import", JSON.stringify(seen));
    assert.strictEqual(await kept(page), good);
    assert.deepStrictEqual(await listed(page), ["Hydraulic 46", "Gear 150"]);
    // The same file again: every name is taken, so nothing is added either.
    await (await page.$("#import")).uploadFile(path.join(folder, "oils.csv"));
    await page.waitForFunction(() => document.getElementById("import-alert").textContent.includes("oils.csv line 2"), { timeout: deadline });
    assert.strictEqual(await kept(page), good);
    assert.ok((await downloaded(page, "Export oils.csv", "oils.csv")).equals(Buffer.from(good)));
    // Kept for the next visit.
    const again = await openPage(browser);
    assert.deepStrictEqual(await listed(again), ["Hydraulic 46", "Gear 150"]);
    await again.evaluate(() => localStorage.removeItem("project1.oils.csv"));
    assert.deepStrictEqual(page.errors, []);
    assert.deepStrictEqual(page.blocked, []);
    await again.close();
    await page.close();
    fs.rmSync(folder, { recursive: true });
  });
}

async function userOilsChanged(browser) {
  await check("your oils: added, saved and removed in the page, undone, refused beside the box, a name shown as typed", async () => {
    const page = await openPage(browser);
    const kept = () => page.evaluate(() => localStorage.getItem("project1.oils.csv"));
    const listed = () => page.$$eval("#list optgroup option", (list) => list.map((o) => o.textContent));
    const status = () => page.$eval("#user-oils-status", (e) => e.textContent);
    const picked = () => page.$eval("#list", (e) => e.value);
    const markup = "<img src=x onerror=window.ran=1>";
    const header = "name,v40,v100,sg,note\n";
    await fill(page, { visc40: "46", visc100: "6.8", gravity: "0.87" });
    await type(page, "Name", markup);
    await type(page, "Note (optional)", "tank 2");
    await page.click("#add-oil");
    assert.strictEqual(await status(), `"${markup}" added: you have 1 oil of your own.`);
    assert.deepStrictEqual(await listed(), [markup]);
    assert.strictEqual(await picked(), markup);
    const added = `${header}${markup},46,6.8,0.87,tank 2\n`;
    assert.strictEqual(await kept(), added);
    await press(page);
    await page.waitForFunction(() => document.querySelector("#chart svg"), { timeout: deadline });
    const drawn = await page.$eval("#chart", (e) => e.textContent);
    assert.ok(drawn.includes(markup), drawn);
    // Each refusal beside its box, which gets the focus; nothing kept changes.
    for (const [boxes, box, message] of [
      [{}, "user-name", `You already have an oil named "${markup}".`],
      [{ name: "shc 632" }, "user-name", `"shc 632" is a catalogue oil's name; choose another.`],
      [{ name: "B", visc100: "60" }, "visc100", "The viscosity at 100 °C (60) must be below the one at 40 °C (46)."],
      [{ name: "B", gravity: "870" }, "gravity", "870 is a density"],
    ]) {
      if (boxes.name) await type(page, "Name", boxes.name);
      await fill(page, boxes);
      await page.click("#add-oil");
      const seen = await failureSeen(page, box);
      assert.ok(seen.message.includes(message), seen.message);
      assert.ok(seen.besideBox && seen.focused === box, JSON.stringify(seen));
      assert.strictEqual(await kept(), added);
      await fill(page, { visc100: "6.8", gravity: "0.87" });
    }
    // Picked again, its name and note fill their boxes; saved under a new name with a new ν100.
    await page.select("#list", "OTHER");
    assert.ok(await page.$eval("#save-oil", (e) => e.disabled));
    await page.select("#list", markup);
    assert.strictEqual(await valueOf(page, "Name"), markup);
    assert.strictEqual(await valueOf(page, "Note (optional)"), "tank 2");
    await type(page, "Name", "Hydraulic 46");
    await fill(page, { visc100: "7" });
    await page.click("#save-oil");
    assert.strictEqual(await status(), `"Hydraulic 46" saved: you have 1 oil of your own.`);
    const saved = `${header}Hydraulic 46,46,7,0.87,tank 2\n`;
    assert.strictEqual(await kept(), saved);
    assert.strictEqual(await picked(), "Hydraulic 46");
    // A link to one's own oil opens it in this browser.
    const linked = await openPage(browser, "#" + new URLSearchParams({ v40: "46", v100: "7", sg: "0.87", t1: "71", t2: "150", oil: "Hydraulic 46" }));
    assert.strictEqual(await linked.$eval("#list", (e) => e.value), "Hydraulic 46");
    assert.strictEqual(await linked.$eval("#link-notes", (e) => e.textContent), "");
    await linked.close();
    await page.click("#remove-oil");
    assert.strictEqual(await status(), `"Hydraulic 46" removed: you have 0 oils of your own.`);
    assert.deepStrictEqual(await listed(), []);
    assert.strictEqual(await kept(), header);
    assert.strictEqual(await picked(), "OTHER");
    await page.click("#undo-oils");
    assert.strictEqual(await status(), "Undone: You have 1 oil of your own.");
    assert.deepStrictEqual(await listed(), ["Hydraulic 46"]);
    assert.strictEqual(await kept(), saved);
    assert.strictEqual(await page.evaluate(() => window.ran), undefined);
    await page.evaluate(() => localStorage.removeItem("project1.oils.csv"));
    assert.deepStrictEqual(page.errors, []);
    assert.deepStrictEqual(page.blocked, []);
    await page.close();
  });
}

async function addresses(browser) {
  await check("an address with inputs fills the boxes and calculates", async () => {
    const page = await openPage(browser, "#v40=320&v100=35&sg=0.87&t1=71&t2=150");
    assert.deepStrictEqual(await results(page), expected(starting).shown);
    assert.deepStrictEqual(page.blocked, []);
    await page.close();
  });
  await check("bad values in the address land in their boxes and get the usual message", async () => {
    const page = await openPage(browser, "#v40=320&v100=35&sg=0,87&t1=71&t2=%3Cb%3E");
    const want = expected({ ...starting, gravity: "0,87", temp2: "<b>" });
    assert.strictEqual(await valueOf(page, names.gravity), "0,87");
    assert.strictEqual(await valueOf(page, names.temp2), "<b>");
    const seen = await failureSeen(page, want.box);
    assert.strictEqual(seen.message, want.message);
    assert.strictEqual(seen.focused, want.box);
    assert.deepStrictEqual(page.errors, []);
    await page.close();
  });
}

async function links(browser) {
  await check("Copy link gives an address that opens the same oil and answers", async () => {
    const page = await openPage(browser);
    await page.browserContext().overridePermissions("file://",
                                                    ["clipboard-read", "clipboard-sanitized-write"]);
    await (await byName(page, "Lubricant List")).select("SHC 630");
    await type(page, names.temp1, "60");
    await press(page);
    const shown = await results(page);
    await (await byName(page, "Copy link")).click();
    await page.waitForFunction(() => document.getElementById("status").textContent === "Link copied.",
                               { timeout: deadline });
    const link = await page.evaluate(() => navigator.clipboard.readText());
    await page.close();
    const again = await openPage(browser, link.slice(link.indexOf("#")));
    assert.deepStrictEqual(await results(again), shown);
    assert.strictEqual(await again.$eval("#list", (e) => e.value), "SHC 630");
    assert.strictEqual(await again.$eval("#link-notes", (e) => e.textContent), "");
    await again.close();
  });
  await check("a partial or malformed link says which part it could not use, and why", async () => {
    const cases = [
      ["#v40=320&v100=35&sg=0.87&t1=71&t2=150&law=walter&colour=red&t1=80&oil=Nope", [
        'The link\'s "colour" was ignored: it names no input of this page.',
        'The link\'s second "t1" was ignored: the first one is used.',
        'The link\'s oil "Nope" was ignored: it is not in the lubricant list.',
        'The link\'s law "walter" was ignored: the law is walther or d341.']],
      ["#v40=46&oil=SHC%20624", [
        "The link gives no First reference temperature, °C: the box keeps 71.",
        "The link gives no Second reference temperature, °C: the box keeps 150."]],
    ];
    for (const [fragment, want] of cases) {
      const page = await openPage(browser, fragment);
      assert.deepStrictEqual(await page.$$eval("#link-notes li", (l) => l.map((e) => e.textContent)),
                             want, fragment);
      await page.close();
    }
  });
}

// build/web/app, served as a static web server serves it, on this machine only.
function serveApp(folder) {
  const types = { ".html": "text/html", ".js": "text/javascript", ".png": "image/png",
                  ".webmanifest": "application/manifest+json" };
  const server = http.createServer((request, response) => {
    const name = new URL(request.url, "http://127.0.0.1").pathname.slice(1) || "index.html";
    const file = path.join(folder, path.basename(name));
    if (!fs.existsSync(file)) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { "Content-Type": types[path.extname(file)] || "application/octet-stream" });
    response.end(fs.readFileSync(file));
  });
  return new Promise((resolve) => server.listen(0, "127.0.0.1", () => resolve(server)));
}

async function installed(browser) {
  await check("served from a web server it installs, then opens and calculates offline", async () => {
    const server = await serveApp(path.join(path.dirname(pagePath), "app"));
    const url = `http://127.0.0.1:${server.address().port}/`;
    const page = await browser.newPage();
    const ready = () => page.waitForFunction(() => document.documentElement.dataset.ready === "true",
                                             { timeout: deadline });
    try {
      await page.goto(url);
      await ready();
      await page.waitForFunction(() => navigator.serviceWorker.controller !== null, { timeout: deadline });
      const session = await page.createCDPSession();
      const manifest = await session.send("Page.getAppManifest");
      assert.deepStrictEqual(manifest.errors, []);
      const { installabilityErrors } = await session.send("Page.getInstallabilityErrors");
      assert.deepStrictEqual(installabilityErrors, []);
      await page.setOfflineMode(true);
      await new Promise((resolve) => server.close(resolve));
      await page.reload();
      await ready();
      await fill(page, starting);
      await press(page);
      assert.deepStrictEqual(await results(page), expected(starting).shown);
    } finally {
      server.close();
      await page.close();
    }
  });
}

async function safety(browser) {
  // A browser without what the engine needs: the global it lacks, and the reason said.
  for (const [missing, reason] of [
    ["WebAssembly", "it does not run WebAssembly."],
    ["DecompressionStream", "it cannot unpack the engine (it has no DecompressionStream)."],
  ]) {
    await check(`without ${missing} the form says so and never sends itself`, async () => {
      const page = await browser.newPage();
      await page.evaluateOnNewDocument((name) => { delete window[name]; }, missing);
      await page.goto(pageUrl);
      const alert = await page.waitForFunction(
        () => document.getElementById("calculate-alert").textContent, { timeout: deadline });
      assert.strictEqual(await alert.jsonValue(), "The calculator cannot run in this browser: " + reason);
      assert.ok(await page.$eval("#calculate", (e) => e.disabled));
      await (await byName(page, names.visc40)).press("Enter");
      assert.strictEqual(page.url(), pageUrl);
      await page.close();
    });
  }
  await check("without Uint8Array.fromBase64 the engine is decoded by atob and answers the address", async () => {
    const page = await browser.newPage();
    await page.evaluateOnNewDocument(() => { delete Uint8Array.fromBase64; });
    await page.goto(pageUrl + "#v40=320&v100=35&sg=0.87&t1=71&t2=150");
    await page.waitForFunction(() => document.documentElement.dataset.ready === "true", { timeout: deadline });
    assert.deepStrictEqual(await results(page), expected(starting).shown);
    await page.close();
  });
  await check("markup in a text runs no handler: the policy admits the page's own scripts only", async () => {
    const page = await openPage(browser);
    // The attribute's handler would run before any listener added after it.
    const ran = await page.evaluate(() => new Promise((resolve) => {
      const words = document.getElementById("chart-words");
      words.innerHTML = '<img src="data:," onerror="window.ran = true">';
      words.querySelector("img").addEventListener("error", () => resolve(window.ran === true));
    }));
    assert.strictEqual(ran, false);
    await page.close();
  });
  await check("values far beyond any oil give an answer and keep the phone page narrow", async () => {
    for (const [fragment, count] of [["#v40=320&v100=35&sg=1e308&t1=71&t2=150", 0],
                                     ["#v40=320&v100=35&sg=0.87&t1=1e308&t2=150", 4]]) {
      const page = await openPage(browser, fragment, 390, 900);
      assert.strictEqual((await results(page)).filter((text) => text !== "").length, count, fragment);
      const wide = await page.evaluate(() => document.documentElement.scrollWidth <= innerWidth);
      assert.ok(wide, `the page scrolls sideways for ${fragment}`);
      assert.deepStrictEqual(page.errors, [], fragment);
      await page.close();
    }
  });
}

async function layoutAndLooks(browser) {
  for (const [width, columns] of [[320, 1], [390, 1], [1280, 2]]) {
    await check(`${columns} column(s) at ${width} pixels wide, the results brought into view and read out`, async () => {
      const page = await openPage(browser, "", width, 700);
      const lefts = await page.$$eval("section.panel", (s) => s.map((e) => e.getBoundingClientRect().left));
      assert.strictEqual(new Set(lefts).size, columns, JSON.stringify(lefts));
      await press(page);
      const wide = await page.evaluate(() => document.documentElement.scrollWidth <= innerWidth);
      assert.ok(wide, "the page scrolls sideways");
      const heading = await page.$eval("#results-heading", (e) => {
        const box = e.getBoundingClientRect();
        return { top: box.top, bottom: box.bottom, inView: box.bottom > 0 && box.top < innerHeight };
      });
      assert.ok(heading.inView, `the results' heading at ${JSON.stringify(heading)}`);
      const shown = await results(page);
      const said = await page.$eval("#announce", (e) => e.textContent);
      resultNames.forEach((name, i) => assert.ok(said.includes(`${name}: ${shown[i]}`), said));
      // The chart is drawn at the size it is shown: no text of it below 11 CSS pixels, and none
      // left out of the picture.
      await page.waitForFunction(() => document.querySelector("#chart svg"), { timeout: deadline });
      const texts = await page.$eval("#chart svg", (svg) => {
        const scale = svg.getBoundingClientRect().width / svg.viewBox.baseVal.width;
        const frame = svg.getBoundingClientRect();
        return [...svg.querySelectorAll("text")].map((t) => {
          const box = t.getBoundingClientRect();
          return { size: parseFloat(getComputedStyle(t).fontSize) * scale,
                   inside: box.left >= frame.left - 0.5 && box.right <= frame.right + 0.5 };
        });
      });
      assert.ok(texts.length >= 8, `${texts.length} texts`);
      assert.ok(texts.every((t) => t.size >= 11 && t.inside), JSON.stringify(texts));
      if (screenshots && width === 390) {
        for (const scheme of ["light", "dark"]) {
          await page.emulateMediaFeatures([{ name: "prefers-color-scheme", value: scheme }]);
          await page.evaluate(() => document.activeElement.blur());
          await page.screenshot({ path: path.join(screenshots, `web-phone-${scheme}.png`), fullPage: true });
        }
      }
      await page.close();
    });
  }
  await check("the printout is one page of the oil, inputs, law, results, table and chart", async () => {
    const page = await openPage(browser, "#v40=320&v100=35&sg=0.87&t1=71&t2=150");
    await page.waitForFunction(() => document.querySelector("#chart svg"), { timeout: deadline });
    const pdf = Buffer.from(await page.pdf({ format: "A4" }));
    const pages = pdf.toString("latin1").match(/\/Type\s*\/Page[^s]/g) || [];
    assert.strictEqual(pages.length, 1);
    await page.emulateMediaType("print");
    const printed = await page.evaluate(() => {
      const seen = (e) => e.getClientRects().length > 0;
      return {
        buttons: [...document.querySelectorAll("button")].filter(seen).length,
        table: document.getElementById("table").innerText.trim().split("\n").length,
        chart: seen(document.querySelector("#chart svg")),
        finder: seen(document.getElementById("found").closest(".finder")),
        law: seen(document.getElementById("law")),
      };
    });
    assert.deepStrictEqual(printed, { buttons: 0, table: 60, chart: true, finder: false, law: true });
    if (screenshots) {
      fs.writeFileSync(path.join(screenshots, "web-print.pdf"), pdf);
      // The printout as a picture: an A4 page's width at 96 pixels an inch.
      await page.setViewport({ width: 794, height: 1123 });
      await page.screenshot({ path: path.join(screenshots, "web-print.png"), fullPage: true });
    }
    await page.close();
  });
  const axe = fs.readFileSync(require.resolve("axe-core/axe.min.js"), "utf8");
  for (const scheme of ["light", "dark"]) {
    await check(`axe finds nothing serious in the ${scheme} scheme`, async () => {
      const page = await openPage(browser, "#v40=320&v100=35&sg=0.87&t1=71&t2=150");
      await page.emulateMediaFeatures([{ name: "prefers-color-scheme", value: scheme }]);
      await page.evaluate(axe);  // by the debugger: the page's policy admits no other script
      const found = await page.evaluate(async () => {
        const result = await window.axe.run(document);
        return result.violations.map((v) => ({ id: v.id, impact: v.impact, nodes: v.nodes.length }));
      });
      const serious = found.filter((v) => v.impact === "serious" || v.impact === "critical");
      assert.deepStrictEqual(serious, [], JSON.stringify(found));
      // A failure's message too.
      await type(page, names.gravity, "0");
      await press(page);
      const again = await page.evaluate(async () => (await window.axe.run(document)).violations
        .filter((v) => v.impact === "serious" || v.impact === "critical").map((v) => v.id));
      assert.deepStrictEqual(again, []);
      // The bearing box's answer, and a refusal beside one of its boxes.
      await fill(page, starting);
      for (const boxes of [rollerBearing, { ...rollerBearing, fatigue: "" }]) {
        await fillBearing(page, boxes);
        await press(page);
        const bearing = await page.evaluate(async () => (await window.axe.run(document)).violations
          .filter((v) => v.impact === "serious" || v.impact === "critical").map((v) => v.id));
        assert.deepStrictEqual(bearing, []);
      }
      assert.ok(await page.$eval("#fatigue-alert", (e) => e.textContent !== ""));
      await fillBearing(page, { dm: "", speed: "", running: "", rating: "", load: "" });
      if (screenshots) {
        await fill(page, starting);
        await press(page);
        await page.waitForFunction(() => document.querySelector("#chart svg"), { timeout: deadline });
        await page.evaluate(() => document.activeElement.blur());
        await page.screenshot({ path: path.join(screenshots, `web-${scheme}.png`), fullPage: true });
      }
      await page.close();
    });
  }
}

// The time from the navigation's start to `window.project1.shown`, set by the page at its first
// result and by the empty floor page as its script runs, with the processor slowed `rate` times
// (4: a phone) and at a width of `width` CSS pixels.
async function timeToShown(browser, url, rate, width) {
  const page = await browser.newPage();
  await page.setViewport({ width, height: 900 });
  const cdp = await page.target().createCDPSession();
  await cdp.send("Emulation.setCPUThrottlingRate", { rate });
  await page.goto(url);
  await page.waitForFunction(() => window.project1 && window.project1.shown, { timeout: deadline });
  const shown = await page.evaluate(() => window.project1.shown);
  await page.close();
  return shown;
}

// The first result of an address beside an empty page's first script, in turn, on a desktop and
// on a phone's slower processor: the guard's ratio for the page (bench/bench_check.py).
async function firstResults(browser) {
  const floor = path.join(fs.mkdtempSync(path.join(os.tmpdir(), "project1-floor-")), "empty.html");
  fs.writeFileSync(floor, "<!doctype html><title>Floor</title>" +
                          "<script>window.project1 = { shown: performance.now() };</script>\n");
  const address = pageUrl + "#v40=320&v100=35&sg=0.87&t1=71&t2=150";
  const times = {};
  for (const [name, rate, width] of [["desktop", 1, 1280], ["phone", 4, 390]]) {
    const pageMs = [], floorMs = [];
    for (let i = 0; i < 12; ++i) {
      if (i % 2) floorMs.push(await timeToShown(browser, "file://" + floor, rate, width));
      pageMs.push(await timeToShown(browser, address, rate, width));
      if (!(i % 2)) floorMs.push(await timeToShown(browser, "file://" + floor, rate, width));
    }
    times[name] = { page_ms: pageMs, floor_ms: floorMs };
  }
  fs.rmSync(path.dirname(floor), { recursive: true, force: true });
  return times;
}

// Opened from file:// to the first result of an address, and a press to the results shown.
async function measure(browser) {
  const loads = [];
  const presses = [];
  const frames = [];
  for (let i = 0; i < 10; ++i) {
    const page = await openPage(browser, "#v40=320&v100=35&sg=0.87&t1=71&t2=150");
    loads.push(await page.evaluate(() => window.project1.shown));
    for (let j = 0; j < 20; ++j) {
      const [laidOut, painted] = await page.evaluate(() => new Promise((resolve) => {
        const start = performance.now();
        document.getElementById("calculate").click();
        document.body.getBoundingClientRect();  // the results' style and layout, as painted
        const done = performance.now() - start;
        requestAnimationFrame(() => setTimeout(() => resolve([done, performance.now() - start]), 0));
      }));
      presses.push(laidOut);
      frames.push(painted);
    }
    await page.close();
  }
  const first = await firstResults(browser);
  if (benchOut) {
    fs.writeFileSync(benchOut, JSON.stringify({ loads_ms: loads, presses_ms: presses,
                                                frames_ms: frames, first_results: first }) + "\n");
  }
  const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
  const max = (values) => Math.max(...values);
  console.log(`file:// to the first result: median ${median(loads).toFixed(1)} ms, ` +
              `max ${max(loads).toFixed(1)} ms (10 loads)`);
  console.log(`a press to the results calculated and laid out: median ${median(presses).toFixed(2)} ` +
              `ms, max ${max(presses).toFixed(2)} ms (200 presses)`);
  console.log(`a press to the frame after it (waits for the display's next frame): median ` +
              `${median(frames).toFixed(2)} ms, max ${max(frames).toFixed(2)} ms`);
  for (const [name, { page_ms: pageMs, floor_ms: floorMs }] of Object.entries(first)) {
    console.log(`${name}: the first result of an address ${median(pageMs).toFixed(1)} ms, an ` +
                `empty page ${median(floorMs).toFixed(1)} ms (medians of 10, in turn)`);
  }
}

async function main() {
  const { browser, profile } = await launch();
  try {
    if (bench) {
      await measure(browser);
    } else {
      await usePage(browser);
      await userOilsKept(browser);
      await userOilsChanged(browser);
      await addresses(browser);
      await links(browser);
      await installed(browser);
      await safety(browser);
      await layoutAndLooks(browser);
      console.log(`${checks.length} checks passed, no network request:\n  ${checks.join("\n  ")}`);
    }
  } finally {
    await browser.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
}

main().catch((error) => {
  console.error(error.stack || error.message || error);
  process.exit(1);
});

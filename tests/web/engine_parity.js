// The page's engine (WebAssembly, in node) against the native build: for the ten catalogue oils
// and 1,000 random ones, every answer of the module equals the native build of the same sources
// (page_answers) field for field, and the numbers, index, grade and table equal the tool's
// (`viscosity at|table|batch`) by the oil's law, as do the rows at any temperatures and of a
// table of any range, in each temperature unit; and the bearing box's answers equal the native
// build's and their numbers the tool's (`viscosity bearing`); and the native build's fit through
// measured points equals the tool's (`viscosity at --point ...`, its deviations and its sentence),
// as do its blend of two oils and its inverse (`viscosity blend`).
//
// The native programs run with glibc's FMA variants of log and pow switched off: those round a
// few results one or two units in the last place differently from the plain versions, which are
// what WebAssembly's C library computes (as does glibc on a processor without FMA). How many
// numbers this machine's own choice changes is counted and printed, not asserted.
//   node engine_parity.js MODULE.js PAGE_ANSWERS VISCOSITY
"use strict";
const { execFileSync, spawnSync } = require("child_process");
const assert = require("assert");

const [modulePath, answersPath, toolPath] = process.argv.slice(2);
if (!toolPath) {
  console.error("usage: node engine_parity.js MODULE.js PAGE_ANSWERS VISCOSITY");
  process.exit(2);
}

// A small seeded generator, so that every run tries the same oils.
function generator(seed) {
  let state = seed >>> 0;
  return () => {
    state = (state + 0x6d2b79f5) >>> 0;
    let t = state;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}

// Texts the window refuses, one of them now and then in a random box.
const bad = ["", "x", "1,5", "0", "-300", "1e999", "0.4", "-273.15"];

// Inputs as a user types them: a few significant digits.
const typed = (x, digits) => String(Number(x.toPrecision(digits)));

function oils(module) {
  const cases = [];
  for (const oil of module.oils()) {
    if (!oil.visc40) continue;
    cases.push([oil.visc40, oil.visc100, "71", "150", oil.gravity, oil.name, "walther"]);
  }
  const random = generator(18);
  // The reference temperatures come from a list, so that one batch run of the tool answers them;
  // half of them are typed in °F or K, which the page reads as the tool does.
  const temperatures = Array.from({ length: 24 }, (_, k) => {
    const t = -30 + random() * 230;
    return [typed(t, 3), typed(t, 3), typed(t * 1.8 + 32, 4) + "F", typed(t + 273.15, 5) + "K"][k % 4];
  });
  for (let i = 0; i < 1000; ++i) {
    const visc40 = Math.exp(Math.log(2) + random() * Math.log(3000 / 2));
    const visc100 = visc40 * (0.05 + random() * 0.55);
    const fields = [
      typed(visc40, 4), typed(visc100, 3),
      temperatures[Math.floor(random() * 24)], temperatures[Math.floor(random() * 24)],
      typed(0.7 + random() * 0.4, 3), "", random() < 0.5 ? "walther" : "d341",
    ];
    if (random() < 0.05) fields[Math.floor(random() * 5)] = bad[Math.floor(random() * bad.length)];
    cases.push(fields);
  }
  return cases;
}

// The answers beyond the window's boxes, each with the tool's command that gives them.
const rowSettings = [
  { ask: "rowsAt", boxes: { unit: "F", temperatures: "-30 0 40 160F 373.15K" },
    command: ["at", "-30", "0", "40", "160F", "373.15K"] },
  { ask: "rowsAt", boxes: { unit: "C", temperatures: "-10 55.5" }, command: ["at", "-10", "55.5"] },
  { ask: "tableRows", boxes: { unit: "K", from: "0", to: "120", step: "7.5" },
    command: ["table", "--from", "0", "--to", "120", "--step", "7.5"] },
  { ask: "tableRows", boxes: { unit: "F", from: "32F", to: "100", step: "10F" },
    command: ["table", "--from", "32F", "--to", "100", "--step", "10F"] },
  { ask: "rowsAt", boxes: { unit: "C", temperatures: "-10 15 55.5 150", expansion: "0.00065" },
    command: ["at", "-10", "15", "55.5", "150", "--expansion", "0.00065"] },
];

// The bearing box's settings beyond the oil, each a bearing of the tool's example kind: with its
// loads and cleanliness, below the life method, and without loads.
const bearingSettings = [
  { dm: "380", speed: "500", temperature: "70", type: "roller", rating: "1600", load: "200",
    fatigueLoad: "140", reliability: "95", cleanliness: "normal" },
  { dm: "72.5", speed: "3000", temperature: "40", type: "ball", rating: "50", load: "10",
    fatigueLoad: "1.34", reliability: "90", cleanliness: "typical" },
  { dm: "20", speed: "100", temperature: "250", type: "thrust-roller", rating: "100", load: "20",
    fatigueLoad: "5", reliability: "99", cleanliness: "severe" },
  { dm: "150", speed: "1200", temperature: "140F", type: "thrust-ball", rating: "", load: "",
    fatigueLoad: "", reliability: "90", cleanliness: "normal" },
];
const bearingKeys = ["visc40", "visc100", "law", "dm", "speed", "temperature", "type", "rating",
                     "load", "fatigueLoad", "reliability", "cleanliness"];

function toolBearing(asked) {
  const args = ["bearing", "--v40", asked.visc40, "--v100", asked.visc100, "--law", asked.law,
                "--dm", asked.dm, "--speed", asked.speed, "--at", asked.temperature,
                "--format", "json"];
  if (asked.rating) {
    args.push("--type", asked.type, "--rating", asked.rating, "--load", asked.load,
              "--fatigue-load", asked.fatigueLoad, "--reliability", asked.reliability,
              "--cleanliness", asked.cleanliness);
  }
  return spawnSync(toolPath, args, { env: plain });
}

const plain = { ...process.env, GLIBC_TUNABLES: "glibc.cpu.hwcaps=-FMA,-AVX2" };

function nativeAnswers(cases, env = plain) {
  const input = cases.map((fields) => fields.join("\t")).join("\n") + "\n";
  const out = execFileSync(answersPath, { input, env, maxBuffer: 1 << 30 }).toString("utf8");
  return out.trimEnd().split("\n").map((line) => JSON.parse(line));
}

// The tool's index, grade and viscosities of every oil at every reference temperature, from one
// batch run; for each oil its two temperatures' columns.
function batchRows(cases) {
  const temperatures = [...new Set(cases.flatMap((f) => [f[2], f[3]]))]
    .filter((t) => /^-?\d+(\.\d+)?[FK]?$/.test(t) && Number(t.replace(/[FK]$/, "")) > -273);
  const at = temperatures.flatMap((t) => ["--at", t]);
  // One run for each law, over all the oils; each oil takes its own law's row.
  const byLaw = {};
  for (const law of ["walther", "d341"]) {
    const csv = "v40,v100,sg\n" + cases.map((f) => `"${f[0]}","${f[1]}","${f[4]}"`).join("\n") + "\n";
    const run = spawnSync(toolPath, ["batch", "-", "--format", "json", "--law", law, ...at],
                          { input: csv, env: plain, maxBuffer: 1 << 30 });
    if (!run.stdout.length) throw new Error(`viscosity batch --law ${law}: ${run.stderr}`);
    byLaw[law] = JSON.parse(run.stdout.toString("utf8"));
  }
  return cases.map((fields, i) => {
    const row = byLaw[fields[6]][i];
    return { ...row, at: [fields[2], fields[3]].map((t) => (row.at || [])[temperatures.indexOf(t)]) };
  });
}

// The page's inputs by name, from a case's fields.
// The chart at its default size, as the native build draws it.
const inputsOf = (f) => ({ visc40: f[0], visc100: f[1], temp1: f[2], temp2: f[3], gravity: f[4],
                           picked: f[5], law: f[6], kept: "", chartWidth: 0, chartHeight: 0 });

// The blend box's inputs by name, from a "blend" line's fields.
const blendOf = (f) => ({ visc40: f[1], visc100: f[2], law: f[3], second40: f[4], second100: f[5],
                          at: f[6], fraction: f[7], target: f[8] });

function tool(args) {
  const run = spawnSync(toolPath, args, { env: plain });
  assert.strictEqual(run.status, 0, `viscosity ${args.join(" ")}: ${run.stderr}`);
  return run.stdout;
}

// Your oils changed in the page and by the tool's `oils` commands, step by step from none: after
// each step the page's text kept is the tool's oils file, byte for byte, and a refusal names the
// same problem in the same words (the page's own sentences aside: its boxes are not options).
function userOilsAgainstTool(module) {
  const os = require("os");
  const fs = require("fs");
  const path = require("path");
  const home = fs.mkdtempSync(path.join(os.tmpdir(), "project1-parity-"));
  const file = path.join(home, "Project1", "oils.csv");
  const env = { ...plain, XDG_DATA_HOME: home };
  const site = (text) => {
    fs.writeFileSync(path.join(home, "site.csv"), text);
    return text;
  };
  const oil = (name, visc40, visc100, gravity, note) => ({ name, visc40, visc100, gravity, note });
  const steps = [
    [(k) => module.importUserOils(k, site("name,v40,v100,sg,note\nHydraulic 46,46,6.8,0.87,tank 2\nGear 150,150,14.5,,\n"), "site.csv"),
     ["import", "site.csv"]],
    [(k) => module.importUserOils(k, site("name,v40,v100\nA,46,6.8\nhydraulic 46,46,6.8\n"), "site.csv"), ["import", "site.csv"]],
    [(k) => module.importUserOils(k, site("name,v40,v100\nA,46,60\n"), "site.csv"), ["import", "site.csv"]],
    [(k) => module.importUserOils(k, site("name,v40,v100,sg\nA,46,6.8,870\n"), "site.csv"), ["import", "site.csv"]],
    [(k) => module.importUserOils(k, site("name,v40,v100\n@A,46,6.8\n"), "site.csv"), ["import", "site.csv"]],
    [(k) => module.addUserOil(k, oil("Gear 220", "220", "19", "0.89", "lab, May")),
     ["add", "Gear 220", "--v40", "220", "--v100", "19", "--sg", "0.89", "--note", "lab, May"]],
    [(k) => module.addUserOil(k, oil(" gear 220 ", "68", "8.8", "", "")), ["add", " gear 220 ", "--v40", "68", "--v100", "8.8"]],
    [(k) => module.addUserOil(k, oil("SHC 632", "68", "8.8", "", "")), ["add", "SHC 632", "--v40", "68", "--v100", "8.8"]],
    [(k) => module.addUserOil(k, oil("B", "46", "60", "", "")), ["add", "B", "--v40", "46", "--v100", "60"]],
    [(k) => module.changeUserOil(k, "Gear 220", oil("Gear 220", "220", "19.4", "0.89", "lab, May")),
     ["edit", "Gear 220", "--v100", "19.4"]],
    [(k) => module.changeUserOil(k, "Gear 220", oil("Gear 220, site B", "220", "19.4", "0.89", "lab, May")),
     ["rename", "Gear 220", "Gear 220, site B"]],
    [(k) => module.changeUserOil(k, "Gear 150", oil("Hydraulic 46", "150", "14.5", "", "")),
     ["rename", "Gear 150", "Hydraulic 46"]],
    [(k) => module.removeUserOil(k, "gear 150"), ["remove", "gear 150"]],
  ];
  let kept = "";
  let refused = 0;
  steps.forEach(([page, command], i) => {
    const answer = page(kept);
    const run = spawnSync(path.resolve(toolPath), ["oils", ...command], { env, cwd: home });
    const what = `oils step ${i + 1}: ${command.join(" ")}`;
    if (answer.message) {
      ++refused;
      assert.notStrictEqual(run.status, 0, `${what}: the tool accepted what the page refused`);
      assert.strictEqual(run.stderr.toString("utf8"), `viscosity: ${answer.message}\n`, what);
    } else {
      assert.strictEqual(run.status, 0, `${what}: ${run.stderr}`);
      kept = answer.csv;
    }
    assert.strictEqual(fs.readFileSync(file, "utf8"), kept, what);
  });
  fs.rmSync(home, { recursive: true });
  return `${steps.length} changes of your oils as the tool's (${refused} refused)`;
}

async function main() {
  const started = Date.now();
  // The module's WebAssembly, beside its script, instantiated through the hook the page uses.
  const wasm = require("fs").readFileSync(modulePath.replace(/\.js$/, ".wasm"));
  const instantiateWasm = (imports, receive) => {
    WebAssembly.instantiate(wasm, imports).then(({ instance, module }) => receive(instance, module));
    return {};
  };
  const module = await require(require("path").resolve(modulePath))({ instantiateWasm });
  const cases = oils(module);
  const natives = nativeAnswers(cases);
  const rows = batchRows(cases);
  assert.strictEqual(natives.length, cases.length);
  let succeeded = 0;
  let failed = 0;
  let tables = 0;
  let rowsCompared = 0;
  const bearingCases = [];
  const fitCases = [];
  const blendCases = [];
  const random = generator(41);
  cases.forEach((fields, i) => {
    const what = `oil ${i + 1} (${fields.join(" | ")})`;
    const page = module.calculate(inputsOf(fields), true);
    // The same sources built twice give the same answer, every text and byte of it.
    for (const key of Object.keys(natives[i])) {
      assert.deepStrictEqual(page[key], natives[i][key], `${what}: ${key}`);
    }
    if (page.message) {
      ++failed;
      return;
    }
    ++succeeded;
    const row = rows[i];
    const at = row.at;
    assert.ok(at.every(Boolean), `${what}: the tool answered ${JSON.stringify(row)}`);
    const expected = [at[0].kinematic_cst, at[1].kinematic_cst, at[0].dynamic_reyn,
                      at[1].dynamic_reyn, at[0].dynamic_mpa_s, at[1].dynamic_mpa_s];
    assert.deepStrictEqual(page.numbers.map(Number), expected, `${what}: numbers`);
    // The table from the tool itself for the catalogue and every tenth oil (a process each).
    if (i < 10 || i % 10 === 0) {
      const table = tool(["table", "--v40", fields[0], "--v100", fields[1], "--law", fields[6]]);
      assert.ok(Buffer.from(page.table, "utf8").equals(table), `${what}: table bytes`);
      ++tables;
    }
    // The rows beyond the window's boxes, for the catalogue and every fortieth oil, each setting
    // against the tool.
    if (i < 10 || i % 40 === 0) {
      for (const setting of rowSettings) {
        const asked = { visc40: fields[0], visc100: fields[1], gravity: fields[4], law: fields[6],
                        from: "-40", to: "250", step: "5", temperatures: "", expansion: "",
                        ...setting.boxes };
        const answer = module[setting.ask](asked);
        const oil = ["--v40", fields[0], "--v100", fields[1], "--sg", fields[4], "--law", fields[6],
                     "--temperature-unit", asked.unit, "--format", "json"];
        const run = spawnSync(toolPath, [...setting.command, ...oil], { env: plain });
        if (answer.message) {
          // A row too thick to compute: the tool refuses it too, with the same sentence.
          assert.strictEqual(run.stderr.toString("utf8"), `viscosity: ${answer.message}\n`, what);
          continue;
        }
        const want = JSON.parse(run.stdout.toString("utf8"));
        const key = `temperature_${asked.unit.toLowerCase()}`;
        assert.deepStrictEqual(answer.numbers.map((row) => row.map(Number)),
                               want.map((w) => [w[key], w.kinematic_cst, w.dynamic_reyn, w.dynamic_mpa_s]),
                               `${what}: ${setting.ask} ${JSON.stringify(setting.boxes)}`);
        ++rowsCompared;
      }
    }
    // The bearing box for the catalogue and every fortieth oil, each setting against the tool,
    // and the same with one box mistyped against the native build.
    if (i < 10 || i % 40 === 0) {
      bearingSettings.forEach((setting, j) => {
        const asked = { visc40: fields[0], visc100: fields[1], law: fields[6], ...setting };
        bearingCases.push(asked);
        const mistyped = { ...asked };
        mistyped[bearingKeys[3 + ((i + j) % 9)]] = bad[(i + j) % bad.length];
        bearingCases.push(mistyped);
      });
    }
    // Measured points near the oil's line, some of them thicker when hot, and a blend with the
    // next oil, for the catalogue and every fortieth oil.
    if (i < 10 || i % 40 === 0) {
      const count = 3 + (i % 3);
      const temperatures = ["-10", "20", "40", "140F", "100", "150", "400K"].slice(i % 3, i % 3 + count);
      const rows = module.rowsAt({ visc40: fields[0], visc100: fields[1], gravity: fields[4],
                                   law: fields[6], unit: "C", temperatures: temperatures.join(" "),
                                   expansion: "", from: "-40", to: "250", step: "5" });
      if (!rows.message) {
        const points = rows.numbers.map((row, j) =>
          `${temperatures[j]}=${typed(Number(row[1]) * (1 + (random() - 0.5) * 0.1), 4)}`);
        // Now and then the hottest point as thick as the coldest, which the tool refuses.
        if (i % 3 === 1) points[count - 1] = points[count - 1].replace(/=.*/, points[0].replace(/.*=/, "="));
        fitCases.push([points.join(" "), fields[6]]);
      }
      const next = cases[(i + 1) % cases.length];
      const blend = ["blend", fields[0], fields[1], fields[6], next[0], next[1],
                     temperatures[1], typed(random(), 3), ""];
      blendCases.push(blend);
    }
    const property = (name) => page.properties.find((p) => p.name === name).value;
    const index = row.viscosity_index === null ? null : String(row.viscosity_index);
    if (index !== null) assert.strictEqual(property("Viscosity index"), index, `${what}: index`);
    const grade = row.iso_vg === null ? "none" : `ISO VG ${row.iso_vg}`;
    assert.strictEqual(property("ISO grade"), grade, `${what}: grade`);
  });
  assert.ok(succeeded >= 900 && failed >= 20, `${succeeded} succeeded, ${failed} failed`);
  const bearingNatives = nativeAnswers(
    bearingCases.map((asked) => ["bearing", ...bearingKeys.map((key) => asked[key])]));
  let bearingsCompared = 0;
  let bearingsRefused = 0;
  let bearingDigitsApart = 0;
  // Two numbers' texts, "" for none, equal to 12 significant digits.
  const close = (a, b) => (a === "" || b === "" ? a === b
                                                : Math.abs(a - b) <= 1e-12 * Math.abs(Number(b)));
  bearingCases.forEach((asked, i) => {
    const what = `bearing ${JSON.stringify(asked)}`;
    const answer = module.bearing(asked);
    // Every text as the native build's; the numbers to their last digits or so, as the inverse
    // of a line (the κ = 1 and 4 temperatures) takes logarithms and powers that WebAssembly's C
    // library rounds a unit in the last place differently now and then.
    const { numbers, ...texts } = answer;
    const { numbers: nativeNumbers, ...nativeTexts } = bearingNatives[i];
    assert.deepStrictEqual(texts, nativeTexts, what);
    assert.strictEqual(numbers.length, nativeNumbers.length, what);
    numbers.forEach((text, j) => {
      if (text !== nativeNumbers[j]) ++bearingDigitsApart;
      assert.ok(close(text, nativeNumbers[j]), `${what}: ${text} | ${nativeNumbers[j]}`);
    });
    if (i % 2 === 1) {
      if (answer.message) ++bearingsRefused;
      return;
    }
    const run = toolBearing(asked);
    if (answer.message) {
      // An oil too thick or thin for the bearing's numbers: the tool refuses it in the same words.
      assert.strictEqual(run.stderr.toString("utf8"), `viscosity: ${answer.message}\n`, what);
      return;
    }
    const want = JSON.parse(run.stdout.toString("utf8"));
    const point = want.points[0];
    const expected = [want.rated_viscosity_cst, point.kinematic_cst, point.kappa,
                      want.kappa_1_temperature_c, want.kappa_4_temperature_c];
    if (asked.rating) {
      expected.push(want.basic_rating_life_hours, point.a_iso, point.modified_rating_life_hours);
    }
    assert.strictEqual(answer.numbers.length, expected.length, what);
    answer.numbers.forEach((text, j) => {
      const want = expected[j] === null ? "" : String(expected[j]);
      assert.ok(close(text, want), `${what}: number ${j}, ${text} | ${want}`);
    });
    ++bearingsCompared;
  });
  assert.ok(bearingsCompared >= 40 && bearingsRefused >= 20,
            `${bearingsCompared} bearings compared with the tool, ${bearingsRefused} refused`);
  // The native build's fits, blends and the fractions for targets: the same functions as the
  // tool's on the same machine, so the same numbers to the last digit.
  const fitNatives = nativeAnswers(fitCases.map((c) => ["fit", ...c]));
  let fitsCompared = 0;
  let fitsRefused = 0;
  fitCases.forEach(([points, law], i) => {
    const what = `points ${points} by ${law}`;
    const answer = fitNatives[i];
    const { numbers, visc40, visc100 } = answer;
    // The module's: every text as the native build's, the numbers to their last digits or so.
    const { numbers: moduleNumbers, visc40: module40, visc100: module100, ...moduleTexts } =
      module.fitPoints(points, law);
    const { numbers: _n, visc40: _a, visc100: _b, ...texts } = answer;
    assert.deepStrictEqual(moduleTexts, texts, what);
    assert.ok(close(module40, visc40) && close(module100, visc100), what);
    // A deviation is a difference of two near numbers: to 1e-9 of a percentage point.
    moduleNumbers.flat().forEach((text, j) => {
      const want = Number(numbers.flat()[j]);
      assert.ok(Math.abs(text - want) <= 1e-11 * Math.max(100, Math.abs(want)), `${what}: ${text} | ${want}`);
    });
    const args = points.split(" ").flatMap((point) => ["--point", point]);
    const run = spawnSync(toolPath, ["at", "40", "100", ...args, "--law", law, "--format", "json"],
                          { env: plain });
    if (answer.message) {
      assert.notStrictEqual(run.status, 0, `${what}: the tool answered what the page refused`);
      if (answer.message.startsWith("The viscosity at ")) {
        assert.strictEqual(run.stderr.toString("utf8"), `viscosity: ${answer.message}\n`, what);
      }
      ++fitsRefused;
      return;
    }
    const want = JSON.parse(run.stdout.toString("utf8"));
    assert.deepStrictEqual([visc40, visc100].map(Number), [want[0].kinematic_cst, want[1].kinematic_cst],
                           what);
    const detail = want[0].fit_points_detail || [];
    assert.strictEqual(numbers.length, detail.length, what);
    numbers.forEach((row, j) => {
      const point = detail[j];
      [point.temperature_c, point.measured_cst, point.line_cst, point.deviation_percent]
        .forEach((value, k) => assert.strictEqual(Number(row[k]), value, `${what}: point ${j}`));
    });
    // The sentence the tool writes below its rows.
    const text = spawnSync(toolPath, ["at", "40", ...args, "--law", law], { env: plain })
      .stdout.toString("utf8").trimEnd().split("\n").pop();
    if (numbers.length) assert.strictEqual(answer.note, text, what);
    ++fitsCompared;
  });
  assert.ok(fitsCompared >= 20 && fitsRefused >= 5, `${fitsCompared} fits compared with the tool, ${fitsRefused} refused`);
  // Each blend of a fraction, then the fraction for the viscosity it gave, as its target.
  const fractions = nativeAnswers(blendCases);
  fractions.forEach((answer, i) => {
    if (!answer.message) blendCases.push([...blendCases[i].slice(0, 7), "", typed(Number(answer.numbers[1]), 5)]);
  });
  const blendNatives = nativeAnswers(blendCases);
  let blendsCompared = 0;
  blendCases.forEach((fields, i) => {
    const asked = blendOf(fields);
    const what = `blend ${JSON.stringify(asked)}`;
    const answer = blendNatives[i];
    const { numbers, ...texts } = answer;
    const { numbers: moduleNumbers, ...moduleTexts } = module.blend(asked);
    assert.deepStrictEqual(moduleTexts, texts, what);
    moduleNumbers.forEach((text, j) => assert.ok(close(text, numbers[j]), what));
    const share = asked.fraction ? ["--fraction", asked.fraction] : ["--target", asked.target];
    const run = spawnSync(toolPath, ["blend", "--v40", asked.visc40, "--v100", asked.visc100,
                                     "--with-v40", asked.second40, "--with-v100", asked.second100,
                                     "--law", asked.law, "--at", asked.at, ...share,
                                     "--format", "json"], { env: plain });
    if (answer.message) {
      assert.notStrictEqual(run.status, 0, `${what}: the tool answered what the page refused`);
      return;
    }
    const want = JSON.parse(run.stdout.toString("utf8"));
    const expected = [want.fraction, want.blend_kinematic_cst, want.blend_kinematic_40c_cst,
                      want.blend_kinematic_100c_cst, want.viscosity_index_unrounded];
    assert.deepStrictEqual(numbers.map((text) => (text === "" ? null : Number(text))), expected, what);
    if (want.viscosity_index !== null) assert.strictEqual(texts.texts[4], String(want.viscosity_index), what);
    ++blendsCompared;
  });
  assert.ok(blendsCompared >= 30, `${blendsCompared} blends compared with the tool`);
  const oilsCompared = userOilsAgainstTool(module);
  const own = nativeAnswers(cases, process.env);
  const differing = own.filter((answer, i) =>
    answer.numbers.some((text, j) => text !== natives[i].numbers[j])).length;
  console.log(`with this machine's own log and pow, ${differing} of ${cases.length} native ` +
              "answers differ in the last digits of a number");
  console.log(`${cases.length} oils: ${succeeded} calculated, ${failed} failing steps, the same ` +
              `as the native build and the tool, ${tables} tables and ${rowsCompared} answers of rows from the tool, ${bearingsCompared} bearings from the tool and ` +
              `${bearingsRefused} refused as natively, ${bearingDigitsApart} bearing numbers apart in ` +
              `their last digits, ${fitsCompared} fits through points (${fitsRefused} refused) and ` +
              `${blendsCompared} blends from the tool, ${oilsCompared} (${Date.now() - started} ms)`);
}

main().catch((error) => {
  console.error(error.message || error);
  process.exit(1);
});

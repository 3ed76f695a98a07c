// The page: reads the boxes, asks the engine (the WebAssembly module) and shows its answer. No
// number is computed here; every text shown comes from the engine.
"use strict";
(function () {
  const $ = (id) => document.getElementById(id);
  const boxes = ["visc40", "visc100", "temp1", "temp2", "gravity"];
  const results = ["visc1", "visc2", "dynamic1", "dynamic2"];
  // The address fragment's key of each box.
  const keys = { visc40: "v40", visc100: "v100", gravity: "sg", temp1: "t1", temp2: "t2" };
  const properties = ["Viscosity index", "ISO grade"];
  let engine = null;
  let oils = [];
  let latest = null;  // the successful answer for the inputs shown, null once they change

  function clearAlerts() {
    for (const id of [...boxes, "calculate"]) refused(id, "");
  }

  // The list `id` of terms and their values, each pair's texts as given.
  function describe(id, pairs) {
    $(id).replaceChildren(...pairs.flatMap(([name, text]) => {
      const term = document.createElement("dt");
      term.textContent = name;
      const value = document.createElement("dd");
      value.textContent = text;
      return [term, value];
    }));
  }

  function showProperties(answer) {
    describe("properties", answer.properties
      .filter((p) => properties.includes(p.name) || p.value.endsWith(" mPa·s"))
      .map((p) => [p.name, p.value]));
  }

  function showChart(answer) {
    const chart = $("chart");
    if (answer.chartSvg) {
      chart.innerHTML = answer.chartSvg;
      $("chart-words").textContent = answer.chartDescription;
    } else {
      chart.replaceChildren();
      $("chart-words").textContent = answer.chartMessage;
    }
  }

  // The bearing box: its boxes by the engine's names, and the rows of its answer with their labels.
  const bearingBoxes = { dm: "dm", speed: "speed", running: "temperature", "bearing-type": "type",
                         rating: "rating", load: "load", fatigue: "fatigueLoad",
                         reliability: "reliability", cleanliness: "cleanliness" };
  const bearingRows = [
    ["rated", "Rated viscosity ν1, cSt"],
    ["kinematic", "Viscosity at the running temperature, cSt"],
    ["kappa", "Viscosity ratio κ = ν / ν1"],
    ["band", "Film"],
    ["kappa1At", "κ = 1 at, °C"],
    ["kappa4At", "κ = 4 at, °C"],
    ["basicLife", "Basic rating life L10h, h"],
    ["aIso", "Life modification factor a_ISO"],
    ["modifiedLife", "Modified rating life L_nmh, h"],
  ];

  // The bearing's answer and its messages, gone once the oil or the bearing changes.
  function forgetBearing() {
    $("bearing-answer").replaceChildren();
    $("bearing-note").textContent = "";
    for (const id of ["bearing", ...Object.keys(bearingBoxes)]) refused(id, "");
  }

  // The bearing on the oil of the boxes, when any of its own three is filled: the engine's texts,
  // or its message beside the box it is about, which gets the focus.
  function answerBearing() {
    forgetBearing();
    if (["dm", "speed", "running"].every((id) => $(id).value.trim() === "")) return;
    const asked = { visc40: $("visc40").value, visc100: $("visc100").value, law: $("law").value };
    for (const [id, key] of Object.entries(bearingBoxes)) asked[key] = $(id).value;
    const answer = engine.bearing(asked);
    if (answer.message) {
      return refused(answer.box && bearingBoxes[answer.box] ? answer.box : "bearing", answer.message);
    }
    describe("bearing-answer", bearingRows.filter(([key]) => answer[key] !== "")
      .map(([key, label]) => [label, answer[key]]));
    $("bearing-note").textContent = answer.lifeNote;
  }

  // Every answer shown belongs to the inputs shown. Once an input changes, the results are marked
  // as the previous inputs' and everything drawn from them is cleared, Copy and Download with it,
  // until the next calculation.
  function forgetAnswers() {
    latest = null;
    const shown = results.some((id) => $(id).value !== "");
    for (const id of results) {
      $(id).classList.remove("done");
      $(id).classList.toggle("stale", shown);
    }
    $("stale").textContent = shown ? "These results are for the previous inputs: press " +
                                     "Calculate for the inputs shown." : "";
    $("properties").replaceChildren();
    $("chart").replaceChildren();
    $("chart-words").textContent = "";
    $("found").textContent = "";
    $("rows").replaceChildren();
    $("download").disabled = true;
    $("copy").disabled = true;
    $("link").disabled = true;
    $("table").textContent = "";
    $("announce").textContent = "";
    $("status").textContent = "";
    forgetBearing();
    forgetBlend();
    $("fit-rows").replaceChildren();
    $("fit-note").textContent = "";
  }

  // Shows an answer: the results computed up to a failure fill their boxes and the others are
  // emptied; a failure's message goes next to its box, which gets the focus.
  function show(answer) {
    clearAlerts();
    forgetAnswers();
    $("stale").textContent = "";
    results.forEach((id, i) => {
      $(id).classList.remove("stale");
      $(id).value = i < answer.shown.length ? answer.shown[i] : "";
    });
    if (answer.message) {
      // A failure of no box's (a table row's) is told under the button, which keeps its place.
      if (!answer.box) return ($("calculate-alert").textContent = answer.message);
      refused(answer.box, answer.message);
      return $(answer.box).select();
    }
    latest = answer;
    for (const id of results) $(id).classList.add("done");
    showProperties(answer);
    $("download").disabled = false;
    $("copy").disabled = false;
    $("link").disabled = false;
    $("table").textContent = answer.table.replace(/\r\n/g, "\n");
    // Read out once, by the polite live region, and brought into view where the results lie
    // below the inputs (a phone).
    $("announce").textContent = results.map((id) => `${labelOf(id)}: ${$(id).value}`).join("; ");
    const heading = $("results-heading").getBoundingClientRect();
    if (heading.top < 0 || heading.bottom > innerHeight) {
      $("results-heading").scrollIntoView({ block: "start" });
    }
  }

  const labelOf = (id) => document.querySelector(`label[for="${id}"]`).textContent;

  // The inputs by the engine's names.
  function inputs() {
    // No chart size: the chart is asked for on its own, a frame later (chartSize).
    const typed = { picked: $("list").value, law: $("law").value, kept: keptText(),
                    chartWidth: 0, chartHeight: 0 };
    for (const id of boxes) typed[id] = $(id).value;
    return typed;
  }

  // The chart drawn at the size it is shown, so that its texts keep their pixel sizes.
  function chartSize() {
    const width = Math.round($("chart").clientWidth) || 800;
    return { chartWidth: width, chartHeight: Math.round(Math.max(300, Math.min(560, width * 0.7))) };
  }

  // Calculates and shows the results at once; the chart follows after they are painted.
  let presses = 0;
  function calculate() {
    const typed = inputs();
    const answer = engine.calculate(typed, false);
    show(answer);
    rememberInAddress();
    if (!answer.message) {
      answerBearing();
      const press = ++presses;
      requestAnimationFrame(() => setTimeout(() => {
        if (press === presses && latest === answer) showChart(engine.calculate({ ...typed, ...chartSize() }, true));
      }, 0));
    }
    return answer;
  }

  // The address of the inputs shown: the five boxes, the oil picked and the law.
  function address() {
    const params = new URLSearchParams();
    for (const id of boxes) params.set(keys[id], $(id).value);
    if ($("list").value !== oils[oils.length - 1].name) params.set("oil", $("list").value);
    if ($("law").value !== "walther") params.set("law", $("law").value);
    return "#" + params.toString();
  }

  function rememberInAddress() {
    history.replaceState(null, "", address());
  }

  // Fills the boxes from the address's fragment and says what of it was left unused, and why;
  // true when it named any input.
  function fillFromAddress() {
    const notes = $("link-notes");
    notes.replaceChildren();
    const fragment = location.hash.slice(1);
    if (!fragment) return false;
    const note = (text) => {
      const item = document.createElement("li");
      item.textContent = text;
      notes.append(item);
    };
    const params = new URLSearchParams(fragment);
    const known = [...Object.values(keys), "oil", "law"];
    const seen = new Set();
    for (const [key, value] of params) {
      if (!known.includes(key)) {
        note(`The link's "${key}" was ignored: it names no input of this page.`);
      } else if (seen.has(key)) {
        note(`The link's second "${key}" was ignored: the first one is used.`);
      }
      seen.add(key);
    }
    let any = false;
    const oil = params.get("oil");
    if (oil !== null) {
      if ([...oils, ...userOils].some((o) => o.name === oil)) {
        $("list").value = oil;
        picked();
        any = true;
      } else {
        note(`The link's oil "${oil}" was ignored: it is not in the lubricant list.`);
      }
    }
    for (const id of boxes) {
      const value = params.get(keys[id]);
      if (value === null) {
        if (oil === null || !["visc40", "visc100", "gravity"].includes(id)) {
          note(`The link gives no ${labelOf(id)}: the box keeps ${$(id).value || "nothing"}.`);
        }
        continue;
      }
      $(id).value = value;
      any = true;
    }
    const law = params.get("law");
    if (law === "walther" || law === "d341") {
      $("law").value = law;
      any = true;
    } else if (law !== null) {
      note(`The link's law "${law}" was ignored: the law is walther or d341.`);
    }
    return any;
  }

  async function copyLink() {
    const link = location.href.split("#")[0] + address();
    await writeClipboard(link);
    $("status").textContent = "Link copied.";
  }

  function fillList() {
    const list = $("list");
    for (const oil of oils) {
      const option = document.createElement("option");
      option.textContent = oil.name;
      list.append(option);
    }
    list.value = oils[oils.length - 1].name;  // "OTHER": the boxes hold no catalogue oil yet
  }

  function picked() {
    pickedOwn();
    const name = $("list").value;
    const oil = oils.find((o) => o.name === name) || userOils.find((o) => o.name === name);
    if (!oil || !oil.visc40) return;
    $("visc40").value = oil.visc40;
    $("visc100").value = oil.visc100;
    if (oil.gravity) $("gravity").value = oil.gravity;  // an oil of one's own may have none
  }

  // The user's oils, kept in the browser's storage as the text of the desktop's oils.csv, read
  // and written by the engine; a text that cannot be read is left as it is and said so.
  const storageKey = "project1.oils.csv";
  let userOils = [];
  function keptText() {
    try {
      return localStorage.getItem(storageKey) || "";
    } catch (e) {
      return "";
    }
  }

  function listUserOils(answer) {
    userOils = answer.oils;
    const list = $("list");
    const chosen = list.value;
    for (const group of list.querySelectorAll("optgroup")) group.remove();
    if (userOils.length) {
      const group = document.createElement("optgroup");
      group.label = "Your oils";
      for (const oil of userOils) {
        const option = document.createElement("option");
        option.textContent = oil.name;
        group.append(option);
      }
      list.append(group);
    }
    list.value = chosen;
    if (list.value !== chosen) list.value = oils[oils.length - 1].name;
    $("export").disabled = userOils.length === 0;
  }

  async function importOils() {
    const file = $("import").files[0];
    if (!file) return;
    const text = await file.text();
    $("import").value = "";
    keep(engine.importUserOils(keptText(), text, file.name), $("list").value, "import");
  }

  // The oils kept as the engine's answer, when it has no message: into the storage and the list,
  // the oil `chosen` picked, and what was done said. With a message, it goes beside its box and
  // nothing is kept. The text kept before is remembered for Undo.
  let undoText = null;
  function keep(answer, chosen, box) {
    $("user-oils-status").textContent = "";
    for (const id of ["user-name", "user-note", "import"]) refused(id, "");
    if (answer.message) {
      const id = answer.box && $(answer.box) ? answer.box : box;
      refused(id, answer.message);
      return false;
    }
    const previous = keptText();
    try {
      localStorage.setItem(storageKey, answer.csv);
    } catch (e) {
      refused(box, "The oils could not be kept: this browser's storage is full or switched " +
                   "off. Nothing was changed.");
      return false;
    }
    undoText = previous;
    $("undo-oils").hidden = false;
    listUserOils(answer);
    const shownOil = $("list").value;
    const listed = [...oils, ...userOils].some((o) => o.name === chosen);
    $("list").value = listed ? chosen : oils[oils.length - 1].name;
    pickedOwn();
    if ($("list").value !== shownOil) forgetAnswers();  // the oil picked is one of the inputs
    $("user-oils-status").textContent = answer.summary;
    return true;
  }

  // The oil of the name and note typed and the oil's boxes, by the engine's names.
  const typedOil = () => ({ name: $("user-name").value, note: $("user-note").value,
                            visc40: $("visc40").value, visc100: $("visc100").value,
                            gravity: $("gravity").value });
  const ownPicked = () => userOils.find((o) => o.name === $("list").value);

  // Save and Remove act on the oil of the user's picked in the list; picking one fills its name
  // and note.
  function pickedOwn() {
    const own = ownPicked();
    $("save-oil").disabled = !own;
    $("remove-oil").disabled = !own;
    if (!own) return;
    $("user-name").value = own.name;
    $("user-note").value = own.note;
  }

  function addOil() {
    const oil = typedOil();
    keep(engine.addUserOil(keptText(), oil), oil.name.trim(), "user-name");
  }

  function saveOil() {
    const own = ownPicked();
    if (!own) return;
    const oil = typedOil();
    keep(engine.changeUserOil(keptText(), own.name, oil), oil.name.trim(), "user-name");
  }

  function removeOil() {
    const own = ownPicked();
    if (!own) return;
    keep(engine.removeUserOil(keptText(), own.name), "", "user-name");
  }

  // The oils as they were before the last change made here.
  function undoOils() {
    if (undoText === null) return;
    const answer = engine.userOilsKept(undoText);
    const chosen = $("list").value;
    if (keep(answer, chosen, "user-name")) {
      $("user-oils-status").textContent = "Undone: " + answer.summary;
      undoText = null;
      $("undo-oils").hidden = true;
    }
  }

  function exportOils() {
    const answer = engine.userOilsKept(keptText());
    if (answer.message) {
      $("import-alert").textContent = answer.message;
      return;
    }
    saveFile("oils.csv", "text/csv", answer.csv, "user-oils-status");
  }

  // `text` saved as the download `name`, and said so in the status `status`.
  function saveFile(name, type, text, status) {
    const link = document.createElement("a");
    link.href = URL.createObjectURL(new Blob([text], { type }));
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
    $(status).textContent = name + " saved to your downloads.";
  }

  function download() {
    if (latest) saveFile("Viscosity.txt", "text/plain", latest.table, "status");
  }

  async function writeClipboard(text) {
    try {
      await navigator.clipboard.writeText(text);
    } catch (e) {
      const area = document.createElement("textarea");
      area.value = text;
      document.body.append(area);
      area.select();
      document.execCommand("copy");
      area.remove();
    }
  }

  async function copy() {
    if (!latest) return;
    await writeClipboard(latest.results);
    $("status").textContent = "Results copied.";
  }

  // The temperature at which the oil in the boxes reaches the wanted viscosity, on the law's line.
  function find() {
    const answer = engine.temperatureFor($("visc40").value, $("visc100").value, $("law").value,
                                         $("wanted").value);
    $("found").textContent = answer.text;
    refused("wanted", answer.message);
  }

  // The viscosities at the temperatures typed, or the table of the range typed, with their
  // dynamic viscosities (by the gravity at each temperature for an oil given an expansion), as
  // the tool answers them; a failure's message beside its box.
  const rowBoxes = ["unit", "temperatures", "expansion", "from", "to", "step"];
  const shownRows = 1000;  // a longer table is all downloaded by the tool, not drawn here
  function answerRows(ask, caption) {
    clearAlerts();
    for (const id of [...rowBoxes, "rows"]) refused(id, "");
    const asked = { law: $("law").value };
    for (const id of ["visc40", "visc100", "gravity", ...rowBoxes]) asked[id] = $(id).value;
    const answer = engine[ask](asked);
    const out = $("rows");
    out.replaceChildren();
    if (answer.message) return refused(answer.box || "rows", answer.message);
    out.append(tableOf(answer, caption + (answer.rows.length > shownRows
      ? ` (the first ${shownRows} of ${answer.rows.length} rows)` : "")));
  }

  // The table of an answer's columns and rows, each cell the engine's text.
  function tableOf(answer, caption) {
    const table = document.createElement("table");
    const title = document.createElement("caption");
    title.textContent = caption;
    const head = document.createElement("tr");
    for (const column of answer.columns) {
      const cell = document.createElement("th");
      cell.scope = "col";
      cell.textContent = column;
      head.append(cell);
    }
    const body = document.createElement("tbody");
    for (const row of answer.rows.slice(0, shownRows)) {
      const line = document.createElement("tr");
      for (const text of row) {
        const cell = document.createElement("td");
        cell.textContent = text;
        line.append(cell);
      }
      body.append(line);
    }
    table.createTHead().append(head);
    table.append(title, body);
    return table;
  }

  // A message beside the box `id`, which is marked and gets the focus, or in a panel's alert
  // `id`-alert where `id` is no box; "" clears both.
  function refused(id, message) {
    $(id + "-alert").textContent = message;
    const box = $(id);
    if (!box || !("value" in box)) return;
    if (!message) return box.removeAttribute("aria-invalid");
    box.setAttribute("aria-invalid", "true");
    box.focus();
  }

  // The line through the measured points, as the tool fits it: its ν40 and ν100 into their
  // boxes, and with three or more points how far it lies from each.
  function fit() {
    const answer = engine.fitPoints($("points").value, $("law").value);
    refused("points", answer.message);
    if (answer.message) return;
    $("visc40").value = answer.visc40;
    $("visc100").value = answer.visc100;
    forgetAnswers();
    if (answer.rows.length) $("fit-rows").append(tableOf(answer, "The points and their line, by " + $("law").value));
    $("fit-note").textContent = answer.note;
  }

  // The blend of the oil of the boxes with the second oil, or the fraction for a target; gone
  // once either oil or the blend's boxes change.
  const blendBoxes = ["second40", "second100", "blend-at", "fraction", "target"];
  const blendRows = ["Fraction of the second oil", "Blend at that temperature, cSt",
                     "Blend at 40 °C, cSt", "Blend at 100 °C, cSt", "Blend viscosity index"];
  function forgetBlend() {
    $("blend-answer").replaceChildren();
    for (const id of [...blendBoxes, "blend"]) refused(id, "");
  }

  function blend() {
    forgetBlend();
    const asked = { visc40: $("visc40").value, visc100: $("visc100").value, law: $("law").value,
                    at: $("blend-at").value };
    for (const id of ["second40", "second100", "fraction", "target"]) asked[id] = $(id).value;
    const answer = engine.blend(asked);
    if (answer.message) return refused(answer.box || "blend", answer.message);
    describe("blend-answer", answer.texts.map((text, i) => [blendRows[i], text]));
  }

  // ν100 of the oil of the ν40 typed and a viscosity index, as the tool finds it: into its box.
  function fromIndex() {
    const answer = engine.nu100ForIndex($("visc40").value, $("index").value);
    refused("index", answer.message);
    if (answer.message) return;
    $("visc100").value = answer.text;
    forgetAnswers();
  }

  // Until the engine is there, or when it cannot be, the form says so instead of sending itself.
  function unavailable(reason) {
    $("calculate-alert").textContent = "The calculator cannot run in this browser: " + reason;
    $("calculate").disabled = true;
  }

  function start(module) {
    engine = module;
    oils = engine.oils();
    fillList();
    const kept = engine.userOilsKept(keptText());
    listUserOils(kept);
    $("import-alert").textContent = kept.message;
    $("import").addEventListener("change", importOils);
    $("export").addEventListener("click", exportOils);
    $("add-oil").addEventListener("click", addOil);
    $("save-oil").addEventListener("click", saveOil);
    $("remove-oil").addEventListener("click", removeOil);
    $("undo-oils").addEventListener("click", undoOils);
    $("list").addEventListener("change", () => {
      picked();
      forgetAnswers();
    });
    for (const id of [...boxes, "law"]) $(id).addEventListener("input", forgetAnswers);
    const choices = engine.bearingChoices();
    for (const [id, names, chosen] of [["bearing-type", choices.types, "ball"],
                                       ["reliability", choices.reliabilities, "90"],
                                       ["cleanliness", choices.cleanliness, "normal"]]) {
      for (const name of names) {
        const option = document.createElement("option");
        option.textContent = name;
        $(id).append(option);
      }
      $(id).value = chosen;
    }
    for (const id of Object.keys(bearingBoxes)) {
      $(id).addEventListener($(id).tagName === "SELECT" ? "change" : "input", forgetBearing);
    }
    $("wanted").addEventListener("input", () => {
      $("found").textContent = "";
    });
    $("download").addEventListener("click", download);
    $("copy").addEventListener("click", copy);
    $("link").addEventListener("click", copyLink);
    // The printout leaves out the boxes that hold nothing.
    window.addEventListener("beforeprint", () => {
      for (const box of document.querySelectorAll(".field input")) {
        box.closest(".field").classList.toggle("empty", box.value === "");
      }
    });
    $("find").addEventListener("click", find);
    $("from-index").addEventListener("click", fromIndex);
    $("fit").addEventListener("click", fit);
    $("blend").addEventListener("click", blend);
    for (const id of blendBoxes) $(id).addEventListener("input", forgetBlend);
    $("points").addEventListener("input", () => refused("points", ""));
    $("at").addEventListener("click", () => answerRows("rowsAt", "At the temperatures typed, by " + $("law").value));
    $("tabulate").addEventListener("click", () => answerRows("tableRows", "The table, by " + $("law").value));
    for (const id of rowBoxes) {
      $(id).addEventListener(id === "unit" ? "change" : "input", () => $("rows").replaceChildren());
    }
    $("wanted").addEventListener("keydown", (event) => {
      if (event.key !== "Enter") return;
      event.preventDefault();
      find();
    });
    window.addEventListener("hashchange", () => {
      if (fillFromAddress()) calculate();
    });
    if (fillFromAddress()) calculate();
    // For tests and benchmarks: ready, and the time from opening the page to the next frame
    // after the address's inputs were calculated.
    requestAnimationFrame(() => {
      window.project1 = { shown: performance.now() };
      document.documentElement.dataset.ready = "true";
    });
  }

  $("calculator").addEventListener("submit", (event) => {
    event.preventDefault();
    if (engine) calculate();
  });
  // Served with its manifest, the page keeps itself for offline use.
  if (document.querySelector('link[rel="manifest"]') && "serviceWorker" in navigator) {
    navigator.serviceWorker.register("sw.js").catch(() => {});
  }
  // The engine's script instantiates the module that load_engine.js is compiling.
  const failed = (error) => unavailable(String(error && error.message || error));
  const instantiateWasm = (imports, receive) => {
    window.project1Wasm.then((module) => WebAssembly.instantiate(module, imports)
      .then((instance) => receive(instance, module))).catch(failed);
    return {};
  };
  if (typeof WebAssembly !== "object") {
    unavailable("it does not run WebAssembly.");
  } else {
    Project1Engine({ instantiateWasm }).then(start, failed);
  }
})();

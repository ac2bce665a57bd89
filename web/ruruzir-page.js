// The page's front end: reads the fields, calls the calculator's core (ruruzir.js, the C
// interface compiled to WebAssembly) and shows its text. No moisture physics here: only the
// reading of typed numbers, the names of the converter's options and the page's state.
"use strict";

(function () {
  const MOISTURE_UNITS = 0;
  const PRESSURE_UNITS = 1;
  const TEXT_SIZE = 100;
  const SIDE_SIZE = 40; // struct ruruzir_side: four doubles and an int, padded
  const STORAGE_KEY = "ruruzir-dewpoint-state";

  // Named as ruruzir-convert names them; the numbers are api/ruruzir.h's codes.
  const FORMULATIONS = [
    ["goff-gratch", 1, "Goff-Gratch"],
    ["hyland-wexler", 0, "Hyland and Wexler 1983"],
    ["sonntag", 2, "Sonntag 1990"],
    ["magnus", 3, "Magnus"],
  ];
  const ENHANCEMENTS = [
    ["none", 0, "none"],
    ["bogel", 1, "Bögel"],
    ["greenspan", 2, "Greenspan"],
  ];
  const MEDIA = [
    ["natural-gas", 2, "natural gas"],
    ["air", 1, "air"],
    ["water", 0, "water vapour (the moist gas's density)"],
  ];

  // The side values: option name, the unit that needs it, its label, default, check.
  const SIDE_VALUES = [
    { option: "mol-weight", unit: "ppmw-gas", label: "in a gas of molecular weight",
      initial: "29", check: positive },
    { option: "henry", unit: "ppmw-liquid", label: "in a liquid of Henry's constant (ppmW/mbar)",
      initial: "1.9", check: positive },
    { option: "ambient", unit: "rh", label: "at an ambient temperature (°C) of",
      initial: "20", check: temperature, signed: true },
    { option: "medium", unit: "g-m3", label: "of", hiddenLabel: " the medium", initial: "natural-gas", choices: MEDIA },
    { option: "prevailing", unit: "g-m3", label: "at a prevailing temperature (°C) of",
      initial: "20", check: temperature, signed: true },
  ];
  const SIDES = ["source", "target"];

  // Where the state starts: the example the calculator's manual begins with.
  const INITIAL = {
    value: "-40", from: "frost-c", to: "frost-c", pressure: "1013.25", "pressure-unit": "mbar",
    "target-pressure": "7000", "target-pressure-unit": "mbar", formulation: "goff-gratch",
    enhancement: "none",
  };
  for (const side of SIDES) {
    for (const entry of SIDE_VALUES) INITIAL[side + "-" + entry.option] = entry.initial;
  }
  const NUMBER_FIELDS = ["pressure", "value", "target-pressure"];
  const UNFINISHED = "an unfinished number";

  const element = (id) => document.getElementById(id);
  let core = null;
  let memory = null; // text, result and the two sides in the module's memory
  let moistureNames = [];
  let pressureNames = [];
  let shownFragment = null;

  // --- Typed numbers ------------------------------------------------------------------------
  // A whole text as a number: blanks around it, a sign, digits with a decimal point or comma,
  // an exponent. A text that could still become a number says so instead of being read as one.
  const WHOLE = /^[+-]?(\d+[.,]?\d*|[.,]\d+)([eE][+-]?\d+)?$/;
  const BEGUN = /^[+-]?(\d*[.,]?\d*)([eE][+-]?)?$/;
  function readNumber(text) {
    const trimmed = text.trim();
    if (trimmed === "") return { error: "enter a number" };
    if (!WHOLE.test(trimmed)) {
      return { error: BEGUN.test(trimmed) ? UNFINISHED : "not a number" };
    }
    const value = Number(trimmed.replace(",", "."));
    if (!Number.isFinite(value)) return { error: "too large a number" };
    return { value };
  }
  function positive(value) {
    const held = Math.fround(value);
    return held > 0 && Number.isFinite(held) ? null : "must be greater than 0";
  }
  function temperature(value) {
    const held = Math.fround(value);
    return held > -80 && held < 200 ? null : "stay between -80 and 200 °C (both excluded)";
  }

  // --- The core -------------------------------------------------------------------------------
  function readText(address) {
    const bytes = core.HEAPU8;
    let end = address;
    while (bytes[end] !== 0) ++end;
    return new TextDecoder("windows-1252").decode(bytes.subarray(address, end));
  }
  function unitNames(kind) {
    const names = [];
    for (let code = 0; code < core._ruruzir_unit_count(kind); ++code) {
      names.push(readText(core._ruruzir_unit_name(kind, code)));
    }
    return names;
  }
  // The code of a unit name or one of the converter's aliases, -1 for none (a bare "psi", absolute
  // to some and gauge to others, is none, as the converter refuses it).
  function unitCode(kind, name) {
    const bytes = new TextEncoder().encode(name);
    if (bytes.length >= TEXT_SIZE || bytes.includes(0)) return -1;
    core.HEAPU8.set(bytes, memory.text);
    core.HEAPU8[memory.text + bytes.length] = 0;
    return core._ruruzir_unit_code(kind, memory.text);
  }
  // The converter's pressure when none is given: one standard atmosphere in the unit; nothing
  // while no unit is chosen.
  function oneAtmosphere(unitName) {
    const code = pressureNames.indexOf(unitName);
    return code < 0 ? "" : readText(core._ruruzir_page_atmosphere_reading(code));
  }
  function unitCaption(kind, code) {
    core._ruruzir_unit_caption(kind, code, memory.text, TEXT_SIZE);
    return readText(memory.text);
  }
  function writeSide(address, side) {
    const doubles = address / 8;
    core.HEAPF64[doubles] = side.ambient;
    core.HEAPF64[doubles + 1] = side.molWeight;
    core.HEAPF64[doubles + 2] = side.henry;
    core.HEAPF64[doubles + 3] = side.prevailing;
    core.HEAP32[(address + 32) / 4] = side.medium;
  }
  // One conversion; returns { status, text } with the core's text (Unicode).
  function convert(request) {
    writeSide(memory.source, request.sourceSide);
    writeSide(memory.target, request.targetSide);
    const status = core._ruruzir_convert(request.value, request.from, request.pressure,
      request.pressureUnit, memory.source, request.to, request.targetPressure,
      request.targetPressureUnit, memory.target, request.formulation, request.enhancement,
      memory.result, memory.text, TEXT_SIZE);
    return { status, text: readText(memory.text) };
  }

  // --- The form -----------------------------------------------------------------------------
  // A closed list shows each choice's short label; its full caption is the option's title
  // and the line of help under the sentence.
  function fill(select, entries) {
    for (const [name, , label, caption] of entries) {
      const option = new Option(label, name);
      if (caption && caption !== label) option.title = caption;
      select.add(option);
    }
  }
  function buildSides() {
    for (const side of SIDES) {
      const holder = element(side + "-side");
      for (const entry of SIDE_VALUES) {
        const id = side + "-" + entry.option;
        const group = document.createElement("span");
        group.className = "side-value";
        group.dataset.unit = entry.unit;
        group.hidden = true;
        const label = document.createElement("label");
        label.htmlFor = id;
        label.textContent = entry.label;
        if (entry.hiddenLabel) {
          const hidden = document.createElement("span");
          hidden.className = "hidden-label";
          hidden.textContent = entry.hiddenLabel;
          label.append(hidden);
        }
        const field = document.createElement(entry.choices ? "select" : "input");
        field.id = id;
        if (entry.choices) {
          fill(field, entry.choices);
        } else {
          field.inputMode = "decimal";
          field.spellcheck = false;
          field.setAttribute("aria-describedby", id + "-error");
        }
        const error = document.createElement("span");
        error.className = "error";
        error.id = id + "-error";
        group.append(label, " ", field);
        if (entry.signed) group.append(signButton(id));
        group.append(" ", error);
        holder.append(group, " ");
      }
    }
  }
  const allFields = () => Object.keys(INITIAL);
  function currentState() {
    const state = {};
    for (const name of allFields()) state[name] = element(name).value;
    return state;
  }
  function showState(state) {
    for (const name of allFields()) element(name).value = state[name];
  }

  // --- State in the address and in local storage ---------------------------------------------
  function parseFragment(fragment) {
    const pairs = [];
    for (const part of fragment.replace(/^#/, "").split("&")) {
      if (part === "") continue;
      const equals = part.indexOf("=");
      const decode = (text) => {
        try {
          return decodeURIComponent(text);
        } catch (error) {
          return text;
        }
      };
      pairs.push(equals < 0 ? [decode(part), ""] : [decode(part.slice(0, equals)),
        decode(part.slice(equals + 1))]);
    }
    return pairs;
  }
  // The state that name/value pairs make over `base`; what could not be used goes into
  // `problems`. A link without a pressure means one atmosphere, as for the converter.
  function stateFromPairs(pairs, base, problems, fromLink) {
    // Names are looked up as own properties only: a link's "constructor" or "__proto__" is
    // an unknown option like any other, never a property every object inherits.
    const state = Object.assign(Object.create(null), base);
    const known = Object.assign(Object.create(null), {
      from: moistureNames, to: moistureNames, "pressure-unit": pressureNames,
      "target-pressure-unit": pressureNames,
      formulation: FORMULATIONS.map((entry) => entry[0]),
      enhancement: ENHANCEMENTS.map((entry) => entry[0]),
    });
    for (const side of ["", "source-", "target-"]) known[side + "medium"] = MEDIA.map((e) => e[0]);
    let pressureGiven = false;
    let targetPressureGiven = false;
    // Options for both sides first, so that the ones for one side override them.
    pairs.sort((a, b) => (SIDE_VALUES.some((e) => e.option === a[0]) ? 0 : 1) -
      (SIDE_VALUES.some((e) => e.option === b[0]) ? 0 : 1));
    const unitKinds = Object.assign(Object.create(null), {
      from: MOISTURE_UNITS, to: MOISTURE_UNITS, "pressure-unit": PRESSURE_UNITS,
      "target-pressure-unit": PRESSURE_UNITS,
    });
    for (let [name, text] of pairs) {
      if (name === "") continue; // "#=5" or "&&": nothing asked
      const shared = SIDE_VALUES.some((entry) => entry.option === name);
      if (!shared && !Object.hasOwn(state, name)) {
        problems.push({ text: `${name} is not an option`, fields: [] });
        continue;
      }
      if (Object.hasOwn(known, name)) {
        const code = Object.hasOwn(unitKinds, name) ? unitCode(unitKinds[name], text) : -1;
        text = code >= 0 ? known[name][code] : text.toLowerCase();
        if (!known[name].includes(text)) {
          // No guess: the list shows no choice, and there is no result until one is made.
          const fields = shared ? SIDES.map((side) => side + "-" + name) : [name];
          problems.push({ text: `${name}=${text} is not one of ${known[name].join(", ")}`,
            fields });
          text = "";
        }
      }
      if (shared) {
        for (const side of SIDES) state[side + "-" + name] = text;
      } else {
        state[name] = text;
        if (name === "pressure") pressureGiven = true;
        if (name === "target-pressure") targetPressureGiven = true;
      }
    }
    if (!fromLink) return state;
    if (!pressureGiven) state.pressure = oneAtmosphere(state["pressure-unit"]);
    if (!targetPressureGiven) state["target-pressure"] = oneAtmosphere(state["target-pressure-unit"]);
    return state;
  }
  function stateFromFragment(fragment, base, problems) {
    return stateFromPairs(parseFragment(fragment), base, problems, true);
  }
  // The fragment of a state: every option of the sentence, and the side values the two
  // chosen units use.
  function fragmentOf(state) {
    const names = ["value", "from", "to", "pressure", "pressure-unit", "target-pressure",
      "target-pressure-unit", "formulation", "enhancement"];
    for (const side of SIDES) {
      const unit = state[side === "source" ? "from" : "to"];
      for (const entry of SIDE_VALUES) {
        if (entry.unit === unit) names.push(side + "-" + entry.option);
      }
    }
    return "#" + names.map((name) => name + "=" + encodeURIComponent(state[name])
      .replace(/%2C/g, ",")).join("&");
  }
  function remember(state) {
    const fragment = fragmentOf(state);
    if (fragment !== location.hash) {
      shownFragment = fragment;
      history.replaceState(null, "", fragment);
    }
    try {
      localStorage.setItem(STORAGE_KEY, JSON.stringify(state));
    } catch (error) {
      // No storage (private mode, a full quota): the address still holds the state.
    }
  }
  function storedState() {
    try {
      const stored = JSON.parse(localStorage.getItem(STORAGE_KEY) || "null");
      if (stored && typeof stored === "object") {
        const pairs = Object.entries(stored).filter(([name, text]) =>
          Object.hasOwn(INITIAL, name) && typeof text === "string");
        return stateFromPairs(pairs, INITIAL, [], false);
      }
    } catch (error) {
      // A damaged entry: start from the example.
    }
    return null;
  }

  // --- The sentence -------------------------------------------------------------------------
  function setError(id, message) {
    const field = element(id);
    const error = element(id + "-error");
    if (error.textContent !== message) error.textContent = message;
    if (message) {
      field.setAttribute("aria-invalid", "true");
    } else {
      field.removeAttribute("aria-invalid");
    }
  }
  function codeOf(entries, name) {
    const found = entries.find((entry) => entry[0] === name);
    return found ? found[1] : -1;
  }
  // The side values of a side as the core takes them; null when one it needs is wrong.
  function readSide(side, unit, report) {
    const values = { ambient: 20, molWeight: 29, henry: 1.9, prevailing: 20, medium: 2 };
    let good = true;
    for (const entry of SIDE_VALUES) {
      const id = side + "-" + entry.option;
      const used = entry.unit === unit;
      element(id).parentElement.hidden = !used;
      if (!used || entry.choices) {
        if (entry.choices && used) values.medium = codeOf(MEDIA, element(id).value);
        if (!entry.choices) setError(id, "");
        continue;
      }
      const number = readNumber(element(id).value);
      const message = number.error || entry.check(number.value);
      if (report) setError(id, message || "");
      if (message) {
        good = false;
        continue;
      }
      const key = { "mol-weight": "molWeight", henry: "henry", ambient: "ambient",
        prevailing: "prevailing" }[entry.option];
      values[key] = number.value;
    }
    return good ? values : null;
  }
  // The request the fields make, or null (with the faults shown next to their fields).
  function readRequest() {
    const numbers = {};
    let good = true;
    for (const id of NUMBER_FIELDS) {
      const number = readNumber(element(id).value);
      let error = number.error || "";
      const unit = pressureNames.indexOf(element(id + "-unit")?.value);
      // A pressure ruruzir-convert refuses, refused in its words.
      if (!error && unit >= 0 && !core._ruruzir_page_possible_pressure(unit, number.value)) {
        error = `${element(id).value.trim()} ${readText(core._ruruzir_page_pressure_label(unit))}` +
          " is at or below vacuum: no gas has that pressure";
      }
      setError(id, error);
      if (error) good = false;
      numbers[id] = number.value;
    }
    const sourceSide = readSide("source", element("from").value, true);
    const targetSide = readSide("target", element("to").value, true);
    // A list left without a choice by a link: no result until one is chosen.
    const lists = element("calculator").querySelectorAll("select:not([hidden] select)");
    if ([...lists].some((list) => list.selectedIndex < 0)) good = false;
    if (!good || !sourceSide || !targetSide) return null;
    return {
      value: numbers.value,
      from: moistureNames.indexOf(element("from").value),
      pressure: numbers.pressure,
      pressureUnit: pressureNames.indexOf(element("pressure-unit").value),
      sourceSide,
      to: moistureNames.indexOf(element("to").value),
      targetPressure: numbers["target-pressure"],
      targetPressureUnit: pressureNames.indexOf(element("target-pressure-unit").value),
      targetSide,
      formulation: codeOf(FORMULATIONS, element("formulation").value),
      enhancement: codeOf(ENHANCEMENTS, element("enhancement").value),
    };
  }
  // The answer: the result with its unit's label, the same number in the sentence, and what
  // it answers; the copy button only while there is something to copy.
  function showResult(text, request) {
    const result = element("result");
    if (result.textContent !== text) result.textContent = text;
    const unit = text ? labelOf(element("to")) : "";
    setText("result-unit", unit);
    setText("result-echo", text);
    let context = "";
    if (text && request) {
      context = `at ${element("target-pressure").value.trim()} ` +
        `${labelOf(element("target-pressure-unit"))}, from ${element("value").value.trim()} ` +
        `${labelOf(element("from"))} at ${element("pressure").value.trim()} ` +
        labelOf(element("pressure-unit"));
    }
    setText("result-context", context);
    element("copy").disabled = !text;
    scheduleAnnouncement();
  }
  function setText(id, text) {
    const holder = element(id);
    if (holder.textContent !== text) holder.textContent = text;
  }
  const labelOf = (select) => (select.selectedIndex < 0 ? "" :
    select.options[select.selectedIndex].textContent);
  // The line of help: the full captions of the two chosen moisture units.
  function showHelp() {
    const lines = [];
    for (const id of ["from", "to"]) {
      const select = element(id);
      const option = select.options[select.selectedIndex];
      if (option && option.title) lines.push(`${option.textContent}: ${option.title}`);
    }
    setText("unit-help", [...new Set(lines)].join("; "));
  }

  // --- What a screen reader hears -------------------------------------------------------------
  // Once typing pauses: the result with its unit, or the first fault; a number still being
  // typed ("-", "1e") is not announced, and nothing is said twice.
  const ANNOUNCE_AFTER_MS = 700;
  let announceTimer = 0;
  let announced = "";
  function announcement() {
    const text = element("result").textContent;
    if (text) return `${text} ${element("result-unit").textContent}`;
    for (const error of document.querySelectorAll("#calculator .error")) {
      const message = error.textContent;
      if (!message || message === UNFINISHED || error.closest("[hidden]")) continue;
      const field = element(error.id.replace(/-error$/, ""));
      const label = field.labels && field.labels[0] ? field.labels[0].textContent.trim() : "";
      return `${label} ${field.value.trim()}: ${message}`;
    }
    return "";
  }
  function scheduleAnnouncement() {
    clearTimeout(announceTimer);
    announceTimer = setTimeout(() => {
      const text = announcement();
      if (text && text !== announced) {
        announced = text;
        element("announce").textContent = text;
      }
    }, ANNOUNCE_AFTER_MS);
  }

  // --- Copy and share -------------------------------------------------------------------------
  async function copyText(text) {
    try {
      await navigator.clipboard.writeText(text);
      return true;
    } catch (error) {
      // No clipboard interface (an old browser, a page from file:// in some): the selection.
      const area = document.createElement("textarea");
      area.value = text;
      area.setAttribute("readonly", "");
      area.className = "hidden-label";
      document.body.append(area);
      area.select();
      const copied = document.execCommand("copy");
      area.remove();
      return copied;
    }
  }
  function done(message) {
    setText("action-done", message);
    setTimeout(() => setText("action-done", ""), 4000);
  }
  async function copyResult() {
    const text = `${element("result").textContent} ${element("result-unit").textContent}`;
    done((await copyText(text)) ? `Copied “${text}”` : "Could not copy: select the result");
  }
  async function shareLink() {
    const url = location.href;
    if (navigator.share) {
      try {
        await navigator.share({ title: document.title, text: element("result").textContent
          ? `${element("result").textContent} ${element("result-unit").textContent}` : "", url });
        return;
      } catch (error) {
        if (error && error.name === "AbortError") return; // the user closed the share sheet
      }
    }
    done((await copyText(url)) ? "Link copied" : "Could not copy the link: copy the address");
  }

  // --- Negative numbers on a phone --------------------------------------------------------------
  // A phone's decimal keypad may have no minus key: a button next to each field that can take
  // a negative number changes its sign (shown only where the pointer is a finger).
  function signButton(id) {
    const button = document.createElement("button");
    button.type = "button";
    button.className = "sign";
    button.textContent = "±";
    button.dataset.for = id;
    button.setAttribute("aria-label", "change the sign");
    button.setAttribute("aria-controls", id);
    return button;
  }
  function changeSign(id) {
    const field = element(id);
    const text = field.value.trim();
    field.value = text.startsWith("-") ? text.slice(1) : text.startsWith("+") ? "-" +
      text.slice(1) : "-" + text;
    field.dispatchEvent(new Event("input", { bubbles: true }));
  }
  function update() {
    const request = readRequest();
    let shown = null;
    if (!request) {
      showResult("");
    } else {
      const answer = convert(request);
      if (answer.status === 0 || answer.text === "out of range") {
        setError("value", "");
        showResult(answer.text, request);
        shown = request;
      } else {
        // A source value outside its unit's range: the core's message, next to the value.
        setError("value", answer.text || "cannot be converted");
        showResult("");
      }
    }
    showHelp();
    drawCurve(shown);
    remember(currentState());
  }

  // --- The curve -----------------------------------------------------------------------------
  // The dew/frost point of the request's water content against pressure, on a logarithmic axis
  // from a tenth of the lower to ten times the higher of the two pressures: one conversion by
  // core per point. Where core has no answer the line has a gap.
  const CURVE_POINTS = 100;
  const SVG = "http://www.w3.org/2000/svg";
  // Drawn at the size it is shown (between a phone's and a wide window's), so that its text
  // keeps the page's size.
  const PLOT = { left: 58, right: 16, top: 14, bottom: 44 };
  const plotWidth = () => Math.round(Math.min(760, Math.max(280, element("curve").clientWidth ||
    640)));

  // The dew/frost point (a number in the y unit) of the request's water content at a reading
  // of the given pressure unit; NaN where there is none.
  function dewPointAt(request, yUnit, reading, pressureUnit) {
    const answer = convert(Object.assign({}, request, {
      to: yUnit, targetPressure: reading, targetPressureUnit: pressureUnit,
    }));
    return answer.status === 0 ? core.HEAPF64[memory.result / 8] : NaN;
  }
  // Where on the axis (a reading of axisUnit) the dew point is `y`: dew points rise with
  // pressure, so a coarse walk over the axis finds two readings around it and halving the
  // interval of log pressure between them finds it. NaN when it lies outside.
  function readingOfDewPoint(request, yUnit, axisUnit, y, low, high) {
    const at = (t) => dewPointAt(request, yUnit, Math.exp(t), axisUnit);
    const steps = 56;
    let a = NaN;
    let b = NaN;
    let previous = NaN;
    for (let i = 0; i <= steps; ++i) {
      const t = Math.log(low) + (Math.log(high) - Math.log(low)) * i / steps;
      const value = at(t);
      if (value >= y && previous <= y) {
        b = t;
        break;
      }
      if (!Number.isNaN(value)) a = t;
      previous = value;
    }
    if (Number.isNaN(a) || Number.isNaN(b)) return NaN;
    // Results are rounded: the dew point equals y over an interval, whose middle is taken.
    const edge = (below) => {
      let from = a;
      let to = b;
      for (let i = 0; i < 40 && to - from > 1e-7; ++i) {
        const middle = (from + to) / 2;
        const value = at(middle);
        if (Number.isNaN(value) || (below ? value >= y : value > y)) {
          to = middle;
        } else {
          from = middle;
        }
      }
      return (from + to) / 2;
    };
    return Math.exp((edge(true) + edge(false)) / 2);
  }
  const isDewPointUnit = (name) => /^(frost|dew)-[cf]$/.test(name);
  const isAbsolute = (unit) => Number(readText(core._ruruzir_page_atmosphere_reading(unit))) > 0;

  // The curve's data: units, the two marked points and the points of the line; null for none.
  function curveOf(request) {
    const names = moistureNames;
    const yUnit = isDewPointUnit(names[request.to]) ? request.to
      : isDewPointUnit(names[request.from]) ? request.from : 0;
    const axisUnit = [request.targetPressureUnit, request.pressureUnit,
      ...pressureNames.keys()].find(isAbsolute);
    const sides = [
      { name: "source", reading: request.pressure, unit: request.pressureUnit },
      { name: "target", reading: request.targetPressure, unit: request.targetPressureUnit },
    ];
    const atmosphere = Number(readText(core._ruruzir_page_atmosphere_reading(axisUnit)));
    for (const side of sides) {
      side.y = dewPointAt(request, yUnit, side.reading, side.unit);
      side.located = side.unit !== axisUnit;
      side.x = !side.located ? side.reading
        : readingOfDewPoint(request, yUnit, axisUnit, side.y, atmosphere * 1e-5, atmosphere * 1e5);
    }
    const placed = sides.filter((side) => side.x > 0 && Number.isFinite(side.y));
    if (!placed.length) return null;
    const low = Math.min(...placed.map((side) => side.x)) / 10;
    const high = Math.max(...placed.map((side) => side.x)) * 10;
    const points = [];
    for (let i = 0; i < CURVE_POINTS; ++i) {
      const x = low * Math.pow(high / low, i / (CURVE_POINTS - 1));
      points.push({ x, y: dewPointAt(request, yUnit, x, axisUnit) });
    }
    return { yUnit, axisUnit, low, high, points, sides: placed };
  }

  function niceStep(span, count) {
    const raw = span / count;
    const power = Math.pow(10, Math.floor(Math.log10(raw)));
    const unit = raw / power;
    return (unit <= 1 ? 1 : unit <= 2 ? 2 : unit <= 5 ? 5 : 10) * power;
  }
  function decadeText(k) {
    return k >= -4 && k <= 5 ? String(Number(Math.pow(10, k).toFixed(Math.max(0, -k))))
      : `1e${k}`;
  }
  const minus = (text) => text.replace(/^-/, "\u2212");
  function svgElement(name, attributes, text) {
    const node = document.createElementNS(SVG, name);
    for (const [key, value] of Object.entries(attributes)) node.setAttribute(key, value);
    if (text !== undefined) node.textContent = text;
    return node;
  }

  let curveKey = "";
  function drawCurve(request) {
    const holder = element("curve");
    const data = request ? curveOf(request) : null;
    const key = data ? plotWidth() + JSON.stringify(data) : "";
    if (key === curveKey && holder.firstChild) return;
    curveKey = key;
    if (!data) {
      holder.replaceChildren();
      setText("curve-text", "");
      element("curve-figure").classList.add("empty");
      return;
    }
    element("curve-figure").classList.remove("empty");
    const { left, right, top, bottom } = PLOT;
    const width = plotWidth();
    const height = Math.round(Math.min(320, Math.max(220, width * 0.5)));
    const finite = data.points.filter((point) => Number.isFinite(point.y));
    const ys = finite.map((point) => point.y).concat(data.sides.map((side) => side.y));
    let yLow = Math.min(...ys);
    let yHigh = Math.max(...ys);
    if (yHigh - yLow < 1) {
      yLow -= 0.5;
      yHigh += 0.5;
    }
    const step = niceStep(yHigh - yLow, 5);
    yLow = Math.floor(yLow / step) * step;
    yHigh = Math.ceil(yHigh / step) * step;
    const px = (x) => left + (Math.log(x / data.low) / Math.log(data.high / data.low)) *
      (width - left - right);
    const py = (y) => top + (yHigh - y) / (yHigh - yLow) * (height - top - bottom);

    const yLabel = element("to").options[data.yUnit].textContent;
    const xLabel = element("pressure-unit").options[data.axisUnit].textContent;
    const svg = svgElement("svg", { viewBox: `0 0 ${width} ${height}`, role: "img",
      "aria-labelledby": "curve-caption curve-text", class: "chart" });
    const grid = svgElement("g", { class: "grid" });
    const labels = svgElement("g", { class: "tick-labels" });
    for (let k = Math.ceil(Math.log10(data.low)); k <= Math.floor(Math.log10(data.high)); ++k) {
      const x = px(Math.pow(10, k));
      grid.append(svgElement("line", { x1: x, x2: x, y1: top, y2: height - bottom }));
      labels.append(svgElement("text", { x, y: height - bottom + 16, "text-anchor": "middle" },
        minus(decadeText(k))));
    }
    for (let y = yLow; y <= yHigh + step / 2; y += step) {
      const at = py(y);
      grid.append(svgElement("line", { x1: left, x2: width - right, y1: at, y2: at }));
      labels.append(svgElement("text", { x: left - 6, y: at + 4, "text-anchor": "end" },
        minus(String(Number(y.toFixed(6))))));
    }
    labels.append(svgElement("text", { x: (left + width - right) / 2, y: height - 6,
      "text-anchor": "middle", class: "axis-label" }, `pressure (${xLabel}, logarithmic)`));
    labels.append(svgElement("text", { x: 12, y: top + (height - top - bottom) / 2,
      "text-anchor": "middle", class: "axis-label",
      transform: `rotate(-90 12 ${top + (height - top - bottom) / 2})` }, yLabel));
    // The line, broken where a point has no answer.
    let path = "";
    let pen = false;
    for (const point of data.points) {
      if (!Number.isFinite(point.y)) {
        pen = false;
        continue;
      }
      path += `${pen ? "L" : "M"}${px(point.x).toFixed(1)},${py(point.y).toFixed(1)}`;
      pen = true;
    }
    const frame = svgElement("rect", { x: left, y: top, width: width - left - right,
      height: height - top - bottom, class: "frame" });
    svg.append(frame, grid, labels, svgElement("path", { d: path, class: "line" }));
    // The mark at the lower pressure is labelled above and to its left, the other below and
    // to its right, so that two close marks keep their labels apart.
    const first = [...data.sides].sort((a, b) => a.x - b.x)[0];
    for (const side of data.sides) {
      const x = px(side.x);
      const y = py(side.y);
      const mark = svgElement("g", { class: "mark " + side.name });
      const before = side === first && data.sides.length > 1 ? x > left + 70 : x > width - 80;
      const above = side === first ? y > top + 20 : y > height - bottom - 20;
      mark.append(svgElement("circle", { cx: x, cy: y, r: 5 }),
        svgElement("text", { x: before ? x - 9 : x + 9, y: above ? y - 9 : y + 18,
          "text-anchor": before ? "end" : "start" }, side.name));
      svg.append(mark);
    }
    holder.replaceChildren(svg);

    // The same in words.
    const number = (y) => minus(y.toFixed(1));
    const pressure = (x) => minus(String(Number(x.toPrecision(6))));
    const gaps = data.points.length - finite.length;
    const parts = data.sides.map((side) => `${side.name} ${number(side.y)} ${yLabel} at ` +
      `${side.located ? "about " + minus(String(Number(side.x.toPrecision(4)))) : pressure(side.x)}` +
      ` ${xLabel}`);
    if (finite.length) {
      const round = (x) => minus(String(Number(x.toPrecision(4))));
      parts.push(`from ${number(finite[0].y)} ${yLabel} at ${round(finite[0].x)} ${xLabel} ` +
        `to ${number(finite[finite.length - 1].y)} at ` +
        `${round(finite[finite.length - 1].x)} ${xLabel}`);
    }
    if (gaps) parts.push(`no dew/frost point at ${gaps} of ${data.points.length} pressures`);
    setText("curve-text", "Curve: " + parts.join("; ") + ".");
  }

  // A new source unit: the value is re-expressed in it, as the calculator's window does, so
  // that the water content it describes stays the same. It is re-expressed from the value as
  // last typed (or loaded), so that stepping through the units rounds only once.
  let typed = null;
  function keepTyped() {
    typed = { value: element("value").value, from: element("from").value };
  }
  function changeSourceUnit() {
    const from = element("from").value;
    const request = readRequest();
    if (request && typed && typed.from !== from) {
      const number = readNumber(typed.value);
      const sourceSide = readSide("source", typed.from, false);
      if (!number.error && sourceSide) {
        const answer = convert(Object.assign({}, request, {
          value: number.value, from: moistureNames.indexOf(typed.from), sourceSide,
          to: request.from, targetPressure: request.pressure,
          targetPressureUnit: request.pressureUnit, targetSide: request.sourceSide,
        }));
        if (answer.status === 0) element("value").value = answer.text;
      }
    } else if (typed && typed.from === from) {
      element("value").value = typed.value;
    }
    update();
  }

  // What the link asked that the page could not do; each entry leaves when the user has
  // chosen in the fields it names (an unknown option names none: it leaves at the first choice).
  let linkProblems = [];
  function showProblems() {
    const choose = linkProblems.filter((problem) => problem.fields.length);
    const unknown = linkProblems.filter((problem) => !problem.fields.length);
    const parts = [];
    if (choose.length) {
      parts.push("The link's " + choose.map((problem) => problem.text).join("; ") +
        ": choose one.");
    }
    if (unknown.length) {
      parts.push("The link's " + unknown.map((problem) => problem.text).join("; ") + ".");
    }
    element("notice").textContent = parts.join(" ");
  }
  function chosen(id) {
    if (!linkProblems.length) return;
    linkProblems = linkProblems.filter((problem) => problem.fields.length &&
      !(problem.fields.includes(id) && element(id).value !== ""));
    showProblems();
  }
  function load(state, problems) {
    showState(state);
    keepTyped();
    linkProblems = problems;
    showProblems();
    update();
  }
  function followFragment() {
    if (location.hash === shownFragment) return;
    const problems = [];
    load(stateFromFragment(location.hash, INITIAL, problems), problems);
  }

  function start(module) {
    core = module;
    const base = core._malloc(TEXT_SIZE + 8 + 2 * SIDE_SIZE);
    memory = { result: base, source: base + 8, target: base + 8 + SIDE_SIZE,
      text: base + 8 + 2 * SIDE_SIZE };
    moistureNames = unitNames(MOISTURE_UNITS);
    pressureNames = unitNames(PRESSURE_UNITS);
    const withCaptions = (kind, names) => names.map((name, code) =>
      [name, code, unitCaption(kind, code)]);
    const moisture = withCaptions(MOISTURE_UNITS, moistureNames);
    const pressure = withCaptions(PRESSURE_UNITS, pressureNames);
    fill(element("from"), moisture);
    fill(element("to"), moisture);
    fill(element("pressure-unit"), pressure);
    fill(element("target-pressure-unit"), pressure);
    fill(element("formulation"), FORMULATIONS);
    fill(element("enhancement"), ENHANCEMENTS);
    buildSides();
    for (const id of NUMBER_FIELDS) element(id).after(signButton(id));
    element("version").textContent = readText(core._ruruzir_version());

    const problems = [];
    const state = location.hash.length > 1
      ? stateFromFragment(location.hash, INITIAL, problems)
      : storedState() || Object.assign({}, INITIAL);
    const form = element("calculator");
    form.addEventListener("input", (event) => {
      if (event.target.id === "value") keepTyped();
      if (event.target.id !== "from") update();
      chosen(event.target.id);
    });
    form.addEventListener("change", (event) => {
      if (event.target.id === "from") changeSourceUnit();
      chosen(event.target.id);
    });
    form.addEventListener("submit", (event) => event.preventDefault());
    form.addEventListener("click", (event) => {
      if (event.target.classList.contains("sign")) changeSign(event.target.dataset.for);
    });
    element("copy").addEventListener("click", copyResult);
    element("share").addEventListener("click", shareLink);
    window.addEventListener("hashchange", followOrSay);
    window.addEventListener("resize", () => update());
    load(state, problems);
    performance.mark("ruruzir-first-result");
    document.documentElement.dataset.ready = "true";
  }

  // Whatever fails while starting is said on the page, never left to the console.
  function startOrSay(module) {
    try {
      start(module);
    } catch (error) {
      element("notice").textContent = "The calculator could not start: " +
        (error && error.message ? error.message : error);
      document.documentElement.dataset.ready = "failed";
    }
  }
  function followOrSay() {
    try {
      followFragment();
    } catch (error) {
      element("notice").textContent = "The link could not be followed: " +
        (error && error.message ? error.message : error);
    }
  }
  createRuruzir().then(startOrSay, (error) => {
    element("notice").textContent = "The calculator's core did not load: " + error;
    document.documentElement.dataset.ready = "failed";
  });
})();

// The page's front end: reads the fields, calls the calculator's core (ruruzir.js, the C
// interface compiled to WebAssembly) and shows its text. Every name, label, default, limit,
// check and reason comes from the module at load; the page holds only its own words, the link's
// option names for the side values and the layout of the C structs it fills (checked against
// the sizes the module reports).
"use strict";

(function () {
  // Kinds, quantities, fields and statuses: the numbers api/ruruzir.h gives them.
  const KIND = { moisture: 0, pressure: 1, formulation: 2, enhancement: 3, medium: 4,
    precision: 5 };
  const QUANTITY = { pressure: 4, value: 5 };
  const FIELD = { value: 1, sourcePressure: 3, targetPressure: 5, sourceSide: 7, targetSide: 12 };
  const STATUS = { converted: 0, outOfRange: 1, noAnswer: 6, missing: 7 };
  // struct ruruzir_side and struct ruruzir_request as this page lays them out (wasm32).
  const SIDE_LAYOUT = { size: 40, medium: 32 }; // four doubles by quantity, then the medium
  const REQUEST_LAYOUT = { size: 128, sourceUnit: 0, sourcePressureUnit: 4, sourcePressure: 8,
    source: 16, targetUnit: 56, targetPressureUnit: 60, targetPressure: 64, target: 72,
    formulation: 112, enhancement: 116, precision: 120 };
  const STORAGE_KEY = "ruruzir-dewpoint-state";

  // The side values: the link's option name, the quantity (its place in struct ruruzir_side),
  // the page's words. Which unit needs which comes from core at load.
  const SIDE_VALUES = [
    { option: "mol-weight", quantity: 1, label: "in a gas of molecular weight" },
    { option: "henry", quantity: 2, label: "in a liquid of Henry's constant (ppmW/mbar)" },
    { option: "ambient", quantity: 0, label: "at an ambient temperature (°C) of",
      temperature: true, signed: true },
    { option: "medium", quantity: 4, label: "of", hiddenLabel: " the medium",
      kind: KIND.medium },
    { option: "prevailing", quantity: 3, label: "at a prevailing temperature (°C) of",
      temperature: true, signed: true },
  ];
  const SIDES = ["source", "target"];
  const NUMBER_FIELDS = ["pressure", "value", "target-pressure"];
  const LISTS = { from: KIND.moisture, to: KIND.moisture, "pressure-unit": KIND.pressure,
    "target-pressure-unit": KIND.pressure, formulation: KIND.formulation,
    enhancement: KIND.enhancement, "source-medium": KIND.medium, "target-medium": KIND.medium };
  // The page's example (the one the calculator's manual begins with): a value and a target
  // pressure over core's first start.
  const EXAMPLE = { value: "-40", "target-pressure": "7000" };
  const UNFINISHED = "an unfinished number";

  const element = (id) => document.getElementById(id);
  let core = null;
  let memory = null; // two requests (the page's, one for asking core), the result, the field
  // and two texts
  let textSize = 0;
  let vocabulary = null; // by kind: [{ name, code, label, description }]
  let firstRequest = null; // core's first start
  const sidesUsed = []; // by moisture unit code, once asked: the side quantities it needs
  let INITIAL = null;
  let shownFragment = null;

  // --- Typed numbers ------------------------------------------------------------------------
  // Core reads a typed number; the page only tells a number still being typed ("-", "1e")
  // from one that can never be one.
  const BEGUN = /^[+-]?(\d*[.,]?\d*)([eE][+-]?)?$/;
  function readTyped(text, temperature) {
    writeText(text, memory.input);
    const status = temperature
      ? core._ruruzir_read_temperature(memory.input, 1, memory.number, 0)
      : core._ruruzir_read_number(memory.input, 1, memory.number);
    if (status === STATUS.converted) return { value: core.HEAPF64[memory.number / 8] };
    if (status === STATUS.missing) return { error: "enter a number" };
    return { error: BEGUN.test(text.trim()) ? UNFINISHED : "not a number" };
  }

  // --- The core -------------------------------------------------------------------------------
  const decoder = new TextDecoder("windows-1252");
  const encoder = new TextEncoder();
  function readText(address) {
    if (!address) return "";
    const bytes = core.HEAPU8;
    let end = address;
    while (bytes[end] !== 0) ++end;
    return decoder.decode(bytes.subarray(address, end));
  }
  // A text into the module's input area; false when it cannot be held (too long, a NUL).
  function writeText(text, address) {
    const bytes = encoder.encode(text);
    if (bytes.length >= textSize || bytes.includes(0)) {
      core.HEAPU8[address] = 0;
      return false;
    }
    core.HEAPU8.set(bytes, address);
    core.HEAPU8[address + bytes.length] = 0;
    return true;
  }
  function namesOf(kind) {
    const entries = [];
    for (let code = 0; code < core._ruruzir_count(kind); ++code) {
      entries.push({ name: readText(core._ruruzir_name(kind, code)), code,
        label: readText(core._ruruzir_label(kind, code)),
        description: readText(core._ruruzir_description(kind, code)) });
    }
    return entries;
  }
  // The code of a name or one of its aliases, -1 for none (a bare "psi" is none, as for the
  // converter).
  function codeOfName(kind, name) {
    return writeText(name, memory.input) ? core._ruruzir_code(kind, memory.input) : -1;
  }
  const nameOf = (kind, code) => (vocabulary[kind][code] ? vocabulary[kind][code].name : "");
  const oneAtmosphere = (unit) => readText(core._ruruzir_atmosphere_reading(unit));
  // One field's number checked as a conversion checks it: null, or the reason.
  function check(quantity, unit, number) {
    const status = core._ruruzir_check(quantity, unit, number, memory.text, textSize);
    return status === STATUS.converted ? null : { status, reason: readText(memory.text) };
  }
  function sideAddress(base, quantity) {
    return base + (quantity === 4 ? SIDE_LAYOUT.medium : quantity * 8);
  }
  function writeSide(base, side) {
    for (const entry of SIDE_VALUES) {
      if (entry.kind === undefined) {
        core.HEAPF64[sideAddress(base, entry.quantity) / 8] = side[entry.quantity];
      } else {
        core.HEAP32[sideAddress(base, entry.quantity) / 4] = side[entry.quantity];
      }
    }
  }
  function readSideStruct(base) {
    const side = {};
    for (const entry of SIDE_VALUES) {
      side[entry.quantity] = entry.kind === undefined
        ? core.HEAPF64[sideAddress(base, entry.quantity) / 8]
        : core.HEAP32[sideAddress(base, entry.quantity) / 4];
    }
    return side;
  }
  // A request of the page's shape into the module's struct ruruzir_request (the page's own
  // unless `base` is given).
  function writeRequest(request, precision, base = memory.request) {
    const at = (name) => base + REQUEST_LAYOUT[name];
    core.HEAP32[at("sourceUnit") / 4] = request.from;
    core.HEAP32[at("sourcePressureUnit") / 4] = request.pressureUnit;
    core.HEAPF64[at("sourcePressure") / 8] = request.pressure;
    writeSide(at("source"), request.sourceSide);
    core.HEAP32[at("targetUnit") / 4] = request.to;
    core.HEAP32[at("targetPressureUnit") / 4] = request.targetPressureUnit;
    core.HEAPF64[at("targetPressure") / 8] = request.targetPressure;
    writeSide(at("target"), request.targetSide);
    core.HEAP32[at("formulation") / 4] = request.formulation;
    core.HEAP32[at("enhancement") / 4] = request.enhancement;
    core.HEAP32[at("precision") / 4] = precision;
  }
  // Converts the request in memory: { status, text, value, field }.
  function convertWritten(value, base = memory.request) {
    const status = core._ruruzir_convert_request(base, value, memory.result,
      memory.text, textSize, memory.field);
    return { status, text: readText(memory.text), value: core.HEAPF64[memory.result / 8],
      field: core.HEAP32[memory.field / 4] };
  }
  function convert(request) {
    writeRequest(request, vocabulary.shown);
    return convertWritten(request.value);
  }

  // The side quantities a moisture unit needs, asked of core the first time they are wanted
  // (not all units' as the page opens): a request whose side value is not a number is refused
  // at that value only when the unit uses it. Asked in a request area of its own, so that the
  // page's request stays as it was written.
  function usedBy(unit) {
    if (!sidesUsed[unit]) {
      sidesUsed[unit] = SIDE_VALUES.filter((entry) => {
        const side = Object.assign({}, firstRequest.sourceSide);
        side[entry.quantity] = entry.kind === undefined ? NaN : -1;
        writeRequest(Object.assign({}, firstRequest, { from: unit, sourceSide: side }),
          vocabulary.shown, memory.asking);
        return convertWritten(NaN, memory.asking).field === FIELD.sourceSide + entry.quantity;
      }).map((entry) => entry.quantity);
    }
    return sidesUsed[unit];
  }

  // What the module is: the sizes of what the page lays out, the vocabulary and core's first
  // start.
  function loadCore(module) {
    core = module;
    const sizes = { "struct ruruzir_side": [core._ruruzir_side_size(), SIDE_LAYOUT.size],
      "struct ruruzir_request": [core._ruruzir_request_size(), REQUEST_LAYOUT.size] };
    for (const [name, [reported, expected]] of Object.entries(sizes)) {
      if (reported !== expected) {
        throw new Error(`the module's ${name} has ${reported} bytes, the page lays out ` +
          `${expected}: the page and its module do not belong together`);
      }
    }
    if (core._ruruzir_status_count() <= Math.max(...Object.values(STATUS))) {
      throw new Error("the module reports fewer statuses than the page reads");
    }
    textSize = core._ruruzir_text_size();
    const request = core._malloc(2 * REQUEST_LAYOUT.size + 32 + 2 * textSize);
    const base = request + 2 * REQUEST_LAYOUT.size;
    memory = { request, asking: request + REQUEST_LAYOUT.size, result: base, number: base + 8,
      field: base + 16, text: base + 32, input: base + 32 + textSize };
    vocabulary = Object.values(KIND).map(namesOf);
    vocabulary.shown = core._ruruzir_default_code(KIND.precision);
    const exact = codeOfName(KIND.precision, "exact");
    const computed = codeOfName(KIND.precision, "computed");
    vocabulary.computed = computed >= 0 ? computed : vocabulary.shown;
    vocabulary.fine = exact >= 0 ? exact : vocabulary.computed;

    core._ruruzir_default_request(memory.request);
    const at = (name) => memory.request + REQUEST_LAYOUT[name];
    const first = {
      from: core.HEAP32[at("sourceUnit") / 4], to: core.HEAP32[at("targetUnit") / 4],
      pressureUnit: core.HEAP32[at("sourcePressureUnit") / 4],
      targetPressureUnit: core.HEAP32[at("targetPressureUnit") / 4],
      sourceSide: readSideStruct(at("source")), targetSide: readSideStruct(at("target")),
      formulation: core.HEAP32[at("formulation") / 4],
      enhancement: core.HEAP32[at("enhancement") / 4],
    };
    firstRequest = first;
    firstSide = { source: first.sourceSide, target: first.targetSide };
    const held = (number) => String(Number(number.toPrecision(7))); // single precision
    INITIAL = {
      value: EXAMPLE.value, from: nameOf(KIND.moisture, first.from),
      to: nameOf(KIND.moisture, first.to),
      pressure: oneAtmosphere(first.pressureUnit),
      "pressure-unit": nameOf(KIND.pressure, first.pressureUnit),
      "target-pressure": EXAMPLE["target-pressure"],
      "target-pressure-unit": nameOf(KIND.pressure, first.targetPressureUnit),
      formulation: nameOf(KIND.formulation, first.formulation),
      enhancement: nameOf(KIND.enhancement, first.enhancement),
    };
    for (const side of SIDES) {
      const values = first[side + "Side"];
      for (const entry of SIDE_VALUES) {
        INITIAL[side + "-" + entry.option] = entry.kind === undefined
          ? held(values[entry.quantity]) : nameOf(entry.kind, values[entry.quantity]);
      }
    }
  }

  // --- The form -----------------------------------------------------------------------------
  // A closed list shows each choice's short label; its meaning is the option's title and, for
  // the two moisture units, the line of help under the sentence.
  function fill(select, kind) {
    for (const entry of vocabulary[kind]) {
      const option = new Option(entry.label, entry.name);
      if (entry.description) option.title = entry.description;
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
        group.dataset.quantity = entry.quantity;
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
        const field = document.createElement(entry.kind === undefined ? "input" : "select");
        field.id = id;
        if (entry.kind !== undefined) {
          fill(field, entry.kind);
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
  const isShared = (name) => SIDE_VALUES.some((entry) => entry.option === name);
  // The state that name/value pairs make over `base`; what could not be used goes into
  // `problems`. A link without a pressure means one atmosphere, as for the converter.
  function stateFromPairs(pairs, base, problems, fromLink) {
    // Names are looked up as own properties only: a link's "constructor" or "__proto__" is
    // an unknown option like any other, never a property every object inherits.
    const state = Object.assign(Object.create(null), base);
    const lists = Object.assign(Object.create(null), LISTS, { medium: KIND.medium });
    let pressureGiven = false;
    let targetPressureGiven = false;
    // Options for both sides first, so that the ones for one side override them.
    pairs.sort((a, b) => (isShared(a[0]) ? 0 : 1) - (isShared(b[0]) ? 0 : 1));
    for (let [name, text] of pairs) {
      if (name === "") continue; // "#=5" or "&&": nothing asked
      const shared = isShared(name);
      if (!shared && !Object.hasOwn(state, name)) {
        problems.push({ text: `${name} is not an option`, fields: [] });
        continue;
      }
      if (Object.hasOwn(lists, name)) {
        const kind = lists[name];
        const code = codeOfName(kind, text);
        if (code >= 0) {
          text = nameOf(kind, code);
        } else {
          // No guess: the list shows no choice, and there is no result until one is made.
          const fields = shared ? SIDES.map((side) => side + "-" + name) : [name];
          problems.push({ text: `${name}=${text} is not one of ` +
            vocabulary[kind].map((entry) => entry.name).join(", "), fields });
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
    const atmosphere = (unit) => {
      const code = codeOfName(KIND.pressure, unit);
      return code < 0 || unit === "" ? "" : oneAtmosphere(code);
    };
    if (!pressureGiven) state.pressure = atmosphere(state["pressure-unit"]);
    if (!targetPressureGiven) state["target-pressure"] = atmosphere(state["target-pressure-unit"]);
    return state;
  }
  function stateFromFragment(fragment, base, problems) {
    return stateFromPairs(parseFragment(fragment), base, problems, true);
  }
  const unitCodeOf = (id) => codeOfName(KIND.moisture, element(id).value);
  // The fragment of a state: every option of the sentence, and the side values the two
  // chosen units use.
  function fragmentOf(state) {
    const names = ["value", "from", "to", "pressure", "pressure-unit", "target-pressure",
      "target-pressure-unit", "formulation", "enhancement"];
    for (const side of SIDES) {
      const unit = codeOfName(KIND.moisture, state[side === "source" ? "from" : "to"]);
      for (const entry of SIDE_VALUES) {
        if (unit >= 0 && usedBy(unit).includes(entry.quantity)) {
          names.push(side + "-" + entry.option);
        }
      }
    }
    return "#" + names.map((name) => name + "=" + encodeURIComponent(state[name])
      .replace(/%2C/g, ",")).join("&");
  }

  // The state is stored at once; the address follows when typing pauses (`settle` now), as
  // rewriting it takes longer than a conversion and its curve together, and browsers throttle
  // a page that rewrites it at every key. Whatever reads the address settles it first.
  const ADDRESS_AFTER_MS = 300;
  let addressTimer = 0;
  let pendingFragment = null;
  function settleAddress() {
    clearTimeout(addressTimer);
    if (pendingFragment !== null && pendingFragment !== location.hash) {
      shownFragment = pendingFragment;
      history.replaceState(null, "", pendingFragment);
    }
    pendingFragment = null;
  }
  function remember(state, settle) {
    pendingFragment = fragmentOf(state);
    clearTimeout(addressTimer);
    if (settle) {
      settleAddress();
    } else {
      addressTimer = setTimeout(settleAddress, ADDRESS_AFTER_MS);
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
  // The side values of a side as the core takes them (those its unit does not use at core's
  // first start); null when one it needs is wrong, with the fault next to its field.
  function readSide(side, unit) {
    const values = Object.assign({}, firstSide[side]);
    const used = unit >= 0 ? usedBy(unit) : [];
    let good = true;
    for (const entry of SIDE_VALUES) {
      const id = side + "-" + entry.option;
      const uses = used.includes(entry.quantity);
      element(id).parentElement.hidden = !uses;
      if (entry.kind !== undefined) {
        if (uses) values[entry.quantity] = codeOfName(entry.kind, element(id).value);
        continue;
      }
      if (!uses) {
        setError(id, "");
        continue;
      }
      const number = readTyped(element(id).value, entry.temperature);
      const fault = number.error || (check(entry.quantity, 0, number.value) || {}).reason || "";
      setError(id, fault);
      if (fault) {
        good = false;
      } else {
        values[entry.quantity] = number.value;
      }
    }
    return good ? values : null;
  }
  let firstSide = null;
  // A refusal in words next to its field: a pressure's reason follows its reading and unit,
  // a value's range is the calculator's message, anything else follows the number.
  function reasonText(id, refusal) {
    const typedText = element(id).value.trim();
    if (id === "pressure" || id === "target-pressure") {
      return `${typedText} ${labelOf(element(id + "-unit"))} ${refusal.reason}`;
    }
    if (refusal.status === STATUS.outOfRange || id !== "value") return refusal.reason;
    return `${typedText} ${refusal.reason}`;
  }
  // The request the fields make, or null (with the faults shown next to their fields); the
  // value is checked in `valueUnit` when given, else in the chosen source unit.
  function readRequest(valueUnit) {
    const numbers = {};
    let good = true;
    for (const id of NUMBER_FIELDS) {
      const number = readTyped(element(id).value, false);
      let error = number.error || "";
      const unitList = id === "value" ? "from" : id + "-unit";
      const unit = id === "value" && valueUnit !== undefined ? valueUnit
        : codeOfName(LISTS[unitList], element(unitList).value);
      if (!error && unit >= 0 && element(unitList).value !== "") {
        const refusal = check(id === "value" ? QUANTITY.value : QUANTITY.pressure, unit,
          number.value);
        if (refusal) error = reasonText(id, refusal);
      }
      setError(id, error);
      if (error) good = false;
      numbers[id] = number.value;
    }
    const sourceSide = readSide("source", unitCodeOf("from"));
    const targetSide = readSide("target", unitCodeOf("to"));
    // A list left without a choice by a link: no result until one is chosen.
    const lists = element("calculator").querySelectorAll("select:not([hidden] select)");
    if ([...lists].some((list) => list.selectedIndex < 0)) good = false;
    if (!good || !sourceSide || !targetSide) return null;
    const code = (id) => codeOfName(LISTS[id], element(id).value);
    return {
      value: numbers.value, from: code("from"), pressure: numbers.pressure,
      pressureUnit: code("pressure-unit"), sourceSide, to: code("to"),
      targetPressure: numbers["target-pressure"], targetPressureUnit: code("target-pressure-unit"),
      targetSide, formulation: code("formulation"), enhancement: code("enhancement"),
    };
  }
  // Where core's refusal of a whole request is shown.
  function fieldId(field) {
    if (field === FIELD.sourcePressure) return "pressure";
    if (field === FIELD.targetPressure) return "target-pressure";
    for (const [side, first] of [["source", FIELD.sourceSide], ["target", FIELD.targetSide]]) {
      const entry = SIDE_VALUES.find((candidate) => first + candidate.quantity === field);
      if (entry) return side + "-" + entry.option;
    }
    return "value";
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
    settleAddress();
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
  // Shows what the fields make; `settle`: the address at once (a page opened or a link
  // followed), else once typing pauses.
  function update(settle = false) {
    const request = readRequest();
    let shown = null;
    if (!request) {
      showResult("");
    } else {
      const answer = convert(request);
      if (answer.status === STATUS.converted || answer.status === STATUS.noAnswer) {
        showResult(answer.text, request);
        shown = request;
      } else {
        // Refused as a whole: core's reason next to the field it names.
        const id = fieldId(answer.field);
        setError(id, reasonText(id, { status: answer.status, reason: answer.text }) ||
          "cannot be converted");
        showResult("");
      }
    }
    showHelp();
    if (curveLater) {
      // Opening the page: the result first; the curve and the address after it.
      const later = shown;
      setTimeout(() => {
        drawCurve(later);
        remember(currentState(), settle);
      });
    } else {
      drawCurve(shown);
      remember(currentState(), settle);
    }
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
  // of the given pressure unit; NaN where there is none. The request is written once per
  // curve (prepareCurve); each point changes only the target.
  function prepareCurve(request, yUnit, precision) {
    writeRequest(Object.assign({}, request, { to: yUnit }), precision);
  }
  function dewPointAt(request, yUnit, reading, pressureUnit) {
    core.HEAP32[(memory.request + REQUEST_LAYOUT.targetPressureUnit) / 4] = pressureUnit;
    core.HEAPF64[(memory.request + REQUEST_LAYOUT.targetPressure) / 8] = reading;
    const status = core._ruruzir_convert_request(memory.request, request.value, memory.result,
      memory.text, textSize, 0);
    return status === STATUS.converted ? core.HEAPF64[memory.result / 8] : NaN;
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
  const isAbsolute = (unit) => Number(oneAtmosphere(unit)) > 0;

  // The curve's data: units, the two marked points and the points of the line; null for none.
  function curveOf(request) {
    const name = (code) => nameOf(KIND.moisture, code);
    const yUnit = isDewPointUnit(name(request.to)) ? request.to
      : isDewPointUnit(name(request.from)) ? request.from
        : core._ruruzir_default_code(KIND.moisture);
    const axisUnit = [request.targetPressureUnit, request.pressureUnit,
      core._ruruzir_default_code(KIND.pressure), ...vocabulary[KIND.pressure].keys()]
      .find(isAbsolute);
    // The marks where a pressure in another unit is found on the axis: the exact root, so
    // that the mark sits where the line passes.
    prepareCurve(request, yUnit, vocabulary.fine);
    const sides = [
      { name: "source", reading: request.pressure, unit: request.pressureUnit },
      { name: "target", reading: request.targetPressure, unit: request.targetPressureUnit },
    ];
    const atmosphere = Number(oneAtmosphere(axisUnit));
    for (const side of sides) {
      side.y = dewPointAt(request, yUnit, side.reading, side.unit);
      side.located = side.unit !== axisUnit;
      side.x = !side.located ? side.reading
        : readingOfDewPoint(request, yUnit, axisUnit, side.y, atmosphere * 1e-5, atmosphere * 1e5);
    }
    const placed = sides.filter((side) => side.x > 0 && Number.isFinite(side.y));
    if (!placed.length) return null;
    // The line: the dew points as the calculator computes them (in tenths), one call a point.
    prepareCurve(request, yUnit, vocabulary.computed);
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
  let curveLater = false;
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
      // A label at an end of the axis keeps inside the drawing.
      const anchor = x > width - right - 24 ? "end" : x < left + 24 ? "start" : "middle";
      labels.append(svgElement("text", { x, y: height - bottom + 16, "text-anchor": anchor },
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

  // A new source unit: the value is re-expressed in it by core, as the calculator's window
  // does, so that the water content it describes stays the same. It is re-expressed from the
  // value as last typed (or loaded), so that stepping through the units rounds only once.
  let typed = null;
  function keepTyped() {
    typed = { value: element("value").value, from: element("from").value };
  }
  function changeSourceUnit() {
    const from = unitCodeOf("from");
    const before = typed ? codeOfName(KIND.moisture, typed.from) : -1;
    if (typed && before >= 0 && before !== from && from >= 0) {
      // The request as it was before the change: the value as typed, in its unit.
      element("value").value = typed.value;
      const request = readRequest(before);
      const sourceSide = request && readSide("source", before);
      if (request && sourceSide) {
        writeRequest(Object.assign({}, request, { from: before, sourceSide }), vocabulary.shown);
        const status = core._ruruzir_reexpress(memory.request, request.value, from, 0,
          memory.text, textSize);
        if (status === STATUS.converted || status === STATUS.noAnswer) {
          element("value").value = readText(memory.text);
        }
      }
    } else if (typed && before === from) {
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
    update(true);
  }
  function followFragment() {
    if (location.hash === shownFragment) return;
    const problems = [];
    load(stateFromFragment(location.hash, INITIAL, problems), problems);
  }

  function start(module) {
    loadCore(module);
    for (const [id, kind] of Object.entries(LISTS)) {
      if (!id.endsWith("medium")) fill(element(id), kind);
    }
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
    window.addEventListener("pagehide", settleAddress);
    window.addEventListener("resize", () => update());
    curveLater = true;
    load(state, problems);
    curveLater = false;
    // What the page opens with is read with the page, not announced over it.
    clearTimeout(announceTimer);
    announced = announcement();
    performance.mark("ruruzir-first-result");
    // Ready once the curve that follows the first result is drawn.
    setTimeout(() => { document.documentElement.dataset.ready = "true"; });
  }

  // Served over http(s), the page keeps its files for use offline; opened from a file it
  // needs nothing kept (and browsers allow no service worker there).
  function keepForOffline() {
    if (!("serviceWorker" in navigator) || !/^https?:$/.test(location.protocol)) return;
    navigator.serviceWorker.register("service-worker.js").catch((error) => {
      document.documentElement.dataset.offline = "unavailable: " + error.message;
    });
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
    // A link followed replaces what the fields were about to write into the address.
    clearTimeout(addressTimer);
    pendingFragment = null;
    try {
      followFragment();
    } catch (error) {
      element("notice").textContent = "The link could not be followed: " +
        (error && error.message ? error.message : error);
    }
  }
  keepForOffline();
  // The module compiles as it is created (it is small, and so the first result is in the
  // page's first frame); a failure there is said like a failure to start.
  new Promise((resolve) => resolve(createRuruzir())).then(startOrSay, (error) => {
    element("notice").textContent = "The calculator's core did not load: " + error;
    document.documentElement.dataset.ready = "failed";
  });
})();

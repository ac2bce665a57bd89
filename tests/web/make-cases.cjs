// The shared case table of the web page: conversions named by the address fragment the page
// reads (the converter's option names), each with the text the native ruruzir-convert prints
// for the same options, or "error: MESSAGE" for a value outside its unit's range.
//   node make-cases.cjs CONVERTER            prints the table (tests/web/cases.tsv)
//   node make-cases.cjs CONVERTER TABLE      checks TABLE against the converter
// The random cases come from a fixed seed, so the table is the same at every run.
"use strict";
const { execFileSync } = require("child_process");
const fs = require("fs");

// Mulberry32: a small seeded generator.
function generator(seed) {
  return () => {
    seed = (seed + 0x6d2b79f5) | 0;
    let t = Math.imul(seed ^ (seed >>> 15), 1 | seed);
    t = (t + Math.imul(t ^ (t >>> 7), 61 | t)) ^ t;
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}
const random = generator(19);
const pick = (list) => list[Math.floor(random() * list.length)];
const between = (low, high) => low + (high - low) * random();
const logBetween = (low, high) => Math.exp(between(Math.log(low), Math.log(high)));
const decimals = (value) => value.toFixed(Math.floor(random() * 5));

const MOISTURE = ["frost-c", "dew-c", "frost-f", "dew-f", "ppmv", "ppmw-gas", "lb-mmscf", "g-m3",
  "mbar-vp", "rh", "ppmw-liquid"];
const PRESSURE = ["mbar", "psia", "psig", "atm", "kpa", "bar", "barg", "mpa", "pa"];
const TYPICAL = { "frost-c": -20, "dew-c": -20, "frost-f": -4, "dew-f": -4, ppmv: 1000,
  "ppmw-gas": 600, "lb-mmscf": 7, "g-m3": 0.8, "mbar-vp": 1.2, rh: 40, "ppmw-liquid": 50 };
const SOURCE_VALUES = { "frost-c": () => between(-100, 50), "dew-c": () => between(-60, 50),
  "frost-f": () => between(-148, 122), "dew-f": () => between(-76, 122),
  ppmv: () => logBetween(0.01, 50000), "ppmw-gas": () => logBetween(0.01, 50000),
  "lb-mmscf": () => logBetween(0.01, 2000), "g-m3": () => logBetween(0.001, 50),
  "mbar-vp": () => logBetween(0.001, 100), rh: () => between(1, 100),
  "ppmw-liquid": () => logBetween(0.1, 1000) };
const PRESSURES = { mbar: [50, 30000], psia: [1, 400], psig: [0, 400], atm: [0.1, 30],
  kpa: [5, 3000], bar: [0.05, 30], barg: [0, 30], mpa: [0.005, 3], pa: [5000, 3000000] };
const SIDE_OPTIONS = { "ppmw-gas": () => ({ "mol-weight": decimals(between(2, 100)) }),
  "ppmw-liquid": () => ({ henry: decimals(between(0.1, 20)) }),
  rh: () => ({ ambient: decimals(between(-40, 100)) }),
  "g-m3": () => ({ prevailing: decimals(between(-40, 100)),
    medium: pick(["water", "air", "natural-gas"]) }) };

const rows = [];
const add = (name, fragment) => rows.push({ name, fragment });
const EXAMPLE = "value=-40&from=frost-c&to=frost-c&pressure=1013.25&pressure-unit=mbar" +
  "&target-pressure=7000";
add("example", EXAMPLE);
add("typed", EXAMPLE.replace("value=-40", "value=-35"));
add("keyboard-ppmv", EXAMPLE.replace("to=frost-c", "to=ppmv"));
add("target-rh", EXAMPLE.replace("to=frost-c", "to=rh") + "&target-ambient=25");
add("reexpress", "value=-40&from=frost-c&to=ppmv&pressure=1013.25&target-pressure=1013.25");
add("comma", EXAMPLE.replace("value=-40", "value=-12,5"));
add("link", "value=12,5&from=ppm&to=%25rh&ambient=25&pressure-unit=psia&pressure=100");
add("no-answer", "value=50&from=frost-c&to=ppmv&pressure=10&target-pressure=10");
add("vacuum", "value=-20&from=frost-c&to=frost-c&pressure=-14.7&pressure-unit=psig");
add("default-pressures", "value=-20&from=FROST-C&to=lb/mmscf&pressure-unit=PSIG" +
  "&target-pressure-unit=kpa");
// The pressure units beyond the window's, temperatures with their unit, pressures too high.
add("bar", "pressure-unit=bar&pressure=7&value=-40");
add("default-barg-pa", "value=-20&pressure-unit=barg&target-pressure-unit=Pa");
add("mpa", "value=-20&pressure=0.7&pressure-unit=MPa&target-pressure=70000&target-pressure-unit=pa");
add("ambient-68f", "value=-10&to=rh&ambient=68F");
add("ambient-68degf", "value=-10&to=rh&target-ambient=68degF");
add("prevailing-c", "value=-10&to=g-m3&prevailing=20C&medium=air");
add("pressure-too-high", "value=-40&to=ppmv&target-pressure=1e308");
add("pressure-too-high-pa", "value=-40&pressure=3.5e40&pressure-unit=pa");

// Range bounds: each bound itself, and just beyond it.
const BOUNDS = [["frost-c", "-140", "50", "-140.01", "50.01"],
  ["frost-f", "-220", "122", "-220.1", "122.1"], ["ppmv", "0", "138670", "-0.001", "138671"],
  ["ppmw-gas", "0", "138670", "-0.001", "138670.5"], ["lb-mmscf", "0", "5812", "-1", "5813"],
  ["g-m3", "0", "93", "-0.01", "93.5"], ["mbar-vp", "0", "123.4", "-0.1", "123.41"],
  ["ppmw-liquid", "0", "138670", "-1", "138671"]];
for (const [unit, low, high, below, above] of BOUNDS) {
  const to = unit.startsWith("frost") ? "ppmv" : "frost-c";
  for (const [which, value] of [["low", low], ["high", high], ["below", below],
    ["above", above]]) {
    add(`bound-${unit}-${which}`, `value=${value}&from=${unit}&to=${to}&pressure=1013.25`);
  }
}
// Every unit once on each side.
for (const unit of MOISTURE) {
  add(`from-${unit}`, `value=${TYPICAL[unit]}&from=${unit}&to=ppmv&pressure=2000`);
  add(`to-${unit}`, `value=-20&from=frost-c&to=${unit}&pressure=2000&target-pressure=3000`);
}
for (const unit of PRESSURE) {
  const [low, high] = PRESSURES[unit];
  const reading = decimals(between(low, high));
  add(`pressure-${unit}`, `value=-20&from=frost-c&to=frost-c&pressure=${reading}` +
    `&pressure-unit=${unit}&target-pressure=5000`);
  add(`target-pressure-${unit}`, `value=-20&from=frost-c&to=frost-c&pressure=1013.25` +
    `&target-pressure=${reading}&target-pressure-unit=${unit}`);
}
for (const formulation of ["goff-gratch", "hyland-wexler", "sonntag", "magnus"]) {
  for (const enhancement of ["none", "bogel", "greenspan"]) {
    add(`model-${formulation}-${enhancement}`, `value=-60&from=frost-c&to=ppmv` +
      `&pressure=20000&formulation=${formulation}&enhancement=${enhancement}`);
  }
}
// A few hundred random conversions over every option.
for (let i = 0; i < 300; ++i) {
  const from = pick(MOISTURE);
  const to = pick(MOISTURE);
  const pressureUnit = pick(PRESSURE);
  const targetPressureUnit = pick(PRESSURE);
  const options = { value: decimals(SOURCE_VALUES[from]()), from, to,
    pressure: decimals(between(...PRESSURES[pressureUnit])), "pressure-unit": pressureUnit,
    "target-pressure": decimals(between(...PRESSURES[targetPressureUnit])),
    "target-pressure-unit": targetPressureUnit,
    formulation: pick(["goff-gratch", "hyland-wexler", "sonntag", "magnus"]),
    enhancement: pick(["none", "bogel", "greenspan"]) };
  if (random() < 0.2) options.value = options.value.replace(".", ",");
  for (const [side, unit] of [["source", from], ["target", to]]) {
    const extra = SIDE_OPTIONS[unit] ? SIDE_OPTIONS[unit]() : {};
    for (const [name, value] of Object.entries(extra)) options[`${side}-${name}`] = value;
  }
  add(`random-${i + 1}`, Object.entries(options).map(([k, v]) => `${k}=${v}`).join("&"));
}

// What the converter prints for the options of a fragment.
function convert(converter, fragment) {
  const args = [];
  let value = null;
  for (const pair of fragment.split("&")) {
    const [name, text] = pair.split("=").map(decodeURIComponent);
    if (name === "value") {
      value = text.replace(",", ".");
    } else {
      args.push(`--${name}=${text}`);
    }
  }
  args.push("--", value);
  try {
    return execFileSync(converter, args, { encoding: "utf8", stdio: ["ignore", "pipe", "pipe"] })
      .replace(/\n$/, "");
  } catch (failure) {
    if (failure.status !== 3) throw new Error(`${converter} ${args.join(" ")}: ${failure.stderr}`);
    return "error: " + failure.stderr.replace(/^ruruzir-convert: /, "").replace(/\n$/, "");
  }
}

const [converter, tablePath] = process.argv.slice(2);
if (!converter) {
  console.error("usage: node make-cases.cjs CONVERTER [TABLE]");
  process.exit(2);
}
const table = rows.map((row) => `${row.name}\t${row.fragment}\t${convert(converter, row.fragment)}`);
if (!tablePath) {
  process.stdout.write(table.join("\n") + "\n");
} else {
  const kept = fs.readFileSync(tablePath, "utf8").replace(/\n$/, "").split("\n");
  const differing = table.filter((line, i) => line !== kept[i]);
  if (kept.length !== table.length) differing.push(`${kept.length} rows kept, ${table.length} made`);
  for (const line of differing.slice(0, 10)) console.log(`converter differs from the table: ${line}`);
  process.exit(differing.length ? 1 : 0);
}

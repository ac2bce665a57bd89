// The web page's WebAssembly module (ruruzir.js) in node: reads requests, one JSON object a line
// on standard input, converts each with ruruzir_convert_request and writes {status, text} a
// line. Numbers come as texts ("nan", "1e999" included) and are read as JavaScript reads them.
"use strict";

const path = require("path");
const readline = require("readline");

const createRuruzir = require(path.resolve(process.argv[2]));

function readNumber(text) {
  if (text === null) return NaN;
  if (text === "nan") return NaN;
  return Number(text);
}

Promise.resolve(createRuruzir()).then((core) => {
  const textSize = core._ruruzir_text_size();
  const requestSize = core._ruruzir_request_size();
  const sideSize = core._ruruzir_side_size();
  const request = core._malloc(requestSize);
  const text = core._malloc(textSize);
  const result = core._malloc(8);
  const field = core._malloc(4);
  // struct ruruzir_request: int, int, double, side, int, int, double, side, int, int, int.
  const sideOffset = 16;
  const targetOffset = sideOffset + sideSize;
  const modelOffset = targetOffset + 16 + sideSize;
  if (modelOffset + 12 > requestSize) throw new Error("struct ruruzir_request is not as expected");
  const putSide = (at, side) => {
    core.HEAPF64.set([readNumber(side.ambient), readNumber(side.mol_weight), readNumber(side.henry),
      readNumber(side.prevailing)], at / 8);
    core.HEAP32[(at + 32) / 4] = side.medium;
  };
  const lines = readline.createInterface({ input: process.stdin });
  const out = [];
  lines.on("line", (line) => {
    const r = JSON.parse(line);
    core.HEAP32[request / 4] = r.from;
    core.HEAP32[request / 4 + 1] = r.punit;
    core.HEAPF64[(request + 8) / 8] = readNumber(r.p);
    putSide(request + sideOffset, r.source);
    core.HEAP32[(request + targetOffset) / 4] = r.to;
    core.HEAP32[(request + targetOffset) / 4 + 1] = r.tpunit;
    core.HEAPF64[(request + targetOffset + 8) / 8] = readNumber(r.tp);
    putSide(request + targetOffset + 16, r.target);
    core.HEAP32[(request + modelOffset) / 4] = r.formulation;
    core.HEAP32[(request + modelOffset) / 4 + 1] = r.enhancement;
    core.HEAP32[(request + modelOffset) / 4 + 2] = 0;
    const status = core._ruruzir_convert_request(request, readNumber(r.value), result, text,
      textSize, field);
    let end = text;
    while (core.HEAPU8[end] !== 0) ++end;
    const shown = new TextDecoder("windows-1252").decode(core.HEAPU8.subarray(text, end));
    out.push(JSON.stringify({ status, text: shown }));
  });
  lines.on("close", () => process.stdout.write(out.join("\n") + (out.length ? "\n" : "")));
});

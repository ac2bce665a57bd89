// Times the web page against a bare page in headless Chromium (see bench/web.sh).
//   node web_bench.cjs PAGE_DIR RUNS
"use strict";
const fs = require("fs");
const path = require("path");
const zlib = require("zlib");
const { chromium } = require("playwright-core");

const [pageDir, runsText] = process.argv.slice(2);
const runs = Number(runsText);
const EXAMPLE = "#value=-40&from=frost-c&to=frost-c&pressure=1013.25&pressure-unit=mbar" +
  "&target-pressure=7000";
// The baseline: the browser's own cost of a page, a field and an output, nothing computed.
const BARE = `<!DOCTYPE html><html><head><meta charset="utf-8"><title>bare</title></head><body>
<input id="value" value="-40"><output id="result"></output><script>
const value = document.getElementById("value"), result = document.getElementById("result");
value.addEventListener("input", () => { result.textContent = value.value; });
result.textContent = value.value;
performance.mark("ruruzir-first-result");
document.documentElement.dataset.ready = "true";
</script></body></html>`;

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = sorted.length >> 1;
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
};
const format = (ms) => ms.toFixed(2).padStart(8) + " ms";

// Milliseconds from the navigation's start to the first result's mark.
async function load(browser, url) {
  const page = await browser.newPage();
  await page.goto(url);
  await page.waitForSelector("html[data-ready]");
  const ms = await page.evaluate(() =>
    performance.getEntriesByName("ruruzir-first-result")[0].startTime);
  await page.close();
  return ms;
}

// Milliseconds from each key's keydown to the result's change, for keys that change it; on
// the page the result and the curve are redrawn in the same task, so a change of the result
// that comes with a change of the curve is counted once both are done.
async function keystrokes(browser, url, count) {
  const page = await browser.newPage();
  await page.goto(url);
  await page.waitForSelector("html[data-ready]");
  await page.evaluate(() => {
    window.benchTimes = [];
    let down = 0;
    document.addEventListener("keydown", () => { down = performance.now(); }, true);
    const observer = new MutationObserver(() => {
      if (down) window.benchTimes.push(performance.now() - down);
      down = 0;
    });
    for (const id of ["result", "curve"]) {
      const node = document.getElementById(id);
      if (node) observer.observe(node, { childList: true, characterData: true, subtree: true });
    }
  });
  await page.focus("#value");
  // -40 -> -41 ... -49 and back: each key a new complete number with a new result.
  for (let i = 0; i < count; ++i) {
    await page.keyboard.press("Backspace");
    await page.keyboard.type(String((i % 9) + 1));
  }
  const times = await page.evaluate(() => window.benchTimes);
  await page.close();
  return times;
}

function moduleBytes(script) {
  const text = fs.readFileSync(script, "utf8");
  const found = text.match(/data:application\/octet-stream;base64,([A-Za-z0-9+/=]+)/);
  if (!found) throw new Error(`no embedded module in ${script}`);
  return Buffer.from(found[1], "base64");
}

(async () => {
  const bench = path.join(pageDir, "bench");
  fs.mkdirSync(bench, { recursive: true });
  fs.writeFileSync(path.join(bench, "bare.html"), BARE);
  const pageUrl = "file://" + path.resolve(pageDir, "index.html") + EXAMPLE;
  const bareUrl = "file://" + path.resolve(bench, "bare.html");

  const browser = await chromium.launch({
    executablePath: "/usr/bin/chromium",
    args: ["--no-sandbox", "--headless", "--disable-gpu", "--disable-background-networking",
      "--disable-component-update", "--disable-sync", "--no-first-run"],
  });
  try {
    await load(browser, pageUrl); // the browser's first page pays for its own start
    const pageLoads = [];
    const bareLoads = [];
    for (let i = 0; i < runs; ++i) {
      pageLoads.push(await load(browser, pageUrl));
      bareLoads.push(await load(browser, bareUrl));
    }
    const pageKeys = await keystrokes(browser, pageUrl, 2 * runs);
    const bareKeys = await keystrokes(browser, bareUrl, 2 * runs);

    const wasm = moduleBytes(path.join(pageDir, "ruruzir.js"));
    const files = ["index.html", "ruruzir.js", "ruruzir.css", "ruruzir-page.js",
      "service-worker.js", "manifest.webmanifest"];
    const total = files.reduce((sum, name) => sum + fs.statSync(path.join(pageDir, name)).size, 0);
    const gzipped = files.reduce((sum, name) =>
      sum + zlib.gzipSync(fs.readFileSync(path.join(pageDir, name))).length, 0);

    const ratio = median(pageLoads) / median(bareLoads);
    console.log(`web page, ${runs} runs, medians (goals: first result at most 2x the bare page, ` +
      "keystroke to result and curve < 16 ms, module < 300 KB)");
    console.log(`load to first result   page ${format(median(pageLoads))}   bare ${format(median(bareLoads))}   ${ratio.toFixed(2)}x   max page ${format(Math.max(...pageLoads))}`);
    console.log(`keystroke to result    page ${format(median(pageKeys))}   bare ${format(median(bareKeys))}   max page ${format(Math.max(...pageKeys))} (${pageKeys.length} keys; page: result and curve)`);
    console.log(`module                 ${wasm.length} bytes WebAssembly (${zlib.gzipSync(wasm).length} gzipped)`);
    console.log(`page files             ${total} bytes (${gzipped} gzipped): ${files.join(", ")}`);
  } finally {
    await browser.close();
  }
})().catch((error) => {
  console.error(error);
  process.exit(1);
});

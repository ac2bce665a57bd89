// The web page in Debian's headless Chromium: the shared case table through the address
// fragment, then what only a browser shows (typing, the keyboard, side values, links, local
// storage, bad input, the layout). The last line is "web: N passed, M failed".
//   node page-tests.cjs PAGE_DIR CASE_TABLE SCREENSHOT_DIR
"use strict";
const fs = require("fs");
const http = require("http");
const path = require("path");
const { chromium } = require("playwright-core");

const [pageDir, tablePath, shotDir] = process.argv.slice(2);
const pageUrl = "file://" + path.resolve(pageDir, "index.html");
const rows = fs.readFileSync(tablePath, "utf8").replace(/\n$/, "").split("\n").map((line) => {
  const [name, fragment, expected] = line.split("\t");
  return { name, fragment, expected };
});
const row = (name) => rows.find((entry) => entry.name === name);

let passed = 0;
let failed = 0;
async function check(name, body) {
  try {
    await body();
    ++passed;
    console.log(`ok   ${name}`);
  } catch (error) {
    ++failed;
    console.log(`FAIL ${name}: ${error.message}`);
  }
}
function same(what, actual, expected) {
  if (actual !== expected) {
    throw new Error(`${what}: ${JSON.stringify(actual)}, expected ${JSON.stringify(expected)}`);
  }
}

async function open(context, fragment) {
  const page = await context.newPage();
  page.on("pageerror", (error) => console.log(`page error: ${error.message}`));
  await page.goto(pageUrl + (fragment ? "#" + fragment : ""));
  await page.waitForSelector("html[data-ready]", { timeout: 10000 });
  return page;
}
const text = (page, selector) => page.textContent(selector);
async function retype(page, id, typed) {
  await page.focus("#" + id);
  await page.keyboard.press("Control+A");
  await page.keyboard.type(typed);
}
// The page's folder on a web server of its own, on 127.0.0.1 and a free port.
const TYPES = { ".html": "text/html", ".js": "text/javascript", ".css": "text/css",
  ".png": "image/png", ".webmanifest": "application/manifest+json" };
function serve(folder) {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, "http://x").pathname).replace(/\/$/,
      "/index.html");
    const file = path.join(folder, path.normalize(name));
    if (!file.startsWith(path.resolve(folder)) || !fs.existsSync(file) ||
      fs.statSync(file).isDirectory()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { "Content-Type": TYPES[path.extname(file)] ||
      "application/octet-stream" });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((done) => server.listen(0, "127.0.0.1", () => done(server)));
}
// Width and height of a PNG file, from its header.
function pngSize(file) {
  const bytes = fs.readFileSync(file);
  return `${bytes.readUInt32BE(16)}x${bytes.readUInt32BE(20)}`;
}
async function pressTimes(page, key, times) {
  for (let i = 0; i < times; ++i) await page.keyboard.press(key);
}

(async () => {
  const browser = await chromium.launch({
    executablePath: "/usr/bin/chromium",
    args: ["--no-sandbox", "--headless", "--disable-gpu", "--disable-background-networking",
      "--disable-component-update", "--disable-sync", "--no-first-run"],
  });
  const fresh = () => browser.newContext({ viewport: { width: 1280, height: 800 } });
  try {
    await check(`shared case table (${rows.length} conversions)`, async () => {
      const page = await open(await fresh());
      const shown = await page.evaluate(async (fragments) => {
        const answers = [];
        for (const fragment of fragments) {
          const hash = "#" + fragment;
          if (location.hash !== hash) {
            const changed = new Promise((done) =>
              window.addEventListener("hashchange", () => setTimeout(done), { once: true }));
            location.hash = hash;
            await changed;
          }
          // Faults as the converter names them: its option, then the message.
          const result = document.getElementById("result").textContent;
          const errors = ["value", "pressure", "target-pressure"].map((id) => {
            const error = document.getElementById(id + "-error").textContent;
            return error && (id === "value" ? "" : `--${id}: `) + error;
          }).filter((error) => error);
          answers.push(errors.length ? "error: " + errors.join(" / ") +
            (result ? " / " + result : "") : result);
        }
        return answers;
      }, rows.map((entry) => entry.fragment));
      const wrong = rows.filter((entry, i) => shown[i] !== entry.expected)
        .map((entry) => `${entry.name}: page ${JSON.stringify(shown[rows.indexOf(entry)])}, ` +
          `converter ${JSON.stringify(entry.expected)}`);
      if (wrong.length) throw new Error(`${wrong.length} differ:\n  ${wrong.slice(0, 10).join("\n  ")}`);
    });

    await check("typing: nothing from a half-typed number, the result at every keystroke",
      async () => {
        const page = await open(await fresh(), row("example").fragment);
        same("first result", await text(page, "#result"), row("example").expected);
        await retype(page, "value", "-");
        same("result of '-'", await text(page, "#result"), "");
        same("error of '-'", await text(page, "#value-error"), "an unfinished number");
        same("aria-invalid", await page.getAttribute("#value", "aria-invalid"), "true");
        await page.keyboard.type("35");
        same("result of -35", await text(page, "#result"), row("typed").expected);
        same("error of -35", await text(page, "#value-error"), "");
        await retype(page, "value", "-12,5");
        same("decimal comma", await text(page, "#result"), row("comma").expected);
      });

    await check("keyboard: Tab order of the sentence, a unit chosen with the arrow keys",
      async () => {
        const page = await open(await fresh(), row("example").fragment);
        const order = [];
        for (let i = 0; i < 11; ++i) {
          await page.keyboard.press("Tab");
          order.push(await page.evaluate(() => document.activeElement.id));
        }
        same("Tab order", order.join(" "), "copy share pressure pressure-unit value from " +
          "target-pressure target-pressure-unit to formulation enhancement");
        await page.focus("#to");
        await pressTimes(page, "ArrowDown", 4);
        same("target unit", await page.inputValue("#to"), "ppmv");
        same("result in ppmv", await text(page, "#result"), row("keyboard-ppmv").expected);
      });

    await check("side value: the %RH ambient temperature in place, next in the Tab order",
      async () => {
        const page = await open(await fresh(), row("example").fragment);
        same("hidden before", await page.isVisible("#target-ambient"), false);
        await page.focus("#to");
        await pressTimes(page, "ArrowDown", 9);
        same("target unit", await page.inputValue("#to"), "rh");
        await page.keyboard.press("Tab");
        same("focus after the unit", await page.evaluate(() => document.activeElement.id),
          "target-ambient");
        await page.keyboard.press("Control+A");
        await page.keyboard.type("25");
        same("result at 25 °C", await text(page, "#result"), row("target-rh").expected);
        await retype(page, "target-ambient", "250");
        same("ambient out of range", await text(page, "#target-ambient-error"),
          "stay between -80 and 200 degC (both excluded)");
        same("no result", await text(page, "#result"), "");
      });

    await check("help line: what each unit is, with no converter option or alias in it",
      async () => {
        const page = await open(await fresh(), row("example").fragment);
        const units = [["ppmv", "parts per million by volume"],
          ["ppmw-gas", "parts per million by weight in a gas"], ["lb-mmscf", "natural gas"],
          ["g-m3", "grams of water per m3"], ["rh", "percent relative humidity"],
          ["ppmw-liquid", "dissolved in a liquid"]];
        for (const [unit, meaning] of units) {
          await page.selectOption("#to", unit);
          const help = await text(page, "#unit-help");
          same(`${unit} help names it`, help.includes(meaning), true);
          same(`${unit} help without --options or aliases (${help})`, /--|alias/.test(help), false);
        }
      });

    await check("link: a fragment with the converter's aliases and shared side options",
      async () => {
        const page = await open(await fresh(), row("link").fragment);
        same("result", await text(page, "#result"), row("link").expected);
        same("units", [await page.inputValue("#from"), await page.inputValue("#to"),
          await page.inputValue("#pressure-unit"), await page.inputValue("#target-ambient")]
          .join(" "), "ppmv rh psia 25");
        const wrong = await open(await fresh(), "value=1&pressure-unit=psi");
        same("no guess", await text(wrong, "#notice"), "The link's pressure-unit=psi is not " +
          "one of mbar, psia, psig, atm, kpa, bar, barg, mpa, pa: choose one.");
        same("no result", await text(wrong, "#result"), "");
        same("no pressure without its unit", await wrong.inputValue("#pressure"), "");
      });

    // Links that once killed the page: names of every object's properties, an unknown key,
    // an empty key. The page keeps working and says what it did not use.
    const hostile = [
      ["constructor=x", "The link's constructor is not an option."],
      ["__proto__=x", "The link's __proto__ is not an option."],
      ["toString=1", "The link's toString is not an option."],
      ["hasOwnProperty=1&value=-30", "The link's hasOwnProperty is not an option."],
      ["foo=1", "The link's foo is not an option."],
      ["=5&value=-40", ""],
      ["&&value=-40&=", ""],
      ["from=valueOf&value=-40", "The link's from=valueOf is not one of frost-c, dew-c, " +
        "frost-f, dew-f, ppmv, ppmw-gas, lb-mmscf, g-m3, mbar-vp, rh, ppmw-liquid: choose one."],
    ];
    await check(`link: ${hostile.length} hostile or odd links never stop the page`, async () => {
      const context = await fresh();
      for (const [fragment, notice] of hostile) {
        const page = await open(context, fragment);
        const errors = [];
        page.on("pageerror", (error) => errors.push(error.message));
        same(`notice of #${fragment}`, await text(page, "#notice"), notice);
        // The page still converts: a typed value gives a result at once.
        await page.selectOption("#from", "frost-c");
        await retype(page, "value", "-35");
        await retype(page, "pressure", "1013.25");
        same(`typing after #${fragment}`, (await text(page, "#result")) !== "", true);
        same(`errors after #${fragment}`, errors.join(" "), "");
        await page.close();
      }
      // The same links followed from a page already open.
      const page = await open(context, row("example").fragment);
      for (const [fragment, notice] of hostile) {
        await page.evaluate((hash) => { location.hash = hash; }, fragment);
        await page.waitForFunction((expected) =>
          document.getElementById("notice").textContent === expected, notice);
      }
    });

    await check("start-up: a failure while starting is a notice, not a blank page", async () => {
      const page = await (await fresh()).newPage();
      await page.addInitScript(() => {
        HTMLSelectElement.prototype.add = () => { throw new Error("no lists here"); };
      });
      await page.goto(pageUrl);
      await page.waitForSelector("html[data-ready]", { timeout: 10000 });
      same("notice", await text(page, "#notice"), "The calculator could not start: no lists here");
    });

    await check("start-up: a module whose struct differs from the page's layout is refused",
      async () => {
        const page = await (await fresh()).newPage();
        // The module as a build with another struct ruruzir_request would report it.
        await page.addInitScript(() => {
          let made;
          Object.defineProperty(window, "createRuruzir", {
            configurable: true,
            get: () => made,
            set: (create) => {
              made = (...args) => Promise.resolve(create(...args)).then((module) => {
                module._ruruzir_request_size = () => 136;
                return module;
              });
            },
          });
        });
        await page.goto(pageUrl + "#" + row("example").fragment);
        await page.waitForSelector("html[data-ready]", { timeout: 10000 });
        same("notice", await text(page, "#notice"), "The calculator could not start: the " +
          "module's struct ruruzir_request has 136 bytes, the page lays out 128: the page and " +
          "its module do not belong together");
        same("no result", await text(page, "#result"), "");
      });

    await check("link notice: leaves once the user has chosen what it asked for", async () => {
      const page = await open(await fresh(), "value=1&pressure-unit=psi&foo=2");
      same("notice", await text(page, "#notice"), "The link's pressure-unit=psi is not one of " +
        "mbar, psia, psig, atm, kpa, bar, barg, mpa, pa: choose one. The link's foo is not an option.");
      await retype(page, "value", "-20");
      same("after typing elsewhere", await text(page, "#notice"), "The link's pressure-unit=psi " +
        "is not one of mbar, psia, psig, atm, kpa, bar, barg, mpa, pa: choose one.");
      await page.selectOption("#pressure-unit", "psia");
      same("after choosing", await text(page, "#notice"), "");
    });

    await check("source unit: the value re-expressed, the state kept in local storage",
      async () => {
        const context = await fresh();
        const page = await open(context, row("example").fragment);
        await page.focus("#from");
        await pressTimes(page, "ArrowDown", 4);
        same("value in ppmv", await page.inputValue("#value"), row("reexpress").expected);
        await page.close();
        const again = await open(context);
        same("value kept", await again.inputValue("#value"), row("reexpress").expected);
        same("unit kept", await again.inputValue("#from"), "ppmv");
        if (!again.url().includes("from=ppmv")) throw new Error(`address ${again.url()}`);
      });

    await check("bad input is named next to its field", async () => {
      const page = await open(await fresh(), row("example").fragment);
      await retype(page, "pressure", "12a");
      same("pressure", await text(page, "#pressure-error"), "not a number");
      same("no result", await text(page, "#result"), "");
      await retype(page, "pressure", "1013.25");
      await page.focus("#target-pressure");
      await page.keyboard.press("Control+A");
      await page.keyboard.press("Backspace");
      same("empty", await text(page, "#target-pressure-error"), "enter a number");
      await page.goto(pageUrl + "#" + row("bound-g-m3-above").fragment);
      await page.waitForFunction(() => document.getElementById("value-error").textContent);
      same("range", "error: " + await text(page, "#value-error"), row("bound-g-m3-above").expected);
    });

    await check("the answer: the largest text, an output with its unit, in view on a phone",
      async () => {
        const context = await browser.newContext({ viewport: { width: 390, height: 700 } });
        const page = await open(context, row("example").fragment);
        const facts = await page.evaluate(() => {
          const result = document.getElementById("result");
          let largest = 0;
          for (const node of document.querySelectorAll("main *")) {
            if (node === result || !node.offsetParent || node.closest("svg")) continue;
            if ([...node.childNodes].some((child) => child.nodeType === 3 && child.textContent.trim())
              || ["INPUT", "SELECT"].includes(node.tagName)) {
              largest = Math.max(largest, parseFloat(getComputedStyle(node).fontSize));
            }
          }
          return { tag: result.tagName, size: parseFloat(getComputedStyle(result).fontSize), largest,
            unit: document.getElementById("result-unit").textContent,
            chosen: document.getElementById("to").selectedOptions[0].textContent };
        });
        same("an output", facts.tag, "OUTPUT");
        same("largest text", facts.size > facts.largest, true);
        same("its unit", facts.unit, facts.chosen);
        // Editing the last field of the form: the answer is still on the screen.
        await page.focus("#enhancement");
        await page.evaluate(() => window.scrollTo(0, document.body.scrollHeight));
        const box = await page.evaluate(() => {
          const rect = document.getElementById("result").getBoundingClientRect();
          return { top: rect.top, bottom: rect.bottom, height: innerHeight };
        });
        same("result in view while scrolled", box.top >= 0 && box.bottom <= box.height, true);
        await context.close();
      });

    await check("screen reader: the result with its unit once typing pauses, never a half number",
      async () => {
        const page = await open(await fresh(), row("example").fragment);
        const unit = await text(page, "#result-unit");
        await page.evaluate(() => {
          window.heard = [];
          new MutationObserver(() => window.heard.push(
            document.getElementById("announce").textContent))
            .observe(document.getElementById("announce"), { childList: true, subtree: true,
              characterData: true });
        });
        await retype(page, "value", "-");
        await page.keyboard.type("1e");
        await page.waitForTimeout(1000);
        await retype(page, "value", "-35");
        await page.waitForTimeout(1000);
        await retype(page, "value", "-3x");
        await page.waitForTimeout(1000);
        same("heard", (await page.evaluate(() => window.heard)).join(" | "),
          `${row("typed").expected} ${unit} | and its moisture content is -3x: not a number`);
        same("field errors are not live regions", await page.evaluate(() =>
          document.querySelectorAll(".error[aria-live], output[aria-live=polite]").length), 0);
      });

    await check("copy and share: the result with its unit, the link", async () => {
      const context = await fresh();
      await context.grantPermissions(["clipboard-read", "clipboard-write"]);
      const page = await open(context, row("example").fragment);
      const unit = await text(page, "#result-unit");
      await page.click("#copy");
      same("copied", await page.evaluate(() => navigator.clipboard.readText()),
        `${row("example").expected} ${unit}`);
      same("said", await text(page, "#action-done"), `Copied “${row("example").expected} ${unit}”`);
      // No share sheet (a desktop browser): the link goes to the clipboard.
      await page.evaluate(() => { delete Navigator.prototype.share; });
      await page.click("#share");
      same("link copied", await page.evaluate(() => navigator.clipboard.readText()), page.url());
      // A share sheet: it gets the link and the result.
      await page.evaluate(() => {
        Navigator.prototype.share = (data) => { window.shared = data; return Promise.resolve(); };
      });
      await page.click("#share");
      const shared = await page.evaluate(() => window.shared);
      same("shared", [shared.url, shared.text].join(" "),
        `${page.url()} ${row("example").expected} ${unit}`);
      // The address follows typing once it pauses; shared at once, the link is already new.
      await retype(page, "value", "-41");
      await page.click("#share");
      same("shared at once has the new value",
        /[#&]value=-41(&|$)/.test(await page.evaluate(() => window.shared.url)), true);
      await retype(page, "value", "-42");
      await page.waitForFunction(() => /[#&]value=-42(&|$)/.test(location.hash));
      // Nothing to copy without a result.
      await retype(page, "value", "x");
      same("copy without a result", await page.isDisabled("#copy"), true);
    });

    await check("phone keypad: a sign button for fields that take negative numbers", async () => {
      const context = await browser.newContext({ viewport: { width: 390, height: 800 },
        hasTouch: true, isMobile: true });
      const page = await open(context, row("target-rh").fragment);
      const visible = await page.$$eval(".sign", (buttons) => buttons.filter((button) =>
        button.offsetParent).map((button) => button.dataset.for).join(" "));
      same("sign buttons", visible, "pressure value target-pressure target-ambient");
      await retype(page, "value", "40");
      await page.tap(".sign[data-for=value]");
      same("value", await page.inputValue("#value"), "-40");
      same("result", await text(page, "#result"), row("target-rh").expected);
      await page.tap(".sign[data-for=value]");
      same("value again", await page.inputValue("#value"), "40");
      await context.close();
      const desktop = await open(await fresh(), row("example").fragment);
      same("no sign buttons with a mouse", await desktop.$$eval(".sign", (buttons) =>
        buttons.filter((button) => button.offsetParent).length), 0);
    });

    await check("dark mode and print", async () => {
      const context = await browser.newContext({ viewport: { width: 1280, height: 800 },
        colorScheme: "dark" });
      const page = await open(context, row("example").fragment);
      const colours = await page.evaluate(() => [document.body, document.querySelector(
        ".chart text")].map((node) => getComputedStyle(node)[node.tagName === "text" ? "fill"
        : "backgroundColor"]));
      same("dark background, light chart text", colours.join(" "),
        "rgb(16, 20, 24) rgb(230, 233, 237)");
      await page.emulateMedia({ media: "print", colorScheme: "light" });
      const printed = await page.evaluate(() => ["result", "result-unit", "value", "copy", "share",
        "curve-figure", "notice"].map((id) => (document.getElementById(id).offsetParent
        ? id : "")).filter((id) => id).join(" "));
      same("printed", printed, "result result-unit value");
      await context.close();
    });

    await check("the curve: about a hundred points from core, both sides marked, in words",
      async () => {
        const page = await open(await fresh(), row("example").fragment);
        const curve = async () => page.evaluate(() => {
          const path = document.querySelector("#curve path.line").getAttribute("d");
          return { moves: (path.match(/M/g) || []).length, points: (path.match(/[ML]/g) || []).length,
            marks: [...document.querySelectorAll("#curve .mark text")].map((t) => t.textContent)
              .join(" "), words: document.getElementById("curve-text").textContent };
        });
        let shown = await curve();
        same("points", shown.points, 100);
        same("marks", shown.marks, "source target");
        const unit = await text(page, "#result-unit");
        const mbar = await page.$eval("#pressure-unit", (list) => list.selectedOptions[0].text);
        same("in words", shown.words.startsWith(`Curve: source \u221240.0 ${unit} at 1013.25 ` +
          `${mbar}; target \u221221.6 ${unit} at 7000 ${mbar}; from `), true);
        // Redrawn as the user types.
        await retype(page, "value", "-35");
        shown = await curve();
        same("redrawn", shown.words.includes(`source \u221235.0 ${unit} at 1013.25 ${mbar}; target ` +
          `\u2212${row("typed").expected.slice(1)} ${unit}`), true);
        // A water content with no frost point above 50 °C at the higher pressures: a gap.
        await page.goto(pageUrl + "#value=20&from=frost-c&to=frost-c&pressure=1013.25" +
          "&target-pressure=2000");
        await page.waitForFunction(() => document.getElementById("curve-text").textContent
          .includes("source 20.0"));
        shown = await curve();
        const gap = shown.words.match(/no dew\/frost point at (\d+) of 100 pressures/);
        same("gap said", Boolean(gap), true);
        same("gap drawn", shown.points, 100 - Number(gap[1]));
        // Pressures in other units: the source's 100 psia is 6894.76 mbar on the axis.
        await page.goto(pageUrl + "#value=-40&from=frost-c&to=ppmv&pressure=100" +
          "&pressure-unit=psia&target-pressure=7000&target-pressure-unit=mbar");
        await page.waitForFunction(() => document.getElementById("curve-text").textContent
          .includes("source \u221240.0"));
        shown = await curve();
        same("source on the mbar axis", /source \u221240\.0 .+? at about 689[45] mbar/.test(
          shown.words), true);
        // No result, no curve.
        await retype(page, "value", "-");
        same("no curve", await page.isVisible("#curve-figure"), false);
      });

    await check("offline: served over http the page keeps its files and converts offline",
      async () => {
        const server = await serve(path.resolve(pageDir));
        const base = `http://127.0.0.1:${server.address().port}/`;
        try {
          const context = await fresh();
          const page = await context.newPage();
          await page.goto(base + "#" + row("example").fragment);
          await page.waitForSelector("html[data-ready]");
          await page.evaluate(() => navigator.serviceWorker.ready);
          await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
          await context.setOffline(true);
          const offline = await page.evaluate(() => fetch("ruruzir.js").then(() => "fetched",
            () => "failed"));
          same("the network is gone", offline, "fetched"); // answered from the kept files
          await page.reload();
          await page.waitForSelector("html[data-ready]");
          same("offline result", await text(page, "#result"), row("example").expected);
          await retype(page, "value", "-35");
          same("offline typing", await text(page, "#result"), row("typed").expected);
          // A page never opened before is not there offline: the test's network is really off.
          const other = await context.newPage();
          const failed = await other.goto(base + "never-kept.html").then(() => "loaded",
            () => "failed");
          same("an unkept page offline", failed, "failed");
          await context.close();
        } finally {
          server.close();
        }
        // Opened from a file there is nothing to register, and the page works as ever.
        const page = await open(await fresh(), row("example").fragment);
        same("from a file", [await page.evaluate(() => navigator.serviceWorker
          ? navigator.serviceWorker.controller : null), await text(page, "#result")].join(" "),
        " " + row("example").expected);
      });

    await check("installable: the manifest's icons and colours are the page's files", async () => {
      const manifest = JSON.parse(fs.readFileSync(path.join(pageDir, "manifest.webmanifest")));
      const page = await open(await fresh(), row("example").fragment);
      same("theme colour", await page.$eval("meta[name=theme-color]", (meta) => meta.content),
        manifest.theme_color);
      same("linked", await page.$eval("link[rel=manifest]", (link) => link.getAttribute("href")),
        "manifest.webmanifest");
      same("names", Boolean(manifest.name && manifest.short_name && manifest.start_url), true);
      const icons = manifest.icons.map((icon) => `${icon.sizes}=${pngSize(path.join(pageDir,
        icon.src))}${icon.purpose ? " " + icon.purpose : ""}`);
      same("icons", icons.join(" "), "192x192=192x192 512x512=512x512 512x512=512x512 maskable");
      // Every file the service worker keeps is built.
      const kept = fs.readFileSync(path.join(pageDir, "service-worker.js"), "utf8")
        .match(/const FILES = \[([^\]]*)\]/)[1].match(/"[^"]+"/g).map((name) => JSON.parse(name));
      const missing = kept.filter((name) => name !== "./" && !fs.existsSync(path.join(pageDir,
        name)));
      same("kept files built", missing.join(" "), "");
    });

    // axe-core in four states: the default, a side value shown, faults shown, dark.
    const AXE_STATES = [
      ["default", row("example").fragment, "light"],
      ["side value", row("target-rh").fragment + "&source-ambient=30", "light"],
      ["error", "value=-200&pressure=-14.7&pressure-unit=psig&to=rh&target-ambient=300" +
        "&pressure-unit=psi", "light"],
      ["dark", row("target-rh").fragment, "dark"],
    ];
    await check(`axe-core: no violations in ${AXE_STATES.length} states`, async () => {
      const found = [];
      for (const [name, fragment, colorScheme] of AXE_STATES) {
        const context = await browser.newContext({ viewport: { width: 1280, height: 800 },
          colorScheme });
        const page = await open(context, fragment);
        if (name === "error") {
          const errors = await page.$$eval(".error", (all) => all.filter((e) => e.textContent)
            .length);
          same("faults shown", errors > 0 && (await text(page, "#notice")) !== "", true);
        }
        await page.addScriptTag({ path: require.resolve("axe-core") });
        const violations = await page.evaluate(async () => (await axe.run()).violations.map(
          (v) => `${v.id} (${v.nodes.map((node) => node.target.join(" ")).join(", ")})`));
        for (const violation of violations) found.push(`${name}: ${violation}`);
        await context.close();
      }
      same("violations", found.join("; "), "");
    });

    await check("closed lists: every short name whole at 320 px, the medium list no wider",
      async () => {
        const context = await browser.newContext({ viewport: { width: 320, height: 800 } });
        const page = await open(context, row("example").fragment + "&to=g-m3&from=rh");
        const cut = await page.evaluate(() => {
          const found = [];
          const probe = document.createElement("span");
          probe.style.cssText = "position:absolute;visibility:hidden;white-space:pre";
          document.body.append(probe);
          for (const list of document.querySelectorAll("select")) {
            if (!list.offsetParent) continue;
            const style = getComputedStyle(list);
            probe.style.font = style.font;
            const room = list.clientWidth - parseFloat(style.paddingLeft) -
              parseFloat(style.paddingRight) - 16; // the arrow
            for (const option of list.options) {
              probe.textContent = option.textContent;
              if (probe.offsetWidth > room) found.push(`${list.id}: ${option.textContent}`);
            }
            if (list.getBoundingClientRect().right > innerWidth) found.push(`${list.id} leaves`);
          }
          return found;
        });
        same("cut", cut.join("; "), "");
        // The medium list is as wide as its longest short name, not as the sentence.
        const widths = await page.evaluate(() => ["target-medium", "to"].map((id) =>
          document.getElementById(id).getBoundingClientRect().width));
        same("medium list narrower than the page", widths[0] < 300, true);
        await context.close();
      });

    await check("layout: phone and desktop widths, 200 % and 400 % zoom without sideways scrolling",
      async () => {
        fs.mkdirSync(shotDir, { recursive: true });
        // 640 and 320 CSS pixels: a 1280-pixel window at 200 % and 400 % zoom.
        for (const width of [390, 1280, 640, 320]) {
          const context = await browser.newContext({ viewport: { width, height: 900 } });
          const page = await open(context, row("target-rh").fragment);
          const overflow = await page.evaluate(() =>
            document.documentElement.scrollWidth - document.documentElement.clientWidth);
          same(`sideways overflow at ${width} px`, overflow, 0);
          if (width === 390 || width === 1280) {
            await page.screenshot({ path: path.join(shotDir, `page-${width}.png`), fullPage: true });
          }
          await context.close();
        }
        // The same in dark mode, and the curve's drawing inside its frame at every width.
        for (const width of [390, 1280]) {
          const context = await browser.newContext({ viewport: { width, height: 900 },
            colorScheme: "dark" });
          const page = await open(context, row("target-rh").fragment);
          await page.screenshot({ path: path.join(shotDir, `page-${width}-dark.png`),
            fullPage: true });
          const outside = await page.evaluate(() => {
            const frame = document.querySelector("#curve svg").getBoundingClientRect();
            return [...document.querySelectorAll("#curve svg text")].filter((label) => {
              const box = label.getBoundingClientRect();
              return box.left < frame.left - 0.5 || box.right > frame.right + 0.5;
            }).map((label) => label.textContent);
          });
          same(`curve labels cut at ${width} px`, outside.join(" "), "");
          await context.close();
        }
      });
  } finally {
    await browser.close();
  }
  console.log(`web: ${passed} passed, ${failed} failed`);
  process.exit(failed ? 1 : 0);
})().catch((error) => {
  console.log(`web: 0 passed, 1 failed (${error.message})`);
  process.exit(1);
});

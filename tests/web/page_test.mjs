// The web page in headless Chromium, as a person uses it: generated lines typed, chosen and
// calculated, every figure and message compared with kelvo-calc's row on the same inputs; the
// page working offline and from disk; the phone's width; screenshots in light and dark.
//
//   node tests/web/page_test.mjs SITE KELVO_CALC OUT   (tools/web-test.sh runs it)
import { execFileSync } from "node:child_process";
import { mkdirSync, writeFileSync } from "node:fs";
import { join } from "node:path";
import { pathToFileURL } from "node:url";
import { check, finish, launch } from "./harness.mjs";
import { serve } from "./static_server.mjs";
import { cases, loadLists, parseCsv, rowOf } from "./cases.mjs";

const [site, kelvoCalc, out] = process.argv.slice(2);
mkdirSync(join(out, "screenshots"), { recursive: true });

// kelvo-calc's rows for the cases, a schedule for each combination of the check's columns and the
// laying conditions'.
function expected(list) {
  const results = new Array(list.length);
  for (const [withCheck, withConditions] of [[false, false], [true, false], [false, true], [true, true]]) {
    const picked = list
      .map((c, i) => [c, i])
      .filter(([c]) => Boolean(c.check) === withCheck && Boolean(c.conditions) === withConditions);
    if (picked.length === 0) continue;
    const header = rowOf(null, withCheck, withConditions);
    const csv =
      [header, ...picked.map(([c]) => rowOf(c, withCheck, withConditions))].map((r) => r.join(";")).join("\n") + "\n";
    const file = join(out, `cases-${withCheck}-${withConditions}.csv`);
    writeFileSync(file, csv);
    let text;
    try {
      text = execFileSync(kelvoCalc, [file], { encoding: "utf8" });
    } catch (error) {
      text = error.stdout; // exit 1: rows with messages
    }
    const rows = parseCsv(text);
    const names = rows[0];
    picked.forEach(([, index], k) => {
      results[index] = Object.fromEntries(names.map((name, j) => [name, rows[k + 1][j] ?? ""]));
    });
  }
  return results;
}

// Enters a case into the form as a person would: clicks, types, chooses, presses Enter.
async function enter(page, c) {
  await page.click(`input[name="расчет"][value="${c.kind}"]`);
  if (c.kind === "прямой") {
    await page.click(`input[name="known"][value="${c.known}"]`);
    await retype(page, "#load", c.typedLoad);
  }
  await page.click(`input[name="род_тока"][value="${c.supply}"]`);
  await page.click(`input[name="проводник"][value="${c.conductor}"]`);
  await page.click(`input[name="материал"][value="${c.material}"]`);
  await page.click(`input[name="прокладка"][value="${c.laying}"]`);
  if (c.kind === "обратный") await page.select("#section", c.section);
  await retype(page, "#voltage", c.voltage);
  await retype(page, "#length", c.typedLength);
  await retype(page, "#loss", c.loss);
  await page.select("#multiplicity", c.multiplicity);
  for (const [details, wanted] of [["#conditions", c.conditions], ["#check", c.check]]) {
    const open = await page.$eval(details, (d) => d.open);
    if (open !== Boolean(wanted)) await page.click(`${details} summary`);
  }
  if (c.conditions) {
    await retype(page, "#ambient", c.ambient);
    await retype(page, "#cables", c.cables);
    await retype(page, "#distance", c.distance);
  }
  if (c.check) {
    await page.select("#characteristic", c.characteristic);
    await retype(page, "#upstream", c.upstream);
    await page.select("#pe", c.pe || "как фазная");
  }
  await page.focus("#length");
  await page.keyboard.press("Enter");
}
async function retype(page, selector, text) {
  await page.click(selector, { count: 3 });
  await page.keyboard.press("Backspace");
  if (text) await page.type(selector, text);
}

async function shown(page) {
  return page.evaluate(() => {
    const cells = {};
    for (const cell of document.querySelectorAll("[data-result]")) cells[cell.dataset.result] = cell.textContent;
    return { cells, summary: document.getElementById("summary").textContent };
  });
}

async function compareCases(page) {
  const list = cases(300, 20261208);
  const wanted = expected(list);
  for (let i = 0; i < list.length; i++) {
    await enter(page, list[i]);
    const { cells, summary } = await shown(page);
    const row = wanted[i];
    const what = `case ${i} ${JSON.stringify(list[i])}`;
    for (const [name, value] of Object.entries(row)) {
      if (!(name in cells)) continue;
      check(cells[name] === value, `${what}: ${name} shows «${cells[name]}», kelvo-calc «${value}»`);
    }
    if (row["сообщение"]) check(summary.startsWith(row["сообщение"]), `${what}: summary «${summary}»`);
    else check(!summary.includes("Укажите") && summary !== "", `${what}: summary «${summary}»`);
  }
  console.log(`${list.length} cases compared with kelvo-calc`);
}

// At a phone's width nothing scrolls sideways and every control is large enough for a finger.
async function phoneLayout(page, part) {
  const layout = await page.evaluate(() => {
    const small = [];
    for (const element of document.querySelectorAll("button, select, input:not([type=radio]):not(.visually-hidden), label, summary, nav a")) {
      const box = element.getBoundingClientRect();
      if (box.height > 0 && box.height < 44 && !element.closest(".field, label.search")) small.push(element.outerHTML.slice(0, 80));
      if (box.height > 0 && box.height < 44 && element.matches("input, select")) small.push(element.outerHTML.slice(0, 80));
    }
    return { width: document.documentElement.scrollWidth, small };
  });
  check(layout.width <= 360, `${part}: the page is ${layout.width} px wide at 360`);
  check(layout.small.length === 0, `${part}: controls under 44 px: ${layout.small.join(" | ")}`);
}

async function screenshots(browser, url) {
  for (const [width, height] of [[360, 640], [1280, 800]]) {
    for (const scheme of ["light", "dark"]) {
      const page = await browser.newPage();
      await page.setViewport({ width, height, deviceScaleFactor: width < 400 ? 2 : 1 });
      await page.emulateMediaFeatures([{ name: "prefers-color-scheme", value: scheme }]);
      await page.goto(url);
      await page.waitForSelector("body.ready");
      await page.type("#load", "2,5");
      await page.keyboard.press("Enter");
      await page.screenshot({ path: join(out, "screenshots", `page-${width}-${scheme}.png`), fullPage: true });
      if (width === 360 && scheme === "light") await phoneLayout(page, "calculation");
      for (const part of ["tables", "schedule"]) {
        await page.goto(`${url}#${part}`);
        await page.screenshot({ path: join(out, "screenshots", `${part}-${width}-${scheme}.png`) });
        if (width === 360 && scheme === "light") await phoneLayout(page, part);
      }
      await page.close();
    }
  }
}

// Loaded once from a server, the page can be installed, and works when the server is gone.
async function offline(browser, server) {
  const page = await browser.newPage();
  await page.goto(server.url);
  await page.waitForSelector("body.ready");
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.reload();
  await page.waitForSelector("body.ready");
  const session = await page.createCDPSession();
  const { installabilityErrors } = await session.send("Page.getInstallabilityErrors");
  check(installabilityErrors.length === 0, `not installable: ${JSON.stringify(installabilityErrors)}`);
  // At 200 % zoom of a 1280 px window nothing scrolls sideways either.
  await page.setViewport({ width: 640, height: 400, deviceScaleFactor: 2 });
  const width = await page.evaluate(() => document.documentElement.scrollWidth);
  check(width <= 640, `the page is ${width} px wide at 200 % zoom`);
  await server.close();
  await page.reload();
  await page.waitForSelector("body.ready", { timeout: 10000 });
  await page.type("#load", "2,5");
  await page.keyboard.press("Enter");
  const { cells } = await shown(page);
  check(cells["автомат_А"] === "12,5", `offline: the breaker shows «${cells["автомат_А"]}»`);
  await page.close();
}

async function fromDisk(browser) {
  const page = await browser.newPage();
  await page.goto(pathToFileURL(join(site, "index.html")).href);
  await page.waitForSelector("body.ready", { timeout: 10000 });
  await page.type("#load", "2,5");
  await page.keyboard.press("Enter");
  const { cells } = await shown(page);
  check(cells["рекомендуемое_сечение_мм2"] === "0,75", `file://: the section shows «${cells["рекомендуемое_сечение_мм2"]}»`);
  await page.close();
}

await loadLists(site);
const server = await serve(site);
const browser = await launch(["--lang=ru-RU"]);
try {
  const page = await browser.newPage();
  page.on("pageerror", (error) => check(false, `page error: ${error.message}`));
  await page.setViewport({ width: 1280, height: 900 });
  await page.goto(server.url);
  await page.waitForSelector("body.ready");
  await compareCases(page);
  await page.close();
  await screenshots(browser, server.url);
  await fromDisk(browser);
  await offline(browser, server);
} finally {
  await browser.close();
  await server.close();
}
finish("the page holds");

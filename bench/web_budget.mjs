// The web page's budgets, measured (not asserted): what it loads, compressed; how long until the
// calculator is usable after the first byte, in headless Chromium; how long from "Рассчитать" to
// the figures.   node web_budget.mjs SITE   (tools/web-test.sh runs it from build/web-test)
import { readFileSync } from "node:fs";
import { join } from "node:path";
import { gzipSync } from "node:zlib";
import puppeteer from "puppeteer-core";
import { serve } from "./static_server.mjs";

const site = process.argv[2];
const loaded = ["index.html", "style.css", "app.js", "kelvo.js", "manifest.webmanifest", "icons/icon.svg"];
let compressed = 0;
for (const file of loaded) compressed += gzipSync(readFileSync(join(site, file)), { level: 9 }).length;
console.log(`loaded, compressed: ${(compressed / 1024).toFixed(1)} KB (budget 150 KB)`);
{
  const { readdirSync } = await import("node:fs");
  let all = 0;
  for (const file of readdirSync(site, { recursive: true })) {
    try {
      all += gzipSync(readFileSync(join(site, file)), { level: 9 }).length;
    } catch {
      // a folder
    }
  }
  console.log(`the whole folder, compressed: ${(all / 1024).toFixed(1)} KB (budget 600 KB)`);
}

const server = await serve(site);
const browser = await puppeteer.launch({ executablePath: "/usr/bin/chromium", headless: true, args: ["--no-sandbox"] });
const ready = [], calculation = [];
for (let run = 0; run < 5; run++) {
  const page = await browser.newPage();
  await page.goto(server.url);
  await page.waitForSelector("body.ready");
  ready.push(await page.evaluate(() => {
    const navigation = performance.getEntriesByType("navigation")[0];
    return performance.now() - navigation.responseStart;
  }));
  await page.type("#load", "2,5");
  calculation.push(await page.evaluate(() => {
    const start = performance.now();
    for (let i = 0; i < 100; i++) document.getElementById("form").requestSubmit();
    return (performance.now() - start) / 100;
  }));
  await page.close();
}
await browser.close();
await server.close();
const median = (list) => list.sort((a, b) => a - b)[Math.floor(list.length / 2)];
console.log(`usable after the first byte: ${median(ready).toFixed(0)} ms (budget 1000 ms)`);
console.log(`"Рассчитать" to the figures: ${median(calculation).toFixed(2)} ms (budget 5 ms)`);

// Schedules: 10 000 rows CSV → XLSX on the page (budget 3 s), and 100 000 rows in the schedule
// module under node, with the heap the module then holds (its limit is 512 MiB).
{
  const { mkdtempSync, writeFileSync, readFileSync: read } = await import("node:fs");
  const { tmpdir } = await import("node:os");
  const { createRequire } = await import("node:module");
  const scratch = mkdtempSync(join(tmpdir(), "kelvo-budget-"));
  const schedule = (rows) => {
    const lines = ["расчет;мощность_кВт;род_тока;напряжение_В;материал;проводник;прокладка;длина_м;потери_%"];
    for (let i = 0; i < rows; i++) lines.push(`прямой;${(i % 90) + 1};1ф;220;медь;кабель;k3;${(i % 40) + 5};4`);
    return lines.join("\n") + "\n";
  };
  writeFileSync(join(scratch, "10000.csv"), schedule(10000));
  const server2 = await serve(site);
  const browser2 = await puppeteer.launch({ executablePath: "/usr/bin/chromium", headless: true, args: ["--no-sandbox"] });
  const page = await browser2.newPage();
  await page.goto(`${server2.url}#schedule`);
  await page.waitForSelector("body.ready");
  await page.select("#schedule-format", ".xlsx");
  const start = Date.now();
  await (await page.$("#schedule-file")).uploadFile(join(scratch, "10000.csv"));
  await page.waitForFunction(() => !document.getElementById("schedule-result").hidden, { timeout: 60000 });
  console.log(`10 000 rows CSV → XLSX on the page: ${((Date.now() - start) / 1000).toFixed(2)} s (budget 3 s)`);
  await browser2.close();
  await server2.close();

  globalThis.KelvoSchedule = createRequire(import.meta.url)(join(site, "kelvo-schedule.js"));
  const run = new Function(`${read(join(site, "schedule-run.js"), "utf8")}; return kelvoRunSchedule;`)();
  const begin = Date.now();
  const job = { name: "100000.csv", bytes: new TextEncoder().encode(schedule(100000)), ending: ".xlsx", sheet: "" };
  const { answer, heap } = await run(job, () => {});
  console.log(`100 000 rows CSV → XLSX in the module: ${((Date.now() - begin) / 1000).toFixed(2)} s, ` +
    `${answer.split("\n")[2]}; the module's memory at its peak ${(heap / 1048576).toFixed(0)} MiB (limit 512 MiB), ` +
    `the files in its memory file system and the rest: node resident ${(process.memoryUsage().rss / 1048576).toFixed(0)} MiB`);
}

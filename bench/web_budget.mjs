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

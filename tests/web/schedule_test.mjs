// Schedules on the web page in headless Chromium: files chosen through the page's file input, the
// downloaded results (CSV, XLSX, ODS) read back equal to kelvo-calc's native results for every
// golden input and the people's files; a damaged workbook gets kelvo-calc's message; "Отмена"
// stops a long run, even while its file is read; a file after a failed or an ended one is calculated.
//
//   node tests/web/schedule_test.mjs SITE KELVO_CALC SOURCE OUT   (tools/web-test.sh runs it)
import { execFileSync } from "node:child_process";
import { mkdirSync, readdirSync, writeFileSync } from "node:fs";
import { basename, join } from "node:path";
import { check, finish, launch } from "./harness.mjs";
import { serve } from "./static_server.mjs";

const [site, kelvoCalc, source, out] = process.argv.slice(2);
const folder = join(out, "schedules");
mkdirSync(folder, { recursive: true });

// kelvo-calc's status, standard output and standard error.
function calc(args) {
  try {
    return { status: 0, out: execFileSync(kelvoCalc, args, { encoding: "utf8", stdio: ["ignore", "pipe", "pipe"] }), err: "" };
  } catch (error) {
    return { status: error.status, out: error.stdout, err: error.stderr };
  }
}

// Chooses the file in the page and waits for the outcome; the result's bytes when one is offered.
async function run(page, file, ending) {
  await page.select("#schedule-format", ending);
  const input = await page.$("#schedule-file");
  await input.uploadFile(file);
  await page.waitForFunction(() => !document.getElementById("schedule-result").hidden, { timeout: 60000 });
  return page.evaluate(async () => {
    const link = document.getElementById("schedule-download");
    const said = [...document.querySelectorAll("#schedule-said li")].map((li) => li.textContent);
    const counts = document.getElementById("schedule-counts").textContent;
    if (link.hidden) return { said, counts };
    const bytes = new Uint8Array(await (await fetch(link.href)).arrayBuffer());
    return { said, counts, name: link.download, bytes: Array.from(bytes) };
  });
}

async function compareResults(page) {
  const inputs = [
    ...readdirSync(join(source, "tests/schedule/golden")).filter((name) => !name.includes(".expected."))
      .map((name) => join(source, "tests/schedule/golden", name)),
    ...readdirSync(join(source, "tests/schedule/fixtures/people")).map((name) => join(source, "tests/schedule/fixtures/people", name)),
  ];
  for (const file of inputs) {
    for (const ending of [".csv", ".xlsx", ".ods"]) {
      const what = `${basename(file)} → ${ending}`;
      const native = join(folder, `native-${basename(file)}${ending}`);
      const expected = calc(["-o", native, file]);
      const shown = await run(page, file, ending);
      const said = expected.err.split("\n").filter(Boolean).map((line) => line.replace(/^kelvo-calc: /, ""));
      check(JSON.stringify(shown.said) === JSON.stringify(said), `${what}: said ${JSON.stringify(shown.said)}, kelvo-calc ${JSON.stringify(said)}`);
      if (!shown.bytes) {
        check(false, `${what}: no result (${shown.counts})`);
        continue;
      }
      const web = join(folder, `web-${shown.name}`);
      writeFileSync(web, Buffer.from(shown.bytes));
      // Read back by kelvo-calc (the result's sheet named: a header not in UTF-8 is none), the two
      // results are the same schedule.
      const back = ending === ".csv" ? [] : ["--sheet", "Результат"];
      const a = calc([...back, native]).out, b = calc([...back, web]).out;
      check(a === b && a !== "", `${what}: the downloaded result reads back otherwise than kelvo-calc's`);
      if (ending === ".csv") check(calc([file]).out === Buffer.from(shown.bytes).toString("utf8") || file.includes("cp1251"),
        `${what}: the CSV differs from kelvo-calc's`);
    }
  }
  console.log(`${inputs.length} schedules compared with kelvo-calc in three formats`);
}

async function damagedThenGood(page) {
  const damaged = join(source, "tests/schedule/fixtures/damaged.xlsx");
  const expected = calc([damaged]).err.trim().replace(/^kelvo-calc: /, "");
  const shown = await run(page, damaged, "");
  check(shown.said.includes(expected), `damaged: said ${JSON.stringify(shown.said)}, kelvo-calc «${expected}»`);
  check(!shown.bytes, "damaged: a result is offered");
  const good = await run(page, join(source, "tests/schedule/golden/rows.csv"), "");
  check(Boolean(good.bytes), `after a damaged file: ${good.counts}`);
}

async function cancel(page) {
  const rows = ["расчет;мощность_кВт;род_тока;напряжение_В;материал;проводник;прокладка;длина_м;потери_%"];
  for (let i = 0; i < 300000; i++) rows.push(`прямой;${(i % 90) + 1};1ф;220;медь;провод;p1;${(i % 40) + 5};4`);
  const file = join(folder, "long.csv");
  writeFileSync(file, rows.join("\n"));
  await page.select("#schedule-format", ".xlsx");
  await (await page.$("#schedule-file")).uploadFile(file);
  await page.waitForFunction(() => !document.getElementById("schedule-progress").hidden);
  await page.click("#schedule-cancel");
  const counts = await page.$eval("#schedule-counts", (p) => p.textContent);
  check(counts.includes("отменен"), `cancel: «${counts}»`);
  const after = await run(page, join(source, "tests/schedule/golden/workbook.xlsx"), "");
  check(Boolean(after.bytes), `after a cancelled run: ${after.counts}`);
  // A file chosen while the last one's worker still loads: the ended worker's error must neither
  // restart its run nor end this one.
  await (await page.$("#schedule-file")).uploadFile(file);
  const next = await run(page, join(source, "tests/schedule/golden/workbook.xlsx"), "");
  check(next.counts.startsWith("Строк: 4,"), `a file after one still loading: ${next.counts}`);
}

const server = await serve(site);
const browser = await launch();
try {
  const page = await browser.newPage();
  page.on("pageerror", (error) => check(false, `page error: ${error.message}`));
  await page.goto(`${server.url}#schedule`);
  await page.waitForSelector("body.ready");
  await compareResults(page);
  await damagedThenGood(page);
  await cancel(page);
  await page.setViewport({ width: 1280, height: 800 });
  await page.screenshot({ path: join(out, "screenshots", "schedule-1280.png"), fullPage: true });
} finally {
  await browser.close();
  await server.close();
}
finish("the schedules hold");

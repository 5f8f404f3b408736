// What the page's browser tests share: the checks that count failures, Debian's Chromium headless,
// and the ending that reports the count and sets the exit status.
import puppeteer from "puppeteer-core";

let failures = 0;
export function check(condition, what) {
  if (!condition) {
    failures++;
    console.error(`FAIL ${what}`);
  }
}

export function launch(args = []) {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    headless: true,
    args: ["--no-sandbox", "--disable-gpu", ...args],
  });
}

export function finish(held) {
  console.log(failures ? `${failures} failures` : held);
  process.exit(failures ? 1 : 0);
}

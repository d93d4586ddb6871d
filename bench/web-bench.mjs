// The page against the command line on one document: the time from picking
// it to its result being ready in headless chromium, and the time
// maravelundi-cli takes for the same conversion, on the same machine.
// Screenshots of the page before and after converting the sample, when a
// folder is given.
//
//   node web-bench.mjs SITE CLI DOCUMENT [SCREENSHOTS]
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { createRequire } from "node:module";
import { fileURLToPath } from "node:url";
import { launchChromium, pick, serve, settledResults } from "../tests/web/Browser.mjs";

const kSource = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "..");
const puppeteer = createRequire(path.join(kSource, "web/package.json"))("puppeteer-core");
const kWaitLimit = 600000;
const [site, cli, document, screenshots] = process.argv.slice(2);

const scratch = fs.mkdtempSync(path.join(os.tmpdir(), "maravelundi-web-bench-"));
const server = await serve(fs.realpathSync(site), []);
const browser = await launchChromium(puppeteer, "/usr/bin/chromium", scratch, kWaitLimit);
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 1100, height: 900 });
  await page.goto(`http://127.0.0.1:${server.address().port}/index.html`, { waitUntil: "load" });
  await page.waitForSelector("body[data-ready=true]", { timeout: kWaitLimit });
  if (screenshots) await page.screenshot({ path: path.join(screenshots, "page-before.png") });
  // The output the command line is timed with (the page's default is the
  // document's own format), once the converter has loaded, as it has long
  // before anyone has picked a document.
  await page.select("#to", "unicode");
  await page.waitForSelector("#text-box[data-ready=true]", { timeout: kWaitLimit });

  const start = performance.now();
  await pick(page, [document]);
  await settledResults(page, 1, kWaitLimit, { previews: false });  // the download is ready
  const pageSeconds = (performance.now() - start) / 1000;
  if (screenshots) {
    // After: the sample document converted, its preview open.
    await page.reload();
    await page.waitForSelector("body[data-ready=true]", { timeout: kWaitLimit });
    await pick(page, [path.join(kSource, "samples/sample-v7.rtf")]);
    await settledResults(page, 1, kWaitLimit);
    await page.$eval("#results .preview", (details) => { details.open = true; });
    await page.evaluate(() => document.fonts.ready);
    await page.screenshot({ path: path.join(screenshots, "page-after.png") });
  }

  const cliStart = performance.now();
  execFileSync(cli, ["--to", "unicode", "-o", path.join(scratch, "out.html"), document]);
  const cliSeconds = (performance.now() - cliStart) / 1000;
  const megabytes = fs.statSync(document).size / 1e6;
  console.log(`page ${pageSeconds.toFixed(2)} s (${(megabytes / pageSeconds).toFixed(1)} MB/s), ` +
    `command line ${cliSeconds.toFixed(2)} s: ${(pageSeconds / cliSeconds).toFixed(2)} times as long`);
} finally {
  await browser.close();
  server.close();
  fs.rmSync(scratch, { recursive: true, force: true });
}

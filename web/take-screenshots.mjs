// Screenshots of the page as people see it, for the README and reviews:
// before and after documents are dropped, the text box, the page opened
// again with no network, and a phone's width.
//
//   node web/take-screenshots.mjs SITE CLI FOLDER
// CLI makes the old-font text the text box is shown with.
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { createRequire } from "node:module";
import { fileURLToPath } from "node:url";
import { launchChromium, pick, serve, settledResults } from "../tests/web/Browser.mjs";

const kSource = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "..");
const puppeteer = createRequire(path.join(kSource, "web/package.json"))("puppeteer-core");
const kWaitLimit = 120000;
const [site, cli, folder] = process.argv.slice(2);
if (!site || !cli || !folder) {
  console.error("usage: node web/take-screenshots.mjs SITE CLI FOLDER");
  process.exit(2);
}

const scratch = fs.mkdtempSync(path.join(os.tmpdir(), "maravelundi-screenshots-"));
const server = await serve(fs.realpathSync(site), []);
const browser = await launchChromium(puppeteer, "/usr/bin/chromium", scratch, kWaitLimit);
try {
  const page = await browser.newPage();
  const shoot = async (name) => {
    await page.evaluate(() => document.fonts.ready);
    await page.screenshot({ path: path.join(folder, name), fullPage: true });
  };
  const ready = async () => {
    await page.waitForSelector("body[data-ready=true]", { timeout: kWaitLimit });
    await page.waitForSelector("#text-box[data-ready=true]", { timeout: kWaitLimit });
  };
  // Documents: a Rich Text sample, a copy of it named as a Word document
  // that is not one, and plain text in an old font.
  const sample = path.join(kSource, "samples", "sample-v7.rtf");
  const notWord = path.join(scratch, "report.docx");
  fs.writeFileSync(notWord, "this was never a Word document");
  const unicode = path.join(kSource, "samples", "sample-mltt.txt");
  const legacy = path.join(scratch, "letter.txt");
  execFileSync(cli, ["--from", "text", "--to", "legacy", "-o", legacy, unicode]);
  const documents = [sample, notWord, legacy];

  await page.setViewport({ width: 1100, height: 900 });
  await page.goto(`http://127.0.0.1:${server.address().port}/index.html`, { waitUntil: "load" });
  await ready();
  await shoot("page-before.png");

  await page.select("#to", "docx");
  await pick(page, documents);
  await settledResults(page, documents.length, kWaitLimit);
  await page.$eval("#results .preview", (details) => { details.open = true; });
  await shoot("page-after.png");

  await page.reload();
  await ready();
  await page.$eval("#text-in", (box, text) => {
    box.value = text;
    box.dispatchEvent(new InputEvent("input", { bubbles: true, inputType: "insertFromPaste" }));
  }, fs.readFileSync(legacy, "utf8"));
  await page.waitForSelector("#text-out[data-pending='0']", { timeout: kWaitLimit });
  await page.$eval("#text-box", (box) => box.scrollIntoView());
  await page.screenshot({ path: path.join(folder, "page-text.png") });

  // No network: the browser offline and the server gone.
  await page.waitForSelector("body[data-offline=ready]", { timeout: kWaitLimit });
  await page.setOfflineMode(true);
  server.closeAllConnections();
  await new Promise((resolve) => server.close(resolve));
  await page.reload({ waitUntil: "load" });
  await ready();
  await pick(page, [sample]);
  await settledResults(page, 1, kWaitLimit);
  await page.$eval("#results .preview", (details) => { details.open = true; });
  await shoot("page-offline.png");

  await page.setViewport({ width: 360, height: 740 });
  await page.reload({ waitUntil: "load" });
  await ready();
  await pick(page, documents);
  await settledResults(page, documents.length, kWaitLimit);
  await shoot("page-phone.png");
} finally {
  await browser.close();
  if (server.listening) server.close();
  fs.rmSync(scratch, { recursive: true, force: true });
}

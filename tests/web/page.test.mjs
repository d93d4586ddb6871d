// The page in a real browser: Debian's chromium, headless, driven through
// puppeteer-core. Documents are picked and dropped as a user would, every
// result is fetched through the page's own download links, and each must be
// byte for byte what maravelundi-cli writes for the same document and
// options. The page must ask for nothing but its own files, name a bad file
// in its message, and give every result in its zip of all.
//
//   node page.test.mjs           (ctest runs it; see tests/CMakeLists.txt)
//   MARAVELUNDI_CLI   the command line to compare with
//   MARAVELUNDI_SITE  the page's folder (build-web/site)
//
// Exit 77 (skipped) only where chromium or Emscripten is missing and CI is
// unset; in CI their absence fails, and so does a page not built.
import assert from "node:assert/strict";
import { execFileSync, spawnSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { createRequire } from "node:module";
import { fileURLToPath } from "node:url";
import { launchChromium, pick, serve, settledResults } from "./Browser.mjs";

const kSource = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "../..");
const require = createRequire(path.join(kSource, "web/package.json"));
const kChromium = process.env.MARAVELUNDI_CHROMIUM ?? "/usr/bin/chromium";
const kCli = process.env.MARAVELUNDI_CLI;
const kSite = process.env.MARAVELUNDI_SITE ?? path.join(kSource, "build-web/site");
const kSkipped = 77;
// A safety net only: every wait below ends on an event the page or the
// browser sends.
const kWaitLimit = 120000;

function skipOrFail(reason) {
  if (process.env.CI) {
    console.error(`FAIL: ${reason}, and CI needs it`);
    process.exit(1);
  }
  console.log(`SKIPPED: ${reason}`);
  process.exit(kSkipped);
}

const onPath = (program) => (process.env.PATH ?? "").split(":").some((folder) => fs.existsSync(path.join(folder, program)));
if (!fs.existsSync(kChromium)) skipOrFail(`no ${kChromium}`);
if (!fs.existsSync(path.join(kSite, "maravelundi.wasm"))) {
  if (!onPath("emcc")) skipOrFail("no Emscripten (emcc) to build the page with");
  console.error(`FAIL: no page built in ${kSite}: make web builds it`);
  process.exit(1);
}
assert.ok(kCli && fs.existsSync(kCli), "MARAVELUNDI_CLI names the command line");
const puppeteer = require("puppeteer-core");
const launch = (scratch) => launchChromium(puppeteer, kChromium, scratch, kWaitLimit);
const settled = (page, count) => settledResults(page, count, kWaitLimit);
const { zipSync, unzipSync, strToU8 } = require("fflate");

// ---- documents ---------------------------------------------------------

const kWordMain = "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml";
const kDeclaration = '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>';

// A Word document with Rachana 7 text in rc1 and rc3, English in Arial, a
// picture's bytes, and the parts Word writes around them.
function wordDocument() {
  const run = (font, text) =>
    `<w:r><w:rPr><w:rFonts w:ascii="${font}" w:hAnsi="${font}"/></w:rPr><w:t xml:space="preserve">${text}</w:t></w:r>`;
  const body = `<w:p>${run("rc1", "ae hfn")}${run("Arial", " and ")}${run("rc3", "ae")}</w:p>` +
    `<w:p><w:pPr><w:jc w:val="center"/></w:pPr>${run("rc1", "hfn ae")}</w:p>`;
  return zipSync({
    "[Content_Types].xml": strToU8(kDeclaration +
      '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">' +
      '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>' +
      '<Default Extension="xml" ContentType="application/xml"/><Default Extension="png" ContentType="image/png"/>' +
      `<Override PartName="/word/document.xml" ContentType="${kWordMain}"/></Types>`),
    "_rels/.rels": strToU8(kDeclaration +
      '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">' +
      '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" ' +
      'Target="word/document.xml"/></Relationships>'),
    "word/document.xml": strToU8(kDeclaration +
      '<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main">' +
      `<w:body>${body}</w:body></w:document>`),
    "word/media/image1.png": strToU8("\x89PNG\r\n\x1a\n a picture's bytes"),
  }, { level: 9, mtime: new Date(2001, 1, 3, 4, 5, 6) });
}

// An OpenDocument text with rc1 text through an automatic style.
function openDocument() {
  const namespaces = 'xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" ' +
    'xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" ' +
    'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" ' +
    'xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0" office:version="1.3"';
  const faces = '<office:font-face-decls><style:font-face style:name="rc1" svg:font-family="rc1"/></office:font-face-decls>';
  return zipSync({
    mimetype: [strToU8("application/vnd.oasis.opendocument.text"), { level: 0 }],
    "content.xml": strToU8(`${kDeclaration}<office:document-content ${namespaces}>${faces}` +
      '<office:automatic-styles><style:style style:name="T1" style:family="text">' +
      '<style:text-properties style:font-name="rc1"/></style:style></office:automatic-styles>' +
      '<office:body><office:text><text:p>Malayalam: <text:span text:style-name="T1">ae hfn</text:span></text:p>' +
      "</office:text></office:body></office:document-content>"),
    "styles.xml": strToU8(`${kDeclaration}<office:document-styles ${namespaces}>${faces}</office:document-styles>`),
    "META-INF/manifest.xml": strToU8(kDeclaration +
      '<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" manifest:version="1.3">' +
      '<manifest:file-entry manifest:full-path="/" manifest:media-type="application/vnd.oasis.opendocument.text"/>' +
      '<manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/>' +
      "</manifest:manifest>"),
  }, { level: 9, mtime: new Date(2001, 1, 3, 4, 5, 6) });
}

// ---- the command line --------------------------------------------------

// An empty spelling is the command line's without --spelling, as it is the page's.
function cliResult(input, output, { to, fonts = "auto", spelling = "" }) {
  const spelled = spelling === "" ? [] : ["--spelling", spelling];
  execFileSync(kCli, ["--to", to, "--fonts", fonts, ...spelled, "-o", output, input]);
  return fs.readFileSync(output);
}

function cliFailure(input, to) {
  const run = spawnSync(kCli, ["--to", to, "-o", path.join(path.dirname(input), "never"), input], { encoding: "utf8" });
  assert.equal(run.status, 1, `the command line refuses ${input}`);
  return run.stderr.trim();
}

// ---- the page's server, which notes every request ----------------------
// (Browser.mjs: serve, launch, settled, pick)

// ---- the browser -------------------------------------------------------

// Downloads land in a folder of the test's; each resolves when the browser
// says it is complete.
class Downloads {
  constructor(session) {
    this.session = session;
    this.names = new Map();    // guid -> suggested file name
    this.waiting = new Map();  // guid -> resolve
    this.done = new Map();     // guid -> state
    session.on("Browser.downloadWillBegin", (event) => this.names.set(event.guid, event.suggestedFilename));
    session.on("Browser.downloadProgress", (event) => {
      if (event.state !== "completed" && event.state !== "canceled") return;
      this.done.set(event.guid, event.state);
      this.waiting.get(event.guid)?.();
    });
  }

  async into(folder) {
    fs.mkdirSync(folder, { recursive: true });
    this.folder = folder;
    await this.session.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: folder, eventsEnabled: true });
  }

  // Clicks, then waits for the download the click started: its bytes.
  async take(click) {
    const before = new Set(this.names.keys());
    const begun = new Promise((resolve) => {
      const listener = (event) => {
        if (before.has(event.guid)) return;
        this.session.off("Browser.downloadWillBegin", listener);
        resolve(event.guid);
      };
      this.session.on("Browser.downloadWillBegin", listener);
    });
    await click();
    const guid = await begun;
    if (!this.done.has(guid)) await new Promise((resolve) => this.waiting.set(guid, resolve));
    assert.equal(this.done.get(guid), "completed", `the download of ${this.names.get(guid)}`);
    const name = this.names.get(guid);
    return { name, bytes: fs.readFileSync(path.join(this.folder, name)) };
  }
}

// Sets the options as a user would, which converts the held documents again.
async function choose(page, { to, fonts = "auto", spelling = "" }) {
  await page.select("#to", to);
  await page.select("#fonts", fonts);
  await page.select("#spelling", spelling);
}

async function clearResults(page) {
  await page.reload();
  await page.waitForSelector("body[data-ready=true]", { timeout: kWaitLimit });
}

// Drops the files on the drop zone as a file manager would hand them over.
async function dropOn(page, files) {
  const payload = files.map((file) => ({ name: path.basename(file), base64: fs.readFileSync(file).toString("base64") }));
  await page.evaluate((items) => {
    const transfer = new DataTransfer();
    for (const item of items) {
      const bytes = Uint8Array.from(atob(item.base64), (c) => c.charCodeAt(0));
      transfer.items.add(new File([bytes], item.name));
    }
    const zone = document.getElementById("drop");
    zone.dispatchEvent(new DragEvent("dragover", { dataTransfer: transfer, bubbles: true, cancelable: true }));
    zone.dispatchEvent(new DragEvent("drop", { dataTransfer: transfer, bubbles: true, cancelable: true }));
  }, payload);
}

async function rowsOf(page) {
  return page.$$eval("#results li", (rows) => rows.map((row) => ({
    source: row.querySelector(".source").textContent,
    message: row.querySelector(".message").hidden ? "" : row.querySelector(".message").textContent,
    download: row.querySelector(".download").hidden ? "" : row.querySelector(".download").download,
    preview: row.querySelector(".preview").hidden ? "" : row.querySelector(".preview .text").textContent,
    failure: row.dataset.failure ?? "",
    part: row.dataset.part ?? "",
    byte: row.dataset.byte ?? "",
  })));
}

// The parts of a zip archive in their order, each as its bytes.
function partsOf(zip) {
  return Object.entries(unzipSync(new Uint8Array(zip))).map(([name, bytes]) => [name, Buffer.from(bytes)]);
}

// ---- the checks --------------------------------------------------------

let passed = 0;

async function main() {
  const scratch = fs.mkdtempSync(path.join(os.tmpdir(), "maravelundi-web-"));
  const served = [];
  const server = await serve(fs.realpathSync(kSite), served);
  const origin = `http://127.0.0.1:${server.address().port}`;
  const browser = await launch(scratch);
  const check = async (name, body) => {
    await body();
    console.log(`ok - ${name}`);
    ++passed;
  };
  try {
    // The inputs, named as the user's files are: the html5 title comes from the name.
    const inputs = path.join(scratch, "in");
    fs.mkdirSync(inputs);
    const samples = fs.readdirSync(path.join(kSource, "samples")).filter((name) => name.endsWith(".rtf")).sort();
    for (const name of samples) fs.copyFileSync(path.join(kSource, "samples", name), path.join(inputs, name));
    const docx = path.join(inputs, "letter.docx");
    const odt = path.join(inputs, "notes.odt");
    fs.writeFileSync(docx, wordDocument());
    fs.writeFileSync(odt, openDocument());
    const bad = path.join(inputs, "broken.rtf");
    fs.writeFileSync(bad, "{\\rtf1 an unfinished group");
    const expected = path.join(scratch, "expected");
    fs.mkdirSync(expected);

    const page = await browser.newPage();
    const requested = [];
    page.on("request", (request) => requested.push(request.url()));
    const pageErrors = [];
    page.on("pageerror", (error) => pageErrors.push(String(error)));
    const downloads = new Downloads(await browser.target().createCDPSession());
    await page.goto(`${origin}/index.html`, { waitUntil: "load" });
    await page.waitForSelector("body[data-ready=true]", { timeout: kWaitLimit });

    // Each output of the Rich Text samples, picked and dropped by turns, and
    // of the DOCX and ODT.
    const cases = [
      { options: { to: "unicode" }, files: samples.map((name) => path.join(inputs, name)) },
      { options: { to: "html5" }, files: samples.map((name) => path.join(inputs, name)).concat([docx]) },
      { options: { to: "text", spelling: "modern" }, files: samples.map((name) => path.join(inputs, name)).concat([odt]) },
      { options: { to: "rtf" }, files: samples.map((name) => path.join(inputs, name)) },
      { options: { to: "rtf", spelling: "legacy" }, files: samples.map((name) => path.join(inputs, name)) },
      { options: { to: "unicode", spelling: "modern" }, files: [docx] },
      { options: { to: "ism", fonts: "7" }, files: samples.map((name) => path.join(inputs, name)).concat([docx]) },
      { options: { to: "mltt", fonts: "2" }, files: samples.map((name) => path.join(inputs, name)) },
      { options: { to: "docx", spelling: "modern" }, files: [docx] },
      { options: { to: "odt" }, files: [odt] },
    ];
    let caseNumber = 0;
    for (const { options, files } of cases) {
      const label = Object.entries(options).map(([key, value]) => `--${key} ${value}`).join(" ");
      await check(`${label}: every download is the command line's result, byte for byte`, async () => {
        await clearResults(page);
        await choose(page, options);
        if (caseNumber % 2 === 0) await pick(page, files);
        else await dropOn(page, files);
        await settled(page, files.length);
        const rows = await rowsOf(page);
        await downloads.into(path.join(scratch, "downloads", String(caseNumber)));
        const links = await page.$$("#results .download");
        for (let i = 0; i < files.length; ++i) {
          assert.equal(rows[i].message, "", `${files[i]}: no message`);
          const { name, bytes } = await downloads.take(() => links[i].click());
          const output = path.join(expected, `${caseNumber}-${name}`);
          const wanted = cliResult(files[i], output, options);
          assert.ok(bytes.equals(wanted), `${label} ${path.basename(files[i])}: the page's ${name} differs from the command line's`);
          assert.notEqual(rows[i].preview, "", `${path.basename(files[i])}: a preview`);
        }
      });
      ++caseNumber;
    }

    await check("the zip of all holds every result under its name", async () => {
      await clearResults(page);
      await choose(page, { to: "text" });
      const files = samples.map((name) => path.join(inputs, name)).concat([docx, odt]);
      await pick(page, files);
      await settled(page, files.length);
      await downloads.into(path.join(scratch, "downloads", "all"));
      const { name, bytes } = await downloads.take(() => page.click("#download-all"));
      assert.match(name, /\.zip$/);
      const parts = new Map(partsOf(bytes));
      assert.equal(parts.size, files.length);
      for (const file of files) {
        const stem = path.basename(file, path.extname(file));
        const wanted = cliResult(file, path.join(expected, `all-${stem}.txt`), { to: "text" });
        assert.ok(parts.get(`${stem}.txt`)?.equals(wanted), `${stem}.txt in the zip`);
      }
    });

    await check("the preview is the Unicode text, in the page's own Malayalam font", async () => {
      await clearResults(page);
      await choose(page, { to: "docx" });
      await pick(page, [docx]);
      await settled(page, 1);
      const [row] = await rowsOf(page);
      const text = cliResult(docx, path.join(expected, "preview.txt"), { to: "text" }).toString("utf8");
      assert.equal(row.preview, text);
      const font = await page.$eval("#results .preview .text", (node) => getComputedStyle(node).fontFamily);
      assert.match(font, /^"Manjari \(page\)"/);
      const loaded = await page.evaluate(async () => {
        await document.fonts.ready;
        return [...document.fonts].filter((face) => face.status === "loaded").map((face) => face.family);
      });
      assert.ok(loaded.map((family) => family.replaceAll('"', "")).includes("Manjari (page)"),
        `the font was loaded: ${loaded}`);
    });

    await check("the preview is spelled as the result is: as typed for unicode, as Unicode writes it today else", async () => {
      const sample = path.join(inputs, "sample-v7.rtf");
      const legacy = cliResult(sample, path.join(expected, "legacy.txt"), { to: "text", spelling: "legacy" }).toString("utf8");
      const modern = cliResult(sample, path.join(expected, "modern.txt"), { to: "text" }).toString("utf8");
      assert.notEqual(legacy, modern, "the sample's spellings differ");
      for (const [options, wanted] of [[{ to: "unicode" }, legacy], [{ to: "html5" }, modern],
        [{ to: "unicode", spelling: "modern" }, modern], [{ to: "rtf", spelling: "legacy" }, legacy]]) {
        await clearResults(page);
        await choose(page, options);
        await pick(page, [sample]);
        await settled(page, 1);
        const [row] = await rowsOf(page);
        assert.equal(row.preview, wanted, `the preview of ${JSON.stringify(options)}`);
      }
    });

    await check("a bad file gets a message naming it, and the others still convert", async () => {
      await clearResults(page);
      await choose(page, { to: "unicode" });
      await pick(page, [path.join(inputs, samples[0]), bad, docx]);
      await settled(page, 3);
      const rows = await rowsOf(page);
      const cliMessage = cliFailure(bad, "unicode").replace(`maravelundi-cli: ${bad}`, "broken.rtf");
      assert.equal(rows[1].message, cliMessage);
      assert.match(rows[1].message, /^broken\.rtf: /);
      assert.equal(rows[1].download, "");
      // The worker has the failure's kind and place too, for the page's own words.
      assert.equal(rows[1].failure, "damaged-document");
      assert.equal(rows[1].byte, cliMessage.match(/\(at byte (\d+)\)$/)?.[1]);
      assert.equal(rows[0].failure, "");
      assert.equal(rows[0].message, "");
      assert.notEqual(rows[0].download, "");
      // The output the page cannot make (another format, which needs
      // LibreOffice) is refused with its reason too.
      await choose(page, { to: "odt" });
      await settled(page, 3);
      const refused = await rowsOf(page);
      assert.match(refused[2].message, /^letter\.docx: making ODT \(\.odt\) of a document of another format needs LibreOffice/);
      assert.equal(refused[2].failure, "needs-libreoffice");
      assert.equal(refused[2].byte, "");
      const status = await page.$eval("#status", (node) => node.textContent);
      assert.equal(status, "0 converted, 3 failed");
    });

    await check("a large document shows how far it is while it converts, and converts as the command line does", async () => {
      const large = path.join(inputs, "large.rtf");
      const sample = fs.readFileSync(path.join(kSource, "samples", "sample-v7.rtf"), "latin1");
      const header = sample.slice(0, sample.indexOf("\\viewkind4"));
      fs.writeFileSync(large, header + "\\f0 adbnjw Ft\\'c2 \\'f5ng. \\'bdoI\\'b3 uIcj\\'bfo\\'b2.\\par\n".repeat(200000) + "}",
        "latin1");
      await clearResults(page);
      await choose(page, { to: "unicode" });
      // Each value the bar shows, as the page's thread draws it: values
      // between 0 and 1 mean the page went on answering while the worker
      // converted.
      await page.evaluate(() => {
        window.shown = [];
        new MutationObserver((changes) => {
          for (const change of changes) {
            if (change.target.localName === "progress" && change.target.hasAttribute("value")) {
              window.shown.push(change.target.value);
            }
          }
        }).observe(document.getElementById("results"), { subtree: true, attributes: true, attributeFilter: ["value"] });
      });
      await pick(page, [large]);
      await settled(page, 1);
      const shown = await page.evaluate(() => window.shown);
      assert.ok(shown.some((value) => value > 0 && value < 1), `the bar moved: ${shown.length} values`);
      await downloads.into(path.join(scratch, "downloads", "large"));
      const { bytes } = await downloads.take(() => page.click("#results .download"));
      assert.ok(bytes.equals(cliResult(large, path.join(expected, "large.html"), { to: "unicode" })));
    });

    await check("the page asked for nothing but its own files", async () => {
      assert.ok(requested.length > 0 && served.length > 0);
      const foreign = requested.filter((url) => !url.startsWith(`${origin}/`) && !url.startsWith("blob:") &&
        !url.startsWith("data:"));
      assert.deepEqual(foreign, []);
      // The worker's requests reach the server too: the module came from it.
      assert.ok(served.includes("/maravelundi.wasm"), `served: ${served}`);
      assert.deepEqual(pageErrors, []);
      const privacy = await page.$eval("#privacy", (node) => node.textContent);
      assert.match(privacy, /nothing is sent anywhere/);
    });
  } finally {
    await browser.close();
    server.close();
    fs.rmSync(scratch, { recursive: true, force: true });
  }
  console.log(`${passed} passed, 0 failed`);
}

main().catch((error) => {
  console.error(error);
  console.log(`${passed} passed, 1 failed`);
  process.exit(1);
});

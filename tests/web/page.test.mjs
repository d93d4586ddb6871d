// The page in a real browser: Debian's chromium, headless, driven through
// puppeteer-core. Documents are picked and dropped as a user would, every
// result is fetched through the page's own download links, and each must be
// byte for byte what maravelundi-cli writes for the same document and the
// output the page made of it (for each kind of document, only what the page
// can make of it, its own format by default). Every row ends "Done" or with
// a message in everyday words, the command line's own behind "Details";
// every download has a name of its own. The text box converts both ways as
// the command line's --from text does. The page must ask for nothing but
// its own files, give every result in its zip of all, work offline once
// visited, have no accessibility fault axe-core finds, and fit a phone's
// 360 pixels.
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

// An Excel workbook with a cell whose style's font is ML-TTKarthika.
function workbook() {
  const main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
  const relationships = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
  const packageRelationships = "http://schemas.openxmlformats.org/package/2006/relationships";
  return zipSync({
    "[Content_Types].xml": strToU8(kDeclaration +
      '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">' +
      '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>' +
      '<Default Extension="xml" ContentType="application/xml"/>' +
      '<Override PartName="/xl/workbook.xml" ' +
      'ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/></Types>'),
    "_rels/.rels": strToU8(`${kDeclaration}<Relationships xmlns="${packageRelationships}">` +
      `<Relationship Id="rId1" Type="${relationships}/officeDocument" Target="xl/workbook.xml"/></Relationships>`),
    "xl/workbook.xml": strToU8(`${kDeclaration}<workbook xmlns="${main}" xmlns:r="${relationships}">` +
      '<sheets><sheet name="Register" sheetId="1" r:id="rId1"/></sheets></workbook>'),
    "xl/_rels/workbook.xml.rels": strToU8(`${kDeclaration}<Relationships xmlns="${packageRelationships}">` +
      `<Relationship Id="rId1" Type="${relationships}/worksheet" Target="worksheets/sheet1.xml"/>` +
      `<Relationship Id="rId2" Type="${relationships}/styles" Target="styles.xml"/>` +
      `<Relationship Id="rId3" Type="${relationships}/sharedStrings" Target="sharedStrings.xml"/></Relationships>`),
    "xl/styles.xml": strToU8(`${kDeclaration}<styleSheet xmlns="${main}"><fonts count="2">` +
      '<font><sz val="11"/><name val="Calibri"/></font><font><sz val="14"/><name val="ML-TTKarthika"/></font>' +
      '</fonts><cellXfs count="2"><xf numFmtId="0" fontId="0"/><xf numFmtId="0" fontId="1" applyFont="1"/>' +
      "</cellXfs></styleSheet>"),
    "xl/sharedStrings.xml": strToU8(`${kDeclaration}<sst xmlns="${main}" count="2" uniqueCount="2">` +
      "<si><t>tIcfw</t></si><si><t>Total</t></si></sst>"),
    "xl/worksheets/sheet1.xml": strToU8(`${kDeclaration}<worksheet xmlns="${main}"><sheetData><row r="1">` +
      '<c r="A1" s="1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c></row></sheetData></worksheet>'),
  }, { level: 9, mtime: new Date(2001, 1, 3, 4, 5, 6) });
}

// An OpenDocument text, spreadsheet or presentation with rc1 text through
// an automatic style.
const kOdfKinds = {
  text: { mimetype: "application/vnd.oasis.opendocument.text", body: (p) => `<office:text>${p}</office:text>` },
  spreadsheet: { mimetype: "application/vnd.oasis.opendocument.spreadsheet",
    body: (p) => '<office:spreadsheet><table:table table:name="Sheet1"><table:table-row>' +
      `<table:table-cell office:value-type="string">${p}</table:table-cell></table:table-row></table:table>` +
      "</office:spreadsheet>" },
  presentation: { mimetype: "application/vnd.oasis.opendocument.presentation",
    body: (p) => '<office:presentation><draw:page draw:name="page1"><draw:frame svg:width="10cm" svg:height="2cm">' +
      `<draw:text-box>${p}</draw:text-box></draw:frame></draw:page></office:presentation>` },
};

function openDocument(kind = "text") {
  const { mimetype, body } = kOdfKinds[kind];
  const namespaces = 'xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" ' +
    'xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" ' +
    'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" ' +
    'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" ' +
    'xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0" ' +
    'xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0" office:version="1.3"';
  const faces = '<office:font-face-decls><style:font-face style:name="rc1" svg:font-family="rc1"/></office:font-face-decls>';
  const paragraph = '<text:p>Malayalam: <text:span text:style-name="T1">ae hfn</text:span></text:p>';
  return zipSync({
    mimetype: [strToU8(mimetype), { level: 0 }],
    "content.xml": strToU8(`${kDeclaration}<office:document-content ${namespaces}>${faces}` +
      '<office:automatic-styles><style:style style:name="T1" style:family="text">' +
      '<style:text-properties style:font-name="rc1"/></style:style></office:automatic-styles>' +
      `<office:body>${body(paragraph)}</office:body></office:document-content>`),
    "styles.xml": strToU8(`${kDeclaration}<office:document-styles ${namespaces}>${faces}</office:document-styles>`),
    "META-INF/manifest.xml": strToU8(kDeclaration +
      '<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" manifest:version="1.3">' +
      `<manifest:file-entry manifest:full-path="/" manifest:media-type="${mimetype}"/>` +
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

// What the command line says of a file it cannot convert, named as the page names it.
function cliFailure(input, to) {
  const run = spawnSync(kCli, ["--to", to, "-o", path.join(path.dirname(input), "never"), input], { encoding: "utf8" });
  assert.equal(run.status, 1, `the command line refuses ${input}`);
  return run.stderr.trim().replace(`maravelundi-cli: ${input}`, path.basename(input));
}

// Pasted text as `maravelundi-cli --from text` converts it: to Unicode in
// `font` (auto: found), or back to the legacy font `legacyFont`.
function cliText(scratch, text, { to, font = "auto", legacyFont = "ML-TTKarthika" }) {
  const input = path.join(scratch, "pasted.txt");
  const output = path.join(scratch, "pasted-out.txt");
  fs.writeFileSync(input, text);
  execFileSync(kCli, ["--from", "text", "--to", to, "--font", font, "--legacy-font", legacyFont, "-o", output, input],
    { stdio: "pipe" });
  return fs.readFileSync(output);
}

// ---- the page's server, which notes every request ----------------------
// (Browser.mjs: serve, launch, settled, pick)

// ---- the browser -------------------------------------------------------

// Downloads land in a folder of the test's; each resolves when the browser
// says it is complete.
// The promise, or a failure saying what never came, after the safety net's
// limit: a download that never begins must fail the check, not hang it.
function within(promise, what) {
  let timer;
  const limit = new Promise((_, reject) => {
    timer = setTimeout(() => reject(new Error(`${what}: nothing within ${kWaitLimit / 1000} s`)), kWaitLimit);
  });
  return Promise.race([promise, limit]).finally(() => clearTimeout(timer));
}

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
    const guid = await within(begun, "a download to begin");
    if (!this.done.has(guid)) {
      await within(new Promise((resolve) => this.waiting.set(guid, resolve)), `the download of ${this.names.get(guid)}`);
    }
    assert.equal(this.done.get(guid), "completed", `the download of ${this.names.get(guid)}`);
    const name = this.names.get(guid);
    return { name, bytes: fs.readFileSync(path.join(this.folder, name)) };
  }
}

// Sets the options as a user would, which converts the held documents again.
async function choose(page, { to = "same", fonts = "auto", spelling = "" }) {
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
  return page.$$eval("#results li", (rows) => rows.map((row) => {
    const shown = (selector) => (row.querySelector(selector).hidden ? "" : row.querySelector(selector).textContent);
    const failed = !row.querySelector(".failure").hidden;
    return {
      source: row.querySelector(".source").textContent,
      stage: row.querySelector(".stage").textContent,
      kind: row.dataset.kind ?? "",
      choice: row.querySelector(".choice").hidden ? "" : row.querySelector(".row-to").value,
      offered: [...row.querySelectorAll(".row-to option")].map((option) => option.value),
      note: shown(".note"),
      message: failed ? row.querySelector(".message").textContent : "",
      detail: failed ? row.querySelector(".detail").textContent : "",
      download: row.querySelector(".download").hidden ? "" : row.querySelector(".download").download,
      preview: row.querySelector(".preview").hidden ? "" : row.querySelector(".preview .text").textContent,
      failure: row.dataset.failure ?? "",
      part: row.dataset.part ?? "",
      byte: row.dataset.byte ?? "",
    };
  }));
}

// The parts of a zip archive in their order, each as its bytes.
function partsOf(zip) {
  return Object.entries(unzipSync(new Uint8Array(zip))).map(([name, bytes]) => [name, Buffer.from(bytes)]);
}

// The kind of a test document, by the name it was given.
function kindOf(file) {
  const extension = path.extname(file).slice(1);
  return extension === "txt" ? "text" : extension;
}

// What a download is called: the document's name, what the result is, and
// the extension of the format the command line writes for that output.
const kSuffixes = { same: "-unicode", docx: "-unicode", odt: "-unicode", rtf: "-unicode", html5: "-unicode",
  text: "-unicode", unicode: "-unicode-simple", mltt: "-mltt", ism: "-mltt-marked", legacy: "-legacy" };
function extensionMade(kind, to) {
  if (to === "html5" || to === "unicode") return ".html";
  if (to === "text") return ".txt";
  if (["ism", "mltt"].includes(to)) return kind === "text" ? ".rtf" : `.${kind}`;
  return `.${to}`;
}

// Types (pastes) into the text box as a user would, and waits for the
// result of what was typed.
async function typeText(page, { direction, font, input }) {
  await page.click(`input[name="direction"][value="${direction}"]`);
  await page.select("#text-font", font);
  await page.$eval("#text-in", (box, text) => {
    box.value = text;
    box.dispatchEvent(new InputEvent("input", { bubbles: true, inputType: "insertFromPaste" }));
  }, input);
  await page.waitForSelector("#text-out[data-pending='0']", { timeout: kWaitLimit });
  return page.$eval("#text-out", (out) => out.textContent);
}

// Every accessibility fault axe-core finds on the page as it is now.
async function accessibilityFaults(page, axeSource) {
  await page.evaluate(axeSource);
  const result = await page.evaluate(() => window.axe.run(document));
  return result.violations.map((fault) => `${fault.id}: ${fault.nodes.map((node) => node.target).join(", ")}`);
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
    const samples = fs.readdirSync(path.join(kSource, "samples")).filter((name) => name.endsWith(".rtf")).sort()
      .map((name) => {
        fs.copyFileSync(path.join(kSource, "samples", name), path.join(inputs, name));
        return path.join(inputs, name);
      });
    const docx = path.join(inputs, "letter.docx");
    const odt = path.join(inputs, "notes.odt");
    const ods = path.join(inputs, "marks.ods");
    const odp = path.join(inputs, "talk.odp");
    const xlsx = path.join(inputs, "register.xlsx");
    fs.writeFileSync(docx, wordDocument());
    fs.writeFileSync(xlsx, workbook());
    fs.writeFileSync(odt, openDocument("text"));
    fs.writeFileSync(ods, openDocument("spreadsheet"));
    fs.writeFileSync(odp, openDocument("presentation"));
    const unicodeText = fs.readFileSync(path.join(kSource, "samples", "sample-mltt.txt"), "utf8");
    const legacyText = cliText(scratch, unicodeText, { to: "legacy" }).toString("utf8");
    const txt = path.join(inputs, "pasted.txt");
    fs.writeFileSync(txt, legacyText);
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

    // Each choice of output, picked and dropped by turns, on the kinds of
    // document it is made of and on some it is not: those are made into
    // their own format, with a note, and never fail. `cli` is the --to the
    // command line is given for each kind.
    const cases = [
      { options: {}, files: [...samples, docx, odt, xlsx, ods, odp, txt],
        cli: { rtf: "rtf", docx: "docx", odt: "odt", xlsx: "xlsx", ods: "ods", odp: "odp", text: "text" } },
      { options: { to: "html5" }, files: [...samples, docx, txt, ods, xlsx],
        cli: { rtf: "html5", docx: "html5", text: "html5", ods: "ods", xlsx: "xlsx" }, notes: ["ods", "xlsx"] },
      { options: { to: "text", spelling: "modern" }, files: [...samples, odt, odp],
        cli: { rtf: "text", odt: "text", odp: "odp" }, notes: ["odp"] },
      { options: { to: "unicode" }, files: [...samples, docx], cli: { rtf: "unicode", docx: "unicode" } },
      { options: { to: "rtf", spelling: "legacy" }, files: [...samples, txt, docx],
        cli: { rtf: "rtf", text: "rtf", docx: "docx" }, notes: ["docx"] },
      { options: { to: "ism", fonts: "7" }, files: [...samples, docx, odp], cli: { rtf: "ism", docx: "ism", odp: "ism" } },
      { options: { to: "mltt", fonts: "2" }, files: [...samples, ods, xlsx, txt],
        cli: { rtf: "mltt", ods: "mltt", xlsx: "mltt", text: "mltt" } },
      { options: { to: "docx", spelling: "modern" }, files: [docx, txt, samples[0], ods],
        cli: { docx: "docx", text: "docx", rtf: "rtf", ods: "ods" }, notes: ["rtf", "ods"] },
      { options: { to: "odt" }, files: [odt, docx], cli: { odt: "odt", docx: "docx" }, notes: ["docx"] },
    ];
    let caseNumber = 0;
    for (const { options, files, cli, notes = [] } of cases) {
      const label = Object.entries(options).map(([key, value]) => `${key} ${value}`).join(", ") || "the default";
      await check(`${label}: each document is made into what the page can make of it, as the command line makes it`,
        async () => {
          await clearResults(page);
          await choose(page, options);
          if (caseNumber % 2 === 0) await pick(page, files);
          else await dropOn(page, files);
          await settled(page, files.length);
          const rows = await rowsOf(page);
          await downloads.into(path.join(scratch, "downloads", String(caseNumber)));
          const links = await page.$$("#results .download");
          const names = new Set();
          for (let i = 0; i < files.length; ++i) {
            const source = path.basename(files[i]);
            const kind = kindOf(files[i]);
            const row = rows[i];
            assert.equal(row.kind, kind, `${source}: its kind`);
            assert.equal(row.stage, "Done", `${source}: the row ends done`);
            assert.equal(row.message, "", `${source}: no message`);
            // An output the page does not make of this kind is not offered,
            // and the note says what was made instead.
            const asked = options.to ?? "same";
            const fellBack = notes.includes(kind);
            assert.equal(row.offered.includes(asked), !fellBack, `${source}: ${asked} offered: ${row.offered}`);
            assert.equal(row.choice, fellBack ? "same" : asked);
            if (fellBack) assert.match(row.note, /is not made of .* here: .* It is made into "Unicode, in the same format/);
            else assert.equal(row.note, "", `${source}: no note`);
            const { name, bytes } = await downloads.take(() => links[i].click());
            const wantedName = `${path.basename(source, path.extname(source))}${kSuffixes[row.choice]}` +
              extensionMade(kind, cli[kind]);
            assert.equal(name, wantedName, `${source}: the download's name`);
            assert.ok(!names.has(name), `${name} is one result's only`);
            names.add(name);
            const wanted = cliResult(files[i], path.join(expected, `${caseNumber}-${name}`), { ...options, to: cli[kind] });
            assert.ok(bytes.equals(wanted), `${label} ${source}: the page's ${name} differs from the command line's`);
            if (!["xlsx", "ods", "odp"].includes(kind)) assert.notEqual(row.preview, "", `${source}: a preview`);
          }
        });
      ++caseNumber;
    }

    await check("a document's own choice converts it alone, and no two results share a name", async () => {
      await clearResults(page);
      await choose(page, { to: "html5" });
      // letter.docx, letter.rtf and another letter.docx: three results of one name.
      const again = path.join(inputs, "again");
      fs.mkdirSync(again);
      const twin = path.join(again, "letter.docx");
      fs.copyFileSync(docx, twin);
      const rtf = path.join(inputs, "letter.rtf");
      fs.copyFileSync(samples[0], rtf);
      await pick(page, [docx, rtf, twin]);
      await settled(page, 3);
      let rows = await rowsOf(page);
      assert.deepEqual(rows.map((row) => row.download),
        ["letter-unicode.html", "letter-rtf-unicode.html", "letter-docx-unicode.html"]);
      // The first one as its own kind again, and as ML-TT: Unicode and ML-TT
      // results of one document differ in name; the others keep theirs.
      const select = (await page.$$("#results .row-to"))[0];
      await select.select("same");
      await settled(page, 3);
      rows = await rowsOf(page);
      assert.deepEqual(rows.map((row) => row.download),
        ["letter-unicode.docx", "letter-rtf-unicode.html", "letter-docx-unicode.html"]);
      await select.select("mltt");
      await settled(page, 3);
      rows = await rowsOf(page);
      assert.deepEqual(rows.map((row) => row.download),
        ["letter-mltt.docx", "letter-rtf-unicode.html", "letter-docx-unicode.html"]);
      await downloads.into(path.join(scratch, "downloads", "own"));
      const { bytes } = await downloads.take(() => page.click("#results .download"));
      assert.ok(bytes.equals(cliResult(docx, path.join(expected, "own-mltt.docx"), { to: "mltt" })));
    });

    await check("the zip of all holds every result under its name", async () => {
      await clearResults(page);
      await choose(page, { to: "text" });
      const files = [...samples, docx, odt];
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
        assert.ok(parts.get(`${stem}-unicode.txt`)?.equals(wanted), `${stem}-unicode.txt in the zip`);
      }
    });

    await check("the preview is the Unicode text, in the page's own Malayalam font", async () => {
      await clearResults(page);
      await pick(page, [docx]);
      await settled(page, 1);
      const [row] = await rowsOf(page);
      const text = cliResult(docx, path.join(expected, "preview.txt"), { to: "text" }).toString("utf8");
      assert.equal(row.preview, text);
      const font = await page.$eval("#results .preview .text", (node) => getComputedStyle(node).fontFamily);
      assert.match(font, /^"Manjari \(page\)"/);
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

    await check("a file the page cannot convert says why in everyday words, the command line's words in its details", async () => {
      const broken = path.join(inputs, "broken.rtf");
      fs.writeFileSync(broken, "{\\rtf1 an unfinished group");
      const garbage = path.join(inputs, "report.docx");
      fs.writeFileSync(garbage, "this was never a zip archive");
      const old = path.join(inputs, "minutes.doc");
      fs.writeFileSync(old, Buffer.concat([Buffer.from("d0cf11e0a1b11ae1", "hex"), Buffer.alloc(504)]));
      const pdf = path.join(inputs, "scan.pdf");
      fs.writeFileSync(pdf, "%PDF-1.4\n% not much of a PDF\n");
      const unknown = path.join(inputs, "list.dat");
      fs.writeFileSync(unknown, "eggs, milk, bread");
      const failing = [
        { file: broken, code: "damaged-document", message: /^This file is not a Rich Text document, or it is damaged\. Open it/,
          detail: cliFailure(broken, "rtf") },
        { file: garbage, code: "not-a-document", message: /^This file is not a Word document, or it is damaged\./,
          detail: cliFailure(garbage, "docx") },
        { file: old, code: "needs-libreoffice", kind: "foreign:doc",
          message: /^This page cannot open Word 97-2003 \(\.doc\) files\. .*"Save as" and "Word document \(\.docx\)"/ },
        { file: pdf, code: "no-such-conversion", kind: "pdf", message: /^This page cannot read PDF files\./ },
        { file: unknown, code: "not-a-document", kind: "unknown", message: /^This is not a kind of file this page knows\./,
          detail: cliFailure(unknown, "unicode") },
      ];
      await clearResults(page);
      await pick(page, [samples[0], ...failing.map(({ file }) => file)]);
      await settled(page, failing.length + 1);
      const [good, ...rows] = await rowsOf(page);
      assert.equal(good.stage, "Done");
      assert.equal(good.failure, "");
      failing.forEach(({ file, code, kind, message, detail }, i) => {
        const row = rows[i];
        const name = path.basename(file);
        assert.equal(row.stage, "Not converted", name);
        assert.equal(row.failure, code, name);
        if (kind) assert.equal(row.kind, kind, name);
        assert.match(row.message, message, name);
        assert.doesNotMatch(row.message, /\(at byte|zip archive|\{\\rtf/, `${name}: no technical words`);
        // The command line's own words, behind "Details".
        assert.match(row.detail, new RegExp(`^${name}: `));
        if (detail) assert.equal(row.detail, detail, name);
        assert.equal(row.download, "", name);
        // A kind the page does not convert has no outputs to offer.
        if (kind) assert.equal(row.choice, "", `${name}: no outputs offered`);
      });
      assert.equal(rows[0].byte, rows[0].detail.match(/\(at byte (\d+)\)$/)?.[1]);
      const status = await page.$eval("#status", (node) => node.textContent);
      assert.equal(status, `1 done, ${failing.length} could not be converted`);
    });

    await check("a large document shows how far it is while it converts, and ends done", async () => {
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
      assert.equal(shown.at(-1), 1, "the bar ends full");
      const [row] = await rowsOf(page);
      assert.equal(row.stage, "Done");
      await downloads.into(path.join(scratch, "downloads", "large"));
      const { bytes } = await downloads.take(() => page.click("#results .download"));
      assert.ok(bytes.equals(cliResult(large, path.join(expected, "large.html"), { to: "unicode" })));
    });

    await check("the text box converts both ways as the command line's --from text does, byte for byte", async () => {
      await clearResults(page);
      await page.waitForSelector("#text-box[data-ready=true]", { timeout: kWaitLimit });
      const nandini = cliText(scratch, unicodeText, { to: "legacy", legacyFont: "ML-Nandini" }).toString("utf8");
      const textCases = [
        { direction: "text", font: "auto", input: legacyText },
        { direction: "text", font: "auto", input: nandini },
        { direction: "text", font: "ML-TTKarthika", input: legacyText },
        { direction: "text", font: "auto", input: unicodeText },
        { direction: "legacy", font: "ML-TTKarthika", input: unicodeText },
        { direction: "legacy", font: "ML-Nandini", input: unicodeText },
        // A large paste: the worker converts it, the box shows all of it.
        { direction: "text", font: "auto", input: legacyText.repeat(2000) },
      ];
      for (const { direction, font, input } of textCases) {
        const shown = await typeText(page, { direction, font, input });
        const options = direction === "legacy" ? { to: "legacy", legacyFont: font } : { to: "text", font };
        const wanted = cliText(scratch, input, options);
        assert.ok(Buffer.from(shown, "utf8").equals(wanted), `${direction} in ${font}: the box's result is the command line's`);
        const found = await page.$eval("#text-found", (node) => node.textContent);
        if (direction === "text" && font === "auto") {
          // The font named is the one the command line says it found.
          const run = spawnSync(kCli, ["--verbose", "--from", "text", "-o", path.join(scratch, "found.txt"),
            path.join(scratch, "pasted.txt")], { encoding: "utf8" });
          const cliFound = run.stderr.match(/: font (\S+) \(/)?.[1];
          if (cliFound) assert.match(found, new RegExp(`^Found the font ${cliFound} \\(\\d+% sure\\)`));
          else assert.match(found, /Unicode Malayalam already/);
        }
      }
      // The copy button puts the result on the clipboard.
      await browser.defaultBrowserContext().overridePermissions(origin, ["clipboard-read", "clipboard-sanitized-write"]);
      const shown = await typeText(page, { direction: "text", font: "auto", input: legacyText });
      await page.click("#text-copy");
      await page.waitForFunction(() => document.getElementById("text-copied").textContent !== "", { polling: "mutation" });
      assert.equal(await page.evaluate(() => navigator.clipboard.readText()), shown);
    });

    await check("every control is reached and worked by keyboard, and axe-core finds no accessibility fault", async () => {
      await clearResults(page);
      // The drop zone's button, pressed with Enter, asks the file input to
      // open the file chooser (the dialog itself is the browser's, kept
      // closed here: whether it opens then depends on the browser's timing).
      await page.$eval("#pick", (input) => input.addEventListener("click", (event) => {
        event.preventDefault();
        document.body.dataset.chooser = "asked";
      }, { once: true }));
      await page.focus("#choose");
      await page.keyboard.press("Enter");
      await page.waitForSelector("body[data-chooser=asked]", { timeout: kWaitLimit });
      await pick(page, [samples[0], path.join(inputs, "broken.rtf"), ods]);
      await settled(page, 3);
      await choose(page, { to: "html5" });
      await settled(page, 3);
      await typeText(page, { direction: "text", font: "auto", input: legacyText });
      await page.$$eval("details", (all) => all.forEach((details) => { details.open = true; }));
      const axeSource = fs.readFileSync(require.resolve("axe-core/axe.min.js"), "utf8");
      assert.deepEqual(await accessibilityFaults(page, axeSource), []);
      // Progress is announced: the status line is a live region, and says what happened.
      const status = await page.$eval("#status", (node) => [node.getAttribute("role"), node.getAttribute("aria-live"), node.textContent]);
      assert.deepEqual(status, ["status", "polite", "2 done, 1 could not be converted"]);
    });

    await check("at a phone's 360 pixels the page needs no sideways scrolling", async () => {
      await page.setViewport({ width: 360, height: 740 });
      await clearResults(page);
      await pick(page, [samples[0], path.join(inputs, "broken.rtf"), ods, docx]);
      await settled(page, 4);
      await typeText(page, { direction: "text", font: "auto", input: legacyText });
      await page.$$eval("details", (all) => all.forEach((details) => { details.open = true; }));
      const widths = await page.evaluate(() => ({ scroll: document.documentElement.scrollWidth, inner: window.innerWidth }));
      assert.ok(widths.scroll <= widths.inner, `${widths.scroll} px wide in ${widths.inner}`);
      await page.screenshot({ path: path.join(scratch, "phone.png"), fullPage: true });
      await page.setViewport({ width: 1100, height: 900 });
    });

    await check("the page asked for nothing but its own files", async () => {
      assert.ok(requested.length > 0 && served.length > 0);
      const foreign = requested.filter((url) => !url.startsWith(`${origin}/`) && !url.startsWith("blob:") &&
        !url.startsWith("data:"));
      assert.deepEqual(foreign, []);
      // The worker's requests reach the server too: the module came from it.
      assert.ok(served.includes("/maravelundi.wasm"), `served: ${served}`);
      // No file the page asks for is missing: the icons are there too.
      assert.ok(served.includes("/favicon.ico") && served.includes("/icon.svg"), `served: ${served}`);
      assert.deepEqual(pageErrors, []);
    });

    await check("once visited, the page opens and converts with no network, its font with it", async () => {
      await page.waitForSelector("body[data-offline=ready]", { timeout: kWaitLimit });
      // No network at all: the browser offline, and the server gone.
      await page.setOfflineMode(true);
      server.closeAllConnections();
      await new Promise((resolve) => server.close(resolve));
      await page.reload({ waitUntil: "load" });
      await page.waitForSelector("body[data-ready=true]", { timeout: kWaitLimit });
      const sample = path.join(inputs, "sample-v7.rtf");
      await pick(page, [sample]);
      await settled(page, 1);
      const [row] = await rowsOf(page);
      assert.equal(row.stage, "Done");
      await downloads.into(path.join(scratch, "downloads", "offline"));
      const { name, bytes } = await downloads.take(() => page.click("#results .download"));
      assert.equal(name, "sample-v7-unicode.rtf");
      assert.ok(bytes.equals(cliResult(sample, path.join(expected, "offline.rtf"), { to: "rtf" })));
      // Loaded with the page, not when first shown: the page says it is
      // ready once the converter and the font are.
      await page.waitForSelector("body[data-loaded=true]", { timeout: kWaitLimit });
      assert.equal(await page.$eval("#readiness", (node) => node.textContent),
        "Ready. From now on this page needs no network.");
      const faces = await page.evaluate(() => [...document.fonts].map((face) => [face.family.replaceAll('"', ""), face.status]));
      assert.deepEqual(faces.filter(([family]) => family === "Manjari (page)"), [["Manjari (page)", "loaded"]]);
      const privacy = await page.$eval("#privacy", (node) => node.textContent.replace(/\s+/g, " "));
      assert.match(privacy, /never leave this computer/);
      assert.match(privacy, /Once the page has loaded it needs no network/);
      assert.deepEqual(pageErrors, []);
    });
  } finally {
    await browser.close();
    if (server.listening) server.close();
    fs.rmSync(scratch, { recursive: true, force: true });
  }
  console.log(`${passed} passed, 0 failed`);
}

main().catch((error) => {
  console.error(error);
  console.log(`${passed} passed, 1 failed`);
  process.exit(1);
});

// The page: takes documents dropped or picked, has the worker convert each
// into what this page can make of it, and offers every result as a download,
// all of them as one zip, and a preview of the Unicode text; and a text box
// that converts pasted text either way as it is typed. Nothing is sent
// anywhere: the documents are read, converted and handed back inside the
// browser.
import { zipSync } from "./fflate.js";

const kStageNames = ["Converting the old-font text", "Writing the result"];
const kMediaTypes = {
  ".docx": "application/vnd.openxmlformats-officedocument.wordprocessingml.document",
  ".odt": "application/vnd.oasis.opendocument.text",
  ".xlsx": "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet",
  ".ods": "application/vnd.oasis.opendocument.spreadsheet",
  ".pptx": "application/vnd.openxmlformats-officedocument.presentationml.presentation",
  ".odp": "application/vnd.oasis.opendocument.presentation",
  ".rtf": "application/rtf",
  ".html": "text/html;charset=utf-8",
  ".txt": "text/plain;charset=utf-8",
};
// The preview shows this much of a long document.
const kPreviewCharacters = 20000;
// Text is converted once typing pauses this long, not at every key.
const kTypingPause = 150;

// What each output the page offers is called in maravelundi-cli's --to, for
// each kind of document it can be made of. What a kind lacks is not made of
// it on this page: a word processor's document changes format only through
// LibreOffice, which the page does not have, and a spreadsheet or a
// presentation has no one text to make a flat file of.
const kFlat = { html5: "html5", unicode: "unicode", text: "text" };
const kLegacy = { mltt: "mltt", ism: "ism", legacy: "legacy" };
const kMakes = {
  rtf: { same: "rtf", rtf: "rtf", ...kFlat, ...kLegacy },
  docx: { same: "docx", docx: "docx", ...kFlat, ...kLegacy },
  odt: { same: "odt", odt: "odt", ...kFlat, ...kLegacy },
  xlsx: { same: "xlsx", ...kLegacy },
  ods: { same: "ods", ...kLegacy },
  pptx: { same: "pptx", ...kLegacy },
  odp: { same: "odp", ...kLegacy },
  text: { same: "text", docx: "docx", odt: "odt", rtf: "rtf", ...kFlat, ...kLegacy },
};
const kKindWords = {
  rtf: "a Rich Text document", docx: "a Word document", odt: "an OpenDocument text",
  xlsx: "an Excel workbook", ods: "an OpenDocument spreadsheet", pptx: "a PowerPoint presentation",
  odp: "an OpenDocument presentation", text: "plain text",
};
const kWhole = new Set(["xlsx", "ods", "pptx", "odp"]);
// What the download's name says the result is: never the input's own name,
// and never one name for two results of one document.
const kSuffixes = { same: "-unicode", docx: "-unicode", odt: "-unicode", rtf: "-unicode", html5: "-unicode",
  text: "-unicode", unicode: "-unicode-simple", mltt: "-mltt", ism: "-mltt-marked", legacy: "-legacy" };
// The formats only LibreOffice reads, by their extension, as people know them.
const kForeignNames = { doc: "Word 97-2003 (.doc)", dot: "Word 97-2003 template (.dot)", wps: "Works (.wps)",
  wpd: "WordPerfect (.wpd)", xls: "Excel 97-2003 (.xls)", ppt: "PowerPoint 97-2003 (.ppt)" };

const element = (id) => document.getElementById(id);
const labelOf = (choice) => element("to").querySelector(`option[value="${choice}"]`).textContent;
const capital = (words) => words[0].toUpperCase() + words.slice(1);

const worker = new Worker("worker.js");
// In the order given; `finished` once the result or the failure is in.
const documents = [];  // { doc, file, row, job, kind, choice, override, result, finished }
let nextJob = 0;

function extensionOf(name) {
  const dot = name.lastIndexOf(".");
  return dot < 0 ? "" : name.slice(dot).toLowerCase();
}

function stemOf(name) {
  const dot = name.lastIndexOf(".");
  return dot <= 0 ? name : name.slice(0, dot);
}

function showStatus() {
  const done = documents.filter((entry) => entry.finished);
  const failed = done.filter((entry) => entry.result === null).length;
  const converted = done.length - failed;
  const waiting = documents.length - done.length;
  const parts = [`${converted} done`];
  if (failed > 0) parts.push(`${failed} could not be converted`);
  if (waiting > 0) parts.push(`${waiting} to go`);
  element("status").textContent = documents.length === 0 ? "" : parts.join(", ");
  element("status").dataset.pending = String(waiting);
  element("download-all").disabled = waiting > 0 || converted === 0;
}

// Why an output is not offered for a kind of document.
function whyNot(kind, choice) {
  const what = kKindWords[kind];
  if (kWhole.has(kind)) {
    return ["docx", "odt", "rtf"].includes(choice)
      ? `${capital(what)} cannot become a text document; it stays ${what}.`
      : `${capital(what)} has no single text to put in one page or file; it stays ${what}.`;
  }
  return `changing ${what} into another format needs a word processor (open it there and use "Save as"); ` +
    "this page keeps its format.";
}

// The output a document gets: the one chosen for it, else the page's, where
// this page can make it of the document, else its own format in Unicode.
function wanted(entry) {
  return entry.override ?? element("to").value;
}

function convert(entry) {
  entry.job = nextJob++;
  entry.result = undefined;
  entry.finished = false;
  const row = entry.row;
  const link = row.querySelector(".download");
  if (link.href) URL.revokeObjectURL(link.href);
  link.hidden = true;
  link.removeAttribute("href");
  for (const selector of [".preview", ".failure", ".note", ".warnings"]) row.querySelector(selector).hidden = true;
  delete row.dataset.preview;
  row.classList.remove("failed", "done");
  for (const key of ["failure", "part", "byte"]) delete row.dataset[key];
  const bar = row.querySelector("progress");
  bar.removeAttribute("value");  // indeterminate: reading
  row.querySelector(".stage").textContent = "Reading";
  const choice = wanted(entry);
  const to = { other: "unicode" };
  for (const [kind, makes] of Object.entries(kMakes)) to[kind] = makes[choice] ?? makes.same;
  worker.postMessage({ type: "convert", doc: entry.doc, job: entry.job, to, fonts: element("fonts").value,
    spelling: element("spelling").value });
}

function add(files) {
  for (const file of files) {
    const row = element("result-row").content.firstElementChild.cloneNode(true);
    row.querySelector(".source").textContent = file.name;
    row.querySelector("progress").setAttribute("aria-label", `Progress of ${file.name}`);
    row.querySelector(".row-to").addEventListener("change", (event) => {
      entry.override = event.target.value;
      convert(entry);
      showStatus();
    });
    element("results").append(row);
    const entry = { doc: documents.length, file, row, job: -1, kind: "", choice: "", override: null,
      result: undefined, finished: false };
    documents.push(entry);
    // The worker keeps the file and reads it itself: its bytes never pass
    // through this thread.
    worker.postMessage({ type: "document", doc: entry.doc, file });
    convert(entry);
  }
  showStatus();
}

// Once the worker has said what the document is: the outputs this page
// makes of it, and a word where the one asked for is not one of them.
function learnKind(entry, kind) {
  entry.kind = kind;
  const row = entry.row;
  const makes = kMakes[kind];
  row.dataset.kind = kind;
  if (makes === undefined) {
    row.querySelector(".choice").hidden = true;
    return;
  }
  const asked = wanted(entry);
  entry.choice = asked in makes ? asked : "same";
  const select = row.querySelector(".row-to");
  select.replaceChildren(...Object.keys(makes).map((choice) => new Option(labelOf(choice), choice)));
  select.value = entry.choice;
  select.setAttribute("aria-label", `Make of ${entry.file.name}`);
  row.querySelector(".choice").hidden = false;
  const note = row.querySelector(".note");
  note.hidden = asked in makes;
  note.textContent = asked in makes ? "" :
    `"${labelOf(asked)}" is not made of ${kKindWords[kind]} here: ${whyNot(kind, asked)} ` +
    `It is made into "${labelOf("same")}" instead.`;
}

// A download's name: the document's name, what the result is, and its
// extension; where another result has that name, the document's own
// extension too, and a number after that. A result keeps its name while
// others come and go.
function nameFor(entry, made) {
  const taken = new Set(documents.filter((other) => other !== entry && other.result).map((other) => other.result.name));
  const stem = stemOf(entry.file.name);
  const suffix = kSuffixes[entry.choice] ?? "-unicode";
  const extension = extensionOf(made);
  let name = `${stem}${suffix}${extension}`;
  if (taken.has(name)) name = `${stem}-${extensionOf(entry.file.name).slice(1)}${suffix}${extension}`;
  for (let n = 2; taken.has(name); ++n) name = `${stem}${suffix} (${n})${extension}`;
  return name;
}

// The failure in everyday words, what to do about it, for the kind of file
// it is or was named as.
function plainMessage(entry, failure) {
  const kind = entry.kind;
  const extension = extensionOf(entry.file.name).slice(1);
  if (kind === "pdf") {
    return "This page cannot read PDF files. Reading one needs the font of every piece of its text, which only " +
      "the Maravelundi program on a computer finds (with a PDF library this page does not have). Use the " +
      "program, or convert the document the PDF was made from (Word, OpenDocument or Rich Text) here instead.";
  }
  if (kind.startsWith("foreign:") || failure.code === "needs-libreoffice") {
    const format = kForeignNames[kind.slice("foreign:".length)] ?? kForeignNames[extension];
    return `This page cannot open ${format ? `${format} files` : "files of this kind"}. Open it in your word ` +
      `processor, choose "Save as" and "Word document (.docx)", then drop the new file here.`;
  }
  const named = { docx: "a Word document", odt: "an OpenDocument text", rtf: "a Rich Text document",
    xlsx: "an Excel workbook", ods: "an OpenDocument spreadsheet", pptx: "a PowerPoint presentation",
    odp: "an OpenDocument presentation" }[extension];
  switch (failure.code) {
    case "not-a-document":
    case "damaged-document":
      if (named) {
        return `This file is not ${named}, or it is damaged. Open it in the program it was made with, save it ` +
          "again, and drop the saved file here.";
      }
      return failure.code === "damaged-document"
        ? "This file is damaged: it cannot be read to its end. Open it in the program it was made with, save " +
          "it again, and drop the saved file here."
        : "This is not a kind of file this page knows. It takes Word (.docx), OpenDocument (.odt), Rich Text " +
          "(.rtf), spreadsheets (.xlsx, .ods), presentations (.pptx, .odp) and plain text (.txt).";
    case "encrypted":
      return "This file is protected by a password. Open it, remove the password, save it, and drop it here again.";
    case "package-fault":
      return "This file is made in a way the page refuses, to keep your computer safe (for example, it unpacks " +
        "to far more than its size). Open it in the program it was made with, save it again, and try once more.";
    case "too-large":
    case "out-of-memory":
      return "This file is too large for the browser. Close other tabs and try again, or use the Maravelundi " +
        "program on a computer.";
    case "unreadable-input":
      return "The browser could not read this file. If it is on a USB stick or in a network folder, copy it to " +
        "the computer first and drop the copy.";
    default:
      return "Something went wrong while converting this file. The details say what; the Maravelundi program " +
        "on a computer may convert it.";
  }
}

function fail(entry, data) {
  const row = entry.row;
  entry.result = null;
  entry.finished = true;
  row.classList.add("failed");
  // What kind of failure and where, as the converter says it.
  row.dataset.failure = data.failure.code;
  if (data.failure.part !== "") row.dataset.part = data.failure.part;
  if (data.failure.byte !== null) row.dataset.byte = String(data.failure.byte);
  row.querySelector("progress").value = 0;
  row.querySelector(".stage").textContent = "Not converted";
  row.querySelector(".message").textContent = plainMessage(entry, data.failure);
  row.querySelector(".detail").textContent = data.message;
  row.querySelector(".failure").hidden = false;
  if (kMakes[entry.kind] === undefined) row.querySelector(".choice").hidden = true;
  showWarnings(entry, data.warnings);
}

function showWarnings(entry, warnings) {
  entry.row.querySelector(".warnings-text").textContent = warnings;
  entry.row.querySelector(".warnings").hidden = warnings === "";
}

function finish(entry, data) {
  const row = entry.row;
  entry.result = { name: nameFor(entry, data.name), blob: data.blob };
  entry.finished = true;  // the download is ready; the preview follows
  row.classList.add("done");
  row.querySelector("progress").value = 1;
  row.querySelector(".stage").textContent = "Done";
  showWarnings(entry, data.warnings);
  // The worker's Blob, of the type the browser saves it as.
  const blob = data.blob.slice(0, data.blob.size, kMediaTypes[extensionOf(data.name)] ?? "application/octet-stream");
  const link = row.querySelector(".download");
  link.href = URL.createObjectURL(blob);
  link.download = entry.result.name;
  link.textContent = `Download ${entry.result.name}`;
  link.hidden = false;
}

function showPreview(entry, text) {
  entry.row.dataset.preview = text === null ? "none" : "shown";
  if (text === null) return;
  const preview = entry.row.querySelector(".preview");
  preview.querySelector(".text").textContent =
    text.length > kPreviewCharacters ? text.slice(0, kPreviewCharacters) + "\n…" : text;
  preview.hidden = false;
}

worker.onmessage = (event) => {
  const data = event.data;
  if (data.type === "fonts") {
    fillFonts(data.list);
    return;
  }
  if (data.type === "text") {
    showText(data);
    return;
  }
  const entry = documents.find((candidate) => candidate.job === data.job);
  if (entry === undefined) return;  // a conversion with options since changed
  switch (data.type) {
    case "kind":
      learnKind(entry, data.kind);
      break;
    case "progress":
      if (entry.result !== undefined) break;
      entry.row.querySelector("progress").value = data.total > 0 ? data.done / data.total : 0;
      entry.row.querySelector(".stage").textContent = kStageNames[data.stage] ?? "";
      break;
    case "result":
      finish(entry, data);
      break;
    case "preview":
      showPreview(entry, data.text);
      break;
    case "error":
      fail(entry, data);
      break;
  }
  showStatus();
};

async function downloadAll() {
  const files = {};
  for (const entry of documents) {
    if (entry.result) files[entry.result.name] = new Uint8Array(await entry.result.blob.arrayBuffer());
  }
  const zip = zipSync(files, { level: 6 });
  const link = document.createElement("a");
  link.href = URL.createObjectURL(new Blob([zip], { type: "application/zip" }));
  link.download = "maravelundi-converted.zip";
  document.body.append(link);
  link.click();
  link.remove();
}

// ---- the text box ------------------------------------------------------

let fonts = [];   // { name, encoding, written }
let textJob = 0;  // the latest text asked for; older answers are dropped
let typing = null;
let resultText = "";

function direction() {
  return document.querySelector('input[name="direction"]:checked').value;
}

// The page has loaded once the converter and the font have: from then on
// it needs no network, and says so.
let converterLoaded = false;
let fontLoaded = false;
function showReadiness() {
  if (!converterLoaded || !fontLoaded) return;
  element("readiness").textContent = "Ready. From now on this page needs no network.";
  document.body.dataset.loaded = "true";
}

function fillFonts(list) {
  converterLoaded = true;
  showReadiness();
  fonts = list.trim().split("\n").map((line) => {
    const [name, encoding, written] = line.split("\t");
    return { name, encoding, written: written === "1" };
  });
  showFontChoices();
  element("text-box").dataset.ready = "true";
}

// Reading legacy text: the font found by itself, or any font with a map;
// writing it: the fonts the way back writes plain text in.
function showFontChoices() {
  const select = element("text-font");
  const legacy = direction() === "legacy";
  element("text-font-label").textContent = legacy ? "Old font to write in" : "Old font the text is in";
  element("text-in-label").textContent = legacy ? "Paste or type Unicode Malayalam" : "Paste or type the old-font text";
  const options = legacy ? [] : [new Option("Find it by itself", "auto")];
  for (const font of fonts) {
    if (legacy && !font.written) continue;
    options.push(new Option(`${font.name} (${font.encoding})`, font.name));
  }
  select.replaceChildren(...options);
  select.value = legacy ? "ML-TTKarthika" : "auto";
}

function convertText() {
  typing = null;
  const text = element("text-in").value;
  const out = element("text-out");
  ++textJob;
  if (text === "") {
    resultText = "";
    out.textContent = "";
    element("text-found").textContent = "";
    element("text-copy").disabled = true;
    out.dataset.job = String(textJob);
    out.dataset.pending = "0";
    return;
  }
  out.dataset.pending = "1";
  const legacy = direction() === "legacy";
  const font = element("text-font").value;
  worker.postMessage({ type: "text", job: textJob, text, to: legacy ? "legacy" : "text",
    font: legacy ? "auto" : font, legacyFont: legacy ? font : "ML-TTKarthika" });
}

function textChanged() {
  if (typing !== null) clearTimeout(typing);
  ++textJob;  // what is being typed makes every answer before it stale
  element("text-out").dataset.pending = "1";
  typing = setTimeout(convertText, kTypingPause);
}

// What the finder found, in words, for the box's reader.
function describeFound(found) {
  if (found === "") return "";
  const [kind, font, percent] = found.split("\t");
  if (kind === "legacy") return `Found the font ${font} (${percent}% sure). If the result looks wrong, choose the font above.`;
  if (kind === "Unicode Malayalam") return "This text is Unicode Malayalam already; it is shown unchanged.";
  if (kind === "English") {
    return "This text reads as English, not as an old Malayalam font; it is shown unchanged. If it is Malayalam, " +
      "choose its font above.";
  }
  return "";
}

function showText(data) {
  if (data.job !== textJob) return;
  const out = element("text-out");
  resultText = data.ok ? data.text : "";
  out.textContent = resultText;
  out.lang = direction() === "legacy" ? "" : "ml";
  element("text-found").textContent = data.ok ? describeFound(data.found) : data.message;
  element("text-copy").disabled = !data.ok || resultText === "";
  out.dataset.job = String(data.job);
  out.dataset.pending = "0";
}

element("text-in").addEventListener("input", textChanged);
element("text-font").addEventListener("change", convertText);
for (const radio of document.querySelectorAll('input[name="direction"]')) {
  radio.addEventListener("change", () => {
    showFontChoices();
    convertText();
  });
}
element("text-copy").addEventListener("click", async () => {
  try {
    await navigator.clipboard.writeText(resultText);
    element("text-copied").textContent = "Copied.";
  } catch {
    // Without the clipboard (a browser that refuses it), the text is selected for Ctrl+C.
    window.getSelection().selectAllChildren(element("text-out"));
    element("text-copied").textContent = "Selected: press Ctrl+C to copy.";
  }
});

// ---- documents in --------------------------------------------------------

const drop = element("drop");
drop.addEventListener("dragover", (event) => {
  event.preventDefault();
  drop.classList.add("over");
});
drop.addEventListener("dragleave", () => drop.classList.remove("over"));
drop.addEventListener("drop", (event) => {
  event.preventDefault();
  drop.classList.remove("over");
  add([...event.dataTransfer.files]);
});
// The button, or a click anywhere on the zone, opens the file chooser.
drop.addEventListener("click", () => element("pick").click());
element("pick").addEventListener("change", (event) => {
  add([...event.target.files]);
  event.target.value = "";
});
// A new choice for all documents replaces each one's own; new fonts or
// spelling convert every document again with its choice.
element("to").addEventListener("change", () => {
  for (const entry of documents) entry.override = null;
  documents.forEach(convert);
  showStatus();
});
for (const id of ["fonts", "spelling"]) {
  element(id).addEventListener("change", () => {
    documents.forEach(convert);
    showStatus();
  });
}
element("download-all").addEventListener("click", downloadAll);

// Offline: the page's files are kept by its service worker once it has
// loaded, so it opens and converts without a network afterwards.
// Where the browser keeps no service worker (a private window of some
// browsers, a page opened from a file), the page does not say it will open
// offline.
function offlineUnavailable() {
  document.body.dataset.offline = "unavailable";
  element("offline-claim").remove();
}
if ("serviceWorker" in navigator) {
  navigator.serviceWorker.register("sw.js").then(() => navigator.serviceWorker.ready)
    .then(() => { document.body.dataset.offline = "ready"; })
    .catch(offlineUnavailable);
} else {
  offlineUnavailable();
}
// The font the Malayalam is shown in, loaded with the page.
document.fonts.load('1em "Manjari (page)"', "മ").then(() => {
  document.body.dataset.font = "loaded";
  fontLoaded = true;
  showReadiness();
});
document.body.dataset.ready = "true";

// The page: takes documents dropped or picked, has the worker convert each
// with the chosen options, and offers every result as a download, all of them
// as one zip, and a preview of the Unicode text. Nothing is sent anywhere:
// the documents are read, converted and handed back inside the browser.
import { zipSync } from "./fflate.js";

const kStageNames = ["converting the legacy text", "writing the output"];
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

const element = (id) => document.getElementById(id);
const options = () => ({ to: element("to").value, fonts: element("fonts").value, spelling: element("spelling").value });

const worker = new Worker("worker.js");
const documents = [];  // { file, bytes, row, job, result }, in the order given
let nextJob = 0;

function extensionOf(name) {
  const dot = name.lastIndexOf(".");
  return dot < 0 ? "" : name.slice(dot).toLowerCase();
}

function showStatus() {
  const done = documents.filter((entry) => entry.result !== undefined);
  const failed = done.filter((entry) => entry.result === null).length;
  const converted = done.length - failed;
  const waiting = documents.length - done.length;
  element("status").textContent = documents.length === 0 ? "" :
    `${converted} converted, ${failed} failed` + (waiting > 0 ? `, ${waiting} to go` : "");
  element("status").dataset.pending = String(waiting);
  element("download-all").disabled = waiting > 0 || converted === 0;
}

function setRow(entry, fields) {
  const row = entry.row;
  if ("progress" in fields) {
    const bar = row.querySelector("progress");
    if (fields.progress === null) bar.removeAttribute("value");  // indeterminate: reading
    else bar.value = fields.progress;
  }
  if ("stage" in fields) row.querySelector(".stage").textContent = fields.stage;
  if (fields.message !== undefined) {
    const message = row.querySelector(".message");
    message.textContent = fields.message;
    message.hidden = fields.message === "";
  }
  if (fields.warnings !== undefined) {
    const warnings = row.querySelector(".warnings");
    warnings.textContent = fields.warnings;
    warnings.hidden = fields.warnings === "";
  }
}

function convert(entry) {
  const { to, fonts, spelling } = options();
  entry.job = nextJob++;
  entry.result = undefined;
  const link = entry.row.querySelector(".download");
  if (link.href) URL.revokeObjectURL(link.href);
  link.hidden = true;
  entry.row.querySelector(".preview").hidden = true;
  delete entry.row.dataset.preview;
  entry.row.classList.remove("failed", "done");
  for (const key of ["failure", "part", "byte"]) delete entry.row.dataset[key];
  setRow(entry, { progress: null, stage: "reading", message: "", warnings: "" });
  worker.postMessage({ id: entry.job, name: entry.file.name, bytes: entry.bytes, to, fonts, spelling });
}

async function add(files) {
  for (const file of files) {
    const row = element("result-row").content.firstElementChild.cloneNode(true);
    row.querySelector(".source").textContent = file.name;
    element("results").append(row);
    const entry = { file, bytes: null, row, job: -1, result: undefined };
    documents.push(entry);
    showStatus();
    try {
      entry.bytes = new Uint8Array(await file.arrayBuffer());
    } catch (error) {
      entry.result = null;
      row.classList.add("failed");
      setRow(entry, { progress: 0, stage: "", message: `${file.name}: cannot read the file: ${error.message}` });
      showStatus();
      continue;
    }
    convert(entry);
  }
}

function finish(entry, data) {
  const row = entry.row;
  if (data.type === "error") {
    entry.result = null;
    row.classList.add("failed");
    // What kind of failure and where, for messages of the page's own.
    row.dataset.failure = data.failure.code;
    if (data.failure.part !== "") row.dataset.part = data.failure.part;
    if (data.failure.byte !== null) row.dataset.byte = String(data.failure.byte);
    setRow(entry, { progress: 0, stage: "failed", message: data.message, warnings: data.warnings });
    return;
  }
  entry.result = { name: data.name, bytes: data.bytes };
  row.classList.add("done");
  setRow(entry, { progress: 1, stage: "done", warnings: data.warnings });
  const blob = new Blob([data.bytes], { type: kMediaTypes[extensionOf(data.name)] ?? "application/octet-stream" });
  const link = row.querySelector(".download");
  link.href = URL.createObjectURL(blob);
  link.download = data.name;
  link.textContent = `Download ${data.name}`;
  link.hidden = false;
}

worker.onmessage = (event) => {
  const data = event.data;
  const entry = documents.find((candidate) => candidate.job === data.id);
  if (entry === undefined) return;  // a conversion with options since changed
  if (data.type === "progress") {
    setRow(entry, { progress: data.total > 0 ? data.done / data.total : 0, stage: kStageNames[data.stage] ?? "" });
  } else if (data.type === "preview") {
    entry.row.dataset.preview = data.text === null ? "none" : "shown";
    if (data.text === null) return;
    const preview = entry.row.querySelector(".preview");
    const text = data.text.length > kPreviewCharacters ? data.text.slice(0, kPreviewCharacters) + "\n…" : data.text;
    preview.querySelector(".text").textContent = text;
    preview.hidden = false;
  } else {
    finish(entry, data);
    showStatus();
  }
};

// Two inputs of the same name give results of the same name; in the zip the
// later ones are told apart by a number.
function uniqueName(name, taken) {
  let candidate = name;
  const dot = name.lastIndexOf(".");
  for (let n = 2; taken.has(candidate); ++n) candidate = `${name.slice(0, dot)} (${n})${name.slice(dot)}`;
  taken.add(candidate);
  return candidate;
}

function downloadAll() {
  const taken = new Set();
  const files = {};
  for (const entry of documents) {
    if (entry.result) files[uniqueName(entry.result.name, taken)] = entry.result.bytes;
  }
  const zip = zipSync(files, { level: 6 });
  const link = document.createElement("a");
  link.href = URL.createObjectURL(new Blob([zip], { type: "application/zip" }));
  link.download = "maravelundi-converted.zip";
  document.body.append(link);
  link.click();
  link.remove();
}

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
element("pick").addEventListener("change", (event) => {
  add([...event.target.files]);
  event.target.value = "";
});
// New options convert every document again.
for (const id of ["to", "fonts", "spelling"]) {
  element(id).addEventListener("change", () => {
    documents.filter((entry) => entry.bytes !== null).forEach(convert);
    showStatus();
  });
}
element("download-all").addEventListener("click", downloadAll);
document.body.dataset.ready = "true";

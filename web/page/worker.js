// Converts documents and pasted text off the page's thread, so the page keeps
// answering while a large document converts, and passes the converter's
// progress on.
//
// Asked:
//   { type: "document", doc, file }        a document to keep (a File: no bytes are copied to send it)
//   { type: "convert", doc, job, to, fonts, spelling }
//       to: for each kind of document (see "kind" below), the output name
//       maravelundi-cli's --to takes; a kind it does not name converts as
//       to.other does. spelling "": each output's own.
//   { type: "text", job, text, to, font, legacyFont }   pasted text, as --from text converts it
// Answers, in this order for each conversion of a document:
//   { type: "kind", job, kind }                     "rtf", "docx", ... "text", "pdf", "foreign:doc", "unknown"
//   { type: "progress", job, stage, done, total }   any number of times, none after the result
//   { type: "result", job, name, blob, warnings }
//     or { type: "error", job, message, warnings, failure: { code, part, byte } }
//        (part "" and byte null where the failure has no such place)
//   { type: "preview", job, text }                  after a result: the Unicode text, or null
// and for text: { type: "text", job, ok, text, found, warnings, message }.
// One call of the converter makes both the result and the preview's text:
// the result is posted the moment it is complete, the text after it.
"use strict";

importScripts("maravelundi.js");

let progressJob = null;  // the conversion whose progress is passed on; none once its result is out
let handOver = null;     // during a conversion: posts the result the moment it is complete
const converter = createMaravelundi({
  onProgress(stage, done, total) {
    if (progressJob !== null) self.postMessage({ type: "progress", job: progressJob, stage, done, total });
  },
  onResult() {
    handOver?.();
  },
}).then((module) => {
  // Before the first document: see maravelundi_warm_up.
  module._maravelundi_warm_up();
  return module;
});

// The C strings the converter is called with, freed after the call.
function withCStrings(module, strings, call) {
  const pointers = strings.map((text) => {
    const size = module.lengthBytesUTF8(text) + 1;
    const pointer = module._malloc(size);
    module.stringToUTF8(text, pointer, size);
    return pointer;
  });
  try {
    return call(...pointers);
  } finally {
    pointers.forEach((pointer) => module._free(pointer));
  }
}

// The bytes, written straight into the converter's input.
function setInput(module, bytes) {
  const start = module._maravelundi_input(bytes.length);
  module.HEAPU8.set(bytes, start);
}

// Copied out of the module's memory, which the next call reuses, once:
// straight into the Blob the page offers for download, which is handed
// over by reference.
function postResult(module, job) {
  const start = module._maravelundi_result();
  const blob = new Blob([module.HEAPU8.subarray(start, start + module._maravelundi_result_size())]);
  self.postMessage({ type: "result", job, name: module.UTF8ToString(module._maravelundi_result_name()), blob,
    warnings: module.UTF8ToString(module._maravelundi_warnings()) });
}

function resultText(module, start, size) {
  return new TextDecoder().decode(module.HEAPU8.subarray(start, start + size));
}

function failure(module) {
  const byte = module._maravelundi_failure_byte();
  return { code: module.UTF8ToString(module._maravelundi_failure_code()),
    part: module.UTF8ToString(module._maravelundi_failure_part()), byte: byte < 0 ? null : byte };
}

const files = new Map();  // doc -> File

async function convertDocument(module, request) {
  const file = files.get(request.doc);
  const bytes = new Uint8Array(await file.arrayBuffer());
  setInput(module, bytes);
  const kind = withCStrings(module, [file.name], (name) => module.UTF8ToString(module._maravelundi_kind(name)));
  self.postMessage({ type: "kind", job: request.job, kind });
  const to = request.to[kind] ?? request.to.other;
  progressJob = request.job;
  let posted = false;
  handOver = () => {
    progressJob = null;
    postResult(module, request.job);
    posted = true;
  };
  let ok;
  try {
    ok = withCStrings(module, [file.name, to, request.fonts, request.spelling], (n, t, f, s) =>
      module._maravelundi_convert(n, t, f, s));
  } finally {
    handOver = null;
    progressJob = null;
  }
  try {
    if (ok !== 1) {
      self.postMessage({ type: "error", job: request.job, message: module.UTF8ToString(module._maravelundi_message()),
        warnings: module.UTF8ToString(module._maravelundi_warnings()), failure: failure(module) });
      return;
    }
    if (!posted) postResult(module, request.job);
    // Always sent, null where there is no text to show, so that the page
    // knows the document is finished with.
    const size = module._maravelundi_preview_size();
    const text = size < 0 ? null : resultText(module, module._maravelundi_preview(), size);
    self.postMessage({ type: "preview", job: request.job, text });
  } finally {
    module._maravelundi_release();
  }
}

function convertText(module, request) {
  setInput(module, new TextEncoder().encode(request.text));
  try {
    const ok = withCStrings(module, [request.to, request.font, request.legacyFont], (t, f, l) =>
      module._maravelundi_text(t, f, l));
    const answer = { type: "text", job: request.job, ok: ok === 1,
      warnings: module.UTF8ToString(module._maravelundi_warnings()),
      found: module.UTF8ToString(module._maravelundi_found()) };
    if (ok === 1) answer.text = resultText(module, module._maravelundi_result(), module._maravelundi_result_size());
    else answer.message = module.UTF8ToString(module._maravelundi_message());
    self.postMessage(answer);
  } finally {
    module._maravelundi_release();
  }
}

// Documents one at a time, in the order asked. Text typed meanwhile goes
// first, and only its latest version: the box shows what was typed last.
let documents = [];
let text = null;
let running = false;

async function run() {
  if (running) return;
  running = true;
  const module = await converter;
  while (text !== null || documents.length > 0) {
    const request = text ?? documents.shift();
    if (request === text) text = null;
    try {
      if (request.type === "text") convertText(module, request);
      else await convertDocument(module, request);
    } catch (error) {
      const name = files.get(request.doc)?.name ?? "text";
      self.postMessage({ type: request.type === "text" ? "text" : "error", job: request.job, ok: false,
        message: `${name}: cannot convert: ${error}`, warnings: "",
        failure: { code: error instanceof DOMException ? "unreadable-input" : "cannot-convert", part: "", byte: null } });
    }
  }
  running = false;
}

self.onmessage = (event) => {
  const request = event.data;
  if (request.type === "document") {
    files.set(request.doc, request.file);
    return;
  }
  if (request.type === "text") {
    text = request;
  } else {
    // A document asked for again (new options) is converted for the latest ask only.
    documents = documents.filter((queued) => queued.doc !== request.doc);
    documents.push(request);
  }
  run();
};

// The list of fonts, for the text box's choices, once the module is ready.
converter.then((module) => {
  self.postMessage({ type: "fonts", list: module.UTF8ToString(module._maravelundi_fonts()) });
});

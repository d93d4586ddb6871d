// Converts documents off the page's thread, so the page keeps answering while
// a large document converts, and passes the converter's progress on.
//
// Asked:  { id, name, bytes, to, fonts, spelling }   spelling "": each output's own
// Answers, in this order for each document:
//   { type: "progress", id, stage, done, total }   any number of times
//   { type: "result", id, name, bytes, warnings }  or { type: "error", id, message, warnings }
//   { type: "preview", id, text }                  after a result: the Unicode text, or null
"use strict";

importScripts("maravelundi.js");

let currentId = null;
const converter = createMaravelundi({
  onProgress(stage, done, total) {
    self.postMessage({ type: "progress", id: currentId, stage, done, total });
  },
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

// One conversion: { ok, bytes, name, message, warnings, spelling }. The
// result is copied out of the module's memory, which the next call reuses.
function convert(module, bytes, name, to, fonts, spelling) {
  const input = module._malloc(Math.max(bytes.length, 1));
  module.HEAPU8.set(bytes, input);
  let ok;
  try {
    ok = withCStrings(module, [name, to, fonts, spelling], (n, t, f, s) =>
      module._maravelundi_convert(input, bytes.length, n, t, f, s));
  } finally {
    module._free(input);
  }
  const outcome = {
    ok: ok === 1,
    name: module.UTF8ToString(module._maravelundi_result_name()),
    message: module.UTF8ToString(module._maravelundi_message()),
    warnings: module.UTF8ToString(module._maravelundi_warnings()),
    spelling: module.UTF8ToString(module._maravelundi_spelling()),
    bytes: null,
  };
  if (outcome.ok) {
    const start = module._maravelundi_result();
    outcome.bytes = module.HEAPU8.slice(start, start + module._maravelundi_result_size());
  }
  module._maravelundi_release();
  return outcome;
}

// The preview shows what the document says in Unicode whatever the output:
// the text output of the same conversion, spelled as the result is.
function previewText(module, job, spelling) {
  const text = convert(module, job.bytes, job.name, "text", job.fonts, spelling);
  return text.ok ? new TextDecoder().decode(text.bytes) : null;
}

async function handle(job) {
  const module = await converter;
  currentId = job.id;
  const result = convert(module, job.bytes, job.name, job.to, job.fonts, job.spelling);
  if (!result.ok) {
    self.postMessage({ type: "error", id: job.id, message: result.message, warnings: result.warnings });
    return;
  }
  // The result goes first, so that the download is ready after one
  // conversion; the preview (a second one, unless the output is the text)
  // follows.
  const ownText = job.to === "text" ? new TextDecoder().decode(result.bytes) : null;
  self.postMessage({ type: "result", id: job.id, name: result.name, bytes: result.bytes, warnings: result.warnings },
    [result.bytes.buffer]);
  // Always sent, null where there is no text to show, so that the page knows
  // the document is finished with.
  self.postMessage({ type: "preview", id: job.id, text: ownText ?? previewText(module, job, result.spelling) });
}

// One document at a time, in the order asked.
let queue = Promise.resolve();
self.onmessage = (event) => {
  const job = event.data;
  queue = queue.then(() => handle(job)).catch((error) => {
    self.postMessage({ type: "error", id: job.id, message: `${job.name}: cannot convert: ${error}`, warnings: "" });
  });
};

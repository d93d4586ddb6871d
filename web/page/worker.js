// Converts documents off the page's thread, so the page keeps answering while
// a large document converts, and passes the converter's progress on.
//
// Asked:  { id, name, bytes, to, fonts, spelling }   spelling "": each output's own
// Answers, in this order for each document:
//   { type: "progress", id, stage, done, total }   any number of times
//   { type: "result", id, name, bytes, warnings }
//     or { type: "error", id, message, warnings, failure: { code, part, byte } }
//        (part "" and byte null where the failure has no such place)
//   { type: "preview", id, text }                  after a result: the Unicode text, or null
// One call of the converter makes both the result and the preview's text:
// the result is posted the moment it is complete, the text after it.
"use strict";

importScripts("maravelundi.js");

let currentId = null;
let handOver = null;  // during a conversion: posts the result the moment it is complete
const converter = createMaravelundi({
  onProgress(stage, done, total) {
    self.postMessage({ type: "progress", id: currentId, stage, done, total });
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

// Copied out of the module's memory, which the next call reuses.
function postResult(module, id) {
  const start = module._maravelundi_result();
  const bytes = module.HEAPU8.slice(start, start + module._maravelundi_result_size());
  self.postMessage({ type: "result", id, name: module.UTF8ToString(module._maravelundi_result_name()), bytes,
    warnings: module.UTF8ToString(module._maravelundi_warnings()) }, [bytes.buffer]);
}

function previewText(module) {
  const size = module._maravelundi_preview_size();
  if (size < 0) return null;
  const start = module._maravelundi_preview();
  return new TextDecoder().decode(module.HEAPU8.subarray(start, start + size));
}

function failure(module) {
  const byte = module._maravelundi_failure_byte();
  return { code: module.UTF8ToString(module._maravelundi_failure_code()),
    part: module.UTF8ToString(module._maravelundi_failure_part()), byte: byte < 0 ? null : byte };
}

async function handle(job) {
  const module = await converter;
  currentId = job.id;
  let posted = false;
  handOver = () => {
    postResult(module, job.id);
    posted = true;
  };
  const input = module._malloc(Math.max(job.bytes.length, 1));
  module.HEAPU8.set(job.bytes, input);
  let ok;
  try {
    ok = withCStrings(module, [job.name, job.to, job.fonts, job.spelling], (n, t, f, s) =>
      module._maravelundi_convert(input, job.bytes.length, n, t, f, s));
  } finally {
    handOver = null;
    module._free(input);
  }
  try {
    if (ok !== 1) {
      self.postMessage({ type: "error", id: job.id, message: module.UTF8ToString(module._maravelundi_message()),
        warnings: module.UTF8ToString(module._maravelundi_warnings()), failure: failure(module) });
      return;
    }
    if (!posted) postResult(module, job.id);
    // Always sent, null where there is no text to show, so that the page
    // knows the document is finished with.
    self.postMessage({ type: "preview", id: job.id, text: previewText(module) });
  } finally {
    module._maravelundi_release();
  }
}

// One document at a time, in the order asked.
let queue = Promise.resolve();
self.onmessage = (event) => {
  const job = event.data;
  queue = queue.then(() => handle(job)).catch((error) => {
    self.postMessage({ type: "error", id: job.id, message: `${job.name}: cannot convert: ${error}`, warnings: "",
      failure: { code: "cannot-convert", part: "", byte: null } });
  });
};

// What the browser test and the page's benchmark share: a server of the
// page's folder that notes every request, Debian's chromium headless with
// the flags this closed network needs, and the page's own signs of work
// done.
import { once } from "node:events";
import fs from "node:fs";
import http from "node:http";
import path from "node:path";

const kTypes = { ".html": "text/html", ".js": "text/javascript", ".css": "text/css", ".wasm": "application/wasm",
  ".otf": "font/otf", ".txt": "text/plain", ".svg": "image/svg+xml", ".png": "image/png", ".ico": "image/x-icon",
  ".webmanifest": "application/manifest+json" };

// Serves `folder` on a free port of 127.0.0.1, pushing each request's URL
// onto `served`.
export async function serve(folder, served) {
  const server = http.createServer((request, response) => {
    served.push(request.url);
    const name = decodeURIComponent(new URL(request.url, "http://localhost").pathname);
    const file = path.join(folder, name === "/" ? "index.html" : name);
    if (!file.startsWith(folder + path.sep) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { "Content-Type": kTypes[path.extname(file)] ?? "application/octet-stream" });
    response.end(fs.readFileSync(file));
  });
  server.listen(0, "127.0.0.1");
  await once(server, "listening");
  return server;
}

// The browser, its profile in `scratch`. Without the background-networking
// flags chromium keeps trying hosts this machine cannot reach.
export async function launchChromium(puppeteer, executablePath, scratch, waitLimit) {
  return puppeteer.launch({
    executablePath,
    headless: true,
    userDataDir: path.join(scratch, "profile"),
    args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
      "--disable-background-networking", "--disable-component-update", "--disable-sync",
      "--disable-default-apps", "--disable-extensions"],
    protocolTimeout: waitLimit,
  });
}

// Every document given is converted (or has failed), and, with `previews`,
// every converted one shows its preview, which comes after its result.
export async function settledResults(page, count, waitLimit, { previews = true } = {}) {
  await page.waitForFunction((n, withPreviews) => {
    const rows = [...document.querySelectorAll("#results li")];
    if (rows.length !== n || document.getElementById("status").dataset.pending !== "0") return false;
    return !withPreviews || rows.every((row) => !row.classList.contains("done") || row.dataset.preview !== undefined);
  }, { timeout: waitLimit, polling: "mutation" }, count, previews);
}

// Picks the files through the page's file input, as the Open dialog would.
export async function pick(page, files) {
  const input = await page.$("#pick");
  await input.uploadFile(...files);
}

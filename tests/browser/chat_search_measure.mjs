// Measures the chat archive in the browser, for bench/run: opens the largest log page of a site's
// chat from file:// in headless Chromium and reports, as one line of JSON, the page's bytes and
// messages, the time to load it, the script heap after the rows are gathered for a search, and
// the median time of searching for a few words (from the input to the rows shown).
// Usage: node chat_search_measure.mjs SITE_FOLDER
import fs from "node:fs";
import path from "node:path";
import { pathToFileURL } from "node:url";
import { launchChromium } from "./browser.mjs";

const [site] = process.argv.slice(2);
let largest = null;
for (const kind of ["voice", "text"])
  for (const name of fs.readdirSync(path.join(site, kind), { recursive: true })) {
    const file = path.join(site, kind, name);
    if (!/log-\d+\.html$/.test(name)) continue;
    const bytes = fs.statSync(file).size;
    if (!largest || bytes > largest.bytes) largest = { file, bytes };
  }
const { browser, close } = await launchChromium();
try {
  const page = await browser.newPage();
  const errors = [];
  page.on("pageerror", (e) => errors.push(e.message));
  const start = Date.now();
  await page.goto(pathToFileURL(largest.file).href, { waitUntil: "load", timeout: 120000 });
  const loadMs = Date.now() - start;
  await page.focus('input[data-table="chat"]');
  const heap = (await page.metrics()).JSHeapUsedSize;
  const found = await page.evaluate(() => {
    const input = document.querySelector('input[data-table="chat"]');
    const rows = document.querySelectorAll("#chat tbody tr").length;
    const times = [];
    for (const word of ["medic", "gg", "need backup", "zzzz-none", "lol"]) {
      const start = performance.now();
      input.value = word;
      input.dispatchEvent(new Event("input"));
      void document.body.offsetHeight; // the rows shown laid out
      times.push(performance.now() - start);
    }
    times.sort((a, b) => a - b);
    return { rows, medianMs: times[Math.floor(times.length / 2)], worstMs: times[times.length - 1] };
  });
  const after = (await page.metrics()).JSHeapUsedSize;
  console.log(JSON.stringify({ file: path.relative(site, largest.file), bytes: largest.bytes,
    messages: found.rows, loadMs, heapMB: Math.max(heap, after) / 1048576, searchMedianMs: found.medianMs,
    searchWorstMs: found.worstMs, errors }));
} finally {
  await close();
}

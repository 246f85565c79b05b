// The statistics site on a phone (390x844) and a desktop (1366x900), light and dark, from
// file:// in headless Chromium: no text under 11 CSS pixels (chart labels as drawn, after the
// chart's scaling), nothing wider than the screen outside a box that scrolls, the chat's speaker
// and message on screen without scrolling, and no word broken inside.
// Usage: node phone_test.mjs QLA LOGGEN SCRATCH
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import path from "node:path";
import { pathToFileURL } from "node:url";
import { launchChromium } from "./browser.mjs";

const [qla, loggen, scratch] = process.argv.slice(2);
let failures = 0, passes = 0;
function check(ok, what) {
  if (ok) { passes++; return; }
  failures++;
  console.error("FAIL: " + what);
}

// A database of two logs (player pages with a history chart) and its statistics site.
function makeSite() {
  fs.rmSync(scratch, { recursive: true, force: true });
  fs.mkdirSync(scratch, { recursive: true });
  const db = path.join(scratch, "stats.db");
  for (const seed of ["31", "32"]) {
    const log = path.join(scratch, `game-${seed}.log`);
    execFileSync(loggen, ["--lines", "6000", "--players", "40", "--seed", seed, "--output", log]);
    execFileSync(qla, ["import", log, "--db", db, "--quiet"]);
  }
  const site = path.join(scratch, "site");
  execFileSync(qla, ["export", "--db", db, "--view", "dashboard", "--format", "html", "--output", site]);
  const json = path.join(scratch, "dashboard.json");
  execFileSync(qla, ["export", "--db", db, "--view", "dashboard", "--format", "json", "--output", json]);
  return { site, data: JSON.parse(fs.readFileSync(json, "utf8")) };
}

// What a page shows at the tab's size, measured in the page.
function measure() {
  const scrolls = (el) => {
    for (let e = el.parentElement; e; e = e.parentElement) {
      const x = getComputedStyle(e).overflowX;
      if (x === "auto" || x === "scroll") return true;
    }
    return false;
  };
  const small = [], wide = [], broken = [];
  const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
  for (let node = walker.nextNode(); node; node = walker.nextNode()) {
    const el = node.parentElement;
    if (!node.textContent.trim() || !el.getClientRects().length) continue;
    let size = parseFloat(getComputedStyle(el).fontSize);
    const svg = el.closest("svg");
    if (svg) size *= svg.getBoundingClientRect().width / svg.viewBox.baseVal.width;
    if (size < 10.95) small.push(`${el.tagName} "${node.textContent.trim().slice(0, 20)}" ${size.toFixed(1)}px`);
    // A word drawn on more than one line was broken inside.
    if (svg || broken.length > 5) continue;
    for (const m of node.textContent.matchAll(/\S+/g)) {
      const range = document.createRange();
      range.setStart(node, m.index);
      range.setEnd(node, m.index + m[0].length);
      const tops = new Set([...range.getClientRects()].filter((r) => r.width > 0).map((r) => Math.round(r.top)));
      if (tops.size > 1) broken.push(m[0]);
    }
  }
  for (const el of document.body.querySelectorAll("*")) {
    const r = el.getBoundingClientRect();
    if (r.width > 0 && r.right > innerWidth + 1 && !scrolls(el)) wide.push(`${el.tagName}.${el.className}`);
  }
  // The chat's first rows: the speaker and the message start on screen.
  const offScreen = [];
  for (const row of [...document.querySelectorAll("#chat tbody:not([hidden]) tr")].slice(0, 20)) {
    const speaker = row.cells[1].getBoundingClientRect(), message = row.cells[4].getBoundingClientRect();
    if (speaker.left < 0 || speaker.left > innerWidth - 40 || message.left < 0 || message.left > innerWidth - 40)
      offScreen.push(row.cells[0].textContent);
  }
  return { small, wide: wide.slice(0, 5), broken, offScreen,
           chatRows: document.querySelectorAll("#chat tbody tr").length };
}

const { site, data } = makeSite();
const withHistory = data.players.find((p) => (p.history || []).length === 2 && p.weapons);
check(withHistory, "no player has a page with a history of both logs");
const siteData = JSON.parse(fs.readFileSync(path.join(site, "data.json"), "utf8"));
const playerPage = path.join(site, siteData.players.find((p) => p.id === withHistory.id).page);
// A log's chat pages (the first log's of each kind) and the player's opponents page.
const firstLogPage = (kind) => {
  const folder = path.join(site, kind);
  const found = fs.readdirSync(folder, { recursive: true }).filter((f) => /log-\d+\.html$/.test(f)).sort();
  return path.join(folder, found[0]);
};
const opponentsPage = playerPage.replace(`${path.sep}players${path.sep}`, `${path.sep}opponents${path.sep}`);
const pages = ["index.html", "weapons.html", "voice.html", "text.html", "coverage.html",
  "awards.html", "records.html"]
  .map((f) => path.join(site, f)).concat([playerPage, opponentsPage, firstLogPage("voice"), firstLogPage("text")]);

const { browser, close } = await launchChromium();
try {
  const tab = await browser.newPage();
  const errors = [];
  tab.on("console", (m) => { if (m.type() === "error") errors.push(m.text()); });
  tab.on("pageerror", (e) => errors.push(e.message));
  for (const [width, height] of [[390, 844], [1366, 900]]) {
    await tab.setViewport({ width, height });
    for (const scheme of ["light", "dark"]) {
      await tab.emulateMediaFeatures([{ name: "prefers-color-scheme", value: scheme }]);
      for (const file of pages) {
        const where = `${path.basename(file)} at ${width}px, ${scheme}`;
        errors.length = 0;
        await tab.goto(pathToFileURL(file).href, { waitUntil: "load" });
        const seen = await tab.evaluate(measure);
        check(seen.small.length === 0, `${where}: text under 11px: ${seen.small.slice(0, 5).join("; ")}`);
        check(seen.wide.length === 0, `${where}: wider than the screen outside a scrolling box: ${seen.wide.join(", ")}`);
        check(seen.broken.length === 0, `${where}: words broken inside: ${seen.broken.join(", ")}`);
        check(seen.offScreen.length === 0, `${where}: speaker or message off screen in rows ${seen.offScreen.join(", ")}`);
        if (/log-\d+\.html$/.test(file)) check(seen.chatRows > 0, `${where}: no chat rows`);
        check(errors.length === 0, `${where}: ${errors.join("; ")}`);
      }
    }
  }
} finally {
  await close();
}
console.log(`${passes} passed, ${failures} failed`);
process.exit(failures === 0 ? 0 : 1);

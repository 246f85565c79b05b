// Loads the statistics site of a generated and of a hostile log from file:// in headless
// Chromium and checks what a reader meets: no console error, links and assets that resolve,
// sorting that matches the data, a working search, no dialog and no foreign element, and no
// horizontal scrolling at 375 pixels.
// Usage: node site_test.mjs QLA LOGGEN SCRATCH
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import path from "node:path";
import { pathToFileURL, fileURLToPath } from "node:url";
import { launchChromium } from "./browser.mjs";

const [qla, loggen, scratch] = process.argv.slice(2);
let failures = 0, passes = 0;
function check(ok, what) {
  if (ok) { passes++; return; }
  failures++;
  console.error("FAIL: " + what);
}

// Elements the site writes; anything else in a page came from a name or a message.
const WRITTEN = new Set(["html", "head", "meta", "title", "link", "script", "body", "header",
  "p", "nav", "ul", "li", "a", "main", "h1", "h2", "dl", "div", "dt", "dd", "section", "ol",
  "span", "table", "thead", "tbody", "tr", "th", "td", "button", "input", "label", "figure",
  "svg", "rect", "text", "figcaption", "polyline", "circle", "code", "footer", "time", "noscript"]);

function makeSite(name, loggenArgs) {
  const dir = path.join(scratch, name);
  fs.rmSync(dir, { recursive: true, force: true });
  fs.mkdirSync(dir, { recursive: true });
  const log = path.join(dir, name + ".log");
  execFileSync(loggen, [...loggenArgs, "--output", log]);
  const site = path.join(dir, "site");
  execFileSync(qla, ["export", log, "--view", "dashboard", "--format", "html", "--output", site,
                     "--title", '^1Our </script><img src=x onerror=alert(1)> ^7"server"']);
  const json = path.join(dir, "dashboard.json");
  execFileSync(qla, ["export", log, "--view", "dashboard", "--format", "json", "--output", json]);
  return { site, data: JSON.parse(fs.readFileSync(json, "utf8")) };
}

// A database of two logs with the same players (one seed, other line ends), and its site.
function makeDatabaseSite() {
  const dir = path.join(scratch, "database");
  fs.rmSync(dir, { recursive: true, force: true });
  fs.mkdirSync(dir, { recursive: true });
  const db = path.join(dir, "stats.db");
  for (const ends of ["crlf", "lf"]) {
    const log = path.join(dir, `game-${ends}.log`);
    execFileSync(loggen, ["--lines", "1500", "--players", "20", "--seed", "21", "--line-ends", ends,
                          "--output", log]);
    execFileSync(qla, ["import", log, "--db", db, "--quiet"]);
  }
  const site = path.join(dir, "site");
  execFileSync(qla, ["export", "--db", db, "--view", "dashboard", "--format", "html", "--output", site]);
  const json = path.join(dir, "dashboard.json");
  execFileSync(qla, ["export", "--db", db, "--view", "dashboard", "--format", "json", "--output", json]);
  return { site, data: JSON.parse(fs.readFileSync(json, "utf8")) };
}

// A player page from a database shows his history as a table and a line chart per series.
async function checkHistory(browser, site, data) {
  check(data.source.logs === 2, `database: ${data.source.logs} logs, not 2`);
  const p = data.players.reduce((a, b) => ((b.history || []).length > (a.history || []).length ? b : a));
  check((p.history || []).length === 2, "database: no player has a history of both logs");
  const page = await checkPage(browser, playerPage(site, p.id));
  const rows = (await rowsOf(page, "history")).map((r) => [r[0].text, Number(r[1].text), Number(r[2].text)]);
  const want = (p.history || []).map((h) => [h.log, h.kills, h.deaths]);
  check(JSON.stringify(rows) === JSON.stringify(want), `database: history table ${JSON.stringify(rows)} is not ${JSON.stringify(want)}`);
  check(await page.$$eval("figure.chart polyline", (l) => l.length) === 3,
        "database: the history chart lacks a line per series");
  const kills = p.history.reduce((sum, h) => sum + h.kills, 0);
  check(kills === p.kills, `database: the history's kills ${kills} do not add up to ${p.kills}`);
  const coverage = await checkPage(browser, path.join(site, "coverage.html"));
  check((await coverage.$eval("main", (m) => m.textContent)).includes("Held back: 0 bytes"),
        "database: the coverage page does not show the held-back bytes");
}

function visible(name) { return name.replace(/\^[0-9.*,\-@!$bnqduw#&|]/gi, ""); }
// Pages show the C0 controls other than tab as U+FFFD; the JSON document keeps them.
function pageText(text) { return text.replace(/[\x00-\x08\x0a-\x1f]/g, "\ufffd"); }
// A name among others shows its first 40 characters and an ellipsis, the whole in its title.
function shortened(visibleName) {
  const chars = Array.from(pageText(visibleName));
  return chars.length > 40 ? chars.slice(0, 40).join("") + "\u2026" : chars.join("");
}

// A player's page is the one the site's data.json names for him ("page"): its address follows
// from his name, never from his place in a list.
const sitePages = new Map(); // site -> { byId, byPage }
function pagesOf(site) {
  if (!sitePages.has(site)) {
    const data = JSON.parse(fs.readFileSync(path.join(site, "data.json"), "utf8"));
    const byId = new Map(), byPage = new Map();
    for (const p of data.players) {
      if (!p.page) continue;
      byId.set(p.id, path.join(site, p.page));
      byPage.set(p.page, p.id);
    }
    sitePages.set(site, { byId, byPage });
  }
  return sitePages.get(site);
}
function playerPage(site, id) {
  return pagesOf(site).byId.get(id);
}

// The player a row's link (or, for a player without a page, the row itself) stands for.
function playerIdOf(site, cell, rowId) {
  const page = cell.href && /(players\/[^#]+\.html)$/.exec(cell.href);
  if (page) return pagesOf(site).byPage.get(page[1]) ?? NaN;
  const row = cell.href && /#p(\d+)$/.exec(cell.href);
  if (row) return Number(row[1]);
  return rowId ? Number(rowId.slice(1)) : NaN;
}

// The player id a rows file's reference stands for.
function refId(site, ref) {
  return ref.length < 3 ? pagesOf(site).byPage.get(`players/${ref[0]}.html`) : ref[0];
}

// Whether a shown cell links to the player a rows file's reference names: [address, name] his page,
// [id, name, list page] his row.
function linksTo(site, cell, ref) {
  if (ref.length < 3) return (cell.href || "").endsWith(`players/${ref[0]}.html`);
  return playerIdOf(site, cell) === ref[0];
}

// A link of a page leads to a written file and, with an anchor, to an element of it.
function linkResolves(fromFile, href) {
  const [file, anchor] = href.split("#");
  const target = path.resolve(path.dirname(fromFile), file);
  if (!fs.existsSync(target)) return false;
  return !anchor || fs.readFileSync(target, "utf8").includes(`id="${anchor}"`);
}

// One tab serves every page: opening a tab costs more than loading a page.
let tab = null;
let problems = [];
let loaded = []; // the files the current page requested
async function openPage(browser, file) {
  if (!tab) {
    tab = await browser.newPage();
    tab.on("console", (m) => { if (m.type() === "error") problems.push("console: " + m.text()); });
    tab.on("pageerror", (e) => problems.push("script error: " + e.message));
    tab.on("dialog", async (d) => { problems.push("dialog: " + d.message()); await d.dismiss(); });
    tab.on("requestfailed", (r) => problems.push("request failed: " + r.url()));
    tab.on("request", (r) => {
      if (!r.url().startsWith("file:")) problems.push("external request: " + r.url());
      loaded.push(r.url());
    });
    await tab.setViewport({ width: 375, height: 740 });
  }
  problems = [];
  loaded = [];
  await tab.goto(pathToFileURL(file).href, { waitUntil: "load" });
  return tab;
}

// The common checks of every page.
async function checkPage(browser, file) {
  const page = await openPage(browser, file);
  const facts = await page.evaluate((written) => {
    const foreign = [];
    for (const el of document.querySelectorAll("*")) {
      if (!written.includes(el.localName)) foreign.push(el.localName);
      for (const a of el.attributes) if (/^on/i.test(a.name)) foreign.push(el.localName + "@" + a.name);
      if (el.localName === "script" && !/\/(site|players-rows)\.js$/.test(el.src))
        foreign.push("script " + el.outerHTML.slice(0, 60));
    }
    const links = [...document.querySelectorAll("a[href], link[href], script[src]")]
      .map((e) => e.href || e.src);
    return { foreign, links, width: document.documentElement.scrollWidth };
  }, [...WRITTEN]);
  const name = path.basename(file);
  check(problems.length === 0, `${name}: ${problems.join("; ")}`);
  check(facts.foreign.length === 0, `${name}: elements the site did not write: ${facts.foreign}`);
  check(facts.width <= 375, `${name}: page is ${facts.width}px wide at 375px`);
  for (const link of facts.links) {
    if (!link.startsWith("file:")) { check(false, `${name}: link off the site ${link}`); continue; }
    const target = fileURLToPath(link.split("#")[0]);
    check(fs.existsSync(target), `${name}: broken link ${link}`);
  }
  // Problems that come later (a click, a search) are reported by the caller's next check.
  return page;
}

function checkQuiet(what) {
  check(problems.length === 0, `${what}: ${problems.join("; ")}`);
}

// Each row's cells, and the row's id as its `id`.
async function rowsOf(page, table) {
  const rows = await page.$$eval(`#${table} tbody tr:not([hidden])`, (trs) =>
    trs.map((tr) => ({ id: tr.id, cells: [...tr.cells].map((td) => {
      const named = td.querySelector("[title]");
      return {
        text: td.textContent, href: td.querySelector("a") ? td.querySelector("a").getAttribute("href") : null,
        title: named ? named.getAttribute("title") : null,
      };
    }) })));
  return rows.map((r) => Object.assign(r.cells, { id: r.id }));
}

async function clickHeader(page, table, label) {
  await page.evaluate((table, label) => {
    const th = [...document.querySelectorAll(`#${table} thead th`)].find((t) => t.textContent.trim() === label);
    th.querySelector("button").click();
  }, table, label);
}

function stableSorted(items, key, sign) {
  return items.map((item, at) => ({ item, at })).sort((a, b) => {
    const x = key(a.item), y = key(b.item);
    return sign * (x < y ? -1 : x > y ? 1 : 0) || a.at - b.at;
  }).map((e) => e.item);
}

// The rows a rows file hands the script, its repeated values looked up: run by Node's own engine.
function rowsFile(site, file) {
  let rows = null;
  new Function("qlaRows", fs.readFileSync(path.join(site, file), "utf8"))(
    (table, r, lookups) => {
      rows = r.map((row) => row.map((v, col) => (lookups[col] ? lookups[col][v] : v)));
    });
  return rows;
}

// Waits until the script has loaded the table's rows file (after a first sort or search).
async function waitForRows(page, table) {
  await page.waitForSelector(`#${table}[data-loaded]`, { timeout: 10000 });
}

async function checkOverview(browser, site, data) {
  const page = await checkPage(browser, path.join(site, "index.html"));
  // Opening the overview loads the page, its style sheet and script, never every player's row.
  check(JSON.stringify(loaded.map((u) => path.basename(u)).sort()) ===
        JSON.stringify(["index.html", "site.css", "site.js"]),
        `overview: opening it loads ${loaded.map((u) => path.basename(u))}`);
  const byId = new Map(data.players.map((p) => [p.id, p]));
  const embedded = rowsFile(site, "players-rows.js");
  check(embedded.length === data.players.length, "overview: every player is in the table data");
  const pageSize = Math.min(100, embedded.length);

  // Each row shows the stored numbers of the player it links to (or stands for, without a page);
  // a long name is shortened, whole in its title.
  const file = path.join(site, "index.html");
  const idOf = (r) => playerIdOf(site, r[0], r.id);
  const checkRows = (rows, what) => {
    for (const row of rows) {
      const p = byId.get(idOf(row));
      check(p && row[0].text === shortened(p.visibleName) && Number(row[1].text) === p.kills &&
            Number(row[2].text) === p.deaths, `${what}: row ${row[0].text} differs from the data`);
      if (p && shortened(p.visibleName) !== pageText(p.visibleName))
        check(row[0].title === pageText(p.visibleName), `${what}: ${row[0].text} lacks its whole name`);
      if (row[0].href) check(linkResolves(file, row[0].href), `${what}: broken link ${row[0].href}`);
    }
  };
  const firstRows = await rowsOf(page, "players");
  check(firstRows.length === pageSize, `overview: ${firstRows.length} rows shown, not ${pageSize}`);
  checkRows(firstRows, "overview");

  // Sorting by deaths (numbers, most first) and by name (visible text, A first).
  await clickHeader(page, "players", "Deaths");
  await waitForRows(page, "players");
  check(loaded.some((u) => u.endsWith("/players-rows.js")), "overview: sorting did not load the rows");
  let expected = stableSorted(embedded, (r) => byId.get(refId(site, r[0])).deaths, -1).slice(0, pageSize);
  let shownRows = await rowsOf(page, "players");
  check(JSON.stringify(shownRows.map(idOf)) === JSON.stringify(expected.map((r) => refId(site, r[0]))),
        "overview: sorting by deaths does not match the data");
  checkRows(shownRows, "overview sorted by the script");
  await clickHeader(page, "players", "Player");
  // The script keeps the last order as the tie-breaker, as a stable sort does.
  const afterDeaths = stableSorted(embedded, (r) => byId.get(refId(site, r[0])).deaths, -1);
  expected = stableSorted(afterDeaths, (r) => visible(r[0][1]).toLowerCase(), 1).slice(0, pageSize);
  shownRows = await rowsOf(page, "players");
  check(JSON.stringify(shownRows.map(idOf)) === JSON.stringify(expected.map((r) => refId(site, r[0]))),
        "overview: sorting by name does not match the visible names");
  checkRows(shownRows, "overview sorted by name");
  check(await page.$eval("#players th:first-child", (th) => th.getAttribute("aria-sort")) === "ascending",
        "overview: the sorted header is not marked");

  // The search box filters over every player, not only the page shown.
  const sample = visible(data.players[data.players.length - 1].name).slice(0, 3).toLowerCase();
  if (sample.trim() !== "") {
    await page.type('input[data-table="players"]', sample);
    const want = data.players.filter((p) => p.visibleName.toLowerCase().includes(sample.trim())).length;
    shownRows = await rowsOf(page, "players");
    check(shownRows.length === Math.min(want, 100), `overview: search '${sample}' shows ${shownRows.length}, want ${want}`);
    check(shownRows.every((r) => (r[0].title || r[0].text).toLowerCase().includes(sample.trim())),
          `overview: search '${sample}' shows a row without it`);
  }
  checkQuiet("overview after sorting and searching");
}

async function checkWeapons(browser, site, data) {
  const page = await checkPage(browser, path.join(site, "weapons.html"));
  await clickHeader(page, "weapons", "Kills");
  const shown = (await rowsOf(page, "weapons")).map((r) => [r[0].text, Number(r[1].text)]);
  const expected = stableSorted(data.weapons, (w) => w.kills, -1).map((w) => [w.weapon, w.kills]);
  check(JSON.stringify(shown) === JSON.stringify(expected), "weapons: sorting by kills does not match the data");
  check(await page.$$eval("figure.chart svg rect", (r) => r.length) >= data.weapons.length,
        "weapons: the chart has a bar per weapon");
  checkQuiet("weapons after sorting");
}

// The rows a page of the chat archive shows (the script shows one group of rows at a time, and
// the rows a search or a sort chose in a group of its own).
async function shownChatRows(page) {
  return page.$$eval("#chat tbody:not([hidden]) tr", (trs) => trs.map((tr) => [...tr.cells].map((td) => ({
    text: td.textContent, href: td.querySelector("a") ? td.querySelector("a").getAttribute("href") : null,
  }))));
}

// A chat archive: the index lists every log's page of the kind, and each log's page holds every
// message of that log once, shows the first group of them, links each shown speaker to his page
// or row, pages onwards, and searches only its own messages: the rows shown hold the word, and
// as many as the page's messages do.
async function checkChatArchive(browser, site, kind) {
  const index = await checkPage(browser, path.join(site, `${kind}.html`));
  const logs = await index.$$eval("#logs tbody tr", (trs) => trs.map((tr) => ({
    href: tr.cells[0].querySelector("a") ? tr.cells[0].querySelector("a").href : null,
    messages: Number(tr.cells[2].textContent),
  })));
  check(logs.length > 0, `${kind}: the index lists no log`);
  const total = await index.$eval("main p", (p) => p.textContent);
  const counted = logs.reduce((sum, log) => sum + log.messages, 0);
  check(total.startsWith(`${counted} message`), `${kind}: the index says '${total}', its logs hold ${counted}`);
  for (const log of logs) {
    check((log.href === null) === (log.messages === 0), `${kind}: a log of ${log.messages} messages links ${log.href}`);
    if (!log.href) continue;
    const file = fileURLToPath(log.href);
    const page = await checkPage(browser, file);
    const all = await page.$$eval("#chat tbody tr", (trs) => trs.map((tr) => tr.textContent.toLowerCase()));
    check(all.length === log.messages, `${kind}: ${file} holds ${all.length} of ${log.messages} messages`);
    let shown = await shownChatRows(page);
    check(shown.length === Math.min(1000, log.messages), `${kind}: ${file} shows ${shown.length} rows at first`);
    check(shown.every((r, i) => Number(r[0].text) === i + 1), `${kind}: ${file} does not start at message 1`);
    for (const r of shown.slice(0, 50))
      check(r[1].href !== null && linkResolves(file, r[1].href), `${kind}: ${file} speaker link ${r[1].href}`);
    if (log.messages > 1000) {
      await page.click("div.pages button:last-child");
      shown = await shownChatRows(page);
      check(Number(shown[0][0].text) === 1001, `${kind}: ${file} 'Next' shows message ${shown[0][0].text}`);
    }
    const last = await page.$$eval("#chat tbody tr", (trs) => trs[trs.length - 1].cells[4].textContent);
    const word = last.trim().split(/\s+/)[0] || "";
    if (word) {
      await page.focus('input[data-table="chat"]');
      const took = await page.evaluate(async (word) => {
        const input = document.querySelector('input[data-table="chat"]');
        const start = performance.now();
        input.value = word;
        input.dispatchEvent(new Event("input"));
        return performance.now() - start;
      }, word);
      const q = word.toLowerCase();
      const want = all.filter((t) => t.includes(q)).length;
      shown = await shownChatRows(page);
      const status = await page.$eval("div.pages span", (s) => s.textContent);
      check(shown.length === Math.min(1000, want) && shown.every((r) => r.map((c) => c.text).join("").toLowerCase().includes(q)),
            `${kind}: ${file} search '${word}' shows ${shown.length} rows, ${want} hold it`);
      check(status.includes(`of ${want}`) && (want === all.length || status.includes(`(of ${all.length})`)),
            `${kind}: ${file} search status '${status}'`);
      check(took < 1000, `${kind}: ${file} search took ${took.toFixed(0)} ms`);
      for (const r of shown.slice(0, 20))
        check(r[1].href !== null && linkResolves(file, r[1].href), `${kind}: ${file} found speaker link ${r[1].href}`);
    }
    checkQuiet(`${file} after paging and searching`);
  }
}

// Without the script the player table shows its page and a log's chat page every message.
async function checkWithoutScript(browser, site) {
  const page = await browser.newPage();
  await page.setJavaScriptEnabled(false);
  await page.goto(pathToFileURL(path.join(site, "index.html")).href);
  const rows = await page.$$eval("#players tbody tr", (t) => t.length);
  check(rows > 0, "without the script the player table is empty");
  const log = fs.readdirSync(path.join(site, "voice"), { recursive: true }).find((f) => /log-\d+\.html$/.test(f));
  await page.goto(pathToFileURL(path.join(site, "voice", log)).href);
  const shown = await page.$$eval("#chat tbody tr", (trs) => trs.filter((tr) => tr.getClientRects().length > 0).length);
  const all = await page.$$eval("#chat tbody tr", (trs) => trs.length);
  check(shown === all && all > 0, `without the script ${shown} of ${all} chat rows are shown`);
  await page.close();
}

async function checkDark(browser, site) {
  const page = await browser.newPage();
  const background = async () => page.$eval("body", (b) => getComputedStyle(b).backgroundColor);
  await page.emulateMediaFeatures([{ name: "prefers-color-scheme", value: "light" }]);
  await page.goto(pathToFileURL(path.join(site, "index.html")).href);
  const light = await background();
  await page.emulateMediaFeatures([{ name: "prefers-color-scheme", value: "dark" }]);
  check(light !== await background(), "the dark preference changes nothing");
  await page.close();
}

const { browser, close } = await launchChromium();
try {
  const cases = [
    // Enough lines for more than a thousand voice and text messages.
    ["generated", ["--lines", "8000", "--players", "250", "--seed", "11"]],
    ["hostile", ["--lines", "3000", "--players", "60", "--seed", "12", "--hostile"]],
    // More players than one folder holds, most of them seen in a few lines: rows in the list
    // instead of pages, pages in folders by number, and names behind rows of colour codes.
    ["crowd", ["--lines", "4000", "--players", "3000", "--seed", "13", "--code-run", "5000"]],
  ];
  for (const [name, args] of cases) {
    const { site, data } = makeSite(name, args);
    await checkOverview(browser, site, data);
    await checkWeapons(browser, site, data);
    await checkChatArchive(browser, site, "voice");
    await checkChatArchive(browser, site, "text");
    for (const file of ["coverage.html", "list/players-2.html"])
      if (fs.existsSync(path.join(site, file))) await checkPage(browser, path.join(site, file));
    // Player pages: the most active player's, and on the hostile log every name with markup.
    const players = name === "hostile"
      ? data.players.filter((p) => /[<>"'&]/.test(p.name))
      : [data.players.reduce((a, b) => (b.kills > a.kills ? b : a))];
    check(players.length > 0, `${name}: no player to open`);
    for (const p of players) {
      if (!playerPage(site, p.id)) continue; // seen in few lines: a row in the list
      const page = await checkPage(browser, playerPage(site, p.id));
      check(await page.$eval("h1", (h) => h.textContent) === p.visibleName, `p${p.id}: heading is not the name`);
      // His opponents page, linked from his page: the common checks, and its table sorts.
      const opponents = await page.$eval("a[href*='opponents/']", (a) => a.href).catch(() => null);
      check(opponents !== null || p.kills + p.deaths === 0, `p${p.id}: no link to the opponents page`);
      if (opponents) {
        const top = await checkPage(browser, fileURLToPath(opponents));
        const listed = await rowsOf(top, "top-opponents");
        check(listed.length > 0 && listed.length <= 10, `p${p.id}: ${listed.length} opponents listed`);
        await clickHeader(top, "top-opponents", "Killed");
        const killed = (await rowsOf(top, "top-opponents")).map((r) => Number(r[2].text));
        check(killed.length === listed.length && killed.every((k, i) => i === 0 || killed[i - 1] >= k),
              `p${p.id}: the opponents do not sort by kills: ${killed}`);
        checkQuiet(`p${p.id} opponents`);
      }
    }
    await checkWithoutScript(browser, site);
    await checkDark(browser, site);
  }
  const { site, data } = makeDatabaseSite();
  await checkHistory(browser, site, data);
  // A log's own chat page for each of the database's logs.
  await checkChatArchive(browser, site, "voice");
  await checkChatArchive(browser, site, "text");
} finally {
  await close();
}
console.log(`${passes} passed, ${failures} failed`);
process.exit(failures === 0 ? 0 : 1);

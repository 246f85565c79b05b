// Screenshots of the statistics site for the user guide: the overview, the top killer's page and
// his opponents, the weapons page, the latest log's chat and the awards, at desktop and phone
// width, light and dark, and from a database the top killer's history.
// Usage: node screenshots.mjs SITE_FOLDER OUTPUT_FOLDER
import fs from "node:fs";
import path from "node:path";
import { pathToFileURL } from "node:url";
import { launchChromium } from "./browser.mjs";

const [site, output] = process.argv.slice(2);
const data = JSON.parse(fs.readFileSync(path.join(site, "data.json"), "utf8"));
const top = data.top.mostKills[0] || 1;
const topPage = (data.players.find((p) => p.id === top && p.page) || data.players.find((p) => p.page)).page;
// The latest log's voice chat, as the overview links it.
const latestChat = fs.readFileSync(path.join(site, "index.html"), "utf8")
  .match(/<ul class="latest"><li>[^<]*<a href="([^"]+)"/)[1];
const pages = [["overview", "index.html"], ["player", topPage],
               ["opponents", topPage.replace(/^players\//, "opponents/")],
               ["weapons", "weapons.html"], ["chat", latestChat], ["awards", "awards.html"]];
const widths = [["desktop", 1100, 900], ["phone", 375, 800]];
fs.mkdirSync(output, { recursive: true });
const { browser, close } = await launchChromium();
try {
  const page = await browser.newPage();
  for (const scheme of ["light", "dark"]) {
    await page.emulateMediaFeatures([{ name: "prefers-color-scheme", value: scheme }]);
    for (const [device, width, height] of widths) {
      await page.setViewport({ width, height });
      for (const [name, file] of pages) {
        await page.goto(pathToFileURL(path.join(site, file)).href, { waitUntil: "load" });
        await page.screenshot({ path: path.join(output, `site-${name}-${device}-${scheme}.png`) });
      }
      // A database's site: the top player's history, log by log.
      await page.goto(pathToFileURL(path.join(site, pages[1][1])).href, { waitUntil: "load" });
      const history = await page.$("#log-by-log");
      if (history)
        await history.screenshot({ path: path.join(output, `site-history-${device}-${scheme}.png`) });
    }
  }
} finally {
  await close();
}

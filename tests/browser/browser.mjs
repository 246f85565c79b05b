// Starts Debian's Chromium through puppeteer-core with a fresh profile; nothing is downloaded.
import puppeteer from "puppeteer-core";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";

export async function launchChromium() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "qla-chromium-"));
  const browser = await puppeteer.launch({
    executablePath: process.env.QLA_CHROMIUM || "/usr/bin/chromium",
    headless: true,
    args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
           "--disable-background-networking", "--disable-component-update", "--disable-sync",
           `--user-data-dir=${profile}`],
  });
  const close = async () => {
    await browser.close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return { browser, close };
}

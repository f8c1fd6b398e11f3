// Firefox as Debian has it (firefox-esr), driven by puppeteer over WebDriver
// BiDi. Needs an X server: headless, it gives the page no WebGL. The same few
// calls as the WebKit client (webkit.mjs): open a page (640 x 480), run a
// script in it, press keys, take the picture of an element, and read what
// the page wrote to its console.
import { stat } from "node:fs/promises";
import puppeteer from "puppeteer-core";
import { sleep } from "./harness.mjs";
import { decodePng } from "./png.mjs";

export const FIREFOX = process.env.GLIMMERDEEP_FIREFOX || "/usr/bin/firefox-esr";

export async function launchFirefox() {
  await stat(FIREFOX).catch(() => {
    throw new Error(`no browser at ${FIREFOX}: tools/install-packages.sh web installs Debian's firefox-esr`);
  });
  const browser = await puppeteer.launch({
    browser: "firefox", executablePath: FIREFOX, headless: false,
    defaultViewport: { width: 640, height: 480 },
  });
  const page = await browser.newPage();
  const errors = [];
  let lines = [];
  page.on("pageerror", (error) => errors.push(error.message));
  page.on("console", (message) => lines.push(message.text()));
  return {
    errors,
    open: (url) => {
      lines = [];
      return page.goto(url);
    },
    run: (script, ...args) => page.evaluate(new Function(script), ...args),
    // The page's console since it was opened, a line a call.
    console: async () => lines,
    async press(key, hold = 150) {
      await page.keyboard.down(key);
      await sleep(hold);
      await page.keyboard.up(key);
      await sleep(150);
    },
    async shot(selector) {
      const box = await page.$eval(selector, (e) => {
        const r = e.getBoundingClientRect();
        return { x: r.x, y: r.y, width: r.width, height: r.height };
      });
      return decodePng(Buffer.from(await page.screenshot({ clip: box, encoding: "base64" }), "base64"));
    },
    close: () => browser.close(),
  };
}

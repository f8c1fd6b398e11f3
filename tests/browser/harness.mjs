// What the browser tests share: a static server for the built site on the
// loopback, Debian's Chromium headless with its software WebGL, the game's
// page with its console kept, and pictures read back from the page.
import { createServer } from "node:http";
import { readFile, stat } from "node:fs/promises";
import { extname, join, normalize, resolve } from "node:path";
import puppeteer from "puppeteer-core";
import { decodePng } from "./png.mjs";

const TYPES = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript",
  ".mjs": "text/javascript",
  ".wasm": "application/wasm",
  ".data": "application/octet-stream",
  ".png": "image/png",
};

// Serves the files of `root` on 127.0.0.1, at a port the system picks.
export async function startServer(root) {
  root = resolve(root);
  const server = createServer(async (request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, "http://127.0.0.1").pathname));
    const file = join(root, path.endsWith("/") ? path + "index.html" : path);
    if (!file.startsWith(root)) {
      response.writeHead(403).end();
      return;
    }
    try {
      const body = await readFile(file);
      response.writeHead(200, {
        "Content-Type": TYPES[extname(file)] || "application/octet-stream",
        "Cache-Control": "no-store",
      });
      response.end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((done) => server.listen(0, "127.0.0.1", done));
  return {
    url: `http://127.0.0.1:${server.address().port}/`,
    close: () => {
      server.closeAllConnections();
      return new Promise((done) => server.close(done));
    },
  };
}

export const CHROMIUM = process.env.GLIMMERDEEP_CHROMIUM || "/usr/bin/chromium";

// A fresh profile each time (puppeteer's default), so storage starts empty.
export async function launchBrowser() {
  await stat(CHROMIUM).catch(() => {
    throw new Error(`no browser at ${CHROMIUM}: tools/install-packages.sh web installs Debian's chromium`);
  });
  return puppeteer.launch({
    executablePath: CHROMIUM,
    headless: true,
    args: [
      "--no-sandbox",
      "--use-angle=swiftshader",
      "--enable-unsafe-swiftshader",
      "--window-size=800,700",
      // A desktop browser's own rule, which headless runs leave out: no
      // sound before the player has pressed or clicked something.
      "--autoplay-policy=document-user-activation-required",
    ],
    defaultViewport: { width: 800, height: 700 },
  });
}

// What the program prints that is not an error: the GL emulation's three
// warnings at start, and the figures that ?pacing=1 and ?rates=1 ask for.
const KNOWN_STDERR = [/^WARNING: using emscripten GL /, /^pacing /];

// A page of the game in its own browser context (its own storage), its
// console and uncaught errors kept.
export async function openGame(browser, server, { query = "", context = null, before = null } = {}) {
  context = context || (await browser.createBrowserContext());
  const page = await context.newPage();
  const game = { context, page, console: [], errors: [] };
  page.on("console", (message) => game.console.push({ type: message.type(), text: message.text() }));
  page.on("pageerror", (error) => game.errors.push(error.message));
  if (before) await page.evaluateOnNewDocument(before);
  game.started = Date.now();
  await page.goto(server.url + "index.html" + query);
  return game;
}

// The console's errors that are not the known ones, and the page's uncaught
// exceptions.
export function unexpectedErrors(game) {
  const errors = game.console
    .filter((m) => m.type === "error" && !KNOWN_STDERR.some((known) => known.test(m.text)))
    .map((m) => m.text);
  return errors.concat(game.errors);
}

export const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// Waits until `probe` gives something true, trying every `every` ms.
export async function waitFor(what, probe, timeout = 30000, every = 100) {
  const end = Date.now() + timeout;
  for (;;) {
    const value = await probe();
    if (value) return value;
    if (Date.now() > end) throw new Error(`gave up waiting for ${what} after ${timeout} ms`);
    await sleep(every);
  }
}

// A key held for a few updates, as a player presses it: the game reads keys
// held, not only pressed, once an update.
export async function tap(page, key, hold = 150, after = 150) {
  await page.keyboard.down(key);
  await sleep(hold);
  await page.keyboard.up(key);
  await sleep(after);
}

// Reads from the page as an onlooker: puppeteer's own evaluations count as
// the player's gestures, which would let the page start its sound.
const sessions = new WeakMap();
export async function quietly(page, expression) {
  let cdp = sessions.get(page);
  if (!cdp) {
    cdp = await page.createCDPSession();
    sessions.set(page, cdp);
  }
  const result = await cdp.send("Runtime.evaluate", { expression, returnByValue: true, userGesture: false });
  if (result.exceptionDetails)
    throw new Error(result.exceptionDetails.exception?.description || result.exceptionDetails.text);
  return result.result.value;
}

// The canvas as the page shows it, taken as an onlooker too.
export async function canvasShot(page) {
  const box = await quietly(page, `(() => {
    const r = document.getElementById("canvas").getBoundingClientRect();
    return { x: r.x, y: r.y, width: r.width, height: r.height, scale: 1 };
  })()`);
  const cdp = sessions.get(page);
  const shot = await cdp.send("Page.captureScreenshot", { format: "png", clip: box });
  return decodePng(Buffer.from(shot.data, "base64"));
}

// The mean difference of two pictures of the same size over blocks of
// `block` pixels, per channel (0..255), and the share of blocks off by more
// than `far`: detail that moves (bubbles, the text's wave) shifts single
// pixels, a wrong picture shifts whole blocks.
export function blockDifference(a, b, { block = 8, far = 40, x0 = 0, y0 = 0, x1 = a.width, y1 = a.height } = {}) {
  if (a.width !== b.width || a.height !== b.height)
    throw new Error(`sizes differ: ${a.width}x${a.height} and ${b.width}x${b.height}`);
  let total = 0, count = 0, farBlocks = 0;
  for (let by = y0; by + block <= y1; by += block) {
    for (let bx = x0; bx + block <= x1; bx += block) {
      let diff = 0;
      for (let c = 0; c < 3; c++) {
        let sa = 0, sb = 0;
        for (let y = by; y < by + block; y++)
          for (let x = bx; x < bx + block; x++) {
            sa += a.rgba[(y * a.width + x) * 4 + c];
            sb += b.rgba[(y * b.width + x) * 4 + c];
          }
        diff += Math.abs(sa - sb) / (block * block);
      }
      diff /= 3;
      total += diff;
      count++;
      if (diff > far) farBlocks++;
    }
  }
  return { mean: total / count, far: farBlocks / count };
}

// How many different colours a picture holds: a blank or cleared canvas has
// one or two.
export function distinctColours(image) {
  const seen = new Set();
  for (let i = 0; i < image.width * image.height; i++) {
    seen.add(image.rgba.readUInt32BE(i * 4));
    if (seen.size > 5000) break;
  }
  return seen.size;
}

export function pixel(image, x, y) {
  const i = (y * image.width + x) * 4;
  return [image.rgba[i], image.rgba[i + 1], image.rgba[i + 2]];
}

// What the browser tests share: a static server for the built site on the
// loopback, Debian's Chromium headless with its software WebGL, the game's
// page with its console kept, and pictures read back from the page.
import { execFileSync } from "node:child_process";
import { mkdirSync, mkdtempSync, readFileSync, rmSync } from "node:fs";
import { createServer } from "node:http";
import { readFile, stat } from "node:fs/promises";
import { tmpdir } from "node:os";
import { dirname, extname, join, normalize, resolve } from "node:path";
import { fileURLToPath } from "node:url";
import puppeteer from "puppeteer-core";
import { decodePng } from "./png.mjs";

export const ROOT = resolve(dirname(fileURLToPath(import.meta.url)), "../..");
export const SITE = process.env.GLIMMERDEEP_SITE || join(ROOT, "build-web/site");
const MENU_FRAME = process.env.GLIMMERDEEP_MENU_FRAME_TOOL || join(ROOT, "build/tests/menu_frame");

const TYPES = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript",
  ".mjs": "text/javascript",
  ".wasm": "application/wasm",
  ".data": "application/octet-stream",
  ".png": "image/png",
  ".webmanifest": "application/manifest+json",
};

// Serves the files of `root` on 127.0.0.1, at a port the system picks;
// `serve(other)` serves another folder at the same address from then on (a
// new build deployed), and `offline(true)` answers nothing as a network
// that is gone would.
export async function startServer(root) {
  root = resolve(root);
  let down = false;
  const server = createServer(async (request, response) => {
    if (down) {
      request.socket.destroy();
      return;
    }
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
    serve: (other) => { root = resolve(other); },
    offline: (gone) => { down = gone; },
    close: () => {
      server.closeAllConnections();
      return new Promise((done) => server.close(done));
    },
  };
}

export const CHROMIUM = process.env.GLIMMERDEEP_CHROMIUM || "/usr/bin/chromium";

// A fresh profile each time (puppeteer's default), so storage starts empty.
// Pages are 640 x 480 unless a test sizes its own: small enough that the
// page gives the game all of it, so that the canvas is the desktop's window.
export async function launchBrowser({ args = [] } = {}) {
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
      ...args,
    ],
    defaultViewport: { width: 640, height: 480 },
  });
}

// A phone or tablet as Chromium emulates one: touch only, its screen's size
// in page pixels and its pixel ratio.
export function phone(width, height, deviceScaleFactor = 1) {
  return {
    viewport: { width, height, deviceScaleFactor, isMobile: true, hasTouch: true },
    userAgent: "Mozilla/5.0 (Linux; Android 14; Pixel 8) AppleWebKit/537.36 (KHTML, like Gecko) " +
      "Chrome/156.0 Mobile Safari/537.36",
  };
}

// What the program prints that is not an error: the GL emulation's three
// warnings at start, and the figures that ?pacing=1 and ?rates=1 ask for.
const KNOWN_STDERR = [/^WARNING: using emscripten GL /, /^pacing /];

// A page of the game in its own browser context (its own storage), its
// console and uncaught errors kept.
export async function openGame(browser, server, { query = "", context = null, before = null, device = null } = {}) {
  context = context || (await browser.createBrowserContext());
  const page = await context.newPage();
  if (device) await page.emulate(device);
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

// What the program prints with ?pacing=1 (host/pacing.cpp), read from the
// console's lines: its moments, "pacing moment=NAME at=SECONDS", the first of
// each name kept, in seconds from the page's time origin (the start of the
// navigation); and its seconds, "pacing updates=... end_at=SECONDS", each
// over a second or a little more of the frame loop. The programs run from
// outside read them with PacingRecord (tests/harness/pacing_lines.h).
export function readPacing(lines) {
  const moments = new Map();
  const seconds = [];
  for (const line of lines) {
    const moment = /^pacing moment=(\S+) at=([\d.]+)/.exec(line);
    if (moment) {
      if (!moments.has(moment[1])) moments.set(moment[1], Number(moment[2]));
      continue;
    }
    const second = /^pacing updates=(\d+) frames=(\d+) longest_gap_ms=([\d.]+) span_ms=([\d.]+) end_at=([\d.]+)/
      .exec(line);
    if (second) {
      const [updates, frames, gapMs, spanMs, endAt] = second.slice(1).map(Number);
      seconds.push({ updates, frames, gapMs, spanMs, endAt });
    }
  }
  return { moments, seconds };
}

// When the game's page printed the moment `name`, in seconds from its time
// origin; null when it has not (yet).
export function paced(game, name) {
  return readPacing(game.console.map((m) => m.text)).moments.get(name) ?? null;
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

// The desktop build's settled main menu at a size, as the browser build
// shows it (build/tests/menu_frame), made once a size.
const menus = new Map();
export function referenceMenu(width = 640, height = 480) {
  const key = `${width}x${height}`;
  if (!menus.has(key)) {
    const scratch = mkdtempSync(join(tmpdir(), "glimmerdeep-menu-"));
    try {
      const file = join(scratch, "menu.png");
      execFileSync(MENU_FRAME, [file, "300", String(width), String(height)], { stdio: ["ignore", "ignore", "inherit"] });
      menus.set(key, decodePng(readFileSync(file)));
    } finally {
      rmSync(scratch, { recursive: true, force: true });
    }
  }
  return menus.get(key);
}

// Where the page shows the canvas, in page pixels, and its drawing buffer.
export async function canvasBox(page) {
  return quietly(page, `(() => {
    const r = document.getElementById("canvas").getBoundingClientRect();
    return { x: r.x, y: r.y, width: r.width, height: r.height, bufferWidth: canvas.width, bufferHeight: canvas.height };
  })()`);
}

// The page point over item `index` of a menu list of `count` items, laid out
// as the game lays its lists: a virtual screen 800 wide or high, the items
// 48 apart up from its bottom, their text from a quarter of its width.
export function menuItemPoint(box, index, count) {
  const scale = Math.max(box.bufferWidth, box.bufferHeight) / 800;
  const W = box.bufferWidth / scale, H = box.bufferHeight / scale;
  const shown = box.width / box.bufferWidth;
  return { x: box.x + (W * 0.25 + 60) * scale * shown, y: box.y + (H - 48 * (count - index)) * scale * shown };
}

// From the menu, Options, the Framerate row On, and Back, which saves. The
// list: Back, SFX, Music, the two Invert Y rows, Framerate.
export async function turnFrameRateOn(game) {
  await tap(game.page, "ArrowDown");
  await tap(game.page, "Enter");
  for (let i = 0; i < 5; i++) await tap(game.page, "ArrowDown");
  await tap(game.page, "Enter");
  for (let i = 0; i < 5; i++) await tap(game.page, "ArrowUp");
  await tap(game.page, "Enter");
}

// The state file: "RUVO_v2.0|", then the saved settings; the frame-rate
// overlay's setting is the 23rd.
export async function savedFrameRate(page) {
  return page.evaluate(() => {
    try {
      return FS.readFile("/save/.vantlestate", { encoding: "utf8" }).split("|")[23];
    } catch (error) {
      return "no state file: " + error;
    }
  });
}


// The page at its new size, laid out: resize events come before the next
// frame's drawing.
export async function resized(page, width) {
  await waitFor(`the page ${width} wide`, async () => (await page.evaluate(() => innerWidth)) === width, 5000);
  await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));
}


// The settled menu at the canvas's present size, as the desktop draws it in
// a window of that size.
export async function waitForMenuAt(game) {
  const box = await canvasBox(game.page);
  const reference = referenceMenu(box.bufferWidth, box.bufferHeight);
  let closest = Infinity;
  return waitFor(`the menu at ${box.bufferWidth} x ${box.bufferHeight}`, async () => {
    const shot = await canvasShot(game.page);
    if (shot.width !== reference.width) return false;
    const d = blockDifference(shot, reference);
    closest = Math.min(closest, d.mean);
    return d.mean < 2 && d.far < 0.01 && shot;
  }).catch((error) => {
    throw new Error(`${error.message} (closest mean difference ${closest.toFixed(2)})`);
  });
}


// Runs `body` with a page of the game, closing the page's context however
// the body ends: a page left running would slow every test after it.
// A failing test leaves the page as it was in build-web/test-failures/.
let failures = 0;
export async function withGame(browser, server, options, body) {
  const game = await openGame(browser, server, options);
  try {
    await body(game);
  } catch (error) {
    const folder = join(ROOT, "build-web/test-failures");
    mkdirSync(folder, { recursive: true });
    const file = join(folder, `${process.pid}-${++failures}.png`);
    await game.page.screenshot({ path: file }).catch(() => {});
    error.message += ` (the page as it was: ${file})`;
    throw error;
  } finally {
    await game.context.close();
  }
}

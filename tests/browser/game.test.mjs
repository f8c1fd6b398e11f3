// The browser build played in Debian's Chromium, headless, with its software
// WebGL: the page served from build-web/site on the loopback, keys and
// clicks sent as a player's, the canvas read back from the page. Run by
// tools/test.sh after tools/web.sh; needs an X server for the desktop's
// reference frames (build/tests/menu_frame).
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { join } from "node:path";
import {
  blockDifference, canvasBox, canvasShot, distinctColours, launchBrowser, paced, pixel, quietly, referenceMenu,
  resized, savedFrameRate, SITE, sleep, startServer, tap, turnFrameRateOn, unexpectedErrors, waitFor,
  waitForMenuAt, withGame as withPage,
} from "./harness.mjs";

let server, browser, menu;

before(async () => {
  readFileSync(join(SITE, "glimmerdeep.wasm"));  // fails, naming the file, before tools/web.sh has run
  menu = referenceMenu(640, 480);
  server = await startServer(SITE);
  browser = await launchBrowser();
});

after(async () => {
  await browser?.close();
  await server?.close();
});

const withGame = (options, body) => withPage(options.browser || browser, server, options, body);

// The settled menu, as close to the desktop's as the same picture drawn twice.
function isMenu(shot) {
  const d = blockDifference(shot, menu);
  return d.mean < 2 && d.far < 0.01;
}

async function waitForMenu(game) {
  return waitFor("the menu", async () => {
    const shot = await canvasShot(game.page);
    return isMenu(shot) && shot;
  });
}

function assertCleanConsole(game) {
  assert.deepEqual(unexpectedErrors(game), [], "the console shows no error beyond the GL emulation's warnings");
}

// The left of the screen, where the pause screen puts its icons, short of its
// turning rings.
const PAUSE_ICONS = { x1: 200 };

// Two frames of the canvas, 700 ms apart: what moves between them.
async function twoFrames(page) {
  const first = await canvasShot(page);
  await sleep(700);
  return [first, await canvasShot(page)];
}

// The menu with its cursor moved: above the items, the settled menu.
const isMenuAbove = (shot) => blockDifference(shot, menu, { y1: 320 }).mean < 2;

// From the menu, Enter, Enter: a game of Normal, a second under way.
async function startGame(game) {
  await waitForMenu(game);
  await tap(game.page, "Enter");
  await tap(game.page, "Enter");
  await waitFor("the game's start", () => paced(game, "game_start"), 5000);
  await sleep(1000);
}

// From the menu, Options and straight Back, which saves the settings as
// they are.
async function saveFromOptions(game) {
  await tap(game.page, "ArrowDown");
  await tap(game.page, "Enter");
  await tap(game.page, "Enter");
}

// The loading screen's backdrop, in the corner of the canvas.
const LOADING_BACKDROP = [180, 160, 126];
const near = (a, b, tolerance = 12) => a.every((v, i) => Math.abs(v - b[i]) <= tolerance);

test("the page loads, draws the loading screen, then the menu as the desktop draws it", async () => {
  await withGame({}, async (game) => {
    // The menu flies in and then stands still: once settled it is the
    // desktop's, pixel for pixel (the closest seen is in the message).
    let loading = null;
    let closest = Infinity;
    const shot = await waitFor("the desktop's menu, pixel for pixel", async () => {
      const shot = await canvasShot(game.page);
      if (!loading && near(pixel(shot, 4, 4), LOADING_BACKDROP) && distinctColours(shot) > 1000) loading = shot;
      const exact = blockDifference(shot, menu, { block: 1 }).mean;
      closest = Math.min(closest, exact);
      return exact < 1 && shot;
    }, 30000, 20).catch((error) => {
      throw new Error(`${error.message} (closest mean difference ${closest.toFixed(3)})`);
    });
    assert.ok(loading, "the loading screen was drawn before the menu");
    assert.ok(blockDifference(loading, menu).mean > 20, "and is not the menu");
    assert.ok(distinctColours(shot) > 1000, "the menu is a picture, not a cleared canvas");
    assert.equal(await game.page.title(), "Glimmerdeep");
    assertCleanConsole(game);
  });
});

test("Enter, Enter starts a game; Escape pauses it and Escape again plays on", async () => {
  await withGame({ query: "?pacing=1" }, async (game) => {
    await startGame(game);
    // Play moves the cave's left side (sonar, hazards, the diver's bubbles)
    // between two frames; the pause screen freezes it and draws its own
    // picture on the right.
    const play = await twoFrames(game.page);
    assert.ok(blockDifference(play[0], play[1], PAUSE_ICONS).mean > 0.5, "the cave moves in play");

    await tap(game.page, "Escape");
    await sleep(700);
    const paused = await twoFrames(game.page);
    assert.ok(blockDifference(paused[0], paused[1], PAUSE_ICONS).mean < 0.1, "the pause screen's icons stand still");
    assert.ok(blockDifference(play[1], paused[0]).mean > 5, "the pause screen is drawn instead");

    await tap(game.page, "Escape");
    await sleep(700);
    const resumed = await twoFrames(game.page);
    assert.ok(blockDifference(resumed[0], resumed[1], PAUSE_ICONS).mean > 0.5, "Escape again plays on");
    assertCleanConsole(game);
  });
});

test("a changed setting is kept in the page's storage and survives a reload", async () => {
  await withGame({}, async (game) => {
    await waitForMenu(game);
    await turnFrameRateOn(game);
    await waitFor("the save to reach the storage", () => game.page.evaluate(() => Module.storage.saves > 0), 5000);
    assert.equal(await savedFrameRate(game.page), "1");

    await game.page.reload();
    await waitFor("the game to run again", () => game.page.evaluate(() => Module.storage && Module.storage.loaded), 15000);
    assert.equal(await savedFrameRate(game.page), "1", "read back from the storage");
    // The menu, with the frame-rate line along its bottom left.
    const shot = await waitFor("the menu with the frame-rate line", async () => {
      const shot = await canvasShot(game.page);
      const rest = blockDifference(shot, menu, { y1: 400 });
      const line = blockDifference(shot, menu, { x1: 320, y0: 440, y1: 464 });
      return rest.mean < 2 && line.mean > 3 && shot;
    });
    assert.ok(shot);
    assertCleanConsole(game);
  });
});

// IndexedDB opens as usual, except the first time in a page, which fails:
// a storage that answered once and then not.
function failFirstOpen() {
  const open = IDBFactory.prototype.open;
  let failed = false;
  IDBFactory.prototype.open = function (...args) {
    if (failed) return open.apply(this, args);
    failed = true;
    const request = { result: null, error: new DOMException("refused", "UnknownError") };
    setTimeout(() => request.onerror && request.onerror({ target: request, preventDefault() {} }), 0);
    return request;
  };
}

test("a storage that could not be read is not written over", async () => {
  await withGame({}, async (game) => {
    await waitForMenu(game);
    await turnFrameRateOn(game);
    await waitFor("the save to reach the storage", () => game.page.evaluate(() => Module.storage.saves > 0), 5000);

    // The same page again, its storage failing to read: the game starts
    // from the defaults, and its save stays in the page.
    await game.page.evaluateOnNewDocument(failFirstOpen);
    await game.page.reload();
    await waitForMenu(game);
    assert.equal(await game.page.evaluate(() => Module.storage.loaded), false);
    await saveFromOptions(game);  // the defaults
    await sleep(500);
    assert.equal(await savedFrameRate(game.page), "0", "the defaults, in the page's folder");

    // A page that reads the storage finds the player's setting still there.
    const again = await game.context.newPage();
    await again.goto(server.url + "index.html");
    await waitFor("the storage read", () => again.evaluate(() => Module.storage && Module.storage.loaded), 15000);
    assert.equal(await savedFrameRate(again), "1", "the stored setting survived");
  });
});

test("without the page's storage the game plays on and says so once", async () => {
  // As in a private window that refuses IndexedDB.
  await withGame({
    before: () => Object.defineProperty(window, "indexedDB", { get: () => { throw new Error("refused"); } }),
  }, async (game) => {
    await waitForMenu(game);
    await saveFromOptions(game);
    await sleep(500);
    assert.equal(await savedFrameRate(game.page), "0", "the save went to the page's own folder");
    assert.ok(isMenuAbove(await canvasShot(game.page)), "the menu again, its cursor on Options");
    const warnings = game.console.filter((m) => m.text.includes("will not outlive this page"));
    assert.equal(warnings.length, 1, "one warning on the console");
    assert.equal(await game.page.evaluate(() => Module.exitStatus), undefined, "the game is still running");
    assertCleanConsole(game);
  });
});

test("the sound waits for the player's first key", async () => {
  await withGame({}, async (game) => {
    await waitForMenu(game);
    const state = () => quietly(game.page, "AL.currentCtx && AL.currentCtx.audioCtx.state");
    assert.equal(await state(), "suspended", "browsers hold sound until the player acts");
    await tap(game.page, "ArrowDown");
    await waitFor("the sound to start", async () => (await state()) === "running", 5000);
    const AL_PLAYING = 0x1012;
    assert.ok(await game.page.evaluate((playing) =>
      Object.values(AL.currentCtx.sources).some((source) => source.state === playing), AL_PLAYING), "the tune is playing");
    assertCleanConsole(game);
  });
});

// A pad the browser knows, reported through the Gamepad API in its standard
// layout: no pad can be plugged into this machine, so the page's list of pads
// is the test's.
function fakePad() {
  const buttons = Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 }));
  const pad = { id: "Test pad (STANDARD GAMEPAD)", index: 0, connected: true, mapping: "standard",
                timestamp: 0, axes: [0, 0, 0, 0], buttons };
  window.testPad = pad;
  navigator.getGamepads = () => [pad, null, null, null];
}

test("a standard pad through the Gamepad API: d-pad, A, Start", async () => {
  await withGame({ query: "?pacing=1", before: fakePad }, async (game) => {
    // A press as a player makes it, on the standard layout's numbering.
    const press = async (button) => {
      await game.page.evaluate((b) => { testPad.buttons[b] = { pressed: true, touched: true, value: 1 }; }, button);
      await sleep(150);
      await game.page.evaluate((b) => { testPad.buttons[b] = { pressed: false, touched: false, value: 0 }; }, button);
      await sleep(200);
    };
    const [A, START, UP, DOWN] = [0, 9, 12, 13];
    await waitForMenu(game);
    await press(DOWN);
    await press(A);
    await sleep(600);
    assert.ok(blockDifference(await canvasShot(game.page), menu).mean > 20, "d-pad down and A open Options");
    await press(A);  // its first row, Back
    await sleep(400);
    assert.ok(isMenuAbove(await canvasShot(game.page)), "A on Back: the menu");
    await press(UP);
    await press(A);
    await press(A);
    await waitFor("the game's start", () => paced(game, "game_start"), 5000);
    await sleep(1000);
    const play = await canvasShot(game.page);
    await press(START);
    await sleep(700);
    const paused = await twoFrames(game.page);
    assert.ok(blockDifference(play, paused[0]).mean > 5, "Start pauses");
    const still = blockDifference(paused[0], paused[1], PAUSE_ICONS).mean;
    assert.ok(still < 0.1, `and play waits (${still.toFixed(3)})`);
    assertCleanConsole(game);
  });
});

test("F4 ends the game with a closing picture over its last frame, and its sound", async () => {
  await withGame({}, async (game) => {
    await waitForMenu(game);
    const sound = () => quietly(game.page, "AL.currentCtx.audioCtx.state");
    await tap(game.page, "ArrowDown");
    await waitFor("the sound", async () => (await sound()) === "running", 5000);
    await tap(game.page, "F4");
    await waitFor("the program's end", () => game.page.evaluate(() => Module.exitStatus !== undefined), 5000);
    assert.equal(await game.page.evaluate(() => Module.exitStatus), 0);
    const end = await game.page.$eval("#end", (e) => ({ shown: getComputedStyle(e).display !== "none", text: e.innerText }));
    assert.ok(end.shown, "the closing picture is shown");
    assert.match(end.text, /Thanks for playing/);
    assert.ok(distinctColours(await canvasShot(game.page)) > 1000, "over the game's last frame");
    await waitFor("the sound to stop", async () => (await sound()) === "suspended", 5000);
    await sleep(500);
    assert.equal(await sound(), "suspended", "and stays stopped");
    assertCleanConsole(game);
  });
});

// The layout of the page and its canvas: where it is shown, and its pixels.
const layoutOf = (page) => page.evaluate(() => {
  const r = canvas.getBoundingClientRect();
  return { full: document.fullscreenElement && document.fullscreenElement.id,
           width: canvas.width, height: canvas.height, shown: [r.x, r.y, r.width, r.height] };
});

// Outside full screen: a title above, a line of help below, the game between
// them across the page's whole width, drawn at the size it is shown.
async function pageLayout(page) {
  const layout = await layoutOf(page);
  const title = await page.$eval("h1", (e) => e.getBoundingClientRect().bottom);
  const help = await page.$eval("#help", (e) => e.getBoundingClientRect().top);
  const width = await page.evaluate(() => innerWidth);
  assert.equal(layout.full, null);
  assert.deepEqual([layout.shown[0], layout.shown[2]], [0, width], "the page's whole width");
  const [top, bottom] = [layout.shown[1], layout.shown[1] + layout.shown[3]];
  assert.ok(top >= title && top - title < 12 && bottom <= help && help - bottom < 12,
    `between title and help, all the room there (${layout.shown}; ${title}, ${help})`);
  assert.deepEqual([layout.width, layout.height], [width, layout.shown[3]], "drawn at the size shown");
  return layout;
}

test("the page gives the game the room it has; F11 gives it the screen and gives the page back", async () => {
  await withGame({}, async (game) => {
    await game.page.setViewport({ width: 800, height: 700 });
    await resized(game.page, 800);
    await waitForMenuAt(game);
    const page = await pageLayout(game.page);
    assert.ok(page.shown[3] > 500, `the game has the height between title and help (${page.shown})`);

    // Full screen: the game draws at the screen's size, the menu as the
    // desktop's in a window of that size, pixel for pixel.
    await tap(game.page, "F11");
    await waitFor("the game on the whole screen, drawn at its size", async () => {
      const full = await layoutOf(game.page);
      const screen = await game.page.evaluate(() => [innerWidth, innerHeight]);
      return full.full === "stage" && JSON.stringify([full.width, full.height, ...full.shown]) ===
        JSON.stringify([...screen, 0, 0, ...screen]);
    }, 5000);
    await waitForMenuAt(game);
    await tap(game.page, "ArrowDown");  // the cursor on Options
    await tap(game.page, "F11");
    // The page settles into its own layout again, for the window it has.
    await waitFor("the page's own layout", async () => {
      try {
        return await pageLayout(game.page);
      } catch {
        return null;
      }
    }, 5000);
    // Leaving full screen at the game's own request is not a pause: the menu
    // still answers the keys.
    await tap(game.page, "ArrowUp");
    await waitForMenuAt(game);
    assertCleanConsole(game);
  });
});

test("a mouse button released off the canvas, or held while the page loses the focus, is released", async () => {
  await withGame({}, async (game) => {
    await game.page.setViewport({ width: 800, height: 700 });
    await resized(game.page, 800);
    await waitForMenuAt(game);
    const box = await canvasBox(game.page);
    // Pressed over the cave (no item), released on the title above it: the
    // menu answers the keys again at once (a button held keeps it still).
    const cases = [
      async () => {
        await game.page.mouse.move(box.x + box.width * 0.6, box.y + box.height * 0.3);
        await game.page.mouse.down();
        await sleep(200);
        await game.page.mouse.move(box.x + box.width * 0.6, box.y - 20, { steps: 4 });
        await game.page.mouse.up();
      },
      async () => {
        await game.page.mouse.move(box.x + box.width * 0.6, box.y + box.height * 0.3);
        await game.page.mouse.down();
        await sleep(200);
        await game.page.evaluate(() => {
          window.dispatchEvent(new Event("blur"));
          window.dispatchEvent(new Event("focus"));
        });
      },
    ];
    for (const [i, release] of cases.entries()) {
      const before = await canvasShot(game.page);
      await release();
      await sleep(300);
      await tap(game.page, i === 0 ? "ArrowDown" : "ArrowUp");
      await sleep(500);
      const items = blockDifference(before, await canvasShot(game.page), { y0: box.bufferHeight - 160 });
      assert.ok(items.mean > 1, `case ${i + 1}: the key moved the menu's cursor (${items.mean.toFixed(2)})`);
      await game.page.mouse.up().catch(() => {});
    }
    assertCleanConsole(game);
  });
});

test("the browser leaving full screen by itself pauses play; F11 does not", async () => {
  await withGame({ query: "?pacing=1" }, async (game) => {
    await startGame(game);
    await tap(game.page, "F11");
    await waitFor("full screen", async () => (await layoutOf(game.page)).full === "stage", 5000);
    await tap(game.page, "F11");
    await waitFor("the page back", async () => (await layoutOf(game.page)).full === null, 5000);
    // The page settles (the window may redraw late after full screen), and
    // the cave is still moving: no pause screen came up.
    const play = await waitFor("play going on after F11 there and back", async () => {
      const frames = await twoFrames(game.page);
      return blockDifference(frames[0], frames[1], PAUSE_ICONS).mean > 0.5 && frames;
    }, 10000, 0);

    await tap(game.page, "F11");
    await waitFor("full screen", async () => (await layoutOf(game.page)).full === "stage", 5000);
    await sleep(500);
    await game.page.evaluate(() => document.exitFullscreen());  // as the browser's Escape does
    await waitFor("the page back", async () => (await layoutOf(game.page)).full === null, 5000);
    await sleep(700);
    const paused = await twoFrames(game.page);
    assert.ok(blockDifference(play[1], paused[0]).mean > 5, "the pause screen is up");
    assert.ok(blockDifference(paused[0], paused[1], PAUSE_ICONS).mean < 0.1, "and play waits");
    assertCleanConsole(game);
  });
});

test("leaving the page pauses play, and play waits on the pause screen", async () => {
  await withGame({ query: "?pacing=1" }, async (game) => {
    await startGame(game);
    const play = await canvasShot(game.page);
    await game.page.evaluate(() => window.dispatchEvent(new Event("blur")));
    await sleep(700);
    const away = await twoFrames(game.page);
    assert.ok(blockDifference(away[0], away[1]).mean < 0.1, "nothing moves while the page is away");
    await game.page.evaluate(() => window.dispatchEvent(new Event("focus")));
    await sleep(700);
    const back = await twoFrames(game.page);
    assert.ok(blockDifference(play, back[0]).mean > 5, "the pause screen is up on coming back");
    assert.ok(blockDifference(back[0], back[1], PAUSE_ICONS).mean < 0.1, "and play waits");
    assertCleanConsole(game);
  });
});

test("a damaged download ends on the page's error picture, not a blank page", async () => {
  const context = await browser.createBrowserContext();
  try {
    const page = await context.newPage();
    await page.setRequestInterception(true);
    page.on("request", (request) => {
      if (request.url().endsWith(".wasm"))
        request.respond({ status: 200, contentType: "application/wasm", body: Buffer.from("not a program") });
      else request.continue();
    });
    await page.goto(server.url + "index.html");
    const end = await waitFor("the error picture", () => page.$eval("#end", (e) =>
      getComputedStyle(e).display !== "none" && e.innerText), 15000);
    assert.match(end, /The game stopped/);
  } finally {
    await context.close();
  }
});

test("a browser without WebGL is told so plainly, and nothing is loaded", async () => {
  const plain = await launchBrowser({ args: ["--disable-webgl", "--disable-3d-apis"] });
  try {
    const context = await plain.createBrowserContext();
    const page = await context.newPage();
    const requests = [];
    page.on("request", (request) => requests.push(request.url()));
    const errors = [];
    page.on("pageerror", (error) => errors.push(error.message));
    await page.goto(server.url + "index.html");
    const end = await waitFor("the page's message", () => page.$eval("#end", (e) =>
      getComputedStyle(e).display !== "none" && e.innerText), 10000);
    assert.match(end, /This game needs WebGL/);
    assert.match(end, /hardware/);
    assert.ok(!requests.some((url) => /glimmerdeep\.(js|wasm|data)/.test(url)), "the game is not downloaded");
    assert.deepEqual(errors, []);
  } finally {
    await plain.close();
  }
});

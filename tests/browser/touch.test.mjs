// The browser build on phones and tablets, as Chromium emulates them (touch
// only, their screens' sizes): the page fits the game and its touch controls
// into any shape, the controls play as a pad, and the browser's own gestures
// stay off the game. Run by tools/test.sh after tools/web.sh; needs an X
// server for the desktop's reference frames (build/tests/menu_frame).
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { join } from "node:path";
import {
  blockDifference, canvasBox, canvasShot, launchBrowser, menuItemPoint, paced, phone,
  resized, SITE, sleep, startServer, tap, unexpectedErrors, waitFor, waitForMenuAt, withGame,
} from "./harness.mjs";

let server, browser;

before(async () => {
  readFileSync(join(SITE, "glimmerdeep.wasm"));  // fails, naming the file, before tools/web.sh has run
  server = await startServer(SITE);
  browser = await launchBrowser();
});

after(async () => {
  await browser?.close();
  await server?.close();
});

const withPhone = (device, options, body) =>
  withGame(browser, server, { device, query: "?pacing=1", ...options }, body);

// Fingers on the screen through the DevTools protocol, several at once:
// every event lists the fingers down, as a touch screen reports them.
class Fingers {
  constructor(page) {
    this.page = page;
    this.down = new Map();
  }
  async send(type) {
    if (!this.cdp) this.cdp = await this.page.createCDPSession();
    const touchPoints = [...this.down].map(([id, p]) => ({ x: p.x, y: p.y, id }));
    await this.cdp.send("Input.dispatchTouchEvent", { type, touchPoints });
  }
  async press(id, x, y) {
    this.down.set(id, { x, y });
    await this.send("touchStart");
  }
  async move(id, x, y, steps = 4) {
    const from = this.down.get(id);
    for (let i = 1; i <= steps; i++) {
      this.down.set(id, { x: from.x + (x - from.x) * i / steps, y: from.y + (y - from.y) * i / steps });
      await this.send("touchMove");
    }
  }
  async lift(id) {
    this.down.delete(id);
    await this.send("touchEnd");
  }
  async tap(x, y, hold = 120) {
    await this.press(9, x, y);
    await sleep(hold);
    await this.lift(9);
    await sleep(250);
  }
}

const rectOf = (page, selector) => page.$eval(selector, (e) => {
  const r = e.getBoundingClientRect();
  return { x: r.x, y: r.y, width: r.width, height: r.height, shown: e.getClientRects().length > 0 };
});
const inside = (r, W, H) => r.x >= 0 && r.y >= 0 && r.x + r.width <= W + 0.5 && r.y + r.height <= H + 0.5;
const apart = (a, b) => a.x + a.width <= b.x + 0.5 || b.x + b.width <= a.x + 0.5 ||
  a.y + a.height <= b.y + 0.5 || b.y + b.height <= a.y + 0.5;

// Screens a player meets: phones upright and on their side, a narrow folding
// phone, tablets both ways.
const SHAPES = [
  [390, 844], [844, 390], [280, 653], [653, 280], [820, 1180], [1180, 820], [360, 740],
];

test("on a phone or tablet of any shape the game and its controls fit the screen, resized live", async () => {
  await withPhone(phone(390, 844), {}, async (game) => {
    await waitFor("the menu", () => paced(game, "menu"), 30000);
    for (const [W, H] of SHAPES) {
      const what = `${W} x ${H}`;
      await game.page.setViewport(phone(W, H).viewport);
      await resized(game.page, W);
      const box = await canvasBox(game.page);
      const canvas = { x: box.x, y: box.y, width: box.width, height: box.height };
      assert.ok(inside(canvas, W, H), `${what}: the game is on the screen (${JSON.stringify(canvas)})`);
      const ratio = box.width / box.height;
      assert.ok(ratio >= 3 / 4 - 0.01 && ratio <= 16 / 9 + 0.01, `${what}: a shape the game's screens fit (${ratio.toFixed(2)})`);
      assert.deepEqual([box.bufferWidth, box.bufferHeight], [Math.round(box.width), Math.round(box.height)],
        `${what}: drawn at the size shown`);
      assert.ok(box.width * box.height >= 0.45 * W * H, `${what}: the game has most of the screen`);
      for (const control of ["#stick", "#pause"]) {
        const r = await rectOf(game.page, control);
        assert.ok(r.shown && inside(r, W, H), `${what}: ${control} on the screen (${JSON.stringify(r)})`);
        assert.ok(apart(r, canvas), `${what}: ${control} beside the game, not over it`);
      }
      // A phone's screen is the game's alone; a tablet's has room for the
      // title and the help, clear of the game and its controls.
      const help = await rectOf(game.page, "#help");
      assert.equal(help.shown, W >= 500 && H >= 600, `${what}: the help line where there is room`);
      if (help.shown) assert.ok(inside(help, W, H) && apart(help, canvas), `${what}: the help clear of the game`);
    }
    // Upright and on its side: the game draws its menu as the desktop does in
    // a window of that size.
    for (const [W, H] of [[390, 844], [844, 390]]) {
      await game.page.setViewport(phone(W, H).viewport);
      await resized(game.page, W);
      await waitForMenuAt(game);
    }
    assert.deepEqual(unexpectedErrors(game), []);
  });
});

test("a phone's fine screen gets a sharp picture, up to twice the page's pixels", async () => {
  for (const [scale, expected] of [[2, 2], [3, 2]]) {
    await withPhone(phone(390, 844, scale), {}, async (game) => {
      await waitFor("the menu", () => paced(game, "menu"), 30000);
      const box = await canvasBox(game.page);
      assert.deepEqual([box.bufferWidth, box.bufferHeight], [box.width * expected, box.height * expected],
        `pixel ratio ${scale}`);
      assert.match(await game.page.$eval("#help", (e) => e.textContent), /^Tap the menus/, "the help speaks of touch");
    });
  }
});

// A phone on its side whose game area is the desktop's 640 x 480 window.
const LANDSCAPE = phone(1000, 480);

// Where the stick rests and how far it reaches, in page pixels.
async function stickAt(page) {
  return page.evaluate(() => {
    const r = document.getElementById("stick-base").getBoundingClientRect();
    return { x: r.x + r.width / 2, y: r.y + r.height / 2, reach: r.width / 2 };
  });
}

test("taps choose from the menus; the stick steers as a pad's left stick; pause works with it held", async () => {
  await withPhone(LANDSCAPE, {}, async (game) => {
    const page = game.page;
    const fingers = new Fingers(page);
    await waitForMenuAt(game);
    const box = await canvasBox(page);
    assert.deepEqual([box.width, box.height, box.bufferWidth, box.bufferHeight], [640, 480, 640, 480]);
    const menu = await canvasShot(page);
    const items = (shot) => blockDifference(shot, menu, { y0: 340 }).mean;
    const stick = await stickAt(page);

    // A push inside the dead zone moves nothing; a push down moves the cursor
    // to Options as a pad's stick does, a push up brings it back.
    const push = async (dy) => {
      await fingers.press(1, stick.x, stick.y);
      await fingers.move(1, stick.x, stick.y + dy * stick.reach);
      await sleep(250);
      await fingers.lift(1);
      await sleep(400);
    };
    const pad = () => page.evaluate(() => navigator.getGamepads().filter(Boolean).map((p) => p.id));
    assert.deepEqual(await pad(), ["Glimmerdeep touch controls (STANDARD GAMEPAD)"], "the controls are a pad");
    await push(0.1);
    assert.ok(items(await canvasShot(page)) < 1, "a push in the dead zone does nothing");
    await push(1);
    assert.ok(items(await canvasShot(page)) > 2, "a push down: the cursor on Options");
    await push(-1);
    assert.ok(items(await canvasShot(page)) < 1, "a push up: back on Start Game");

    // Tapped: Start Game, then Normal (the difficulty list's middle item).
    const start = menuItemPoint(box, 0, 3);
    await fingers.tap(start.x, start.y);
    await sleep(800);
    const normal = menuItemPoint(box, 1, 3);
    await fingers.tap(normal.x, normal.y);
    await waitFor("the game's start", () => paced(game, "game_start"), 5000);
    await sleep(1500);

    // Steering: the stick's reading is the pad's left stick, pushed fully up.
    await fingers.press(1, stick.x, stick.y);
    await fingers.move(1, stick.x, stick.y - stick.reach * 1.5);
    const axes = await page.evaluate(() => navigator.getGamepads().filter(Boolean)[0].axes.slice(0, 2));
    assert.ok(Math.abs(axes[0]) < 0.01 && Math.abs(axes[1] + 1) < 0.01, `the stick full up (${axes})`);
    await sleep(600);
    const play = await canvasShot(page);
    await sleep(300);
    assert.ok(blockDifference(play, await canvasShot(page), { x1: 400 }).mean > 0.5, "the cave moves in play");

    // A second finger on the pause button while the first still steers.
    const pause = await rectOf(page, "#pause");
    await fingers.press(2, pause.x + pause.width / 2, pause.y + pause.height / 2);
    await sleep(150);
    await fingers.lift(2);
    await sleep(800);
    const paused = [await canvasShot(page)];
    await sleep(700);
    paused.push(await canvasShot(page));
    await fingers.lift(1);
    assert.ok(blockDifference(play, paused[0]).mean > 5, "the pause screen is up");
    assert.ok(blockDifference(paused[0], paused[1], { x1: 200 }).mean < 0.1, "and play waits");
    assert.deepEqual(unexpectedErrors(game), []);
  });
});

// A pad of the browser's, in the standard layout, whose buttons the test
// presses (no pad can be plugged into this machine).
function testPad() {
  const buttons = Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 }));
  window.testPad = { id: "Test pad (STANDARD GAMEPAD)", index: 0, connected: true, mapping: "standard",
                     timestamp: 0, axes: [0, 0, 0, 0], buttons };
  navigator.getGamepads = () => [window.testPad, null, null, null];
}

test("a key or a real pad puts the touch controls away and gives the game the room; a touch brings them back", async () => {
  await withPhone(phone(844, 390), { before: testPad }, async (game) => {
    const page = game.page;
    const fingers = new Fingers(page);
    await waitFor("the menu", () => paced(game, "menu"), 30000);
    const controls = async () => ({
      shown: (await rectOf(page, "#touch")).shown, width: (await canvasBox(page)).bufferWidth,
      pads: await page.evaluate(() => navigator.getGamepads().filter(Boolean).length),
    });
    const withControls = await controls();
    assert.deepEqual([withControls.shown, withControls.pads], [true, 2]);
    assert.match(await page.$eval("#help", (e) => e.textContent), /^Tap the menus/);

    await tap(page, "Shift");
    const keys = await controls();
    assert.deepEqual([keys.shown, keys.width, keys.pads], [false, 693, 1],
      "a key: the game as wide as its widest shape, 16:9");
    await fingers.tap(422, 20);
    assert.deepEqual(await controls(), withControls, "a touch: the controls are back");

    await page.evaluate(() => { testPad.buttons[1] = { pressed: true, touched: true, value: 1 }; });
    await sleep(300);
    await page.evaluate(() => { testPad.buttons[1] = { pressed: false, touched: false, value: 0 }; });
    assert.equal((await controls()).shown, false, "a pad in use: away again");
    assert.deepEqual(unexpectedErrors(game), []);
  });
});

test("the browser's own gestures stay off the game: no scroll, zoom, selection or long-press menu", async () => {
  await withPhone(phone(390, 844), {}, async (game) => {
    const page = game.page;
    const fingers = new Fingers(page);
    await waitFor("the menu", () => paced(game, "menu"), 30000);
    const style = await page.evaluate(() => {
      const s = getComputedStyle(document.body);
      return [s.touchAction, s.userSelect || s.webkitUserSelect, s.overscrollBehaviorY];
    });
    assert.deepEqual(style, ["none", "none", "none"]);
    // A pinch and a swipe over the game, and a long press.
    const box = await canvasBox(page);
    const cx = box.x + box.width / 2, cy = box.y + box.height / 2;
    await fingers.press(1, cx - 20, cy);
    await fingers.press(2, cx + 20, cy);
    await fingers.move(1, cx - 150, cy - 100, 8);
    await fingers.move(2, cx + 150, cy + 100, 8);
    await fingers.lift(2);
    await fingers.lift(1);
    await fingers.press(1, cx, box.y + 40);
    await fingers.move(1, cx, box.y + box.height - 40, 8);
    await fingers.lift(1);
    const menuShown = page.evaluate(() => new Promise((done) => {
      const event = new MouseEvent("contextmenu", { bubbles: true, cancelable: true });
      done(!document.getElementById("canvas").dispatchEvent(event));
    }));
    assert.equal(await menuShown, true, "the long-press menu is refused");
    await sleep(300);
    const view = await page.evaluate(() => ({
      scale: visualViewport.scale, scrolled: scrollY + document.scrollingElement.scrollTop, selected: String(getSelection()),
    }));
    assert.deepEqual(view, { scale: 1, scrolled: 0, selected: "" });
    assert.deepEqual(unexpectedErrors(game), []);
  });
});

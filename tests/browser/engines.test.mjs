// The browser build in the other engines: Firefox (Debian's ESR, driven by
// puppeteer over WebDriver BiDi) and WebKit (WebKitGTK's MiniBrowser, over
// W3C WebDriver). Both need an X server, where they draw WebGL with Mesa as
// the desktop build does: the page loads, the menu settles as the desktop
// draws it, the keyboard starts a game and pauses it.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { readFileSync } from "node:fs";
import { join } from "node:path";
import { blockDifference, referenceMenu, SITE, sleep, startServer, waitFor } from "./harness.mjs";
import { launchFirefox } from "./firefox.mjs";
import { launchWebKit } from "./webkit.mjs";

let server;

before(async () => {
  readFileSync(join(SITE, "glimmerdeep.wasm"));  // fails, naming the file, before tools/web.sh has run
  if (!process.env.DISPLAY) throw new Error("Firefox and WebKit draw WebGL only on an X server: DISPLAY is not set");
  server = await startServer(SITE);
});

after(async () => {
  await server?.close();
});

// The left of the screen, where the pause screen puts its icons, short of its
// turning rings; the cave moves there in play.
const PAUSE_ICONS = { x1: 200 };

async function playsWithKeys(engine) {
  await engine.open(server.url + "index.html");
  const size = await engine.run("return [canvas.width, canvas.height, devicePixelRatio];");
  assert.equal(size[2], 1, "pictures at the page's pixels");
  const menu = referenceMenu(size[0], size[1]);
  let closest = Infinity;
  await waitFor(`the desktop's menu at ${size[0]} x ${size[1]}`, async () => {
    const shot = await engine.shot("#canvas");
    if (shot.width !== menu.width || shot.height !== menu.height) return false;
    const d = blockDifference(shot, menu);
    closest = Math.min(closest, d.mean);
    return d.mean < 2 && d.far < 0.01;
  }, 45000, 200).catch((error) => {
    throw new Error(`${error.message} (closest mean difference ${closest.toFixed(2)})`);
  });

  // Enter, Enter: a game of Normal, whose cave moves.
  await engine.press("Enter");
  await engine.press("Enter");
  await sleep(2500);
  const play = [await engine.shot("#canvas")];
  await sleep(700);
  play.push(await engine.shot("#canvas"));
  assert.ok(blockDifference(play[1], menu).mean > 10, "a game, not the menu");
  assert.ok(blockDifference(play[0], play[1], PAUSE_ICONS).mean > 0.5, "the cave moves in play");

  await engine.press("Escape");
  await sleep(800);
  const paused = [await engine.shot("#canvas")];
  await sleep(700);
  paused.push(await engine.shot("#canvas"));
  assert.ok(blockDifference(play[1], paused[0]).mean > 5, "Escape: the pause screen");
  assert.ok(blockDifference(paused[0], paused[1], PAUSE_ICONS).mean < 0.1, "and play waits");
}

for (const [name, launch] of [["Firefox", launchFirefox], ["WebKit", launchWebKit]]) {
  test(`${name}: the menu as the desktop draws it; the keys start a game and pause it`, async () => {
    const engine = await launch();
    try {
      await playsWithKeys(engine);
      assert.deepEqual(engine.errors || [], [], "no uncaught error on the page");
    } finally {
      await engine.close();
    }
  });
}

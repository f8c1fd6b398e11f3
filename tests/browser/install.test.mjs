// The browser build as an app: installable from its manifest, playable on a
// second visit without the network, and replaced whole by a new build with
// the player's settings kept. Each test serves a copy of build-web/site of
// its own, which it may change as a new build would.
import { after, before, test } from "node:test";
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import { appendFileSync, cpSync, mkdtempSync, readFileSync, rmSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import {
  launchBrowser, openGame, paced, ROOT, savedFrameRate, SITE, sleep, startServer, turnFrameRateOn, unexpectedErrors,
  waitFor,
} from "./harness.mjs";
import { decodePng } from "./png.mjs";

let browser, scratch;

before(async () => {
  readFileSync(join(SITE, "glimmerdeep.wasm"));  // fails, naming the file, before tools/web.sh has run
  scratch = mkdtempSync(join(tmpdir(), "glimmerdeep-install-"));
  browser = await launchBrowser();
});

after(async () => {
  await browser?.close();
  if (scratch) rmSync(scratch, { recursive: true, force: true });
});

// A copy of the site, served on the loopback for one test.
// A context of its own (its own storage) unless the test needs the
// browser's own, which alone can install.
async function withSite(name, body, { own = true } = {}) {
  const site = join(scratch, name);
  cpSync(SITE, site, { recursive: true });
  const server = await startServer(site);
  const context = own ? await browser.createBrowserContext() : browser.defaultBrowserContext();
  try {
    await body({ site, server, context });
  } finally {
    if (own) await context.close();
    else await Promise.all((await context.pages()).map((page) => page.close()));
    await server.close();
  }
}

const menuUp = (game) => waitFor("the menu", () => paced(game, "menu"), 30000);

// The service worker active, its files kept, and the page under it.
async function controlled(page) {
  await page.evaluate(() => navigator.serviceWorker.ready);
  return page.evaluate(() => !!navigator.serviceWorker.controller);
}

// What the page shows as its version, and whether the program it runs
// carries the marker a test's new build put in it.
async function build(page) {
  return page.evaluate(async () => ({
    version: document.getElementById("help").textContent.match(/Version (\S+)\./)[1],
    marked: (await (await fetch("glimmerdeep.js")).text()).includes("// the next build"),
    caches: (await caches.keys()).length,
  }));
}

test("the manifest makes the game installable, with its icons", async () => {
  await withSite("manifest", async ({ site, server, context }) => {
    const game = await openGame(browser, server, { context, query: "?pacing=1" });
    await menuUp(game);
    const cdp = await game.page.createCDPSession();
    const manifest = await cdp.send("Page.getAppManifest");
    assert.deepEqual(manifest.errors, [], "the browser reads the manifest without a complaint");
    const data = JSON.parse(manifest.data);
    assert.equal(data.name, "Glimmerdeep");
    assert.equal(data.short_name, "Glimmerdeep");
    assert.ok(["fullscreen", "standalone"].includes(data.display));
    assert.deepEqual(data.icons.map((i) => [i.src, i.sizes, i.purpose]), [
      ["icon-192.png", "192x192", "any"], ["icon-512.png", "512x512", "any"], ["maskable-512.png", "512x512", "maskable"],
    ]);
    for (const icon of data.icons) {
      const image = decodePng(readFileSync(join(site, icon.src)));
      assert.equal(`${image.width}x${image.height}`, icon.sizes, icon.src);
      // A maskable icon is whole to its edges; the others are the round
      // emblem on nothing.
      const corner = image.rgba[3];
      assert.equal(corner, icon.purpose === "maskable" ? 255 : 0, `${icon.src}: its corner`);
    }
    const { installabilityErrors } = await cdp.send("Page.getInstallabilityErrors");
    assert.deepEqual(installabilityErrors, [], "the browser would install it");
    assert.deepEqual(unexpectedErrors(game), []);
  }, { own: false });
});

test("a second visit plays without the network, with the player's settings", async () => {
  await withSite("offline", async ({ server, context }) => {
    const first = await openGame(browser, server, { context, query: "?pacing=1" });
    await menuUp(first);
    await turnFrameRateOn(first);
    await waitFor("the save to reach the storage", () => first.page.evaluate(() => Module.storage.saves > 0), 5000);
    await first.page.evaluate(() => navigator.serviceWorker.ready);
    await first.page.close();

    server.offline(true);
    const second = await openGame(browser, server, { context, query: "?pacing=1" });
    await menuUp(second);
    assert.equal(await controlled(second.page), true, "the page came from the service worker");
    assert.equal(await savedFrameRate(second.page), "1", "the setting from the first visit");
    assert.deepEqual(unexpectedErrors(second), []);
  });
});

test("a new build is fetched whole and takes over from the next visit; the settings stay", async () => {
  await withSite("update", async ({ site, server, context }) => {
    const old = await openGame(browser, server, { context, query: "?pacing=1" });
    await menuUp(old);
    await turnFrameRateOn(old);
    await waitFor("the save to reach the storage", () => old.page.evaluate(() => Module.storage.saves > 0), 5000);
    await old.page.evaluate(() => navigator.serviceWorker.ready);
    await old.page.reload();
    await menuUp(old);
    assert.deepEqual(await build(old.page), { version: "1.0.0", marked: false, caches: 1 });

    // The next build, deployed: its program changed, its version too.
    appendFileSync(join(site, "glimmerdeep.js"), "\n// the next build\n");
    execFileSync("cmake", [`-DSITE=${site}`, "-DVERSION=1.0.1", "-P",
      join(ROOT, "platform/browser/site.cmake")]);
    await old.page.evaluate(async () => (await navigator.serviceWorker.getRegistration()).update());
    await waitFor("the next build fetched", () => old.page.evaluate(async () =>
      !!(await navigator.serviceWorker.getRegistration()).waiting), 15000);
    // A page open all along keeps the build it started with, whole.
    await old.page.reload();
    await menuUp(old);
    assert.deepEqual(await build(old.page), { version: "1.0.0", marked: false, caches: 2 },
      "reloaded while the old build's page is open: the old build");
    await old.page.close();

    // Once no page of the old build is open, the next visit is the new one.
    const next = await waitFor("the new build", async () => {
      const game = await openGame(browser, server, { context, query: "?pacing=1" });
      await menuUp(game);
      if ((await build(game.page)).version === "1.0.1") return game;
      await game.page.close();
      await sleep(500);
      return null;
    }, 30000, 0);
    assert.deepEqual(await build(next.page), { version: "1.0.1", marked: true, caches: 1 }, "the new build, whole");
    assert.equal(await savedFrameRate(next.page), "1", "the player's setting kept");
    assert.deepEqual(unexpectedErrors(next), []);
  });
});

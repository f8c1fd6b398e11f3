// The browser build's figures. In Debian's Chromium, headless, with its
// software WebGL (the browser tests' harness): the download; the time from
// navigation to the menu's first frame, on a first visit and on a second one
// without the network, from the service worker's copy; the updates a second
// over 20 s of play, from the game's own counters, with how evenly its frames
// reached the screen meanwhile; and the main thread's share of a core over
// 20 s of play on a phone, by touch, at its pixel ratio. In Firefox and
// WebKitGTK, on the X server (the browser tests' clients), the time from
// navigation to the menu. Ends with "figure" lines as tools/bench.sh prints
// them; a figure that could not be measured (the play was not play, a
// browser did not start) is not printed, and fails the run with the reason.
//     node bench/browser/measure.mjs build-web/site
import { readFileSync } from "node:fs";
import { join } from "node:path";
import { gzipSync } from "node:zlib";
import {
  canvasBox, launchBrowser, menuItemPoint, openGame, paced, phone, readPacing, sleep, startServer, tap, waitFor,
} from "../../tests/browser/harness.mjs";
import { launchFirefox } from "../../tests/browser/firefox.mjs";
import { launchWebKit } from "../../tests/browser/webkit.mjs";

const site = process.argv[2] || "build-web/site";
const figures = [];
let failed = false;

// Measures one figure: `body` gives its line after the name, or throws when
// the measurement could not be made.
async function figure(name, body) {
  try {
    figures.push(`figure ${name} ${await body()}`);
  } catch (error) {
    console.error(`${name} not measured: ${error.message}`);
    failed = true;
  }
}
const check = (ok, what) => {
  if (!ok) throw new Error("check failed: " + what);
};
const verdict = (met) => (met ? "met" : "MISSED");
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const range = (values) => `${Math.min(...values).toFixed(0)}-${Math.max(...values).toFixed(0)}`;

// The download: what a player's browser fetches, as served and as a server
// that compresses would send it.
await figure("web-download", () => {
  let raw = 0, gzip = 0;
  for (const file of ["index.html", "glimmerdeep.js", "glimmerdeep.wasm", "glimmerdeep.data"]) {
    const bytes = readFileSync(join(site, file));
    const packed = gzipSync(bytes, { level: 9 }).length;
    console.log(`${file}: ${bytes.length} bytes, ${packed} gzipped`);
    raw += bytes.length;
    gzip += packed;
  }
  return `${(raw / 1e6).toFixed(2)}MB raw, ${(gzip / 1e6).toFixed(2)}MB gzip`;
});

const lines = (game) => game.console.map((m) => m.text);
const rates = (game) =>
  lines(game).map((text) => /^Rates: update (\d+) render (\d+)/.exec(text)).filter(Boolean)
    .map((m) => ({ updates: Number(m[1]), frames: Number(m[2]) }));

// The program's moments are in seconds from the page's time origin, the start
// of the navigation.
async function menuAfter(game, load) {
  await waitFor("the menu", () => paced(game, "menu") !== null, 30000);
  const ms = (name) => paced(game, name) * 1000;
  console.log(`${load}: first frame ${ms("first_frame").toFixed(0)} ms, ` +
    `loading screen ${ms("loading_screen").toFixed(0)} ms, menu ${ms("menu").toFixed(0)} ms`);
  return ms("menu");
}

// From the menu, a game of Normal as `choose` picks it, two seconds under way.
async function startGame(game, choose) {
  await sleep(1500);  // the menu flies in before it takes a choice
  await choose();
  await waitFor("the game's start", () => paced(game, "game_start") !== null, 5000);
  await sleep(2000);
}

// The seconds of the game's counters from `from` on, checked to be 20 seconds
// of play: the game started and never ended meanwhile.
class GameOver extends Error {}
function playedSeconds(game, from) {
  const seconds = rates(game).slice(from, from + 20);
  check(paced(game, "game_start") !== null, "the game started");
  check(seconds.length === 20, `20 seconds of the game's counters (got ${seconds.length})`);
  if (paced(game, "game_over") !== null) throw new GameOver("the game ended during the 20 s of play");
  return seconds;
}

// Each game's cave is new, and in some a diver steered throughout loses its
// lives within the 20 s: that game is no measure of play, and is played
// again, three games at most.
async function played(what, play) {
  for (let game = 1; ; game++) {
    try {
      return await play();
    } catch (error) {
      if (!(error instanceof GameOver) || game === 3) throw error;
      console.log(`${what}: ${error.message}; a new game`);
    }
  }
}

// How frames reach the screen: at every refresh of the display (every
// animation frame the page gets), how many new frames the game drew since the
// last. One each is smooth motion; none shows a frame twice, two or more
// drop frames unseen.
function recordPresentation() {
  window.presentation = [];
  let seen = Module.framesDrawn;
  const tick = (time) => {
    window.presentation.push([time, Module.framesDrawn - seen]);
    seen = Module.framesDrawn;
    requestAnimationFrame(tick);
  };
  requestAnimationFrame(tick);
}

function presentation(refreshes) {
  const span = (refreshes[refreshes.length - 1][0] - refreshes[0][0]) / 1000;
  const counts = [0, 0, 0];
  const shownAt = [];
  for (const [time, drawn] of refreshes.slice(1)) {
    counts[Math.min(drawn, 2)]++;
    if (drawn > 0) shownAt.push(time);
  }
  const gaps = shownAt.slice(1).map((t, i) => t - shownAt[i]);
  const mean = gaps.reduce((a, b) => a + b, 0) / gaps.length;
  const sd = Math.sqrt(gaps.reduce((a, g) => a + (g - mean) ** 2, 0) / gaps.length);
  const n = refreshes.length - 1;
  const share = (k) => (100 * counts[k] / n).toFixed(1);
  check(n > 600 && shownAt.length > 600, `the display refreshed and showed frames (${n} refreshes, ${shownAt.length} new)`);
  console.log(`refreshes: ${(n / span).toFixed(1)} a second; new frames at a refresh: none ${share(0)}%, ` +
    `one ${share(1)}%, more ${share(2)}%`);
  return `${share(1)}% of refreshes show one new frame (none ${share(0)}%, more ${share(2)}%; ` +
    `between shown frames ${mean.toFixed(1)} +- ${sd.toFixed(1)} ms, longest ${Math.max(...gaps).toFixed(1)} ms)`;
}

// Play on a desktop page: the diver steered up and down throughout, as a
// player would, while the game prints its counters and the page records the
// display's refreshes.
async function desktopPlay(browser, server) {
  const game = await openGame(browser, server, { query: "?pacing=1&rates=1" });
  try {
    await menuAfter(game, "play");
    await startGame(game, async () => {
      await tap(game.page, "Enter");
      await tap(game.page, "Enter");
    });
    const from = rates(game).length;
    const pacedFrom = readPacing(lines(game)).seconds.length;
    await game.page.evaluate(recordPresentation);
    const end = Date.now() + 20500;
    for (let k = 0; Date.now() < end; k++) await tap(game.page, k % 2 ? "ArrowUp" : "ArrowDown", 400, 100);
    const refreshes = await game.page.evaluate(() => window.presentation.splice(0));
    return { seconds: playedSeconds(game, from), host: readPacing(lines(game)).seconds.slice(pacedFrom, pacedFrom + 20),
             refreshes };
  } finally {
    await game.context.close();
  }
}

function updatesPerSecond({ seconds, host }) {
  const updates = seconds.reduce((sum, s) => sum + s.updates, 0) / seconds.length;
  const frames = seconds.reduce((sum, s) => sum + s.frames, 0) / seconds.length;
  console.log(`updates a second: ${seconds.map((s) => s.updates).join(" ")}`);
  console.log(`frames a second: ${seconds.map((s) => s.frames).join(" ")}`);
  // The game counts in windows of at least a second, hence the odd 61; the
  // host's lines give each window's length.
  const span = host.reduce((sum, s) => sum + s.spanMs, 0);
  const hostUpdates = host.reduce((sum, s) => sum + s.updates, 0);
  console.log(`host pacing: ${(hostUpdates / span * 1000).toFixed(2)} updates a second over ` +
    `${(span / 1000).toFixed(1)} s, longest gap between updates ${Math.max(...host.map((s) => s.gapMs)).toFixed(1)} ms`);
  const met = Math.abs(updates - 60) <= 1;
  if (!met) failed = true;
  return `${updates.toFixed(2)} 60+-1 ${verdict(met)} (slowest second ${Math.min(...seconds.map((s) => s.updates))}, ` +
    `frames ${frames.toFixed(1)} a second)`;
}

// A finger's tap, held for a few updates as the touch tests hold theirs.
async function touch(page, { x, y }) {
  await page.touchscreen.touchStart(x, y);
  await sleep(120);
  await page.touchscreen.touchEnd();
  await sleep(800);
}

// The main thread's time in its tasks and in script, in seconds, counted by
// the thread's CPU time or by the wall clock as `domain` says, and the wall
// clock's time.
async function mainThreadMeter(page, domain) {
  const cdp = await page.createCDPSession();
  await cdp.send("Performance.enable", { timeDomain: domain });
  return async () => {
    const { metrics } = await cdp.send("Performance.getMetrics");
    const value = (name) => metrics.find((m) => m.name === name)?.value;
    const read = { task: value("TaskDuration"), script: value("ScriptDuration"), at: value("Timestamp") };
    check(Object.values(read).every((v) => typeof v === "number"), "the DevTools protocol gave the main thread's times");
    return read;
  };
}

// The shares of the wall clock between two readings.
function shares(before, after) {
  const span = after.at - before.at;
  return { task: (after.task - before.task) / span, script: (after.script - before.script) / span, span };
}

// Play on an upright phone whose pixel ratio the page caps at 2: its menus
// tapped, the diver steered up and down with the touch stick throughout,
// while the browser counts its main thread's CPU time (thread time, which a
// busy machine does not stretch; how long its tasks took by the wall clock
// is shown beside it). Measured in play only, a few seconds in.
const PHONE = phone(390, 844, 3);
async function phonePlay(browser, server) {
  const game = await openGame(browser, server, { device: PHONE, query: "?pacing=1&rates=1" });
  try {
    const page = game.page;
    await menuAfter(game, "phone");
    const box = await canvasBox(page);
    check(box.bufferWidth === box.width * 2 && box.bufferHeight === box.height * 2,
      `the canvas at twice the page's pixels (${box.bufferWidth} x ${box.bufferHeight} for ${box.width} x ${box.height})`);
    await startGame(game, async () => {
      await touch(page, menuItemPoint(box, 0, 3));  // Start Game
      await touch(page, menuItemPoint(box, 1, 3));  // Normal
    });
    const stick = await page.$eval("#stick-base", (e) => {
      const r = e.getBoundingClientRect();
      return { x: r.x + r.width / 2, y: r.y + r.height / 2, reach: r.width / 2 };
    });
    const cpu = await mainThreadMeter(page, "threadTicks"), wall = await mainThreadMeter(page, "timeTicks");
    const from = rates(game).length;
    const before = { cpu: await cpu(), wall: await wall() };
    await page.touchscreen.touchStart(stick.x, stick.y);
    const end = Date.now() + 20500;
    for (let k = 0; Date.now() < end; k++) {
      await page.touchscreen.touchMove(stick.x, stick.y + (k % 2 ? -1 : 1) * stick.reach);
      await sleep(400);
    }
    await page.touchscreen.touchEnd();
    const after = { cpu: await cpu(), wall: await wall() };
    playedSeconds(game, from);
    check(await page.$eval("#touch", (e) => e.getClientRects().length > 0), "the touch controls were shown throughout");
    const used = shares(before.cpu, after.cpu), busy = shares(before.wall, after.wall);
    const percent = (share) => `${(100 * share).toFixed(1)}%`;
    const { width, height, deviceScaleFactor } = PHONE.viewport;
    console.log(`phone ${width} x ${height} at pixel ratio ${deviceScaleFactor}, canvas ${box.bufferWidth} x ` +
      `${box.bufferHeight}, ${used.span.toFixed(1)} s of play: the main thread's CPU time ${percent(used.task)} ` +
      `(script ${percent(used.script)}), its tasks by the wall clock ${percent(busy.task)} (script ${percent(busy.script)})`);
    return `${percent(used.task)} <=25% ${verdict(used.task <= 0.25)} (CPU time, script ${percent(used.script)}; ` +
      `tasks by the wall clock ${percent(busy.task)}; ${width}x${height} at pixel ratio ${deviceScaleFactor}, ` +
      `canvas ${box.bufferWidth}x${box.bufferHeight})`;
  } finally {
    await game.context.close();
  }
}

// The menu in another engine, three times, each in a browser started afresh
// (nothing cached, no service worker yet).
async function engineMenuTimes(name, launch, server) {
  const times = [];
  for (let run = 1; run <= 3; run++) {
    const engine = await launch();
    try {
      await engine.open(server.url + "index.html?pacing=1");
      const moments = async () => readPacing(await engine.console()).moments;
      const at = await waitFor(`${name}'s menu`, async () => (await moments()).get("menu"), 45000, 200);
      times.push(at * 1000);
      console.log(`${name} load ${run}: first frame ${((await moments()).get("first_frame") * 1000).toFixed(0)} ms, ` +
        `menu ${times[times.length - 1].toFixed(0)} ms`);
    } finally {
      await engine.close();
    }
  }
  return times;
}

const server = await startServer(site);
try {
  const browser = await launchBrowser();
  let firstVisit = null;
  try {
    // Three first visits, each in a fresh context with nothing cached.
    await figure("web-time-to-menu", async () => {
      const times = [];
      for (let run = 1; run <= 3; run++) {
        const game = await openGame(browser, server, { query: "?pacing=1" });
        try {
          times.push(await menuAfter(game, `load ${run}`));
        } finally {
          await game.context.close();
        }
      }
      firstVisit = median(times);
      return `${firstVisit.toFixed(0)}ms (median of 3; ${range(times)})`;
    });

    // Three second visits without the network, each after a first visit in
    // a context of its own that left the service worker its copy. They are
    // held against those first visits: on the loopback the network costs
    // nothing, and the service worker's copy may cost no more.
    await figure("web-offline-time-to-menu", async () => {
      const times = [], firsts = [];
      for (let run = 1; run <= 3; run++) {
        const context = await browser.createBrowserContext();
        try {
          const first = await openGame(browser, server, { context, query: "?pacing=1" });
          firsts.push(await menuAfter(first, `first visit ${run}`));
          await first.page.evaluate(() => navigator.serviceWorker.ready);
          await first.page.close();
          server.offline(true);
          const second = await openGame(browser, server, { context, query: "?pacing=1" });
          times.push(await menuAfter(second, `second visit ${run}, offline`));
          check(await second.page.evaluate(() => !!navigator.serviceWorker.controller),
            "the second visit came from the service worker");
        } finally {
          server.offline(false);
          await context.close();
        }
      }
      const time = median(times), target = 1.1 * median(firsts);
      return `${time.toFixed(0)}ms <=${target.toFixed(0)}ms ${verdict(time <= target)} ` +
        `(median of 3, ${range(times)}; the target is the first visits' median, ${median(firsts).toFixed(0)}ms, ` +
        `and a tenth)`;
    });

    // Two figures of one play: when it could not be measured, neither is.
    const play = played("desktop play", () => desktopPlay(browser, server));
    await figure("web-updates-per-second", async () => updatesPerSecond(await play));
    await figure("web-frame-evenness", async () => presentation((await play).refreshes));
    await figure("web-main-thread", () => played("phone play", () => phonePlay(browser, server)));
  } finally {
    await browser.close();
  }

  for (const [name, launch] of [["firefox", launchFirefox], ["webkit", launchWebKit]]) {
    await figure(`web-${name}-time-to-menu`, async () => {
      check(process.env.DISPLAY, "an X server (DISPLAY), where the engine draws WebGL");
      check(firstVisit !== null, "Chromium's first visit to compare with");
      const times = await engineMenuTimes(name, launch, server);
      // Held against Chromium's on the same machine, as a player of another
      // browser would see it beside a player of Chromium.
      const time = median(times), target = 1.5 * firstVisit;
      return `${time.toFixed(0)}ms <=${target.toFixed(0)}ms ${verdict(time <= target)} ` +
        `(median of 3, ${range(times)}; the target is one and a half times Chromium's first visit)`;
    });
  }
} finally {
  await server.close();
}
for (const line of figures) console.log(line);
process.exit(failed ? 1 : 0);

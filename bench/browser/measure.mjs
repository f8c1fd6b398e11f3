// The browser build's figures, measured in Debian's Chromium, headless, with
// its software WebGL (the browser tests' harness): the download, the time
// from navigation to the menu's first frame, and the updates a second over
// 20 s of play, from the game's own counters, with how evenly its frames
// reached the screen meanwhile. Ends with "figure" lines as
// tools/bench.sh prints them; fails when the play it measures was not play.
//     node bench/browser/measure.mjs build-web/site
import { readFileSync } from "node:fs";
import { join } from "node:path";
import { gzipSync } from "node:zlib";
import { launchBrowser, openGame, sleep, startServer, tap, waitFor } from "../../tests/browser/harness.mjs";

const site = process.argv[2] || "build-web/site";
const figures = [];
let failed = false;
const figure = (line) => figures.push("figure " + line);
const check = (ok, what) => {
  if (!ok) {
    console.error("check failed: " + what);
    failed = true;
  }
};

// The download: what a player's browser fetches, as served and as a server
// that compresses would send it.
let raw = 0, gzip = 0;
for (const file of ["index.html", "glimmerdeep.js", "glimmerdeep.wasm", "glimmerdeep.data"]) {
  const bytes = readFileSync(join(site, file));
  const packed = gzipSync(bytes, { level: 9 }).length;
  console.log(`${file}: ${bytes.length} bytes, ${packed} gzipped`);
  raw += bytes.length;
  gzip += packed;
}
figure(`web-download ${(raw / 1e6).toFixed(2)}MB raw, ${(gzip / 1e6).toFixed(2)}MB gzip`);

// The program's moments are in seconds from the page's time origin, the start
// of the navigation.
const moment = (game, name) => {
  const line = game.console.find((m) => m.text.startsWith(`pacing moment=${name} `));
  return line ? Number(/at=([\d.]+)/.exec(line.text)[1]) : null;
};
const rates = (game) =>
  game.console.map((m) => /^Rates: update (\d+) render (\d+)/.exec(m.text)).filter(Boolean)
    .map((m) => ({ updates: Number(m[1]), frames: Number(m[2]) }));

// The host's own pacing lines, each over a second or a little more.
const pacing = (game) =>
  game.console.map((m) => /^pacing updates=(\d+) frames=(\d+) longest_gap_ms=([\d.]+) span_ms=([\d.]+) end_at=([\d.]+)/.exec(m.text))
    .filter(Boolean).map((m) => ({ updates: Number(m[1]), gap: Number(m[3]), span: Number(m[4]), end: Number(m[5]) }));

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

function presentationFigures(refreshes) {
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
  figure(`web-frame-evenness ${share(1)}% of refreshes show one new frame (none ${share(0)}%, more ${share(2)}%; ` +
    `between shown frames ${mean.toFixed(1)} +- ${sd.toFixed(1)} ms, longest ${Math.max(...gaps).toFixed(1)} ms)`);
}

const server = await startServer(site);
const browser = await launchBrowser();
try {
  // Three loads, each in a fresh context with nothing cached.
  const menuTimes = [];
  for (let run = 0; run < 3; run++) {
    const game = await openGame(browser, server, { query: "?pacing=1" });
    await waitFor("the menu", () => moment(game, "menu") !== null, 30000);
    menuTimes.push(moment(game, "menu") * 1000);
    console.log(`load ${run + 1}: first frame ${(moment(game, "first_frame") * 1000).toFixed(0)} ms, ` +
      `loading screen ${(moment(game, "loading_screen") * 1000).toFixed(0)} ms, menu ${menuTimes[run].toFixed(0)} ms`);
    await game.context.close();
  }
  menuTimes.sort((a, b) => a - b);
  figure(`web-time-to-menu ${menuTimes[1].toFixed(0)}ms (median of 3; ${menuTimes[0].toFixed(0)}-${menuTimes[2].toFixed(0)})`);

  // Play: Enter, Enter starts a Normal game; the diver is steered up and down
  // throughout, as a player would, while the game prints its counters.
  const game = await openGame(browser, server, { query: "?pacing=1&rates=1" });
  await waitFor("the menu", () => moment(game, "menu") !== null, 30000);
  await sleep(1500);
  await tap(game.page, "Enter");
  await tap(game.page, "Enter");
  await waitFor("the game's start", () => moment(game, "game_start") !== null, 5000);
  await sleep(2000);
  const from = rates(game).length;
  const pacedFrom = pacing(game).length;
  await game.page.evaluate(recordPresentation);
  const end = Date.now() + 20500;
  for (let k = 0; Date.now() < end; k++) await tap(game.page, k % 2 ? "ArrowUp" : "ArrowDown", 400, 100);
  const refreshes = await game.page.evaluate(() => window.presentation.splice(0));
  const seconds = rates(game).slice(from, from + 20);
  check(seconds.length === 20, `20 seconds of the game's counters (got ${seconds.length})`);
  check(moment(game, "game_over") === null, "the game was still being played (no game over)");
  const updates = seconds.reduce((sum, s) => sum + s.updates, 0) / seconds.length;
  const frames = seconds.reduce((sum, s) => sum + s.frames, 0) / seconds.length;
  const slowest = Math.min(...seconds.map((s) => s.updates));
  console.log(`updates a second: ${seconds.map((s) => s.updates).join(" ")}`);
  console.log(`frames a second: ${seconds.map((s) => s.frames).join(" ")}`);
  // The game counts in windows of at least a second, hence the odd 61; the
  // host's lines give each window's length.
  const hostSeconds = pacing(game).slice(pacedFrom, pacedFrom + 20);
  const span = hostSeconds.reduce((sum, s) => sum + s.span, 0);
  const hostUpdates = hostSeconds.reduce((sum, s) => sum + s.updates, 0);
  console.log(`host pacing: ${(hostUpdates / span * 1000).toFixed(2)} updates a second over ${(span / 1000).toFixed(1)} s, ` +
    `longest gap between updates ${Math.max(...hostSeconds.map((s) => s.gap)).toFixed(1)} ms`);
  presentationFigures(refreshes);
  const met = Math.abs(updates - 60) <= 1;
  figure(`web-updates-per-second ${updates.toFixed(2)} 60+-1 ${met ? "met" : "MISSED"} ` +
    `(slowest second ${slowest}, frames ${frames.toFixed(1)} a second)`);
  if (!met) failed = true;
  await game.context.close();
} finally {
  await browser.close();
  await server.close();
}
for (const line of figures) console.log(line);
process.exit(failed ? 1 : 0);

// WebKit (the engine of Safari) as Debian has it: WebKitGTK's MiniBrowser,
// driven through WebKitWebDriver over plain W3C WebDriver on the loopback.
// Needs an X server. A small client: enough to open a page (640 x 480, as the
// other browsers' tests have it), run a script in it, press keys, take the
// picture of an element and read what the page wrote to its console.
import { spawn } from "node:child_process";
import { stat } from "node:fs/promises";
import { createServer } from "node:net";
import { decodePng } from "./png.mjs";

export const WEBKIT_DRIVER = process.env.GLIMMERDEEP_WEBKIT_DRIVER || "/usr/bin/WebKitWebDriver";
export const MINIBROWSER = process.env.GLIMMERDEEP_MINIBROWSER ||
  "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser";

// WebDriver's names of the keys the tests press.
const KEYS = { Enter: "\uE007", Escape: "\uE00C", ArrowUp: "\uE013", ArrowDown: "\uE015" };

const freePort = () => new Promise((done, fail) => {
  const probe = createServer();
  probe.on("error", fail);
  probe.listen(0, "127.0.0.1", () => {
    const { port } = probe.address();
    probe.close(() => done(port));
  });
});

const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

export async function launchWebKit() {
  for (const file of [WEBKIT_DRIVER, MINIBROWSER])
    await stat(file).catch(() => {
      throw new Error(`no ${file}: tools/install-packages.sh web installs Debian's webkit2gtk-driver`);
    });
  const port = await freePort();
  const driver = spawn(WEBKIT_DRIVER, [`--port=${port}`], { stdio: "ignore" });
  const base = `http://127.0.0.1:${port}`;
  let exited = null;
  driver.on("exit", (code) => { exited = code; });
  const call = async (method, path, body) => {
    const response = await fetch(base + path, {
      method, headers: { "Content-Type": "application/json" }, body: body && JSON.stringify(body),
    });
    const reply = await response.json();
    if (!response.ok) throw new Error(`WebDriver ${method} ${path}: ${JSON.stringify(reply.value)}`);
    return reply.value;
  };
  for (let i = 0; ; i++) {
    if (exited !== null) throw new Error(`WebKitWebDriver ended with ${exited}`);
    try {
      if ((await call("GET", "/status")).ready) break;
    } catch (error) {
      if (i > 100) throw error;
    }
    await sleep(100);
  }
  const { sessionId } = await call("POST", "/session", {
    capabilities: { alwaysMatch: { "webkitgtk:browserOptions": { binary: MINIBROWSER, args: ["--automation"] } } },
  });
  const session = (method, path, body) => call(method, `/session/${sessionId}${path}`, body);
  // The page's own size, as puppeteer's viewport gives it: the window is
  // that and its frame.
  const inner = () => session("POST", "/execute/sync", { script: "return [innerWidth, innerHeight];", args: [] });
  const view = async (width, height) => {
    const outer = await session("GET", "/window/rect");
    const [w, h] = await inner();
    await session("POST", "/window/rect", { width: width + outer.width - w, height: height + outer.height - h });
  };
  await view(640, 480);
  // WebDriver gives no console: the page's own is wrapped as soon as the
  // page has loaded, which is in time for everything the program prints
  // only if it had not drawn a frame yet (it prints its first moment with
  // its first frame).
  const listen = `
    window.consoleLines = [];
    for (const level of ["log", "info", "warn", "error"]) {
      const write = console[level];
      console[level] = function (...args) {
        window.consoleLines.push(args.join(" "));
        return write.apply(this, args);
      };
    }
    return typeof Module == "object" ? Module.framesDrawn : 0;`;
  let heardFromStart = false;
  return {
    async open(url) {
      await session("POST", "/url", { url });
      heardFromStart = (await session("POST", "/execute/sync", { script: listen, args: [] })) === 0;
    },
    // The page's console since it was opened, a line a call.
    async console() {
      if (!heardFromStart) throw new Error("WebKit's page drew before its console could be listened to");
      return session("POST", "/execute/sync", { script: "return window.consoleLines;", args: [] });
    },
    // `script` is a function's body; its value comes back.
    run: (script, ...args) => session("POST", "/execute/sync", { script, args }),
    async press(key, hold = 150) {
      const value = KEYS[key] || key;
      await session("POST", "/actions", { actions: [{ type: "key", id: "keyboard", actions: [
        { type: "keyDown", value }, { type: "pause", duration: hold }, { type: "keyUp", value }] }] });
      await sleep(150);
    },
    async shot(selector) {
      const element = await session("POST", "/element", { using: "css selector", value: selector });
      const id = element[Object.keys(element)[0]];
      return decodePng(Buffer.from(await session("GET", `/element/${id}/screenshot`), "base64"));
    },
    async close() {
      await session("DELETE", "").catch(() => {});
      driver.kill();
    },
  };
}

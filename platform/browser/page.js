// The page around the game: it lays the canvas out over whatever screen it
// is shown on, puts touch controls beside it on a touch screen (presented to
// the game as one more standard pad), keeps the browser's own gestures off
// the game, says so plainly when the browser cannot draw it, and makes the
// page installable and playable offline. Loaded before glimmerdeep.js, which
// it starts.
"use strict";

var canvas = document.getElementById("canvas");
var stage = document.getElementById("stage");
var frame = document.getElementById("frame");

// ---- the page under the game ----

// The page does not scroll, zoom, open menus or act on the function keys
// under the game's keys, clicks and touches: F1 and F11 are the game's.
document.addEventListener("contextmenu", function (event) { event.preventDefault(); });
document.addEventListener("dblclick", function (event) { event.preventDefault(); });
document.addEventListener("touchmove", function (event) { event.preventDefault(); }, { passive: false });
document.addEventListener("gesturestart", function (event) { event.preventDefault(); });
window.addEventListener("keydown", function (event) {
  if (["ArrowUp", "ArrowDown", "ArrowLeft", "ArrowRight", " ", "Tab", "F1", "F11"].indexOf(event.key) >= 0)
    event.preventDefault();
});

function showEnd(title, text, button) {
  document.getElementById("end-title").textContent = title;
  document.getElementById("end-text").textContent = text;
  document.getElementById("again").textContent = button || "Play again";
  document.getElementById("end").style.display = "flex";
}
document.getElementById("again").addEventListener("click", function () { location.reload(); });

var Module = {
  canvas: canvas,
  fullscreenTarget: stage,
  print: function (text) { console.log(text); },
  printErr: function (text) { console.error(text); },
  setStatus: function (text) {
    var status = document.getElementById("status");
    status.textContent = text;
    status.style.display = text ? "flex" : "none";
  },
  // The game has ended (F4): the last frame stays, under a closing picture.
  onExit: function (status) {
    Module.exitStatus = status;
    if (status === 0) showEnd("Thanks for playing", "Glimmerdeep, by the Glimmerdeep developers");
    else showEnd("The game stopped", "It met an error (status " + status + "); the console has the details.");
  },
  onAbort: function () {
    Module.exitStatus = -1;
    showEnd("The game stopped", "It met an error; the console has the details.");
  },
  // Counted by the host after every frame it draws: how frames reach the
  // screen can be measured against the display's own.
  framesDrawn: 0,
  // Times the page lost the game's attention without losing the focus (the
  // browser leaving full screen by itself): the host pauses play as when
  // the focus goes.
  attentionLosses: 0,
};
Module.setStatus("Loading…");
Module.layoutGame = function () { layout(); };

// ---- the layout ----

// The game's shapes: not narrower than 3:4 (a taller portrait crowds its
// screens' items: the title meets the emblem, then the menu runs off the side)
// nor wider than 16:9 (a longer strip puts the top-five panel over the
// emblem, and then the title over the menu). Its drawing buffer is the shown size times the device's pixel
// ratio, at most twice the shown size and about four million pixels.
var LAYOUT = { narrowest: 3 / 4, widest: 16 / 9, maxScale: 2, maxPixels: 4096 * 1024 };

var touch = { shown: false, stickId: null, pauseId: null, pauseSince: 0, stick: null, centre: null, radius: 50 };

function clamp(v, lo, hi) {
  return Math.max(lo, Math.min(hi, v));
}

function place(element, x, y, width, height) {
  element.style.left = x + "px";
  element.style.top = y + "px";
  if (width !== undefined) {
    element.style.width = width + "px";
    element.style.height = height + "px";
  }
}

function layout() {
  var body = document.body;
  body.classList.toggle("touch", touch.shown);
  body.classList.toggle("compact", window.innerHeight < 600 || window.innerWidth < 500);
  var W = stage.clientWidth, H = stage.clientHeight;
  if (W <= 0 || H <= 0) return;
  // The touch controls go beside the game in landscape, below it in portrait.
  var x = 0, y = 0, w = W, h = H;
  var landscape = W >= H;
  if (touch.shown && landscape) {
    var side = clamp(Math.round(W * 0.18), 110, 200);
    x = side;
    w = W - 2 * side;
  } else if (touch.shown) {
    h = H - clamp(Math.round(H * 0.28), 150, 280);
  }
  var gw = w, gh = h;
  if (gw / gh < LAYOUT.narrowest) gh = Math.floor(gw / LAYOUT.narrowest);
  if (gw / gh > LAYOUT.widest) gw = Math.floor(gh * LAYOUT.widest);
  var gx = x + Math.floor((w - gw) / 2);
  var gy = touch.shown && !landscape ? 0 : y + Math.floor((h - gh) / 2);
  place(frame, gx, gy, gw, gh);

  var scale = Math.min(window.devicePixelRatio || 1, LAYOUT.maxScale);
  var bw = Math.max(1, Math.round(gw * scale)), bh = Math.max(1, Math.round(gh * scale));
  if (bw * bh > LAYOUT.maxPixels) {
    var k = Math.sqrt(LAYOUT.maxPixels / (bw * bh));
    bw = Math.floor(bw * k);
    bh = Math.floor(bh * k);
  }
  if (canvas.width !== bw) canvas.width = bw;
  if (canvas.height !== bh) canvas.height = bh;
  if (Module.onCanvasSized) Module.onCanvasSized(bw, bh);

  if (!touch.shown) return;
  // The stick's area: the strip left of the game, or the left of the strip
  // below it; the pause button in the rest.
  var stick = document.getElementById("stick"), pause = document.getElementById("pause");
  var area = landscape ? { x: 0, y: 0, w: gx, h: H } : { x: 0, y: gh, w: Math.round(W * 0.64), h: H - gh };
  place(stick, area.x, area.y, area.w, area.h);
  touch.stick = area;
  touch.radius = Math.round(clamp(Math.min(area.w, area.h) * 0.3, 36, 90));
  if (landscape) place(pause, gx + gw + Math.round((W - gx - gw - 64) / 2), Math.round(H * 0.2));
  else place(pause, area.w + Math.round((W - area.w - 64) / 2), gh + Math.round((H - gh - 64) / 2));
  if (touch.stickId === null) restStick();
}

// ---- touch steering, as one more standard pad ----

function button() {
  return { pressed: false, touched: false, value: 0 };
}
var touchPad = {
  id: "Glimmerdeep touch controls (STANDARD GAMEPAD)", index: 4, connected: true, mapping: "standard",
  timestamp: 0, axes: [0, 0, 0, 0], buttons: [],
};
for (var b = 0; b < 17; b++) touchPad.buttons.push(button());
var START = 9;

function drawStick(cx, cy, dx, dy) {
  var base = document.getElementById("stick-base"), knob = document.getElementById("stick-knob");
  var r = touch.radius, k = Math.round(r * 0.45);
  place(base, cx - r, cy - r, 2 * r, 2 * r);
  place(knob, r - k + dx - 2, r - k + dy - 2, 2 * k, 2 * k);
}

function restStick() {
  var a = touch.stick;
  if (!a) return;
  drawStick(Math.round(a.w / 2), Math.round(a.h / 2), 0, 0);
}

// The stick's place is where the thumb comes down (kept whole inside its
// area); its direction and reach are the thumb's from there, as a pad's
// left stick gives them: -1 to 1, y down.
function steer(event) {
  var rect = document.getElementById("stick").getBoundingClientRect();
  var px = event.clientX - rect.left, py = event.clientY - rect.top;
  var r = touch.radius;
  if (!touch.centre)
    touch.centre = { x: clamp(px, r, Math.max(r, rect.width - r)), y: clamp(py, r, Math.max(r, rect.height - r)) };
  var dx = px - touch.centre.x, dy = py - touch.centre.y;
  var reach = Math.sqrt(dx * dx + dy * dy);
  if (reach > r) {
    dx *= r / reach;
    dy *= r / reach;
  }
  touchPad.axes[0] = dx / r;
  touchPad.axes[1] = dy / r;
  touchPad.timestamp = performance.now();
  drawStick(touch.centre.x, touch.centre.y, Math.round(dx), Math.round(dy));
}

function releaseStick() {
  touch.stickId = null;
  touch.centre = null;
  touchPad.axes[0] = touchPad.axes[1] = 0;
  touchPad.timestamp = performance.now();
  restStick();
}

function setPause(held) {
  touchPad.buttons[START] = { pressed: held, touched: held, value: held ? 1 : 0 };
  touchPad.timestamp = performance.now();
  document.getElementById("pause").classList.toggle("held", held);
}

(function () {
  var stick = document.getElementById("stick"), pause = document.getElementById("pause");
  stick.addEventListener("pointerdown", function (event) {
    event.preventDefault();
    if (touch.stickId !== null) return;
    touch.stickId = event.pointerId;
    stick.setPointerCapture(event.pointerId);
    steer(event);
  });
  stick.addEventListener("pointermove", function (event) {
    if (event.pointerId === touch.stickId) steer(event);
  });
  ["pointerup", "pointercancel", "lostpointercapture"].forEach(function (type) {
    stick.addEventListener(type, function (event) {
      if (event.pointerId === touch.stickId) releaseStick();
    });
  });
  // The game reads its pads once an update: a tap shorter than a few
  // updates is held that long.
  pause.addEventListener("pointerdown", function (event) {
    event.preventDefault();
    if (touch.pauseId !== null) return;
    touch.pauseId = event.pointerId;
    touch.pauseSince = performance.now();
    pause.setPointerCapture(event.pointerId);
    setPause(true);
  });
  ["pointerup", "pointercancel"].forEach(function (type) {
    pause.addEventListener(type, function (event) {
      if (event.pointerId !== touch.pauseId) return;
      touch.pauseId = null;
      setTimeout(function () { setPause(false); }, Math.max(0, 80 - (performance.now() - touch.pauseSince)));
    });
  });
})();

function showTouch(shown) {
  if (touch.shown === shown) return;
  touch.shown = shown;
  if (!shown) {
    releaseStick();
    setPause(false);
    touch.pauseId = null;
  }
  setHelp();
  layout();
}

// A touch brings the controls; a key or a real pad in use puts them away.
window.addEventListener("pointerdown", function (event) {
  if (event.pointerType === "touch") showTouch(true);
}, true);
window.addEventListener("keydown", function () { showTouch(false); }, true);

// The game reads pads from this list; the touch controls are one more pad
// in it, in the slot after the browser's own while they are shown.
var browserPads = navigator.getGamepads ? navigator.getGamepads.bind(navigator) : function () { return []; };
navigator.getGamepads = function () {
  var pads = Array.prototype.slice.call(browserPads() || []);
  for (var i = 0; i < pads.length; i++) {
    var pad = pads[i];
    if (!pad || !pad.connected) continue;
    var used = pad.buttons.some(function (b) { return b.pressed; }) ||
               pad.axes.some(function (a) { return Math.abs(a) > 0.5; });
    if (used && touch.shown) showTouch(false);
  }
  if (touch.shown) {
    var slot = Math.max(4, pads.length);
    while (pads.length < slot) pads.push(null);
    touchPad.index = slot;
    pads.push(touchPad);
  }
  return pads;
};

function setHelp() {
  var help = document.getElementById("help");
  var text = help.getAttribute(touch.shown || touchFirst ? "data-touch" : "data-keys").replace(/\s+/g, " ");
  help.textContent = text + " Version " + GLIMMERDEEP_VERSION + ".";
}

var touchFirst = window.matchMedia && window.matchMedia("(pointer: coarse)").matches;
touch.shown = !!touchFirst;
setHelp();
layout();
// The stage's size follows the window, full screen and the lines around
// it; the pixel ratio follows zoom and the screen the window is on.
if (window.ResizeObserver) new ResizeObserver(layout).observe(stage);
window.addEventListener("resize", layout);
window.addEventListener("orientationchange", layout);

// The browser leaving full screen by itself (Escape, a swipe) in mid-game
// takes the player's attention away as losing the focus does: play pauses.
// Leaving it at the game's own request (F11) does not.
document.addEventListener("fullscreenchange", function () {
  if (!document.fullscreenElement && !Module.leavingFullscreen) Module.attentionLosses++;
  Module.leavingFullscreen = false;
  layout();
});

// ---- starting the game ----

// The game draws with WebGL (OpenGL 1.1 emulated over it). A browser that
// gives none cannot run it: that is said plainly, with what may help.
function webglAvailable() {
  try {
    var probe = document.createElement("canvas");
    var gl = probe.getContext("webgl") || probe.getContext("experimental-webgl");
    if (!gl) return false;
    var lose = gl.getExtension("WEBGL_lose_context");
    if (lose) lose.loseContext();
    return true;
  } catch (error) {
    return false;
  }
}

if (webglAvailable()) {
  var script = document.createElement("script");
  script.src = "glimmerdeep.js";
  script.async = true;
  document.body.appendChild(script);
} else {
  Module.setStatus("");
  Module.noWebGL = true;
  showEnd("This game needs WebGL",
    "Your browser has not given this page WebGL, which the game draws with. Turning on hardware " +
    "(graphics) acceleration in the browser's settings, updating the browser or the computer's " +
    "graphics drivers, or another browser may help.", "Try again");
}

// ---- installable and offline ----

// The service worker keeps this version's files for the next visit without
// the network; a page opened from a file has none.
if ("serviceWorker" in navigator && location.protocol !== "file:") {
  window.addEventListener("load", function () {
    navigator.serviceWorker.register("sw.js").catch(function (error) {
      console.warn("glimmerdeep: no offline copy: " + error);
    });
  });
}

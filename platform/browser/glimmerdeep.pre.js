// Runs inside glimmerdeep.js before the program starts: the page's side of
// the browser host. It gives the program a working folder in the page's
// storage, read before the first update and written after every save; keeps
// the page's focus where the host looks for it; and passes the page's query
// to the program as its environment.

// The working folder, where the state file lives. IndexedDB may be missing
// or refuse (private browsing, a full quota): the game then plays on with a
// folder that lasts as long as the page, and says so once on the console.
Module.storage = {mounted: false, loaded: false, busy: false, again: false, saves: 0, failures: 0};

Module.storageFailed = function (what, error) {
  Module.storage.failures++;
  if (Module.storage.failures === 1)
    console.warn("glimmerdeep: settings and scores will not outlive this page (" + what + ": " + error + ")");
};

Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
  FS.mkdir("/save");
  try {
    FS.mount(IDBFS, {}, "/save");
    Module.storage.mounted = true;
  } catch (error) {
    Module.storageFailed("mount", error);
  }
  FS.chdir("/save");
  if (!Module.storage.mounted) return;
  addRunDependency("storage");
  try {
    FS.syncfs(true, function (error) {
      if (error) Module.storageFailed("read", error);
      Module.storage.loaded = !error;
      removeRunDependency("storage");
    });
  } catch (error) {
    Module.storageFailed("read", error);
    removeRunDependency("storage");
  }
});

// One copy to the storage at a time: a save that comes while one is on its
// way is copied when that one is done.
// Storage that could not be read is never written: the copy replaces what
// is stored, and would put the defaults over the player's scores.
Module.syncStorage = function () {
  var storage = Module.storage;
  if (!storage.mounted || !storage.loaded) return;
  if (storage.busy) {
    storage.again = true;
    return;
  }
  storage.busy = true;
  function done(error) {
    storage.busy = false;
    if (error) Module.storageFailed("write", error);
    else storage.saves++;
    if (storage.again) {
      storage.again = false;
      Module.syncStorage();
    }
  }
  try {
    FS.syncfs(false, done);
  } catch (error) {
    done(error);
  }
};

// The page has the focus until it is hidden or loses it, and has it again
// when shown, focused or used.
Module.pageFocused = true;
(function () {
  function set(focused) {
    return function () {
      Module.pageFocused = focused;
    };
  }
  window.addEventListener("blur", set(false));
  window.addEventListener("focus", set(true));
  window.addEventListener("keydown", set(true), true);
  window.addEventListener("mousedown", set(true), true);
  window.addEventListener("touchstart", set(true), true);
  document.addEventListener("visibilitychange", function () {
    Module.pageFocused = document.visibilityState === "visible";
  });
})();

// "?pacing=1" in the address prints the frame loop's figures to the console,
// as GLIMMERDEEP_PACING does on the desktop.
Module.preRun.push(function () {
  var query = new URLSearchParams(window.location.search);
  if (query.get("pacing") === "1") ENV.GLIMMERDEEP_PACING = "1";
  if (query.get("rates") === "1") ENV.GLIMMERDEEP_PRINT_RATES = "1";
});

// The page lays the canvas out (page.js) and sizes its drawing buffer; GLFW's
// window follows it, so that the program draws at the canvas's size as it
// does in a resized window on the desktop.
Module.onCanvasSized = function (width, height) {
  if (typeof GLFW == "undefined" || !GLFW.active) return;
  GLFW.active.width = width;
  GLFW.active.height = height;
};

// A button released where GLFW does not listen (off the canvas, off the page)
// or held while the page loses the focus is released all the same: the host
// takes these releases from Module.pointerReleases (a bit per button) and
// gives them to the game. A press on the canvas captures the pointer, so
// that its release comes back to the canvas wherever it happens.
Module.pointerReleases = 0;
(function () {
  function release(buttons) {
    if (typeof GLFW == "undefined" || !GLFW.active) return;
    var held = GLFW.active.buttons & buttons;
    if (!held) return;
    GLFW.active.buttons &= ~held;
    Module.pointerReleases |= held;
  }
  Module.canvas.addEventListener("pointerdown", function (event) {
    if (event.pointerType !== "mouse") return;
    try {
      Module.canvas.setPointerCapture(event.pointerId);
    } catch (error) {}
  });
  window.addEventListener("mouseup", function (event) {
    if (event.target !== Module.canvas) release(1 << GLFW.DOMToGLFWMouseButton(event));
  }, true);
  window.addEventListener("blur", function () { release(7); });
  document.addEventListener("visibilitychange", function () {
    if (document.visibilityState !== "visible") release(7);
  });
})();

// A finger on the canvas is the mouse to the game, as GLFW has it, but at
// the finger's own place (GLFW keeps touches' places apart from the
// pointer's, leaving presses where the mouse last was): the first finger
// down moves, presses and releases; others on the canvas are left out. Its
// default is refused, so that no mouse events are made up after it and the
// page neither scrolls nor zooms under it.
(function () {
  var primary = null;
  function find(touches) {
    for (var i = 0; i < touches.length; i++)
      if (touches[i].identifier === primary) return touches[i];
    return null;
  }
  function follow(event) {
    event.preventDefault();
    if (event.type === "touchstart" && primary === null) primary = event.changedTouches[0].identifier;
    var touch = find(event.changedTouches);
    if (!touch) {
      event.stopImmediatePropagation();
      return;
    }
    if (event.type === "touchend" || event.type === "touchcancel") primary = null;
    var rect = Module.canvas.getBoundingClientRect();
    Browser.mouseX = (touch.clientX - rect.left) * (Module.canvas.width / rect.width);
    Browser.mouseY = (touch.clientY - rect.top) * (Module.canvas.height / rect.height);
  }
  ["touchstart", "touchmove", "touchend", "touchcancel"].forEach(function (type) {
    Module.canvas.addEventListener(type, follow, { capture: true, passive: false });
  });
})();

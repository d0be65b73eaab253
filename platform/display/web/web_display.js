// The page's side of the web display: canvases for the program's windows,
// input from the DOM into a queue the program takes from, and the wait that
// hands control back to the browser until input or a deadline.
//
// Each top-level window is a <div class="kv-window"> in the page's screen
// (#kv-screen, or the body) with a caption (title and close box) and a
// canvas that shows the window's menu bar and client area. The canvas has one
// backing pixel per program pixel and is shown at a whole multiple of the
// device's pixels, unsmoothed.

mergeInto(LibraryManager.library, {
  $VkPage: {
    windows: {},   // id -> {root, canvas, context, clientTop}
    queue: [],     // [kind, window, x, y, key, button, modifiers]
    wake: null,    // resumes the waiting program
    timer: null,
    keysBound: false,
    focusAway: false,  // the page lost the focus and has not seen an input event since
    KIND: {buttonDown: 1, buttonUp: 2, mouseMove: 3, keyDown: 4, keyUp: 5, close: 6, focusGained: 8, focusLost: 9},
    MODIFIER: {ctrl: 1, shift: 2, alt: 4},
    // What the page can tell of the program (window.vorkanStats): windows made
    // (a program that started again would make more), presents and the time of
    // the first present per window title, the time spent running the program
    // after its waits and, within it, putting frames on the canvases
    // (performance.now() milliseconds).
    stats: {windowsCreated: 0, presents: {}, firstPresentMs: {}, waits: 0, programMs: 0, presentMs: 0},

    screen: function() {
      return document.getElementById('kv-screen') || document.body;
    },

    // Device pixels per program pixel: a whole number, at least 1.
    scale: function() {
      return Math.max(1, Math.floor(window.devicePixelRatio || 1));
    },

    // Keys pressed or released while the page had not the focus are never
    // seen: the first input event after the focus came back tells the
    // program which modifiers are held, as a window system does when a window
    // gets the focus back.
    noteFocusBack: function(event) {
      if (!VkPage.focusAway) return;
      VkPage.focusAway = false;
      var held = (event.ctrlKey ? VkPage.MODIFIER.ctrl : 0) | (event.shiftKey ? VkPage.MODIFIER.shift : 0) |
                 (event.altKey ? VkPage.MODIFIER.alt : 0);
      VkPage.push([VkPage.KIND.focusGained, 0, 0, 0, 0, 0, held]);
    },

    bindFocus: function() {
      window.addEventListener('blur', function() {
        VkPage.focusAway = true;
        VkPage.push([VkPage.KIND.focusLost, 0, 0, 0, 0, 0, 0]);
      });
    },

    push: function(event) {
      while (event.length < 7) event.push(0);
      VkPage.queue.push(event);
      if (VkPage.wake) {
        var wake = VkPage.wake;
        VkPage.wake = null;
        clearTimeout(VkPage.timer);
        VkPage.resume(wake);
      }
    },

    // Runs the program on from its wait. When it ends there, its exit arrives
    // here as ExitStatus (the page was told through onExit): not an error.
    resume: function(wakeUp) {
      var start = performance.now();
      try {
        wakeUp();
      } catch (e) {
        if (!(e instanceof ExitStatus)) throw e;
      } finally {
        VkPage.stats.programMs += performance.now() - start;
      }
    },

    // Where a mouse event falls, in client coordinates (y < 0: the menu bar).
    point: function(win, event) {
      var rect = win.canvas.getBoundingClientRect();
      var x = Math.floor((event.clientX - rect.left) * win.canvas.width / rect.width);
      var y = Math.floor((event.clientY - rect.top) * win.canvas.height / rect.height);
      return [x, y - win.clientTop];
    },

    // Win32 virtual-key code for a DOM key event; 0 for keys the program has no code for.
    virtualKey: function(event) {
      var code = event.code || '';
      var m;
      if ((m = /^Key([A-Z])$/.exec(code))) return m[1].charCodeAt(0);
      if ((m = /^Digit([0-9])$/.exec(code))) return 0x30 + Number(m[1]);
      if ((m = /^Numpad([0-9])$/.exec(code))) return 0x60 + Number(m[1]);
      if ((m = /^F([0-9]+)$/.exec(code)) && Number(m[1]) >= 1 && Number(m[1]) <= 24) return 0x6F + Number(m[1]);
      var named = {
        Backspace: 0x08, Tab: 0x09, Enter: 0x0D, NumpadEnter: 0x0D, ShiftLeft: 0x10, ShiftRight: 0x10,
        ControlLeft: 0x11, ControlRight: 0x11, AltLeft: 0x12, AltRight: 0x12, Pause: 0x13, CapsLock: 0x14,
        Escape: 0x1B, Space: 0x20, PageUp: 0x21, PageDown: 0x22, End: 0x23, Home: 0x24, ArrowLeft: 0x25,
        ArrowUp: 0x26, ArrowRight: 0x27, ArrowDown: 0x28, PrintScreen: 0x2C, Insert: 0x2D, Delete: 0x2E,
        MetaLeft: 0x5B, MetaRight: 0x5C, ContextMenu: 0x5D, NumpadMultiply: 0x6A, NumpadAdd: 0x6B,
        NumpadSubtract: 0x6D, NumpadDecimal: 0x6E, NumpadDivide: 0x6F, NumLock: 0x90, ScrollLock: 0x91,
        Semicolon: 0xBA, Equal: 0xBB, Comma: 0xBC, Minus: 0xBD, Period: 0xBE, Slash: 0xBF, Backquote: 0xC0,
        BracketLeft: 0xDB, Backslash: 0xDC, BracketRight: 0xDD, Quote: 0xDE, IntlBackslash: 0xE2
      };
      return named[code] || 0;
    },

    // Keys go to the window with the stand-in's focus (window 0). The page keeps
    // Ctrl+letter, Alt combinations, Tab, Backspace, Space, the arrows, F1 and
    // F10 (the menu key) from the browser.
    bindKeys: function() {
      if (VkPage.keysBound) return;
      VkPage.keysBound = true;
      VkPage.bindFocus();
      var handler = function(down) {
        return function(event) {
          var key = VkPage.virtualKey(event);
          if (!key) return;
          if (event.ctrlKey || event.altKey || [0x08, 0x09, 0x20, 0x25, 0x26, 0x27, 0x28, 0x70, 0x79].indexOf(key) >= 0 ||
              (key >= 0x21 && key <= 0x24)) {
            event.preventDefault();
          }
          VkPage.noteFocusBack(event);
          VkPage.push([down ? VkPage.KIND.keyDown : VkPage.KIND.keyUp, 0, 0, 0, key, 0]);
        };
      };
      document.addEventListener('keydown', handler(true));
      document.addEventListener('keyup', handler(false));
    },

    bindMouse: function(id, win) {
      var canvas = win.canvas;
      var button = function(event) { return event.button === 2 ? 1 : event.button === 1 ? 2 : 0; };
      canvas.addEventListener('mousedown', function(event) {
        event.preventDefault();
        VkPage.noteFocusBack(event);
        var p = VkPage.point(win, event);
        VkPage.push([VkPage.KIND.buttonDown, id, p[0], p[1], 0, button(event)]);
      });
      canvas.addEventListener('mouseup', function(event) {
        VkPage.noteFocusBack(event);
        var p = VkPage.point(win, event);
        VkPage.push([VkPage.KIND.buttonUp, id, p[0], p[1], 0, button(event)]);
      });
      canvas.addEventListener('mousemove', function(event) {
        VkPage.noteFocusBack(event);
        var p = VkPage.point(win, event);
        VkPage.push([VkPage.KIND.mouseMove, id, p[0], p[1], 0, 0]);
      });
      canvas.addEventListener('contextmenu', function(event) { event.preventDefault(); });
    }
  },

  vk_web_window_created__deps: ['$VkPage'],
  vk_web_window_created: function(id, x, y, width, height, title) {
    VkPage.bindKeys();
    window.vorkanStats = VkPage.stats;
    VkPage.stats.windowsCreated += 1;
    var root = document.createElement('div');
    root.className = 'kv-window';
    root.style.left = x + 'px';
    root.style.top = y + 'px';
    root.style.display = 'none';
    var caption = document.createElement('div');
    caption.className = 'kv-caption';
    var name = document.createElement('span');
    name.textContent = UTF8ToString(title);
    var close = document.createElement('button');
    close.className = 'kv-close';
    close.textContent = '\u00d7';
    close.title = 'Close';
    close.addEventListener('click', function() { VkPage.push([VkPage.KIND.close, id, 0, 0, 0, 0]); });
    caption.appendChild(name);
    caption.appendChild(close);
    var canvas = document.createElement('canvas');
    canvas.className = 'kv-canvas';
    canvas.width = 1;
    canvas.height = 1;
    root.appendChild(caption);
    root.appendChild(canvas);
    VkPage.screen().appendChild(root);
    // A canvas kept in memory: frames arrive whole, and a GPU-backed canvas
    // would upload each one through the graphics driver (ten times slower
    // in headless Chromium).
    var context = canvas.getContext('2d', {willReadFrequently: true});
    var win = {root: root, canvas: canvas, context: context, clientTop: 0, title: name.textContent};
    VkPage.windows[id] = win;
    VkPage.bindMouse(id, win);
  },

  vk_web_window_shown__deps: ['$VkPage'],
  vk_web_window_shown: function(id, visible) {
    var win = VkPage.windows[id];
    if (win) win.root.style.display = visible ? '' : 'none';
  },

  vk_web_window_destroyed__deps: ['$VkPage'],
  vk_web_window_destroyed: function(id) {
    var win = VkPage.windows[id];
    if (!win) return;
    win.root.remove();
    delete VkPage.windows[id];
  },

  vk_web_present__deps: ['$VkPage'],
  vk_web_present: function(id, rgba, width, height, clientTop) {
    var win = VkPage.windows[id];
    if (!win) return;
    var start = performance.now();
    var canvas = win.canvas;
    if (canvas.width !== width || canvas.height !== height) {
      canvas.width = width;
      canvas.height = height;
      var cssScale = VkPage.scale() / (window.devicePixelRatio || 1);
      canvas.style.width = (width * cssScale) + 'px';
      canvas.style.height = (height * cssScale) + 'px';
    }
    win.clientTop = clientTop;
    var stats = VkPage.stats;
    stats.presents[win.title] = (stats.presents[win.title] || 0) + 1;
    if (!(win.title in stats.firstPresentMs)) stats.firstPresentMs[win.title] = performance.now();
    // Straight from the program's memory: putImageData copies it.
    var bytes = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    win.context.putImageData(new ImageData(bytes, width, height), 0, 0);
    stats.presentMs += performance.now() - start;
  },

  vk_web_screen_width: function() { return 1024; },
  vk_web_screen_height: function() { return 768; },

  vk_web_take_input__deps: ['$VkPage'],
  vk_web_take_input: function(fields) {
    var event = VkPage.queue.shift();
    if (!event) return 0;
    for (var i = 0; i < 7; ++i) HEAP32[(fields >> 2) + i] = event[i];
    return 1;
  },

  vk_web_wait__deps: ['$VkPage'],
  // Called only with the queue empty. It must reach handleSleep on every call:
  // the call that resumes the program after the sleep passes through it again.
  vk_web_wait: function(milliseconds) {
    Asyncify.handleSleep(function(wakeUp) {
      VkPage.stats.waits += 1;
      VkPage.wake = wakeUp;
      if (milliseconds >= 0) {
        VkPage.timer = setTimeout(function() {
          VkPage.wake = null;
          VkPage.resume(wakeUp);
        }, milliseconds);
      }
    });
  }
});

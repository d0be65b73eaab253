// The page's side of the web display: canvases for the program's windows laid
// out to fit the page, input from the DOM into a queue the program takes
// from, and the two ways the program hands the thread back to the browser:
// waiting for input until a deadline, and giving way for a moment when it
// has run for a good part of a frame without waiting.
//
// Each top-level window is a <div class="kv-window"> in the page's screen
// (#kv-screen, or the body) with a caption (title and close box) and a
// canvas that shows the window's menu bar and client area, one backing pixel
// per program pixel. The windows are laid out beside or under each other at
// the largest scale that fits, in whole device pixels per program pixel
// (crisp at any device pixel ratio), and again whenever the page's size or
// zoom changes. window.vorkanDisplay (VkPage) is what the page's own script
// uses: the windows, present and resume listeners, the layout and the stats.
//
// Index: VkPage's state; running the program (resume, give way, its end);
// layout; pointer and keys; the functions the program imports.

mergeInto(LibraryManager.library, {
  $VkPage__postset: 'if (typeof window !== "undefined") { window.vorkanDisplay = VkPage; ' +
                    'window.vorkanStats = VkPage.stats; } ' +
                    'addOnExit(function() { VkPage.ended = true; });',
  $VkPage: {
    windows: {},   // id -> {id, root, caption, canvas, context, clientTop, title, shown}
    order: [],     // ids in the order the windows were made
    queue: [],     // [kind, window, x, y, key, button, character]
    wake: null,    // resumes the program waiting for input
    timer: null,
    frameTask: null,
    channel: null,
    runningSince: 0,  // performance.now() when the program last got the thread
    ended: false,
    endWatched: false,
    held: {},         // virtual keys given down to the program and not yet up
    keysBound: false,
    layoutPending: false,
    lastLayout: null,
    listeners: {present: [], resumed: []},
    KIND: {buttonDown: 1, buttonUp: 2, mouseMove: 3, keyDown: 4, keyUp: 5, close: 6, expose: 7},
    US_LAYOUT: -1,
    NO_CHARACTER: -2,
    // How long the program may run before it gives way: the rest of a 60 Hz
    // frame is the browser's, to paint and to answer the user.
    BUDGET_MS: 10,
    CAPTION_CSS: 20,
    GAP_CSS: 8,
    // What the page can tell of the program: windows made (a program that
    // started again would make more), presents and the time of the first
    // present per window title, waits, yields, the time spent running the
    // program and, within it, putting frames on the canvases (ms).
    stats: {windowsCreated: 0, presents: {}, firstPresentMs: {}, waits: 0, yields: 0, programMs: 0, presentMs: 0},

    screen: function() {
      return document.getElementById('kv-screen') || document.body;
    },

    windowTitled: function(title) {
      for (var i = 0; i < VkPage.order.length; ++i) {
        var win = VkPage.windows[VkPage.order[i]];
        if (win && win.title === title) return win;
      }
      return null;
    },

    // ---- Running the program ----

    push: function(event) {
      if (VkPage.ended) return;
      VkPage.queue.push(event);
      if (VkPage.wake) {
        var wake = VkPage.wake;
        VkPage.wake = null;
        clearTimeout(VkPage.timer);
        VkPage.resume(wake);
      }
    },

    // Wakes a waiting program so that it looks at what the page changed (a
    // script the page started playing, say): a repaint of its first window.
    nudge: function() {
      if (VkPage.order.length) VkPage.push([VkPage.KIND.expose, VkPage.order[0], 0, 0, 0, 0, VkPage.US_LAYOUT]);
    },

    // Runs the program on from a wait. When it ends there, its exit arrives
    // here as ExitStatus (the page was told through onExit): not an error.
    resume: function(wakeUp) {
      var start = performance.now();
      VkPage.runningSince = start;
      try {
        wakeUp();
      } catch (e) {
        if (!(e instanceof ExitStatus)) throw e;
      } finally {
        VkPage.stats.programMs += performance.now() - start;
        VkPage.listeners.resumed.forEach(function(listener) { listener(); });
      }
    },

    // Runs `task` once the browser has had a frame: after its next paint when
    // the page is shown (the task then runs before anything else is due), at
    // once when it is hidden, where frames do not come.
    afterFrame: function(task) {
      if (!VkPage.channel) {
        VkPage.channel = new MessageChannel();
        VkPage.channel.port1.onmessage = function() {
          var run = VkPage.frameTask;
          VkPage.frameTask = null;
          if (run) run();
        };
      }
      VkPage.frameTask = task;
      if (document.hidden) {
        VkPage.channel.port2.postMessage(0);
      } else {
        requestAnimationFrame(function() { VkPage.channel.port2.postMessage(0); });
      }
    },

    // A main that returns after a wait returns to the browser, not to the
    // runtime: its result comes here, and the program ends as if it had
    // returned at once. Called at the program's first wait.
    watchEnd: function() {
      if (VkPage.endWatched || Asyncify.state !== Asyncify.State.Unwinding) return;
      VkPage.endWatched = true;
      Asyncify.whenDone().then(function(status) {
        try {
          exit(status);
        } catch (e) {
          if (!(e instanceof ExitStatus)) throw e;
        }
      }, function(e) {
        if (e instanceof ExitStatus) return;
        try {
          abort(e);
        } catch (ignored) {
        }
      });
    },

    // ---- Layout ----

    scheduleLayout: function() {
      if (VkPage.layoutPending) return;
      VkPage.layoutPending = true;
      requestAnimationFrame(VkPage.layout);
    },

    // Device pixels per program pixel for a fit of `fit`: whole numbers, so
    // that every program pixel is the same square of device pixels; on dense
    // touch screens (phones, tablets), where uneven pixels no longer show and
    // room is scarce, the fit itself when a whole number would leave a sixth
    // of the room empty; below 1 only when even 1 does not fit.
    crispScale: function(fit, ratio) {
      if (fit < 1) return fit;
      var whole = Math.floor(fit);
      var touch = window.matchMedia('(pointer: coarse)').matches;
      return touch && ratio >= 2 && fit >= 1.2 * whole ? fit : whole;
    },

    // Lays the shown windows out in the page's screen: beside each other, or
    // under each other with the first (the picture) in view, whichever lets
    // them be larger; every canvas on whole device pixels, centred.
    layout: function() {
      VkPage.layoutPending = false;
      var wins = VkPage.order.map(function(id) { return VkPage.windows[id]; })
        .filter(function(win) { return win.shown && win.canvas.width > 1; });
      if (!wins.length) return;
      var screen = VkPage.screen();
      var ratio = window.devicePixelRatio || 1;
      var caption = Math.round(VkPage.CAPTION_CSS * ratio);
      var gap = Math.round(VkPage.GAP_CSS * ratio);
      var box = screen.getBoundingClientRect();
      var pageTop = box.top + window.scrollY;
      var roomWidth = Math.max(1, Math.floor(screen.clientWidth * ratio));
      // Below the page's heading; when that takes more than a quarter of the
      // window (a phone held sideways), the whole window: the heading scrolls away.
      var free = pageTop > window.innerHeight / 4 ? window.innerHeight : window.innerHeight - pageTop - 4;
      var roomHeight = Math.floor(free * ratio);
      var widths = wins.map(function(win) { return win.canvas.width; });
      var heights = wins.map(function(win) { return win.canvas.height; });
      var sum = function(values) { return values.reduce(function(a, b) { return a + b; }, 0); };
      var beside = Math.min((roomWidth - gap * (wins.length - 1)) / sum(widths),
                            (roomHeight - caption) / Math.max.apply(null, heights));
      var under = Math.min(roomWidth / Math.max.apply(null, widths), (roomHeight - caption) / heights[0]);
      // The larger crisp scale wins; beside, with both windows in view, when they are equal.
      beside = VkPage.crispScale(Math.max(beside, 0.05), ratio);
      under = VkPage.crispScale(Math.max(under, 0.05), ratio);
      var side = beside >= under;
      var scale = side ? beside : under;
      var sizes = wins.map(function(win) {
        return [Math.round(win.canvas.width * scale), Math.round(win.canvas.height * scale)];
      });
      var total = side ? sum(sizes.map(function(s) { return s[0]; })) + gap * (wins.length - 1)
                       : Math.max.apply(null, sizes.map(function(s) { return s[0]; }));
      // Whole device pixels from the page's origin, whatever the screen's own offset.
      var originX = (box.left + window.scrollX) * ratio;
      var originY = pageTop * ratio;
      var shiftX = Math.ceil(originX - 1e-6) - originX;
      var shiftY = Math.ceil(originY - 1e-6) - originY;
      var x = Math.max(0, Math.floor((roomWidth - total) / 2));
      var y = 0;
      var bottom = 0;
      wins.forEach(function(win, i) {
        var css = function(device) { return device / ratio + 'px'; };
        win.root.style.left = css(x + shiftX);
        win.root.style.top = css(y + shiftY);
        win.root.style.width = css(sizes[i][0]);
        win.caption.style.height = css(caption);
        win.caption.style.fontSize = css(Math.round(caption * 0.6));
        win.canvas.style.width = css(sizes[i][0]);
        win.canvas.style.height = css(sizes[i][1]);
        win.canvas.classList.toggle('kv-shrunk', scale < 1);
        bottom = Math.max(bottom, y + caption + sizes[i][1]);
        if (side) {
          x += sizes[i][0] + gap;
        } else {
          y += caption + sizes[i][1] + gap;
        }
      });
      screen.style.height = (bottom + shiftY) / ratio + 'px';
      VkPage.lastLayout = {scale: scale, ratio: ratio, beside: side, room: [roomWidth, roomHeight], top: pageTop};
    },

    watchRatio: function() {
      var query = window.matchMedia('(resolution: ' + (window.devicePixelRatio || 1) + 'dppx)');
      var changed = function() {
        query.removeEventListener('change', changed);
        VkPage.scheduleLayout();
        VkPage.watchRatio();
      };
      query.addEventListener('change', changed);
    },

    // ---- Pointer and keys ----

    // The client pixel under a pointer event (y < 0: the menu bar).
    point: function(win, event) {
      var rect = win.canvas.getBoundingClientRect();
      var clamp = function(v, size) { return Math.max(0, Math.min(size - 1, v)); };
      var x = clamp(Math.floor((event.clientX - rect.left) * win.canvas.width / rect.width), win.canvas.width);
      var y = clamp(Math.floor((event.clientY - rect.top) * win.canvas.height / rect.height), win.canvas.height);
      return [x, y - win.clientTop];
    },

    focusScreen: function() {
      var screen = VkPage.screen();
      if (document.activeElement !== screen) screen.focus({preventScroll: true});
    },

    // Win32 virtual-key code for a DOM key event; 0 for keys the program has
    // no code for. Letters follow the user's layout, as Win32's do (on AZERTY
    // Ctrl+Q is the key marked Q); the other keys go by their place.
    virtualKey: function(event) {
      if (event.key === 'AltGraph') return 0;  // a shift for characters, not the menu's Alt
      if (/^[a-zA-Z]$/.test(event.key)) return event.key.toUpperCase().charCodeAt(0);
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
      // A character from no known key (an on-screen keyboard, an input method): Win32's VK_PACKET.
      return named[code] || (VkPage.character(event) >= 0 ? 0xE7 : 0);
    },

    // Windows-1252's characters 0x80-0x9F; the rest of it is Unicode's 0-0xFF.
    CP1252_HIGH: '\u20ac\ufffd\u201a\u0192\u201e\u2026\u2020\u2021\u02c6\u2030\u0160\u2039\u0152\ufffd\u017d\ufffd' +
                 '\ufffd\u2018\u2019\u201c\u201d\u2022\u2013\u2014\u02dc\u2122\u0161\u203a\u0153\ufffd\u017e\u0178',

    // The character a key-down types on the user's layout, as Windows-1252
    // gives it: US_LAYOUT where the stand-in decides (keys that type control
    // characters, Ctrl combinations, Alt combinations, which are the menu's),
    // NO_CHARACTER for a dead key or a character Windows-1252 lacks.
    character: function(event) {
      var key = event.key || '';
      if (key === 'Dead') return VkPage.NO_CHARACTER;
      var single = key.length === 1 || (key.length === 2 && key.codePointAt(0) > 0xFFFF);
      if (!single || event.metaKey) return VkPage.US_LAYOUT;
      // Ctrl and Alt combinations are the stand-in's, unless both are held
      // for a character of AltGr's (browsers on Windows report AltGr as Ctrl+Alt).
      var altGr = (event.getModifierState && event.getModifierState('AltGraph')) ||
                  (event.ctrlKey && event.altKey && !/^[a-zA-Z]$/.test(key));
      if (!altGr && (event.ctrlKey || event.altKey)) return VkPage.US_LAYOUT;
      var code = key.codePointAt(0);
      if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return code;
      var high = VkPage.CP1252_HIGH.indexOf(key);
      return high >= 0 ? 0x80 + high : VkPage.NO_CHARACTER;
    },

    // Keys are the program's unless one of the page's controls has the focus.
    // Tab and Shift+Tab move the page's focus, except that Tab goes to the
    // program while its windows have the focus (clicked, or reached by Tab).
    keyForProgram: function(event, key) {
      if (VkPage.ended || event.isComposing) return false;
      var focus = document.activeElement;
      var screen = VkPage.screen();
      if (focus && focus !== screen && focus !== document.body &&
          focus.closest('button, input, select, textarea, a[href], summary, [contenteditable]')) {
        return false;
      }
      return key !== 0x09 || (!event.shiftKey && focus === screen);
    },

    // The browser keeps reload, full screen, its developer tools and the
    // system's own combinations (Command on a Mac).
    browserKeeps: function(event, key) {
      return key === 0x74 || key === 0x7A || key === 0x7B || event.metaKey ||
             (event.ctrlKey && event.shiftKey && key === 0x49);
    },

    // Keys the program was given down, given up: the keyboard went elsewhere.
    releaseKeys: function() {
      Object.keys(VkPage.held).forEach(function(key) {
        VkPage.push([VkPage.KIND.keyUp, 0, 0, 0, Number(key), 0, VkPage.US_LAYOUT]);
      });
      VkPage.held = {};
    },

    // Keys go to the window with the stand-in's focus (window 0).
    bindKeys: function() {
      if (VkPage.keysBound) return;
      VkPage.keysBound = true;
      var screen = VkPage.screen();
      if (screen !== document.body && !screen.hasAttribute('tabindex')) screen.tabIndex = 0;
      document.addEventListener('keydown', function(event) {
        // Browsers on Windows report AltGr as Ctrl, then AltGraph: the Ctrl was none.
        if (event.key === 'AltGraph' && VkPage.held[0x11]) {
          delete VkPage.held[0x11];
          VkPage.push([VkPage.KIND.keyUp, 0, 0, 0, 0x11, 0, VkPage.US_LAYOUT]);
        }
        var key = VkPage.virtualKey(event);
        if (!key || !VkPage.keyForProgram(event, key)) return;
        if (!VkPage.browserKeeps(event, key)) event.preventDefault();
        VkPage.held[key] = true;
        VkPage.push([VkPage.KIND.keyDown, 0, 0, 0, key, 0, VkPage.character(event)]);
      });
      document.addEventListener('keyup', function(event) {
        var key = VkPage.virtualKey(event);
        if (!key || !VkPage.held[key]) return;
        if (!VkPage.browserKeeps(event, key)) event.preventDefault();
        delete VkPage.held[key];
        VkPage.push([VkPage.KIND.keyUp, 0, 0, 0, key, 0, VkPage.US_LAYOUT]);
      });
      window.addEventListener('blur', VkPage.releaseKeys);
      document.addEventListener('focusin', function(event) {
        if (event.target !== screen && event.target !== document.body) VkPage.releaseKeys();
      });
      window.addEventListener('resize', VkPage.scheduleLayout);
      VkPage.watchRatio();
    },

    // A mouse or pen press is a press at once; a touch is a tap, given as a
    // press and release where the finger came down once it lifts, so that a
    // finger that scrolls the page presses nothing.
    bindPointer: function(id, win) {
      var canvas = win.canvas;
      var K = VkPage.KIND;
      var button = function(event) { return event.button === 2 ? 1 : event.button === 1 ? 2 : 0; };
      var send = function(kind, event, p) { VkPage.push([kind, id, p[0], p[1], 0, button(event), VkPage.US_LAYOUT]); };
      canvas.addEventListener('pointerdown', function(event) {
        VkPage.focusScreen();
        var p = VkPage.point(win, event);
        if (event.pointerType === 'touch') {
          win.tap = {pointer: event.pointerId, at: p};
          return;
        }
        event.preventDefault();
        send(K.buttonDown, event, p);
      });
      canvas.addEventListener('pointerup', function(event) {
        if (event.pointerType !== 'touch') {
          send(K.buttonUp, event, VkPage.point(win, event));
          return;
        }
        var tap = win.tap;
        win.tap = null;
        if (!tap || tap.pointer !== event.pointerId) return;
        send(K.buttonDown, event, tap.at);
        send(K.buttonUp, event, tap.at);
      });
      canvas.addEventListener('pointercancel', function() { win.tap = null; });
      canvas.addEventListener('pointermove', function(event) {
        if (event.pointerType !== 'touch') send(K.mouseMove, event, VkPage.point(win, event));
      });
      canvas.addEventListener('contextmenu', function(event) { event.preventDefault(); });
    }
  },

  vk_web_window_created__deps: ['$VkPage'],
  vk_web_window_created: function(id, x, y, width, height, title) {
    VkPage.bindKeys();
    VkPage.stats.windowsCreated += 1;
    if (!VkPage.runningSince) VkPage.runningSince = performance.now();
    var root = document.createElement('div');
    root.className = 'kv-window';
    root.style.position = 'absolute';
    root.style.display = 'none';
    var caption = document.createElement('div');
    caption.className = 'kv-caption';
    var name = document.createElement('span');
    name.textContent = UTF8ToString(title);
    var close = document.createElement('button');
    close.className = 'kv-close';
    close.textContent = '\u00d7';
    close.title = 'Close';
    close.tabIndex = -1;
    close.addEventListener('click', function() {
      VkPage.push([VkPage.KIND.close, id, 0, 0, 0, 0, VkPage.US_LAYOUT]);
    });
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
    var win = {id: id, root: root, caption: caption, canvas: canvas, context: context, clientTop: 0,
               title: name.textContent, shown: false};
    VkPage.windows[id] = win;
    VkPage.order.push(id);
    VkPage.bindPointer(id, win);
  },

  vk_web_window_shown__deps: ['$VkPage'],
  vk_web_window_shown: function(id, visible) {
    var win = VkPage.windows[id];
    if (!win) return;
    win.shown = !!visible;
    win.root.style.display = visible ? '' : 'none';
    VkPage.scheduleLayout();
  },

  vk_web_window_destroyed__deps: ['$VkPage'],
  vk_web_window_destroyed: function(id) {
    var win = VkPage.windows[id];
    if (!win) return;
    win.root.remove();
    delete VkPage.windows[id];
    VkPage.order = VkPage.order.filter(function(other) { return other !== id; });
    VkPage.scheduleLayout();
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
      VkPage.layout();
    }
    win.clientTop = clientTop;
    var stats = VkPage.stats;
    stats.presents[win.title] = (stats.presents[win.title] || 0) + 1;
    if (!(win.title in stats.firstPresentMs)) stats.firstPresentMs[win.title] = performance.now();
    // Straight from the program's memory: putImageData copies it.
    var bytes = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    win.context.putImageData(new ImageData(bytes, width, height), 0, 0);
    VkPage.listeners.present.forEach(function(listener) { listener(win); });
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

  vk_web_page_arguments__deps: ['$stringToNewUTF8'],
  vk_web_page_arguments: function() {
    return stringToNewUTF8(arguments_.map(function(word) { return word + '\n'; }).join(''));
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
    VkPage.watchEnd();
  },

  vk_web_give_way__deps: ['$VkPage'],
  // Like vk_web_wait, the call that resumes the program passes through here
  // again and must reach handleSleep, whatever the time then.
  vk_web_give_way: function() {
    if (Asyncify.state === Asyncify.State.Normal && performance.now() - VkPage.runningSince < VkPage.BUDGET_MS) return;
    Asyncify.handleSleep(function(wakeUp) {
      VkPage.stats.yields += 1;
      VkPage.afterFrame(function() { VkPage.resume(wakeUp); });
    });
    VkPage.watchEnd();
  }
});

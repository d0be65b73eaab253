// The page around a KV318 program (index.html): reads the page's address
// (?seed=N, ?play=NAME, ?embed=1), starts the program (NAME.js, named by the
// body's data-program) or says in words why it cannot, and runs the page's
// buttons: the script file KV318.SCR downloaded and loaded, the graphics
// window saved as a picture or a video, full screen. The browser keeps the
// last recorded script, which is KV318.SCR again after a reload. The program's
// windows themselves are the web display's (window.vorkanDisplay).
//
// Index: status line; the address; storage of the last recording; the
// script file; pictures and videos; the program's start and end; buttons.
(function() {
  'use strict';
  var SCRIPT_FILE = 'KV318.SCR';
  var SCRIPT = {IDLE: 0, RECORDING: 1, PLAYING: 2};
  var LARGE_SCRIPT = 4 << 20;          // bytes: playing such a script takes minutes
  var SCANNED = 1 << 16;               // bytes of an upload looked at to tell whether it is a script
  var VIDEO_LIMIT_MS = 5 * 60 * 1000;  // a video ends by itself after this long
  var GRAPHICS = 'KV318 Graphics';
  var body = document.body;
  var program = body.dataset.program || 'program';
  var params = new URLSearchParams(location.search);
  var element = function(id) { return document.getElementById(id); };
  var storageKey = 'kv318:' + location.pathname + ':' + SCRIPT_FILE;
  var running = false;       // the program runs (started, not ended)
  var scriptState = SCRIPT.IDLE;
  var stderrLines = [];
  var video = null;

  // ---- The status line: what happens (say), and what went wrong (fail), which stays ----

  function say(text) {
    var line = element('kv-status');
    line.textContent = text;
    line.title = text;
  }

  function fail(text) {
    element('kv-error').textContent = text;
    element('kv-notice').textContent = text;
  }

  // ---- The page's address ----

  // The program's arguments from the address, and what is wrong with it.
  function readAddress() {
    var result = {args: [], play: null, problems: []};
    if (params.get('embed') === '1') body.classList.add('kv-embed');
    if (params.has('seed')) {
      var seed = params.get('seed').trim();
      var wholeNumber = /^-?\d{1,19}$/.test(seed) && BigInt(seed) >= -(2n ** 63n) && BigInt(seed) < 2n ** 63n;
      if (wholeNumber) {
        result.args.push('--seed', seed);
      } else {
        result.problems.push('?seed= takes a whole number of seconds, for example ?seed=1; "' + seed + '" is not one.');
      }
    }
    if (params.has('play')) {
      var play = params.get('play');
      if (/^[\w][\w.-]*$/.test(play)) {
        result.play = play;
        result.args.push('--play', '/play.scr');
      } else {
        result.problems.push('?play= takes the name of a script file in the page\'s folder, for example ' +
                             '?play=tour.scr; "' + play + '" is not one.');
      }
    }
    if (location.protocol === 'file:') {
      result.problems.push('This page was opened from a file, where the browser will not load the program: ' +
                           'serve its folder (for example python3 -m http.server in that folder) and open ' +
                           'http://localhost:8000/ instead.');
    }
    return result;
  }

  // ---- Bytes as text and back (scripts are 8-bit text) ----

  function bytesToText(bytes) {
    var parts = [];
    for (var i = 0; i < bytes.length; i += 0x8000) {
      parts.push(String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000)));
    }
    return parts.join('');
  }

  function textToBytes(text) {
    var bytes = new Uint8Array(text.length);
    for (var i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
    return bytes;
  }

  function lineCount(bytes) {
    var lines = 0;
    for (var i = 0; i < bytes.length; ++i) lines += bytes[i] === 10 ? 1 : 0;
    return lines;
  }

  function megabytes(size) {
    return (size / (1 << 20)).toFixed(1) + ' MB';
  }

  // ---- The last recording, kept by the browser ----

  function keepRecording() {
    var bytes = readScriptFile();
    if (!bytes || !bytes.length) return;
    try {
      localStorage.setItem(storageKey, JSON.stringify({saved: Date.now(), text: bytesToText(bytes)}));
    } catch (e) {
      say('The recording (' + megabytes(bytes.length) + ') is too large for the browser to keep after a ' +
          'reload: Download KV318.SCR saves it.');
    }
  }

  function restoreRecording() {
    var kept = null;
    try {
      kept = JSON.parse(localStorage.getItem(storageKey) || 'null');
    } catch (e) {
      return;
    }
    if (!kept || typeof kept.text !== 'string') return;
    Module.FS.writeFile(SCRIPT_FILE, textToBytes(kept.text));
    say('KV318.SCR is your last recording again (' + new Date(kept.saved).toLocaleString() + '): ' +
        'Playback (Ctrl+P) plays it, Download saves it.');
  }

  // ---- The program's script file ----

  function readScriptFile() {
    try {
      return Module.FS.readFile(SCRIPT_FILE);
    } catch (e) {
      return null;
    }
  }

  // Calls one of the program's page functions (web_start.cpp) while it runs.
  function callProgram(name) {
    return running ? Module['_vk_web_page_' + name]() : SCRIPT.IDLE;
  }

  // After each turn of the program: a recording that ended is kept; a played
  // script that ended ends its video.
  function followScript() {
    if (!running) return;
    var state = callProgram('script_state');
    if (scriptState === SCRIPT.RECORDING && state !== SCRIPT.RECORDING) keepRecording();
    if (scriptState === SCRIPT.PLAYING && state !== SCRIPT.PLAYING && video && video.ofScript) {
      setTimeout(stopVideo, 300);  // the last frame first
    }
    scriptState = state;
  }

  // Ends a recording that is on, so that the file is whole; says so.
  function endRecording() {
    if (callProgram('script_state') !== SCRIPT.RECORDING) return '';
    callProgram('close_script');
    keepRecording();
    scriptState = SCRIPT.IDLE;
    return 'The recording was ended first, so that the script is whole. ';
  }

  function download(blob, name) {
    var link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(function() { URL.revokeObjectURL(link.href); }, 10000);
  }

  function downloadScript() {
    var note = endRecording();
    var bytes = readScriptFile();
    if (!bytes) {
      say(note + 'There is no KV318.SCR yet: record one with Ctrl+R (Run menu, Record Script), or load one.');
    } else if (!bytes.length) {
      say(note + 'KV318.SCR is empty: the recording held no event. Nothing was saved.');
    } else {
      download(new Blob([bytes], {type: 'application/octet-stream'}), SCRIPT_FILE);
      say(note + 'Saved KV318.SCR (' + lineCount(bytes) + ' lines).');
    }
  }

  // Why `bytes` is no script file, or '' when it is one.
  function notAScript(bytes, name) {
    var head = bytes.subarray(0, SCANNED);
    if (!bytes.length) return name + ' is empty, so it is no script.';
    if (head.indexOf(0) >= 0) return name + ' is no script: it holds NUL bytes, as a program or a picture does.';
    var control = 0;
    for (var i = 0; i < head.length; ++i) {
      var b = head[i];
      if ((b < 32 && b !== 9 && b !== 10 && b !== 13) || b === 127) ++control;
    }
    if (control > head.length / 100) return name + ' is no script: it is not text.';
    if (!/^[ \t]*KV318_[A-Z]+[ \t]*\(.*\)/m.test(bytesToText(head))) {
      return name + ' is no script: none of its lines is like KV318_MOUSE(10, 20); or KV318_PERIODIC(3);.';
    }
    return '';
  }

  function loadScript(file) {
    file.arrayBuffer().then(function(buffer) {
      var bytes = new Uint8Array(buffer);
      var problem = notAScript(bytes, file.name);
      if (problem) {
        fail(problem + ' It was not loaded.');
        return;
      }
      fail('');
      var ended = callProgram('close_script');
      if (ended === SCRIPT.RECORDING) keepRecording();
      scriptState = SCRIPT.IDLE;
      Module.FS.writeFile(SCRIPT_FILE, bytes);
      var note = ended === SCRIPT.RECORDING ? ' The recording that was on was ended first (the browser keeps it).' :
                 ended === SCRIPT.PLAYING ? ' The playback that was on was stopped.' : '';
      var size = bytes.length > LARGE_SCRIPT ? ' It is large (' + megabytes(bytes.length) + ', ' +
                 lineCount(bytes) + ' lines): playing it takes a while, and the page stays usable meanwhile.' : '';
      say('Loaded ' + file.name + ' as KV318.SCR: choose Playback or Play One from the Run menu.' + note + size);
    });
  }

  // ---- Pictures and videos of the graphics window ----

  function graphicsWindow() {
    var display = window.vorkanDisplay;
    if (!display) return null;
    return display.windowTitled(GRAPHICS) || display.windows[display.order[0]] || null;
  }

  // A canvas holding the graphics window's client area, one pixel a pixel.
  function clientCanvas(win) {
    var canvas = document.createElement('canvas');
    canvas.width = win.canvas.width;
    canvas.height = win.canvas.height - win.clientTop;
    copyClient(win, canvas);
    return canvas;
  }

  function copyClient(win, canvas) {
    canvas.getContext('2d').drawImage(win.canvas, 0, win.clientTop, canvas.width, canvas.height,
                                      0, 0, canvas.width, canvas.height);
  }

  function savePicture() {
    var win = graphicsWindow();
    if (!win || win.canvas.width < 2) {
      say('There is no picture yet.');
      return;
    }
    clientCanvas(win).toBlob(function(blob) {
      download(blob, program + '.png');
      say('Saved ' + program + '.png.');
    }, 'image/png');
  }

  // The video format the browser records: WebM where it can, else MP4 (Safari).
  function videoFormat() {
    if (typeof MediaRecorder === 'undefined') return null;
    var types = ['video/webm;codecs=vp9', 'video/webm;codecs=vp8', 'video/webm', 'video/mp4'];
    for (var i = 0; i < types.length; ++i) {
      if (MediaRecorder.isTypeSupported(types[i])) return {type: types[i], extension: /mp4/.test(types[i]) ? '.mp4' : '.webm'};
    }
    return null;
  }

  function startVideo(ofScript) {
    var win = graphicsWindow();
    var format = videoFormat();
    if (!win || !format) {
      say(format ? 'There is no picture yet.' : 'This browser cannot record videos.');
      return false;
    }
    var canvas = clientCanvas(win);
    var recorder = new MediaRecorder(canvas.captureStream(), {mimeType: format.type, videoBitsPerSecond: 8000000});
    var chunks = [];
    var listener = function(shown) {
      if (shown === win) copyClient(win, canvas);
    };
    recorder.ondataavailable = function(event) {
      if (event.data.size) chunks.push(event.data);
    };
    recorder.onstop = function() {
      var name = program + format.extension;
      download(new Blob(chunks, {type: format.type}), name);
      say('Saved ' + name + ' (' + ((performance.now() - video.start) / 1000).toFixed(1) + ' s).');
      video = null;
      element('kv-video').textContent = 'Record video';
    };
    window.vorkanDisplay.listeners.present.push(listener);
    recorder.start(1000);
    video = {recorder: recorder, listener: listener, start: performance.now(), ofScript: ofScript,
             limit: setTimeout(stopVideo, VIDEO_LIMIT_MS)};
    element('kv-video').textContent = 'Stop video';
    return true;
  }

  function stopVideo() {
    if (!video || video.recorder.state === 'inactive') return;
    clearTimeout(video.limit);
    var present = window.vorkanDisplay.listeners.present;
    present.splice(present.indexOf(video.listener), 1);
    video.recorder.stop();
  }

  function videoOfScript() {
    if (video) stopVideo();
    var bytes = readScriptFile();
    if (!running || !bytes || !bytes.length) {
      say(running ? 'There is no KV318.SCR to play: record one with Ctrl+R, or load one.' : 'The program does not run.');
      return;
    }
    endRecording();
    if (!startVideo(true)) return;
    callProgram('play_script');
    scriptState = SCRIPT.PLAYING;
    window.vorkanDisplay.nudge();
    say('Playing KV318.SCR from its start for the video; it is saved when the script ends.');
  }

  // ---- The program's start and end ----

  function fetchPlay(name) {
    Module.addRunDependency('play');
    var url = new URL(name, location.href).href;
    fetch(url).then(function(response) {
      if (!response.ok) throw new Error('the server answered ' + response.status + ' ' + response.statusText);
      return response.arrayBuffer();
    }).then(function(buffer) {
      Module.FS.writeFile('/play.scr', new Uint8Array(buffer));
    }).catch(function(error) {
      fail('Could not load the script ' + url + ': ' + error.message + '. The program runs without it.');
    }).then(function() {
      Module.removeRunDependency('play');
    });
  }

  function ended(status) {
    if (running) followScript();
    running = false;
    stopVideo();
    body.classList.add('kv-ended');
    body.dataset.exitStatus = String(status);
    var why = status !== 0 && stderrLines.length ? ': ' + stderrLines[stderrLines.length - 1] : '';
    var text = 'The program has ended (status ' + status + ')' + why + '. Reload the page to run it again.';
    say(text);
    element('kv-notice').textContent = text;
  }

  function start(address) {
    window.Module = {
      arguments: address.args,
      preRun: [restoreRecording, function() {
        if (address.play) fetchPlay(address.play);
      }],
      print: function(text) { console.log(text); },
      printErr: function(text) {
        console.error(text);
        stderrLines.push(text);
        if (stderrLines.length > 20) stderrLines.shift();
      },
      onRuntimeInitialized: function() {
        running = true;
        window.vorkanDisplay.listeners.resumed.push(followScript);
        if (/Loading/.test(element('kv-status').textContent)) say('Running.');
      },
      onExit: ended,
      onAbort: function(what) {
        running = false;
        body.classList.add('kv-ended');
        fail('The program stopped with an error: ' + what + '. Reload the page to run it again.');
      }
    };
    var script = document.createElement('script');
    script.src = program + '.js';
    script.onerror = function() {
      fail('Could not load ' + script.src + ': is the page\'s folder served whole?');
    };
    document.body.appendChild(script);
  }

  // ---- The page's buttons ----

  function bindButtons() {
    element('kv-download').addEventListener('click', downloadScript);
    element('kv-load-button').addEventListener('click', function() { element('kv-load').click(); });
    element('kv-load').addEventListener('change', function(event) {
      if (event.target.files.length) loadScript(event.target.files[0]);
      event.target.value = '';
    });
    element('kv-picture').addEventListener('click', savePicture);
    element('kv-video').addEventListener('click', function() {
      if (video) {
        stopVideo();
      } else if (startVideo(false)) {
        say('Recording a video of the graphics window: press Stop video to save it.');
      }
    });
    element('kv-video-script').addEventListener('click', videoOfScript);
    var full = element('kv-full');
    full.hidden = !document.fullscreenEnabled;
    full.addEventListener('click', function() {
      if (document.fullscreenElement) {
        document.exitFullscreen();
      } else {
        document.documentElement.requestFullscreen().catch(function(e) { say('No full screen here: ' + e.message); });
      }
    });
    document.addEventListener('fullscreenchange', function() {
      body.classList.toggle('kv-full', !!document.fullscreenElement);
      window.vorkanDisplay.scheduleLayout();
    });
    // A button pressed with the mouse gives the keys back to the program.
    element('kv-bar').addEventListener('click', function(event) {
      if (event.detail > 0 && event.target.blur) event.target.blur();
    });
    document.addEventListener('dragover', function(event) {
      event.preventDefault();
      body.classList.add('kv-drop');
    });
    document.addEventListener('dragleave', function() { body.classList.remove('kv-drop'); });
    document.addEventListener('drop', function(event) {
      event.preventDefault();
      body.classList.remove('kv-drop');
      if (event.dataTransfer.files.length) loadScript(event.dataTransfer.files[0]);
    });
    if (window.ResizeObserver) {
      new ResizeObserver(function() {
        if (window.vorkanDisplay) window.vorkanDisplay.scheduleLayout();
      }).observe(element('kv-chrome'));
    }
  }

  bindButtons();
  var address = readAddress();
  if (address.problems.length) {
    say('The program was not started.');
    fail(address.problems.join(' ') + ' Mend the address and load the page again.');
    return;
  }
  start(address);
})();

// Drives the pages in headless Chromium.
// The scene's page (--scene URL):
// - one graphics window, the title screen's colours, a click enters the scene,
//   the program made its two windows once (a main started again at every wait
//   would make more), Ctrl+H halts and Ctrl+A resumes, the close box ends the
//   program and the page says so;
// - a click recorded with Ctrl+R is downloaded without ending the recording
//   first (the page ends it), is KV318.SCR again after a reload, and the script
//   uploaded into a fresh page plays into the scene with Playback and Play One;
//   an upload that is no script is refused in words;
// - bad addresses and a page opened from a file are explained in words;
// - at device pixel ratios 1.25, 1.5 and 2 the graphics window is shown at a
//   whole number of device pixels per pixel, on whole device pixels, and 40
//   clicks land on the toolkit points aimed at; a phone's viewport taps a panel
//   button and the Run menu; in a small iframe with ?embed=1 the windows shrink
//   to fit and take keys after a click;
// - given the reference (--tour: raw RGB of vorkan-headless --seed 1 --play
//   scene_tour.scr --snapshot), the played tour ends on the same pixels, also at
//   two device pixels per CSS pixel, and Save picture gives those pixels.
// A student's program built with --program (--program URL, --program-reference
// RGB: the native run of tests/examples/waits_in_helper.c): it waits inside a
// helper, plays its script to the native pixels, types the user's layout as
// Windows-1252 codes, plays 50,000 events while the page keeps answering, and
// Ctrl+Q ends it with the status shown. --example URL (repeatable): a page that
// runs and ends with Ctrl+Q.
// Usage: node page_check.mjs --scene URL [--tour RGB] [--program URL --program-reference RGB] [--example URL]...
//        (NODE_PATH must hold playwright-core)
import { createRequire } from 'node:module';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const require = createRequire(import.meta.url);
const { chromium } = require('playwright-core');

const CLIENT_WIDTH = 595;
const CLIENT_HEIGHT = 496;
const ORIGIN = { x: 297, y: 248 };
// A client pixel and the toolkit point it is (the origin is the client area's centre).
const CLICK = { x: 397, y: 198, line: 'KV318_MOUSE(100, 50);' };

const options = { example: [] };
for (let i = 2; i < process.argv.length; i += 2) {
  const name = process.argv[i].replace(/^--/, '');
  if (Array.isArray(options[name])) options[name].push(process.argv[i + 1]);
  else options[name] = process.argv[i + 1];
}
const tour = options.tour ? fs.readFileSync(options.tour) : null;
const helperPixels = options['program-reference'] ? fs.readFileSync(options['program-reference']) : null;
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'vorkan-page-check-'));
const baseArgs = ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
                  '--disable-component-update', '--disable-sync'];
const launch = (extra = []) => chromium.launch({
  executablePath: process.env.VORKAN_CHROMIUM || '/usr/bin/chromium', args: [...baseArgs, ...extra],
});
let failures = 0;
let passes = 0;
function check(ok, what) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (ok) passes += 1;
  else failures += 1;
}
const sceneUrl = (query) => new URL(query, options.scene).href;

// Colour counts of the graphics window's canvas: {rrggbb: pixels}.
async function colours(page) {
  return page.evaluate(() => {
    const canvas = graphicsCanvas();
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    const counts = {};
    for (let i = 0; i < data.length; i += 4) {
      const key = ((data[i] << 16) | (data[i + 1] << 8) | data[i + 2]).toString(16).padStart(6, '0');
      counts[key] = (counts[key] || 0) + 1;
    }
    return { counts, width: canvas.width, height: canvas.height };
  });
}
const red = (c) => c.counts['ff0000'] || 0;

// True when the graphics window shows the same picture twice, `ms` apart.
async function still(page, ms = 400) {
  const a = await colours(page);
  await page.waitForTimeout(ms);
  const b = await colours(page);
  return JSON.stringify(a.counts) === JSON.stringify(b.counts);
}

async function openPage(context, url, pageOptions = {}) {
  const page = await context.newPage(pageOptions);
  page.errors = [];
  page.on('pageerror', (e) => page.errors.push(String(e)));
  await page.addInitScript(() => {
    window.graphicsCanvas = () => [...document.querySelectorAll('.kv-window')]
      .find((w) => w.textContent.includes('Graphics')).querySelector('canvas');
  });
  await page.goto(url);
  await page.waitForFunction(() => [...document.querySelectorAll('.kv-window canvas')].some((c) => c.width > 500));
  return page;
}

const statusText = (page) => page.evaluate(() => document.getElementById('kv-status').textContent);
const errorText = (page) => page.evaluate(() => document.getElementById('kv-error').textContent);
const scriptFile = (page) => page.evaluate(() => {
  try { return new TextDecoder('latin1').decode(Module.FS.readFile('KV318.SCR')); } catch (e) { return null; }
});

// Where a client pixel of the graphics window is on the page, in CSS pixels (its centre).
async function clientPoint(page, x, y) {
  return page.evaluate(([x, y, clientHeight]) => {
    const canvas = graphicsCanvas();
    const rect = canvas.getBoundingClientRect();
    const top = canvas.height - clientHeight;
    return { x: rect.left + (x + 0.5) * rect.width / canvas.width,
             y: rect.top + (top + y + 0.5) * rect.height / canvas.height };
  }, [x, y, CLIENT_HEIGHT]);
}

async function clickClient(page, x, y) {
  const at = await clientPoint(page, x, y);
  await page.mouse.click(at.x, at.y);
}

// Ctrl+R, a click at CLICK, and Ctrl+R again unless `keepRecording`.
async function recordClick(page, keepRecording = false) {
  await page.keyboard.press('Control+KeyR');
  await page.waitForTimeout(300);
  await clickClient(page, CLICK.x, CLICK.y);
  await page.waitForTimeout(300);
  if (!keepRecording) await page.keyboard.press('Control+KeyR');
  await page.waitForTimeout(200);
}

// A recorded click: title ticks, the click at CLICK's toolkit point, then scene ticks.
function recordedClick(text) {
  const tick = 'KV318_PERIODIC\\(\\d+\\);\\n';
  const click = CLICK.line.replace(/[()]/g, '\\$&');
  return new RegExp(`^(${tick})*${click}\\n(${tick})*$`).test(text || '');
}

// The mouse lines of a script, as [x, y].
const mouseLines = (text) => [...(text || '').matchAll(/KV318_MOUSE\((-?\d+), (-?\d+)\);/g)].map((m) => [+m[1], +m[2]]);

// Gives the title screen time to settle before keys and clicks reach it.
const titleShown = (page) => page.waitForTimeout(400);

async function checkSession(browser) {
  const page = await openPage(browser, sceneUrl('?seed=1'), { viewport: { width: 1100, height: 900 } });
  await page.waitForTimeout(500);
  const titles = await page.$$eval('.kv-window', (ws) => ws.filter((w) => w.style.display !== 'none')
    .map((w) => w.querySelector('.kv-caption span').textContent));
  check(titles.filter((t) => t.includes('Graphics')).length === 1, `exactly one graphics window (${titles.join(', ')})`);
  const title = await colours(page);
  const black = title.counts['000000'] || 0;
  const size = title.width * title.height;
  check(red(title) > size / 5 && black > size / 5, `title screen mostly red and black (${red(title)} red, ${black} black of ${size})`);

  const box = await (await page.evaluateHandle(() => graphicsCanvas())).boundingBox();
  await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
  await page.waitForTimeout(800);
  const scene = await colours(page);
  check(red(scene) < red(title) / 2, `a click enters the scene (red ${red(title)} -> ${red(scene)})`);
  check(!(await still(page, 500)), 'the scene animates');
  const stats = await page.evaluate(() => window.vorkanStats);
  check(stats.windowsCreated === 2 && stats.waits > 10,
        `the program made its windows once and kept its place across ${stats.waits} waits (${stats.windowsCreated} windows made)`);

  await page.keyboard.press('Control+KeyH');
  await page.waitForTimeout(200);
  check(await still(page), 'Ctrl+H halts the animation');
  await page.keyboard.press('Control+KeyA');
  await page.waitForTimeout(200);
  check(!(await still(page)), 'Ctrl+A resumes it');

  await page.click('.kv-window .kv-close');
  await page.waitForFunction(() => document.body.classList.contains('kv-ended'), null, { timeout: 5000 });
  const ended = await page.evaluate(() => ({ status: document.body.dataset.exitStatus,
                                             text: document.getElementById('kv-status').textContent }));
  check(ended.status === '0' && /has ended/.test(ended.text), `the close box ends the program and the page says so ("${ended.text}")`);
  check(page.errors.length === 0, `no page errors${page.errors.length ? ': ' + page.errors.join('; ') : ''}`);
  await page.close();
}

// Records a click and downloads it while still recording, finds it again after
// a reload, uploads it into a fresh page and plays it there; refuses uploads that are no scripts.
async function checkRecordAndPlay(browser) {
  const context = await browser.newContext();
  const recorder = await openPage(context, sceneUrl('?seed=1'));
  await titleShown(recorder);
  await recordClick(recorder, true);
  const [download] = await Promise.all([recorder.waitForEvent('download'), recorder.click('#kv-download')]);
  const saved = path.join(scratch, download.suggestedFilename());
  await download.saveAs(saved);
  const text = fs.readFileSync(saved, 'latin1');
  const said = await statusText(recorder);
  check(download.suggestedFilename() === 'KV318.SCR' && recordedClick(text) && /ended first/.test(said),
        `Download while recording ends the recording and saves the click (${JSON.stringify(text)}; "${said}")`);
  await recorder.reload();
  await recorder.waitForFunction(() => window.Module && Module.calledRun);
  check(await scriptFile(recorder) === text, 'the recording is KV318.SCR again after a reload');
  await recorder.close();
  await context.close();

  // Playback plays the whole script; Play One a step a press, the title's ticks first.
  const ticks = Math.max(...[...text.matchAll(/PERIODIC\((\d+)\)/g)].map((m) => Number(m[1])));
  for (const [key, presses, how] of [['Control+KeyP', 1, 'Playback'], ['Control+KeyO', ticks + 2, 'Play One']]) {
    const player = await openPage(browser, sceneUrl('?seed=1'));
    await titleShown(player);
    await player.setInputFiles('#kv-load', saved);
    await player.waitForFunction(() => /^Loaded/.test(document.getElementById('kv-status').textContent));
    const before = await colours(player);
    for (let i = 0; i < presses; ++i) {
      await player.keyboard.press(key);
      await player.waitForTimeout(100);
    }
    await player.waitForTimeout(800);
    const after = await colours(player);
    check(red(after) < red(before) / 2 && player.errors.length === 0,
          `${how} plays the uploaded script's click into the scene (red ${red(before)} -> ${red(after)})` +
          `${player.errors.length ? ', page errors: ' + player.errors.join('; ') : ''}`);
    if (how === 'Play One') {
      const uploads = [['picture.png', Buffer.from([0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0, 0, 0, 13])],
                       ['notes.txt', Buffer.from('Buy milk.\nKV318 is fun.\n')]];
      for (const [name, buffer] of uploads) {
        await player.setInputFiles('#kv-load', { name, mimeType: 'application/octet-stream', buffer });
        await player.waitForFunction((n) => document.getElementById('kv-error').textContent.includes(n), name);
        const refused = await errorText(player);
        check(/is no script/.test(refused) && (await scriptFile(player)) === text, `an upload that is no script is refused ("${refused}")`);
      }
    }
    await player.close();
  }
}

// Bad addresses and a page opened from a file: said in words.
async function checkErrorsInWords(browser, sceneDir) {
  const page = await browser.newPage();
  await page.goto(sceneUrl('?seed=abc'));
  await page.waitForTimeout(300);
  const seed = await errorText(page);
  check(/whole number/.test(seed) && /"abc"/.test(seed), `a bad ?seed says why ("${seed}")`);
  await page.goto(sceneUrl('?seed=1&play=missing.scr'));
  await page.waitForFunction(() => document.getElementById('kv-error').textContent);
  await page.waitForTimeout(500);
  const play = await errorText(page);
  check(/missing\.scr/.test(play) && /404/.test(play) && /^http/.test(play.split(' ').find((w) => w.includes('missing'))),
        `a failed ?play= names the URL and the status, and stays ("${play}")`);
  if (sceneDir) {
    await page.goto('file://' + path.join(sceneDir, 'index.html'));
    await page.waitForTimeout(300);
    const file = await errorText(page);
    check(/python3 -m http.server/.test(file), `a page opened from a file says to serve its folder ("${file}")`);
  }
  await page.close();
}

// The tour played with seed 1 ends, halted, on the headless runner's last picture:
// returns how many client pixels of the canvas's backing store differ.
async function playedTourDifference(page, reference = tour) {
  for (let i = 0; i < 60 && !(await still(page, 300)); ++i) {}
  return page.evaluate(([ref, width, height]) => {
    const canvas = graphicsCanvas();
    const data = canvas.getContext('2d').getImageData(0, canvas.height - height, width, height).data;
    let count = 0;
    for (let p = 0; p < width * height; ++p) {
      if (data[p * 4] !== ref[p * 3] || data[p * 4 + 1] !== ref[p * 3 + 1] || data[p * 4 + 2] !== ref[p * 3 + 2]) ++count;
    }
    return count;
  }, [Array.from(reference), CLIENT_WIDTH, CLIENT_HEIGHT]);
}

// How many pixels of a downloaded PNG differ from the tour's reference.
async function pictureDifference(page, file) {
  const png = fs.readFileSync(file).toString('base64');
  return page.evaluate(async ([png, ref]) => {
    const image = new Image();
    image.src = 'data:image/png;base64,' + png;
    await image.decode();
    const canvas = document.createElement('canvas');
    canvas.width = image.width;
    canvas.height = image.height;
    canvas.getContext('2d').drawImage(image, 0, 0);
    const data = canvas.getContext('2d').getImageData(0, 0, image.width, image.height).data;
    let count = Math.abs(image.width * image.height - ref.length / 3);
    for (let p = 0; p < Math.min(data.length / 4, ref.length / 3); ++p) {
      if (data[p * 4] !== ref[p * 3] || data[p * 4 + 1] !== ref[p * 3 + 1] || data[p * 4 + 2] !== ref[p * 3 + 2]) ++count;
    }
    return count;
  }, [png, Array.from(tour)]);
}

async function checkTourAndPicture(browser) {
  const page = await openPage(browser, sceneUrl('?seed=1&play=scene_tour.scr'), { viewport: { width: 1100, height: 900 } });
  const differing = await playedTourDifference(page);
  check(differing === 0, `the played tour ends on vorkan-headless's pixels (${differing} differ)`);
  const [download] = await Promise.all([page.waitForEvent('download'), page.click('#kv-picture')]);
  const file = path.join(scratch, download.suggestedFilename());
  await download.saveAs(file);
  const pictured = await pictureDifference(page, file);
  check(download.suggestedFilename() === 'vorkan.png' && pictured === 0,
        `Save picture gives --snapshot's pixels (${download.suggestedFilename()}, ${pictured} differ)`);
  await page.close();
}

// How the graphics window's canvas is shown: the layout's scale, whether it
// lies on whole device pixels, and how many sampled pixels the screen shows
// otherwise than as a square of that many device pixels in their own colour.
async function shownScale(page) {
  const shot = (await page.screenshot()).toString('base64');
  return page.evaluate(async (png) => {
    const canvas = graphicsCanvas();
    const ratio = window.devicePixelRatio;
    const rect = canvas.getBoundingClientRect();
    const device = [rect.left, rect.top, rect.width, rect.height].map((v) => v * ratio);
    const whole = device.every((v) => Math.abs(v - Math.round(v)) < 0.05);
    const scale = window.vorkanDisplay.lastLayout.scale;
    const image = new Image();
    image.src = 'data:image/png;base64,' + png;
    await image.decode();
    const copy = document.createElement('canvas');
    copy.width = image.width;
    copy.height = image.height;
    copy.getContext('2d').drawImage(image, 0, 0);
    const screen = copy.getContext('2d').getImageData(0, 0, copy.width, copy.height).data;
    const backing = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    const [left, top] = device.map(Math.round);
    let wrong = 0;
    let sampled = 0;
    for (let y = 0; y < canvas.height && top + (y + 1) * scale <= copy.height; y += 3) {
      for (let x = (y * 7) % 5; x < canvas.width; x += 5) {
        const b = (y * canvas.width + x) * 4;
        sampled += 1;
        let same = true;
        for (let j = 0; j < scale && same; ++j) {
          for (let i = 0; i < scale && same; ++i) {
            const s = ((top + y * scale + j) * copy.width + left + x * scale + i) * 4;
            same = screen[s] === backing[b] && screen[s + 1] === backing[b + 1] && screen[s + 2] === backing[b + 2];
          }
        }
        if (!same) ++wrong;
      }
    }
    return { scale, wrong, sampled, ratio, whole, width: device[2] };
  }, shot);
}

// 40 client points spread over the area, corners and edges among them.
const AIMED = Array.from({ length: 40 }, (_, i) => [i < 4 ? [0, 594][i % 2] : (i * 97 + 3) % CLIENT_WIDTH,
                                                      i < 4 ? [0, 495][i >> 1] : (i * 53 + 7) % CLIENT_HEIGHT]);

// At a device pixel ratio: the windows crisp on whole device pixels, 40 clicks
// on their toolkit points; at 2 also the tour's pixels.
async function checkDeviceRatio(ratio) {
  const browser = await launch([`--force-device-scale-factor=${ratio}`, '--window-size=1100,900']);
  try {
    const context = await browser.newContext({ viewport: null });
    if (tour && ratio === 2) {
      const page = await openPage(context, sceneUrl('?seed=1&play=scene_tour.scr'));
      const differing = await playedTourDifference(page);
      check(differing === 0, `at device pixel ratio 2 the tour ends on the same pixels (${differing} differ)`);
      await page.close();
    }
    const page = await openPage(context, sceneUrl('?seed=1'));
    await titleShown(page);
    await page.keyboard.press('Control+KeyH');  // a still picture for the screenshot
    await page.waitForTimeout(300);
    const shown = await shownScale(page);
    check(shown.ratio === ratio && Number.isInteger(shown.scale) && shown.whole && shown.wrong === 0 &&
          Math.abs(shown.width - CLIENT_WIDTH * shown.scale) < 0.05,
          `at device pixel ratio ${ratio} the picture is ${shown.scale}x${shown.scale} device pixels a pixel, ` +
          `${shown.whole ? 'on' : 'off'} whole device pixels (${shown.wrong} of ${shown.sampled} samples otherwise)`);
    await page.keyboard.press('Control+KeyR');
    for (const [x, y] of AIMED) await clickClient(page, x, y);
    await page.waitForTimeout(500);
    await page.keyboard.press('Control+KeyR');
    await page.waitForTimeout(200);
    const landed = mouseLines(await scriptFile(page));
    const hits = AIMED.filter(([x, y], i) => landed[i] && landed[i][0] === x - ORIGIN.x && landed[i][1] === ORIGIN.y - y);
    check(landed.length === AIMED.length && hits.length === AIMED.length,
          `at device pixel ratio ${ratio} ${hits.length} of ${AIMED.length} clicks land on the toolkit point aimed at`);
    await page.close();
  } finally {
    await browser.close();
  }
}

// A phone: the picture fills the width, a tap leaves the title, a tap on a
// panel button lands on it, and the Run menu opens with a tap and halts.
async function checkPhone(browser) {
  const context = await browser.newContext({ viewport: { width: 390, height: 844 }, deviceScaleFactor: 3,
                                             isMobile: true, hasTouch: true });
  const page = await openPage(context, sceneUrl('?seed=1'));
  await titleShown(page);
  const tapClient = async (x, y) => {
    const at = await clientPoint(page, x, y);
    await page.touchscreen.tap(at.x, at.y);
    await page.waitForTimeout(250);
  };
  const width = await page.evaluate(() => graphicsCanvas().getBoundingClientRect().width);
  await page.keyboard.press('Control+KeyR');
  await tapClient(ORIGIN.x, ORIGIN.y);
  await tapClient(ORIGIN.x - 245, ORIGIN.y - 107);  // "Blow wind", toolkit (-245, 107)
  await page.keyboard.press('Control+KeyR');
  await page.waitForTimeout(200);
  const taps = mouseLines(await scriptFile(page));
  const button = 25 * (await page.evaluate(() => window.vorkanDisplay.lastLayout.scale / devicePixelRatio));
  check(width > 350 && taps.length === 2 && taps[1][0] === -245 && taps[1][1] === 107 && button >= 15,
        `on a 390x844 phone the picture is ${width.toFixed(0)} CSS pixels wide, a panel button ${button.toFixed(1)} ` +
        `tall, and taps land on the title and the button (${JSON.stringify(taps)})`);
  const menuBar = await page.evaluate(() => graphicsCanvas().height - 496);
  await tapClient(14, -menuBar / 2);  // the Run menu's title
  const halt = await page.evaluate((bar) => {
    const rect = graphicsCanvas().getBoundingClientRect();
    const scale = rect.height / graphicsCanvas().height;
    return { x: rect.left + 40 * scale, y: rect.top + (bar + 32) * scale };  // its second item, Halt animation
  }, menuBar);
  await page.touchscreen.tap(halt.x, halt.y);
  await page.waitForTimeout(300);
  check(await still(page), 'a tap on Run and one on Halt animation halt the scene');
  await context.close();
}

// A small iframe with ?embed=1: the windows alone, shrunk to fit, keys after a click.
async function checkEmbedded(browser) {
  const page = await browser.newPage({ viewport: { width: 500, height: 400 } });
  await page.setContent(`<iframe src="${sceneUrl('?seed=1&embed=1')}" width="320" height="260" style="border:0"></iframe>`);
  const frame = await (await page.waitForSelector('iframe')).contentFrame();
  await frame.waitForFunction(() => window.vorkanDisplay && window.vorkanDisplay.lastLayout &&
                              [...document.querySelectorAll('.kv-window canvas')].some((c) => c.width > 500));
  await page.waitForTimeout(400);
  const fit = await frame.evaluate(() => {
    const right = Math.max(...[...document.querySelectorAll('.kv-window')].map((w) => w.getBoundingClientRect().right));
    const chrome = document.getElementById('kv-chrome').getBoundingClientRect().height;
    return { right, chrome, scale: window.vorkanDisplay.lastLayout.scale };
  });
  const canvas = await frame.evaluateHandle(() => [...document.querySelectorAll('.kv-window canvas')][0]);
  const box = await canvas.boundingBox();
  await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
  await page.waitForTimeout(500);
  await page.keyboard.press('Control+KeyH');
  await page.waitForTimeout(300);
  const pixels = () => frame.evaluate(() => [...document.querySelectorAll('.kv-window canvas')][0].toDataURL());
  const a = await pixels();
  await page.waitForTimeout(400);
  check(fit.right <= 320 && fit.chrome === 0 && fit.scale < 1 && a === await pixels(),
        `in a 320x260 iframe with ?embed=1 the windows fit (scale ${fit.scale.toFixed(2)}), the page's chrome is hidden, ` +
        'and Ctrl+H after a click halts');
  await page.close();
}

// A student's program that waits inside a helper, built with --program.
async function checkStudentProgram(browser) {
  const url = (query) => new URL(query, options.program).href;
  const played = await openPage(browser, url('?play=waits_in_helper.scr'));
  const differing = await playedTourDifference(played, helperPixels);
  check(differing === 0 && played.errors.length === 0,
        `a program waiting inside a helper plays its script to its native run's pixels (${differing} differ)`);
  await played.close();

  // Keys of German and French layouts, as a browser reports them: ü, AltGr+E (€),
  // the dead key ´ then e (é), AltGr+Q (@) as Windows and as Linux report AltGr, ł (not in Windows-1252).
  const page = await openPage(browser, url(''));
  const cdp = await page.context().newCDPSession(page);
  const type = async (key, code, modifiers = 0) => {
    const text = key.length === 1 ? key : undefined;
    await cdp.send('Input.dispatchKeyEvent', { type: text ? 'keyDown' : 'rawKeyDown', key, code, text, modifiers });
    await cdp.send('Input.dispatchKeyEvent', { type: 'keyUp', key, code, modifiers });
  };
  await page.keyboard.press('Control+KeyR');
  await type('ü', 'BracketLeft');
  await type('€', 'KeyE', 3);
  await type('Dead', 'Equal');
  await type('é', 'KeyE');
  await type('@', 'KeyQ', 3);
  await cdp.send('Input.dispatchKeyEvent', { type: 'rawKeyDown', key: 'AltGraph', code: 'AltRight' });
  await type('@', 'KeyQ');
  await cdp.send('Input.dispatchKeyEvent', { type: 'keyUp', key: 'AltGraph', code: 'AltRight' });
  await type('ł', 'KeyL');
  await page.waitForTimeout(300);
  await page.keyboard.press('Control+KeyR');
  await page.waitForTimeout(200);
  const keys = [...((await scriptFile(page)) || '').matchAll(/KV318_KBD\((-?\d+)\);/g)].map((m) => Number(m[1]));
  check(JSON.stringify(keys) === JSON.stringify([-4, -128, -23, 64, 64]),
        `typed characters follow the layout as Windows-1252 codes (ü € é @ @ ł -> ${JSON.stringify(keys)})`);

  await page.keyboard.press('Control+KeyQ');
  await page.waitForFunction(() => document.body.classList.contains('kv-ended'), null, { timeout: 5000 });
  const ended = await statusText(page);
  check(/has ended \(status 0\)/.test(ended) && page.errors.length === 0, `Ctrl+Q ends it and the page shows the status ("${ended}")`);
  await page.close();
}

// 50,000 events played while a timer of the page's own keeps firing.
async function checkLongScript(browser) {
  const page = await openPage(browser, new URL('', options.program).href);
  const lines = [];
  for (let i = 0; i < 25000; ++i) lines.push(`KV318_MOUSE(${(i * 37) % 500 - 250}, ${(i * 23) % 400 - 200});`, `KV318_KBD(${97 + i % 26});`);
  await page.setInputFiles('#kv-load', { name: 'long.scr', mimeType: 'text/plain', buffer: Buffer.from(lines.join('\n') + '\n') });
  await page.waitForFunction(() => /^Loaded/.test(document.getElementById('kv-status').textContent));
  await page.evaluate(() => {
    window.beat = { last: performance.now(), longest: 0, beats: 0 };
    setInterval(() => {
      const now = performance.now();
      beat.longest = Math.max(beat.longest, now - beat.last);
      beat.last = now;
      beat.beats += 1;
    }, 10);
  });
  const presents = () => page.evaluate(() => window.vorkanStats.presents['KV318 Graphics']);
  const before = await presents();
  await page.keyboard.press('Control+KeyP');
  await page.waitForTimeout(3000);
  const after = await page.evaluate(() => ({ longest: beat.longest, beats: beat.beats,
                                             presents: window.vorkanStats.presents['KV318 Graphics'],
                                             playing: Module._vk_web_page_script_state() === 2 }));
  check(after.playing && after.longest < 100 && after.presents - before > 30,
        `while a 50,000-event script plays the page answers: its timer fired ${after.beats} times, at most ` +
        `${after.longest.toFixed(0)} ms apart, and ${after.presents - before} frames were shown`);
  await page.close();
}

// An example built as a page: it runs, and Ctrl+Q ends it with status 0.
async function checkExample(browser, url) {
  const page = await openPage(browser, url);
  await page.waitForTimeout(500);
  await page.keyboard.press('Control+KeyQ');
  await page.waitForFunction(() => document.body.classList.contains('kv-ended'), null, { timeout: 5000 });
  const status = await page.evaluate(() => document.body.dataset.exitStatus);
  check(status === '0' && page.errors.length === 0, `${url} runs and ends with Ctrl+Q (status ${status})`);
  await page.close();
}

const browser = await launch();
try {
  await checkSession(browser);
  await checkRecordAndPlay(browser);
  await checkErrorsInWords(browser, options['scene-dir']);
  await checkPhone(browser);
  await checkEmbedded(browser);
  if (tour) await checkTourAndPicture(browser);
  for (const ratio of [1.25, 1.5, 2]) await checkDeviceRatio(ratio);
  if (options.program && helperPixels) {
    await checkStudentProgram(browser);
    await checkLongScript(browser);
  }
  for (const url of options.example) await checkExample(browser, url);
} catch (e) {
  check(false, String(e && e.stack || e));
} finally {
  await browser.close();
  fs.rmSync(scratch, { recursive: true, force: true });
}
console.log(`page: ${passes} passed, ${failures} failed`);
process.exit(failures ? 1 : 0);

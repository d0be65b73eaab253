// Drives the page in headless Chromium:
// - one graphics window, the title screen's colours, a click enters the scene,
//   the program made its two windows once (a main started again at every wait
//   would make more), Ctrl+H halts and Ctrl+A resumes, the close box ends the
//   program and the page says so;
// - Ctrl+R, a click, Ctrl+R records the click at the toolkit point under the
//   pointer; the page's download holds that script, and the script uploaded
//   through the file picker into a fresh page plays into the scene, with
//   Playback (Ctrl+P) and step by step with Play One (Ctrl+O);
// - given a reference (the raw RGB bytes of vorkan-headless --seed 1 --play
//   scene_tour.scr --snapshot), ?seed=1&play=scene_tour.scr ends on the same
//   pixels, at one device pixel per CSS pixel and again at two, where the
//   canvas must also be shown at exactly 2x2 device pixels per pixel, unsmoothed,
//   and clicks must still land on the right toolkit point.
// Usage: node page_check.mjs URL [REFERENCE.rgb]   (NODE_PATH must hold playwright-core)
import { createRequire } from 'node:module';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const require = createRequire(import.meta.url);
const { chromium } = require('playwright-core');

const CLIENT_WIDTH = 595;
const CLIENT_HEIGHT = 496;
// A client pixel and the toolkit point it is (the origin is the client area's centre).
const CLICK = { x: 397, y: 198, line: 'KV318_MOUSE(100, 50);' };

const url = process.argv[2];
const reference = process.argv[3] ? fs.readFileSync(process.argv[3]) : null;
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
const withQuery = (query) => new URL(query, url).href;

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

async function openPage(browser, query, options = {}) {
  const page = await browser.newPage(options);
  page.errors = [];
  page.on('pageerror', (e) => page.errors.push(String(e)));
  await page.addInitScript(() => {
    window.graphicsCanvas = () => [...document.querySelectorAll('.kv-window')]
      .find((w) => w.textContent.includes('Graphics')).querySelector('canvas');
  });
  await page.goto(withQuery(query));
  await page.waitForFunction(() => [...document.querySelectorAll('.kv-window canvas')].some((c) => c.width > 500));
  return page;
}

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

// Ctrl+R, a click at CLICK, Ctrl+R: returns the program's script file as the page holds it.
async function recordClick(page) {
  await page.keyboard.press('Control+KeyR');
  await page.waitForTimeout(300);
  const at = await clientPoint(page, CLICK.x, CLICK.y);
  await page.mouse.click(at.x, at.y);
  await page.waitForTimeout(300);
  await page.keyboard.press('Control+KeyR');
  await page.waitForTimeout(200);
}

// A recorded click: title ticks, the click at CLICK's toolkit point, then scene ticks.
function recordedClick(text) {
  const tick = 'KV318_PERIODIC\\(\\d+\\);\\n';
  const click = CLICK.line.replace(/[()]/g, '\\$&');
  return new RegExp(`^(${tick})*${click}\\n(${tick})*$`).test(text);
}

async function checkSession(browser) {
  const page = await openPage(browser, '?seed=1', { viewport: { width: 1100, height: 900 } });
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

  await checkMenuHolds(page);

  await page.click('.kv-window .kv-close');
  await page.waitForFunction(() => document.body.classList.contains('kv-ended'), null, { timeout: 5000 });
  const ended = await page.evaluate(() => ({ status: document.body.dataset.exitStatus,
                                             text: document.getElementById('kv-status').textContent }));
  check(ended.status === '0' && /has ended/.test(ended.text), `the close box ends the program and the page says so ("${ended.text}")`);
  check(page.errors.length === 0, `no page errors${page.errors.length ? ': ' + page.errors.join('; ') : ''}`);
  await page.close();
}

// The Run menu, opened by Alt+R, by F10 and the Down arrow, or by a click on
// its title, holds the program while it is open (the picture holds) without
// restarting it (its windows are made once, it keeps waiting for input), and
// Escape closes it again, after which the animation goes on.
async function checkMenuHolds(page) {
  const openers = {
    'Alt+R': async () => page.keyboard.press('Alt+KeyR'),
    'F10 and Down': async () => { await page.keyboard.press('F10'); await page.keyboard.press('ArrowDown'); },
    'a click on Run': async () => { const at = await clientPoint(page, 15, -10); await page.mouse.click(at.x, at.y); },
  };
  for (const [how, open] of Object.entries(openers)) {
    const closed = await colours(page);
    await open();
    await page.waitForTimeout(200);
    const opened = await colours(page);
    const waits = (await page.evaluate(() => window.vorkanStats)).waits;
    const held = await still(page, 800);
    const stats = await page.evaluate(() => window.vorkanStats);
    check(JSON.stringify(opened.counts) !== JSON.stringify(closed.counts) && held && stats.windowsCreated === 2 &&
          stats.waits > waits, `the Run menu opened by ${how} shows and holds the picture, the program waiting in place ` +
          `(${stats.waits - waits} waits, ${stats.windowsCreated} windows made)`);
    await page.keyboard.press('Escape');
    await page.keyboard.press('Escape');
    await page.waitForTimeout(200);
    check(!(await still(page)), `after Escape the animation goes on (${how})`);
  }
}

// Records a click, downloads the script, uploads it into a fresh page and plays it there.
async function checkRecordAndPlay(browser) {
  const recorder = await openPage(browser, '?seed=1');
  await titleShown(recorder);
  await recordClick(recorder);
  const [download] = await Promise.all([recorder.waitForEvent('download'), recorder.click('#kv-download')]);
  const saved = path.join(scratch, download.suggestedFilename());
  await download.saveAs(saved);
  const text = fs.readFileSync(saved, 'latin1');
  check(download.suggestedFilename() === 'KV318.SCR' && recordedClick(text),
        `the recorded click is downloaded as KV318.SCR (${JSON.stringify(text)})`);
  await recorder.close();

  // Playback plays the whole script; Play One a step a press, the title's ticks first.
  const ticks = Math.max(...[...text.matchAll(/PERIODIC\((\d+)\)/g)].map((m) => Number(m[1])));
  for (const [key, presses, how] of [['Control+KeyP', 1, 'Playback'], ['Control+KeyO', ticks + 2, 'Play One']]) {
    const player = await openPage(browser, '?seed=1');
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
    await player.close();
  }
}

// Gives the title screen time to settle before keys and clicks reach it.
async function titleShown(page) {
  await page.waitForTimeout(400);
}

// The tour played with seed 1 ends, halted, on the headless runner's last picture:
// returns how many client pixels of the canvas's backing store differ.
async function playedTourDifference(page) {
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

async function checkTour(browser) {
  const page = await openPage(browser, '?seed=1&play=scene_tour.scr', { viewport: { width: 1100, height: 900 } });
  const differing = await playedTourDifference(page);
  check(differing === 0, `the played tour ends on vorkan-headless's pixels (${differing} differ)`);
  await page.close();
}

// How the graphics window's canvas is shown: device pixels per backing pixel
// across and down, and how many sampled backing pixels the screen shows
// otherwise than as a block of that size in their own colour.
async function shownScale(page) {
  const handle = await page.evaluateHandle(() => graphicsCanvas());
  const shot = (await handle.screenshot()).toString('base64');
  return page.evaluate(async (png) => {
    const canvas = graphicsCanvas();
    const image = new Image();
    image.src = 'data:image/png;base64,' + png;
    await image.decode();
    const copy = document.createElement('canvas');
    copy.width = image.width;
    copy.height = image.height;
    const context = copy.getContext('2d');
    context.drawImage(image, 0, 0);
    const screen = context.getImageData(0, 0, copy.width, copy.height).data;
    const backing = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    const sx = copy.width / canvas.width;
    const sy = copy.height / canvas.height;
    let wrong = 0;
    for (let y = 0; y < canvas.height; y += 3) {
      for (let x = (y * 7) % 5; x < canvas.width; x += 5) {
        const b = (y * canvas.width + x) * 4;
        for (let j = 0; j < sy; ++j) {
          for (let i = 0; i < sx; ++i) {
            const s = ((y * sy + j) * copy.width + x * sx + i) * 4;
            if (screen[s] !== backing[b] || screen[s + 1] !== backing[b + 1] || screen[s + 2] !== backing[b + 2]) {
              ++wrong;
              i = sx;
              j = sy;
            }
          }
        }
      }
    }
    const rect = canvas.getBoundingClientRect();
    const ratio = window.devicePixelRatio;
    const whole = Number.isInteger(rect.left * ratio) && Number.isInteger(rect.top * ratio);
    return { sx, sy, wrong, ratio, whole };
  }, shot);
}

// At two device pixels per CSS pixel: the same pixels, each shown as 2x2, and clicks on the right point.
async function checkHighDensity() {
  const browser = await launch(['--force-device-scale-factor=2', '--window-size=1100,900']);
  try {
    const context = await browser.newContext({ viewport: null });
    const page = await openPage(context, '?seed=1&play=scene_tour.scr');
    const differing = await playedTourDifference(page);
    const shown = await shownScale(page);
    check(shown.ratio === 2 && differing === 0 && shown.sx === 2 && shown.sy === 2 && shown.wrong === 0 && shown.whole,
          `at device pixel ratio ${shown.ratio} the tour ends on the same pixels (${differing} differ), ` +
          `shown at ${shown.sx}x${shown.sy} device pixels each (${shown.wrong} samples otherwise), ` +
          `${shown.whole ? '' : 'not '}on whole device pixels`);
    await page.close();
    const recorder = await openPage(context, '?seed=1');
    await titleShown(recorder);
    await recordClick(recorder);
    const text = await recorder.evaluate(() => new TextDecoder('latin1').decode(Module.FS.readFile('KV318.SCR')));
    check(recordedClick(text), `at device pixel ratio 2 a click lands on the toolkit point under it (${JSON.stringify(text)})`);
    await recorder.close();
  } finally {
    await browser.close();
  }
}

const browser = await launch();
try {
  await checkSession(browser);
  await checkRecordAndPlay(browser);
  if (reference) {
    await checkTour(browser);
    await checkHighDensity();
  }
} catch (e) {
  check(false, String(e));
} finally {
  await browser.close();
  fs.rmSync(scratch, { recursive: true, force: true });
}
console.log(`page: ${passes} passed, ${failures} failed`);
process.exit(failures ? 1 : 0);

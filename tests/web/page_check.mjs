// Drives the page in headless Chromium: one graphics window, the title
// screen's colours, a click enters the scene (so the program kept its place
// across waits instead of starting main again), Ctrl+H halts and Ctrl+A
// resumes, the close box ends the program. Given a reference (the raw RGB
// bytes of vorkan-headless --seed 1 --play scene_tour.scr --snapshot), the
// page with ?seed=1&play=scene_tour.scr must end on the same pixels.
// Usage: node page_check.mjs URL [REFERENCE.rgb]   (NODE_PATH must hold playwright-core)
import { createRequire } from 'node:module';
import fs from 'node:fs';

const require = createRequire(import.meta.url);
const { chromium } = require('playwright-core');

const url = process.argv[2];
const browser = await chromium.launch({
  executablePath: process.env.VORKAN_CHROMIUM || '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
         '--disable-component-update', '--disable-sync'],
});
let failures = 0;
function check(ok, what) {
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${what}`);
  if (!ok) failures += 1;
}

// Colour counts of the graphics window's canvas below the menu bar: {0xRRGGBB: pixels}.
async function colours(page) {
  return page.evaluate(() => {
    const root = [...document.querySelectorAll('.kv-window')].find((w) => w.textContent.includes('Graphics'));
    const canvas = root.querySelector('canvas');
    const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
    const counts = {};
    for (let i = 0; i < data.length; i += 4) {
      const key = ((data[i] << 16) | (data[i + 1] << 8) | data[i + 2]).toString(16).padStart(6, '0');
      counts[key] = (counts[key] || 0) + 1;
    }
    return { counts, width: canvas.width, height: canvas.height };
  });
}

// The tour played with seed 1 ends, halted, on the headless runner's last picture.
async function checkPlayback(reference) {
  const page = await browser.newPage({ viewport: { width: 1100, height: 900 } });
  await page.goto(new URL('?seed=1&play=scene_tour.scr', url).href);
  await page.waitForFunction(() => [...document.querySelectorAll('.kv-window canvas')].some((c) => c.width > 500));
  const settled = async () => {
    const a = await colours(page);
    await page.waitForTimeout(300);
    const b = await colours(page);
    return JSON.stringify(a.counts) === JSON.stringify(b.counts);
  };
  for (let i = 0; i < 60 && !(await settled()); ++i) {}
  const differing = await page.evaluate((ref) => {
    const root = [...document.querySelectorAll('.kv-window')].find((w) => w.textContent.includes('Graphics'));
    const canvas = root.querySelector('canvas');
    const width = 595;
    const height = 496;
    const top = canvas.height - height;
    const data = canvas.getContext('2d').getImageData(0, top, width, height).data;
    let count = 0;
    for (let p = 0; p < width * height; ++p) {
      if (data[p * 4] !== ref[p * 3] || data[p * 4 + 1] !== ref[p * 3 + 1] || data[p * 4 + 2] !== ref[p * 3 + 2]) ++count;
    }
    return count;
  }, Array.from(reference));
  check(differing === 0, `the played tour ends on vorkan-headless's pixels (${differing} differ)`);
  await page.close();
}

try {
  const page = await browser.newPage({ viewport: { width: 1100, height: 900 } });
  const errors = [];
  page.on('pageerror', (e) => errors.push(String(e)));
  await page.goto(url);
  await page.waitForFunction(() => document.querySelectorAll('.kv-window canvas').length >= 1 &&
    [...document.querySelectorAll('.kv-window canvas')].some((c) => c.width > 500));
  await page.waitForTimeout(500);
  const titles = await page.$$eval('.kv-window', (ws) => ws.filter((w) => w.style.display !== 'none')
    .map((w) => w.querySelector('.kv-caption span').textContent));
  check(titles.filter((t) => t.includes('Graphics')).length === 1, `exactly one graphics window (${titles.join(', ')})`);

  const title = await colours(page);
  const red = title.counts['ff0000'] || 0;
  const black = title.counts['000000'] || 0;
  const size = title.width * title.height;
  check(red > size / 5 && black > size / 5, `title screen mostly red and black (${red} red, ${black} black of ${size})`);

  const canvas = await page.$('.kv-window canvas');
  const box = await canvas.boundingBox();
  await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
  await page.waitForTimeout(800);
  const scene = await colours(page);
  check((scene.counts['ff0000'] || 0) < red / 2, `a click enters the scene (red ${red} -> ${scene.counts['ff0000'] || 0})`);

  const later = await colours(page);
  await page.waitForTimeout(500);
  const after = await colours(page);
  check(JSON.stringify(later.counts) !== JSON.stringify(after.counts), 'the scene animates');

  // Ctrl+H halts the animation, Ctrl+A lets it run again.
  const same = async () => {
    const a = await colours(page);
    await page.waitForTimeout(400);
    const b = await colours(page);
    return JSON.stringify(a.counts) === JSON.stringify(b.counts);
  };
  await page.keyboard.press('Control+KeyH');
  await page.waitForTimeout(200);
  check(await same(), 'Ctrl+H halts the animation');
  await page.keyboard.press('Control+KeyA');
  await page.waitForTimeout(200);
  check(!(await same()), 'Ctrl+A resumes it');

  await page.click('.kv-window .kv-close');
  await page.waitForFunction(() => document.body.classList.contains('kv-ended'), null, { timeout: 5000 });
  const status = await page.evaluate(() => document.body.dataset.exitStatus);
  check(status === '0', `the close box ends the program (status ${status})`);
  check(errors.length === 0, `no page errors${errors.length ? ': ' + errors.join('; ') : ''}`);
  if (process.argv[3]) await checkPlayback(fs.readFileSync(process.argv[3]));
} catch (e) {
  check(false, String(e));
} finally {
  await browser.close();
}
process.exit(failures ? 1 : 0);

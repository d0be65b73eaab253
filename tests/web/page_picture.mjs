// Writes a picture of the page for the README: its heading and buttons and both
// windows after the tour (?seed=1&play=scene_tour.scr), as headless Chromium
// shows them in a laptop's browser window.
// Usage: node page_picture.mjs URL FILE.png   (NODE_PATH must hold playwright-core)
import { createRequire } from 'node:module';

const require = createRequire(import.meta.url);
const { chromium } = require('playwright-core');

const [url, file] = process.argv.slice(2);
const browser = await chromium.launch({
  executablePath: process.env.VORKAN_CHROMIUM || '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking'],
});
try {
  const page = await browser.newPage({ viewport: { width: 1280, height: 640 } });
  await page.goto(new URL('?seed=1&play=scene_tour.scr', url).href);
  // The tour ends halted: wait until the graphics window stops changing.
  const presents = () => page.evaluate(() => (window.vorkanStats || { presents: {} }).presents['KV318 Graphics'] || 0);
  for (let last = -1, now = await presents(); now === 0 || now !== last; last = now, now = await presents()) {
    await page.waitForTimeout(700);
  }
  const bottom = await page.evaluate(() => Math.max(...[...document.querySelectorAll('.kv-window')]
    .map((w) => w.getBoundingClientRect().bottom)));
  await page.screenshot({ path: file, clip: { x: 0, y: 0, width: 1280, height: Math.ceil(bottom) + 8 } });
} finally {
  await browser.close();
}

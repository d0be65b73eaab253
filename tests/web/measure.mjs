// Measures the page in headless Chromium, each figure the median of RUNS runs
// (each in a fresh browser context, so nothing is cached between them):
// - time from navigation to the graphics window's first present;
// - frames per second of the animated program (the scene after a click),
//   counted as the graphics window's presents over SECONDS seconds;
// - program time per frame: the page's own count of time spent running the
//   program after its waits and yields in that time, divided by those
//   presents, and the part of it spent putting frames (both windows') on the
//   canvases.
// Usage: node measure.mjs URL [RUNS] [SECONDS]   (NODE_PATH must hold playwright-core)
import { createRequire } from 'node:module';

const require = createRequire(import.meta.url);
const { chromium } = require('playwright-core');

const url = process.argv[2];
const runs = Number(process.argv[3] || 5);
const seconds = Number(process.argv[4] || 5);
const GRAPHICS = 'KV318 Graphics';

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  const mid = sorted.length >> 1;
  return sorted.length % 2 ? sorted[mid] : (sorted[mid - 1] + sorted[mid]) / 2;
};
const show = (values, digits) => `${median(values).toFixed(digits)} (runs: ${values.map((v) => v.toFixed(digits)).join(', ')})`;

const browser = await chromium.launch({
  executablePath: process.env.VORKAN_CHROMIUM || '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
         '--disable-component-update', '--disable-sync'],
});
const stats = (page) => page.evaluate(() => JSON.parse(JSON.stringify(window.vorkanStats)));
const firstFrames = [];
const perFrame = [];
const framesSeen = [];
const presentPerFrame = [];
try {
  for (let run = 0; run < runs; ++run) {
    const context = await browser.newContext({ viewport: { width: 1100, height: 900 } });
    const page = await context.newPage();
    await page.goto(new URL('?seed=1', url).href);
    await page.waitForFunction((title) => window.vorkanStats && title in window.vorkanStats.firstPresentMs, GRAPHICS);
    firstFrames.push((await stats(page)).firstPresentMs[GRAPHICS]);

    await page.waitForTimeout(300);
    const box = await (await page.$('.kv-window canvas')).boundingBox();  // the scene: leave the title
    await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
    await page.waitForTimeout(500);
    const before = await stats(page);
    await page.waitForTimeout(seconds * 1000);
    const after = await stats(page);
    const frames = after.presents[GRAPHICS] - before.presents[GRAPHICS];
    perFrame.push((after.programMs - before.programMs) / Math.max(frames, 1));
    presentPerFrame.push((after.presentMs - before.presentMs) / Math.max(frames, 1));
    framesSeen.push(frames);
    await context.close();
  }
} finally {
  await browser.close();
}
console.log(`first frame after navigation: ${show(firstFrames, 0)} ms`);
console.log(`frames per second: ${show(framesSeen.map((frames) => frames / seconds), 1)}`);
console.log(`program time per frame: ${show(perFrame, 3)} ms, over ${median(framesSeen)} frames in ${seconds} s`);
console.log(`  of which putting frames on the canvases: ${show(presentPerFrame, 3)} ms`);

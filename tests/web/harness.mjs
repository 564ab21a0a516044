// The page tests' harness: the web build served on a free port with the
// two headers, Debian's Chromium driven headless by puppeteer-core, and
// readers for canvases and BMP files.
//   KLV_WEB_DIR   the web build (default build/web of the checkout)
import { spawn } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { after, before } from 'node:test';
import puppeteer from 'puppeteer-core';

const top = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
export const webDir = resolve(process.env.KLV_WEB_DIR || join(top, 'build/web'));
export const sourceDir = top;

// A server for `folder`: its base address and a stop function.
export async function serve(folder = webDir, environment = {}) {
  const server = spawn(process.execPath, [join(top, 'scripts/web/serve.mjs'), folder, '0'], {
    env: { ...process.env, ...environment }, stdio: ['ignore', 'pipe', 'inherit'],
  });
  const address = await new Promise((done, fail) => {
    const timer = setTimeout(() => fail(new Error('the server did not start in 10 s')), 10000);
    server.stdout.on('data', (data) => { clearTimeout(timer); done(String(data).trim()); });
  });
  return { address, stop: () => server.kill() };
}

// One browser and one server for a test file: the `use` of each test opens pages on them.
export function useBrowser() {
  const context = {};
  before(async () => {
    context.server = await serve();
    context.browser = await puppeteer.launch({
      executablePath: process.env.KLV_CHROMIUM || '/usr/bin/chromium', headless: true, defaultViewport: null,
      args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage'],
    });
  });
  after(async () => {
    await context.browser?.close();
    context.server?.stop();
  });
  // Opens NAME.html (with the address's query) in a new page and waits for
  // its first window to show a frame.
  context.open = async (name, { query = '', scale = 1, window = 0, waitForWindow = true, beforeLoad } = {}) => {
    const page = await context.browser.newPage();
    if (beforeLoad) await beforeLoad(page);
    const cdp = await page.createCDPSession();
    await cdp.send('Emulation.setDeviceMetricsOverride', { width: 1200, height: 900, deviceScaleFactor: scale, mobile: false });
    page.logs = [];
    page.on('console', (m) => page.logs.push(m.text()));
    page.on('pageerror', (e) => page.logs.push('page error: ' + e.message));
    await page.goto(`${context.server.address}${name}.html${query ? '?' + query : ''}`);
    if (waitForWindow) await waitForFrame(page, window);
    return page;
  };
  return context;
}

export async function waitForFrame(page, window = 0, timeout = 20000) {
  await page.waitForFunction((n) => {
    const c = document.querySelector(`canvas[data-klv-window="${n}"]`);
    return c && !c.closest('.klv-frame').hidden && c.dataset.frames !== undefined;
  }, { timeout }, window);
}

// The program's exit status once it ends (deadline in ms).
export async function exitStatus(page, timeout = 20000) {
  await page.waitForFunction(() => document.body.dataset.klvExit !== undefined, { timeout });
  return Number(await page.evaluate(() => document.body.dataset.klvExit));
}

// The canvas of window N as { width, height, pixels: Uint32Array of 0x00RRGGBB }.
export async function canvasPixels(page, window = 0) {
  const { width, height, data } = await page.evaluate((n) => {
    const c = document.querySelector(`canvas[data-klv-window="${n}"]`);
    const image = c.getContext('2d').getImageData(0, 0, c.width, c.height);
    let text = '';
    for (let i = 0; i < image.data.length; i += 0x8000) text += String.fromCharCode(...image.data.subarray(i, i + 0x8000));
    return { width: c.width, height: c.height, data: btoa(text) };
  }, window);
  const bytes = Buffer.from(data, 'base64');
  const pixels = new Uint32Array(width * height);
  for (let i = 0; i < pixels.length; ++i) pixels[i] = (bytes[i * 4] << 16) | (bytes[i * 4 + 1] << 8) | bytes[i * 4 + 2];
  return { width, height, pixels };
}

// A 24- or 32-bit BMP (bottom-up or top-down) as the same shape.
export function readBmp(path) {
  const b = readFileSync(path);
  const offset = b.readUInt32LE(10), width = b.readInt32LE(18), rawHeight = b.readInt32LE(22), bits = b.readUInt16LE(28);
  const height = Math.abs(rawHeight), bytes = bits / 8, stride = Math.ceil((width * bytes) / 4) * 4;
  const pixels = new Uint32Array(width * height);
  for (let y = 0; y < height; ++y) {
    const row = offset + (rawHeight > 0 ? height - 1 - y : y) * stride;
    for (let x = 0; x < width; ++x) {
      const p = row + x * bytes;
      pixels[y * width + x] = (b[p + 2] << 16) | (b[p + 1] << 8) | b[p];
    }
  }
  return { width, height, pixels };
}

// A golden's mask: the boxes "left top right bottom" (right and bottom
// exclusive) where text may differ; # starts a comment.
export function readMask(path) {
  return readFileSync(path, 'latin1').split(/\r?\n/).filter((l) => l.trim() && !l.startsWith('#'))
    .map((l) => l.trim().split(/\s+/).map(Number));
}

// How many pixels of a and b differ outside the mask's boxes.
export function differences(a, b, boxes = []) {
  if (a.width !== b.width || a.height !== b.height) return Infinity;
  let count = 0;
  for (let y = 0; y < a.height; ++y)
    for (let x = 0; x < a.width; ++x) {
      if (boxes.some(([l, t, r, bottom]) => x >= l && x < r && y >= t && y < bottom)) continue;
      if (a.pixels[y * a.width + x] !== b.pixels[y * a.width + x]) ++count;
    }
  return count;
}

// Clicks at page pixel (x, y) of window N's client area (its scale and the
// device's taken into account).
export async function clientPoint(page, x, y, window = 0) {
  return page.evaluate((n, px, py) => {
    const c = document.querySelector(`canvas[data-klv-window="${n}"]`);
    const r = c.getBoundingClientRect();
    return { x: r.left + (px + 0.5) * r.width / c.width, y: r.top + (py + 0.5) * r.height / c.height };
  }, window, x, y);
}

// The window's commands in the page: the system menu, "Save image as..." as
// a download, files the program saves and loads, printing.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, readdirSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { test } from 'node:test';
import { canvasPixels, exitStatus, sourceDir, useBrowser } from './harness.mjs';

const browser = useBrowser();
const nativeBuild = process.env.KLV_NATIVE_BUILD || join(sourceDir, 'build/asan');

async function waitFor(check, what, timeout = 15000) {
  const deadline = Date.now() + timeout;
  for (;;) {
    const value = await check();
    if (value) return value;
    if (Date.now() > deadline) throw new Error(`timed out waiting for ${what}`);
    await new Promise((done) => setTimeout(done, 25));
  }
}
const menuEntries = (page) => page.$$eval('.klv-menu-entries li', (items) => items.map((i) => i.textContent));
const entries = ['', 'Restore', 'Move', 'Minimize', '', 'Close', '', 'Save image as...', 'Print 2" wide...',
  'Print 4.5" wide...', 'Print 7" wide...', ''].slice(1);

async function downloadsTo(page) {
  const folder = mkdtempSync(join(tmpdir(), 'klv-downloads-'));
  const cdp = await page.createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: folder });
  return folder;
}
const downloaded = (folder, name) => waitFor(() => {
  const file = join(folder, name);
  return existsSync(file) && !readdirSync(folder).some((f) => f.endsWith('.crdownload')) && readFileSync(file);
}, `the download ${name}`);

// What this library writes on Linux for the same drawing: the saved-pictures
// program run on the headless backend in a folder of its own.
function nativePictures() {
  const folder = mkdtempSync(join(tmpdir(), 'klv-native-'));
  execFileSync(join(nativeBuild, 'tests/web_saved_pictures'), ['--no-wait'], {
    cwd: folder, env: { ...process.env, KLV_BACKEND: 'headless' }, timeout: 60000,
  });
  const read = (name) => readFileSync(join(folder, name));
  return { 'picture.bmp': read('picture.bmp'), 'picture.png': read('picture.png'), 'window.bmp': read('window.bmp'),
    'window.png': read('window.png') };
}

test('the system menu opens with F10 and Shift + right-click, and its keys never reach the program', async () => {
  const page = await browser.open('key_bytes');
  await page.keyboard.press('F10');
  await page.waitForSelector('.klv-menu');
  assert.deepEqual(await menuEntries(page), entries);
  await page.keyboard.press('Escape');
  await page.waitForSelector('.klv-menu', { hidden: true });
  const box = await (await page.$('canvas[data-klv-window="0"]')).boundingBox();
  await page.keyboard.down('Shift');
  await page.mouse.click(box.x + 30, box.y + 30, { button: 'right' });
  await page.keyboard.up('Shift');
  await page.waitForSelector('.klv-menu');
  assert.deepEqual(await menuEntries(page), entries);
  await page.keyboard.press('Escape');
  await page.waitForSelector('.klv-menu', { hidden: true });
  await page.keyboard.press('q');
  assert.equal(await exitStatus(page), 0);
  assert.deepEqual(page.logs.filter((l) => l.startsWith('key ')), ['key 113']);
  await page.close();
});

test('"Save image as..." downloads the bytes Linux writes; saved files load back and are listed as downloads', async () => {
  const native = nativePictures();
  const page = await browser.open('saved_pictures');
  const folder = await downloadsTo(page);
  await waitFor(() => page.logs.find((l) => l.startsWith('saved ')), 'the saves');
  assert.ok(page.logs.includes('saved 0 0 loaded 0 whole 0'), page.logs.join('\n'));
  const links = await page.$$eval('#klv-files a', (as) => as.map((a) => a.download));
  assert.deepEqual(links.sort(), ['picture.bmp', 'picture.png', 'window.bmp', 'window.png']);
  for (const name of ['picture.bmp', 'picture.png']) {
    await page.click(`#klv-files a[download="${name}"]`);
    assert.ok((await downloaded(folder, name)).equals(native[name]), name);
  }
  // The loaded PNG shows the left half again on the right.
  const shown = await canvasPixels(page);
  for (let y = 0; y < 160; y += 7)
    for (let x = 0; x < 120; x += 5) assert.equal(shown.pixels[y * 240 + x + 120], shown.pixels[y * 240 + x]);
  // Through the menu the built-in chooser asks for the name; ".BMP" is added
  // to a name without ".png", and the browser downloads the file at once.
  for (const [typed, file, same] of [['chart', 'chart.BMP', 'window.bmp'], ['whole.png', 'whole.png', 'window.png']]) {
    await page.focus('.klv-frame');
    await page.keyboard.press('F10');
    await page.waitForSelector('.klv-menu');
    for (let i = 0; i < 4; ++i) await page.keyboard.press('ArrowDown');
    await page.keyboard.press('Enter');
    await page.waitForSelector('canvas[data-klv-dialog]');
    await waitFor(() => page.$eval('canvas[data-klv-dialog]', (c) => Number(c.dataset.frames) > 0).catch(() => false), 'the chooser');
    await page.focus('.klv-dialog');
    await page.keyboard.type(typed, { delay: 20 });
    await page.keyboard.press('Enter');
    assert.ok((await downloaded(folder, file)).equals(native[same]), file);
    await page.waitForSelector('canvas[data-klv-dialog]', { hidden: true });
  }
  await page.focus('.klv-frame');
  await page.keyboard.press('x');
  assert.equal(await exitStatus(page), 0);
  await page.close();
});

test('a dropped picture lands in the program\'s folder; one named in the address is there before main', async () => {
  const page = await browser.open('annotate_picture', { query: 'files=docs/pie-chart.png' });
  await waitFor(() => page.$$eval('#klv-files a', (as) => as.some((a) => a.download === 'annotated.png')), 'annotated.png');
  const shown = await canvasPixels(page);
  assert.equal(shown.pixels[200 * 640 + 600], 0x000080);  // the note's dark blue bar over the loaded chart
  const png = readFileSync(join(sourceDir, 'docs/xor_sprite.png')).toString('base64');
  await page.evaluate((data) => {
    const bytes = Uint8Array.from(atob(data), (c) => c.charCodeAt(0));
    const drop = new DataTransfer();
    drop.items.add(new File([bytes], 'photo.png', { type: 'image/png' }));
    document.getElementById('klv-desktop').dispatchEvent(new DragEvent('drop', { dataTransfer: drop, bubbles: true }));
  }, png);
  await waitFor(() => page.evaluate(() => { try { return FS.readFile('/home/web_user/photo.png').length; } catch { return 0; } }), 'photo.png');
  assert.equal(await page.evaluate(() => FS.readFile('/home/web_user/photo.png').length), Buffer.from(png, 'base64').length);
  await page.close();
});

for (const inches of [2, 4.5, 7]) {
  test(`"Print ${inches}" wide..." lays out one page: the title above the image ${inches} inches wide`, async () => {
    // Headless Chromium has no print dialog to show: the page's call to it is
    // counted instead, and the page printed to PDF in print media.
    const page = await browser.open('saved_pictures', { beforeLoad: (p) => p.evaluateOnNewDocument(() => {
      window.print = () => { document.body.dataset.printed = String(Number(document.body.dataset.printed || 0) + 1); };
    }) });
    await page.keyboard.press('F10');
    await page.waitForSelector('.klv-menu');
    const steps = { 2: 5, 4.5: 6, 7: 7 }[inches];
    for (let i = 0; i < steps; ++i) await page.keyboard.press('ArrowDown');
    await page.keyboard.press('Enter');
    await page.waitForSelector('#klv-print img');
    assert.equal(await page.evaluate(() => document.body.dataset.klvPrintJob), 'Windows KLV');
    await page.waitForFunction(() => document.body.dataset.printed === '1');
    await page.emulateMediaType('print');
    const layout = await page.evaluate(() => {
      const title = document.querySelector('#klv-print .klv-print-text'), img = document.querySelector('#klv-print img');
      return { title: title.textContent, titleTop: title.getBoundingClientRect().top,
        top: img.getBoundingClientRect().top, width: img.getBoundingClientRect().width };
    });
    assert.equal(layout.title, 'Saved pictures');
    assert.ok(layout.titleTop < layout.top);
    assert.ok(Math.abs(layout.width - inches * 96) <= 1, `${layout.width}`);
    const pdf = join(mkdtempSync(join(tmpdir(), 'klv-print-')), 'page.pdf');
    await page.pdf({ path: pdf, printBackground: true, preferCSSPageSize: true });
    assert.match(execFileSync('pdfinfo', [pdf]).toString(), /^Pages:\s+1$/m);
    await page.emulateMediaType('screen');
    await page.focus('.klv-frame');
    await page.keyboard.press('x');
    assert.equal(await exitStatus(page), 0);
    await page.close();
  });
}

// The gallery: a card for the pie chart, then one for each example, each
// linking to its page, where the program runs live and draws the picture
// docs/ keeps of it (outside text, which the page test of fonts leaves to
// the raster tests).
import assert from 'node:assert/strict';
import { readdirSync } from 'node:fs';
import { join } from 'node:path';
import { test } from 'node:test';
import { sourceDir, useBrowser } from './harness.mjs';

const browser = useBrowser();

test('the gallery lists the pie chart first, then every example, and each runs live', async () => {
  const page = await browser.browser.newPage();
  await page.goto(`${browser.server.address}index.html`);
  const cards = await page.$$eval('.card a', (as) => as.map((a) => a.getAttribute('href')));
  const examples = readdirSync(join(sourceDir, 'examples')).filter((f) => f.endsWith('.cpp')).map((f) => f.slice(0, -4));
  assert.equal(cards[0], 'pie_chart.html');
  assert.deepEqual(cards.slice(1).map((c) => c.split(/[.?]/)[0]).sort(), examples.sort());
  assert.ok(cards.includes('annotate_picture.html?files=docs/pie-chart.png'));
  for (const href of cards) {
    const name = href.split(/[.?]/)[0];
    const query = href.includes('?') ? href.slice(href.indexOf('?') + 1) : '';
    const live = await browser.open(name, { query });
    await live.waitForFunction(() => {
      const c = document.querySelector('canvas[data-klv-window="0"]');
      return c.getContext('2d').getImageData(0, 0, c.width, c.height).data.some((v, i) => i % 4 !== 3 && v !== 0);
    }, { timeout: 20000, polling: 250 }).catch((e) => assert.fail(`${name} drew nothing: ${e.message}`));
    assert.deepEqual(live.logs.filter((l) => l.startsWith('page error')), [], name);
    await live.close();
  }
  await page.close();
});

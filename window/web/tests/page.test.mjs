// The page as its users get it: the built file opened from disk in Debian's
// Chromium and Firefox, driven with real keys and clicks through the table
// every window passes (window_behaviour.json), and read from its pixels.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { readFileSync, statSync } from 'node:fs';
import { createRequire } from 'node:module';
import { pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';

const file = process.env.QUORVANE_PAGE;
const url = pathToFileURL(file).href;
const table = JSON.parse(readFileSync(new URL('../../common/tests/window_behaviour.json', import.meta.url)));
const axe = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

// Each browser: how its driver names the table's keys (to Firefox's, as to
// WebDriver, "Enter" is the keypad's), and how it shows the page in light,
// dark and forced colours: Chromium switches while the page is open, Firefox
// starts in them.
const browsers = {
  Chromium: {
    keys: { Tab: 'Tab', Return: 'Enter', Enter: 'NumpadEnter', Esc: 'Escape' },
    launch: () => puppeteer.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] }),
    schemes: {
      light: [{ name: 'prefers-color-scheme', value: 'light' }],
      dark: [{ name: 'prefers-color-scheme', value: 'dark' }],
      forced: [{ name: 'forced-colors', value: 'active' }],
    },
  },
  Firefox: {
    keys: { Tab: 'Tab', Return: '\uE006', Enter: 'Enter', Esc: 'Escape' },
    launch: (prefs) => puppeteer.launch({ browser: 'firefox', executablePath: '/usr/bin/firefox-esr', extraPrefsFirefox: prefs }),
    schemes: {
      light: { 'layout.css.prefers-color-scheme.content-override': 1 },
      dark: { 'layout.css.prefers-color-scheme.content-override': 0 },
      forced: { 'browser.display.document_color_use': 2 },
    },
  },
};

async function open(browser) {
  const page = await browser.newPage();
  page.requests = [];
  page.on('request', (request) => page.requests.push(request.url()));
  await page.setViewport({ width: 420, height: 400 });
  await page.goto(url);
  await page.waitForFunction(() => !document.getElementById('Form1').hasAttribute('aria-busy'));
  return page;
}

// Clicks a control or presses a key. A message is read, seen to have its OK
// button focused, closed with Enter or Escape in turn, and the page given a
// frame to act on its closing.
async function act(page, keys, messages, action) {
  await (keys[action] ? page.keyboard.press(keys[action]) : page.click(`#${action}`));
  const message = await page.evaluate(() => document.getElementById('message').open
    && [document.activeElement.id, document.getElementById('messageText').textContent]);
  if (message) {
    assert.equal(message[0], 'messageOK');
    messages.push(message[1]);
    await page.keyboard.press(messages.length % 2 ? keys.Return : keys.Esc);
    await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => setTimeout(done))));
  }
}

// Each caption's and the line's best contrast, of any pixel in its box, with
// the window's background, from a screenshot.
async function contrasts(page) {
  const png = await page.screenshot({ encoding: 'base64' });
  return page.evaluate(async (png) => {
    const image = new Image();
    image.src = `data:image/png;base64,${png}`;
    await image.decode();
    const canvas = new OffscreenCanvas(image.width, image.height).getContext('2d');
    canvas.drawImage(image, 0, 0);
    const luminance = (data, i) => [0.2126, 0.7152, 0.0722].reduce((sum, weight, c) => {
      const value = data[i + c] / 255;
      return sum + weight * (value <= 0.04045 ? value / 12.92 : ((value + 0.055) / 1.055) ** 2.4);
    }, 0);
    const form = document.getElementById('Form1').getBoundingClientRect();
    const background = luminance(canvas.getImageData(form.x + 2, form.bottom - 2, 1, 1).data, 0);
    const ids = ['Label1', 'Label2', 'Label3', 'Label4', 'Label5', 'Label6', 'Label7', 'Label8', 'Line1'];
    return ids.map((id) => {
      const { x, y, width, height } = document.getElementById(id).getBoundingClientRect();
      const data = canvas.getImageData(x, y, width, Math.max(height, 1)).data;
      let best = 1;
      for (let i = 0; i < data.length; i += 4) {
        const [light, dark] = [luminance(data, i), background].sort((a, b) => b - a);
        best = Math.max(best, (light + 0.05) / (dark + 0.05));
      }
      return [id, best];
    });
  }, png);
}

for (const [name, { keys, launch, schemes }] of Object.entries(browsers)) {
  describe(name, () => {
    let browser;
    let page;
    const value = (id) => page.evaluate((id) => document.getElementById(id).value, id);
    const selection = (id) => page.evaluate((id) => String([document.getElementById(id).selectionStart, document.getElementById(id).selectionEnd]), id);
    const paste = (id, text) => page.evaluate((id, text) => {
      document.getElementById(id).value = text;
      document.getElementById(id).dispatchEvent(new Event('input'));
    }, id, text);
    before(async () => {
      browser = await launch();
      page = await open(browser);
    });
    after(() => browser?.close());

    test('behaves as every window, with a 1 MiB word', async () => {
      const long = { 'LONG OFFSET': '0'.repeat(40000), 'LONG WORD': 'A'.repeat(1 << 20), 'LONG CODES': ' 11'.repeat(1 << 20) };
      const kept = 'k'.repeat(40000);
      const text = (cell, otherwise) => long[cell] ?? (['', 'OVERFLOW'].includes(cell) ? otherwise : cell);
      assert.ok(table.rows.length > 10);
      for (const [row, offset, word, actions, pointer, codes] of table.rows) {
        const boxes = { offset: text(offset, ''), pointer: text(pointer, kept), word: text(word, ''), HV: text(codes, kept) };
        await Promise.all([paste('offset', boxes.offset), paste('pointer', kept), paste('word', boxes.word), paste('HV', kept)]);
        const messages = [];
        for (const action of `Option1 offset ${actions}`.split(' ')) {
          const [control, focus] = action.split(':');
          await act(page, keys, messages, control);
          if (focus) assert.equal(await page.evaluate(() => document.activeElement.id), focus, `${row}: ${action}`);
        }
        const overflowed = pointer === 'OVERFLOW';
        assert.equal(messages.length, overflowed ? 1 : 0, row);
        assert.ok(!overflowed || messages[0].startsWith("Run-time error '6':\n\nOverflow"), row);
        assert.ok(!overflowed || await selection('offset') === `0,${boxes.offset.length}`, row);
        for (const [id, content] of Object.entries(boxes)) assert.ok(await value(id) === content, `${row}: ${id}`);
        assert.ok(!codes || (await selection('HV')).startsWith('0,'), `${row}: the codes from their start`);
      }
    });

    test('announces each new result, and describes the pointer', async () => {
      const status = () => page.evaluate(() => document.querySelector('[role=status]').textContent);
      await paste('offset', '8123');
      await act(page, keys, [], 'Option1');
      await act(page, keys, [], 'Calculate');
      assert.equal(await status(), 'Pointer 1381');
      assert.equal(await page.evaluate(() => document.getElementById('pointer').title), 'CPU address $8113, stored as 13 81');
      await paste('word', 'AB');
      await act(page, keys, [], 'Command1');
      assert.equal(await status(), 'Hex value 11 12');
    });

    test('asks nothing of the network', () => {
      assert.deepEqual(page.requests.filter((request) => request !== url && !request.startsWith('data:')), []);
    });

    for (const [scheme, setting] of Object.entries(schemes)) {
      test(`reads, and passes axe-core, in ${scheme} colours`, async () => {
        const own = Array.isArray(setting) ? null : await launch(setting);
        const shown = own ? await open(own) : page;
        if (!own) await (await page.createCDPSession()).send('Emulation.setEmulatedMedia', { features: setting });
        for (const [id, contrast] of await contrasts(shown)) {
          assert.ok(contrast >= (id === 'Line1' ? 3 : 4.5), `${id}: ${contrast.toFixed(2)}:1`);
        }
        await shown.evaluate(axe);
        const { violations } = await shown.evaluate(() => axe.run());
        assert.deepEqual(violations.map(({ id, nodes }) => `${id}: ${nodes.map((node) => node.target)}`), []);
        await own?.close();
      });
    }

    test('ends at Exit, as far as the browser lets it', async () => {
      await page.click('#Exit');
      assert.ok(await page.evaluate(() => !document.getElementById('Form1') && !document.getElementById('ended').hidden)
        .catch(() => page.isClosed()));
    });
  });
}

test('is one file of at most 100 KB', () => {
  assert.ok(statSync(file).size <= 100 * 1024, `${statSync(file).size} bytes`);
});

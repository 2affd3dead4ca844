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

// Each browser: how its driver names the table's keys (for Firefox's, as
// WebDriver's, "Enter" is the keypad's), and how it shows the page in light,
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
    launch: (prefs = {}) => puppeteer.launch({
      browser: 'firefox', executablePath: '/usr/bin/firefox-esr', extraPrefsFirefox: prefs,
    }),
    schemes: {
      light: { 'layout.css.prefers-color-scheme.content-override': 1 },
      dark: { 'layout.css.prefers-color-scheme.content-override': 0 },
      forced: { 'browser.display.document_color_use': 2 },
    },
  },
};

async function open(browser, keys) {
  const page = await browser.newPage();
  page.keys = keys;
  page.requests = [];
  page.on('request', (request) => page.requests.push(request.url()));
  await page.setViewport({ width: 420, height: 400 });
  await page.goto(url);
  await page.waitForFunction(() => !document.getElementById('Form1').hasAttribute('aria-busy'));
  return page;
}

// The page as the table drives it; each message is read, then closed with
// Enter or Escape in turn, once its OK button is seen to have the focus, and
// the page given a frame to act on its closing.
function driver(page) {
  const keys = page.keys;
  const messages = [];
  const box = (id, script) => page.evaluate(script, id);
  return {
    messages,
    async act(action) {
      await (keys[action] ? page.keyboard.press(keys[action]) : page.click(`#${action}`));
      const message = await page.evaluate(() => document.getElementById('message').open &&
        [document.activeElement.id, document.getElementById('messageText').textContent]);
      if (message) {
        assert.equal(message[0], 'messageOK');
        messages.push(message[1]);
        await page.keyboard.press(messages.length % 2 ? keys.Return : keys.Esc);
        await page.evaluate(() => new Promise((done) => requestAnimationFrame(() => setTimeout(done))));
      }
    },
    paste: (id, text) => page.evaluate((id, text) => {
      const box = document.getElementById(id);
      box.value = text;
      box.dispatchEvent(new Event('input'));
    }, id, text),
    text: (id) => box(id, (id) => document.getElementById(id).value),
    selection: (id) => box(id, (id) => [document.getElementById(id).selectionStart, document.getElementById(id).selectionEnd]),
    focused: () => page.evaluate(() => document.activeElement.id),
  };
}

// The best contrast of any pixel in each element's box against the window's
// background, read from a screenshot in a page of its own.
async function contrasts(browser, page, ids) {
  const boxes = await page.evaluate((ids) => ids.map((id) => {
    const { x, y, width, height } = document.getElementById(id).getBoundingClientRect();
    return [x, y, width, height].map(Math.round);
  }), ids);
  const corner = await page.evaluate(() => document.getElementById('Form1').getBoundingClientRect().toJSON());
  const screenshot = await page.screenshot({ encoding: 'base64' });
  const reader = await browser.newPage();
  const best = await reader.evaluate(async (png, boxes, corner) => {
    const image = new Image();
    image.src = `data:image/png;base64,${png}`;
    await image.decode();
    const canvas = new OffscreenCanvas(image.width, image.height).getContext('2d');
    canvas.drawImage(image, 0, 0);
    const luminance = (data, i) => [0, 1, 2].map((c) => data[i + c] / 255)
      .map((v) => (v <= 0.04045 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4))
      .reduce((sum, v, c) => sum + v * [0.2126, 0.7152, 0.0722][c], 0);
    const background = luminance(canvas.getImageData(corner.x + 2, corner.bottom - 2, 1, 1).data, 0);
    return boxes.map(([x, y, width, height]) => {
      const data = canvas.getImageData(x, y, width, Math.max(height, 1)).data;
      let most = 1;
      for (let i = 0; i < data.length; i += 4) {
        const [light, dark] = [luminance(data, i), background].sort((a, b) => b - a);
        most = Math.max(most, (light + 0.05) / (dark + 0.05));
      }
      return most;
    });
  }, screenshot, boxes, corner);
  await reader.close();
  return Object.fromEntries(ids.map((id, i) => [id, best[i]]));
}

for (const [name, { keys, launch, schemes }] of Object.entries(browsers)) {
  describe(name, () => {
    let browser;
    let page;
    before(async () => {
      browser = await launch();
      page = await open(browser, keys);
    });
    after(() => browser?.close());

    test('behaves as every window, with a 1 MiB word', async () => {
      const window = driver(page);
      const long = { 'LONG OFFSET': '0'.repeat(40000), 'LONG WORD': 'A'.repeat(1 << 20), 'LONG CODES': ' 11'.repeat(1 << 20) };
      const kept = 'k'.repeat(40000);
      const text = (cell, otherwise) => long[cell] ?? (['', 'OVERFLOW'].includes(cell) ? otherwise : cell);
      assert.ok(table.rows.length > 10);
      for (const [row, offset, word, actions, pointer, codes] of table.rows) {
        const boxes = { offset: text(offset, ''), pointer: text(pointer, kept), word: text(word, ''), HV: text(codes, kept) };
        for (const [id, content] of [['offset', boxes.offset], ['pointer', kept], ['word', boxes.word], ['HV', kept]]) {
          await window.paste(id, content);
        }
        window.messages.length = 0;
        for (const action of `Option1 offset ${actions}`.split(' ')) {
          const [control, focus] = action.split(':');
          await window.act(control);
          if (focus) assert.equal(await window.focused(), focus, `${row}: ${action}`);
        }
        const overflowed = pointer === 'OVERFLOW';
        assert.equal(window.messages.length, overflowed ? 1 : 0, row);
        assert.ok(!overflowed || window.messages[0].startsWith("Run-time error '6':\n\nOverflow"), row);
        assert.ok(!overflowed || String(await window.selection('offset')) === String([0, boxes.offset.length]), row);
        for (const [id, content] of Object.entries(boxes)) {
          assert.ok(await window.text(id) === content, `${row}: ${id}`);
        }
        assert.ok(!codes || (await window.selection('HV'))[0] === 0, `${row}: the codes from their start`);
      }
    });

    test('announces each new result', async () => {
      const window = driver(page);
      const status = () => page.evaluate(() => document.querySelector('[role=status]').textContent);
      await window.paste('offset', '8123');
      await window.act('Option1');
      await window.act('Calculate');
      assert.equal(await status(), 'Pointer 1381');
      await window.paste('word', 'AB');
      await window.act('Command1');
      assert.equal(await status(), 'Hex value 11 12');
    });

    test('asks nothing of the network', () => {
      assert.deepEqual(page.requests.filter((request) => request !== url && !request.startsWith('data:')), []);
    });

    for (const [scheme, setting] of Object.entries(schemes)) {
      test(`reads, and passes axe-core, in ${scheme} colours`, async () => {
        let shown = page;
        let own;
        if (Array.isArray(setting)) {
          await (await page.createCDPSession()).send('Emulation.setEmulatedMedia', { features: setting });
        } else {
          own = await launch(setting);
          shown = await open(own, keys);
        }
        const captions = ['Label1', 'Label2', 'Label3', 'Label4', 'Label5', 'Label6', 'Label7', 'Label8'];
        for (const [id, contrast] of Object.entries(await contrasts(own ?? browser, shown, [...captions, 'Line1']))) {
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
      const ended = await page.evaluate(() => !document.getElementById('Form1') && !document.getElementById('ended').hidden)
        .catch(() => page.isClosed());
      assert.ok(ended);
    });
  });
}

test('is one file of at most 100 KB', () => {
  assert.ok(statSync(file).size <= 100 * 1024, `${statSync(file).size} bytes`);
});

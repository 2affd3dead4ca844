// The page as its users get it: the built file opened from disk in Debian's
// Chromium and Firefox, driven with real keys and clicks through the table
// every window passes (window_behaviour.json), and read from its pixels.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { createHash } from 'node:crypto';
import { once } from 'node:events';
import { readFile, readFileSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { pathToFileURL } from 'node:url';
import { browsers, open } from './browsers.mjs';

const file = process.env.QUORVANE_PAGE;
const url = pathToFileURL(file).href;
const site = join(dirname(file), 'site');
const { rows } = JSON.parse(
  readFileSync(new URL('../../common/tests/window_behaviour.json', import.meta.url)),
);
const codePages = JSON.parse(
  readFileSync(new URL('../../../conversions/tests/code_pages.json', import.meta.url)),
).rows;
const axe = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

// Each caption's and the line's best contrast, of any pixel in its box, with
// the window's background, read from a screenshot; and the luminance of the
// window's background and of a text box's.
async function contrasts(png) {
  const image = await createImageBitmap(
    new Blob([Uint8Array.from(atob(png), (character) => character.charCodeAt(0))]),
  );
  const canvas = new OffscreenCanvas(image.width, image.height).getContext('2d');
  canvas.drawImage(image, 0, 0);
  const linear = (byte) => (byte <= 10.31 ? byte / 3294.6 : ((byte / 255 + 0.055) / 1.055) ** 2.4);
  const luminance = (rgb, i) =>
    0.2126 * linear(rgb[i]) + 0.7152 * linear(rgb[i + 1]) + 0.0722 * linear(rgb[i + 2]);
  const box = (id) => document.getElementById(id).getBoundingClientRect();
  const background = luminance(
    canvas.getImageData(box('Form1').x + 2, box('Form1').bottom - 2, 1, 1).data,
    0,
  );
  const inBox = luminance(canvas.getImageData(box('HV').right - 4, box('HV').y + 4, 1, 1).data, 0);
  return [
    ['window', background],
    ['box', inBox],
    ...[
      'Label1',
      'Label2',
      'Label3',
      'Label4',
      'Label5',
      'Label6',
      'Label7',
      'Label8',
      'Line1',
    ].map((id) => {
      const pixels = canvas.getImageData(
        box(id).x,
        box(id).y,
        box(id).width,
        Math.max(box(id).height, 1),
      ).data;
      const pairs = Array.from({ length: pixels.length / 4 }, (_, i) =>
        [luminance(pixels, 4 * i), background].sort((a, b) => b - a),
      );
      return [id, Math.max(1, ...pairs.map(([light, dark]) => (light + 0.05) / (dark + 0.05)))];
    }),
  ];
}

// What is wrong with the window's layout as shown: a control off screen, a
// caption or button whose text is cut, two controls on each other, the page
// scrolling sideways; and the window's size.
function layout() {
  const controls = [...document.querySelectorAll('#Form1 > :not(#status, [role]), [role] > *')].map(
    (control) => [control, control.getBoundingClientRect()],
  );
  const over = (a, b) =>
    a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
  const wrong = controls.flatMap(([control, box], i) => [
    ...(box.left < 0 || box.right > innerWidth ? [`${control.id} off screen`] : []),
    ...(!/INPUT|HR/.test(control.tagName) &&
    (control.scrollWidth > control.clientWidth || control.scrollHeight > control.clientHeight)
      ? [`${control.id} cut`]
      : []),
    ...controls
      .slice(i + 1)
      .filter(([, other]) => over(box, other))
      .map(([other]) => `${control.id} on ${other.id}`),
  ]);
  if (document.documentElement.scrollWidth > innerWidth) wrong.push('scrolls sideways');
  const { width, height } = document.getElementById('Form1').getBoundingClientRect();
  return [wrong, `${width}x${height}`];
}
const spacing = [
  '* { line-height: 1.5 !important; letter-spacing: 0.12em !important; word-spacing: 0.16em !important; }',
  'p { margin-bottom: 2em !important; }',
];

// Offset 8123 to pointer 1381, with the keys and a click.
const calculates = (shown) =>
  shown
    .type('#offset', '8123')
    .then(() => shown.click('#Calculate'))
    .then(() => shown.$eval('#pointer', (box) => box.value));

// The app's folder, served as a web host serves it.
async function serve() {
  const types = {
    html: 'text/html',
    js: 'text/javascript',
    png: 'image/png',
    webmanifest: 'application/manifest+json',
  };
  const server = createServer(({ url: name }, response) =>
    readFile(join(site, name.replace(/\/$/, '/index.html')), (error, body) => {
      response
        .writeHead(error ? 404 : 200, {
          'content-type': types[name.replace(/\/$/, '.html').split('.').pop()] ?? 'text/plain',
        })
        .end(body);
    }),
  ).listen(0, '127.0.0.1');
  await once(server, 'listening');
  return Object.assign(server, { url: `http://127.0.0.1:${server.address().port}/` });
}

for (const [name, { keys, launch, schemes, largeText }] of Object.entries(browsers)) {
  describe(name, () => {
    let browser, large, page; // large: set to a minimum font size of 16 px
    const evaluate = (script, ...values) => page.evaluate(script, ...values);
    const paste = (id, text) =>
      evaluate(
        (id, text) => {
          document.getElementById(id).value = text;
          document.getElementById(id).dispatchEvent(new Event('input'));
        },
        id,
        text,
      );
    // Clicks a control or presses a key. A message is read, seen to have its
    // OK button focused, closed with Enter or Escape in turn, and the page
    // given a frame to act on its closing.
    const act = async (action, messages = []) => {
      await (keys[action] ? page.keyboard.press(keys[action]) : page.click(`#${action}`));
      const message = await evaluate(
        () =>
          document.getElementById('message').open &&
          ['messageText', 'messageHint']
            .map((id) => document.getElementById(id).textContent)
            .join('\n\n'),
      );
      if (message) {
        messages.push(message);
        assert.equal(await evaluate(() => document.activeElement.id), 'messageOK');
        await page.keyboard.press(messages.length % 2 ? keys.Return : keys.Esc);
        await evaluate(() => new Promise((done) => requestAnimationFrame(() => setTimeout(done))));
      }
    };
    before(async () => {
      [browser, large] = await Promise.all([launch(), launch(largeText)]);
      page = await open(browser, url);
    });
    after(() => Promise.all([browser?.close(), large?.close()]));

    test('behaves as every window, with a 1 MiB word, and says each new result', async () => {
      const long = {
        'LONG OFFSET': '0'.repeat(40000),
        'LONG WORD': 'A'.repeat(1 << 20),
        'LONG CODES': ' 11'.repeat(1 << 20),
      };
      const kept = 'k'.repeat(40000);
      const text = (cell, otherwise) =>
        long[cell] ?? (['', 'OVERFLOW'].includes(cell) ? otherwise : cell);
      assert.ok(rows.length > 10);
      for (const [row, offset, word, actions, pointer, codes] of rows) {
        const boxes = {
          offset: text(offset, ''),
          pointer: text(pointer, kept),
          word: text(word, ''),
          HV: text(codes, kept),
        };
        await Promise.all([
          paste('offset', boxes.offset),
          paste('pointer', kept),
          paste('word', boxes.word),
          paste('HV', kept),
        ]);
        await evaluate(() => {
          document.querySelector('[role=status]').textContent = '';
        });
        const messages = [];
        for (const [control, focus] of `Option1 offset ${actions}`
          .split(' ')
          .map((action) => action.split(':'))) {
          await act(control, messages);
          if (focus)
            assert.equal(
              await evaluate(() => document.activeElement.id),
              focus,
              `${row}: ${control}`,
            );
        }
        const texts = await evaluate(() =>
          ['offset', 'pointer', 'word', 'HV']
            .map((id) => document.getElementById(id))
            .map(({ id, value, selectionStart, selectionEnd }) => [
              id,
              value,
              selectionStart,
              selectionEnd,
            ]),
        );
        const overflow = messages.map(
          (message) =>
            message.startsWith("Run-time error '6':\n\nOverflow") && message.includes('7FFFFFFF'),
        );
        assert.deepEqual(overflow, pointer === 'OVERFLOW' ? [true] : [], row);
        const status = await evaluate(() => document.querySelector('[role=status]').textContent);
        const result = pointer === 'OVERFLOW' ? '' : pointer && `Pointer ${pointer}`;
        assert.equal(
          status,
          codes === 'LONG CODES'
            ? `Hex value: ${1 << 20} codes`
            : codes
              ? `Hex value${codes}`
              : result,
          row,
        );
        for (const [id, value, start, end] of texts) {
          assert.ok(value === boxes[id], `${row}: ${id}`);
          assert.ok(
            pointer !== 'OVERFLOW' || id !== 'offset' || (start === 0 && end === value.length),
            `${row}: offset selected`,
          );
          assert.ok(!codes || id !== 'HV' || start === 0, `${row}: the codes from their start`);
        }
      }
    });

    test('asks nothing of the network, under its own policy, which blocks nothing', async () => {
      assert.deepEqual(
        page.requests.filter((request) => request !== url && !request.startsWith('data:')),
        [],
      );
      assert.match(
        await evaluate(
          () => document.querySelector('meta[http-equiv=Content-Security-Policy]').content,
        ),
        /^default-src 'none'; script-src 'sha256-/,
      );
      assert.deepEqual(page.said, []);
    });

    // On phones, at 400 % zoom on a laptop, and with larger or more widely
    // spaced text, every control and all its text is on screen, nothing
    // overlaps, and the tools work; where all fits, the form is as drawn.
    test('fits every screen and every size of text', async () => {
      for (const [shown, width, height, style] of [
        [browser, 320, 568],
        [browser, 360, 640],
        [browser, 768, 1024],
        [browser, 320, 568, spacing],
        [browser, 1024, 768, spacing],
        [large, 320, 568],
        [large, 1024, 768],
      ]) {
        const at = await open(shown, url, width, height);
        await at.evaluate(
          (rules) => rules.forEach((rule) => document.styleSheets[0].insertRule(rule)),
          style ?? [],
        );
        await at.evaluate(
          () => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))),
        );
        const [wrong, size] = await at.evaluate(layout);
        assert.deepEqual(
          wrong,
          [],
          `${width}x${height} ${style ? 'spaced' : shown === large ? '16 px' : ''}`,
        );
        assert.ok(width < 400 || style || shown === large || size === '374x329', size);
        assert.equal(await calculates(at), '1381');
        await at.close();
      }
    });

    for (const [scheme, setting] of Object.entries(schemes)) {
      test(`reads, and passes axe-core, in ${scheme} colours`, async (t) => {
        const own = typeof setting === 'object' ? await launch(setting) : null;
        t.after(() => own?.close());
        const shown = own ? await open(own, url) : page;
        const features = [{ name: setting, value: scheme === 'forced' ? 'active' : scheme }];
        if (!own)
          await (await page.createCDPSession()).send('Emulation.setEmulatedMedia', { features });
        const [[, window], [, box], ...read] = await shown.evaluate(
          contrasts,
          await shown.screenshot({ encoding: 'base64' }),
        );
        assert.ok(scheme !== 'dark' || (window < 0.05 && box < 0.05), 'dark as one');
        for (const [id, contrast] of read) {
          assert.ok(contrast >= (id === 'Line1' ? 3 : 4.5), `${id}: ${contrast.toFixed(2)}:1`);
        }
        await shown.evaluate(axe);
        const { violations } = await shown.evaluate(() => axe.run());
        assert.deepEqual(
          violations.map(({ id, nodes }) => `${id}: ${nodes.map((node) => node.target)}`),
          [],
        );
      });
    }

    // Every code unit from U+0080 to U+FFFF but the surrogates, pasted as one
    // word in a browser set to each language, gives Windows' codes for it.
    test("gives Windows' codes in the code page of the reader's language", async () => {
      const units = Array.from({ length: 0xff80 }, (_, i) => i + 0x80)
        .filter((unit) => unit < 0xd800 || unit > 0xdfff)
        .map((unit) => String.fromCharCode(unit))
        .join('');
      for (const [codePage, hash, , , language] of codePages) {
        const own = await launch(undefined, language);
        try {
          const shown = await open(own, url);
          await shown.evaluate((text) => {
            document.getElementById('word').value = text;
          }, units);
          await shown.click('#Command1');
          const codes = `${await shown.evaluate(() => document.getElementById('HV').value)}\n`;
          assert.equal(
            createHash('sha256').update(codes).digest('hex'),
            hash,
            `${language}: ${codePage}`,
          );
          assert.deepEqual(shown.said, []);
        } finally {
          await own.close();
        }
      }
    });

    // Put on a web host, the page is an app: Chromium finds nothing that keeps
    // it from being installed, and after one visit it opens and works with
    // the host gone.
    test('installs from a web host, and opens offline', async () => {
      const host = await serve();
      const visited = await open(browser, host.url);
      await visited.evaluate(() => navigator.serviceWorker.ready);
      assert.match(
        (await visited.evaluate(() => caches.keys())).join(),
        /^quorvane-[0-9a-f]{16}$/,
        'kept by release',
      );
      const installing =
        name === 'Chromium' &&
        (await visited.createCDPSession()).send('Page.getInstallabilityErrors');
      assert.deepEqual((await installing)?.installabilityErrors ?? [], []);
      host.close();
      host.closeAllConnections();
      const offline = await open(browser, `${host.url}?from=home-screen`);
      assert.equal(await calculates(offline), '1381');
      assert.deepEqual([...visited.said, ...offline.said], []);
      await Promise.all([visited.close(), offline.close()]);
    });

    // Saved as one file without its script (Chromium's "Web page, single
    // file"), the page says why it cannot run rather than show a dead window.
    test('says so where it cannot run', { skip: name !== 'Chromium' }, async () => {
      const { data } = await (
        await page.createCDPSession()
      ).send('Page.captureSnapshot', { format: 'mhtml' });
      writeFileSync(join(tmpdir(), 'quorvane-saved.mhtml'), data);
      const saved = await browser.newPage();
      await saved.goto(pathToFileURL(join(tmpdir(), 'quorvane-saved.mhtml')).href);
      assert.deepEqual(
        await saved.evaluate(() =>
          ['starting', 'Form1'].map((id) => document.getElementById(id).checkVisibility()),
        ),
        [true, false],
      );
      await saved.close();
    });

    test('ends at Exit, as far as the browser lets it', async () => {
      await page.click('#Exit');
      assert.ok(
        await evaluate(
          () => !document.getElementById('Form1') && !document.getElementById('ended').hidden,
        ).catch(() => page.isClosed()),
      );
    });
  });
}

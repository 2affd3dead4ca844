// The page as its users get it, in Debian's Chromium and Firefox: opened
// from disk and driven with real keys and clicks through the table every
// window passes (window_behaviour.json), a 1 MiB word included; its codes in
// the code page of each reader's language; what it asks of the network and
// logs; served as an app from a web host and opened offline; saved without
// its script; and Exit.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { createHash } from 'node:crypto';
import { once } from 'node:events';
import { readFile, writeFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { pathToFileURL } from 'node:url';
import { browsers, calculates, file, open, readJson, url, withGame } from './browsers.mjs';

const { rows, codePages: tips } = readJson('../../common/tests/window_behaviour.json');
const site = join(dirname(file), 'site');
const types = { html: 'text/html', js: 'text/javascript', png: 'image/png' };

// The app's folder, served as a web host serves it.
async function serve() {
  const server = createServer(({ url: name }, response) => {
    const path = name.replace(/\/$/, '/index.html').replace(/\?.*/, '');
    readFile(join(site, path), (error, body) => {
      const type = types[path.split('.').pop()] ?? 'application/manifest+json';
      response.writeHead(error ? 404 : 200, { 'content-type': type }).end(body);
    });
  }).listen(0, '127.0.0.1');
  await once(server, 'listening');
  return Object.assign(server, { url: `http://127.0.0.1:${server.address().port}/` });
}

const codePages = readJson('../../../conversions/tests/code_pages.json').rows;
const units = Array.from({ length: 0xff80 }, (_, i) => i + 0x80)
  .filter((unit) => unit < 0xd800 || unit > 0xdfff)
  .map((unit) => String.fromCharCode(unit))
  .join('');

const long = {
  'LONG OFFSET': '0'.repeat(40000),
  'LONG WORD': 'A'.repeat(1 << 20),
  'LONG CODES': ' 11'.repeat(1 << 20),
};
const kept = 'k'.repeat(40000);
const text = (cell, otherwise) =>
  long[cell] ?? (['', 'OVERFLOW'].includes(cell) ? otherwise : cell);

// What a screen reader hears of a row's result.
const said = (pointer, codes) => {
  if (codes === 'LONG CODES') return `Hex value: ${1 << 20} codes`;
  if (codes) return `Hex value${codes}`;
  return pointer === 'OVERFLOW' ? '' : pointer && `Pointer ${pointer}`;
};

for (const [name, { keys, launch }] of Object.entries(browsers)) {
  describe(name, () => {
    let browser, page;
    const evaluate = (script, ...values) => page.evaluate(script, ...values);
    before(async () => {
      browser = await launch();
      page = await open(browser, url);
    });
    after(() => browser?.close());

    // Clicks a control or presses a key. A message is read, seen to have its
    // OK button focused, closed with Enter or Escape in turn, and the page
    // given a frame to act on its closing.
    const act = async (action, messages) => {
      await (keys[action] ? page.keyboard.press(keys[action]) : page.click(`#${action}`));
      const message = await evaluate(() => {
        const [dialog, text, hint] = ['message', 'messageText', 'messageHint'].map((id) =>
          document.getElementById(id),
        );
        return dialog.open && `${text.textContent}\n\n${hint.textContent}`;
      });
      if (!message) return;
      messages.push(message);
      assert.equal(await evaluate(() => document.activeElement.id), 'messageOK');
      await page.keyboard.press(messages.length % 2 ? keys.Return : keys.Esc);
      await evaluate(() => new Promise((done) => requestAnimationFrame(() => setTimeout(done))));
    };

    // Typed at once, an offset goes into its box: headless, and headed under
    // a display (a test's X server), where a browser treats focus as on a
    // desktop.
    test('opens with the focus in Offset', async () => {
      for (const headed of [false, ...(process.env.DISPLAY ? [true] : [])]) {
        const own = headed ? await launch(undefined, undefined, true) : browser;
        const opened = await open(own, url);
        await opened.keyboard.type('8123');
        const typed = await opened.$eval('#offset', (box) => box.value);
        assert.equal(typed, '8123', `headed: ${headed}`);
        await (headed ? own.close() : opened.close());
      }
    });

    test('behaves as every window, with a 1 MiB word, says each new result, asks nothing', async () => {
      assert.ok(rows.length > 10);
      for (const [row, offset, word, actions, pointer, codes] of rows) {
        const boxes = {
          offset: text(offset, ''),
          pointer: text(pointer, kept),
          word: text(word, ''),
          HV: text(codes, kept),
        };
        await evaluate(
          (boxes, kept) => {
            for (const id of Object.keys(boxes)) {
              document.getElementById(id).value = ['pointer', 'HV'].includes(id) ? kept : boxes[id];
              document.getElementById(id).dispatchEvent(new Event('input'));
            }
            document.getElementById('status').textContent = '';
          },
          boxes,
          kept,
        );
        const messages = [];
        for (const action of `Option1 offset ${actions}`.split(' ')) {
          const [control, focus] = action.split(':');
          await act(control, messages);
          const focused = await evaluate(() => document.activeElement.id);
          assert.ok(!focus || focused === focus, `${row}: ${action} focuses ${focused}`);
        }
        const overflows = messages.map((message) =>
          /^Run-time error '6':\n\nOverflow[^]*7FFFFFFF/.test(message),
        );
        assert.deepEqual(overflows, pointer === 'OVERFLOW' ? [true] : [], row);
        const shown = await evaluate(() => {
          const box = (id) => document.getElementById(id);
          return {
            status: box('status').textContent,
            boxes: Object.fromEntries(
              ['offset', 'pointer', 'word', 'HV'].map((id) => [id, box(id).value]),
            ),
            offset: [box('offset').selectionStart, box('offset').selectionEnd],
            codesFrom: box('HV').selectionStart,
          };
        });
        assert.equal(shown.status, said(pointer, codes), row);
        assert.ok(
          Object.keys(boxes).every((id) => shown.boxes[id] === boxes[id]),
          `${row}: the boxes' texts`,
        );
        if (pointer === 'OVERFLOW') assert.deepEqual(shown.offset, [0, boxes.offset.length], row);
        if (codes) assert.equal(shown.codesFrom, 0, `${row}: the codes from their start`);
      }
      // Under its own policy, which blocked nothing, it asked nothing of the
      // network and logged nothing.
      const policy = await evaluate(
        () => document.querySelector('meta[http-equiv=Content-Security-Policy]').content,
      );
      assert.match(policy, /^default-src 'none'; script-src 'sha256-/);
      assert.deepEqual(
        page.requests.filter((request) => !/^(file|data):/.test(request)),
        [],
      );
      assert.deepEqual(page.said, []);
    });

    // Every code unit from U+0080 to U+FFFF but the surrogates, pasted as one
    // word in a browser set to each language, gives Windows' codes for it
    // (code_pages.json). The codes are the core's, the same in each browser;
    // what is the browser's own is the language it reports, so Firefox, slow
    // to start, is set to a single-byte page's language and a double-byte
    // one's, and Chromium to every language.
    test("gives Windows' codes in the code page of the reader's language", async () => {
      const pages =
        name === 'Chromium' ? codePages : codePages.filter(([page]) => [1251, 932].includes(page));
      for (const [codePage, hash, , , language] of pages) {
        const own = await launch(undefined, language);
        try {
          const shown = await open(own, url);
          // From the window's opening, the hex value box says whose codes it
          // gives, as every window does.
          const tip = await shown.$eval('#HV', (box) => box.title);
          const row = tips.find(
            ([, by, setting, had, wanted]) =>
              by === 'browser' && setting === language && had === wanted,
          );
          const expected = `^Codes of Windows code page ${codePage} \\(.+\\), from the browser's language, ${language}$`;
          assert.ok(row ? tip === row[5] : new RegExp(expected).test(tip), tip);
          await shown.$eval('#word', (box, text) => (box.value = text), units);
          await shown.click('#Command1');
          const codes = `${await shown.$eval('#HV', (box) => box.value)}\n`;
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

    // Chromium finds nothing that keeps it from being installed, and after
    // one visit it opens and works with the host gone, from the address a
    // launcher gives it.
    test('installs from a web host, and opens offline', async () => {
      const host = await serve();
      const visited = await open(browser, host.url);
      await visited.evaluate(() => navigator.serviceWorker.ready);
      const kept = await visited.evaluate(() => caches.keys());
      assert.match(kept.join(), /^quorvane-[0-9a-f]{16}$/, 'kept by release');
      const installing =
        name === 'Chromium' &&
        (await visited.createCDPSession()).send('Page.getInstallabilityErrors');
      assert.deepEqual((await installing)?.installabilityErrors ?? [], []);
      host.close();
      host.closeAllConnections();
      const offline = await open(browser, `${host.url}?from=home-screen`);
      assert.equal(await calculates(offline), '1381');
      await withGame(offline); // the ROM view too, its module inside the page
      assert.deepEqual([...visited.said, ...offline.said], []);
      await Promise.all([visited.close(), offline.close()]);
    });

    // Saved as one file without its script (Chromium's "Web page, single
    // file"), the page says why it cannot run rather than show a dead window.
    test('says so where it cannot run', { skip: name !== 'Chromium' }, async () => {
      const page = await open(browser, url);
      const cdp = await page.createCDPSession();
      const { data } = await cdp.send('Page.captureSnapshot', { format: 'mhtml' });
      writeFileSync(join(tmpdir(), 'quorvane-saved.mhtml'), data);
      const saved = await open(
        browser,
        pathToFileURL(join(tmpdir(), 'quorvane-saved.mhtml')).href,
        420,
        400,
        false,
      );
      const visible = await saved.evaluate(() =>
        ['starting', 'Form1'].map((id) => document.getElementById(id).checkVisibility()),
      );
      assert.deepEqual(visible, [true, false]);
      assert.deepEqual(saved.said, []);
      await Promise.all([page.close(), saved.close()]);
    });

    test('ends at Exit, as far as the browser lets it', async () => {
      await page.click('#Exit');
      const ended = evaluate(
        () => !document.getElementById('Form1') && !document.getElementById('ended').hidden,
      );
      assert.ok(await ended.catch(() => page.isClosed()));
    });
  });
}

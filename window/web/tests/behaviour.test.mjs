// The page driven with real keys and clicks through the table every window
// passes (window_behaviour.json), a 1 MiB word included; what it asks of the
// network and logs; and Exit.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { browsers, open, readJson, url } from './browsers.mjs';

const { rows } = readJson('../../common/tests/window_behaviour.json');
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

    test('behaves as every window, with a 1 MiB word, and says each new result', async () => {
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
    });

    test('asks nothing of the network, under its own policy, which blocks nothing', async () => {
      const elsewhere = page.requests.filter(
        (request) => request !== url && !request.startsWith('data:'),
      );
      assert.deepEqual(elsewhere, []);
      const policy = await evaluate(
        () => document.querySelector('meta[http-equiv=Content-Security-Policy]').content,
      );
      assert.match(policy, /^default-src 'none'; script-src 'sha256-/);
      assert.deepEqual(page.said, []);
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

// Every code unit from U+0080 to U+FFFF but the surrogates, pasted as one
// word in a browser set to each language, gives Windows' codes for it
// (code_pages.json).
import { describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { createHash } from 'node:crypto';
import { browsers, open, readJson, url } from './browsers.mjs';

const { rows } = readJson('../../../conversions/tests/code_pages.json');
const units = Array.from({ length: 0xff80 }, (_, i) => i + 0x80)
  .filter((unit) => unit < 0xd800 || unit > 0xdfff)
  .map((unit) => String.fromCharCode(unit))
  .join('');

for (const [name, { launch }] of Object.entries(browsers)) {
  describe(name, () => {
    test("gives Windows' codes in the code page of the reader's language", async () => {
      for (const [codePage, hash, , , language] of rows) {
        const browser = await launch(undefined, language);
        try {
          const shown = await open(browser, url);
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
          await browser.close();
        }
      }
    });
  });
}

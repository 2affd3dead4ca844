// The page on every screen and in every colour scheme: its layout on phones,
// at 400 % zoom and with larger or more widely spaced text, read from the
// boxes the browser lays out; dark as one in a dark scheme, read from its
// pixels; and axe-core's checks, text contrast among them.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { createRequire } from 'node:module';
import { readFileSync } from 'node:fs';
import { browsers, calculates, open, url, withGame } from './browsers.mjs';

const axe = readFileSync(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');
const spacing = [
  '* { line-height: 1.5 !important; letter-spacing: 0.12em !important; word-spacing: 0.16em !important; }',
  'p { margin-bottom: 2em !important; }',
];

// What is wrong with the window's layout as shown: a control off screen, a
// caption or button whose text is cut, two controls on each other, the page
// scrolling sideways; on a phone, text a phone zooms into (below 16 px) or a
// target a finger misses (below 24 by 24 px, an option counted with its
// caption); and the window's size.
function layout(phone, shown = '#title, #Form1 > :not(#status, [role]), [role] > *') {
  const controls = [...document.querySelectorAll(shown)].filter(
    (control) => control.getClientRects().length,
  );
  const boxes = controls.map((control) => control.getBoundingClientRect());
  const target = (control, box) => {
    const caption = document.querySelector(`label[for=${control.id}]`);
    const other = control.type === 'radio' ? caption.getBoundingClientRect() : box;
    const width = Math.max(box.right, other.right) - Math.min(box.left, other.left);
    const height = Math.max(box.bottom, other.bottom) - Math.min(box.top, other.top);
    return width >= 24 && height >= 24;
  };
  const small = (control, i) =>
    !/IMAGE|HR|DIV/i.test(control.tagName + control.id) &&
    (parseFloat(getComputedStyle(control).fontSize) < 16 ||
      (/INPUT|BUTTON/.test(control.tagName) && !target(control, boxes[i])));
  const over = (a, b) =>
    a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
  const cut = (control) =>
    !/INPUT|HR/.test(control.tagName) &&
    (control.scrollWidth > control.clientWidth || control.scrollHeight > control.clientHeight);
  const wrong = controls.flatMap((control, i) => [
    ...(boxes[i].left < 0 || boxes[i].right > innerWidth ? [`${control.id} off screen`] : []),
    ...(cut(control) ? [`${control.id} cut`] : []),
    ...(phone && small(control, i) ? [`${control.id} too small`] : []),
    ...controls
      .filter((other, j) => j > i && over(boxes[i], boxes[j]))
      .map((other) => `${control.id} on ${other.id}`),
  ]);
  if (document.documentElement.scrollWidth > innerWidth) wrong.push('scrolls sideways');
  const { width, height } = document.getElementById('Form1').getBoundingClientRect();
  return [wrong, `${width}x${height}`];
}

// The luminance of the window's background, of a text box and of the
// picture's background, read from a screenshot.
async function luminances(png) {
  const bytes = Uint8Array.from(atob(png), (character) => character.charCodeAt(0));
  const image = await createImageBitmap(new Blob([bytes]));
  const canvas = new OffscreenCanvas(image.width, image.height).getContext('2d');
  canvas.drawImage(image, 0, 0);
  const linear = (byte) => (byte <= 10.31 ? byte / 3294.6 : ((byte / 255 + 0.055) / 1.055) ** 2.4);
  return [
    ['Form1', (box) => [box.x + 2, box.bottom - 2]],
    ['HV', (box) => [box.right - 4, box.y + 4]],
    ['Image1', (box) => [box.x + 1, box.y + 1]],
  ].map(([id, point]) => {
    const [x, y] = point(document.getElementById(id).getBoundingClientRect());
    const [red, green, blue] = canvas.getImageData(x, y, 1, 1).data;
    return 0.2126 * linear(red) + 0.7152 * linear(green) + 0.0722 * linear(blue);
  });
}

for (const [name, { launch, schemes, largeText }] of Object.entries(browsers)) {
  describe(name, () => {
    let browser, large; // large: set to a minimum font size of 16 px
    before(async () => {
      [browser, large] = await Promise.all([launch(), launch(largeText)]);
    });
    after(() => Promise.all([browser?.close(), large?.close()]));

    // Every control and all its text on screen, nothing overlapping, and the
    // tools working; where all fits, the form as drawn.
    test('fits every screen and every size of text', async () => {
      for (const [shown, width, height, style, phone] of [
        [browser, 320, 568, [], true],
        [browser, 360, 640, [], true],
        [browser, 768, 1024],
        [browser, 320, 568, spacing],
        [browser, 1024, 768, spacing],
        [large, 320, 568],
        [large, 1024, 768],
      ]) {
        const at = await open(shown, url, width, height, true, phone);
        // The rules put in, and two frames to lay out what they change.
        await at.evaluate((rules) => {
          rules.forEach((rule) => document.styleSheets[0].insertRule(rule));
          return new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done)));
        }, style ?? []);
        const [wrong, size] = await at.evaluate(layout, phone ?? false);
        const named = `${width}x${height} ${style?.length ? 'spaced' : shown === large ? '16 px' : ''}`;
        assert.deepEqual(wrong, [], named);
        assert.ok(width < 400 || style || shown === large || size === '374x329', size);
        assert.equal(await calculates(at), '1381');
        await withGame(at);
        const rom = '#views button, #rom-view :is(h2, h3, p, label, input, select, button, dt, dd)';
        const [wrongRom] = await at.evaluate(layout, phone ?? false, rom);
        assert.deepEqual(wrongRom, [], `ROM view, ${named}`);
        await at.close();
      }
    });

    for (const [scheme, setting] of Object.entries(schemes)) {
      test(`reads, and passes axe-core, in ${scheme} colours`, async (t) => {
        const own = typeof setting === 'object' ? await launch(setting) : null;
        t.after(() => own?.close());
        const shown = await open(own ?? browser, url);
        const features = [{ name: setting, value: scheme === 'forced' ? 'active' : scheme }];
        if (!own)
          await (await shown.createCDPSession()).send('Emulation.setEmulatedMedia', { features });
        const read = await shown.evaluate(
          luminances,
          await shown.screenshot({ encoding: 'base64' }),
        );
        const dark = read.every((luminance) => luminance < 0.05);
        assert.ok(scheme !== 'dark' || dark, 'dark as one, the picture too');
        await shown.evaluate(axe);
        const { violations } = await shown.evaluate(() => axe.run());
        const found = violations.map(
          ({ id, nodes }) => `${id}: ${nodes.map((node) => node.target)}`,
        );
        assert.deepEqual(found, []);
        await withGame(shown);
        const rom = await shown.evaluate(() => axe.run());
        assert.deepEqual(
          rom.violations.map(
            ({ id, nodes }) => `ROM view, ${id}: ${nodes.map((node) => node.target)}`,
          ),
          [],
        );
      });
    }
  });
}

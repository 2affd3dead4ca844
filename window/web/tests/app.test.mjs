// The page as an app on a web host: installable, and opening offline after
// one visit; and a copy saved without its script, which says it cannot run.
import { after, before, describe, test } from 'node:test';
import assert from 'node:assert/strict';
import { once } from 'node:events';
import { readFile, writeFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { dirname, join } from 'node:path';
import { pathToFileURL } from 'node:url';
import { browsers, calculates, file, open, url } from './browsers.mjs';

const site = join(dirname(file), 'site');
const types = {
  html: 'text/html',
  js: 'text/javascript',
  png: 'image/png',
  webmanifest: 'application/manifest+json',
};

// The app's folder, served as a web host serves it.
async function serve() {
  const server = createServer(({ url: name }, response) => {
    const path = name.replace(/\/$/, '/index.html').replace(/\?.*/, '');
    readFile(join(site, path), (error, body) => {
      const type = types[path.split('.').pop()] ?? 'text/plain';
      response.writeHead(error ? 404 : 200, { 'content-type': type }).end(body);
    });
  }).listen(0, '127.0.0.1');
  await once(server, 'listening');
  return Object.assign(server, { url: `http://127.0.0.1:${server.address().port}/` });
}

for (const [name, { launch }] of Object.entries(browsers)) {
  describe(name, () => {
    let browser;
    before(async () => {
      browser = await launch();
    });
    after(() => browser?.close());

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
  });
}

// Prints the codes the page gives every code unit from U+0080 to U+FFFF but
// the surrogates, pasted as one word into a browser set to a language, as
// every platform prints them for tools/compare-code-pages.sh.
//   node codes.mjs PAGE Chromium|Firefox LANGUAGE
import { pathToFileURL } from 'node:url';
import { browsers, open } from './browsers.mjs';

const [file, name, language] = process.argv.slice(2);
let units = '';
for (let unit = 0x80; unit <= 0xffff; ++unit) {
  if (unit < 0xd800 || unit > 0xdfff) units += String.fromCharCode(unit);
}
const browser = await browsers[name].launch({}, language);
try {
  const page = await open(browser, pathToFileURL(file).href);
  const said = [];
  page.on('console', (message) => said.push(message.text()));
  await page.evaluate((text) => { document.getElementById('word').value = text; }, units);
  await page.click('#Command1');
  process.stdout.write(`${await page.evaluate(() => document.getElementById('HV').value)}\n`);
  if (said.length > 0) throw new Error(said.join('\n'));
} finally {
  await browser.close();
}

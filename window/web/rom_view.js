// The page's ROM view: a game opened (from a zip too), its header and
// hashes shown, a patch applied or made, and a patcher page saved with the
// patch inside it. Every rule is the ROM library's, compiled to WebAssembly
// as a module of its own and started when the view first opens: this script
// reads files, hands their bytes to it, and shows what it says. Nothing is
// sent anywhere; a result is a download made in the page.

const control = (id) => document.getElementById(id);
const slot = { rom: 0, patch: 1, modified: 2, made: 3 };
const [view, status, progress, info] = ['rom-view', 'rom-status', 'rom-progress', 'rom-info'].map(
  control,
);

// A file's name without its extension: "Game" for "Game.nes".
const stem = (name) => name.replace(/\.[^.]*$/, '');
const extension = (name) => /\.[^.]*$/.exec(name)?.[0] ?? '';
const fromBase64 = (text) =>
  Uint8Array.fromBase64?.(text) ?? Uint8Array.from(atob(text), (c) => c.charCodeAt(0));
function toBase64(bytes) {
  if (bytes.toBase64) return bytes.toBase64();
  let text = '';
  for (let i = 0; i < bytes.length; i += 0x8000) {
    text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
  }
  return btoa(text);
}

// The module, held deflated in the page, inflated once and started in a
// worker made from the page's own text; each call to it answers with what
// it said (`result`, `said`) or a file it made (`bytes`).
let worker = null;
let started = null;
const waiting = new Map();
let calls = 0;
function call(name, ...args) {
  return new Promise((resolve, reject) => {
    waiting.set(++calls, { resolve, reject });
    worker.postMessage({ id: calls, name, args });
  });
}
function start() {
  if (started) return started;
  const source = ['romCore', 'romWorker'].map((id) => control(id).textContent).join('\n');
  worker = new Worker(URL.createObjectURL(new Blob([source], { type: 'text/javascript' })));
  worker.onmessage = ({ data }) => {
    const { resolve, reject } = waiting.get(data.id);
    waiting.delete(data.id);
    if (data.error) reject(new Error(data.error));
    else resolve(data);
  };
  worker.onerror = (event) => {
    waiting.forEach(({ reject }) => reject(new Error(event.message)));
    waiting.clear();
  };
  started = (async () => {
    const packed = new Blob([fromBase64(control('romBytes').textContent)]);
    const inflated = packed.stream().pipeThrough(new DecompressionStream('deflate-raw'));
    await call('start', new Uint8Array(await new Response(inflated).arrayBuffer()));
  })();
  return started;
}

class Refusal extends Error {}
// A call whose result 0 is a refusal, in the words the module said, after
// the name of the file it is about.
async function unless0(about, name, ...args) {
  const reply = await call(name, ...args);
  if (reply.result === 0) throw new Refusal(`${about}: ${reply.said}`);
  return reply;
}
const put = (into, bytes) => call('put', into, bytes);
const take = async (from) => (await call('take', from)).bytes;

// A zip's deflated file, by the browser's own inflater (zlib, in both
// browsers), never past the size its directory says.
async function inflate(packed, size) {
  const chunks = [];
  let length = 0;
  try {
    const stream = new Blob([packed]).stream().pipeThrough(new DecompressionStream('deflate-raw'));
    for await (const chunk of stream) {
      length += chunk.length;
      if (length > size) throw new Error('it holds more than its directory says');
      chunks.push(chunk);
    }
  } catch (error) {
    throw new Refusal(`the zip is damaged: its file does not inflate: ${error.message}`);
  }
  const bytes = new Uint8Array(length);
  chunks.reduce((at, chunk) => (bytes.set(chunk, at), at + chunk.length), 0);
  return bytes;
}

// What the user has opened: each file's name and bytes, and a zip's files.
const opened = { rom: null, patch: null, modified: null };

// Reads a file into its slot; for a zip, the file chosen in it (its one
// file, or its one game or patch beside others, else the first, until
// another is chosen). A file past the ceiling is refused by its size.
async function load(which, file, chosen) {
  if (file.size > (await call('largest')).result) {
    throw new Refusal(`${file.name}: ${(await call('too_large')).said}`);
  }
  const at = slot[which];
  await put(at, new Uint8Array(await file.arrayBuffer()));
  const { result: kind, said } = await unless0(file.name, 'open', at);
  const names = kind === 2 ? said.split('\n').slice(0, -1) : [];
  let name = file.name;
  let entry = chosen ?? 0;
  if (kind === 2) {
    entry = chosen ?? Math.max(0, (await call('choose', at, which === 'patch' ? 1 : 0)).result);
    name = names[entry].replace(/^.*\//, '');
    if ((await unless0(file.name, 'entry', at, entry)).result === 2) {
      const from = (await call('packed_at')).result;
      const { bytes } = await call('take', at, from, (await call('packed_size')).result);
      await put(at, await inflate(bytes, (await call('entry_size', at, entry)).result));
      await unless0(file.name, 'inflated', at, entry);
    }
  }
  opened[which] = { file, name, names, entry };
}

// Shows the work's progress where it takes more than a quarter second, and
// its result or refusal in the live region.
async function work(task) {
  const shown = setTimeout(() => (progress.hidden = false), 250);
  try {
    await start();
    status.textContent = await task();
  } catch (error) {
    status.textContent = error instanceof Refusal ? error.message : `Quorvane failed: ${error}`;
    if (!(error instanceof Refusal)) console.error(error);
  } finally {
    clearTimeout(shown);
    progress.hidden = true;
    control('apply').disabled = !(opened.rom && opened.patch);
    control('make-patch').disabled = !(opened.rom && opened.modified);
    control('save-patcher').hidden = !opened.patch;
  }
}

const labels = {
  header: 'Header',
  'PRG-ROM': 'Program (PRG-ROM)',
  'CHR-ROM': 'Graphics (CHR-ROM)',
  mapper: 'Mapper (the cartridge’s board)',
  trainer: 'Trainer',
  battery: 'Battery for saves',
  mirroring: 'Mirroring',
  file: 'Whole file',
  data: 'Game data',
};
async function describe() {
  info.replaceChildren();
  const { said } = await unless0(opened.rom.name, 'describe');
  for (const line of said.split('\n').slice(0, -1)) {
    const [label, shown] = line.split('\t');
    const term = document.createElement('dt');
    const words = document.createElement('dd');
    term.textContent = labels[label] ?? label[0].toUpperCase() + label.slice(1);
    words.textContent = shown.replace(/ {2}SHA-1 /, '\nSHA-1 ').replace(/ \(after/, '\n(after');
    if (label === 'file' || label === 'data') words.className = 'hashes';
    info.append(term, words);
  }
}

// The hashes of a file, shown beside its link.
async function hashes(of) {
  const [crc, sha1] = (await call('hashes', of)).said.split('\n');
  return `CRC32 ${crc}\nSHA-1 ${sha1}`;
}
const sha1Of = async (of) => (await call('hashes', of)).said.split('\n')[1];
function offer(link, bytes, name) {
  if (link.href.startsWith('blob:')) URL.revokeObjectURL(link.href);
  link.href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
  link.download = name;
  link.textContent = `Download ${name}`;
  link.parentElement.hidden = false;
}

const wanted = { sha1: '' }; // the SHA-1 of the game the open patch is for, once known
async function openRom(entry) {
  const file = control('rom-file').files[0] ?? opened.rom?.file;
  if (!file) return '';
  await load('rom', file, entry);
  const row = control('rom-entry-row');
  row.hidden = opened.rom.names.length < 2;
  if (!row.hidden && entry === undefined) {
    control('rom-entry').replaceChildren(...opened.rom.names.map((name) => new Option(name)));
    control('rom-entry').selectedIndex = opened.rom.entry;
  }
  await describe();
  return `Opened ${opened.rom.name}.`;
}

async function openPatch(file) {
  await load('patch', file);
  const { said } = await unless0(file.name, 'patch');
  control('across-row').hidden = true;
  control('across-header').checked = false;
  wanted.sha1 = '';
  return `Opened ${file.name}, a ${said.split('\n')[0]} patch.`;
}

async function apply() {
  const across = control('across-header').checked ? 1 : 0;
  const { result: done, said: note } = await call('apply', across);
  const patch = opened.patch.name;
  if (done === 2) {
    control('across-row').hidden = false;
    throw new Refusal(
      `${patch}: ${note}. It applies across the header: tick the box above the button to apply it to the game's data, keeping this game's own header.`,
    );
  }
  if (done === 0) throw new Refusal(`${patch}: ${note}`);
  // The open game is the one the patch wants: its SHA-1, for a patcher page.
  if (!note && !across && !wanted.sha1) wanted.sha1 = await sha1Of(slot.rom);
  const name = `${stem(opened.rom.name)} (${stem(patch)})${extension(opened.rom.name) || '.nes'}`;
  offer(control('download'), await take(slot.made), name);
  control('download-hashes').textContent = await hashes(slot.made);
  return `Patched: ${name} is ready to download${note ? `. ${note[0].toUpperCase()}${note.slice(1)}` : ''}.`;
}

async function makePatch() {
  const format = Number(control('patch-format').value);
  await unless0(opened.modified.name, 'make', format);
  const made = await take(slot.made);
  const name = `${stem(opened.modified.name)}.${['bps', 'ips', 'ups'][format]}`;
  offer(control('patch-download'), made, name);
  // The patch made is the one open now: to apply, or to save in a page.
  await put(slot.patch, made);
  opened.patch = { file: new File([made], name), name, names: [] };
  wanted.sha1 = await sha1Of(slot.rom);
  return `Made ${name}, ${made.length} bytes, ready to download.`;
}

// A copy of this page with the open patch inside it, which asks a player
// for the game alone.
async function savePatcher() {
  const patch = await take(slot.patch);
  const [format, crc] = (await call('patch')).said.split('\n');
  const holder = document.createElement('script');
  holder.type = 'application/octet-stream';
  holder.id = 'patcher-patch';
  Object.assign(holder.dataset, { name: opened.patch.name, format, crc, sha1: wanted.sha1 });
  holder.textContent = toBase64(patch);
  // Without the app's manifest, which only its head can hold, so that the
  // copy is a page of its own; the patch before the body's end.
  const page = globalThis.quorvanePage;
  const head = page.indexOf('</head>');
  const copy =
    page.slice(0, head).replace(/<link rel="manifest"[^>]*>/, '') +
    page.slice(head).replace(/<\/body>\s*<\/html>\s*$/, `${holder.outerHTML}\n</body>\n</html>\n`);
  // "Game (French)" for Game.nes and French.bps; a patch already named
  // after its game, as one made here is, keeps its name.
  const [game, patchName] = [stem(opened.rom?.name ?? ''), stem(opened.patch.name)];
  const base = !game || patchName.startsWith(game) ? patchName : `${game} (${patchName})`;
  const name = `${base} patcher.html`;
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([copy], { type: 'text/html' }));
  link.download = name;
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 60000);
  return `Saved ${name}: open it from disk to apply ${opened.patch.name}.`;
}

function showView(rom) {
  control('Form1').hidden = rom;
  view.hidden = !rom;
  control('view-calculator').setAttribute('aria-pressed', String(!rom));
  control('view-rom').setAttribute('aria-pressed', String(rom));
  if (rom) work(async () => '');
}

control('view-calculator').addEventListener('click', () => showView(false));
control('view-rom').addEventListener('click', () => showView(true));
control('rom-file').addEventListener('change', () => work(() => openRom()));
control('rom-entry').addEventListener('change', (event) =>
  work(() => openRom(event.target.selectedIndex)),
);
control('patch-file').addEventListener('change', (event) =>
  work(() => openPatch(event.target.files[0])),
);
control('modified-file').addEventListener('change', (event) =>
  work(async () => {
    await load('modified', event.target.files[0]);
    return `Opened ${opened.modified.name}.`;
  }),
);
control('apply').addEventListener('click', () => work(apply));
control('make-patch').addEventListener('click', () => work(makePatch));
control('save-patcher').addEventListener('click', () => work(savePatcher));

// A game dropped anywhere on the view is opened as if picked.
view.addEventListener('dragover', (event) => event.preventDefault());
view.addEventListener('drop', (event) => {
  event.preventDefault();
  const [file] = event.dataTransfer.files;
  if (!file) return;
  const picked = new DataTransfer();
  picked.items.add(file);
  control('rom-file').files = picked.files;
  work(() => openRom());
});

// A patcher page opens on the ROM view, with its patch open, and asks for
// the game alone.
const held = control('patcher-patch');
if (held) {
  showView(true);
  work(async () => {
    const { name, format, crc, sha1 } = held.dataset;
    await openPatch(new File([fromBase64(held.textContent)], name));
    wanted.sha1 = sha1;
    control('patch-row').hidden = true;
    const intro = control('patcher-intro');
    intro.hidden = false;
    intro.textContent =
      format === 'IPS'
        ? `This page applies ${name} to your copy of the game. An IPS patch names no game: open the one it was made for.`
        : `This page applies ${name} to your copy of the game, the one of CRC32 ${crc}${sha1 ? ` and SHA-1 ${sha1}` : ''}. Open it below.`;
    return `${name} is open: open the game to patch.`;
  });
}

// The page's ROM view: a game opened (from a zip too), its header and
// hashes shown, a patch applied or made, and a patcher page saved with the
// patch inside it. Every rule is the ROM library's, compiled to WebAssembly
// as a module of its own and started when the view first opens: this script
// reads files, hands their bytes to it, and shows what it says. Nothing is
// sent anywhere; a result is a download made in the page.

const control = (id) => document.getElementById(id);
const utf8 = new TextDecoder();
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

// The module, held deflated in the page, inflated and started once.
let core = null;
async function start() {
  if (!core) {
    const packed = new Blob([fromBase64(control('romBytes').textContent)]);
    const inflated = packed.stream().pipeThrough(new DecompressionStream('deflate-raw'));
    const wasmBinary = new Uint8Array(await new Response(inflated).arrayBuffer());
    core ??= await QuorvaneRom({ wasmBinary });
  }
  return core;
}

class Refusal extends Error {}
const said = () => {
  const at = core._quorvane_said();
  return utf8.decode(core.HEAPU8.subarray(at, at + core._quorvane_said_length()));
};
function put(into, bytes) {
  const at = core._quorvane_file(into, bytes.length);
  if (!at) throw new Refusal('out of memory');
  core.HEAPU8.set(bytes, at);
}
function take(from) {
  const at = core._quorvane_data(from);
  return core.HEAPU8.slice(at, at + core._quorvane_size(from));
}

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

// Reads a file into its slot; for a zip, the file chosen in it (the first,
// until another is chosen). A file past the ceiling is refused by its size.
async function load(which, file, entry = 0) {
  if (file.size > core._quorvane_largest()) {
    core._quorvane_too_large();
    throw new Refusal(`${file.name}: ${said()}`);
  }
  const bytes = new Uint8Array(await file.arrayBuffer());
  const at = slot[which];
  put(at, bytes);
  const kind = core._quorvane_open(at);
  if (kind === 0) throw new Refusal(`${file.name}: ${said()}`);
  const names = kind === 2 ? said().split('\n').slice(0, -1) : [];
  let name = file.name;
  if (kind === 2) {
    name = names[entry].replace(/^.*\//, '');
    const how = core._quorvane_entry(at, entry);
    if (how === 0) throw new Refusal(`${file.name}: ${said()}`);
    if (how === 2) {
      const from = core._quorvane_data(at) + core._quorvane_packed_at();
      const packed = core.HEAPU8.slice(from, from + core._quorvane_packed_size());
      put(at, await inflate(packed, core._quorvane_entry_size(at, entry)));
      if (!core._quorvane_inflated(at, entry)) throw new Refusal(`${file.name}: ${said()}`);
    }
  }
  opened[which] = { file, name, names };
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
function describe() {
  info.replaceChildren();
  if (!core._quorvane_describe()) {
    throw new Refusal(`${opened.rom.name}: ${said()}`);
  }
  for (const line of said().split('\n').slice(0, -1)) {
    const [label, shown] = line.split('\t');
    const term = document.createElement('dt');
    const words = document.createElement('dd');
    term.textContent = labels[label] ?? label[0].toUpperCase() + label.slice(1);
    words.textContent = shown.replace(/ {2}SHA-1 /, '\nSHA-1 ').replace(/ \(after/, '\n(after');
    if (label === 'file' || label === 'data') words.className = 'hashes';
    info.append(term, words);
  }
}

// The hashes of a file made, shown beside its link.
function hashes(of) {
  core._quorvane_hashes(of);
  const [crc, sha1] = said().split('\n');
  return `CRC32 ${crc}\nSHA-1 ${sha1}`;
}
function offer(link, bytes, name) {
  if (link.href.startsWith('blob:')) URL.revokeObjectURL(link.href);
  link.href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
  link.download = name;
  link.textContent = `Download ${name}`;
  link.parentElement.hidden = false;
}

const wanted = { sha1: '' }; // the SHA-1 of the game the open patch is for, once known
async function openRom(entry = 0) {
  const file = control('rom-file').files[0] ?? opened.rom?.file;
  if (!file) return '';
  await load('rom', file, entry);
  const row = control('rom-entry-row');
  row.hidden = opened.rom.names.length < 2;
  if (!row.hidden && entry === 0) {
    control('rom-entry').replaceChildren(...opened.rom.names.map((name) => new Option(name)));
  }
  describe();
  return `Opened ${opened.rom.name}.`;
}

async function openPatch(file) {
  await load('patch', file);
  if (!core._quorvane_patch()) throw new Refusal(`${file.name}: ${said()}`);
  control('across-row').hidden = true;
  control('across-header').checked = false;
  wanted.sha1 = '';
  return `Opened ${file.name}, a ${said().split('\n')[0]} patch.`;
}

function apply() {
  const across = control('across-header').checked ? 1 : 0;
  const done = core._quorvane_apply(across);
  const patch = opened.patch.name;
  if (done === 2) {
    control('across-row').hidden = false;
    throw new Refusal(
      `${patch}: ${said()}. It applies across the header: tick the box above the button to apply it to the game's data, keeping this game's own header.`,
    );
  }
  if (done === 0) throw new Refusal(`${patch}: ${said()}`);
  const note = said();
  // The open game is the one the patch wants: its SHA-1, for a patcher page.
  if (!note && !across && !wanted.sha1) wanted.sha1 = hashes(slot.rom).split('SHA-1 ')[1];
  const name = `${stem(opened.rom.name)} (${stem(patch)})${extension(opened.rom.name) || '.nes'}`;
  offer(control('download'), take(slot.made), name);
  control('download-hashes').textContent = hashes(slot.made);
  return `Patched: ${name} is ready to download${note ? `. ${note[0].toUpperCase()}${note.slice(1)}` : ''}.`;
}

function makePatch() {
  const format = Number(control('patch-format').value);
  if (!core._quorvane_make(format)) throw new Refusal(`${opened.modified.name}: ${said()}`);
  const made = take(slot.made);
  const name = `${stem(opened.modified.name)}.${['bps', 'ips', 'ups'][format]}`;
  offer(control('patch-download'), made, name);
  // The patch made is the one open now: to apply, or to save in a page.
  put(slot.patch, made);
  opened.patch = { file: new File([made], name), name, names: [] };
  wanted.sha1 = hashes(slot.rom).split('SHA-1 ')[1];
  return `Made ${name}, ${made.length} bytes, ready to download.`;
}

// A copy of this page with the open patch inside it, which asks a player
// for the game alone.
function savePatcher() {
  const patch = take(slot.patch);
  core._quorvane_patch();
  const [format, crc] = said().split('\n');
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
control('apply').addEventListener('click', () => work(async () => apply()));
control('make-patch').addEventListener('click', () => work(async () => makePatch()));
control('save-patcher').addEventListener('click', () => work(async () => savePatcher()));

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

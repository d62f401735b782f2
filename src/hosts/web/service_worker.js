// Keeps the whole site so that the game plays with no connection, one build
// at a time. Each build is a cache of its own, named by its version and
// filled from site.json (every file with its hash, make_site.py), each file
// checked against its hash as it comes. A page belongs to the build it was
// opened with, and every request of its is answered from that build's cache,
// so a page never mixes two builds' files; a build's cache goes once no page
// of it is left and a newer one is whole.
//
// A visit asks the server for site.json first: a new build is fetched from the
// network for that page (as on a first visit) and kept meanwhile for the next
// ones; with no answer (offline, or too slow), the newest build kept opens.

const VERSION = 'unsealed'; // the build's, written in by make_site.py
const PREFIX = 'kuzari-build-';
const NOTES = 'kuzari-notes'; // which build each page has, and the newest whole one
const NETWORK = 'network';    // a page that has no build kept: the network answers it
const SITE_TIMEOUT_MS = 3000;
const FETCHES_AT_ONCE = 6;
const ABANDONED_MS = 3600 * 1000; // a build half kept this long is given up
// A page being opened is not among the clients yet: its note stays this long
// (or until it is seen) whether it is among them or not.
const OPENING_MS = 60 * 1000;

const scope = () => self.registration.scope;
const note_url = name => new URL(`__kuzari/${name}`, scope()).href;
const pages = new Map(); // client id -> build, as in the notes
const opening = new Map(); // client id -> when its page was answered

async function read_note(name) {
    const response = await (await caches.open(NOTES)).match(note_url(name));
    return response ? response.text() : null;
}

async function write_note(name, text) {
    await (await caches.open(NOTES)).put(note_url(name), new Response(text));
}

async function fetch_site(timeout_ms) {
    const abort = new AbortController();
    const timer = setTimeout(() => abort.abort(), timeout_ms);
    try {
        const response = await fetch(new URL('site.json', scope()), { cache: 'no-store', signal: abort.signal });
        if (!response.ok) throw new Error(`site.json: HTTP ${response.status}`);
        return await response.json();
    } finally {
        clearTimeout(timer);
    }
}

// A file of the build: the HTTP cache's copy if it has the right hash, else
// the server's.
async function fetch_checked(path, integrity) {
    const url = new URL(path, scope());
    try {
        return await fetch(url, { integrity });
    } catch (_) {
        return fetch(url, { cache: 'reload', integrity });
    }
}

// Keeps a build whole: files another kept build has with the same hash are
// copied from it, the others fetched. Throws when a file does not come.
async function keep(site) {
    const cache = await caches.open(PREFIX + site.version);
    if (await cache.match(note_url('whole'))) return;
    await cache.put(note_url('started'), new Response(String(Date.now())));
    const newest = await read_note('newest');
    const old = newest && newest !== site.version ? await caches.open(PREFIX + newest) : null;
    const old_site = old ? await (await old.match(note_url('site')))?.json() : null;
    const queue = Object.entries(site.files);
    const worker = async () => {
        while (queue.length) {
            const [path, integrity] = queue.shift();
            const url = new URL(path, scope()).href;
            const same = old_site?.files[path] === integrity ? await old.match(url) : null;
            const response = same || await fetch_checked(path, integrity);
            if (!response.ok) throw new Error(`${path}: HTTP ${response.status}`);
            await cache.put(url, response);
        }
    };
    await Promise.all(Array.from({ length: FETCHES_AT_ONCE }, worker));
    await cache.put(note_url('site'), new Response(JSON.stringify(site)));
    await cache.put(note_url('whole'), new Response(String(Date.now())));
    await write_note('newest', site.version);
}

// Builds no open page has and that are not the newest whole one go, and so
// do the notes of pages since closed.
async function tidy() {
    const open = new Set((await self.clients.matchAll({ includeUncontrolled: true, type: 'all' })).map(c => c.id));
    const notes = await caches.open(NOTES);
    const kept = new Set([await read_note('newest')]);
    for (const request of await notes.keys()) {
        const id = decodeURIComponent(request.url.split('/__kuzari/page-')[1] ?? '');
        if (!id) continue;
        if (open.has(id)) opening.delete(id);
        if (open.has(id) || Date.now() - (opening.get(id) ?? 0) < OPENING_MS) {
            kept.add(await (await notes.match(request)).text());
        } else {
            await notes.delete(request);
            pages.delete(id);
        }
    }
    for (const name of await caches.keys()) {
        if (!name.startsWith(PREFIX) || kept.has(name.slice(PREFIX.length))) continue;
        const cache = await caches.open(name);
        const started = Number(await (await cache.match(note_url('started')))?.text() ?? 0);
        const whole = await cache.match(note_url('whole'));
        if (whole || Date.now() - started > ABANDONED_MS) {
            opened.delete(name.slice(PREFIX.length));
            await caches.delete(name);
        }
    }
}

async function page_build(id) {
    if (!pages.has(id)) pages.set(id, await read_note(`page-${encodeURIComponent(id)}`) ?? NETWORK);
    return pages.get(id);
}

async function set_page_build(id, build) {
    pages.set(id, build);
    opening.set(id, Date.now());
    await write_note(`page-${encodeURIComponent(id)}`, build);
}

async function open_page(event) {
    const newest = await read_note('newest');
    let site = null;
    try {
        site = await fetch_site(newest ? SITE_TIMEOUT_MS : 60000);
    } catch (_) { /* no answer: the newest build kept */ }
    let build = newest;
    if (site && site.version !== newest) {
        build = NETWORK; // this page from the network, the build kept for the next ones
        event.waitUntil(keep(site).then(tidy).catch(error => console.warn(`kuzari: not kept: ${error}`)));
    }
    if (!build) return fetch(event.request);
    const id = event.resultingClientId;
    if (id) await set_page_build(id, build);
    event.waitUntil(tidy());
    if (build === NETWORK) return fetch(event.request);
    return (await kept_copy(build, new Request(new URL('index.html', scope())))) || fetch(event.request);
}

// A build's copy of a file, by its address without the query (an exact key
// is found at once; ignoreSearch would go through every file kept).
const opened = new Map(); // build -> its Cache
async function kept_copy(build, request) {
    if (!opened.has(build)) opened.set(build, await caches.open(PREFIX + build));
    const url = new URL(request.url);
    url.search = '';
    return opened.get(build).match(url.href);
}

// A page's request from its build. A page of the network's (one opened before
// the worker came, or when a new build was found) from the network, and with
// no network from the newest build kept, which is its own or the one after.
async function answer(event) {
    const build = await page_build(event.clientId);
    if (build !== NETWORK) return (await kept_copy(build, event.request)) || fetch(event.request);
    try {
        return await fetch(event.request);
    } catch (error) {
        const newest = await read_note('newest');
        const kept = newest && await kept_copy(newest, event.request);
        if (kept) return kept;
        throw error;
    }
}

self.addEventListener('install', event => {
    self.skipWaiting();
    event.waitUntil(fetch_site(60000).then(keep));
});

self.addEventListener('activate', event => {
    event.waitUntil(self.clients.claim().then(tidy));
});

self.addEventListener('fetch', event => {
    const request = event.request;
    if (request.method !== 'GET' || !request.url.startsWith(scope())) return;
    const path = new URL(request.url).pathname.slice(new URL(scope()).pathname.length);
    if (request.mode === 'navigate') {
        if (path === '' || path === 'index.html') event.respondWith(open_page(event));
        return;
    }
    if (path === 'site.json' || path === 'service_worker.js') return;
    event.respondWith(answer(event));
});

// page_test.mjs -- the browser test: Debian's Chromium, headless, drives the
// page built in build-web/ (served here on 127.0.0.1) and compares it with the
// same game under the headless display (web_reference). Run by run.sh:
//   node page_test.mjs <build-web> <web_reference> <source root> [--measure]
// Checks, in one browser with a fresh profile:
//  - the start-up time against the empty page (reported, at most 2 s);
//  - the best-score route (pilot=best, clock=1000) keeps the same best score
//    as the headless run, byte for byte, and it survives a reload;
//  - the menu at rest equals the headless menu pixel for pixel, at 32 bits and
//    (through a setup.dat put in the browser's storage) at 16;
//  - S on the menu offers screenshot1.bmp as a download;
//  - the page makes the shipped sound files, and sound flows after a key;
//  - Enter on LAUNCH shows the first briefing, then play with the kept best
//    score in its corner; arrows and Space do not scroll the page; Esc then
//    Y returns to the menu;
//  - nothing is reported on the console as an error.
// --measure adds the sizes and the speed at TURBO (not part of the test run);
// --measure-only gives the start-up time and those figures without the checks.
import {execFileSync} from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import zlib from 'node:zlib';
import puppeteer from 'puppeteer-core';

const [pageDir, referenceTool, sourceRoot] = process.argv.slice(2);
const measureOnly = process.argv.includes('--measure-only');
const measure = measureOnly || process.argv.includes('--measure');
const port = Number(process.env.HALVANE_WEB_PORT || 8725);
const origin = `http://127.0.0.1:${port}/`;
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'halvane-web-'));
const sleep = (ms) => new Promise((wake) => setTimeout(wake, ms));

let passed = 0;
let failed = 0;
function check(ok, what, detail = '') {
    if (ok) passed++;
    else failed++;
    console.log(`${ok ? 'ok' : 'FAILED'}: ${what}${detail ? ` (${detail})` : ''}`);
}

// --- The reference: the headless game in folders of its own -----------------

function referenceFolder(name, depth) {
    const folder = path.join(work, name);
    fs.mkdirSync(path.join(folder, 'Data'), {recursive: true});
    for (let level = 1; level <= 5; level++) {
        fs.copyFileSync(path.join(sourceRoot, 'Data', `level${level}.dat`),
                        path.join(folder, 'Data', `level${level}.dat`));
    }
    fs.writeFileSync(path.join(folder, 'Data', 'setup.dat'), `0,0,${depth}\r\n`);
    fs.symlinkSync(path.join(sourceRoot, 'Graphics'), path.join(folder, 'Graphics'));
    return folder;
}

function runReference(folder, ...args) {
    return execFileSync(referenceTool, args, {cwd: folder, encoding: 'utf8'});
}

// The canvas's bytes (R, G, B, A) that a raw page of the game should give.
function canvasBytesOf(raw) {
    const depth = raw.length / (640 * 480);
    const out = Buffer.alloc(640 * 480 * 4);
    for (let i = 0; i < 640 * 480; i++) {
        let r, g, b;
        if (depth === 4) {
            b = raw[4 * i];
            g = raw[4 * i + 1];
            r = raw[4 * i + 2];
        } else {
            const p = raw[2 * i] | (raw[2 * i + 1] << 8);
            const r5 = p >> 11, g6 = (p >> 5) & 63, b5 = p & 31;
            r = (r5 << 3) | (r5 >> 2);
            g = (g6 << 2) | (g6 >> 4);
            b = (b5 << 3) | (b5 >> 2);
        }
        out[4 * i] = r;
        out[4 * i + 1] = g;
        out[4 * i + 2] = b;
        out[4 * i + 3] = 255;
    }
    return out;
}

function differingPixels(a, b, box = [0, 0, 639, 479]) {
    let count = 0;
    for (let y = box[1]; y <= box[3]; y++) {
        for (let x = box[0]; x <= box[2]; x++) {
            const i = 4 * (y * 640 + x);
            if (a[i] !== b[i] || a[i + 1] !== b[i + 1] || a[i + 2] !== b[i + 2]) count++;
        }
    }
    return count;
}

// --- The server ---------------------------------------------------------

const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
               '.data': 'application/octet-stream'};
const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, origin).pathname).replace(/^\/+/, '') ||
                 'index.html';
    const file = path.join(pageDir, path.normalize(name));
    if (!file.startsWith(path.resolve(pageDir)) || !fs.existsSync(file) ||
        !fs.statSync(file).isFile()) {
        response.writeHead(404).end();
        return;
    }
    // Cross-origin isolated, as tools/serve_web.py serves it: the browser's
    // clock then has its full resolution.
    response.writeHead(200, {'Content-Type': types[path.extname(file)] || 'application/octet-stream',
                             'Cache-Control': 'no-store',
                             'Cross-Origin-Opener-Policy': 'same-origin',
                             'Cross-Origin-Embedder-Policy': 'require-corp'});
    fs.createReadStream(file).pipe(response);
});
await new Promise((ready) => server.listen(port, '127.0.0.1', ready));

// --- The browser ------------------------------------------------------------

const browser = await puppeteer.launch({
    executablePath: process.env.HALVANE_CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync',
           `--user-data-dir=${path.join(work, 'profile')}`],
});
const page = await browser.newPage();
await page.setViewport({width: 1280, height: 1000});
const problems = [];
page.on('console', (m) => {
    if (m.type() === 'error') problems.push(`console: ${m.text()}`);
});
page.on('pageerror', (e) => problems.push(`page error: ${e.message}`));
page.on('requestfailed', (r) => problems.push(`request failed: ${r.url()}`));
const downloads = path.join(work, 'downloads');
fs.mkdirSync(downloads);
const cdp = await page.createCDPSession();
await cdp.send('Browser.setDownloadBehavior', {behavior: 'allow', downloadPath: downloads});

async function open(query = '') {
    await page.goto(origin + query, {waitUntil: 'load'});
    await page.waitForFunction(() => window.HalvanePage && HalvanePage.stats.firstPut >= 0,
                               {timeout: 30000});
}

async function canvasBytes() {
    const text = await page.evaluate(() => {
        const data = HalvanePage.context.getImageData(0, 0, 640, 480).data;
        let s = '';
        for (let i = 0; i < data.length; i += 0x8000) {
            s += String.fromCharCode.apply(null, data.subarray(i, i + 0x8000));
        }
        return btoa(s);
    });
    return Buffer.from(text, 'base64');
}

// Waits until the canvas shows `expected` within `box` (true), or gives up
// after `ms` and returns the smallest difference seen.
async function waitForPicture(expected, ms, box) {
    const until = Date.now() + ms;
    let best = Infinity;
    while (Date.now() < until) {
        const diff = differingPixels(await canvasBytes(), expected, box);
        best = Math.min(best, diff);
        if (diff === 0) return 0;
        await sleep(250);
    }
    return best;
}

// Waits until most of the canvas (all but `spare` of its pixels) equals
// `expected`: a screen whose text or scene moves on the same picture.
async function waitForScreen(expected, spare, ms) {
    const until = Date.now() + ms;
    let best = Infinity;
    while (Date.now() < until) {
        const diff = differingPixels(await canvasBytes(), expected);
        best = Math.min(best, diff);
        if (diff <= spare) return diff;
        await sleep(200);
    }
    return best;
}

async function tap(key, held = 150) {
    await page.keyboard.down(key);
    await sleep(held);
    await page.keyboard.up(key);
}

async function readGameFile(name) {
    return page.evaluate((n) => {
        try {
            return Array.from(FS.readFile(n));
        } catch (e) {
            return null;
        }
    }, name);
}

async function writeSaved(name, text) {
    await page.evaluate((n, t) => new Promise((done, fail) => {
        if (t === null) FS.unlink('/saved/' + n);
        else FS.writeFile('/saved/' + n, t);
        FS.syncfs(false, (error) => (error ? fail(String(error)) : done()));
    }), name, text);
}

try {
    // The reference pages and the route's best score, from the headless game.
    const ref32 = referenceFolder('ref32', 32);
    runReference(ref32, 'route', '1000');
    const nativeBest = fs.readFileSync(path.join(ref32, 'Data', 'hs.dat'));
    fs.mkdirSync(path.join(ref32, 'pages'));
    runReference(ref32, 'pages', 'pages');
    const ref16 = referenceFolder('ref16', 16);
    fs.mkdirSync(path.join(ref16, 'pages'));
    runReference(ref16, 'pages', 'pages');
    const expected = (folder, name) =>
        canvasBytesOf(fs.readFileSync(path.join(folder, 'pages', `${name}.raw`)));
    const menu32 = expected(ref32, 'menu');
    const briefing32 = expected(ref32, 'briefing');
    const play32 = expected(ref32, 'play');
    const menu16 = expected(ref16, 'menu');

    // Start-up: navigation to the first page in the canvas, against the empty
    // page's navigation to its program running; the best of three each.
    const floorTimes = [];
    const gameTimes = [];
    for (let i = 0; i < 3; i++) {
        await page.goto(origin + 'floor.html', {waitUntil: 'load'});
        await page.waitForFunction(() => window.floorStarted !== undefined, {timeout: 30000});
        floorTimes.push(await page.evaluate(() => window.floorStarted));
        await open();
        gameTimes.push(await page.evaluate(() => HalvanePage.stats.firstPut));
    }
    const firstFrame = Math.min(...gameTimes);
    check(firstFrame <= 2000, 'navigation to the first menu frame within 2 s',
          `${gameTimes.map((t) => t.toFixed(0)).join(', ')} ms; empty page ` +
              `${floorTimes.map((t) => t.toFixed(0)).join(', ')} ms`);

    if (!measureOnly) {
        // The best-score route, then a reload that finds the score kept.
        await open('?pilot=best&clock=1000');
        await page.waitForFunction(() => HalvanePage.stats.kept >= 1, {timeout: 90000});
        const kept = Buffer.from(await readGameFile('/saved/hs.dat') || []);
        check(kept.equals(nativeBest), 'the route keeps the headless run\'s best score',
              `browser ${JSON.stringify([...kept])}, headless ${JSON.stringify([...nativeBest])}`);
        await open();
        const restored = Buffer.from(await readGameFile('/game/Data/hs.dat') || []);
        check(restored.equals(nativeBest), 'the best score survives a reload');

        // The menu at rest, pixel for pixel.
        const menuDiff = await waitForPicture(menu32, 12000);
        check(menuDiff === 0, 'the menu at 32 bits equals the headless menu',
              `${menuDiff} pixels differ`);

        // S offers the screenshot as a download. It is the page's first key press,
        // which also starts the sound, and is let go at once: a press and its
        // release that reach the game together are still seen.
        await tap('KeyS', 0);
        let shot = null;
        for (let i = 0; i < 100 && shot === null; i++) {
            await sleep(100);
            const file = path.join(downloads, 'screenshot1.bmp');
            if (fs.existsSync(file) && fs.statSync(file).size > 54) shot = fs.readFileSync(file);
        }
        check(shot !== null && shot.toString('latin1', 0, 2) === 'BM' && shot.readInt32LE(18) === 640,
              'S offers screenshot1.bmp, a 640-pixel-wide picture, as a download',
              shot === null ? `downloads: ${fs.readdirSync(downloads).join(', ')}; page folder: ` +
                  (await page.evaluate(() => FS.readdir('/game').join(', '))) : '');

        // A press and its release queued together (a busy page hands them to
        // the game in one take) still reach the menu's check: screenshot2.bmp.
        await page.evaluate(() => {
            for (const type of ['keydown', 'keyup']) {
                window.dispatchEvent(new KeyboardEvent(type, {code: 'KeyS', key: 's'}));
            }
        });
        let shot2 = false;
        for (let i = 0; i < 50 && !shot2; i++) {
            await sleep(100);
            shot2 = fs.existsSync(path.join(downloads, 'screenshot2.bmp'));
        }
        check(shot2, 'a press let go in the same moment is seen (screenshot2.bmp)',
              `downloads: ${fs.readdirSync(downloads).join(', ')}`);

        // The sounds, made in the page by the sound tool, are the shipped ones;
        // the key press started them (the menu tune plays).
        await page.waitForFunction(() => HalvanePage.soundsMade, {timeout: 30000});
        const soundNames = fs.readdirSync(path.join(sourceRoot, 'Sound')).filter((n) => n.endsWith('.wav'));
        const unlike = [];
        for (const name of soundNames) {
            const made = Buffer.from(await readGameFile('/game/Sound/' + name) || []);
            if (!made.equals(fs.readFileSync(path.join(sourceRoot, 'Sound', name)))) unlike.push(name);
        }
        check(soundNames.length === 18 && unlike.length === 0,
              'the page makes the 18 shipped sound files byte for byte', `unlike: ${unlike.join(', ')}`);
        let sound = {};
        for (let i = 0; i < 50 && !(sound.audible > 20 && sound.state === 'running'); i++) {
            await sleep(100);
            sound = await page.evaluate(() => ({
                audible: HalvanePage.stats.audibleBuffers,
                state: typeof AL !== 'undefined' && AL.currentCtx ? AL.currentCtx.audioCtx.state : 'none'}));
        }
        check(sound.audible > 20 && sound.state === 'running',
              'after the first key press the menu tune goes to Web Audio',
              `${sound.audible} buffers with sound, audio ${sound.state}`);

        // LAUNCH: the first briefing, then play.
        await tap('Enter');
        const briefingDiff = await waitForScreen(briefing32, 640 * 480 * 0.2, 15000);
        check(briefingDiff <= 640 * 480 * 0.2, 'Enter on LAUNCH shows the first briefing',
              `${briefingDiff} pixels differ from the headless briefing`);
        // The briefing takes a confirm from its second step on.
        await sleep(1500);
        await tap('Enter');
        const playDiff = await waitForScreen(play32, 640 * 480 * 0.5, 15000);
        check(playDiff <= 640 * 480 * 0.5, 'the briefing gives way to play',
              `${playDiff} pixels differ from a headless frame of play`);
        // The corner with the best score, as the headless game (which took the
        // same route) shows it.
        const corner = [500, 0, 639, 24];
        const cornerDiff = await waitForPicture(play32, 5000, corner);
        check(cornerDiff === 0, 'play shows the kept best score', `${cornerDiff} pixels differ`);

        // The game's keys never scroll the page, though it could scroll.
        await page.evaluate(() => {
            document.body.style.height = '5000px';
            window.scrollTo(0, 0);
        });
        const scrollable = await page.evaluate(() => {
            window.scrollBy(0, 50);
            const moved = window.scrollY > 0;
            window.scrollTo(0, 0);
            return moved;
        });
        for (const key of ['ArrowDown', 'Space', 'ArrowDown', 'PageDown', 'ArrowRight']) await tap(key, 60);
        await sleep(300);
        const scrolled = await page.evaluate(() => window.scrollY);
        await page.evaluate(() => (document.body.style.height = ''));
        check(scrollable && scrolled === 0, 'arrows, Space and Page Down do not scroll the page',
              `scrollable ${scrollable}, scrolled to ${scrolled}`);

        // Esc, then Y: back to the menu.
        await tap('Escape');
        await sleep(1500);
        await tap('KeyY');
        const backDiff = await waitForPicture(menu32, 15000);
        check(backDiff === 0, 'Esc then Y returns to the menu', `${backDiff} pixels differ`);

        // 16 bits, through a setup.dat in the browser's storage.
        await writeSaved('setup.dat', '0,0,16\r\n');
        await open();
        const menu16Diff = await waitForPicture(menu16, 12000);
        check(menu16Diff === 0, 'the menu at 16 bits equals the headless menu',
              `${menu16Diff} pixels differ`);
        await writeSaved('setup.dat', null);
    }

    if (measure) await measureTargets();
    check(problems.length === 0, 'nothing reported on the console as an error',
          problems.join('; '));
} catch (error) {
    check(false, 'the browser test ran to its end', String(error && error.stack || error));
} finally {
    await browser.close();
    server.close();
    fs.rmSync(work, {recursive: true, force: true});
}

// --- Figures (--measure) ------------------------------------------------

async function measureTargets() {
    // What the page loads, raw and gzipped.
    let raw = 0;
    let packed = 0;
    for (const name of ['index.html', 'halvane.js', 'halvane.wasm', 'halvane.data',
                        'sounds_worker.js', 'halvane_sounds.js', 'halvane_sounds.wasm']) {
        const bytes = fs.readFileSync(path.join(pageDir, name));
        const gz = zlib.gzipSync(bytes, {level: 9}).length;
        raw += bytes.length;
        packed += gz;
        console.log(`size: ${name} ${bytes.length} bytes, ${gz} gzipped`);
    }
    console.log(`size: all ${raw} bytes, ${packed} gzipped`);

    // TURBO with the automatic pilot: frames a second, and the game's own
    // work per frame (the program's frame meter: from each paced wait's end
    // to the next one's start, less the page's puts, the sound's mixing and
    // yields) over 1000 frames of play after the first 100.
    await open('?pilot=turbo&clock=1000');
    // A key the pilot does not use starts the sound, as a player's would.
    await tap('KeyQ');
    await page.waitForFunction(() => HalvanePage.stats.puts > 400, {timeout: 60000});
    const sample = () => page.evaluate(() => {
        const s = HalvanePage.stats;
        const work = HalvanePage.frameWork();
        return {puts: s.puts, work: work.ms, workFrames: work.frames, upload: s.uploadMs,
                sound: s.soundMs, at: performance.now(), times: s.putTimes.length};
    });
    // Play at TURBO has begun once the F read-out counts more than 40 frames
    // a second (the menu's presents come as fast, but the read-out counts
    // frames of play only). A pilot whose menu keys were missed on a busy
    // machine plays at another speed: that is said, not measured.
    try {
        await page.waitForFunction(() => HalvanePage.fpsReadout() > 40, {timeout: 60000});
    } catch (error) {
        const shown = await page.evaluate(() => HalvanePage.fpsReadout());
        console.log(`speed: not measured: the pilot did not reach TURBO (F read-out ${shown})`);
        return;
    }
    await sleep(100 * 1000 / 45);
    let from = await sample();
    let to = from;
    const readouts = new Map();
    while (to.puts - from.puts < 1000) {
        await sleep(500);
        to = await sample();
        const shown = await page.evaluate(() => HalvanePage.fpsReadout());
        readouts.set(shown, (readouts.get(shown) || 0) + 1);
    }
    const frames = to.puts - from.puts;
    const fps = (frames * 1000) / (to.at - from.at);
    const workMs = (to.work - from.work) / (to.workFrames - from.workFrames);
    const uploadMs = (to.upload - from.upload) / frames;
    const soundMs = (to.sound - from.sound) / frames;
    const times = await page.evaluate((a, b) => HalvanePage.stats.putTimes.slice(a, b),
                                      from.times, to.times);
    const periods = times.slice(1).map((t, i) => t - times[i]).sort((a, b) => a - b);
    const median = periods[Math.floor(periods.length / 2)];
    const late = periods.filter((p) => p > 1000 / 45 + 2).length;
    const native = runReference(referenceFolder('work', 32), 'work', '1000');
    console.log(`speed: ${frames} frames at ${fps.toFixed(2)} frames a second (median period ` +
                `${median.toFixed(2)} ms, ${late} periods over ${(1000 / 45 + 2).toFixed(1)} ms); ` +
                `browser work ${workMs.toFixed(3)} ms a frame over ${to.workFrames - from.workFrames} ` +
                `frames (besides ${uploadMs.toFixed(3)} ms ` +
                `putting the page into the canvas, ${soundMs.toFixed(3)} ms mixing sound); ` +
                `${native.trim()}`);
    const nativeMs = Number((/native work ([0-9.]+) ms/.exec(native) || [])[1]);
    const isolated = await page.evaluate(() => crossOriginIsolated);
    console.log(`speed: browser work / native work = ${(workMs / nativeMs).toFixed(2)} ` +
                `(page cross-origin isolated: ${isolated})`);
    console.log(`speed: the F read-out showed ${[...readouts].sort((a, b) => b[1] - a[1])
        .map(([fps, n]) => `${fps} ${n} times`).join(', ')} (every half second)`);
}

console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);

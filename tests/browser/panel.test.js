// Flies the served panel in headless Chromium as pilots would, one check a
// run (so ctest runs them side by side):
//   flight    the battery master wakes the bus, a radio knob tunes, a
//             sub-window opens and closes, the hand cursor and a tooltip show
//             over a switch, the sound is unlocked by a click
//   pixels    the page's canvas against the server's PNG of the same frame,
//             every open window, in the three scenarios
//   viewers   two pages with different windows, each in its own address
//   touch     a finger drags a power lever to its stop in one fast flick
//   wheel     the wheel on a knob tunes the radio
//   banner    the server goes away and comes back: the page says both
// The page must log no error.
//   node panel.test.js PATH/TO/z480-panel OUTDIR CHECK
'use strict';

const { spawn } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { chromium } = require('playwright-core');

const [program, outdir, check] = process.argv.slice(2);
const CHECKS = { flight, pixels, viewers, touch, wheel, banner };
if (!program || !outdir || !CHECKS[check]) {
  console.error('usage: node panel.test.js Z480_PANEL OUTDIR ' + Object.keys(CHECKS).join('|'));
  process.exit(2);
}

function start_server(args = []) {
  const server = spawn(program, ['serve', '--port', '0', ...args], { stdio: ['ignore', 'pipe', 'inherit'] });
  return new Promise((resolve, reject) => {
    let out = '';
    server.stdout.on('data', (d) => {
      out += d;
      const m = out.match(/http:\/\/localhost:(\d+)\//);
      if (m) resolve({ server, url: m[0], port: Number(m[1]) });
    });
    server.on('exit', (code) => reject(new Error('the server stopped: ' + code)));
  });
}

function stop_server(server) {
  return new Promise((resolve) => {
    if (server.exitCode !== null) return resolve();
    server.on('exit', resolve);
    server.kill('SIGTERM');
  });
}

async function until(what, test, ms = 8000) {
  const end = Date.now() + ms;
  for (;;) {
    const value = await test();
    if (value) return value;
    if (Date.now() > end) throw new Error('timed out waiting for ' + what);
    await new Promise((r) => setTimeout(r, 50));
  }
}

// A page of the panel, with what the checks ask of it.
async function open_page(context, url, errors) {
  const page = await context.newPage();
  page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text() + ' ' + (m.location().url || '')); });
  page.on('pageerror', (e) => errors.push(e.message));
  await page.goto(url);
  await until('the first frame', () => page.evaluate(() => window.z480 && z480.stats().draws > 0));
  const p = {
    page,
    token: async (t) => (await (await page.request.get(new URL('/api/token?token=' + t, url).toString())).json()).value,
    windows: () => page.evaluate(() => z480.windows()),
    elements: (alias) => page.evaluate((a) => z480.elements(a), alias),
    at: (alias, x, y) => page.evaluate(([a, x, y]) => z480.at(a, x, y), [alias, x, y]),
    async click(alias, x, y, button = 'left') {
      const q = await until(alias + ' on the page', () => p.at(alias, x, y));
      await page.mouse.click(q.x, q.y, { button });
    },
    async toggle(alias) {
      // The toggles' click rectangle lies at 3, 3, 13, 13.
      await p.click(alias, 9, 9);
    },
  };
  return p;
}

async function flight({ context, url, errors }) {
  const p = await open_page(context, url, errors);
  const { page } = p;
  // The overhead panel opens from its hot spot; the battery master powers the bus.
  await p.toggle('Overhead_Toggle');
  await until('the overhead panel', async () => (await p.windows()).includes(250));
  const voltmeter = await until('the voltmeter', async () => JSON.parse(await p.elements('Voltmeter_DC')) && p.elements('Voltmeter_DC'));
  if (await p.token(364) !== 0) throw new Error('the battery starts on');
  // Over the switch the cursor is the hand, and the tooltip names it.
  const q = await p.at('Master_Battery_Switch', 20, 30);
  await page.mouse.move(q.x, q.y);
  await until('the hand cursor', () => page.$eval('.window[data-ident="250"] canvas', (c) => c.style.cursor === 'pointer'));
  await until('the tooltip', () => page.$eval('#tip', (t) => !t.hidden && t.textContent === 'Battery master switch'));
  await p.click('Master_Battery_Switch', 20, 30);
  await until('the battery on', async () => await p.token(364) === 1);
  await until('the DC voltmeter up', async () => await p.elements('Voltmeter_DC') !== voltmeter);
  if (!await page.evaluate(() => z480.sound())) throw new Error('a click did not unlock the sound');
  await p.click('Left_Converter_Switch', 20, 30);
  await until('the converter-fed bus', async () => await p.token(755) > 20);

  // The radio stack: NAV/COM 1 on, the COM whole-megahertz knob one step up.
  await p.toggle('Radios_Toggle');
  await until('the radio stack', async () => (await p.windows()).includes(50));
  await p.click('Z480_NAV_COM_1', 50, 85);
  const com = await p.token(23);
  await p.click('Z480_NAV_COM_1', 170, 120);
  await until('COM 1 retuned', async () => await p.token(23) !== com);

  // A sub-window opens from the main panel and closes from its own spot;
  // the keyboard reaches its controls.
  await p.toggle('Compass_Toggle');
  await until('the compass window', async () => (await p.windows()).includes(75));
  const close = await page.evaluate(() => z480.gauges().find((g) => g.window === 75 && g.alias.startsWith('Close_Subpanel')).alias);
  await page.focus(`.window[data-ident="75"] .keys button[data-gauge="${close}"]`);
  await page.keyboard.press('Enter');
  await until('the compass window closed', async () => !(await p.windows()).includes(75));
  // The address remembers the windows.
  const hash = await page.evaluate(() => location.hash);
  if (!/windows=0,(250,50|50,250)/.test(decodeURIComponent(hash))) throw new Error('the address does not hold the windows: ' + hash);
  await page.screenshot({ path: path.join(outdir, 'browser-flight.png') });
}

// Differences the two libraries' filtering and text leave: a pixel counts as
// different past this much in any channel, and no gauge may have more of
// its pixels different than this share (the two differ by at most 0.6 % of
// a gauge, in its text). A needle turned 3 degrees off (2 % and more),
// a lamp lit or dark, a text not drawn: each exceeds it.
const PIXEL_TOLERANCE = 48, GAUGE_SHARE = 0.015, WINDOW_SHARE = 0.004;

async function compare(page, ident) {
  return page.evaluate(async ([ident, tolerance]) => {
    const mine = await z480.picture(ident);
    const response = await fetch('/api/picture?window=' + ident);
    if (!response.ok) return { error: 'no server picture: ' + response.status };
    const image = await createImageBitmap(await response.blob(), { colorSpaceConversion: 'none', premultiplyAlpha: 'none' });
    if (image.width !== mine.width || image.height !== mine.height) {
      return { error: 'sizes differ: page ' + mine.width + 'x' + mine.height + ', server ' + image.width + 'x' + image.height };
    }
    const theirs = document.createElement('canvas');
    theirs.width = image.width;
    theirs.height = image.height;
    theirs.getContext('2d').drawImage(image, 0, 0);
    const a = mine.getContext('2d').getImageData(0, 0, mine.width, mine.height).data;
    const b = theirs.getContext('2d').getImageData(0, 0, mine.width, mine.height).data;
    const w = mine.width;
    const off = new Uint8Array(w * mine.height);
    let count = 0, sum = 0;
    for (let i = 0, n = 0; i < a.length; i += 4, n++) {
      const d = Math.max(Math.abs(a[i] - b[i]), Math.abs(a[i + 1] - b[i + 1]), Math.abs(a[i + 2] - b[i + 2]));
      sum += d;
      if (d > tolerance) { off[n] = 1; count++; }
    }
    const gauges = [];
    for (const g of z480.gauges().filter((q) => q.window === ident)) {
      let n = 0, k = 0;
      for (let y = Math.floor(g.y); y < Math.ceil(g.y + g.h); y++)
        for (let x = Math.floor(g.x); x < Math.ceil(g.x + g.w); x++) { n++; k += off[y * w + x]; }
      gauges.push({ alias: g.alias, share: n ? k / n : 0 });
    }
    gauges.sort((p, q) => q.share - p.share);
    return { share: count / off.length, mean: sum / off.length, worst: gauges.slice(0, 3) };
  }, [ident, PIXEL_TOLERANCE]);
}

async function pixels({ context, url, errors }) {
  const p = await open_page(context, url + '#windows=0,50,10,250,75,175,225', errors);
  const { page } = p;
  await page.setViewportSize({ width: 1200, height: 700 });
  const report = [];
  for (const scenario of ['cold', 'ready', 'approach']) {
    await page.evaluate((name) => fetch('/api/scenario', { method: 'POST', body: new URLSearchParams({ name }) }), scenario);
    await page.evaluate(() => fetch('/api/sim', { method: 'POST', body: new URLSearchParams({ paused: 1 }) }));
    await until('the ' + scenario + ' panel', () => page.evaluate((s) => document.querySelector(`button[data-scenario="${s}"]`).className === 'on', scenario));
    // Paused, the frames stop changing: wait until the page has them all.
    await page.waitForTimeout(600);
    for (const ident of await p.windows()) {
      const r = await compare(page, ident);
      if (r.error) throw new Error(scenario + ' window ' + ident + ': ' + r.error);
      const line = `${scenario} window ${ident}: ${(100 * r.share).toFixed(3)} % of pixels differ by more than ${PIXEL_TOLERANCE}, ` +
        `mean ${r.mean.toFixed(2)}; most in ${r.worst.map((g) => g.alias + ' ' + (100 * g.share).toFixed(2) + ' %').join(', ')}`;
      report.push(line);
      if (r.share > WINDOW_SHARE || (r.worst[0] && r.worst[0].share > GAUGE_SHARE)) throw new Error('the page draws otherwise than the server: ' + line);
    }
    await page.evaluate(() => fetch('/api/sim', { method: 'POST', body: new URLSearchParams({ paused: 0 }) }));
  }
  console.log(report.join('\n'));
}

async function viewers({ context, url, errors }) {
  const tablet = await open_page(context, url + '#windows=50', errors);
  const desk = await open_page(context, url, errors);
  await until('the tablet on the radio stack alone', async () => JSON.stringify(await tablet.windows()) === '[50]');
  if (JSON.stringify(await desk.windows()) !== '[0]') throw new Error('the desk page opened with ' + await desk.windows());
  // The desk opens the overhead: the tablet keeps its radio stack alone.
  await desk.toggle('Overhead_Toggle');
  await until('the overhead on the desk', async () => (await desk.windows()).includes(250));
  await tablet.page.waitForTimeout(300);
  if (JSON.stringify(await tablet.windows()) !== '[50]') throw new Error('the tablet now shows ' + await tablet.windows());
  // The radio stack fills the tablet's screen.
  const box = await tablet.page.$eval('.window[data-ident="50"]', (e) => e.getBoundingClientRect().toJSON());
  const screen = await tablet.page.$eval('#screen-box', (e) => e.getBoundingClientRect().toJSON());
  if (Math.max(box.width / screen.width, box.height / screen.height) < 0.98) throw new Error('the radio stack does not fill the tablet');
  // Both draw what they show: the tablet its radios, the desk its panel.
  if (!JSON.parse(await tablet.elements('Z480_NAV_COM_1'))) throw new Error('the tablet has no radio to draw');
  if (JSON.parse(await desk.elements('Z480_NAV_COM_1'))) throw new Error('the desk holds a window it does not show');
  // The desk's sub-window moves by its title bar and is remembered there.
  const title = await desk.page.$eval('.window[data-ident="250"] .title', (e) => e.getBoundingClientRect().toJSON());
  await desk.page.mouse.move(title.x + 40, title.y + 8);
  await desk.page.mouse.down();
  await desk.page.mouse.move(title.x + 140, title.y + 108, { steps: 5 });
  await desk.page.mouse.up();
  const hash = decodeURIComponent(await desk.page.evaluate(() => location.hash));
  if (!/at=250:/.test(hash)) throw new Error('the moved window is not in the address: ' + hash);
  // A 16:9 screen shows the whole main panel without scrolling.
  await desk.page.setViewportSize({ width: 1920, height: 1080 });
  await desk.page.waitForTimeout(200);
  const main = await desk.page.$eval('.window[data-ident="0"]', (e) => e.getBoundingClientRect().toJSON());
  const deskScreen = await desk.page.$eval('#screen-box', (e) => e.getBoundingClientRect().toJSON());
  if (main.x < deskScreen.x - 1 || main.y < deskScreen.y - 1 || main.right > deskScreen.right + 1 || main.bottom > deskScreen.bottom + 1)
    throw new Error('the main panel leaves the screen: ' + JSON.stringify(main));
}

async function touch({ browser, url, errors }) {
  // A tablet: 820 x 1180 CSS pixels at two device pixels each.
  const context = await browser.newContext({ viewport: { width: 820, height: 1180 }, deviceScaleFactor: 2, hasTouch: true, isMobile: true });
  try {
    const p = await open_page(context, url + '#windows=10', errors);
    const { page } = p;
    // The quadrant is drawn at the screen's own pixels, not stretched.
    const face = await page.$eval('.window[data-ident="10"] canvas.face',
                                  (c) => ({ w: c.width, css: c.getBoundingClientRect().width }));
    if (Math.abs(face.w - 2 * face.css) > 1) throw new Error('the quadrant is not drawn at the device pixels: ' + JSON.stringify(face));
    const before = await p.token(558);
    // One finger from the lever at idle up past the top of the quadrant,
    // in a few big steps: the lever still ends at full power.
    const from = await p.at('Throttle_Levers', 39, 190);
    const to = await p.at('Throttle_Levers', 39, -400);
    const cdp = await context.newCDPSession(page);
    const touchAt = (type, q) => cdp.send('Input.dispatchTouchEvent', { type, touchPoints: q ? [{ x: q.x, y: q.y, id: 1 }] : [] });
    await touchAt('touchStart', from);
    for (let i = 1; i <= 3; i++) await touchAt('touchMove', { x: from.x, y: from.y + (to.y - from.y) * i / 3 });
    await touchAt('touchEnd', null);
    await until('the lever at full power', async () => await p.token(558) >= 0.99);
    if (before > 0.5) throw new Error('the lever started above half power: ' + before);
  } finally {
    await context.close();
  }
}

async function wheel({ context, url, errors }) {
  const p = await open_page(context, url + '#windows=0,50', errors);
  const { page } = p;
  await p.click('Z480_NAV_COM_1', 50, 85);  // power on
  const com = await p.token(23);
  const knob = await p.at('Z480_NAV_COM_1', 170, 120);
  await page.mouse.move(knob.x, knob.y);
  await page.mouse.wheel(0, -120);
  await until('COM 1 tuned by the wheel', async () => await p.token(23) !== com);
  // The wheel off the controls zooms the panel instead.
  const panel = await p.at('Airspeed', 5, 5);
  await page.mouse.move(panel.x, panel.y);
  await page.mouse.wheel(0, -300);
  await until('the panel zoomed', async () => /zoom=/.test(await page.evaluate(() => location.hash)));
}

async function banner({ context, url, errors, server, port }) {
  const p = await open_page(context, url, errors);
  await stop_server(server);
  await until('the lost-connection banner', async () => /lost/.test(await p.page.evaluate(() => z480.banner())));
  const again = spawn(program, ['serve', '--port', String(port)], { stdio: ['ignore', 'ignore', 'inherit'] });
  try {
    await until('the banner saying it is back', async () => /again/.test(await p.page.evaluate(() => z480.banner())), 15000);
    await until('frames again', () => p.page.evaluate(() => z480.connected()));
  } finally {
    await stop_server(again);
  }
  // A lost connection logs an error of its own in the browser: not the page's.
  for (let i = errors.length - 1; i >= 0; i--) if (/WebSocket|ERR_CONNECTION_REFUSED/.test(errors[i])) errors.splice(i, 1);
}

async function main() {
  fs.mkdirSync(outdir, { recursive: true });
  const { server, url, port } = await start_server();
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'z480-chromium-'));
  const browser = await chromium.launch({
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--autoplay-policy=user-gesture-required',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  const context = await browser.newContext({ viewport: { width: 1400, height: 900 } });
  const errors = [];
  try {
    await CHECKS[check]({ browser, context, url, errors, server, port });
  } catch (e) {
    for (const page of context.pages()) await page.screenshot({ path: path.join(outdir, 'browser-' + check + '-failed.png') }).catch(() => {});
    throw e;
  } finally {
    await browser.close();
    await stop_server(server);
    fs.rmSync(profile, { recursive: true, force: true });
  }
  if (errors.length) throw new Error('the page logged errors:\n' + errors.join('\n'));
  console.log('browser check ' + check + ' passed');
}

main().catch((e) => {
  console.error(e.stack || String(e));
  process.exit(1);
});

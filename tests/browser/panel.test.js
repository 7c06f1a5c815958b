// Flies the served panel in headless Chromium as a pilot would: the battery
// master wakes the bus-powered indications, a radio knob tunes, a
// sub-window opens and closes, the hand cursor shows over a switch; the
// page logs no error. Saves a screenshot.
//   node panel.test.js PATH/TO/z480-panel SCREENSHOT.png
'use strict';

const { spawn } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { chromium } = require('playwright-core');

const [program, screenshot] = process.argv.slice(2);
if (!program || !screenshot) {
  console.error('usage: node panel.test.js Z480_PANEL SCREENSHOT.png');
  process.exit(2);
}

function start_server() {
  const server = spawn(program, ['serve', '--port', '0'], { stdio: ['ignore', 'pipe', 'inherit'] });
  return new Promise((resolve, reject) => {
    let out = '';
    server.stdout.on('data', (d) => {
      out += d;
      const m = out.match(/http:\/\/localhost:(\d+)\//);
      if (m) resolve({ server, url: m[0] });
    });
    server.on('exit', (code) => reject(new Error('the server stopped: ' + code)));
  });
}

async function until(what, test, ms = 5000) {
  const end = Date.now() + ms;
  for (;;) {
    const value = await test();
    if (value) return value;
    if (Date.now() > end) throw new Error('timed out waiting for ' + what);
    await new Promise((r) => setTimeout(r, 50));
  }
}

async function main() {
  const { server, url } = await start_server();
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'z480-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    viewport: { width: 1400, height: 900 },
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
  const errors = [];
  const page = context.pages()[0] || await context.newPage();
  try {
    page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text() + ' ' + (m.location().url || '')); });
    page.on('pageerror', (e) => errors.push(e.message));
    await page.goto(url);

    const token = async (t) => (await (await page.request.get(url + 'api/token?token=' + t)).json()).value;
    const picture = (alias) => page.getAttribute(`img[data-gauge="${alias}"]`, 'src');
    const shown = (ident) => page.$eval(`.window[data-ident="${ident}"]`, (e) => e.style.display === 'block');
    // A pixel of a gauge's background, as the mouse reaches it on the page.
    async function at(alias, x, y) {
      const img = await page.waitForSelector(`img[data-gauge="${alias}"]`, { state: 'visible' });
      const box = await img.boundingBox();
      const px = Number(await img.getAttribute('data-px')), py = Number(await img.getAttribute('data-py'));
      return { x: box.x + (x + 0.5) * box.width / px, y: box.y + (y + 0.5) * box.height / py };
    }
    async function click(alias, x, y, button = 'left') {
      const p = await at(alias, x, y);
      await page.mouse.click(p.x, p.y, { button });
    }
    async function toggle(alias) {
      const size = await page.$eval(`img[data-gauge="${alias}"]`, (e) => Number(e.dataset.px));
      await click(alias, size / 2, size / 2);
    }

    await page.waitForSelector('img[data-gauge="Airspeed"]', { state: 'visible' });
    await until('the first pictures', async () => (await picture('Annunciator') || '').startsWith('data:image/png'));

    // The overhead panel opens from its hot spot; the battery master powers the bus.
    await toggle('Overhead_Toggle');
    await until('the overhead panel', () => shown(250));
    // Its placards lie on the window's background bitmap, an image of its own.
    const backdrop = await page.$eval('.window[data-ident="250"]', (e) => e.style.backgroundImage);
    const src = (backdrop.match(/url\("?([^")]*)"?\)/) || [])[1];
    if (!src) throw new Error('the overhead panel has no background: ' + backdrop);
    const bitmap = await page.request.get(new URL(src, url).toString());
    if (bitmap.status() !== 200 || bitmap.headers()['content-type'] !== 'image/png') {
      throw new Error('the overhead background did not load: ' + bitmap.status());
    }
    const alternator_light = await picture('Elec_Light_Alt_1');
    const voltmeter = await picture('Voltmeter_DC');
    if (await token(364) !== 0) throw new Error('the battery starts on');
    // Over the switch the cursor is the hand.
    const p = await at('Master_Battery_Switch', 20, 30);
    await page.mouse.move(p.x, p.y);
    await until('the hand cursor', () => page.$eval('img[data-gauge="Master_Battery_Switch"]', (e) => e.style.cursor === 'pointer'));
    await click('Master_Battery_Switch', 20, 30);
    await until('the battery on', async () => await token(364) === 1);
    await until('the DC voltmeter up', async () => await picture('Voltmeter_DC') !== voltmeter);
    await until('the alternator light lit', async () => await picture('Elec_Light_Alt_1') !== alternator_light);
    await click('Left_Converter_Switch', 20, 30);
    await until('the converter-fed bus', async () => await token(755) > 20);

    // The radio stack: NAV/COM 1 on, the COM whole-megahertz knob one step up.
    await toggle('Radios_Toggle');
    await until('the radio stack', () => shown(50));
    await click('Z480_NAV_COM_1', 50, 85);
    const com = await token(23);
    await click('Z480_NAV_COM_1', 170, 120);
    await until('COM 1 retuned', async () => await token(23) !== com);

    // A sub-window opens from the main panel and closes from its own spot.
    await toggle('Compass_Toggle');
    await until('the compass window', () => shown(75));
    const close = await page.$eval('.window[data-ident="75"] img[data-gauge^="Close_Subpanel"]', (e) => e.dataset.gauge);
    await toggle(close);
    await until('the compass window closed', async () => !(await shown(75)));

    await page.waitForTimeout(300);
    await page.screenshot({ path: screenshot });
  } catch (e) {
    await page.screenshot({ path: screenshot }).catch(() => {});
    throw e;
  } finally {
    await context.close();
    server.kill('SIGTERM');
    fs.rmSync(profile, { recursive: true, force: true });
  }
  if (errors.length) throw new Error('the page logged errors:\n' + errors.join('\n'));
  console.log('panel flown in the browser; screenshot ' + screenshot);
}

main().catch((e) => {
  console.error(e.stack || String(e));
  process.exit(1);
});

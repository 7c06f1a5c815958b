// Measures the served panel as its pages see it: for a scenario and a
// number of pages, each page's bytes a second, frames a second and longest
// gap between frames and between drawings, and the server's processor time
// (its own process, the flight model's child left out) over the run.
//   node measure.js PATH/TO/z480-panel [SCENARIO [PAGES [SECONDS]]]
// Prints one line per page and one for the server; a measurement, not a test.
'use strict';

const { spawn } = require('child_process');
const fs = require('fs');
const { chromium } = require('playwright-core');

const [program, scenario = 'approach', pages = '1', seconds = '10'] = process.argv.slice(2);
if (!program) {
  console.error('usage: node measure.js Z480_PANEL [cold|ready|approach] [PAGES] [SECONDS]');
  process.exit(2);
}

// User and system time of a process, in seconds.
function cpu(pid) {
  const fields = fs.readFileSync('/proc/' + pid + '/stat', 'utf8').split(') ')[1].split(' ');
  return (Number(fields[11]) + Number(fields[12])) / 100;
}

async function main() {
  const server = spawn(program, ['serve', '--port', '0', '--scenario', scenario], { stdio: ['ignore', 'pipe', 'inherit'] });
  const url = await new Promise((resolve, reject) => {
    let out = '';
    server.stdout.on('data', (d) => {
      out += d;
      const m = out.match(/http:\/\/localhost:(\d+)\//);
      if (m) resolve(m[0]);
    });
    server.on('exit', (code) => reject(new Error('the server stopped: ' + code)));
  });
  const browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox', '--disable-gpu'] });
  try {
    const opened = [];
    for (let i = 0; i < Number(pages); i++) {
      const page = await browser.newPage({ viewport: { width: 1920, height: 1080 } });
      await page.goto(url);
      opened.push(page);
    }
    // Past the first layout and bitmaps: the steady flow.
    await new Promise((r) => setTimeout(r, 3000));
    const before = await Promise.all(opened.map((p) => p.evaluate(() => {
      const s = z480.stats();
      s.frameGaps.length = 0;
      s.drawGaps.length = 0;
      return { bytes: s.bytes, frames: s.frames, draws: s.draws };
    })));
    const cpuBefore = cpu(server.pid), start = Date.now();
    await new Promise((r) => setTimeout(r, Number(seconds) * 1000));
    const took = (Date.now() - start) / 1000, serverCpu = cpu(server.pid) - cpuBefore;
    for (let i = 0; i < opened.length; i++) {
      const s = await opened[i].evaluate(() => {
        const s = z480.stats();
        return { bytes: s.bytes, frames: s.frames, draws: s.draws,
                 frameGap: Math.max(0, ...s.frameGaps), drawGap: Math.max(0, ...s.drawGaps) };
      });
      console.log(`page ${i + 1}: ${((s.bytes - before[i].bytes) / took / 1024).toFixed(2)} KB/s, ` +
        `${((s.frames - before[i].frames) / took).toFixed(1)} frames/s, ${((s.draws - before[i].draws) / took).toFixed(1)} drawn/s, ` +
        `longest gap ${s.frameGap.toFixed(0)} ms between frames, ${s.drawGap.toFixed(0)} ms between drawings`);
    }
    console.log(`server (${scenario}, ${pages} page${pages === '1' ? '' : 's'}): ${(100 * serverCpu / took).toFixed(1)} % of a core`);
  } finally {
    await browser.close();
    server.kill('SIGTERM');
  }
}

main().catch((e) => {
  console.error(e.stack || String(e));
  process.exit(1);
});

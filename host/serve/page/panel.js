// The live panel: lays out the windows and gauges the server describes,
// shows each gauge's latest picture, sends the mouse to the gauges and the
// flight strip's settings to the simulation, and plays the panel's sounds.
'use strict';

const screen = document.getElementById('screen');
const tip = document.getElementById('tip');
let layout = null;
const windows = new Map();  // ident -> element
const gauges = new Map();   // alias -> { img, px, py }

// Cursor numbers of the mouse rectangles, as the simulator shows them.
const CURSORS = { '-1': 'default', '0': 'crosshair', '1': 'n-resize', '2': 's-resize', '5': 'pointer' };

function post(path, fields) {
  return fetch(path, {
    method: 'POST',
    headers: { 'Content-Type': 'application/x-www-form-urlencoded' },
    body: new URLSearchParams(fields),
  }).then((r) => (r.ok ? r.json() : null)).catch(() => null);
}

// ---- sound: the module's WAVE resources, fetched once, played as started
let audio = null;
const buffers = new Map();
function audioContext() {
  if (!audio) audio = new AudioContext();
  if (audio.state === 'suspended') audio.resume();
  return audio;
}
function play(id) {
  if (!audio) return;  // no sound before the first click: the browser forbids it
  let buffer = buffers.get(id);
  if (!buffer) {
    buffer = fetch('/api/sound?id=' + id).then((r) => (r.ok ? r.arrayBuffer() : Promise.reject(r.status)))
      .then((bytes) => audio.decodeAudioData(bytes)).catch(() => null);
    buffers.set(id, buffer);
  }
  buffer.then((b) => {
    if (!b) return;
    const source = audio.createBufferSource();
    source.buffer = b;
    source.connect(audio.destination);
    source.start();
  });
}

// ---- layout
function pixels(v) { return v + 'px'; }

function lay_out(l) {
  layout = l;
  screen.replaceChildren();
  windows.clear();
  gauges.clear();
  const width = screen.parentElement.clientWidth;
  let bottom = 0;
  for (const w of l.windows) {
    const el = document.createElement('div');
    el.className = 'window' + (l.windows[0] === w ? '' : ' sub');
    el.dataset.ident = w.ident;
    el.dataset.title = w.title;
    const ww = w.w * width;
    const wh = w.width > 0 ? ww * w.height / w.width : w.h * width * 9 / 16;
    const top = w.y * width * 9 / 16;
    Object.assign(el.style, {
      left: pixels(w.x * width), top: pixels(top), width: pixels(ww), height: pixels(wh),
      background: 'rgb(' + ((w.color >> 16) & 255) + ',' + ((w.color >> 8) & 255) + ',' + (w.color & 255) + ')',
      display: 'none', zIndex: l.windows[0] === w ? 0 : 1,
    });
    // The window's placards and paint, sent once per layout, never per frame.
    if (w.background) {
      Object.assign(el.style, { backgroundImage: 'url(' + w.background + ')', backgroundSize: '100% 100%' });
    }
    bottom = Math.max(bottom, top + wh);
    if (l.windows[0] !== w) {
      const title = document.createElement('div');
      title.className = 'title';
      title.textContent = w.title;
      const close = document.createElement('button');
      close.className = 'close';
      close.textContent = '×';
      close.title = 'Close ' + w.title;
      close.onclick = () => post('/api/window', { ident: w.ident, shown: 0 });
      el.append(title, close);
    }
    screen.append(el);
    windows.set(w.ident, { el, w });
  }
  screen.style.height = pixels(bottom);
  for (const g of l.gauges) {
    const win = windows.get(g.window);
    if (!win) continue;
    const img = document.createElement('img');
    img.className = 'gauge';
    img.alt = g.alias;
    img.dataset.gauge = g.alias;
    img.dataset.px = g.px;
    img.dataset.py = g.py;
    img.draggable = false;
    Object.assign(img.style, {
      left: (100 * g.x / win.w.width) + '%', top: (100 * g.y / win.w.height) + '%',
      width: (100 * g.w / win.w.width) + '%', height: (100 * g.h / win.w.height) + '%',
      visibility: 'hidden',
    });
    win.el.append(img);
    const gauge = { img, px: g.px, py: g.py, alias: g.alias };
    gauges.set(g.alias, gauge);
    attach_mouse(gauge);
  }
  const box = document.getElementById('scenarios');
  box.replaceChildren();
  for (const s of l.scenarios) {
    const b = document.createElement('button');
    b.textContent = s.title;
    b.dataset.scenario = s.name;
    b.className = s.name === l.scenario ? 'on' : '';
    b.onclick = () => post('/api/scenario', { name: s.name });
    box.append(b);
  }
}

// ---- frames
function show_frame(f) {
  if (f.windows) {
    const shown = new Set(f.windows);
    for (const [ident, { el }] of windows) el.style.display = shown.has(ident) ? 'block' : 'none';
  }
  for (const alias in f.gauges) {
    const g = gauges.get(alias);
    if (!g) continue;
    const data = f.gauges[alias];
    if (data) {
      g.img.src = 'data:image/png;base64,' + data;
      g.img.style.visibility = 'visible';
    } else {
      g.img.style.visibility = 'hidden';
    }
  }
  for (const id of f.sounds) play(id);
  strip(f);
}

// ---- mouse: press, held repeat, drag along levers, hover for cursor and tooltip
function gauge_point(g, e) {
  const r = g.img.getBoundingClientRect();
  const x = Math.floor((e.clientX - r.left) / r.width * g.px);
  const y = Math.floor((e.clientY - r.top) / r.height * g.py);
  return { x: Math.min(Math.max(x, 0), g.px - 1), y: Math.min(Math.max(y, 0), g.py - 1) };
}

const REPEAT_DELAY = 350, REPEAT_EVERY = 110;
let held = null;  // { g, button, timer, last }

function release() {
  if (!held) return;
  clearTimeout(held.timer);
  clearInterval(held.timer);
  held = null;
}

function attach_mouse(g) {
  g.img.addEventListener('contextmenu', (e) => e.preventDefault());
  g.img.addEventListener('mousedown', (e) => {
    if (e.button !== 0 && e.button !== 2) return;
    e.preventDefault();
    audioContext();
    release();
    const button = e.button === 0 ? 'left' : 'right';
    const p = gauge_point(g, e);
    post('/api/mouse', { gauge: g.alias, x: p.x, y: p.y, action: button });
    held = { g, button, point: p, timer: 0 };
    const h = held;
    h.timer = setTimeout(() => {
      if (held !== h) return;
      h.timer = setInterval(() => post('/api/mouse', {
        gauge: g.alias, x: h.point.x, y: h.point.y, action: button + '-repeat',
      }), REPEAT_EVERY);
    }, REPEAT_DELAY);
  });
  let pending = false;
  g.img.addEventListener('mousemove', (e) => {
    const p = gauge_point(g, e);
    if (held && held.g === g) {
      held.point = p;
      if (held.button === 'left' && !pending) {
        pending = true;
        post('/api/mouse', { gauge: g.alias, x: p.x, y: p.y, action: 'drag' }).finally(() => { pending = false; });
      }
      return;
    }
    hover(g, p, e);
  });
  g.img.addEventListener('mouseleave', () => { tip.style.display = 'none'; });
}
window.addEventListener('mouseup', release);
window.addEventListener('blur', release);

let hovering = false, next_hover = null;
function hover(g, p, e) {
  next_hover = { g, p, cx: e.clientX, cy: e.clientY };
  if (hovering) return;
  hovering = true;
  const h = next_hover;
  next_hover = null;
  post('/api/hover', { gauge: h.g.alias, x: h.p.x, y: h.p.y }).then((r) => {
    hovering = false;
    if (r) {
      h.g.img.style.cursor = CURSORS[r.cursor] || 'default';
      tip.textContent = r.tooltip;
      tip.style.display = r.tooltip ? 'block' : 'none';
      tip.style.left = pixels(h.cx + 14);
      tip.style.top = pixels(h.cy + 18);
    }
    if (next_hover) hover(next_hover.g, next_hover.p, { clientX: next_hover.cx, clientY: next_hover.cy });
  });
}

// ---- the flight strip
const pause = document.getElementById('pause');
const rate = document.getElementById('rate');
const sliders = { elevator: document.getElementById('elevator'),
                  aileron: document.getElementById('aileron'),
                  rudder: document.getElementById('rudder'), power: document.getElementById('power') };
let paused = false, touched = 0;

pause.onclick = () => post('/api/sim', { paused: paused ? 0 : 1 });
rate.onchange = () => post('/api/sim', { rate: rate.value });
for (const [name, input] of Object.entries(sliders)) {
  input.oninput = () => {
    touched = performance.now();
    post('/api/controls', { [name]: input.value });
  };
}

function centre() {
  for (const name of ['elevator', 'aileron', 'rudder']) sliders[name].value = 0;
  touched = performance.now();
  post('/api/controls', { elevator: 0, aileron: 0, rudder: 0 });
}

function nudge(name, by) {
  const input = sliders[name];
  input.value = Math.min(Math.max(Number(input.value) + by, Number(input.min)), Number(input.max));
  input.oninput();
}

window.addEventListener('keydown', (e) => {
  const keys = {
    // The stick and pedals stay where they are put, as a held yoke does.
    ArrowUp: () => nudge('elevator', 0.02), ArrowDown: () => nudge('elevator', -0.02),
    ArrowLeft: () => nudge('aileron', -0.05), ArrowRight: () => nudge('aileron', 0.05),
    ',': () => nudge('rudder', -0.1), '.': () => nudge('rudder', 0.1),
    PageUp: () => nudge('power', 0.05), PageDown: () => nudge('power', -0.05),
    p: () => pause.onclick(), c: centre,
  };
  const act = keys[e.key];
  if (act && e.target.tagName !== 'SELECT') {
    e.preventDefault();
    act();
  }
});

function strip(f) {
  paused = f.paused;
  pause.textContent = paused ? 'Resume' : 'Pause';
  pause.className = paused ? 'on' : '';
  if (document.activeElement !== rate) rate.value = String(f.rate);
  const fl = f.flight;
  // The sliders follow the simulation unless the pilot is moving them.
  if (performance.now() - touched > 1000) {
    for (const name of ['elevator', 'aileron', 'rudder', 'power']) sliders[name].value = fl[name];
  }
  for (const name of ['elevator', 'aileron', 'rudder'])
    document.getElementById(name + '-v').textContent = Number(sliders[name].value).toFixed(2);
  document.getElementById('power-v').textContent = Math.round(sliders.power.value * 100);
  const clock = new Date(f.time * 1000).toISOString().substring(11, 19);
  document.getElementById('readout').textContent =
    'time  ' + clock + '\nIAS   ' + fl.speed.toFixed(0) + ' kt\nALT   ' + fl.altitude.toFixed(0) +
    ' ft\nVS    ' + fl.vs.toFixed(0) + ' ft/min\nHDG   ' + fl.heading.toFixed(0).padStart(3, '0') +
    '\npitch ' + fl.pitch.toFixed(1) + '  bank ' + fl.bank.toFixed(0) +
    (fl.flying ? '' : '\n(no flight model)') + (fl.stall ? '\nSTALL WARNING' : '');
}

// ---- the stream
const events = new EventSource('/api/stream');
events.addEventListener('layout', (e) => lay_out(JSON.parse(e.data)));
events.addEventListener('frame', (e) => { if (layout) show_frame(JSON.parse(e.data)); });
window.addEventListener('resize', () => {
  // Positions are in pixels of the screen's width: lay out again, keeping
  // the pictures.
  if (!layout) return;
  const pictures = new Map([...gauges].map(([a, g]) => [a, g.img]));
  const shown = [...windows].filter(([, w]) => w.el.style.display === 'block').map(([i]) => i);
  lay_out(layout);
  for (const [a, old] of pictures) {
    const g = gauges.get(a);
    if (g) { g.img.src = old.src; g.img.style.visibility = old.style.visibility; }
  }
  for (const i of shown) windows.get(i).el.style.display = 'block';
});

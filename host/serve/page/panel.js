// The live panel: one WebSocket to the server brings the layout, each
// frame's changes of the shown gauges and the sounds started, and takes the
// pilot's hands back. This page's own windows (which are open, where they
// stand, which lies on top), its zoom and its pan live in the address, so a
// bookmark opens the same panel again.
'use strict';

const Panel = (() => {
  // The simulator's screen that windows' fractions refer to.
  const WORLD_W = 1600, WORLD_H = 900;
  const MIN_ZOOM = 1, MAX_ZOOM = 6;
  const box = document.getElementById('screen-box');
  const screen = document.getElementById('screen');
  const banner = document.getElementById('banner');

  let layout = null;
  let socket = null;
  let connected = false, everConnected = false, retry = 500;
  const windows = new Map();  // ident -> window state
  let gauges = [];            // by index: { box, elements, own, win }
  let stack = [];             // open sub-windows, lowest first
  let view = { zoom: 1, pan: { x: 0, y: 0 } };
  const asked = readAddress();
  let nextId = 1;
  const waiting = new Map();  // request id -> resolve
  const stats = { frames: 0, draws: 0, lastFrame: 0, frameGaps: [], lastDraw: 0, drawGaps: [], bytes: 0 };

  // ---- the address: #windows=0,50&at=50:0.10:0.20&zoom=1.5&pan=10:-4
  function readAddress() {
    const p = new URLSearchParams(location.hash.slice(1));
    const at = new Map();
    for (const one of (p.get('at') || '').split(',').filter(Boolean)) {
      const [ident, x, y] = one.split(':').map(Number);
      if ([ident, x, y].every(Number.isFinite)) at.set(ident, { x, y });
    }
    const list = p.has('windows') ? p.get('windows').split(',').filter(Boolean).map(Number) : null;
    const pan = (p.get('pan') || '0:0').split(':').map(Number);
    return {
      windows: list && list.every(Number.isInteger) ? list : null, at,
      zoom: Math.min(Math.max(Number(p.get('zoom')) || 1, MIN_ZOOM), MAX_ZOOM),
      pan: { x: pan[0] || 0, y: pan[1] || 0 },
    };
  }

  function writeAddress() {
    if (!layout) return;
    const open = [...windows.values()].filter((w) => w.open);
    const order = open.filter((w) => !w.sub).concat(stack.map((i) => windows.get(i)).filter((w) => w && w.open));
    const p = new URLSearchParams();
    p.set('windows', order.map((w) => w.config.ident).join(','));
    const at = order.filter((w) => w.pos).map((w) => w.config.ident + ':' + w.pos.x.toFixed(3) + ':' + w.pos.y.toFixed(3));
    if (at.length) p.set('at', at.join(','));
    if (view.zoom !== 1) p.set('zoom', view.zoom.toFixed(2));
    if (view.pan.x || view.pan.y) p.set('pan', Math.round(view.pan.x) + ':' + Math.round(view.pan.y));
    history.replaceState(null, '', '#' + p.toString().replace(/%2C/g, ',').replace(/%3A/g, ':'));
  }

  // ---- the connection
  function connect() {
    const query = asked.windows ? '?windows=' + asked.windows.join(',') : '';
    socket = new WebSocket((location.protocol === 'https:' ? 'wss://' : 'ws://') + location.host + '/api/panel' + query);
    socket.binaryType = 'arraybuffer';
    socket.onopen = () => {
      connected = true;
      retry = 500;
      if (everConnected) say('Connected to the panel again.', 'good', 3000);
      else say('', '', 0);
      everConnected = true;
    };
    socket.onmessage = (m) => {
      stats.bytes += typeof m.data === 'string' ? m.data.length : m.data.byteLength;
      if (typeof m.data !== 'string') return pixels(m.data);
      const message = JSON.parse(m.data);
      if (message.type === 'layout') lay_out(message);
      else if (message.type === 'frame') frame(message);
      else if (message.type === 'reply' && waiting.has(message.id)) {
        waiting.get(message.id)(message);
        waiting.delete(message.id);
      }
    };
    socket.onclose = () => {
      if (connected || !everConnected) {
        say(everConnected ? 'The connection to the panel is lost: trying again…' : 'The panel server does not answer: trying again…', 'bad', 0);
      }
      connected = false;
      for (const resolve of waiting.values()) resolve(null);
      waiting.clear();
      setTimeout(connect, retry);
      retry = Math.min(retry * 2, 4000);
    };
  }

  let bannerTimer = 0;
  function say(text, kind, ms) {
    clearTimeout(bannerTimer);
    banner.textContent = text;
    banner.className = kind;
    banner.hidden = !text;
    if (ms) bannerTimer = setTimeout(() => { banner.hidden = true; }, ms);
  }

  // A request of the page; the reply, or null when the connection is gone.
  function ask(type, fields) {
    if (!socket || socket.readyState !== WebSocket.OPEN) return Promise.resolve(null);
    const id = nextId++;
    socket.send(JSON.stringify(Object.assign({ type, id }, fields)));
    return new Promise((resolve) => waiting.set(id, resolve));
  }
  function tell(type, fields) {
    if (socket && socket.readyState === WebSocket.OPEN) socket.send(JSON.stringify(Object.assign({ type }, fields)));
  }

  // ---- layout
  let bitmapsUrl = null, bitmapsReady = Promise.resolve();
  const backgrounds = new Map();

  function lay_out(l) {
    layout = l;
    if (l.bitmaps !== bitmapsUrl) {
      bitmapsUrl = l.bitmaps;
      bitmapsReady = Draw.load(l.bitmaps).then(() => { for (const w of windows.values()) w.dirtyAll = true; });
    }
    screen.replaceChildren();
    windows.clear();
    gauges = [];
    l.windows.forEach((config, n) => windows.set(config.ident, make_window(config, n > 0)));
    stack = stack.filter((i) => windows.has(i));
    for (const ident of asked.windows || []) if (windows.has(ident) && windows.get(ident).sub && !stack.includes(ident)) stack.push(ident);
    l.gauges.forEach((g, index) => {
      const win = windows.get(g.window);
      const gauge = { index, box: g, elements: null, own: new Map(), win };
      gauges.push(gauge);
      if (win) win.gauges.push(gauge);
    });
    for (const win of windows.values()) Input.attach(win);
    strip_scenarios(l);
    place();
  }

  function make_window(config, sub) {
    const el = document.createElement('div');
    el.className = 'window' + (sub ? ' sub' : '');
    el.dataset.ident = config.ident;
    el.hidden = true;
    const canvas = document.createElement('canvas');
    canvas.className = 'face';
    canvas.setAttribute('aria-label', config.title);
    const keys = document.createElement('div');
    keys.className = 'keys';
    el.append(canvas, keys);
    const win = { config, el, canvas, keys, sub, gauges: [], open: false, pos: asked.at.get(config.ident) || null,
                  dirty: new Set(), dirtyAll: true, scale: 0, background: null };
    if (sub) {
      const title = document.createElement('div');
      title.className = 'title';
      title.textContent = config.title;
      const close = document.createElement('button');
      close.className = 'close';
      close.textContent = '×';
      close.title = 'Close ' + config.title;
      close.setAttribute('aria-label', 'Close ' + config.title);
      close.onclick = () => tell('window', { ident: config.ident, shown: 0 });
      el.append(title, close);
      win.title = title;
    }
    if (config.background) {
      const image = new Image();
      image.onload = () => { win.background = image; win.dirtyAll = true; };
      image.src = config.background;
    }
    screen.append(el);
    return win;
  }

  // A window's own units (what its gauges are placed in) and its size on the
  // simulator's screen.
  function units(win) {
    const c = win.config;
    const image = win.background;
    return { w: c.width > 0 ? c.width : image ? image.naturalWidth : WORLD_W,
             h: c.height > 0 ? c.height : image ? image.naturalHeight : WORLD_H };
  }
  function world(win) {
    const u = units(win), c = win.config;
    const w = c.w * WORLD_W;
    return { x: c.x * WORLD_W, y: c.y * WORLD_H, w, h: w * u.h / u.w };
  }

  // Lays the open windows out: the main panel (or, when it is closed, the
  // first window open) contained in the screen, zoomed and panned; the
  // sub-windows at the same scale, where the pilot left them or where the
  // configuration puts them, kept on the screen.
  function place() {
    if (!layout) return;
    const vw = box.clientWidth, vh = box.clientHeight;
    const all = [...windows.values()];
    const main = all.find((w) => !w.sub);
    const open = all.filter((w) => w.open);
    const base = main && main.open ? main : open[0];
    if (!base) return;
    const b = world(base);
    const fit = Math.min(vw / b.w, vh / b.h);
    const mainBox = main ? world(main) : b;
    const zoom = base === main ? view.zoom : 1;
    const bw = b.w * fit * zoom, bh = b.h * fit * zoom;
    const left = (vw - bw) / 2 + (base === main ? view.pan.x : 0), top = (vh - bh) / 2 + (base === main ? view.pan.y : 0);
    for (const win of all) {
      win.el.hidden = !win.open;
      if (!win.open) continue;
      const wb = world(win);
      let r;
      if (win === base) {
        r = { x: left, y: top, w: bw, h: bh };
      } else {
        const w = wb.w * fit, h = wb.h * fit;
        const at = win.pos ? { x: win.pos.x * vw, y: win.pos.y * vh }
          : { x: left + (wb.x - mainBox.x) * fit, y: top + (wb.y - mainBox.y) * fit };
        r = { x: Math.min(Math.max(at.x, 0), Math.max(vw - w, 0)), y: Math.min(Math.max(at.y, 0), Math.max(vh - h, 0)), w, h };
      }
      Object.assign(win.el.style, { left: r.x + 'px', top: r.y + 'px', width: r.w + 'px', height: r.h + 'px',
                                    zIndex: win.sub ? 10 + stack.indexOf(win.config.ident) : 1 });
      size_canvas(win, r.w, r.h);
      Input.place_keys(win, r.w / units(win).w);
    }
    writeAddress();
  }

  function size_canvas(win, cssW, cssH) {
    const dpr = window.devicePixelRatio || 1;
    const w = Math.max(1, Math.round(cssW * dpr)), h = Math.max(1, Math.round(cssH * dpr));
    if (win.canvas.width !== w || win.canvas.height !== h) {
      win.canvas.width = w;
      win.canvas.height = h;
      win.dirtyAll = true;
    }
    win.canvas.style.width = cssW + 'px';
    win.canvas.style.height = cssH + 'px';
    win.scale = w / units(win).w;
  }

  function raise(win) {
    if (!win.sub) return;
    stack = stack.filter((i) => i !== win.config.ident).concat(win.config.ident);
    place();
  }
  function move(win, x, y) {
    win.pos = { x: x / box.clientWidth, y: y / box.clientHeight };
    place();
  }
  function zoom_at(factor, cx, cy) {
    const z = Math.min(Math.max(view.zoom * factor, MIN_ZOOM), MAX_ZOOM);
    const f = z / view.zoom;
    // The point under the pointer stays under it.
    const vw = box.clientWidth, vh = box.clientHeight;
    view.pan.x = (view.pan.x - (cx - vw / 2)) * f + (cx - vw / 2);
    view.pan.y = (view.pan.y - (cy - vh / 2)) * f + (cy - vh / 2);
    view.zoom = z;
    if (z === 1) view.pan = { x: 0, y: 0 };
    place();
  }
  function pan_by(dx, dy) {
    if (view.zoom === 1) return;
    view.pan.x += dx;
    view.pan.y += dy;
    place();
  }
  function fit() {
    view = { zoom: 1, pan: { x: 0, y: 0 } };
    place();
  }

  // ---- frames
  function frame(f) {
    const now = performance.now();
    if (stats.lastFrame) stats.frameGaps.push(now - stats.lastFrame);
    if (stats.frameGaps.length > 1000) stats.frameGaps.splice(0, 500);
    stats.lastFrame = now;
    stats.frames++;
    if (f.windows) show_windows(f.windows);
    for (const key in f.gauges) {
      const g = gauges[Number(key)];
      if (!g) continue;
      const update = f.gauges[key];
      if (update[0] === 0) {
        g.elements = update.slice(1);
      } else if (g.elements) {
        for (const change of update.slice(1)) {
          const e = g.elements[change[0]];
          for (let i = 1; e && i + 1 < change.length; i += 2) e[change[i]] = change[i + 1];
        }
      }
      if (g.win) g.win.dirty.add(g);
    }
    if (f.sounds) for (const [id, volume] of f.sounds) Sound.play(id, volume);
    if (f.strip) Strip.show(f.strip);
    Strip.time(f.time);
    request_draw();
  }

  function show_windows(list) {
    const open = new Set(list);
    for (const win of windows.values()) {
      const was = win.open;
      win.open = open.has(win.config.ident);
      if (win.open && !was) {
        win.dirtyAll = true;
        if (win.sub && !stack.includes(win.config.ident)) stack.push(win.config.ident);
      }
      if (!win.open) for (const g of win.gauges) { g.elements = null; g.own.clear(); }
    }
    stack = stack.filter((i) => open.has(i));
    place();
  }

  // The pixels an element drew for itself: gauge, element, version, PNG.
  function pixels(buffer) {
    const view32 = new DataView(buffer);
    const g = gauges[view32.getUint32(0, true)], element = view32.getUint32(4, true);
    if (!g) return;
    createImageBitmap(new Blob([new Uint8Array(buffer, 12)], { type: 'image/png' }),
                      { premultiplyAlpha: 'premultiply', colorSpaceConversion: 'none' }).then((image) => {
      g.own.set(element, image);
      if (g.win) g.win.dirty.add(g);
      request_draw();
    });
  }

  // ---- drawing: only the gauges that changed, each over its own piece of
  // the window's backdrop, on the next animation frame.
  let drawPending = false;
  function request_draw() {
    if (drawPending) return;
    drawPending = true;
    requestAnimationFrame(() => {
      drawPending = false;
      bitmapsReady.then(draw_all);
    });
  }

  function draw_all() {
    let drew = false;
    for (const win of windows.values()) {
      if (!win.open || (!win.dirtyAll && !win.dirty.size)) continue;
      draw_window(win, win.canvas.getContext('2d'), win.scale, win.dirtyAll ? null : [...win.dirty]);
      win.dirty.clear();
      win.dirtyAll = false;
      drew = true;
    }
    if (drew) {
      const now = performance.now();
      if (stats.lastDraw) stats.drawGaps.push(now - stats.lastDraw);
      if (stats.drawGaps.length > 1000) stats.drawGaps.splice(0, 500);
      stats.lastDraw = now;
      stats.draws++;
    }
  }

  function gauge_rect(g, s) {
    const [w, h] = Draw.size(g.elements);
    return { x0: Math.floor(g.box.x * s), y0: Math.floor(g.box.y * s),
             x1: Math.ceil((g.box.x + w * g.box.sx) * s), y1: Math.ceil((g.box.y + h * g.box.sy) * s) };
  }

  // The window at s canvas pixels per window unit: whole, or only where the
  // changed gauges lie (the backdrop is a plain copy, so piece by piece is
  // cheaper until most of the window's gauges changed).
  function draw_window(win, ctx, s, changed) {
    const u = units(win);
    const regions = changed && changed.length <= 40 ? changed.map((g) => gauge_rect(g, s)) : [null];
    for (const r of regions) {
      ctx.save();
      if (r) {
        ctx.beginPath();
        ctx.rect(r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0);
        ctx.clip();
      }
      ctx.setTransform(s, 0, 0, s, 0, 0);
      Draw.backdrop(ctx, win.config.color, win.background, u.w, u.h);
      ctx.setTransform(1, 0, 0, 1, 0, 0);
      for (const g of win.gauges) {
        if (!g.elements) continue;
        if (r) {
          const q = gauge_rect(g, s);
          if (q.x1 <= r.x0 || q.x0 >= r.x1 || q.y1 <= r.y0 || q.y0 >= r.y1) continue;
        }
        Draw.gauge(ctx, g.elements, (i) => g.own.get(i), g.box.x * s, g.box.y * s, g.box.sx * s, g.box.sy * s);
      }
      ctx.restore();
    }
  }

  // The window as the host's renderer draws it: at its own units, whole.
  async function picture(ident) {
    await bitmapsReady;
    const win = windows.get(ident);
    if (!win) return null;
    const u = units(win);
    const c = document.createElement('canvas');
    c.width = Math.max(...win.gauges.filter((g) => g.elements).map((g) => gauge_rect(g, 1).x1), u.w);
    c.height = Math.max(...win.gauges.filter((g) => g.elements).map((g) => gauge_rect(g, 1).y1), u.h);
    draw_window(win, c.getContext('2d'), 1, null);
    return c;
  }

  // ---- the strip's scenario buttons
  function strip_scenarios(l) {
    const list = document.getElementById('scenarios');
    list.replaceChildren();
    for (const s of l.scenarios) {
      const b = document.createElement('button');
      b.textContent = s.title;
      b.dataset.scenario = s.name;
      b.className = s.name === l.scenario ? 'on' : '';
      b.onclick = () => ask('scenario', { name: s.name });
      list.append(b);
    }
  }

  window.addEventListener('resize', place);
  document.getElementById('fit').onclick = fit;
  document.getElementById('zoom-in').onclick = () => zoom_at(1.25, box.clientWidth / 2, box.clientHeight / 2);
  document.getElementById('zoom-out').onclick = () => zoom_at(0.8, box.clientWidth / 2, box.clientHeight / 2);
  view = { zoom: asked.zoom, pan: asked.pan };

  // The client point over a pixel of a gauge.
  function at(alias, x, y) {
    const g = gauges.find((q) => q.box.alias === alias);
    if (!g || !g.win || !g.win.open) return null;
    const r = g.win.canvas.getBoundingClientRect();
    const css = r.width / units(g.win).w;
    return { x: r.left + (g.box.x + (x + 0.5) * g.box.sx) * css, y: r.top + (g.box.y + (y + 0.5) * g.box.sy) * css };
  }

  return {
    connect, ask, tell, raise, move, zoom_at, pan_by, picture, place, at,
    windows: () => windows, gauges: () => gauges, layout: () => layout,
    stats: () => stats, connected: () => connected, view: () => view,
  };
})();

// ---- sound: the module's WAVE resources, fetched once, each played at the
// volume it was started with; a browser lets a page play only after the
// pilot has touched it, so the first touch or key unlocks it.
const Sound = (() => {
  let audio = null;
  const buffers = new Map();
  function unlock() {
    if (!audio) audio = new AudioContext();
    if (audio.state === 'suspended') audio.resume();
  }
  for (const e of ['pointerdown', 'keydown', 'touchend']) window.addEventListener(e, unlock, { capture: true });
  // Volume in hundredths of a decibel, 0 the sound's own loudness.
  function play(id, volume) {
    if (!audio || audio.state !== 'running') return;
    let buffer = buffers.get(id);
    if (!buffer) {
      buffer = fetch('/api/sound?id=' + id).then((r) => (r.ok ? r.arrayBuffer() : Promise.reject(r.status)))
        .then((bytes) => audio.decodeAudioData(bytes)).catch(() => null);
      buffers.set(id, buffer);
    }
    buffer.then((b) => {
      if (!b) return;
      const source = audio.createBufferSource();
      const gain = audio.createGain();
      gain.gain.value = Math.pow(10, Math.min(volume || 0, 0) / 2000);
      source.buffer = b;
      source.connect(gain).connect(audio.destination);
      source.start();
    });
  }
  return { play, unlocked: () => !!audio && audio.state === 'running' };
})();

// ---- the flight strip
const Strip = (() => {
  const pause = document.getElementById('pause');
  const rate = document.getElementById('rate');
  const sliders = { elevator: document.getElementById('elevator'), aileron: document.getElementById('aileron'),
                    rudder: document.getElementById('rudder'), power: document.getElementById('power') };
  const HANDS = ['elevator', 'aileron', 'rudder'];
  let paused = false, touched = 0, flight = null;

  pause.onclick = () => Panel.ask('sim', { paused: paused ? 0 : 1 });
  rate.onchange = () => Panel.ask('sim', { rate: Number(rate.value) });
  for (const [name, input] of Object.entries(sliders)) {
    input.oninput = () => {
      touched = performance.now();
      Panel.tell('controls', { [name]: Number(input.value) });
    };
  }
  function centre() {
    for (const name of HANDS) sliders[name].value = 0;
    touched = performance.now();
    Panel.tell('controls', { elevator: 0, aileron: 0, rudder: 0 });
  }
  function nudge(name, by) {
    const input = sliders[name];
    input.value = Math.min(Math.max(Number(input.value) + by, Number(input.min)), Number(input.max));
    input.oninput();
  }
  window.addEventListener('keydown', (e) => {
    if (e.target.closest && e.target.closest('.keys, select, input, button')) return;
    const keys = {
      // The stick and pedals stay where they are put, as a held yoke does.
      ArrowUp: () => nudge('elevator', 0.02), ArrowDown: () => nudge('elevator', -0.02),
      ArrowLeft: () => nudge('aileron', -0.05), ArrowRight: () => nudge('aileron', 0.05),
      ',': () => nudge('rudder', -0.1), '.': () => nudge('rudder', 0.1),
      PageUp: () => nudge('power', 0.05), PageDown: () => nudge('power', -0.05),
      p: () => pause.onclick(), c: centre,
    };
    const act = keys[e.key];
    if (act) {
      e.preventDefault();
      act();
    }
  });
  document.getElementById('strip-toggle').onclick = () => {
    document.body.classList.toggle('strip-hidden');
    Panel.place();
  };

  function show(s) {
    paused = s.paused;
    pause.textContent = paused ? 'Resume' : 'Pause';
    pause.className = paused ? 'on' : '';
    if (document.activeElement !== rate) rate.value = String(s.rate);
    flight = s.flight;
    // The sliders follow the simulation unless the pilot is moving them.
    if (performance.now() - touched > 1000) {
      for (const name of [...HANDS, 'power']) sliders[name].value = flight[name];
    }
    for (const name of HANDS) document.getElementById(name + '-v').textContent = Number(sliders[name].value).toFixed(2);
    document.getElementById('power-v').textContent = Math.round(sliders.power.value * 100);
  }
  function time(t) {
    if (!flight) return;
    const clock = new Date(t * 1000).toISOString().substring(11, 19);
    document.getElementById('readout').textContent =
      'time  ' + clock + '\nIAS   ' + flight.speed.toFixed(0) + ' kt\nALT   ' + flight.altitude.toFixed(0) +
      ' ft\nVS    ' + flight.vs.toFixed(0) + ' ft/min\nHDG   ' + flight.heading.toFixed(0).padStart(3, '0') +
      '\npitch ' + flight.pitch.toFixed(1) + '  bank ' + flight.bank.toFixed(0) +
      (flight.flying ? '' : '\n(no flight model)') + (flight.stall ? '\nSTALL WARNING' : '');
  }
  return { show, time };
})();

// For the end-to-end tests: what the page holds and draws.
window.z480 = {
  picture: (ident) => Panel.picture(ident),
  stats: () => Panel.stats(),
  connected: () => Panel.connected(),
  windows: () => [...Panel.windows().values()].filter((w) => w.open).map((w) => w.config.ident),
  sound: () => Sound.unlocked(),
  at: (alias, x, y) => Panel.at(alias, x, y),
  elements: (alias) => JSON.stringify((Panel.gauges().find((g) => g.box.alias === alias) || {}).elements || null),
  banner: () => { const b = document.getElementById('banner'); return b.hidden ? '' : b.textContent; },
  gauges: () => Panel.layout() ? Panel.layout().gauges.map((g) => ({ alias: g.alias, window: g.window, x: g.x, y: g.y,
    w: g.px * g.sx, h: g.py * g.sy })) : [],
};

Panel.connect();

// The pilot's hands on the panel: Pointer Events for mouse, pen and touch
// alike (a press clicks, a held press repeats where the rectangle repeats,
// a drag moves a lever with the pointer captured, so a fast flick still
// reaches the stop), the wheel and a two-finger twist turn knobs, a finger
// finds a control smaller than a fingertip, and every control can be reached
// and worked from the keyboard. Tooltips come from the server as the
// simulator formats them.
'use strict';

const Input = (() => {
  const TOUCH_TARGET = 44;  // CSS pixels a finger needs
  const REPEAT_DELAY = 350, REPEAT_EVERY = 110;
  const WHEEL_STEP = 60;    // pixels of wheel travel per knob step
  const TWIST_STEP = 20;    // degrees of twist per knob step
  const CURSOR_UP = 1, CURSOR_DOWN = 2, CURSOR_HAND = 5;
  const LEFT = 0x20000000, RIGHT = 0x80000000, DRAG = 0x00800000, REPEAT = 0x00200000;
  const CURSORS = { '-1': 'default', '0': 'crosshair', '1': 'n-resize', '2': 's-resize', '5': 'pointer' };
  const tip = document.getElementById('tip');
  const box = document.getElementById('screen-box');

  // The gauge under a point of the window and the point in its pixels.
  function locate(win, clientX, clientY) {
    const r = win.canvas.getBoundingClientRect();
    const units = r.width > 0 ? win.canvas.width / win.scale / r.width : 1;
    const wx = (clientX - r.left) * units, wy = (clientY - r.top) * units;
    for (let i = win.gauges.length - 1; i >= 0; i--) {
      const g = win.gauges[i];
      const gx = (wx - g.box.x) / g.box.sx, gy = (wy - g.box.y) / g.box.sy;
      if (gx >= 0 && gy >= 0 && gx < g.box.px && gy < g.box.py) {
        return { g, x: gx, y: gy, cssPerPixel: g.box.sx / units };
      }
    }
    return null;
  }

  const inside = (t, x, y) => x >= t[0] && y >= t[1] && x < t[0] + t[2] && y < t[1] + t[3];

  // The rectangle a press reaches: the first holding the point, as the host
  // looks; for a finger, else the nearest one grown to a fingertip's size.
  function target(hit, touch) {
    const targets = hit.g.box.targets;
    const exact = targets.find((t) => inside(t, hit.x, hit.y));
    if (exact || !touch) return exact || null;
    let best = null, bestDistance = Infinity;
    for (const t of targets) {
      const growX = Math.max(0, (TOUCH_TARGET / hit.cssPerPixel - t[2]) / 2);
      const growY = Math.max(0, (TOUCH_TARGET / hit.cssPerPixel - t[3]) / 2);
      if (!inside([t[0] - growX, t[1] - growY, t[2] + 2 * growX, t[3] + 2 * growY], hit.x, hit.y)) continue;
      const d = Math.hypot(hit.x - (t[0] + t[2] / 2), hit.y - (t[1] + t[3] / 2));
      if (d < bestDistance) { best = t; bestDistance = d; }
    }
    return best;
  }

  // A point of the gauge kept inside the rectangle (a finger beside a small
  // switch, a lever dragged past its end).
  function within(t, x, y) {
    return { x: Math.floor(Math.min(Math.max(x, t[0]), t[0] + t[2] - 1)),
             y: Math.floor(Math.min(Math.max(y, t[1]), t[1] + t[3] - 1)) };
  }

  function mouse(g, p, action) {
    return Panel.ask('mouse', { gauge: g.box.alias, x: p.x, y: p.y, action });
  }

  // ---- knobs: one step up or down, from the wheel, a twist or a key.
  // A knob is a pair of rectangles (the increasing and the decreasing half)
  // or one that takes both buttons.
  function step(g, t, up) {
    if (!t) return;
    const targets = g.box.targets;
    if (t[4] === CURSOR_UP || t[4] === CURSOR_DOWN) {
      const want = up ? CURSOR_UP : CURSOR_DOWN;
      let pick = t[4] === want ? t : null;
      if (!pick) {
        let best = Infinity;
        for (const o of targets) {
          if (o[4] !== want) continue;
          const d = Math.hypot(o[0] + o[2] / 2 - t[0] - t[2] / 2, o[1] + o[3] / 2 - t[1] - t[3] / 2);
          if (d < best) { best = d; pick = o; }
        }
      }
      if (pick) mouse(g, centre(pick), 'left');
    } else if ((t[5] & RIGHT) && (t[5] & LEFT)) {
      mouse(g, centre(t), up ? 'left' : 'right');
    }
  }
  const centre = (t) => ({ x: Math.floor(t[0] + t[2] / 2), y: Math.floor(t[1] + t[3] / 2) });
  const turns = (t) => t && (t[4] === CURSOR_UP || t[4] === CURSOR_DOWN || ((t[5] & RIGHT) && (t[5] & LEFT)));

  // ---- presses and drags
  const pointers = new Map();  // pointerId -> press
  let twist = null;

  function attach(win) {
    const c = win.canvas;
    c.addEventListener('contextmenu', (e) => e.preventDefault());
    c.addEventListener('pointerdown', (e) => down(win, e));
    c.addEventListener('pointermove', (e) => moved(win, e));
    c.addEventListener('pointerup', (e) => up(e));
    c.addEventListener('pointercancel', (e) => up(e));
    c.addEventListener('pointerleave', () => { tip.hidden = true; });
    c.addEventListener('wheel', (e) => wheel(win, e), { passive: false });
    win.el.addEventListener('pointerdown', () => Panel.raise(win), { capture: true });
    if (win.title) drag_window(win);
  }

  function down(win, e) {
    if (e.button !== 0 && e.button !== 2) return;
    e.preventDefault();
    win.canvas.setPointerCapture(e.pointerId);
    tip.hidden = true;
    const hit = locate(win, e.clientX, e.clientY);
    const touch = e.pointerType !== 'mouse';
    const t = hit && target(hit, touch);
    const press = { win, hit, t, button: e.button === 2 ? 'right' : 'left', x: e.clientX, y: e.clientY, timer: 0, angle: null };
    pointers.set(e.pointerId, press);
    if (pointers.size === 2) return start_twist();
    if (!t) return;  // the panel itself: a drag pans it
    const p = within(t, hit.x, hit.y);
    press.point = p;
    mouse(hit.g, p, press.button);
    press.timer = setTimeout(() => {
      // Held: the rectangle repeats the press if it repeats at all (the
      // server sends a repeat only there, never a new press).
      if (!(t[5] & REPEAT)) return;
      press.timer = setInterval(() => mouse(hit.g, press.point, press.button + '-repeat'), REPEAT_EVERY);
    }, REPEAT_DELAY);
  }

  let dragSent = true;
  function moved(win, e) {
    const press = pointers.get(e.pointerId);
    if (!press) {
      if (e.pointerType === 'mouse') hover(win, e);
      return;
    }
    if (twist) return twisted();
    if (!press.t) {
      Panel.pan_by(e.clientX - press.x, e.clientY - press.y);
      press.x = e.clientX;
      press.y = e.clientY;
      return;
    }
    const hit = locate_in(press, e.clientX, e.clientY);
    press.point = within(press.t, hit.x, hit.y);
    if (press.button === 'left' && (press.t[5] & DRAG)) {
      press.dragged = true;
      // One drag a display frame; the last always goes.
      if (dragSent) {
        dragSent = false;
        requestAnimationFrame(() => {
          dragSent = true;
          if (press.sentPoint !== press.point) {
            press.sentPoint = press.point;
            mouse(press.hit.g, press.point, 'drag');
          }
        });
      }
    }
  }

  // The gauge pixel under a client point, for the gauge the press began on
  // (the pointer may have left it).
  function locate_in(press, clientX, clientY) {
    const r = press.win.canvas.getBoundingClientRect();
    const units = r.width > 0 ? press.win.canvas.width / press.win.scale / r.width : 1;
    const b = press.hit.g.box;
    return { x: ((clientX - r.left) * units - b.x) / b.sx, y: ((clientY - r.top) * units - b.y) / b.sy };
  }

  function up(e) {
    const press = pointers.get(e.pointerId);
    if (!press) return;
    pointers.delete(e.pointerId);
    clearTimeout(press.timer);
    clearInterval(press.timer);
    if (press.dragged && press.sentPoint !== press.point) mouse(press.hit.g, press.point, 'drag');
    if (pointers.size < 2) twist = null;
  }

  // Two fingers: a twist turns the knob the first one is on; elsewhere they
  // pinch the panel's zoom.
  function start_twist() {
    const [a, b] = [...pointers.values()];
    for (const p of [a, b]) { clearTimeout(p.timer); clearInterval(p.timer); }
    twist = { knob: turns(a.t) ? a : turns(b.t) ? b : null, angle: angle_of(a, b), spread: spread_of(a, b), turned: 0 };
  }
  const angle_of = (a, b) => Math.atan2(b.y - a.y, b.x - a.x) * 180 / Math.PI;
  const spread_of = (a, b) => Math.hypot(b.x - a.x, b.y - a.y);
  function twisted() {
    const ps = [...pointers.values()];
    if (ps.length < 2) return;
    const [a, b] = ps;
    if (twist.knob) {
      let d = angle_of(a, b) - twist.angle;
      if (d > 180) d -= 360;
      if (d < -180) d += 360;
      twist.turned += d;
      twist.angle = angle_of(a, b);
      while (Math.abs(twist.turned) >= TWIST_STEP) {
        const clockwise = twist.turned > 0;
        twist.turned -= clockwise ? TWIST_STEP : -TWIST_STEP;
        step(twist.knob.hit.g, twist.knob.t, clockwise);
      }
    } else {
      const s = spread_of(a, b);
      if (twist.spread > 0) Panel.zoom_at(s / twist.spread, (a.x + b.x) / 2 - box.getBoundingClientRect().left,
                                          (a.y + b.y) / 2 - box.getBoundingClientRect().top);
      twist.spread = s;
    }
  }
  // Pointer events carry the positions the twist reads.
  window.addEventListener('pointermove', (e) => {
    const p = pointers.get(e.pointerId);
    if (p && twist) { p.x = e.clientX; p.y = e.clientY; twisted(); }
  }, { capture: true });

  // ---- the wheel: on a knob it turns it, elsewhere it zooms.
  let wheelTravel = 0;
  function wheel(win, e) {
    e.preventDefault();
    const hit = locate(win, e.clientX, e.clientY);
    const t = hit && target(hit, false);
    if (!turns(t) || e.ctrlKey) {
      const r = box.getBoundingClientRect();
      return Panel.zoom_at(Math.exp(-e.deltaY / 500), e.clientX - r.left, e.clientY - r.top);
    }
    wheelTravel += e.deltaMode === 0 ? e.deltaY : e.deltaY * WHEEL_STEP;
    while (Math.abs(wheelTravel) >= WHEEL_STEP) {
      const upward = wheelTravel < 0;
      wheelTravel += upward ? WHEEL_STEP : -WHEEL_STEP;
      step(hit.g, t, upward);
    }
  }

  // ---- sub-windows move by their title bar
  function drag_window(win) {
    let from = null;
    win.title.addEventListener('pointerdown', (e) => {
      e.preventDefault();
      win.title.setPointerCapture(e.pointerId);
      const r = win.el.getBoundingClientRect(), b = box.getBoundingClientRect();
      from = { dx: e.clientX - r.left + b.left, dy: e.clientY - r.top + b.top };
    });
    win.title.addEventListener('pointermove', (e) => {
      if (from) Panel.move(win, e.clientX - from.dx, e.clientY - from.dy);
    });
    const end = () => { from = null; };
    win.title.addEventListener('pointerup', end);
    win.title.addEventListener('pointercancel', end);
  }

  // ---- hover: the cursor and the tooltip, asked one at a time
  let hovering = false, nextHover = null;
  function hover(win, e) {
    const hit = locate(win, e.clientX, e.clientY);
    if (!hit) {
      tip.hidden = true;
      win.canvas.style.cursor = 'default';
      return;
    }
    nextHover = { win, hit, cx: e.clientX, cy: e.clientY };
    if (!hovering) ask_hover();
  }
  function ask_hover() {
    const h = nextHover;
    nextHover = null;
    if (!h) return;
    hovering = true;
    Panel.ask('hover', { gauge: h.hit.g.box.alias, x: Math.floor(h.hit.x), y: Math.floor(h.hit.y) }).then((r) => {
      hovering = false;
      if (r && r.status === 200) {
        h.win.canvas.style.cursor = CURSORS[r.cursor] || 'default';
        show_tip(r.tooltip, h.cx, h.cy);
      }
      ask_hover();
    });
  }
  function show_tip(text, x, y) {
    tip.replaceChildren();
    if (!text) {
      tip.hidden = true;
      return;
    }
    // "NAME: VALUE" readouts show their value apart from their name.
    const m = /^([^:]{1,40}):\s*(.+)$/.exec(text);
    if (m) {
      const name = document.createElement('span');
      name.className = 'name';
      name.textContent = m[1];
      const value = document.createElement('span');
      value.className = 'value';
      value.textContent = m[2];
      tip.append(name, value);
    } else {
      tip.textContent = text;
    }
    tip.hidden = false;
    tip.style.left = Math.min(x + 14, window.innerWidth - tip.offsetWidth - 4) + 'px';
    tip.style.top = Math.min(y + 18, window.innerHeight - tip.offsetHeight - 4) + 'px';
  }

  // ---- the keyboard: a focusable button over every control of an open
  // window. Enter or Space presses it (held: repeats), Shift+Enter is the
  // right button, the arrows turn a knob.
  const NAMES = { [CURSOR_UP]: 'increase', [CURSOR_DOWN]: 'decrease', [CURSOR_HAND]: 'press' };
  function place_keys(win, cssPerUnit) {
    if (!win.keys.childElementCount) {
      for (const g of win.gauges) {
        g.box.targets.forEach((t, n) => {
          const b = document.createElement('button');
          b.className = 'key';
          b.tabIndex = 0;
          b.setAttribute('aria-label', g.box.alias.replace(/_/g, ' ') + ' ' + (NAMES[t[4]] || 'control') + ' ' + (n + 1));
          b.dataset.gauge = g.box.alias;
          b.addEventListener('keydown', (e) => key(g, t, b, e));
          b.addEventListener('focus', () => focus_tip(g, t, b));
          b.addEventListener('blur', () => { tip.hidden = true; });
          b.geometry = [g, t];
          win.keys.append(b);
        });
      }
    }
    for (const b of win.keys.children) {
      const [g, t] = b.geometry;
      Object.assign(b.style, {
        left: (g.box.x + t[0] * g.box.sx) * cssPerUnit + 'px', top: (g.box.y + t[1] * g.box.sy) * cssPerUnit + 'px',
        width: t[2] * g.box.sx * cssPerUnit + 'px', height: t[3] * g.box.sy * cssPerUnit + 'px',
      });
    }
  }
  function key(g, t, b, e) {
    const p = centre(t);
    if (e.key === 'Enter' || e.key === ' ') {
      e.preventDefault();
      const button = e.shiftKey ? 'right' : 'left';
      if (!e.repeat) mouse(g, p, button);
      else if (t[5] & REPEAT) mouse(g, p, button + '-repeat');
    } else if (['ArrowUp', 'ArrowRight', 'ArrowDown', 'ArrowLeft'].includes(e.key) && turns(t)) {
      e.preventDefault();
      step(g, t, e.key === 'ArrowUp' || e.key === 'ArrowRight');
    }
  }
  function focus_tip(g, t, b) {
    const p = centre(t);
    Panel.ask('hover', { gauge: g.box.alias, x: p.x, y: p.y }).then((r) => {
      if (!r || r.status !== 200 || document.activeElement !== b) return;
      if (r.tooltip) b.setAttribute('aria-description', r.tooltip);
      const rect = b.getBoundingClientRect();
      show_tip(r.tooltip, rect.right, rect.top);
    });
  }

  return { attach, place_keys };
})();

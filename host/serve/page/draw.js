// Draws the panel on canvases as the host's renderer (host/render) draws it
// with cairo: from each element's snapshot the server sends, and the
// module's bitmaps, fetched once. Every step mirrors the renderer's, so the
// page's picture and the server's differ only by the two libraries'
// filtering and text rasterising.
'use strict';

const Draw = (() => {
  // The fields of an element, in the order the server sends them.
  const F = {
    KIND: 0, BITMAP: 1, X: 2, Y: 3, FLAGS: 4, FAILURE: 5, IMAGE: 6, NEEDLE: 7, TABLE: 8,
    PIVOT_X: 9, PIVOT_Y: 10, MOVE_X: 11, MOVE_Y: 12, MIN_X: 13, MAX_X: 14, MIN_Y: 15, MAX_Y: 16,
    ANGLE: 17, SCALE_X: 18, SCALE_Y: 19, BOX_X: 20, BOX_Y: 21, TEXT_COLOUR: 22, BACK_COLOUR: 23,
    TEXT_FLAGS: 24, PIXELS: 25, TEXT: 26, FONT: 27,
  };
  const KIND = { STATIC: 0, NEEDLE: 1, STRING: 2, SLIDER: 3, ICON: 4, MOVING: 5, SPRITE: 6 };
  const TRANSPARENT = 0x1, HIDDEN = 0x40000000;
  const FAIL_NO_DRAW = 3, FAIL_COVER = 4;
  const TEXT_CENTRE = 0x1, TEXT_RIGHT = 0x2, TEXT_VCENTRE = 0x4, TEXT_BOTTOM = 0x8;
  const DEGREE = Math.PI / 180;
  const LARGEST = 4096;  // the largest resampled bitmap kept, either way
  const MISSING_SIZE = [100, 100];

  const bitmaps = new Map();  // id -> { image, opaque, clear }
  let scaledCache = new Map();

  function canvas(w, h) {
    const c = document.createElement('canvas');
    c.width = w;
    c.height = h;
    return c;
  }

  // One response carries every bitmap: a count, then id, length and PNG each.
  async function load(url) {
    const response = await fetch(url);
    if (!response.ok) throw new Error('the bitmaps did not load: ' + response.status);
    const buffer = await response.arrayBuffer();
    const view = new DataView(buffer);
    const count = view.getUint32(0, true);
    const jobs = [];
    let at = 4;
    for (let i = 0; i < count; i++) {
      const id = view.getUint32(at, true), length = view.getUint32(at + 4, true);
      const blob = new Blob([new Uint8Array(buffer, at + 8, length)], { type: 'image/png' });
      at += 8 + length;
      jobs.push(createImageBitmap(blob, { premultiplyAlpha: 'none', colorSpaceConversion: 'none' })
        .then((image) => [id, image]));
    }
    bitmaps.clear();
    scaledCache = new Map();
    for (const [id, image] of await Promise.all(jobs)) bitmaps.set(id, { image, opaque: null, clear: null });
  }

  // The bitmap as a canvas, pure black made transparent when asked.
  function source(id, transparent) {
    const b = bitmaps.get(id);
    if (!b || id <= 0) return null;
    const key = transparent ? 'clear' : 'opaque';
    if (!b[key]) {
      const c = canvas(b.image.width, b.image.height);
      const ctx = c.getContext('2d');
      ctx.drawImage(b.image, 0, 0);
      if (transparent) {
        const data = ctx.getImageData(0, 0, c.width, c.height);
        const p = data.data;
        for (let i = 0; i < p.length; i += 4) if (p[i] === 0 && p[i + 1] === 0 && p[i + 2] === 0) p[i + 3] = 0;
        ctx.putImageData(data, 0, 0);
      }
      b[key] = c;
    }
    return b[key];
  }

  // The bitmap resampled once to that scale, as the renderer keeps it.
  function scaled(id, transparent, sx, sy) {
    const full = source(id, transparent);
    if (!full || (sx === 1 && sy === 1)) return full;
    const key = id + (transparent ? 't' : 'o') + sx + ',' + sy;
    if (scaledCache.has(key)) return scaledCache.get(key);
    const w = Math.ceil(full.width * sx), h = Math.ceil(full.height * sy);
    let c = null;
    if (w >= 1 && h >= 1 && w <= LARGEST && h <= LARGEST) {
      c = canvas(w, h);
      const ctx = c.getContext('2d');
      ctx.imageSmoothingQuality = 'high';
      ctx.drawImage(full, 0, 0, full.width * sx, full.height * sy);
    }
    // A page zoomed many times over would keep every scale: start afresh.
    if (scaledCache.size > 4000) scaledCache = new Map();
    scaledCache.set(key, c);
    return c;
  }

  function size(elements) {
    if (!elements || !elements.length) return MISSING_SIZE;
    const s = source(elements[0][F.BITMAP], true);
    return s ? [s.width, s.height] : MISSING_SIZE;
  }

  function num(v) { return v === null ? NaN : v; }

  function colourref(c) {
    return 'rgb(' + (c & 255) + ',' + ((c >> 8) & 255) + ',' + ((c >> 16) & 255) + ')';
  }

  function slide(value, min, max, travel) {
    if (travel <= 0 || max === min || !Number.isFinite(value)) return 0;
    return Math.min(Math.max((value - min) / (max - min), 0), 1) * travel;
  }

  // A gauge: its elements drawn in order with (x, y) its top left and sx, sy
  // canvas pixels per gauge pixel, clipped to its background. own(index)
  // gives the pixels an element drew for itself.
  function gauge(ctx, elements, own, x, y, sx, sy) {
    if (!(sx > 0 && sy > 0 && Number.isFinite(sx) && Number.isFinite(sy))) return;
    const [w, h] = size(elements);
    const s = { ctx, sx, sy, uniform: Math.abs(sx - sy) <= 1e-9 * sx };
    ctx.save();
    ctx.translate(x, y);
    ctx.scale(sx, sy);
    ctx.beginPath();
    ctx.rect(0, 0, w, h);
    ctx.clip();
    for (let i = 0; i < elements.length; i++) element(s, elements[i], own(i));
    ctx.restore();
  }

  function element(s, e, own) {
    if ((e[F.FLAGS] & HIDDEN) || e[F.FAILURE] === FAIL_NO_DRAW) return;
    const transparent = (e[F.FLAGS] & TRANSPARENT) !== 0;
    const x = e[F.X], y = e[F.Y];
    switch (e[F.KIND]) {
      case KIND.STATIC:
        if (e[F.PIXELS] > 0) {
          if (own) s.ctx.drawImage(own, x, y);
        } else {
          bitmapAt(s, e[F.BITMAP], transparent, x, y);
        }
        break;
      case KIND.NEEDLE: needle(s, e, transparent); break;
      case KIND.SLIDER: bitmapAt(s, e[F.BITMAP], transparent, x + num(e[F.MOVE_X]), y + num(e[F.MOVE_Y])); break;
      case KIND.ICON: if (e[F.IMAGE] >= 0) bitmapAt(s, e[F.BITMAP] + e[F.IMAGE], transparent, x, y); break;
      case KIND.MOVING: moving(s, e, transparent); break;
      case KIND.SPRITE: sprite(s, e, transparent); break;
      case KIND.STRING: text(s, e); break;
      default: break;
    }
    if (e[F.FAILURE] === FAIL_COVER) {
      const k = e[F.KIND];
      const b = source(k === KIND.MOVING || k === KIND.SPRITE ? e[F.BITMAP] + 1 : e[F.BITMAP], true);
      const w = b ? b.width : e[F.BOX_X], h = b ? b.height : e[F.BOX_Y];
      if (k === KIND.NEEDLE) {
        const r = Math.max(w, h);
        cover(s.ctx, x - r, y - r, 2 * r, 2 * r);
      } else {
        cover(s.ctx, x, y, w, h);
      }
    }
  }

  function bitmapAt(s, id, transparent, x, y) {
    const { ctx, sx, sy } = s;
    const small = scaled(id, transparent, sx, sy);
    if (small) {
      ctx.save();
      ctx.scale(1 / sx, 1 / sy);
      ctx.drawImage(small, x * sx, y * sy);
      ctx.restore();
    } else {
      const full = source(id, transparent);
      if (full) ctx.drawImage(full, x, y);
      else missing(ctx, id, x, y, 32, 32);
    }
  }

  function needle(s, e, transparent) {
    const { ctx, sx, sy } = s;
    const full = source(e[F.BITMAP], transparent);
    if (!full) return missing(ctx, e[F.BITMAP], e[F.X] - 8, e[F.Y] - 8, 16, 16);
    const small = s.uniform ? scaled(e[F.BITMAP], transparent, sx, sy) : null;
    const turn = (num(e[F.NEEDLE]) - (e[F.TABLE] ? 90 : 0)) * DEGREE;
    ctx.save();
    ctx.translate(e[F.X], e[F.Y]);
    if (small) {
      ctx.scale(1 / sx, 1 / sy);
      ctx.rotate(turn);
      ctx.drawImage(small, -e[F.PIVOT_X] * sx, -e[F.PIVOT_Y] * sy);
    } else {
      ctx.rotate(turn);
      ctx.drawImage(full, -e[F.PIVOT_X], -e[F.PIVOT_Y]);
    }
    ctx.restore();
  }

  // What a picture shows through its mask: the mask's size, drawn by paint.
  // One scratch canvas per size, reused every drawing: a canvas made for
  // every moving element of every frame costs more than the drawing.
  const scratch = new Map();
  function masked(mask, paint) {
    const key = mask.width + 'x' + mask.height;
    let c = scratch.get(key);
    if (!c) {
      if (scratch.size > 256) scratch.clear();
      c = canvas(mask.width, mask.height);
      scratch.set(key, c);
    }
    const ctx = c.getContext('2d');
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.globalCompositeOperation = 'source-over';
    ctx.clearRect(0, 0, c.width, c.height);
    paint(ctx);
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.globalCompositeOperation = 'destination-in';
    ctx.drawImage(mask, 0, 0);
    return c;
  }

  function moving(s, e, transparent) {
    const { ctx, sx, sy } = s;
    const strip = source(e[F.BITMAP], transparent), mask = source(e[F.BITMAP] + 1, true);
    if (!strip || !mask) return missing(ctx, strip ? e[F.BITMAP] + 1 : e[F.BITMAP], e[F.X], e[F.Y], 16, 16);
    const dx = slide(num(e[F.MOVE_X]), num(e[F.MIN_X]), num(e[F.MAX_X]), strip.width - mask.width);
    const dy = slide(num(e[F.MOVE_Y]), num(e[F.MIN_Y]), num(e[F.MAX_Y]), strip.height - mask.height);
    const smallStrip = scaled(e[F.BITMAP], transparent, sx, sy);
    const smallMask = smallStrip ? scaled(e[F.BITMAP] + 1, true, sx, sy) : null;
    ctx.save();
    if (smallMask) {
      ctx.scale(1 / sx, 1 / sy);
      ctx.drawImage(masked(smallMask, (m) => m.drawImage(smallStrip, -dx * sx, -dy * sy)), e[F.X] * sx, e[F.Y] * sy);
    } else {
      ctx.drawImage(masked(mask, (m) => m.drawImage(strip, -dx, -dy)), e[F.X], e[F.Y]);
    }
    ctx.restore();
  }

  function sprite(s, e, transparent) {
    const { ctx, sx, sy } = s;
    const texture = source(e[F.BITMAP], transparent), mask = source(e[F.BITMAP] + 1, true);
    if (!texture || !mask) return missing(ctx, texture ? e[F.BITMAP] + 1 : e[F.BITMAP], e[F.X], e[F.Y], 16, 16);
    const mx = num(e[F.MOVE_X]), my = num(e[F.MOVE_Y]), angle = num(e[F.ANGLE]);
    const tsx = num(e[F.SCALE_X]), tsy = num(e[F.SCALE_Y]);
    for (const d of [mx, my, angle, tsx, tsy]) if (!Number.isFinite(d)) return;
    if (tsx === 0 || tsy === 0) return;
    const smallTexture = s.uniform ? scaled(e[F.BITMAP], transparent, sx, sy) : null;
    const smallMask = smallTexture ? scaled(e[F.BITMAP] + 1, true, sx, sy) : null;
    const k = smallMask ? sx : 1;
    const px = e[F.X] * k, py = e[F.Y] * k;
    const picture = masked(smallMask || mask, (m) => {
      m.translate(-px, -py);
      m.translate(e[F.PIVOT_X] * k, e[F.PIVOT_Y] * k);
      m.rotate(-angle * DEGREE);
      m.translate(-mx * k, -my * k);
      m.scale(tsx, tsy);
      m.drawImage(smallMask ? smallTexture : texture, -texture.width * k / 2, -texture.height * k / 2);
    });
    ctx.save();
    if (smallMask) ctx.scale(1 / sx, 1 / sy);
    ctx.drawImage(picture, px, py);
    ctx.restore();
  }

  function text(s, e) {
    const ctx = s.ctx;
    const w = e[F.BOX_X], h = e[F.BOX_Y], x = e[F.X], y = e[F.Y];
    if (w <= 0 || h <= 0) return;
    ctx.save();
    ctx.beginPath();
    ctx.rect(x, y, w, h);
    ctx.clip();
    if (e[F.BACK_COLOUR] !== 0 || !(e[F.FLAGS] & TRANSPARENT)) {
      ctx.fillStyle = colourref(e[F.BACK_COLOUR]);
      ctx.fillRect(x, y, w, h);
    }
    // A family this machine lacks falls back to DejaVu Sans, as fontconfig
    // makes cairo's do.
    ctx.font = (h * 0.75) + 'px ' + (e[F.FONT] ? JSON.stringify(e[F.FONT]) + ', ' : '') + '"DejaVu Sans"';
    const m = ctx.measureText(e[F.TEXT]);
    const height = m.actualBoundingBoxAscent + m.actualBoundingBoxDescent, bearing = -m.actualBoundingBoxAscent;
    const f = e[F.TEXT_FLAGS];
    const tx = f & TEXT_CENTRE ? x + (w - m.width) / 2 : f & TEXT_RIGHT ? x + w - m.width : x;
    const ty = f & TEXT_VCENTRE ? y + (h - height) / 2 - bearing
      : f & TEXT_BOTTOM ? y + h - (height + bearing) : y - bearing;
    ctx.fillStyle = colourref(e[F.TEXT_COLOUR]);
    ctx.fillText(e[F.TEXT], tx, ty);
    ctx.restore();
  }

  // The host's cover over a failed element: a grey plate, hatched.
  function cover(ctx, x, y, w, h) {
    ctx.save();
    ctx.beginPath();
    ctx.rect(x, y, w, h);
    ctx.clip();
    ctx.fillStyle = 'rgb(89,89,92)';
    ctx.fillRect(x, y, w, h);
    ctx.strokeStyle = 'rgb(56,56,58)';
    ctx.lineWidth = 3;
    ctx.beginPath();
    for (let d = -h; d < w; d += 10) {
      ctx.moveTo(x + d, y + h);
      ctx.lineTo(x + d + h, y);
    }
    ctx.stroke();
    ctx.restore();
  }

  // Magenta and black, crossed, with the id: no one takes it for artwork.
  function missing(ctx, id, x, y, w, h) {
    ctx.save();
    ctx.fillStyle = '#f0f';
    ctx.fillRect(x, y, w, h);
    ctx.strokeStyle = '#000';
    ctx.lineWidth = 2;
    ctx.strokeRect(x, y, w, h);
    ctx.beginPath();
    ctx.moveTo(x, y);
    ctx.lineTo(x + w, y + h);
    ctx.moveTo(x + w, y);
    ctx.lineTo(x, y + h);
    ctx.stroke();
    const size = Math.min(Math.max(h / 3, 6), 14);
    ctx.font = 'bold ' + size + 'px "DejaVu Sans"';
    ctx.fillStyle = '#000';
    ctx.fillText(id + '?', x + 2, y + size);
    ctx.restore();
  }

  // The window's colour, and over it its bitmap stretched to its size.
  // The window's colour and picture, resampled once for the size it is shown
  // at (a high-quality resampling of the whole window every frame would cost
  // more than all its gauges) and copied pixel for pixel after that.
  const backdrops = new Map();  // picture (or colour) -> canvas at the last size
  function backdrop(ctx, colour, image, w, h) {
    const t = ctx.getTransform();
    const pw = Math.round(w * t.a), ph = Math.round(h * t.d);
    const key = image || colour;
    let c = backdrops.get(key);
    if (!c || c.width !== pw || c.height !== ph || c.colour !== colour) {
      c = canvas(Math.max(1, pw), Math.max(1, ph));
      c.colour = colour;
      const b = c.getContext('2d');
      b.fillStyle = 'rgb(' + ((colour >> 16) & 255) + ',' + ((colour >> 8) & 255) + ',' + (colour & 255) + ')';
      b.fillRect(0, 0, c.width, c.height);
      if (image && w > 0 && h > 0) {
        b.imageSmoothingQuality = 'high';
        b.drawImage(image, 0, 0, c.width, c.height);
      }
      backdrops.set(key, c);
    }
    ctx.save();
    ctx.setTransform(1, 0, 0, 1, t.e, t.f);
    ctx.drawImage(c, 0, 0);
    ctx.restore();
  }

  return { load, gauge, size, backdrop, F };
})();

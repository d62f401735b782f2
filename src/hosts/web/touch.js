// Thumb-sized controls for touch screens: up and down on the left, throw and
// refill on the right. They come up on the first touch and go when a key or
// a pad is used. Each plays its game key through the keyboard's own path
// (input.touch), so a tap between two frames counts and touch play is
// recorded like any other. They sit beside the picture where
// there is room (below it when the screen stands upright) and over its edges
// only where there is not, never over its middle.
import { safe_area } from './safe_area.js';

const SVG = 'xmlns="http://www.w3.org/2000/svg" viewBox="0 0 100 100"';
const SHAPES = {
    up: `<svg ${SVG}><path d="M50 22 L80 70 H20 Z"/></svg>`,
    down: `<svg ${SVG}><path d="M50 78 L80 30 H20 Z"/></svg>`,
    // A bean flying off, with its trail.
    throw: `<svg ${SVG}><circle cx="62" cy="50" r="16"/>` +
        '<path d="M18 38 H40 M12 50 H38 M18 62 H40" stroke-width="7" stroke-linecap="round"/></svg>',
    // A bowl brimming with beans.
    refill: `<svg ${SVG}><circle cx="36" cy="40" r="9"/><circle cx="54" cy="36" r="9"/><circle cx="66" cy="46" r="9"/>` +
        '<path d="M18 52 H82 Q78 80 50 80 Q22 80 18 52 Z"/></svg>',
};

// Each control, by the name of the game key it plays.
const CONTROLS = [
    { name: 'up', side: 'left' },
    { name: 'down', side: 'left' },
    { name: 'refill', side: 'right' },
    { name: 'throw', side: 'right' },
];

const STYLE = `
#touch { position: fixed; inset: 0; pointer-events: none; z-index: 1; } /* above the options, which they drive */
#touch[hidden] { display: none; }
#touch .control { position: absolute; box-sizing: border-box; border-radius: 50%;
    border: 3px solid rgba(255, 255, 255, 0.55); background: rgba(255, 255, 255, 0.14);
    pointer-events: auto; touch-action: none; user-select: none; -webkit-user-select: none;
    -webkit-touch-callout: none; -webkit-tap-highlight-color: transparent; }
#touch .control.pressed { background: rgba(255, 210, 90, 0.55); border-color: rgba(255, 230, 160, 0.9); }
#touch .control svg { width: 100%; height: 100%; fill: rgba(255, 255, 255, 0.7); stroke: rgba(255, 255, 255, 0.7); }
#touch-menu-slot { position: absolute; }
body.touching { touch-action: none; user-select: none; -webkit-user-select: none; -webkit-touch-callout: none; }
`;

function overlaps(a, b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Where each control and the options slot go, as { left, top, size } in CSS
// pixels, for a viewport of width x height and the picture's rectangle.
export function touch_layout(width, height, picture) {
    // Upright, a row may have to hold both pairs side by side: five controls and their gaps.
    const fit = width >= height ? Infinity : width / 5.4;
    const size = Math.round(Math.max(44, Math.min(96, Math.min(width, height) * 0.2, fit)));
    const big = Math.round(size * 1.2); // throw, the one held longest
    const gap = Math.round(size * 0.25), margin = Math.round(size * 0.15);
    const slot = Math.round(size * 0.7);
    // The picture's middle, which nothing may cover.
    const middle = {
        left: picture.left + picture.width / 4, right: picture.right - picture.width / 4,
        top: picture.top + picture.height / 4, bottom: picture.bottom - picture.height / 4,
    };
    const place = {};
    if (width >= height) {
        // Columns beside the picture, or over its left and right quarters when the sides are narrow.
        const left_room = picture.left >= big + 2 * margin ? picture.left : Math.max(middle.left, big + 2 * margin);
        const right_edge = width - picture.right >= big + 2 * margin ? picture.right : Math.min(middle.right, width - big - 2 * margin);
        const column = (names, from, to, top, bottom) => {
            const sizes = names.map(name => name === 'throw' ? big : size);
            const total = sizes.reduce((a, b) => a + b) + gap * (names.length - 1);
            let y = Math.max(top, top + (bottom - top - total) / 2);
            names.forEach((name, i) => {
                place[name] = { left: Math.round((from + to - sizes[i]) / 2), top: Math.round(y), size: sizes[i] };
                y += sizes[i] + gap;
            });
        };
        place.slot = { left: Math.round(width - margin - slot), top: margin, size: slot };
        column(['up', 'down'], 0, left_room, 0, height);
        column(['refill', 'throw'], right_edge, width, margin + slot + gap, height);
    } else {
        // A band below the picture, or over its lowest quarter when the band is thin;
        // the options slot at its top right, the controls under it.
        const stacked_height = margin + slot + gap + size + gap + big + margin;
        const top = height - picture.bottom >= stacked_height ? picture.bottom
            : Math.max(middle.bottom, height - stacked_height);
        place.slot = { left: Math.round(width - margin - slot), top: Math.round(top + margin), size: slot };
        const from = top + margin + slot + gap, room = height - margin - from;
        const stacked = room >= size + gap + big;
        const pair = (names, side) => { // stacked, or side by side, at the band's left or right
            const sizes = names.map(name => name === 'throw' ? big : size);
            const across = stacked ? Math.max(...sizes) : sizes[0] + gap + sizes[1];
            const x = side === 'left' ? margin : width - margin - across;
            names.forEach((name, i) => {
                const left = stacked ? x + (across - sizes[i]) / 2 : x + i * (sizes[0] + gap);
                const y = stacked ? from + Math.max(0, (room - size - gap - big) / 2) + i * (sizes[0] + gap)
                    : from + Math.max(0, (room - sizes[i]) / 2);
                place[name] = { left: Math.round(left), top: Math.round(y), size: sizes[i] };
            });
        };
        pair(['up', 'down'], 'left');
        pair(['refill', 'throw'], 'right');
    }
    // Last resort on a tiny screen: a control that still covers the middle moves to the nearest side.
    for (const name of Object.keys(place)) {
        const p = place[name];
        const box = { left: p.left, top: p.top, right: p.left + p.size, bottom: p.top + p.size };
        if (!overlaps(box, middle)) continue;
        if (width >= height) p.left = p.left < width / 2 ? Math.round(middle.left - p.size) : Math.round(middle.right);
        else p.top = Math.round(middle.bottom);
    }
    return place;
}

// input: the page's keyboard (make_input). canvas: the picture.
export function make_touch(input, canvas) {
    const style = document.createElement('style');
    style.textContent = STYLE;
    document.head.append(style);
    const layer = document.createElement('div');
    layer.id = 'touch';
    layer.hidden = true;
    // Before the page's "play again" cover, which comes after it and so lies above it.
    document.getElementById('over').before(layer);
    const slot = document.createElement('div');
    slot.id = 'touch-menu-slot';
    slot.hidden = true;
    layer.append(slot);

    const controls = CONTROLS.map(({ name, code }) => {
        const element = document.createElement('div');
        element.className = `control ${name}`;
        element.setAttribute('role', 'button');
        element.setAttribute('aria-label', name);
        element.innerHTML = SHAPES[name];
        layer.append(element);
        const control = { name, code, element, pointers: new Set() };
        const down = event => {
            event.preventDefault();
            element.setPointerCapture(event.pointerId);
            control.pointers.add(event.pointerId);
            if (control.pointers.size === 1) set(control, true);
        };
        const up = event => {
            if (!control.pointers.delete(event.pointerId)) return;
            if (control.pointers.size === 0) set(control, false);
        };
        element.addEventListener('pointerdown', down);
        element.addEventListener('pointerup', up);
        element.addEventListener('pointercancel', up);
        element.addEventListener('lostpointercapture', up);
        return control;
    });

    function set(control, held) {
        control.element.classList.toggle('pressed', held);
        input.touch(control.name, held);
    }

    function release_all() {
        for (const control of controls) {
            if (!control.pointers.size) continue;
            control.pointers.clear();
            set(control, false);
        }
    }

    function lay_out() {
        if (layer.hidden) return;
        // Laid out in the safe area, clear of a notch.
        const { left, top, right, bottom } = safe_area(), r = canvas.getBoundingClientRect();
        const place = touch_layout(innerWidth - left - right, innerHeight - top - bottom, {
            left: r.left - left, right: r.right - left, top: r.top - top, bottom: r.bottom - top, width: r.width, height: r.height });
        for (const [element, p] of [...controls.map(c => [c.element, place[c.name]]), [slot, place.slot]]) {
            Object.assign(element.style, { left: `${p.left + left}px`, top: `${p.top + top}px`, width: `${p.size}px`, height: `${p.size}px` });
        }
    }

    function show() {
        if (!layer.hidden) return;
        layer.hidden = false;
        document.body.classList.add('touching');
        lay_out();
    }

    function hide() {
        if (layer.hidden) return;
        release_all();
        layer.hidden = true;
        document.body.classList.remove('touching');
    }

    addEventListener('pointerdown', event => { if (event.pointerType === 'touch') show(); }, true);
    addEventListener('resize', lay_out);
    new ResizeObserver(lay_out).observe(canvas);
    addEventListener('blur', release_all);
    // No long-press menu while playing by touch, on the controls or the picture.
    addEventListener('contextmenu', event => { if (!layer.hidden) event.preventDefault(); });
    input.when_key_or_pad(hide);
    return { show, hide };
}

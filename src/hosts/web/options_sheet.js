// The options menu for fingers: the module's menu (the same rows, values and
// rules as everywhere) laid out by the page in rows a thumb can hit, each
// value between a - and a + button. It fills the room the touch controls
// leave, so that the options button that opened it stays above it and
// closes it, and it scrolls where the rows do not all fit.
import { safe_area } from './safe_area.js';

// The menu picture's colours, so that both menus look alike; opaque, or the
// picture's own text shows through between the rows.
const STYLE = `
#options-sheet { position: fixed; box-sizing: border-box; display: flex; flex-direction: column;
    background: rgb(16, 24, 40); color: #fff; font: 17px sans-serif; touch-action: none; }
#options-sheet[hidden] { display: none; }
#options-sheet h2 { flex: none; margin: 0; min-height: 44px; display: flex; align-items: center;
    justify-content: center; color: #ffd860; font-size: 19px; font-weight: normal; }
#options-sheet ol { flex: 1; min-height: 0; margin: 0; padding: 0; list-style: none; overflow-y: auto;
    overscroll-behavior: contain; touch-action: pan-y; }
#options-sheet li { display: flex; align-items: center; min-height: 48px; padding: 0 6px 0 12px; gap: 6px; }
#options-sheet li.cursor { background: #34507c; }
#options-sheet .label { flex: 1; align-self: stretch; min-height: 48px; padding: 0; border: 0; background: none;
    color: inherit; font: inherit; text-align: left; }
#options-sheet .value { color: #a8e0ff; text-align: center; min-width: 4em; }
#options-sheet .step { flex: none; width: 44px; height: 44px; padding: 0; border: 2px solid rgba(255, 255, 255, 0.55);
    border-radius: 50%; background: rgba(255, 255, 255, 0.14); color: #fff; font: 24px sans-serif; }
#options-sheet p { flex: none; margin: 0; padding: 8px 12px; color: #c8c8c8; font-size: 15px; white-space: pre-wrap; }
#options-sheet button { -webkit-tap-highlight-color: transparent; touch-action: manipulation; }
`;
const MINUS = '\u2212';
const WIDEST = 560; // CSS px: on a tablet the values stay near their labels

// The module's web_menu_sheet text: "title\tfoot\tcursor\n", then a row a line.
export function read_sheet(text) {
    const [head, ...lines] = text.split('\n');
    const [title = '', foot = '', cursor = '0'] = head.split('\t');
    const rows = lines.filter(line => line).map(line => {
        const [label, value, steps] = line.split('\t');
        return { label, value, steps: steps === '1' };
    });
    return { title, foot, cursor: Number(cursor), rows };
}

// tap(row, direction): a tap on a row (0) or its - or + (-1, +1).
export function make_options_sheet(screen, tap) {
    document.head.append(Object.assign(document.createElement('style'), { textContent: STYLE }));
    const sheet = Object.assign(document.createElement('div'), { id: 'options-sheet', hidden: true });
    sheet.setAttribute('role', 'dialog');
    const title = Object.assign(document.createElement('h2'), { id: 'options-sheet-title' });
    sheet.setAttribute('aria-labelledby', title.id);
    const list = document.createElement('ol');
    const foot = document.createElement('p');
    foot.setAttribute('aria-live', 'polite');
    sheet.append(title, list, foot);
    document.getElementById('over').before(sheet); // under the touch controls and the "play again" cover

    // What the menu takes stays the menu's: no sound let go, no control pressed.
    for (const type of ['pointerdown', 'pointerup', 'touchend', 'click', 'contextmenu'])
        sheet.addEventListener(type, event => event.stopPropagation());
    sheet.addEventListener('click', event => {
        const button = event.target.closest('button[data-row]');
        if (button) tap(Number(button.dataset.row), Number(button.dataset.step));
    });

    // The whole screen inside the safe area, less what the touch controls
    // and the options button take: upright they lie below, else at the sides.
    function lay_out() {
        const inset = safe_area();
        let left = inset.left, top = inset.top, right = innerWidth - inset.right, bottom = innerHeight - inset.bottom;
        const upright = innerWidth < innerHeight;
        const layer = document.getElementById('touch');
        const taken = layer && !layer.hidden ? [...layer.querySelectorAll('.control, #options-button')] : [];
        for (const element of taken) {
            const r = element.getBoundingClientRect();
            if (!r.width || r.right <= left || r.left >= right || r.bottom <= top || r.top >= bottom) continue;
            if (upright) bottom = Math.min(bottom, r.top);
            else if (r.left + r.width / 2 < innerWidth / 2) left = Math.max(left, r.right);
            else right = Math.min(right, r.left);
        }
        // Never narrower than the picture, whatever lies over it.
        const picture = screen.getBoundingClientRect();
        if (right - left < Math.min(picture.width, innerWidth)) [left, right] = [picture.left, picture.right];
        if (right - left > WIDEST) [left, right] = [(left + right - WIDEST) / 2, (left + right + WIDEST) / 2];
        Object.assign(sheet.style, { left: `${left}px`, top: `${top}px`, width: `${right - left}px`, height: `${bottom - top}px` });
    }
    addEventListener('resize', () => { if (!sheet.hidden) lay_out(); });

    function button(row, step, text, label) {
        const element = document.createElement('button');
        element.type = 'button';
        element.dataset.row = row;
        element.dataset.step = step;
        element.className = step ? 'step' : 'label';
        element.textContent = text;
        if (label) element.setAttribute('aria-label', label);
        return element;
    }

    function show(text) {
        const { title: heading, foot: line, cursor, rows } = read_sheet(text);
        sheet.hidden = false;
        lay_out(); // the touch controls may have come up since
        title.textContent = heading;
        foot.textContent = line;
        list.replaceChildren(...rows.map((row, index) => {
            const item = document.createElement('li');
            if (index === cursor) item.className = 'cursor';
            item.append(button(index, 0, row.label));
            const value = document.createElement('span');
            value.className = 'value';
            value.textContent = row.value;
            if (row.steps) item.append(button(index, -1, MINUS, `${row.label} ${MINUS}`), value,
                button(index, +1, '+', `${row.label} +`));
            else if (row.value) item.append(value);
            return item;
        }));
        list.children[cursor]?.scrollIntoView({ block: 'nearest' });
    }

    function hide() {
        sheet.hidden = true;
    }

    return { show, hide, element: sheet };
}

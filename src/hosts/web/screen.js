// The picture: the game's RGB565 back buffer drawn on a 320 x 240 canvas,
// scaled by the largest whole factor that fits the window (index.html's
// kuzari_fit), centred on black.

// RGB565 to the canvas's RGBA bytes, read as one little-endian word (ABGR).
// Each channel widened by repeating its top bits, so 31 and 63 give 255.
const rgba_of = new Uint32Array(65536);
for (let c = 0; c < 65536; c++) {
    const r = c >> 11, g = (c >> 5) & 63, b = c & 31;
    rgba_of[c] = (0xff000000 | (b << 3 | b >> 2) << 16 | (g << 2 | g >> 4) << 8 | (r << 3 | r >> 2)) >>> 0;
}

export function make_screen(canvas) {
    const context = canvas.getContext('2d', { alpha: false });
    let image = null, rgba = null;
    let shown = null; // { pointer, pitch } of the picture to draw next

    const fit = () => window.kuzari_fit(canvas); // index.html's, which sized it before the first paint
    addEventListener('resize', fit);

    return {
        open(width, height) {
            canvas.width = width;
            canvas.height = height;
            image = context.createImageData(width, height);
            rgba = new Uint32Array(image.data.buffer);
            fit();
            return true;
        },
        close() {
            shown = null;
        },
        // Notes the picture; the page draws the latest one once a refresh.
        present(pointer, pitch) {
            shown = { pointer, pitch };
        },
        // Draws the picture presented last, if it is new; memory is the
        // game's, read only while the picture is still there.
        draw(memory) {
            if (!shown || !image) return false;
            const { pointer, pitch } = shown;
            shown = null;
            const width = canvas.width, height = canvas.height, stride = pitch >> 1;
            const pixels = new Uint16Array(memory.buffer, pointer, stride * (height - 1) + width);
            for (let y = 0, i = 0; y < height; y++)
                for (let x = 0, row = y * stride; x < width; x++) rgba[i++] = rgba_of[pixels[row + x]];
            context.putImageData(image, 0, 0);
            return true;
        },
    };
}

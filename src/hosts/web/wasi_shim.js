// Just enough WASI (snapshot preview1) for the game built against wasi-libc:
// read-only files from a Map under one preopened directory "/", standard output
// and error to the console a line at a time, and the clock. Any other call the
// module imports answers ENOSYS with a console warning.

const ESUCCESS = 0, EBADF = 8, EINVAL = 28, ENOENT = 44, ENOSYS = 52, EROFS = 69;
const FILETYPE_CHARACTER_DEVICE = 2, FILETYPE_DIRECTORY = 3, FILETYPE_REGULAR_FILE = 4;
const PREOPEN_FD = 3;
const ALL_RIGHTS = 0xffffffffffffffffn;
const O_CREAT = 1, O_DIRECTORY = 2, O_TRUNC = 8;

// files: Map from a path under "/" ("bitmap/title.bmp") to a Uint8Array.
// memory(): the instance's memory. Views are made afresh on every call, since
// growing the memory detaches the buffer an older view was made on.
export function make_wasi(files, memory) {
    const open_files = new Map(); // fd -> { data, position }
    let next_fd = PREOPEN_FD + 1;
    const pending_text = { 1: '', 2: '' };
    const view = () => new DataView(memory().buffer);
    const bytes = (pointer, length) => new Uint8Array(memory().buffer, pointer, length);
    const decoder = new TextDecoder();

    // An iovec array ({u32 buffer, u32 length} each) as [pointer, length] pairs.
    function iovecs(pointer, count) {
        const dv = view(), list = [];
        for (let i = 0; i < count; i++)
            list.push([dv.getUint32(pointer + 8 * i, true), dv.getUint32(pointer + 8 * i + 4, true)]);
        return list;
    }

    const wasi = {
        fd_prestat_get(fd, out) {
            if (fd !== PREOPEN_FD) return EBADF;
            const dv = view();
            dv.setUint8(out, 0); // a directory
            dv.setUint32(out + 4, 1, true); // its name's length: "/"
            return ESUCCESS;
        },
        fd_prestat_dir_name(fd, pointer, length) {
            if (fd !== PREOPEN_FD || length < 1) return EBADF;
            bytes(pointer, 1)[0] = 0x2f;
            return ESUCCESS;
        },
        fd_fdstat_get(fd, out) {
            let type;
            if (fd <= 2) type = FILETYPE_CHARACTER_DEVICE;
            else if (fd === PREOPEN_FD) type = FILETYPE_DIRECTORY;
            else if (open_files.has(fd)) type = FILETYPE_REGULAR_FILE;
            else return EBADF;
            const dv = view();
            dv.setUint8(out, type);
            dv.setUint16(out + 2, 0, true);
            dv.setBigUint64(out + 8, ALL_RIGHTS, true);
            dv.setBigUint64(out + 16, ALL_RIGHTS, true);
            return ESUCCESS;
        },
        fd_fdstat_set_flags() { return ESUCCESS; },
        path_open(dirfd, _dirflags, path_pointer, path_length, oflags, _rights, _inheriting, _fdflags, fd_out) {
            if (dirfd !== PREOPEN_FD) return EBADF;
            if (oflags & (O_CREAT | O_TRUNC)) return EROFS;
            const path = path_at(memory(), path_pointer, path_length);
            const data = files.get(path);
            if (!data || oflags & O_DIRECTORY) return ENOENT;
            const fd = next_fd++;
            open_files.set(fd, { data, position: 0 });
            view().setUint32(fd_out, fd, true);
            return ESUCCESS;
        },
        fd_read(fd, iovs, count, read_out) {
            const file = open_files.get(fd);
            if (!file) return EBADF;
            let total = 0;
            for (const [pointer, length] of iovecs(iovs, count)) {
                const chunk = file.data.subarray(file.position, file.position + length);
                bytes(pointer, chunk.length).set(chunk);
                file.position += chunk.length;
                total += chunk.length;
                if (chunk.length < length) break;
            }
            view().setUint32(read_out, total, true);
            return ESUCCESS;
        },
        fd_seek(fd, offset, whence, position_out) {
            const file = open_files.get(fd);
            if (!file) return EBADF;
            const base = [0, file.position, file.data.length][whence];
            if (base === undefined) return EINVAL;
            const position = base + Number(offset); // an i64 arrives as a BigInt
            if (position < 0) return EINVAL;
            file.position = position;
            view().setBigUint64(position_out, BigInt(position), true);
            return ESUCCESS;
        },
        fd_close(fd) {
            return open_files.delete(fd) ? ESUCCESS : EBADF;
        },
        fd_write(fd, iovs, count, written_out) {
            if (fd !== 1 && fd !== 2) return EBADF;
            let total = 0, text = '';
            for (const [pointer, length] of iovecs(iovs, count)) {
                text += decoder.decode(bytes(pointer, length));
                total += length;
            }
            const lines = (pending_text[fd] + text).split('\n');
            pending_text[fd] = lines.pop();
            for (const line of lines) (fd === 1 ? console.log : console.error)(line);
            view().setUint32(written_out, total, true);
            return ESUCCESS;
        },
        clock_time_get(_id, _precision, time_out) {
            view().setBigUint64(time_out, BigInt(Math.round(performance.now() * 1e6)), true);
            return ESUCCESS;
        },
        environ_sizes_get(count_out, size_out) {
            view().setUint32(count_out, 0, true);
            view().setUint32(size_out, 0, true);
            return ESUCCESS;
        },
        environ_get() { return ESUCCESS; },
        args_sizes_get(count_out, size_out) { return wasi.environ_sizes_get(count_out, size_out); },
        args_get() { return ESUCCESS; },
        proc_exit(code) { throw new Error(`the game called exit(${code})`); },
    };
    return wasi;
}

// The path a call names, as the files' Map has it: under "/" without the slash.
export function path_at(memory, pointer, length) {
    return new TextDecoder().decode(new Uint8Array(memory.buffer, pointer, length)).replace(/^(\.?\/)+/, '');
}

// Fills in any WASI call the shim lacks, so that a new one shows up as a
// console warning instead of failing to link.
export function complete_imports(module, wasi) {
    for (const { module: from, name, kind } of WebAssembly.Module.imports(module)) {
        if (from === 'wasi_snapshot_preview1' && kind === 'function' && !(name in wasi)) {
            wasi[name] = () => {
                console.warn(`wasi: ${name} is not implemented`);
                return ENOSYS;
            };
        }
    }
    return wasi;
}

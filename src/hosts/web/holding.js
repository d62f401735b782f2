// A step that opens a data file still on its way waits for it. The module is
// built with binaryen's Asyncify (src/hosts/web/CMakeLists.txt), the file's
// open its one import that may wait: the open puts the step's call stack aside
// in the module's hold room (web_hold.cpp) and the step returns at once; the
// page runs no step until the file has come, then calls the same step again,
// which carries on inside the open as if it had never stopped. The game's
// frames are those it would have had with every file at hand.

export const HELD = -1; // what a step put aside returns

// files: the data files (loading.js's store); memory(), exports(): the
// instance's, once made.
export function make_holding(files, memory, exports) {
    let waiting = null;   // the file a step waits for: a promise
    let resuming = false; // the next call carries on a step put aside
    let holds = 0;        // steps put aside so far

    function put_aside(arrival) {
        const x = exports(), room = x.web_hold_room(), view = new DataView(memory().buffer);
        view.setUint32(room, room + 8, true);                        // where the saved frames start
        view.setUint32(room + 4, room + x.web_hold_room_bytes(), true); // and where the room ends
        waiting = arrival;
        holds++;
        x.asyncify_start_unwind(room);
    }

    return {
        // The WASI calls with the open that waits.
        wrap(wasi, path_of) {
            const open = wasi.path_open;
            wasi.path_open = (...args) => {
                if (resuming) {
                    resuming = false;
                    exports().asyncify_stop_rewind();
                } else {
                    const arrival = files.arrival(path_of(args[2], args[3]));
                    if (arrival) {
                        put_aside(arrival);
                        return 0; // not seen: the step is on its way out
                    }
                }
                return open(...args);
            };
            return wasi;
        },
        // The export called, or carried on when a step of it was put aside:
        // its result, or HELD while a file is on its way (`waiting` says which).
        call(name, ...args) {
            const x = exports();
            if (waiting) return HELD;
            if (resuming) x.asyncify_start_rewind(x.web_hold_room());
            const result = x[name](...args);
            if (!waiting) return result;
            x.asyncify_stop_unwind();
            waiting.then(() => {
                waiting = null;
                resuming = true;
            });
            return HELD;
        },
        // As call, waiting as long as it takes.
        async call_through(name, ...args) {
            for (;;) {
                const result = this.call(name, ...args);
                if (result !== HELD) return result;
                await this.arrival();
            }
        },
        held: () => waiting !== null,
        holds: () => holds,
        arrival: () => waiting ?? Promise.resolve(),
    };
}

// A link that saves a game's recording (the desktop's format, which
// `kuzari --playback` and kuzari-replay play) for a bug report. One link of
// each id at a time; its file is named after the moment it was made.
export function recording_link(id, name, recording, label) {
    const old = document.getElementById(id);
    if (old) {
        URL.revokeObjectURL(old.href);
        old.remove();
    }
    const link = document.createElement('a');
    link.id = id;
    link.href = URL.createObjectURL(new Blob([recording], { type: 'text/plain' }));
    link.download = `kuzari-${name}${new Date().toISOString().replace(/[:.]/g, '-')}.txt`;
    link.textContent = label;
    return link;
}

// The game's recording so far, or null when there is none to read.
export function game_recording(game) {
    try {
        return game?.started ? game.string(game.exports.web_recording()) : null;
    } catch (_) {
        return null; // the game's memory is past reading
    }
}

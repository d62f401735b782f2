// The page's URL parameters: lang=ja|en (else the browser's language) and
// seed=N (the random seed, else the calendar clock). For the tests, which
// turn on test mode (test_mode.js): replay=URL plays a kuzari-replay script,
// in Japanese unless lang=en or the script asks; record=1 records live play.
// playback=URL plays a recording as a demo, in its own seed and edition.
export function read_parameters() {
    const params = new URLSearchParams(location.search);
    const replay_url = params.get('replay');
    return {
        replay_url,
        playback_url: params.get('playback'),
        recording: params.get('record') === '1',
        english: params.has('lang') ? params.get('lang') === 'en'
            : !replay_url && !/^ja\b/i.test(navigator.language || ''),
        seed: params.has('seed') ? Number(params.get('seed')) >>> 0 : null,
    };
}

// The page's URL parameters: lang=ja|en (else the kept options', else the
// browser's language; language_asked says whether it was given) and
// seed=N (the random seed, else the calendar clock). For the tests, which
// turn on test mode (test_mode.js): replay=URL plays a kuzari-replay script,
// in Japanese unless lang=en or the script asks; record=1 records live play.
// playback=URL plays a recording as a demo, in its own seed and edition;
// best=ja|en the best round of that edition kept in the browser. With
// replay=, records=1 counts the script's rounds in the records as live play's.
export function read_parameters() {
    const params = new URLSearchParams(location.search);
    const replay_url = params.get('replay');
    return {
        replay_url,
        playback_url: params.get('playback'),
        best_round: ['ja', 'en'].includes(params.get('best')) ? params.get('best') : null,
        records_from_script: params.get('records') === '1',
        recording: params.get('record') === '1',
        language_asked: params.has('lang'),
        english: params.has('lang') ? params.get('lang') === 'en'
            : !replay_url && !/^ja\b/i.test(navigator.language || ''),
        seed: params.has('seed') ? Number(params.get('seed')) >>> 0 : null,
    };
}

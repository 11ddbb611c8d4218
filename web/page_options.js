// The page's options, read from its address once: the page takes them as
// the desktop takes its command line.
//   ?seed=N, ?init_camera=PATH, ?init_renderer=PATH  the game's options;
//   ?mute=1                                          --mute: no audio at all;
//   ?daily                                           --daily: today's course;
//   ?replay=NAME or ?timedemo=NAME                   plays replays/NAME.replay
//                                                    of the site first (the
//                                                    later one decides);
//   ?run=ID                                          plays the board's run ID
//                                                    first (api/runs/ID/replay).
// The rest of the game's options (headless screenshot, file names) have
// nothing to act on here and are not passed.
'use strict';
window.QuorlandOptions = (function () {
  const gameOptions = ['seed', 'init_camera', 'init_renderer'];
  // The board's run `id` as a replay to fetch (web/replays.js).
  const boardRun = (id) => ({ name: 'run-' + id + '.replay', timedemo: false,
                              path: 'api/runs/' + id + '/replay' });
  const options = { arguments: [], mute: false, servedReplay: null, boardRun: boardRun };
  for (const [name, value] of new URLSearchParams(location.search)) {
    if (gameOptions.includes(name)) {
      options.arguments.push('--' + name, value);
    } else if (name === 'daily') {
      options.arguments.push('--daily');
    } else if (name === 'mute') {
      options.mute = value === '1';
    } else if (name === 'replay' || name === 'timedemo') {
      options.servedReplay = { name: value + '.replay', timedemo: name === 'timedemo',
                               path: 'replays/' + value + '.replay' };
    } else if (name === 'run' && /^[0-9]+$/.test(value)) {
      options.servedReplay = boardRun(value);
    }
  }
  if (options.mute) {
    options.arguments.push('--mute');
  }
  return Object.freeze(options);
})();

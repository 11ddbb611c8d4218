// Replays in the page. Every run the page plays is recorded by the game in
// the same format as the desktop's --record; "Download replay" saves it
// (closed for the frames played so far) as a .replay file that the desktop
// plays with --replay. A replay file chosen with the picker or dropped on
// the page, or ?replay=NAME / ?timedemo=NAME for one served with the page
// (replays/NAME.replay), ends the run in progress and plays in a new one,
// as --replay or --timedemo would (web/page.js plays the served one before
// the first run). A file the game refuses leaves the run going and shows the
// desktop's line for it.
//
// The game's side is three exported functions (web/page_replays.cpp):
// quorland_start_replay, quorland_take_recording, quorland_max_replay_bytes.
'use strict';
window.QuorlandReplays = (function () {
  const Module = window.Module;
  const panel = document.getElementById('console');
  const canvas = document.getElementById('canvas');
  const stopped = document.getElementById('stopped');
  const notice = document.getElementById('replay-notice');
  const picker = document.getElementById('replay-file');

  function say(text, bad) {
    notice.textContent = text;
    notice.className = bad ? 'bad' : '';
  }

  // Hands `bytes` (a Uint8Array, or null when the file could not be read)
  // to the game; true when the replay starts.
  function startReplay(name, bytes, size, timedemo) {
    let pointer = 0;
    if (bytes) {
      pointer = Module._malloc(Math.max(1, bytes.length));
      Module.HEAPU8.set(bytes, pointer);
    }
    const refusal = Module.UTF8ToString(window.QuorlandPage.withCString(name, (namePointer) =>
      Module._quorland_start_replay(namePointer, pointer, size, timedemo ? 1 : 0)));
    if (pointer) {
      Module._free(pointer);
    }
    if (refusal) {
      Module.print(refusal);
      say(refusal, true);
      return false;
    }
    window.QuorlandRun.startingReplay();
    // The new run's console starts empty, as a new process's would.
    panel.textContent = '';
    stopped.style.display = 'none';
    canvas.setAttribute('data-state', 'loading');
    say((timedemo ? 'Timing ' : 'Watching ') + name + '; the game goes on live after it.', false);
    return true;
  }

  // A file from the picker or a drop: its size is checked before it is read.
  async function playFile(file) {
    if (file.size > Module._quorland_max_replay_bytes()) {
      return startReplay(file.name, null, file.size, false);
    }
    let bytes = null;
    try {
      bytes = new Uint8Array(await file.arrayBuffer());
    } catch (error) {
      bytes = null;
    }
    return playBytes(file.name, bytes);
  }

  // Saves `blob` as the file `name` (the browser's download).
  function save(name, blob) {
    const link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
  }

  function download() {
    const text = Module.UTF8ToString(Module._quorland_take_recording());
    save('quorland-' + new Date().toISOString().replace(/[:.]/g, '-') + '.replay',
         new Blob([text], { type: 'text/plain' }));
  }

  // Plays the replay `wanted` ({ name, path, timedemo }) fetched from `path`.
  async function playServed(wanted) {
    let bytes = null;
    if (/^[A-Za-z0-9_-]+\.replay$/.test(wanted.name)) {
      try {
        const response = await fetch(wanted.path);
        bytes = response.ok ? new Uint8Array(await response.arrayBuffer()) : null;
      } catch (error) {
        bytes = null;
      }
    }
    startReplay(wanted.name, bytes, bytes ? bytes.length : 0, wanted.timedemo);
  }

  // ?replay=NAME or ?timedemo=NAME: the file replays/NAME.replay of the
  // site, or ?run=ID: the board's run ID, fetched before the game starts,
  // so that the first run plays it.
  async function playServedReplay() {
    if (window.QuorlandOptions.servedReplay) {
      await playServed(window.QuorlandOptions.servedReplay);
    }
  }

  document.getElementById('replay-download').addEventListener('click', download);
  picker.addEventListener('change', () => {
    if (picker.files.length > 0) {
      playFile(picker.files[0]);
    }
    picker.value = '';
  });
  window.addEventListener('dragover', (event) => event.preventDefault());
  window.addEventListener('drop', (event) => {
    event.preventDefault();
    if (event.dataTransfer.files.length > 0) {
      playFile(event.dataTransfer.files[0]);
    }
  });

  // Plays `bytes` (a Uint8Array, null when they could not be had) as the
  // replay `name`, as a chosen file would.
  function playBytes(name, bytes) {
    return startReplay(name, bytes, bytes ? bytes.length : 0, false);
  }

  return { playServedReplay: playServedReplay, playServed: playServed, playBytes: playBytes, save: save };
})();

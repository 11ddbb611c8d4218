// The page's side of the game's runs: the game's console lines in the panel,
// the loading line until the first frame, the message a run stops with,
// starting the game once its runtime is ready, passing text to the game's
// exported functions (QuorlandPage.withCString), and the buttons the other
// scripts add (QuorlandPage.button).
//
// The game stops with its message on the page where the desktop would wait
// for a key. The first run starts after a served replay (?replay=NAME) has
// been fetched, with the window size the layout asks for (web/layout.js).
'use strict';
(function () {
  const canvas = document.getElementById('canvas');
  const panel = document.getElementById('console');
  const loading = document.getElementById('loading');
  const stopped = document.getElementById('stopped');
  const fps = document.getElementById('fps');

  function print(line) {
    const atBottom = panel.scrollTop + panel.clientHeight >= panel.scrollHeight - 4;
    panel.textContent += line + '\n';
    if (atBottom) {
      panel.scrollTop = panel.scrollHeight;
    }
  }

  // A fatal path's message (red), or the end of the game (grey); the first
  // one stays until the next run starts.
  function showStopped(message, ended) {
    if (stopped.style.display === 'block') {
      return;
    }
    loading.style.display = 'none';
    stopped.textContent = message || 'The game stopped.';
    stopped.className = ended ? 'ended' : '';
    stopped.style.display = 'block';
    canvas.setAttribute('data-state', ended ? 'ended' : 'stopped');
  }

  // The right button drags the debug camera: no menu.
  canvas.addEventListener('contextmenu', (event) => event.preventDefault());

  // Hop keys must not scroll the page, nor F1 open a help page.
  window.addEventListener('keydown', (event) => {
    if ([32, 37, 38, 39, 40, 112, 113].includes(event.keyCode)) {
      event.preventDefault();
    }
  });

  let frames = 0;
  function countFrames() {
    frames += 1;
    requestAnimationFrame(countFrames);
  }
  setInterval(() => { fps.textContent = frames + ' frames/s'; frames = 0; }, 1000);

  // Runs `use` with `text` as a C string in the game's memory, freed after;
  // returns what `use` returns. The exports are called directly: the game's
  // loop is suspended between frames, and ccall would then answer with a
  // promise.
  function withCString(text, use) {
    const size = window.Module.lengthBytesUTF8(text) + 1;
    const pointer = window.Module._malloc(size);
    window.Module.stringToUTF8(text, pointer, size);
    try {
      return use(pointer);
    } finally {
      window.Module._free(pointer);
    }
  }
  // A plain button that runs `action` when clicked.
  function button(text, action) {
    const element = document.createElement('button');
    element.type = 'button';
    element.textContent = text;
    element.addEventListener('click', action);
    return element;
  }
  window.QuorlandPage = { withCString: withCString, button: button };

  // The run in progress: its seed (read from its recording's header when
  // its first frame starts) and whether the page started it from a replay.
  let runSeed = 0;
  let nextFromReplay = false;
  const runListeners = [];  // each called with (seed, fromReplay) as a run starts
  window.QuorlandRun = {
    seed: () => runSeed,
    startingReplay: () => { nextFromReplay = true; },
    onStart: (listener) => runListeners.push(listener),
  };
  function runStarted() {
    const header = window.Module.UTF8ToString(window.Module._quorland_take_recording());
    const seed = /^seed (\d+)$/m.exec(header);
    runSeed = seed ? Number(seed[1]) : 0;
    const fromReplay = nextFromReplay;
    nextFromReplay = false;
    for (const listener of runListeners) {
      listener(runSeed, fromReplay);
    }
  }

  window.Module = {
    arguments: window.QuorlandOptions.arguments.slice(),
    canvas: canvas,
    print: print,
    // The panel holds what the game prints, as the desktop's console does.
    printErr: (text) => console.warn(text),
    // The game reports a fatal path's message itself and never reads input.
    stdin: () => null,
    // main waits for a served replay and the window size (see above).
    noInitialRun: true,
    onRuntimeInitialized: async () => {
      await window.QuorlandReplays.playServedReplay();
      window.QuorlandLayout.askWindowSize();
      window.Module.callMain(window.Module.arguments);
    },
    onFatalMessage: (message) => showStopped(message, false),
    setStatus: (text) => { if (text) { loading.textContent = text; } },
    onGameReady: () => {
      loading.style.display = 'none';
      stopped.style.display = 'none';
      canvas.setAttribute('data-state', 'running');
      runStarted();
      window.QuorlandLayout.fit({ width: canvas.width, height: canvas.height });
      canvas.focus();
      if (!countFrames.started) {
        countFrames.started = true;
        requestAnimationFrame(countFrames);
      }
    },
    onGameEnded: () => {
      showStopped('The game has ended. Reload the page to play again, or watch a replay.', true);
    },
    onExit: (code) => { if (code !== 0) { showStopped(); } },
    onAbort: (what) => { showStopped('The game stopped: ' + what); },
  };
})();

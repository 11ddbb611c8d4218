// The page's side of the game's sound: the mute button, the ?mute=1 option
// and keeping the audio running.
//
// ?mute=1 starts the game with --mute: it opens no audio device at all, and
// the button says so. Otherwise the button silences the sound for as long as
// the page lives (nothing is stored); the game is told through its exported
// quorland_set_muted (web/page_sound.cpp). Browsers keep a page's audio suspended until the
// player does something: every real gesture (key, click, touch) resumes the
// game's audio contexts, not only the first, since a gesture made in the
// page's own code does not count and would otherwise use up the resume.
'use strict';
(function () {
  const button = document.getElementById('mute');
  const canvas = document.getElementById('canvas');
  const startedMuted = window.QuorlandOptions.mute;  // the game runs with --mute
  let muted = startedMuted;
  const contexts = [];

  // Every audio context the game makes is kept, to be resumed later.
  for (const name of ['AudioContext', 'webkitAudioContext']) {
    const Original = window[name];
    if (!Original) {
      continue;
    }
    const Keeping = function (...args) {
      const context = new Original(...args);
      contexts.push(context);
      return context;
    };
    Keeping.prototype = Original.prototype;
    window[name] = Keeping;
  }

  function resumeAudio(event) {
    if (!event.isTrusted || muted) {
      return;
    }
    for (const context of contexts) {
      if (context.state === 'suspended') {
        context.resume();
      }
    }
  }
  for (const type of ['keydown', 'mousedown', 'pointerdown', 'touchend', 'click']) {
    window.addEventListener(type, resumeAudio, true);
  }

  function show() {
    button.textContent = muted ? 'Sound: off' : 'Sound: on';
    button.setAttribute('aria-pressed', muted ? 'true' : 'false');
    if (startedMuted) {
      button.disabled = true;
      button.title = 'Started with ?mute=1: no sound in this page';
    }
  }

  button.addEventListener('click', () => {
    muted = !muted;
    if (Module._quorland_set_muted) {
      Module._quorland_set_muted(muted ? 1 : 0);
    }
    show();
    canvas.focus();
  });
  show();
})();

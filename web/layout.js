// The page's layout: how big the canvas is, the button bar under (or, on
// a phone held sideways, beside) it, and where the tabbed panel goes.
//
// On a phone held upright the game starts with the canvas's size as its
// window (askWindowSize): the canvas takes the full width and the height
// the page leaves it, with the button bar, the controls line and the mute
// button still in view below; such a run follows the room the page gives
// it when the page is resized (the game's camera follows the window's
// shape, view/camera.h). Elsewhere the game starts with its window
// settings' size: the canvas keeps that size while it fits the page;
// otherwise, and whenever the page is resized, it takes the largest size of
// the same shape that fits, and the game sees a window resize as on the
// desktop. A phone held sideways always takes the largest size: the full
// height, with only the button bar beside it. On phone-sized screens the
// console panel folds behind a toggle. In fullscreen the canvas is only
// scaled by the page: the browser build's window library would otherwise
// give the game the whole screen's size, of another shape.
//
// Classes on <html> carry the rest to web/layout.css: "touch" (a touch
// screen: touch controls shown, the controls line tells the gestures),
// "small", "landscape" and "beside" (the panel beside the canvas).
'use strict';
window.QuorlandLayout = (function () {
  const root = document.documentElement;
  const canvas = document.getElementById('canvas');
  const stage = document.getElementById('stage');
  const panel = document.getElementById('console');
  const controls = document.getElementById('controls');
  const mute = document.getElementById('mute');
  const smallScreen = 540;  // CSS pixels: a phone's shorter side is below this
  const panelWidth = 336;    // CSS pixels the panel takes beside it

  const buttons = document.createElement('div');
  buttons.id = 'buttons';
  stage.after(buttons);

  function button(id, text, action) {
    const element = buttons.appendChild(window.QuorlandPage.button(text, action));
    element.id = id;
    return element;
  }

  function fullscreenElement() {
    return document.fullscreenElement || document.webkitFullscreenElement || null;
  }
  const fullscreen = button('fullscreen', 'Fullscreen', () => {
    if (fullscreenElement()) {
      (document.exitFullscreen || document.webkitExitFullscreen).call(document);
    } else {
      const enter = root.requestFullscreen || root.webkitRequestFullscreen;
      if (enter) {
        const request = enter.call(root);
        if (request && request.catch) {
          request.catch(() => {});  // refused (no gesture, not allowed): stay as we are
        }
      }
    }
  });
  function labelFullscreen() {
    fullscreen.textContent = fullscreenElement() ? 'Exit fullscreen' : 'Fullscreen';
  }
  document.addEventListener('fullscreenchange', labelFullscreen);
  document.addEventListener('webkitfullscreenchange', labelFullscreen);

  panel.classList.add('folded');  // folds on small screens only (web/layout.css)
  const toggle = button('console-toggle', 'Console', () => {
    panel.classList.toggle('folded');
    toggle.textContent = panel.classList.contains('folded') ? 'Console' : 'Hide console';
  });

  function classify() {
    const touch = navigator.maxTouchPoints > 0 || 'ontouchstart' in window;
    root.classList.toggle('touch', touch);
    root.classList.toggle('small', Math.min(window.innerWidth, window.innerHeight) <= smallScreen);
    root.classList.toggle('landscape', window.innerWidth > window.innerHeight);
  }

  function small() {
    return root.classList.contains('small');
  }
  function upright() {
    return small() && !root.classList.contains('landscape');
  }

  // The room the canvas may take, in CSS pixels.
  function room() {
    const width = root.clientWidth;
    const height = window.innerHeight;
    if (!small()) {
      const below = fullscreenElement() ? buttons.offsetHeight : 200;  // controls and console
      const beside = root.classList.contains('beside') ? panelWidth : 0;
      return { width: width - 16 - beside, height: height - 16 - below };
    }
    if (!upright()) {
      return { width: width - buttons.offsetWidth, height: height };
    }
    // Upright: what lies below the canvas down to the mute button stays in view.
    const below = mute.getBoundingClientRect().bottom - stage.getBoundingClientRect().bottom;
    return { width: width, height: Math.floor(height - below - 6) };
  }

  // Before the first run: on a phone held upright, the game starts with the
  // room's size as its window (web/page_window.cpp); elsewhere with its
  // settings' size.
  function askWindowSize() {
    classify();
    if (upright() && !fullscreenElement()) {
      const space = room();
      Module._quorland_set_window_size(space.width, space.height);
    }
  }

  let configured = null;  // the canvas size the game started with
  let resized = false;    // the page has been resized since

  function fit(size) {
    configured = size || configured;
    classify();
    if (!configured) {
      return;
    }
    // The panel goes beside the canvas when the page has room for both at
    // the canvas's own size, below it otherwise (web/layout.css).
    root.classList.toggle('beside', !small() && !fullscreenElement() &&
                                    root.clientWidth - 16 - panelWidth >= configured.width);
    const space = room();
    let width = configured.width;
    let height = configured.height;
    if (small() && configured.height > configured.width && !fullscreenElement()) {
      width = space.width;  // a run started upright takes the room it is given
      height = space.height;
    } else if (resized || small() || fullscreenElement() || width > space.width ||
               height > space.height) {
      const scale = Math.min(space.width / width, space.height / height);
      width = Math.max(1, Math.floor(width * scale));
      height = Math.max(1, Math.floor(height * scale));
    }
    stage.style.width = width + 'px';
    panel.style.width = small() ? '' : width + 'px';
    controls.style.width = small() ? '' : width + 'px';
    if (!fullscreenElement() && (canvas.width !== width || canvas.height !== height)) {
      Module.setCanvasSize(width, height);
    }
  }

  window.addEventListener('resize', () => {
    resized = true;
    fit();
  });
  classify();
  return { fit: fit, askWindowSize: askWindowSize, buttons: buttons };
})();

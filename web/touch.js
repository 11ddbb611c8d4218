// Touch, the touch buttons and the hidden page, as the keys and clicks they
// stand for.
//
// Every action here becomes a key or mouse event that the browser build's
// window library turns into the game's own input callbacks, exactly as a
// real key or click would; so the commentary is the keyboard's and a
// recording of the game holds plain key and click events.
// - On the canvas, the page owns touch: no scrolling, zooming or mouse
//   events made up by the browser, and the window library's own touch
//   handling (a press with a stale cursor, then the browser's click: two
//   clicks per tap) is taken off. One finger counts; a second is ignored.
// - A tap is a left click on the start screen and W in a game; a swipe of
//   30 CSS pixels or more hops the way of its larger component (W, S, A, D),
//   as soon as it is that long. A swipe that leaves the canvas still ends.
// - The pause button is Esc in a game (pause and resume); the start-screen
//   button is Esc on the game-over screen.
// - A hidden page (another tab, a locked phone) pauses a game in play with
//   Esc, and it stays paused until the player resumes it.
// The game says which screen it shows through quorland_screen_state (web/platform_web.cpp).
'use strict';
(function () {
  const canvas = document.getElementById('canvas');
  const SCREEN = { menu: 0, playing: 1, paused: 2, gameOver: 3 };
  const KEY = { escape: 27, w: 87, s: 83, a: 65, d: 68 };
  const swipeLength = 30;  // CSS pixels

  // The screen the game shows, or -1 before the game runs (or once it stopped).
  function screen() {
    try {
      return Module.calledRun ? Module._quorland_screen_state() : -1;
    } catch (stopped) {
      return -1;
    }
  }

  // A press and release of `keyCode`, as the keyboard sends them.
  function key(keyCode) {
    for (const type of ['keydown', 'keyup']) {
      const event = new KeyboardEvent(type, { bubbles: true, cancelable: true });
      Object.defineProperty(event, 'keyCode', { get: () => keyCode });
      Object.defineProperty(event, 'which', { get: () => keyCode });
      window.dispatchEvent(event);
    }
  }

  // A left click on the canvas at a page point.
  function click(x, y) {
    for (const type of ['mousedown', 'mouseup']) {
      canvas.dispatchEvent(new MouseEvent(type, {
        bubbles: true, cancelable: true, button: 0, buttons: type === 'mousedown' ? 1 : 0,
        clientX: x, clientY: y,
      }));
    }
  }

  // The window library's handlers for touch on the canvas (added when it
  // starts), taken off before the first touch reaches them: this handler
  // runs first, since it was added first.
  let libraryHandlersRemoved = false;
  function removeLibraryHandlers() {
    if (libraryHandlersRemoved || typeof GLFW === 'undefined' || !GLFW.windows) {
      return;
    }
    libraryHandlersRemoved = true;
    canvas.removeEventListener('touchstart', GLFW.onMouseButtonDown, true);
    canvas.removeEventListener('touchmove', GLFW.onMousemove, true);
    canvas.removeEventListener('touchend', GLFW.onMouseButtonUp, true);
    canvas.removeEventListener('touchcancel', GLFW.onMouseButtonUp, true);
  }

  let finger = null;  // { id, x, y, hopped } of the touch that counts

  function touchOf(event) {
    for (const touch of event.changedTouches) {
      if (finger && touch.identifier === finger.id) {
        return touch;
      }
    }
    return null;
  }

  // The hop a move from the finger's start to `touch` makes, or 0.
  function swipeKey(touch) {
    const dx = touch.clientX - finger.x;
    const dy = touch.clientY - finger.y;
    if (Math.max(Math.abs(dx), Math.abs(dy)) < swipeLength) {
      return 0;
    }
    if (Math.abs(dx) > Math.abs(dy)) {
      return dx > 0 ? KEY.d : KEY.a;
    }
    return dy < 0 ? KEY.w : KEY.s;
  }

  function hop(keyCode) {
    if (screen() === SCREEN.playing) {
      key(keyCode);
    }
  }

  function onTouchStart(event) {
    removeLibraryHandlers();
    event.preventDefault();
    if (finger) {
      return;
    }
    const touch = event.changedTouches[0];
    finger = { id: touch.identifier, x: touch.clientX, y: touch.clientY, hopped: false };
  }

  function onTouchMove(event) {
    event.preventDefault();
    const touch = touchOf(event);
    if (touch && !finger.hopped) {
      const swipe = swipeKey(touch);
      if (swipe) {
        finger.hopped = true;
        hop(swipe);
      }
    }
  }

  function onTouchEnd(event) {
    event.preventDefault();
    const touch = touchOf(event);
    if (!touch) {
      return;
    }
    if (!finger.hopped) {
      const swipe = swipeKey(touch);
      if (swipe) {
        hop(swipe);
      } else if (screen() === SCREEN.menu) {
        click(touch.clientX, touch.clientY);
      } else {
        hop(KEY.w);
      }
    }
    finger = null;
  }

  function onTouchCancel(event) {
    if (touchOf(event)) {
      finger = null;
    }
  }

  const options = { capture: true, passive: false };
  canvas.addEventListener('touchstart', onTouchStart, options);
  canvas.addEventListener('touchmove', onTouchMove, options);
  canvas.addEventListener('touchend', onTouchEnd, options);
  canvas.addEventListener('touchcancel', onTouchCancel, options);

  // The touch buttons, at the front of the button bar (web/layout.js).
  const bar = window.QuorlandLayout.buttons;
  function touchButton(id, text) {
    const element = document.createElement('button');
    element.id = id;
    element.type = 'button';
    element.className = 'touch-only';
    element.textContent = text;
    element.hidden = true;
    element.addEventListener('click', () => key(KEY.escape));
    bar.insertBefore(element, bar.firstChild);
    return element;
  }
  const toStart = touchButton('to-start', 'Start screen');
  const pause = touchButton('pause', 'Pause');

  // The buttons follow the screen the game shows.
  function showButtons() {
    requestAnimationFrame(showButtons);
    const now = screen();
    pause.hidden = now !== SCREEN.playing && now !== SCREEN.paused;
    const label = now === SCREEN.paused ? 'Resume' : 'Pause';
    if (pause.textContent !== label) {
      pause.textContent = label;
    }
    toStart.hidden = now !== SCREEN.gameOver;
  }
  requestAnimationFrame(showButtons);

  document.addEventListener('visibilitychange', () => {
    if (document.hidden && screen() === SCREEN.playing) {
      key(KEY.escape);
    }
  });

  // The window library notes each pad it finds on the game's console; the
  // desktop prints nothing then, and neither does the page.
  const print = Module.print;
  Module.print = (line) => {
    if (!String(line).startsWith('glfw joystick ')) {
      print(line);
    }
  };
})();

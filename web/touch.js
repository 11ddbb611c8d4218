// Touch on the canvas, the touch buttons and the hidden page, reported to
// the game as the gestures they are.
//
// The page only says what a finger did: a tap, a swipe and its way, a press
// of its Pause / Resume or start-screen button, the page hidden. The game
// decides what each means on the screen it shows (view/touch_gestures.h:
// a tap is what a pad's South button is, a swipe what its d-pad is) and
// turns it into key and click events in its frame's poll, so the commentary
// is the keyboard's and a recording holds plain key and click events.
// - On the canvas, the page owns touch: no scrolling, zooming or mouse
//   events made up by the browser, and the window library's own touch
//   handling (a press with a stale cursor, then the browser's click: two
//   clicks per tap) is taken off. One finger counts; a second is ignored.
// - A swipe is 30 CSS pixels or more, the way of its larger component, as
//   soon as it is that long; anything shorter is a tap. A swipe that leaves
//   the canvas still ends.
// - Which touch button shows is the game's to say (quorland_touch_button).
'use strict';
(function () {
  const canvas = document.getElementById('canvas');
  const swipeLength = 30;  // CSS pixels

  // Whether the game runs (it has started and not stopped).
  function running() {
    return Boolean(Module.calledRun) && canvas.getAttribute('data-state') === 'running';
  }

  // Tells the game about `gesture` (its name in view/touch_gestures.h).
  function report(gesture) {
    if (running()) {
      window.QuorlandPage.withCString(gesture, (name) => Module._quorland_touch_gesture(name));
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

  let finger = null;  // { id, x, y, swiped } of the touch that counts

  function touchOf(event) {
    for (const touch of event.changedTouches) {
      if (finger && touch.identifier === finger.id) {
        return touch;
      }
    }
    return null;
  }

  // The swipe a move from the finger's start to `touch` makes, or null.
  function swipeOf(touch) {
    const dx = touch.clientX - finger.x;
    const dy = touch.clientY - finger.y;
    if (Math.max(Math.abs(dx), Math.abs(dy)) < swipeLength) {
      return null;
    }
    if (Math.abs(dx) > Math.abs(dy)) {
      return dx > 0 ? 'swipe-right' : 'swipe-left';
    }
    return dy < 0 ? 'swipe-up' : 'swipe-down';
  }

  function onTouchStart(event) {
    removeLibraryHandlers();
    event.preventDefault();
    if (finger) {
      return;
    }
    const touch = event.changedTouches[0];
    finger = { id: touch.identifier, x: touch.clientX, y: touch.clientY, swiped: false };
  }

  function onTouchMove(event) {
    event.preventDefault();
    const touch = touchOf(event);
    const swipe = touch && !finger.swiped ? swipeOf(touch) : null;
    if (swipe) {
      finger.swiped = true;
      report(swipe);
    }
  }

  function onTouchEnd(event) {
    event.preventDefault();
    const touch = touchOf(event);
    if (!touch) {
      return;
    }
    if (!finger.swiped) {
      report(swipeOf(touch) || 'tap');
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
  function touchButton(id, text, gesture) {
    const element = window.QuorlandPage.button(text, () => report(gesture));
    element.id = id;
    element.className = 'touch-only';
    element.hidden = true;
    bar.insertBefore(element, bar.firstChild);
    return element;
  }
  const toStart = touchButton('to-start', 'Start screen', 'start-screen-button');
  const pause = touchButton('pause', '', 'pause-button');

  // The buttons follow what the game says shows on its screen now.
  function showButtons() {
    requestAnimationFrame(showButtons);
    const shown = running() ? Module.UTF8ToString(Module._quorland_touch_button()) : '';
    pause.hidden = shown !== 'pause' && shown !== 'resume';
    const label = shown === 'resume' ? 'Resume' : 'Pause';
    if (pause.textContent !== label) {
      pause.textContent = label;
    }
    toStart.hidden = shown !== 'start-screen';
  }
  requestAnimationFrame(showButtons);

  document.addEventListener('visibilitychange', () => {
    if (document.hidden) {
      report('page-hidden');
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

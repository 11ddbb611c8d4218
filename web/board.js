// The score board in the page (quorland-board's API, docs/board.md): the
// panel's tabs "Today", "This course" and "All time", "Submit" after a game
// over, and "Watch" on any entry. Served without a board (a plain static
// host: api/health fails) all of it stays hidden and the panel keeps "Mine".
//
// A live run asks for a token when its first frame starts (runs the page
// starts from a replay do not); a submission posts the recording so far
// with the token, and the server re-plays it and answers with its own score
// and rank. The player's name is remembered in localStorage, and so are the
// ids of the runs they submitted (their entries are marked). Everything the
// server sends is shown as text, never as markup.
'use strict';
(function () {
  const Module = window.Module;
  const tabs = Array.from(document.querySelectorAll('#tabs button[data-tab]'));
  const mine = document.getElementById('tab-mine');
  const board = document.getElementById('tab-board');
  const submit = document.getElementById('submit');
  const nameInput = document.getElementById('submit-name');
  const news = document.getElementById('panel-news');
  let token = null;  // the live run's, once the board gave one
  let chosen = 'mine';

  function ownIds() {
    try {
      return JSON.parse(localStorage.getItem('quorland-runs') || '[]');
    } catch (error) {
      return [];
    }
  }
  function rememberOwn(id) {
    try {
      localStorage.setItem('quorland-runs', JSON.stringify(ownIds().concat([id]).slice(-200)));
    } catch (error) { /* no storage: not marked */ }
  }

  // The server's answer as { status, body }; body null when not JSON, status
  // 0 when there was no answer.
  async function api(method, path, body) {
    let response;
    try {
      response = await fetch('api/' + path, { method: method, body: body });
    } catch (error) {
      return { status: 0, body: null };
    }
    let json = null;
    try {
      json = await response.json();
    } catch (error) {
      json = null;
    }
    return { status: response.status, body: json };
  }

  function query(tab) {
    return tab === 'today' ? 'daily=' : tab === 'all' ? 'all' : 'seed=' + window.QuorlandRun.seed();
  }

  function cell(line, text) {
    line.appendChild(document.createElement('td')).textContent = text;
  }

  function watch(id) {
    window.QuorlandReplays.playServed(window.QuorlandOptions.boardRun(id));
  }

  async function showBoard(tab) {
    const answer = await api('GET', 'board?' + query(tab));
    if (chosen !== tab) {
      return;
    }
    if (answer.status !== 200 || !answer.body) {
      board.textContent = 'The board did not answer' +
        (answer.body && answer.body.error ? ': ' + answer.body.error : '.');
      return;
    }
    const own = ownIds();
    const list = document.createElement('table');
    for (const entry of answer.body.entries) {
      const line = list.appendChild(document.createElement('tr'));
      line.className = own.includes(entry.id) ? 'own' : '';
      cell(line, '#' + entry.rank);
      cell(line, String(entry.name) + (own.includes(entry.id) ? ' (you)' : ''));
      cell(line, String(entry.score));
      cell(line, entry.live ? 'live' : 'file');
      line.appendChild(document.createElement('td'))
        .appendChild(window.QuorlandPage.button('Watch', () => watch(entry.id)));
    }
    board.replaceChildren(list);
    if (answer.body.entries.length === 0) {
      board.textContent = 'No runs on this board yet.';
    }
  }

  function choose(tab) {
    chosen = tab;
    tabs.forEach((button) => button.classList.toggle('chosen', button.dataset.tab === tab));
    mine.hidden = tab !== 'mine';
    board.hidden = tab === 'mine';
    if (tab !== 'mine') {
      showBoard(tab);
    }
  }

  async function send() {
    const name = nameInput.value.trim();
    try {
      localStorage.setItem('quorland-name', name);
    } catch (error) { /* not remembered */ }
    const recording = Module.UTF8ToString(Module._quorland_take_recording());
    const path = 'runs?name=' + encodeURIComponent(name) + (token ? '&token=' + encodeURIComponent(token) : '');
    const answer = await api('POST', path, new Blob([recording]));
    if (answer.status === 201 && answer.body) {
      rememberOwn(answer.body.id);
      submit.hidden = true;
      news.textContent = 'Submitted: ' + answer.body.score + ' points, rank ' + answer.body.rank + '.';
      choose(answer.body.live && answer.body.seed === window.QuorlandBests.dailySeed(new Date())
        ? 'today' : 'course');
    } else {
      news.textContent = 'Not submitted: ' +
        (answer.body && answer.body.error ? answer.body.error : 'the board did not answer') + '.';
    }
  }

  async function start() {
    const health = await api('GET', 'health');
    if (health.status !== 200) {
      return;  // no board here: the panel keeps "Mine" only
    }
    tabs.forEach((button) => { button.hidden = false; });
    try {
      nameInput.value = localStorage.getItem('quorland-name') || '';
    } catch (error) { /* nothing remembered */ }
    window.QuorlandRun.onStart(async (seed, fromReplay) => {
      token = null;
      submit.hidden = true;
      if (!fromReplay) {
        const answer = await api('POST', 'starts?seed=' + seed, '');
        token = answer.status === 201 && answer.body ? answer.body.token : null;
      }
    });
    window.QuorlandBests.onGameOver(() => { submit.hidden = false; });
  }

  tabs.forEach((button) => button.addEventListener('click', () => choose(button.dataset.tab)));
  document.getElementById('submit-button').addEventListener('click', send);
  start();
})();

// The player's bests in the page, and the tabbed panel that shows them
// ("Mine"; web/board.js adds the board's tabs).
//
// The game hands every game it weighs to Module.onBestGame with the run's
// recording (web/page_bests.cpp); the table is weighed by the game's own
// table code (quorland_weigh_best), so it is the desktop's table text, and
// kept in IndexedDB with the recordings as blobs, each under the file name
// its entry gives. What the quota cannot hold is dropped, oldest recording
// first. Storage that is full, disabled or corrupt never stops play: one
// line in the panel says why (a corrupt table is set aside under its date
// and a fresh one started; a newer version's table is left alone).
// The course of the day's seed comes from the game (quorland_daily_seed).
'use strict';
window.QuorlandBests = (function () {
  const Module = window.Module;
  const news = document.getElementById('panel-news');
  const storageLine = document.getElementById('panel-storage');
  const mine = document.getElementById('tab-mine');
  const tableName = 'bests.txt';
  let database = null;  // a promise of the open database, or of null when there is none

  function call(exported, texts, numbers) {
    // Text arguments first, as C strings; the result is a C string too.
    const withAll = (index, pointers) => index === texts.length
      ? Module.UTF8ToString(exported(...pointers, ...numbers))
      : window.QuorlandPage.withCString(texts[index], (pointer) => withAll(index + 1, pointers.concat([pointer])));
    return withAll(0, []);
  }

  // "good placed\n<table>" and the like (web/page_bests.cpp): [state, detail, text].
  function parsed(answer) {
    const newline = answer.indexOf('\n');
    const first = answer.slice(0, newline);
    const blank = first.indexOf(' ');
    return blank < 0 ? [first, '', answer.slice(newline + 1)]
      : [first.slice(0, blank), first.slice(blank + 1), answer.slice(newline + 1)];
  }

  function dailySeed(date) {
    return Module._quorland_daily_seed(Math.floor(date.getTime() / 1000));
  }

  function open() {
    if (!database) {
      database = new Promise((resolve) => {
        let request;
        try {
          request = indexedDB.open('quorland', 1);
        } catch (error) {
          storageLine.textContent = 'Your bests are not kept: this browser gives the page no storage.';
          resolve(null);
          return;
        }
        request.onupgradeneeded = () => request.result.createObjectStore('files');
        request.onsuccess = () => resolve(request.result);
        request.onerror = () => {
          storageLine.textContent = 'Your bests are not kept: the browser refused its storage (' +
            (request.error ? request.error.name : 'unknown') + ').';
          resolve(null);
        };
      });
    }
    return database;
  }

  // One request on the 'files' store; resolves with its result.
  function request(db, mode, make) {
    return new Promise((resolve, reject) => {
      const transaction = db.transaction('files', mode);
      const made = make(transaction.objectStore('files'));
      transaction.oncomplete = () => resolve(made.result);
      transaction.onabort = () => reject(transaction.error || made.error);
    });
  }
  const get = (db, key) => request(db, 'readonly', (store) => store.get(key));
  const put = (db, key, value) => request(db, 'readwrite', (store) => store.put(value, key));
  const remove = (db, key) => request(db, 'readwrite', (store) => store.delete(key));
  const keys = (db) => request(db, 'readonly', (store) => store.getAllKeys());

  // Puts `value`, dropping the oldest recording (names start with their
  // time) while the quota refuses it; false, with the panel's line, when
  // nothing more can go or the storage fails otherwise.
  async function putDropping(db, key, value) {
    for (;;) {
      try {
        await put(db, key, value);
        return true;
      } catch (error) {
        if (!error || error.name !== 'QuotaExceededError') {
          storageLine.textContent = 'Your bests are not kept: the storage failed (' +
            (error ? error.name : 'unknown') + ').';
          return false;
        }
        const recordings = (await keys(db)).filter((name) => name.startsWith('game-') && name !== key).sort();
        if (recordings.length === 0) {
          storageLine.textContent = 'Your bests are not kept: the storage is full.';
          return false;
        }
        await remove(db, recordings[0]);
      }
    }
  }

  // The table's entries: { overall: [entry], courses: Map(seed -> [entry]) }.
  function entriesOf(text) {
    const table = { overall: [], courses: new Map() };
    let list = table.overall;
    for (const line of text.split('\n')) {
      const fields = line.split(' ');
      if (fields[0] === 'course') {
        list = [];
        table.courses.set(Number(fields[1]), list);
      } else if (fields[0] === 'best') {
        list.push({ score: Number(fields[1]), seed: Number(fields[2]), when: fields[3],
                    ending: fields[4], recording: fields[5], index: Number(fields[6]) });
      }
    }
    return table;
  }

  async function readTable(db) {
    const text = (await get(db, tableName)) || '';
    const [state, detail, written] = parsed(call(Module._quorland_read_bests, [text], []));
    return { state: state, detail: detail, text: text, entries: entriesOf(state === 'good' ? written : '') };
  }

  // The best games the panel leads with: overall, this course, today's.
  function leaders(entries, seed) {
    const today = dailySeed(new Date());
    const best = (list) => (list && list.length > 0 ? list[0] : null);
    return [['Best overall', best(entries.overall)],
            ['On this course (' + seed + ')', best(entries.courses.get(seed))],
            ["On today's course (" + today + ')', best(entries.courses.get(today))]];
  }

  async function weigh(game, recording) {
    const db = await open();
    if (!db) {
      return;
    }
    try {
      let table = await readTable(db);
      if (table.state === 'corrupt') {
        await put(db, tableName + '.damaged-' + game.when.replace(/[-:]/g, ''), table.text);
        storageLine.textContent = 'Your table of bests could not be read (' + table.detail +
          '); it was set aside and a fresh one started.';
        table = { state: 'good', text: '', entries: entriesOf('') };
      } else if (table.state === 'newer') {
        storageLine.textContent = 'Your table of bests was written by a newer version of the game (' +
          table.detail + '); nothing is weighed.';
        return;
      }
      const name = recording === null ? '-'
        : 'game-' + game.when.replace(/[-:]/g, '') + '-' + game.seed + '-' + game.index + '.replay';
      const [, placement, text] = parsed(call(Module._quorland_weigh_best,
        [table.text, game.when, game.ending, name],
        [game.score, game.seed, game.index, game.chosenCourse ? 1 : 0]));
      if (placement !== 'placed') {
        return;
      }
      // A game whose recording cannot be kept is not kept either, so every
      // entry the table gains can be watched.
      if (recording !== null && !(await putDropping(db, name, new Blob([recording], { type: 'text/plain' })))) {
        return;
      }
      if (!(await putDropping(db, tableName, text))) {
        if (recording !== null) {
          await remove(db, name);
        }
        return;
      }
      const after = entriesOf(text);
      await dropUnreferenced(db, after);
      announce(table.entries, after, game);
      await show();
    } catch (error) {
      storageLine.textContent = 'Your bests are not kept: the storage failed (' + (error && error.name) + ').';
    }
  }

  // Recordings no entry names any more go.
  async function dropUnreferenced(db, entries) {
    const named = new Set(entries.overall.map((entry) => entry.recording));
    for (const list of entries.courses.values()) {
      list.forEach((entry) => named.add(entry.recording));
    }
    for (const key of await keys(db)) {
      if (key.startsWith('game-') && !named.has(key)) {
        await remove(db, key);
      }
    }
  }

  // After a game over that beats one of the leaders, the panel says so.
  function announce(before, after, game) {
    const was = leaders(before, game.seed);
    const now = leaders(after, game.seed);
    const beaten = [];
    now.forEach(([label, entry], place) => {
      const old = was[place][1];
      if (entry && entry.when === game.when && entry.index === game.index &&
          entry.score === game.score && (!old || old.score < game.score)) {
        beaten.push(label.replace(/ \(.*\)$/, '').toLowerCase());
      }
    });
    if (beaten.length > 0) {
      news.textContent = 'New best: ' + game.score + ' (' + beaten.join(', ') + ').';
    }
  }

  async function recordingBytes(name) {
    const db = await open();
    const blob = db && name !== '-' ? await get(db, name) : null;
    return blob ? new Uint8Array(await blob.arrayBuffer()) : null;
  }

  // One row: what it is, the score, the seed, the day, and its recording.
  function row(label, entry) {
    const line = document.createElement('tr');
    const cells = entry ? [label, String(entry.score), 'seed ' + entry.seed, entry.when.slice(0, 10)]
      : [label, '–', '', ''];
    for (const text of cells) {
      line.appendChild(document.createElement('td')).textContent = text;
    }
    const actions = line.appendChild(document.createElement('td'));
    if (entry && entry.recording !== '-') {
      actions.appendChild(window.QuorlandPage.button('Watch', async () => {
        const bytes = await recordingBytes(entry.recording);
        window.QuorlandReplays.playBytes(entry.recording, bytes);
      }));
      actions.appendChild(window.QuorlandPage.button('Download', async () => {
        const bytes = await recordingBytes(entry.recording);
        if (bytes) {
          window.QuorlandReplays.save(entry.recording, new Blob([bytes], { type: 'text/plain' }));
        }
      }));
    }
    return line;
  }

  // The "Mine" tab: the three leaders, then the ten best overall.
  async function show() {
    const db = await open();
    const table = db ? await readTable(db) : { entries: entriesOf('') };
    const list = document.createElement('table');
    for (const [label, entry] of leaders(table.entries, window.QuorlandRun.seed())) {
      list.appendChild(row(label, entry));
    }
    table.entries.overall.forEach((entry, place) => list.appendChild(row('#' + (place + 1), entry)));
    mine.replaceChildren(list);
  }

  // Every live game that ended, weighed here and heard by `listeners`
  // (the board offers to submit it).
  const listeners = [];
  Module.onBestGame = (game, recording) => {
    weigh(game, recording);
    listeners.forEach((listener) => listener(game));
  };
  window.QuorlandRun.onStart(() => { show(); });
  document.getElementById('daily-button').addEventListener('click', () => {
    location.search = '?daily';
  });

  return { dailySeed: dailySeed, onGameOver: (listener) => listeners.push(listener) };
})();

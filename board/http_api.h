// The board's HTTP face: the JSON API under /api/ and the page's static
// files everywhere else.
//
//   POST /api/starts?seed=N                 a token for a live run (201)
//   POST /api/runs?name=NAME[&token=T]      a recording in the body (201)
//   GET  /api/board?seed=N | ?daily=[DAY] | ?all  [&around=ID]
//   GET  /api/runs/ID, /api/runs/ID/replay, /api/health
//
// Errors are {"error": "..."} with a sentence a person can read.
#pragma once

#include <httplib.h>

#include <functional>

#include "board_store.h"
#include "submission.h"

struct ApiSettings {
    bool trustProxy = false;  // take the client's address from X-Forwarded-For
    std::string site;         // the page's folder ("" or missing: none)
    std::function<bool()> overloaded;
};

// Installs the guard, the routes and the static files on `server`; `store`
// and `desk` must outlive it.
void installApi(httplib::Server& server, BoardStore& store, SubmissionDesk& desk,
                const ApiSettings& settings);

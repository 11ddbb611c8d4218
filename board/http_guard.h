// What is refused before a request's body is read, and how an answer is
// written.
//
// cpp-httplib 0.11.4 reads a body only after its pre-routing handler: the
// guard runs there and turns away, with `Connection: close` so that unread
// bytes never become the next request: any request while the server is
// overloaded (503), a body with Transfer-Encoding or Content-Encoding
// (400; this version mishandles chunked and compressed bodies and inflates
// without a limit), a POST without Content-Length (411) and a body over
// 8 MB (413).
#pragma once

#include <httplib.h>

#include <nlohmann/json.hpp>

#include "submission.h"

constexpr std::size_t kMaxBodyBytes = 8u << 20;

httplib::Server::HandlerResponse guardRequest(const httplib::Request& request,
                                              httplib::Response& response, bool overloaded);

// JSON text safe for any user text (invalid UTF-8 is replaced, never thrown).
std::string jsonText(const nlohmann::json& value);
// Writes `reply` (status, JSON body, Retry-After) into `response`.
void sendReply(httplib::Response& response, const Reply& reply);

// What is refused before a request's body is read (see http_guard.h).
#include "http_guard.h"

#include <memory>

#include "rules.h"

namespace {

// Answers `reply` and ends the connection. cpp-httplib keeps a connection
// open whatever the response's Connection header says, but ends it when a
// content provider fails: this one writes the whole answer, then fails.
httplib::Server::HandlerResponse refuse(httplib::Response& response, const Reply& reply) {
    auto body = std::make_shared<const std::string>(jsonText(reply.body));
    response.status = reply.status;
    if (reply.retryAfterSeconds != 0) {
        response.set_header("Retry-After", std::to_string(reply.retryAfterSeconds));
    }
    response.set_header("Connection", "close");
    response.set_content_provider(
        body->size(), "application/json",
        [body](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
            sink.write(body->data() + offset, length);
            return false;
        });
    return httplib::Server::HandlerResponse::Handled;
}

bool takesBody(const std::string& method) {
    return method == "POST" || method == "PUT" || method == "PATCH";
}

}  // namespace

httplib::Server::HandlerResponse guardRequest(const httplib::Request& request,
                                              httplib::Response& response, bool overloaded) {
    if (overloaded) {
        Reply reply = errorReply(503, "the server is busy; try again in a moment");
        reply.retryAfterSeconds = 1;
        return refuse(response, reply);
    }
    if (request.has_header("Transfer-Encoding")) {
        return refuse(response,
                      errorReply(400, "Transfer-Encoding is not accepted; send Content-Length"));
    }
    if (request.has_header("Content-Encoding")) {
        return refuse(response, errorReply(400, "Content-Encoding is not accepted"));
    }
    const bool hasLength = request.has_header("Content-Length");
    if (!hasLength && takesBody(request.method)) {
        return refuse(response, errorReply(411, "a Content-Length is required"));
    }
    if (hasLength) {
        std::optional<std::uint64_t> length =
            parseNumber(request.get_header_value("Content-Length"), UINT64_MAX / 2);
        if (!length) {
            return refuse(response, errorReply(400, "the Content-Length is not a number"));
        }
        if (*length > kMaxBodyBytes) {
            return refuse(response, errorReply(413, "a recording may have at most 8 MB"));
        }
    }
    return httplib::Server::HandlerResponse::Unhandled;
}

std::string jsonText(const nlohmann::json& value) {
    return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

void sendReply(httplib::Response& response, const Reply& reply) {
    response.status = reply.status;
    if (reply.retryAfterSeconds != 0) {
        response.set_header("Retry-After", std::to_string(reply.retryAfterSeconds));
    }
    response.set_content(jsonText(reply.body), "application/json");
}

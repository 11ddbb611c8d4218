// The board's HTTP face (see http_api.h).
#include "http_api.h"

#include <chrono>
#include <filesystem>
#include <variant>

#include "http_guard.h"
#include "rules.h"

namespace {

using nlohmann::json;
constexpr std::size_t kBoardLength = 100;
constexpr std::size_t kAroundEach = 5;

std::int64_t nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

json entryJson(const BoardEntry& entry) {
    json out = {{"id", entry.id},       {"name", entry.name},
                {"score", entry.score}, {"seconds", entry.seconds},
                {"live", entry.live},   {"submitted", utcTimestamp(entry.submittedMs)}};
    if (entry.rank > 0) {
        out["rank"] = entry.rank;
    }
    return out;
}

json entriesJson(const std::vector<BoardEntry>& entries) {
    json list = json::array();
    for (const BoardEntry& entry : entries) {
        list.push_back(entryJson(entry));
    }
    return {{"entries", list}};
}

// The client's address: the last X-Forwarded-For entry (the one our own
// proxy added) when trusted, the socket's peer otherwise.
std::string clientAddress(const httplib::Request& request, bool trustProxy) {
    const std::string forwarded = request.get_header_value("X-Forwarded-For");
    if (!trustProxy || forwarded.empty()) {
        return request.remote_addr;
    }
    std::string last = forwarded.substr(forwarded.rfind(',') + 1);
    last.erase(0, last.find_first_not_of(' '));
    return last.substr(0, last.find_last_not_of(' ') + 1);
}

// The board a GET /api/board names, or the reply refusing it.
std::variant<BoardQuery, Reply> boardQueryOf(const httplib::Request& request) {
    if (request.has_param("seed")) {
        const std::optional<std::uint32_t> seed = parseSeed(request.get_param_value("seed"));
        if (!seed) {
            return errorReply(400, kBadSeed);
        }
        return BoardQuery{BoardKind::Seed, *seed, ""};
    }
    if (request.has_param("daily")) {
        std::string day = request.get_param_value("daily");
        day = day.empty() ? utcDay(nowMs()) : day;
        if (!daySeed(day)) {
            return errorReply(400, "daily takes a day as YYYY-MM-DD");
        }
        return BoardQuery{BoardKind::Daily, 0, day};
    }
    if (request.has_param("all")) {
        return BoardQuery{BoardKind::All, 0, ""};
    }
    return errorReply(400, "name a board: seed=N, daily=YYYY-MM-DD or all");
}

Reply boardReply(BoardStore& store, const httplib::Request& request) {
    std::variant<BoardQuery, Reply> query = boardQueryOf(request);
    if (auto* refusal = std::get_if<Reply>(&query)) {
        return *refusal;
    }
    if (!request.has_param("around")) {
        return {200, entriesJson(store.board(std::get<BoardQuery>(query), kBoardLength)), 0};
    }
    const std::optional<std::uint64_t> id =
        parseNumber(request.get_param_value("around"), INT64_MAX);
    if (!id) {
        return errorReply(400, "around takes the ID of an entry");
    }
    std::optional<std::vector<BoardEntry>> entries =
        store.around(std::get<BoardQuery>(query), static_cast<std::int64_t>(*id), kAroundEach);
    if (!entries) {
        return errorReply(404, "that entry is not on this board");
    }
    return {200, entriesJson(*entries), 0};
}

// The run `id` of a path, or nothing when it is not one.
std::optional<std::int64_t> runIdOf(const httplib::Request& request) {
    std::optional<std::uint64_t> id = parseNumber(request.matches[1], INT64_MAX);
    return id ? std::optional<std::int64_t>(static_cast<std::int64_t>(*id)) : std::nullopt;
}

Reply runReply(BoardStore& store, const httplib::Request& request) {
    std::optional<std::int64_t> id = runIdOf(request);
    std::optional<RunDetails> details = id ? store.run(*id) : std::nullopt;
    if (!details) {
        return errorReply(404, "there is no such entry");
    }
    json entry = entryJson(details->entry);
    entry["seed"] = details->seed;
    return {
        200, {{"entry", entry}, {"verify", json::parse(details->verifyJson, nullptr, false)}}, 0};
}

void installRunRoutes(httplib::Server& server, BoardStore& store, SubmissionDesk& desk,
                      bool trustProxy) {
    server.Post("/api/starts", [&desk, trustProxy](const httplib::Request& request,
                                                   httplib::Response& response) {
        sendReply(response, desk.issueToken(request.get_param_value("seed"),
                                            clientAddress(request, trustProxy), nowMs()));
    });
    server.Post("/api/runs", [&desk, trustProxy](const httplib::Request& request,
                                                 httplib::Response& response) {
        Submission submission{request.get_param_value("name"), std::nullopt, request.body,
                              clientAddress(request, trustProxy), nowMs()};
        if (request.has_param("token")) {
            submission.token = request.get_param_value("token");
        }
        sendReply(response, desk.submit(submission));
    });
    server.Get(R"(/api/runs/(\d+))",
               [&store](const httplib::Request& request, httplib::Response& response) {
                   sendReply(response, runReply(store, request));
               });
    server.Get(R"(/api/runs/(\d+)/replay)",
               [&store](const httplib::Request& request, httplib::Response& response) {
                   std::optional<std::int64_t> id = runIdOf(request);
                   std::optional<std::string> bytes = id ? store.replay(*id) : std::nullopt;
                   if (!bytes) {
                       return sendReply(response, errorReply(404, "there is no such entry"));
                   }
                   // A stored recording never changes: caches may keep it for good.
                   response.set_header("Cache-Control", "public, max-age=31536000, immutable");
                   response.set_content(*bytes, "application/octet-stream");
               });
}

}  // namespace

void installApi(httplib::Server& server, BoardStore& store, SubmissionDesk& desk,
                const ApiSettings& settings) {
    server.set_default_headers({{"X-Content-Type-Options", "nosniff"}});
    server.set_pre_routing_handler(
        [overloaded = settings.overloaded](const httplib::Request& request,
                                           httplib::Response& response) {
            return guardRequest(request, response, overloaded());
        });
    installRunRoutes(server, store, desk, settings.trustProxy);
    server.Get("/api/board",
               [&store](const httplib::Request& request, httplib::Response& response) {
                   sendReply(response, boardReply(store, request));
               });
    server.Get("/api/health", [&store](const httplib::Request&, httplib::Response& response) {
        const bool healthy = store.healthy();
        sendReply(response, {healthy ? 200 : 503,
                             {{"status", healthy ? "ok" : "database unavailable"},
                              {"database", store.kind()}},
                             0});
    });
    server.set_error_handler([](const httplib::Request&, httplib::Response& response) {
        if (!response.has_header("Content-Type")) {  // httplib's own answer, no body of ours
            sendReply(response,
                      errorReply(response.status, response.status == 404
                                                      ? "not found"
                                                      : "the request was not understood"));
        }
    });
    if (!settings.site.empty() && std::filesystem::is_directory(settings.site)) {
        server.set_mount_point("/", settings.site);
        // The page's packed assets and its golden replays are bytes, not text.
        server.set_file_extension_and_mimetype_mapping("data", "application/octet-stream");
        server.set_file_extension_and_mimetype_mapping("replay", "application/octet-stream");
    }
}

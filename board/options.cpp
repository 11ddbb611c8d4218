// The command line of quorland-board (see options.h).
#include "options.h"

#include <functional>
#include <map>

#include "rules.h"

const char kBoardUsage[] =
    "usage: quorland-board [hide ID] [--listen ADDR:PORT] [--site DIR] [--data DIR]"
    " [--database postgresql://...] [--game PATH] [--rate N] [--trust-proxy]"
    " [--verifiers N] [--queue N] [--threads N]";

namespace {

using Setter = std::function<std::optional<std::string>(BoardOptions&, const std::string&)>;

std::optional<std::string> setListen(BoardOptions& options, const std::string& value) {
    const std::size_t colon = value.rfind(':');
    std::optional<std::uint64_t> port =
        colon == std::string::npos ? std::nullopt : parseNumber(value.substr(colon + 1), 65535);
    if (!port || colon == 0) {
        return "--listen takes ADDR:PORT, e.g. 127.0.0.1:8000";
    }
    options.host = value.substr(0, colon);
    options.port = static_cast<int>(*port);
    return std::nullopt;
}

Setter count(std::size_t BoardOptions::*field, const char* name) {
    return [field, name](BoardOptions& options, const std::string& value) {
        std::optional<std::uint64_t> number = parseNumber(value, 1000000000);
        if (!number || *number == 0) {
            return std::optional<std::string>(std::string(name) + " takes a positive number");
        }
        options.*field = static_cast<std::size_t>(*number);
        return std::optional<std::string>();
    };
}

std::optional<std::string> setQueue(BoardOptions& options, const std::string& value) {
    std::optional<std::uint64_t> number = parseNumber(value, 100000);
    if (!number) {
        return "--queue takes a number";
    }
    options.queue = static_cast<std::size_t>(*number);
    return std::nullopt;
}

Setter text(std::string BoardOptions::*field) {
    return [field](BoardOptions& options, const std::string& value) {
        options.*field = value;
        return std::optional<std::string>();
    };
}

const std::map<std::string, Setter>& valueOptions() {
    static const std::map<std::string, Setter> options = {
        {"--listen", setListen},
        {"--site", text(&BoardOptions::site)},
        {"--data", text(&BoardOptions::data)},
        {"--database", text(&BoardOptions::database)},
        {"--game", text(&BoardOptions::game)},
        {"--rate", count(&BoardOptions::rate, "--rate")},
        {"--verifiers", count(&BoardOptions::verifiers, "--verifiers")},
        {"--queue", setQueue},
        {"--threads", count(&BoardOptions::threads, "--threads")},
    };
    return options;
}

std::optional<std::string> takeCommand(const std::vector<std::string>& arguments, std::size_t& next,
                                       BoardOptions& options) {
    if (arguments.empty() || arguments[0] != "hide") {
        return std::nullopt;
    }
    std::optional<std::uint64_t> id =
        arguments.size() > 1 ? parseNumber(arguments[1], INT64_MAX) : std::nullopt;
    if (!id) {
        return "hide takes the ID of an entry";
    }
    options.command = "hide";
    options.hideId = static_cast<std::int64_t>(*id);
    next = 2;
    return std::nullopt;
}

}  // namespace

ParsedOptions parseOptions(const std::vector<std::string>& arguments,
                           const std::string& executableFolder) {
    ParsedOptions parsed;
    BoardOptions& options = parsed.options;
    options.site = executableFolder + "/../build-web/site";
    options.game = executableFolder + "/quorland";
    std::size_t next = 0;
    parsed.error = takeCommand(arguments, next, options);
    for (std::size_t i = next; i < arguments.size() && !parsed.error; ++i) {
        const std::string& argument = arguments[i];
        auto setter = valueOptions().find(argument);
        if (argument == "--trust-proxy") {
            options.trustProxy = true;
        } else if (setter == valueOptions().end()) {
            parsed.error = "unknown option '" + argument + "'";
        } else if (i + 1 == arguments.size()) {
            parsed.error = argument + " needs a value";
        } else {
            parsed.error = setter->second(options, arguments[++i]);
        }
    }
    if (!parsed.error && !options.database.empty() &&
        options.database.rfind("postgresql://", 0) != 0 &&
        options.database.rfind("postgres://", 0) != 0) {
        parsed.error = "--database takes a postgresql:// address";
    }
    return parsed;
}

// quorland-board: the score board server. Reads the command line, opens and
// upgrades the store, then either hides an entry (`hide ID`) or serves the
// page and the API until SIGTERM or SIGINT, which stop taking connections,
// let the requests in flight finish, and exit 0.
//
// The signals are blocked in every thread and taken by one thread with
// sigwait, so no handler runs inside the server's code; the verifier's
// children get them unblocked again (child_run.cpp).
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <thread>

#include "board_store.h"
#include "http_api.h"
#include "http_guard.h"
#include "options.h"
#include "postgres_database.h"
#include "sqlite_database.h"
#include "submission.h"
#include "task_queue.h"

namespace {

constexpr std::size_t kQueuedConnections = 256;
constexpr time_t kIoTimeoutSeconds = 5;

std::string executableFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? "." : self.parent_path().string();
}

std::unique_ptr<BoardStore> openStore(const BoardOptions& options, std::size_t connections) {
    std::unique_ptr<Database> database = options.database.empty()
                                             ? openSqliteDatabase(options.data)
                                             : openPostgresDatabase(options.database, connections);
    auto store = std::make_unique<BoardStore>(std::move(database));
    store->upgrade();
    return store;
}

sigset_t stopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    return signals;
}

int hideEntry(BoardStore& store, std::int64_t id) {
    if (!store.hide(id)) {
        std::cout << "No entry " << id << std::endl;
        return 1;
    }
    std::cout << "Entry " << id << " is hidden" << std::endl;
    return 0;
}

void configure(httplib::Server& server, std::atomic<BoundedTaskQueue*>& queue,
               std::size_t threads) {
    const std::size_t busyLimit = threads + kQueuedConnections / 2;
    server.new_task_queue = [&queue, threads, busyLimit] {
        auto* created = new BoundedTaskQueue(threads, kQueuedConnections, busyLimit);
        queue = created;
        return created;
    };
    // Headers and body go out in two writes: without this, Nagle's algorithm
    // holds the body for the client's delayed acknowledgement (40 ms).
    server.set_tcp_nodelay(true);
    server.set_keep_alive_max_count(100);
    server.set_keep_alive_timeout(kIoTimeoutSeconds);
    server.set_read_timeout(kIoTimeoutSeconds, 0);
    server.set_write_timeout(kIoTimeoutSeconds, 0);
    server.set_payload_max_length(kMaxBodyBytes);
}

// A private folder for the recordings being verified (the verifier's HOME
// too), removed when the server stops.
class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern =
            std::filesystem::temp_directory_path().string() + "/quorland-board-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("Cannot make a temporary folder in " + pattern);
        }
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

int serve(BoardStore& store, const BoardOptions& options, std::size_t verifiers,
          std::size_t threads) {
    const ScratchFolder scratch;
    VerifierPool pool(verifiers, options.queue.value_or(2 * verifiers),
                      VerifierSettings{options.game, scratch.path(), {}});
    SubmissionDesk desk(store, pool, options.rate);
    httplib::Server server;
    std::atomic<BoundedTaskQueue*> queue{nullptr};
    configure(server, queue, threads);
    installApi(server, store, desk, {options.trustProxy, options.site, [&queue] {
                                         BoundedTaskQueue* current = queue.load();
                                         return current != nullptr && current->overloaded();
                                     }});
    const int port = options.port == 0
                         ? server.bind_to_any_port(options.host)
                         : (server.bind_to_port(options.host, options.port) ? options.port : -1);
    if (port < 0) {
        std::cerr << "quorland-board: cannot listen on " << options.host << ":" << options.port
                  << std::endl;
        return 1;
    }
    std::thread stopper([&server] {
        const sigset_t signals = stopSignals();
        int taken = 0;
        sigwait(&signals, &taken);
        server.stop();
    });
    std::cout << "quorland-board: listening on http://" << options.host << ":" << port << "/ ("
              << store.kind() << ")" << std::endl;
    server.listen_after_bind();
    pthread_kill(stopper.native_handle(), SIGTERM);
    stopper.join();
    std::cout << "quorland-board: stopped" << std::endl;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const ParsedOptions parsed =
        parseOptions(std::vector<std::string>(argv + 1, argv + argc), executableFolder());
    if (parsed.error) {
        std::cerr << "quorland-board: " << *parsed.error << "\n" << kBoardUsage << std::endl;
        return 2;
    }
    const BoardOptions& options = parsed.options;
    const sigset_t signals = stopSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    signal(SIGPIPE, SIG_IGN);
    const std::size_t verifiers =
        options.verifiers ? options.verifiers : std::max(1u, std::thread::hardware_concurrency());
    const std::size_t threads =
        options.threads ? options.threads : std::max<std::size_t>(16, 4 * verifiers + 8);
    try {
        std::unique_ptr<BoardStore> store = openStore(options, threads);
        return options.command == "hide" ? hideEntry(*store, options.hideId)
                                         : serve(*store, options, verifiers, threads);
    } catch (const std::exception& error) {
        std::cerr << "quorland-board: " << error.what() << std::endl;
        return 1;
    }
}

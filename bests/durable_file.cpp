#include "bests/durable_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace {

const char* const kTemporaryMark = ".tmp-";

std::string reason() {
    return std::strerror(errno);
}

// Flushes the folder's entries (the rename) to disk.
std::string syncFolder(const std::string& folder) {
    FileDescriptor directory(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!directory.valid() || fsync(directory.get()) != 0) {
        return reason();
    }
    return "";
}

std::string writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count = write(fd, bytes.data() + done, bytes.size() - done);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return count < 0 ? reason() : "nothing written";
        }
        done += static_cast<std::size_t>(count);
    }
    return "";
}

}  // namespace

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        FileDescriptor old(fd_);
        fd_ = other.release();
    }
    return *this;
}

int FileDescriptor::release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
}

std::string FolderLock::take(const std::string& path) {
    FileDescriptor file(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
    if (!file.valid()) {
        return reason();
    }
    int result = 0;
    while ((result = flock(file.get(), LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (result != 0) {
        return reason();
    }
    file_ = std::move(file);
    return "";
}

std::string makeFolders(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    return error ? error.message() : "";
}

std::string writeDurably(const std::string& folder, const std::string& name,
                         const std::string& bytes) {
    const std::string target = folder + "/" + name;
    const std::string temporary = target + kTemporaryMark + std::to_string(getpid());
    std::string problem;
    {
        FileDescriptor file(
            open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
        if (!file.valid()) {
            return reason();
        }
        problem = writeAll(file.get(), bytes);
        if (problem.empty() && fsync(file.get()) != 0) {
            problem = reason();
        }
        if (problem.empty() && close(file.release()) != 0) {
            problem = reason();
        }
    }
    if (problem.empty() && std::rename(temporary.c_str(), target.c_str()) != 0) {
        problem = reason();
    }
    if (!problem.empty()) {
        unlink(temporary.c_str());
        return problem;
    }
    return syncFolder(folder);
}

std::string renameDurably(const std::string& folder, const std::string& from,
                          const std::string& to) {
    if (std::rename((folder + "/" + from).c_str(), (folder + "/" + to).c_str()) != 0) {
        return reason();
    }
    return syncFolder(folder);
}

bool isLeftoverTemporary(const std::string& name) {
    const std::size_t mark = name.rfind(kTemporaryMark);
    return mark != std::string::npos && mark > 0 &&
           name.size() > mark + std::strlen(kTemporaryMark) &&
           name.find_first_not_of("0123456789", mark + std::strlen(kTemporaryMark)) ==
               std::string::npos;
}

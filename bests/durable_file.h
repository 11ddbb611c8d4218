// Files that survive a crash or a power loss whole, and a lock between
// processes: the operating-system side of the store of bests.
//
// A durable write goes to a temporary file beside the target (its name ends
// in ".tmp-" and the process id, so two processes never share one), is
// flushed to disk, renamed over the target, and the folder is flushed, so
// the target is always either the old file or the new one. Every call
// reports failure with the system's reason instead of stopping anything.
#pragma once

#include <string>

// An open file descriptor, closed when the owner goes (-1: none).
class FileDescriptor {
  public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor();
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release();

  private:
    int fd_ = -1;
};

// An exclusive lock on a lock file (flock), held until the owner goes.
class FolderLock {
  public:
    // Creates `path` if needed and waits for the lock; "" or the reason it failed.
    std::string take(const std::string& path);
    bool held() const { return file_.valid(); }

  private:
    FileDescriptor file_;
};

// Makes `folder` and the folders on the way; "" or the reason it failed.
std::string makeFolders(const std::string& folder);

// Writes `bytes` to `folder`/`name` durably; "" or the reason it failed
// (the temporary file is then removed).
std::string writeDurably(const std::string& folder, const std::string& name,
                         const std::string& bytes);

// Renames `folder`/`from` to `folder`/`to` and flushes the folder; "" or the reason.
std::string renameDurably(const std::string& folder, const std::string& from,
                          const std::string& to);

// Whether `name` is a temporary file writeDurably leaves behind when its
// process dies before the rename.
bool isLeftoverTemporary(const std::string& name);

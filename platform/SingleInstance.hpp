#pragma once

#include <memory>
#include <string>
#include <utility>

namespace tokeiya {

// Keeps a second copy of the program from running in the same user session: an exclusive
// flock on a lock file, held for the life of the object. The kernel drops the lock when
// the process ends, however it ends, so a crash never leaves a stale lock behind.
class CSingleInstanceLock {
  public:
    // Locks "<folder>/<name>.lock". Without a folder: "$XDG_RUNTIME_DIR/<name>.lock", or
    // "/tmp/<name>-<uid>.lock" when XDG_RUNTIME_DIR is not set. Returns null when another
    // holder has it. Throws std::system_error when the lock file cannot be opened or
    // locked for any other reason, so that "already running" is never guessed from an
    // unrelated failure.
    static std::unique_ptr<CSingleInstanceLock> Acquire(const std::string& name,
                                                        const std::string& folder = "");

    // Asks the copy holding the lock "<name>" to bring its window to the front, through
    // the socket beside its lock file. False when no copy listens there.
    static bool AskRunningCopyToShow(const std::string& name, const std::string& folder = "");

    ~CSingleInstanceLock();
    CSingleInstanceLock(const CSingleInstanceLock&) = delete;
    CSingleInstanceLock& operator=(const CSingleInstanceLock&) = delete;

    const std::string& Path() const { return m_path; }

    // Opens the socket a later start asks through (beside the lock file, readable by this
    // user only). False when it cannot be opened; the lock holds all the same.
    bool Listen();
    // Whether a later start has asked for the window since the last call; never blocks.
    bool TakeShowRequest();

  private:
    CSingleInstanceLock(int fd, std::string path) : m_fd(fd), m_path(std::move(path)) {}

    int m_fd;
    std::string m_path;
    int m_listener = -1;
};

}  // namespace tokeiya

#include "platform/SingleInstance.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace tokeiya {
namespace {

std::string LockPath(const std::string& name, const std::string& folder) {
    if (!folder.empty()) {
        return folder + "/" + name + ".lock";
    }
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    if (runtimeDir != nullptr && *runtimeDir != '\0') {
        return std::string(runtimeDir) + "/" + name + ".lock";
    }
    // /tmp is shared by every user: the uid keeps sessions of different users apart.
    return "/tmp/" + name + "-" + std::to_string(getuid()) + ".lock";
}

// The socket of the copy that holds `lockPath`.
std::string SocketPath(const std::string& lockPath) {
    return lockPath.substr(0, lockPath.size() - std::strlen(".lock")) + ".sock";
}

bool ToAddress(const std::string& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

}  // namespace

std::unique_ptr<CSingleInstanceLock> CSingleInstanceLock::Acquire(const std::string& name,
                                                                  const std::string& folder) {
    std::string path = LockPath(name, folder);
    // O_NOFOLLOW: in a shared folder a planted symbolic link must not make us create or
    // lock a file elsewhere.
    int fd = -1;
    do {
        fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        throw std::system_error(errno, std::generic_category(), "cannot open " + path);
    }
    int rc = -1;
    do {
        rc = flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const int error = errno;
        close(fd);
        if (error == EWOULDBLOCK) {
            return nullptr;
        }
        throw std::system_error(error, std::generic_category(), "cannot lock " + path);
    }
    return std::unique_ptr<CSingleInstanceLock>(new CSingleInstanceLock(fd, std::move(path)));
}

CSingleInstanceLock::~CSingleInstanceLock() {
    if (m_listener >= 0) {
        close(m_listener);
        unlink(SocketPath(m_path).c_str());
    }
    close(m_fd);
}

bool CSingleInstanceLock::Listen() {
    if (m_listener >= 0) {
        return true;
    }
    sockaddr_un address{};
    const std::string path = SocketPath(m_path);
    if (!ToAddress(path, address)) {
        return false;
    }
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    // Holding the lock, any socket left there is a crashed copy's.
    unlink(path.c_str());
    // Created private: only this user's later starts may ask.
    const mode_t mask = umask(0077);
    const bool bound = bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    umask(mask);
    if (!bound || listen(fd, 4) != 0) {
        close(fd);
        return false;
    }
    m_listener = fd;
    return true;
}

bool CSingleInstanceLock::TakeShowRequest() {
    if (m_listener < 0) {
        return false;
    }
    bool asked = false;
    for (;;) {
        const int connection = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) {
            if (errno == EINTR) {
                continue;
            }
            return asked;
        }
        // A connection is the request; what it says is not waited for.
        close(connection);
        asked = true;
    }
}

bool CSingleInstanceLock::AskRunningCopyToShow(const std::string& name, const std::string& folder) {
    sockaddr_un address{};
    if (!ToAddress(SocketPath(LockPath(name, folder)), address)) {
        return false;
    }
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    int rc = -1;
    do {
        rc = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } while (rc != 0 && errno == EINTR);
    bool asked = rc == 0;
    if (asked) {
        static const char kRequest[] = "show\n";
        asked = send(fd, kRequest, sizeof kRequest - 1, MSG_NOSIGNAL) >= 0;
    }
    close(fd);
    return asked;
}

}  // namespace tokeiya

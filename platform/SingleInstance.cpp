#include "platform/SingleInstance.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
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
    close(m_fd);
}

}  // namespace tokeiya

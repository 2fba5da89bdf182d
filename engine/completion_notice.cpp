#include "engine/completion_notice.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#if !defined(_WIN32)
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace kivo {
namespace {

uint64_t Fnv1a64(const std::string& bytes) {
    uint64_t hash = 14695981039346656037ULL;
    for (unsigned char byte : bytes) {
        hash ^= byte;
        hash *= 1099511628211ULL;
    }
    return hash;
}

std::string UserId() {
#if defined(_WIN32)
    return "0";
#else
    return std::to_string(static_cast<unsigned long>(getuid()));
#endif
}

}  // namespace

std::string NoticeSocketName(const std::string& windowTitle) {
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx",
                  static_cast<unsigned long long>(Fnv1a64(windowTitle)));
    return "kivo-gui-" + UserId() + "-" + hash;
}

std::string NoticeSocketPath(const std::string& windowTitle) {
    return "/tmp/" + NoticeSocketName(windowTitle);
}

void SendCompletionNotice(const std::string& settingsFile) {
#if defined(_WIN32)
    (void)settingsFile;  // The Windows build has no notice channel yet: nothing is sent.
#else
    std::string path = NoticeSocketPath("KIVO GUI - " + settingsFile);
    sockaddr_un address{};
    if (path.size() >= sizeof address.sun_path) return;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);

    int socketHandle = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (socketHandle < 0) return;
    if (connect(socketHandle, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        std::string notice = std::to_string(RunFinishedMessage) + "\n";
        // MSG_NOSIGNAL: a front end that has just gone away must not end the engine.
        ssize_t written = send(socketHandle, notice.data(), notice.size(), MSG_NOSIGNAL);
        (void)written;
    }
    close(socketHandle);
#endif
}

}  // namespace kivo

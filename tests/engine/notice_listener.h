#pragma once

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>
#include <string>

namespace kivo::test {

/// A front end's notice socket for the tests: listens on a Unix-domain stream socket at a
/// path and hands out what one connected client wrote.
class NoticeListener {
  public:
    explicit NoticeListener(const std::string& path) : path_(path) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        unlink(path.c_str());
        handle_ = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
        if (handle_ < 0 ||
            bind(handle_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            listen(handle_, 4) != 0) {
            throw std::runtime_error("cannot listen on " + path);
        }
    }
    ~NoticeListener() {
        close(handle_);
        unlink(path_.c_str());
    }
    NoticeListener(const NoticeListener&) = delete;
    NoticeListener& operator=(const NoticeListener&) = delete;

    /// True when a client is waiting; its bytes up to its close go into `notice`.
    bool Accept(std::string& notice) {
        int client = accept(handle_, nullptr, nullptr);
        if (client < 0) return false;
        fcntl(client, F_SETFL, 0);
        notice.clear();
        char buffer[64];
        ssize_t count;
        while ((count = read(client, buffer, sizeof buffer)) > 0) notice.append(buffer, count);
        close(client);
        return true;
    }

    /// Leaves a socket file at `path` that nobody listens on, as a crashed front end would.
    static void LeaveStaleSocket(const std::string& path) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        unlink(path.c_str());
        int handle = socket(AF_UNIX, SOCK_STREAM, 0);
        if (handle < 0 ||
            bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            throw std::runtime_error("cannot bind " + path);
        }
        close(handle);
    }

  private:
    std::string path_;
    int handle_ = -1;
};

}  // namespace kivo::test

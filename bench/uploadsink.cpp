// A store stand-in for the upload benchmark: an HTTP/1.1 server on 127.0.0.1 that reads
// every request body as fast as it comes and throws it away, so that the clients compared
// are what limits the speed. Each connection has a thread of its own; the answer is a JSON
// object that both the Qiniu and the UpYun actions take as "stored". Prints its port.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

std::atomic<long long> s_requests{0};

bool sendAll(int fd, const std::string &text)
{
    size_t sent = 0;
    while (sent < text.size()) {
        const ssize_t n = ::send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        sent += size_t(n);
    }
    return true;
}

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

void serve(int fd)
{
    std::vector<char> buffer(1 << 20);
    std::string pending;
    while (true) {
        size_t headerEnd;
        while ((headerEnd = pending.find("\r\n\r\n")) == std::string::npos) {
            const ssize_t n = ::recv(fd, buffer.data(), buffer.size(), 0);
            if (n <= 0) {
                ::close(fd);
                return;
            }
            pending.append(buffer.data(), size_t(n));
        }
        const std::string head = lower(pending.substr(0, headerEnd));
        pending.erase(0, headerEnd + 4);
        long long length = 0;
        const size_t at = head.find("\r\ncontent-length:");
        if (at != std::string::npos)
            length = std::atoll(head.c_str() + at + 17);
        if (head.find("\r\nexpect: 100-continue") != std::string::npos && !sendAll(fd, "HTTP/1.1 100 Continue\r\n\r\n"))
            break;
        long long left = length;
        const long long buffered = std::min<long long>(left, (long long)pending.size());
        pending.erase(0, size_t(buffered));
        left -= buffered;
        while (left > 0) {
            const ssize_t n = ::recv(fd, buffer.data(), size_t(std::min<long long>(left, (long long)buffer.size())), 0);
            if (n <= 0) {
                ::close(fd);
                return;
            }
            left -= n;
        }
        const long long number = ++s_requests;
        const std::string body = "{\"url\":\"/sink/" + std::to_string(number) + "\",\"key\":\"" + std::to_string(number)
            + "\",\"received\":" + std::to_string(length) + "}";
        const std::string answer = "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: "
            + std::to_string(body.size()) + "\r\n\r\n" + body;
        if (!sendAll(fd, answer))
            break;
    }
    ::close(fd);
}

} // namespace

int main()
{
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    const int on = 1;
    ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 || ::listen(listener, 512) != 0) {
        std::perror("uploadsink");
        return 1;
    }
    socklen_t size = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &size);
    std::printf("%d\n", ntohs(address.sin_port));
    std::fflush(stdout);
    while (true) {
        const int fd = ::accept(listener, nullptr, nullptr);
        if (fd < 0)
            continue;
        std::thread(serve, fd).detach();
    }
}

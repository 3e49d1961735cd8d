#include "server/http/DeadlineServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {
using TClock = std::chrono::steady_clock;

void AddressOf(const sockaddr_storage& a, std::string& ip, int& port) {
  char text[INET6_ADDRSTRLEN] = {};
  if (a.ss_family == AF_INET) {
    const auto& v4 = reinterpret_cast<const sockaddr_in&>(a);
    inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text);
    port = ntohs(v4.sin_port);
  } else if (a.ss_family == AF_INET6) {
    const auto& v6 = reinterpret_cast<const sockaddr_in6&>(a);
    inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text);
    port = ntohs(v6.sin6_port);
  }
  ip = text;
}

// A connection's socket, read through a small buffer (the library reads the
// request line and headers a byte at a time) against one deadline.
class TDeadlineStream : public httplib::Stream {
 public:
  TDeadlineStream(int fd, TClock::time_point deadline, std::chrono::milliseconds writeTimeout)
      : Fd(fd), Deadline(deadline), WriteTimeout(writeTimeout) {}

  bool is_readable() const override { return Begin < End || Wait(POLLIN, Left()); }
  bool is_writable() const override { return Wait(POLLOUT, int(WriteTimeout.count())); }

  ssize_t read(char* ptr, size_t size) override {
    if (Begin == End) {
      if (!Wait(POLLIN, Left())) return -1;
      ssize_t n;
      do n = ::recv(Fd, Buffer, sizeof Buffer, 0);
      while (n < 0 && errno == EINTR);
      if (n <= 0) return n;
      Begin = 0;
      End = std::size_t(n);
    }
    const std::size_t take = std::min(size, End - Begin);
    std::memcpy(ptr, Buffer + Begin, take);
    Begin += take;
    return ssize_t(take);
  }

  ssize_t write(const char* ptr, size_t size) override {
    if (!is_writable()) return -1;
    ssize_t n;
    do n = ::send(Fd, ptr, size, MSG_NOSIGNAL);
    while (n < 0 && errno == EINTR);
    return n;
  }

  void get_remote_ip_and_port(std::string& ip, int& port) const override {
    sockaddr_storage a{};
    socklen_t len = sizeof a;
    if (getpeername(Fd, reinterpret_cast<sockaddr*>(&a), &len) == 0) AddressOf(a, ip, port);
  }
  void get_local_ip_and_port(std::string& ip, int& port) const override {
    sockaddr_storage a{};
    socklen_t len = sizeof a;
    if (getsockname(Fd, reinterpret_cast<sockaddr*>(&a), &len) == 0) AddressOf(a, ip, port);
  }
  socket_t socket() const override { return Fd; }

 private:
  int Left() const {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Deadline - TClock::now()).count();
    return ms > 0 ? int(ms) : 0;
  }
  bool Wait(short events, int ms) const {
    if (ms <= 0) return false;
    pollfd p{Fd, events, 0};
    int ready;
    do ready = poll(&p, 1, ms);
    while (ready < 0 && errno == EINTR);
    return ready > 0 && (p.revents & (events | POLLHUP | POLLERR));
  }

  int Fd;
  TClock::time_point Deadline;
  std::chrono::milliseconds WriteTimeout;
  char Buffer[4096];
  std::size_t Begin = 0, End = 0;
};
}  // namespace

bool TDeadlineServer::WidenBacklog(int connections) { return ::listen(svr_sock_, connections) == 0; }

bool TDeadlineServer::process_and_close_socket(socket_t sock) {
  TDeadlineStream stream(sock, TClock::now() + ReadDeadline, WriteTimeout);
  bool closed = false;
  const bool ok = process_request(stream, true, closed, nullptr);
  ::shutdown(sock, SHUT_RDWR);
  ::close(sock);
  return ok;
}

#pragma once
// cpp-httplib's server with one request per connection and a deadline on
// reading it: the whole request (line, headers, body) must arrive within the
// read timeout of the connection being taken up, however the bytes are
// spread. The library's own timeout restarts with every byte, so a client
// sending one byte a second would otherwise hold a worker thread for ever.
#include <httplib.h>

#include <chrono>

class TDeadlineServer : public httplib::Server {
 public:
  TDeadlineServer(std::chrono::milliseconds readDeadline, std::chrono::milliseconds writeTimeout)
      : ReadDeadline(readDeadline), WriteTimeout(writeTimeout) {}
  // After binding: the library listens with a queue of 5 connections not yet
  // accepted, which a burst of clients overflows (their connections reset,
  // or wait a second for a retry); this makes it longer.
  bool WidenBacklog(int connections);

 private:
  bool process_and_close_socket(socket_t sock) override;

  std::chrono::milliseconds ReadDeadline, WriteTimeout;
};

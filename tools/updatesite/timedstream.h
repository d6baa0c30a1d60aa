#pragma once
// One connection as the HTTP server reads and writes it, where every wait for the
// client has a time limit: a client that stops reading a large item frees its worker
// once a write has waited that long.
#include <httplib.h>

#include <chrono>

namespace updatesite {

class TimedStream : public httplib::Stream {
 public:
  TimedStream(int socket, std::chrono::milliseconds readLimit, std::chrono::milliseconds writeLimit);

  bool is_readable() const override;
  bool is_writable() const override;
  ssize_t read(char* ptr, size_t size) override;
  ssize_t write(const char* ptr, size_t size) override;
  void get_remote_ip_and_port(std::string& ip, int& port) const override;
  void get_local_ip_and_port(std::string& ip, int& port) const override;
  int socket() const override { return socket_; }

  // Bytes read from the socket but not yet taken: the start of a next request.
  bool HasBuffered() const { return position_ < filled_; }

 private:
  bool WaitFor(short events, std::chrono::milliseconds limit) const;

  int socket_;
  std::chrono::milliseconds readLimit_, writeLimit_;
  char buffer_[4096];
  size_t position_ = 0, filled_ = 0;
};

}  // namespace updatesite

#pragma once
// The runner's side of the journal connection: one TCP connection per message.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quilmo::journal {

// An IPv4 endpoint: the address in network byte order, the port in host order.
struct Endpoint {
    uint32_t Address = 0;
    uint16_t Port = 0;
};

// A service name known to the system, else a decimal number from 0 to 65535;
// nullopt for anything else.
std::optional<uint16_t> ResolvePort(const std::string& text);
// A dotted IPv4 address, else a host name resolved to its first IPv4 address.
std::optional<uint32_t> ResolveHost(const std::string& host);

// How long a runner waits for the journal to accept: the window does not
// respond meanwhile, and a host that never answers must not freeze it for
// the minutes the system would wait.
inline constexpr int kConnectTimeoutMs = 5000;

enum class SendOutcome {
    NoConnection,  // the host or the port cannot be resolved, the peer refuses, or the time-out passed
    Cut,           // connected, but the connection failed before every line was written
    Delivered,     // connected and every line written
};

// Connects to host:port and writes each line (bytes ready to go, CR LF
// included) with a send call of its own, then shuts the connection down both
// ways and closes it. A journal that stops reading holds the caller no longer
// than the connect time-out per line.
SendOutcome Deliver(const std::string& host, const std::string& port,
                    const std::vector<std::string>& lines, int connectTimeoutMs = kConnectTimeoutMs);

// True when a connection was made, whether or not every line went out.
inline bool SendLines(const std::string& host, const std::string& port,
                      const std::vector<std::string>& lines, int connectTimeoutMs = kConnectTimeoutMs)
{
    return Deliver(host, port, lines, connectTimeoutMs) != SendOutcome::NoConnection;
}

}  // namespace quilmo::journal

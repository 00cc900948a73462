#pragma once
// Sockets on the simulated modules' own addresses, where this host has them: a request sent to a
// module's address arrives at its socket, and the answer leaves from that address. The face's
// socket on 0.0.0.0 stays for broadcasts and for the modules whose address this host lacks.
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "net/datagram_endpoint.h"
#include "sim/network_module.h"

namespace zk::sim {

class AddressSockets
{
public:
    // Called with the socket a datagram arrived at, while it is delivered.
    using Handler = std::function<void(DatagramEndpoint& socket)>;

    // Sockets for the modules whose address is one of `local_addresses` (this host's); binds
    // nothing until follow() is called.
    AddressSockets(std::vector<std::string> local_addresses, Handler handler);

    // Whether any module's address is one of this host's, so the face must share its port.
    bool any_local(const NetworkModel& model) const;
    // Binds, moves or drops the sockets after the modules' addresses changed; `port` is the
    // face's, bound with PortUse::shared.
    void follow(const NetworkModel& model, int port);
    // The socket of module `index`, or nullptr when it shares the face's.
    std::shared_ptr<DatagramEndpoint> of(std::size_t index) const;
    // The address module `index`'s socket is bound to (its address before a write moved it).
    std::optional<Ipv4> bound_address(std::size_t index) const;
    // How many modules have a socket of their own.
    std::size_t count() const;

private:
    struct Own
    {
        std::optional<Ipv4> address;                // none: not looked at yet
        std::shared_ptr<DatagramEndpoint> endpoint; // none: the module shares the face's socket
    };

    bool is_local(const Ipv4& address) const;
    std::shared_ptr<DatagramEndpoint> bind(const Ipv4& address, int port);

    std::vector<std::string> local_;
    Handler handler_;
    std::vector<Own> own_; // by module
};

} // namespace zk::sim

#pragma once
// Whether the test runs under Wine, which binds a UDP socket "to an address" by binding it to
// every address of that address's device (so that it gets the device's broadcasts, as on
// Windows): such a socket also receives what is sent to the device's other addresses, and its
// datagrams leave from the device's first address. Tests of several controllers on several
// addresses of one device cannot hold there; on Windows itself and on Linux they do.
namespace zk::test {

bool under_wine();

} // namespace zk::test

#pragma once
// Which configuration reply answers which request: decided once, here, for the find window's
// watch, zkctl's client and the simulated module's tests alike. How long to wait and whether to
// ask again stay each caller's: a window tells the operator once, a script retries.
#include "discovery/message.h"

namespace zk::discovery {

// True when `reply` is the kind that answers `request` (a search reply a search, the
// configuration reply a read, an acknowledgement or a refusal a write, the reset acknowledgement
// a reset) and comes from the controller the request named. A search with the all-zero MAC is
// answered by every controller; a search or read naming a MAC, and a reset, only by that MAC, so
// that another controller's answer never ends the wait. A write's acknowledgement or refusal is
// not judged by its MAC bytes, which are each controller's own.
bool answers(const Request& request, const Reply& reply);

} // namespace zk::discovery

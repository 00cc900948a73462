#pragma once
// Which configuration reply answers which request: decided once, here, for the find window's
// watch, zkctl's client and the simulated module's tests alike. How long to wait and whether to
// ask again stay each caller's: a window tells the operator once, a script retries.
#include "discovery/message.h"

namespace zk::discovery {

// True when `reply` is the kind that answers `request` (a search reply a search, the
// configuration reply a read, an acknowledgement or a refusal a write, the reset acknowledgement
// a reset) and comes from the controller the request named. A search with the all-zero MAC is
// answered by every controller; anything else only by its own MAC, so that another controller's
// answer never ends a wait.
bool answers(const Request& request, const Reply& reply);

} // namespace zk::discovery

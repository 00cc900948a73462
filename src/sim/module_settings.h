#pragma once
// zksim's modules keep the settings of the one module model in src/discovery.
#include "discovery/module_settings.h"

namespace zk::sim {

using discovery::factory_block;
using discovery::Ipv4;
using discovery::Mac;
using discovery::ModuleSettings;
using discovery::name_room;
using discovery::restore_factory;
using discovery::StoredBlock;
using discovery::version_byte;

} // namespace zk::sim

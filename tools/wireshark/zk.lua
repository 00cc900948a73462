-- zkconfig's two UDP protocols for Wireshark and tshark:
--   zk_hs3  HS3 frames between the PC and a controller's command handler (UDP 16006);
--   zk_cfg  configuration datagrams between the PC and a controller's network module
--           (UDP 50000 on the module, 60000 on the PC).
-- Load it with  tshark -X lua_script:zk.lua  or copy it into Wireshark's personal Lua plugins
-- folder (Help > About Wireshark > Folders). Every field can be filtered: zk_hs3.command == 0xa8,
-- zk_cfg.code == 0xc1, zk_hs3.checksum.good == 0, zk_cfg.ip == 192.168.1.200 ...

---------------------------------------------------------------------------------------------
-- HS3 frames: "HS3", FF, length, two reserved bytes, command, operation, data, checksum.
---------------------------------------------------------------------------------------------

-- Expert items from {key = {name after the protocol's, text, group, severity}}.
local function new_experts(prefix, items)
    local out = {}
    for key, e in pairs(items) do out[key] = ProtoExpert.new(prefix .. "." .. e[1], e[2], e[3], e[4]) end
    return out
end

-- Hands a protocol its fields and expert items; Wireshark wants them as plain arrays.
local function register(proto, field_table, expert_table)
    local fields, experts = {}, {}
    for _, field in pairs(field_table) do fields[#fields + 1] = field end
    for _, item in pairs(expert_table) do experts[#experts + 1] = item end
    proto.fields = fields
    proto.experts = experts
end

local hs3 = Proto("zk_hs3", "zkconfig HS3 controller frame")

local commands = {
    [0x41] = "Projector timings",
    [0x45] = "Projector codes",
    [0x92] = "Controller ID",
    [0xA4] = "Authorisation check",
    [0xA5] = "Card and fingerprint registry",
    [0xA6] = "Swipe-card mode",
    [0xA8] = "Volume",
    [0xA9] = "Fingerprint count",
}
local operations = { [0x00] = "Read / data", [0xC5] = "Write", [0x55] = "Acknowledge" }
local registry_reads = { [0x00] = "Card at the reader", [0x01] = "Card count", [0x02] = "Card lookup" }
local registry_writes = {
    [0x00] = "Register card",
    [0x01] = "Enrol fingerprint",
    [0x02] = "Delete fingerprint",
    [0x03] = "Delete card",
}

local h = {
    signature = ProtoField.string("zk_hs3.signature", "Signature"),
    marker = ProtoField.uint8("zk_hs3.marker", "Marker", base.HEX),
    length = ProtoField.uint8("zk_hs3.length", "Length", base.DEC),
    reserved = ProtoField.uint16("zk_hs3.reserved", "Reserved", base.HEX),
    command = ProtoField.uint8("zk_hs3.command", "Command", base.HEX, commands),
    operation = ProtoField.uint8("zk_hs3.operation", "Operation", base.HEX, operations),
    kind = ProtoField.string("zk_hs3.kind", "Kind"),
    checksum = ProtoField.uint8("zk_hs3.checksum", "Checksum", base.HEX),
    checksum_good = ProtoField.bool("zk_hs3.checksum.good", "Checksum good"),
    checksum_calculated = ProtoField.uint8("zk_hs3.checksum.calculated", "Calculated checksum",
                                           base.HEX),
    unused = ProtoField.uint8("zk_hs3.unused", "Not used", base.HEX),
    controller_id = ProtoField.uint16("zk_hs3.controller_id", "Controller ID"),
    volume_channel = ProtoField.uint8("zk_hs3.volume_channel", "Volume channel"),
    volume = ProtoField.uint8("zk_hs3.volume", "Volume"),
    timings_tag = ProtoField.uint8("zk_hs3.timings_tag", "Timings tag", base.HEX),
    screen = ProtoField.uint8("zk_hs3.screen_interval", "Screen up/down interval (s)"),
    warm_up = ProtoField.uint8("zk_hs3.warm_up", "Projector warm-up time (s)"),
    cool_down = ProtoField.uint8("zk_hs3.cool_down", "Projector cool-down time (s)"),
    power_on_mode = ProtoField.uint8("zk_hs3.power_on_mode", "Power-on mode", base.HEX,
                                     { [0x00] = "Swipe-card mode", [0x02] = "Public mode" }),
    authorisation = ProtoField.uint8("zk_hs3.authorisation", "Authorisation check", base.HEX,
                                     { [0x00] = "Resumed", [0x01] = "Paused" }),
    read_sub = ProtoField.uint8("zk_hs3.read_sub", "Sub-command", base.HEX, registry_reads),
    write_sub = ProtoField.uint8("zk_hs3.write_sub", "Sub-command", base.HEX, registry_writes),
    card = ProtoField.uint32("zk_hs3.card", "Card number"),
    card_count = ProtoField.uint16("zk_hs3.card_count", "Registered cards"),
    lookup = ProtoField.uint8("zk_hs3.lookup", "Lookup result", base.HEX,
                              { [0x01] = "Found" }),
    registered = ProtoField.uint8("zk_hs3.register_result", "Registration result", base.HEX,
                                  { [0x00] = "Failed", [0x01] = "Registered",
                                    [0x02] = "Already present" }),
    enrol_tag = ProtoField.uint8("zk_hs3.enrol_tag", "Enrolment tag", base.HEX),
    enrol_step = ProtoField.uint8("zk_hs3.enrol_step", "Enrolment step"),
    enrol_result = ProtoField.uint8("zk_hs3.enrol_result", "Enrolment result", base.HEX,
                                    { [0x00] = "Failed", [0x01] = "Succeeded" }),
    fingerprint_deleted = ProtoField.uint8("zk_hs3.fingerprint_deleted", "Fingerprint deletion",
                                           base.HEX, { [0x00] = "Failed", [0x01] = "Deleted" }),
    card_deleted = ProtoField.uint8("zk_hs3.card_deleted", "Card deletion", base.HEX,
                                    { [0x01] = "Deleted" }),
    fingerprint_count = ProtoField.uint16("zk_hs3.fingerprint_count", "Registered fingerprints"),
    baud = ProtoField.uint24("zk_hs3.baud", "Baud rate"),
    parity = ProtoField.uint8("zk_hs3.parity", "Parity", base.DEC,
                              { [0] = "None", [1] = "Odd", [2] = "Even" }),
    data_bits = ProtoField.uint8("zk_hs3.data_bits", "Data bits"),
    stop_bits = ProtoField.uint8("zk_hs3.stop_bits", "Stop bits"),
    code_block = ProtoField.none("zk_hs3.code_block", "Code block"),
    code_mark = ProtoField.uint16("zk_hs3.code_mark", "Block mark", base.HEX),
    code_count = ProtoField.uint8("zk_hs3.code_count", "Code length"),
    code = ProtoField.bytes("zk_hs3.code", "Code", base.SPACE),
}
local G, S = expert.group, expert.severity
local hx = new_experts("zk_hs3", {
    bad_length = { "length.bad", "Length byte does not match the frame", G.MALFORMED, S.ERROR },
    bad_checksum = { "checksum.bad", "Wrong checksum", G.CHECKSUM, S.ERROR },
    short = { "short", "Frame ends before this field", G.MALFORMED, S.ERROR },
    header = { "header", "Unexpected header byte", G.PROTOCOL, S.WARN },
    unknown = { "unknown", "Command or operation the tool does not use", G.UNDECODED, S.NOTE },
    bad_block = { "code_block.bad", "Code block without its CE CE mark", G.MALFORMED, S.WARN },
})
register(hs3, h, hx)

-- Request payload lengths of the reads; a 0x00 frame of any other length is the data reply.
local read_request_length = { [0x41] = 2, [0x45] = 2, [0x92] = 2, [0xA6] = 2, [0xA8] = 3, [0xA9] = 2 }
local registry_read_request_length = { [0x00] = 3, [0x01] = 3, [0x02] = 7 }

-- Walks the data bytes (offset 9 up to the checksum) field by field.
local Cursor = {}
Cursor.__index = Cursor

local function new_cursor(tvb, tree, data_end, summary)
    return setmetatable({ tvb = tvb, tree = tree, stop = data_end, summary = summary, ok = true },
                        Cursor)
end

-- Adds `field` of `width` bytes at `at`; false (and an expert item) when the frame is too short.
function Cursor:add(field, at, width, label)
    if not self.ok then return false end
    if at + width > self.stop then
        self.tree:add_proto_expert_info(hx.short, "Frame ends before offset " .. at ..
                                        (label and " (" .. label .. ")" or ""))
        self.ok = false
        return false
    end
    local item = self.tree:add(field, self.tvb(at, width))
    if label then self.summary[#self.summary + 1] = label .. "=" .. self:value(at, width) end
    return item
end

function Cursor:value(at, width)
    return tostring(self.tvb(at, width):uint())
end

function Cursor:byte(at)
    if at >= self.stop then return nil end
    return self.tvb(at, 1):uint()
end

-- "0A FF", as the settings window shows codes.
local function hex_pairs(range)
    local out = {}
    for i = 0, range:len() - 1 do out[#out + 1] = string.format("%02X", range(i, 1):uint()) end
    return table.concat(out, " ")
end

local function code_blocks(c)
    local names = { "Power-on code", "Power-off code", "Video code", "Computer code" }
    local at = 15
    for _, name in ipairs(names) do
        if at >= c.stop then return end
        if at + 3 > c.stop or c.tvb(at, 2):uint() ~= 0xCECE then
            c.tree:add_proto_expert_info(hx.bad_block, name .. ": no CE CE mark at offset " .. at)
            return
        end
        local k = c.tvb(at + 2, 1):uint()
        local width = math.min(3 + k, c.stop - at)
        local block = c.tree:add(h.code_block, c.tvb(at, width)):set_text(name)
        block:add(h.code_mark, c.tvb(at, 2))
        block:add(h.code_count, c.tvb(at + 2, 1))
        if at + 3 + k > c.stop then
            block:add_proto_expert_info(hx.short, "Frame ends inside the " .. name)
            return
        end
        if k > 0 then
            block:add(h.code, c.tvb(at + 3, k))
            block:append_text(": " .. hex_pairs(c.tvb(at + 3, k)))
        end
        at = at + 3 + k
    end
end

local function serial_settings(c)
    c:add(h.baud, 9, 3, "baud")
    c:add(h.parity, 12, 1, "parity")
    c:add(h.data_bits, 13, 1)
    c:add(h.stop_bits, 14, 1)
    if c.ok then code_blocks(c) end
end

local function registry(c, op, kind)
    local sub = c:byte(9)
    local names = op == 0x00 and registry_reads or registry_writes
    if sub then c.summary[#c.summary + 1] = names[sub] or string.format("sub-command 0x%02X", sub) end
    if op == 0x00 then
        c:add(h.read_sub, 9, 1)
        if kind == "request" then
            if sub == 0x02 then c:add(h.card, 10, 4, "card") end
        elseif sub == 0x00 then
            c:add(h.unused, 10, 1)
            c:add(h.card, 11, 4, "card")
        elseif sub == 0x01 then
            c:add(h.card_count, 10, 2, "cards")
        elseif sub == 0x02 then
            c:add(h.lookup, 10, 1, "found")
        end
        return
    end
    c:add(h.write_sub, 9, 1)
    if kind == "request" then
        if sub == 0x00 or sub == 0x03 then c:add(h.card, 10, 4, "card") end
        if sub == 0x01 then c:add(h.enrol_tag, 10, 1) end
    elseif sub == 0x00 then
        c:add(h.registered, 10, 1, "result")
    elseif sub == 0x01 then
        c:add(h.enrol_step, 10, 1, "step")
        c:add(h.enrol_result, 11, 1, "result")
    elseif sub == 0x02 then
        c:add(h.fingerprint_deleted, 10, 1, "result")
    elseif sub == 0x03 then
        c:add(h.card_deleted, 10, 1, "result")
    end
end

-- The data fields of each command: (cursor, operation, "request" or "reply").
local layouts = {
    [0x92] = function(c, op, kind)
        if op == 0xC5 or (op == 0x00 and kind == "reply") then c:add(h.controller_id, 9, 2, "id") end
    end,
    [0xA8] = function(c, op, kind)
        c:add(h.volume_channel, 9, 1)
        if op == 0xC5 or (op == 0x00 and kind == "reply") then c:add(h.volume, 10, 1, "volume") end
    end,
    [0x41] = function(c, op, kind)
        if op == 0x55 or (op == 0x00 and kind == "request") then return end
        c:add(op == 0xC5 and h.timings_tag or h.unused, 9, 1)
        c:add(h.screen, 10, 1, "screen")
        c:add(h.warm_up, 11, 1, "warm-up")
        c:add(h.cool_down, 12, 1, "cool-down")
    end,
    [0xA6] = function(c, op, kind)
        if op == 0xC5 or (op == 0x00 and kind == "reply") then c:add(h.power_on_mode, 9, 1, "mode") end
    end,
    [0xA4] = function(c, op)
        if op ~= 0x00 then c:add(h.authorisation, 9, 1, "state") end
    end,
    [0xA5] = registry,
    [0xA9] = function(c, op, kind)
        if op == 0x00 and kind == "reply" then c:add(h.fingerprint_count, 9, 2, "fingerprints") end
    end,
    [0x45] = function(c, op, kind)
        if op == 0xC5 or (op == 0x00 and kind == "reply") then serial_settings(c) end
    end,
}

local function kind_of(tvb, command, op, payload_length)
    if op == 0xC5 then return "request" end
    if op == 0x55 then return "reply" end
    local expected = read_request_length[command]
    if command == 0xA5 and tvb:len() > 9 then
        expected = registry_read_request_length[tvb(9, 1):uint()]
    end
    return payload_length == expected and "request" or "reply"
end

local function hs3_checksum(tvb, tree, last)
    local x = 0
    for i = 4, last - 1 do x = bit.bxor(x, tvb(i, 1):uint()) end
    local stored = tvb(last, 1):uint()
    local item = tree:add(h.checksum, tvb(last, 1))
    item:add(h.checksum_calculated, x):set_generated()
    item:add(h.checksum_good, x == stored):set_generated()
    item:append_text(x == stored and " [correct]" or string.format(" [incorrect, should be 0x%02X]", x))
    if x ~= stored then
        item:add_proto_expert_info(hx.bad_checksum,
                                   string.format("Wrong checksum: 0x%02X, should be 0x%02X", stored, x))
    end
end

local function hs3_header(tvb, tree, length)
    tree:add(h.signature, tvb(0, 3))
    local marker = tree:add(h.marker, tvb(3, 1))
    if tvb(3, 1):uint() ~= 0xFF then marker:add_proto_expert_info(hx.header, "Marker is not FF") end
    if length < 5 then return end
    local item = tree:add(h.length, tvb(4, 1))
    local expected = bit.band(length - 5, 0xFF)
    if tvb(4, 1):uint() ~= expected then
        item:add_proto_expert_info(hx.bad_length, string.format(
            "Length byte %d, but %d bytes follow it", tvb(4, 1):uint(), length - 5))
    end
    if length < 7 then return end
    local reserved = tree:add(h.reserved, tvb(5, 2))
    if tvb(5, 2):uint() ~= 0 then reserved:add_proto_expert_info(hx.header, "Reserved bytes not zero") end
end

function hs3.dissector(tvb, pinfo, root)
    local length = tvb:len()
    if length < 4 or tvb(0, 3):string() ~= "HS3" then return 0 end
    pinfo.cols.protocol = "ZK HS3"
    local tree = root:add(hs3, tvb())
    hs3_header(tvb, tree, length)
    if length < 9 then
        tree:add_proto_expert_info(hx.short, "Frame ends before its command and operation")
        pinfo.cols.info = "HS3 (truncated)"
        return length
    end
    local command, op = tvb(7, 1):uint(), tvb(8, 1):uint()
    local kind = kind_of(tvb, command, op, length - 8)
    tree:add(h.command, tvb(7, 1))
    tree:add(h.operation, tvb(8, 1))
    tree:add(h.kind, kind):set_generated()
    local summary = {}
    local data_end = length >= 10 and length - 1 or length
    local layout = layouts[command]
    if layout and operations[op] then
        local c = new_cursor(tvb, tree, data_end, summary)
        layout(c, op, kind)
    else
        tree:add_proto_expert_info(hx.unknown)
    end
    if length >= 10 then hs3_checksum(tvb, tree, length - 1) end
    local action = { [0xC5] = "write", [0x55] = "acknowledgement" }
    action = action[op] or (op == 0x00 and (kind == "request" and "read" or "data")) or
                 string.format("operation 0x%02X", op)
    pinfo.cols.info = string.format("%s %s %s", commands[command] or string.format("0x%02X", command),
                                    action, table.concat(summary, " "))
    return length
end

---------------------------------------------------------------------------------------------
-- Configuration datagrams: 285 bytes, "CH9121_CFG_FLAG" and a zero, code, target MAC, PC MAC,
-- data length, data. Write requests, configuration replies and the write answers carry the
-- module's 204-byte parameter block at 30-233.
---------------------------------------------------------------------------------------------

local cfg = Proto("zk_cfg", "zkconfig network module configuration")

local codes = {
    [0x01] = "Write configuration",
    [0x02] = "Read configuration",
    [0x03] = "Reset to factory settings",
    [0x04] = "Search",
    [0x81] = "Write acknowledged",
    [0x82] = "Configuration reply",
    [0x83] = "Reset acknowledged",
    [0x84] = "Search reply",
    [0xC1] = "Write refused",
}

local f = {
    flag = ProtoField.string("zk_cfg.flag", "Flag"),
    code = ProtoField.uint8("zk_cfg.code", "Code", base.HEX, codes),
    mac = ProtoField.ether("zk_cfg.mac", "Target MAC"),
    pc_mac = ProtoField.ether("zk_cfg.pc_mac", "PC MAC"),
    data_length = ProtoField.uint8("zk_cfg.data_length", "Data length"),
    module_ip = ProtoField.ipv4("zk_cfg.module_ip", "Module IP address"),
    module_name = ProtoField.string("zk_cfg.module_name", "Module name"),
    version = ProtoField.uint8("zk_cfg.version", "Module version", base.HEX),
    hardware = ProtoField.uint8("zk_cfg.version.hardware", "Hardware version", base.DEC, nil, 0xF0),
    software = ProtoField.uint8("zk_cfg.version.software", "Software version", base.DEC, nil, 0x0F),
    block = ProtoField.none("zk_cfg.block", "Parameter block"),
    chip_type = ProtoField.uint8("zk_cfg.chip_type", "Chip type", base.HEX),
    chip_subtype = ProtoField.uint8("zk_cfg.chip_subtype", "Chip subtype", base.HEX),
    index = ProtoField.uint8("zk_cfg.index", "Module index"),
    block_hardware = ProtoField.uint8("zk_cfg.hardware_version", "Hardware version"),
    block_software = ProtoField.uint8("zk_cfg.software_version", "Software version"),
    block_mac = ProtoField.ether("zk_cfg.module_mac", "Module MAC"),
    ip = ProtoField.ipv4("zk_cfg.ip", "IP address"),
    gateway = ProtoField.ipv4("zk_cfg.gateway", "Gateway"),
    mask = ProtoField.ipv4("zk_cfg.mask", "Subnet mask"),
    dhcp = ProtoField.uint8("zk_cfg.dhcp", "DHCP", base.DEC, { [0] = "Off", [1] = "On" }),
    second_port = ProtoField.bytes("zk_cfg.second_port", "Second port's block", base.SPACE),
    port_index = ProtoField.uint8("zk_cfg.port_index", "Port index"),
    port_enabled = ProtoField.uint8("zk_cfg.port_enabled", "Port enabled"),
    mode = ProtoField.uint8("zk_cfg.mode", "Port mode", base.DEC,
                            { [0] = "TCP server", [1] = "TCP client", [2] = "UDP server",
                              [3] = "UDP client" }),
    random_port = ProtoField.uint8("zk_cfg.random_local_port", "Random local port"),
    local_port = ProtoField.uint16("zk_cfg.local_port", "Local port"),
    server_ip = ProtoField.ipv4("zk_cfg.server_ip", "Server IP address"),
    server_port = ProtoField.uint16("zk_cfg.server_port", "Server port"),
    baud = ProtoField.uint32("zk_cfg.baud", "Serial baud rate"),
    data_bits = ProtoField.uint8("zk_cfg.data_bits", "Serial data bits"),
    stop_bits = ProtoField.uint8("zk_cfg.stop_bits", "Serial stop bits"),
    parity = ProtoField.uint8("zk_cfg.parity", "Serial parity"),
    domain = ProtoField.string("zk_cfg.domain", "Domain name"),
}
local fx = new_experts("zk_cfg", {
    length = { "length.bad", "Not 285 bytes: a module answers only 285-byte requests",
               G.MALFORMED, S.WARN },
    flag = { "flag.bad", "Flag is not CH9121_CFG_FLAG and a zero", G.PROTOCOL, S.WARN },
    refused = { "refused", "The module refused the write", G.RESPONSE_CODE, S.WARN },
    data_length = { "data_length.bad", "Data length does not cover the module name", G.PROTOCOL,
                    S.WARN },
    unknown = { "unknown", "Code the tool does not use", G.UNDECODED, S.NOTE },
})
register(cfg, f, fx)

local config_length = 285

-- The text before the first zero byte, or all of it when there is none (a zero-terminated
-- field of Wireshark's own would stop dissecting there).
local function zero_ended(range)
    local raw = range:raw()
    return raw:sub(1, (raw:find("\0", 1, true) or #raw + 1) - 1)
end

local function add_text(tree, field, range)
    return tree:add(field, range, zero_ended(range))
end

local function ipv4_number(tvb, at)
    return tvb(at, 4):uint()
end

-- What a module checks before it stores a block; each finding names the offending field.
local function refusal_reasons(tvb)
    local reasons = {}
    local ip, gateway, mask = ipv4_number(tvb, 62), ipv4_number(tvb, 66), ipv4_number(tvb, 70)
    local inverted = bit.band(bit.bnot(mask), 0xFFFFFFFF)
    local contiguous = bit.band(inverted, inverted + 1) == 0
    if ip == 0 then reasons[#reasons + 1] = "IP address 0.0.0.0" end
    -- A /31 or /32 has no broadcast address of its own; a contiguous mask with 3 or more host
    -- numbers has bit 1 of its host part set.
    local has_broadcast = contiguous and bit.band(inverted, 2) ~= 0
    if ip == 0xFFFFFFFF or (has_broadcast and bit.bor(ip, inverted) == bit.tobit(ip)) then
        reasons[#reasons + 1] = "IP address is a broadcast address"
    end
    if not contiguous then reasons[#reasons + 1] = "subnet mask not contiguous" end
    -- 0.0.0.0 is no gateway at all, as on an isolated segment.
    if gateway ~= 0 and bit.band(gateway, mask) ~= bit.band(ip, mask) then
        reasons[#reasons + 1] = "gateway outside the subnet"
    elseif gateway == ip then
        reasons[#reasons + 1] = "gateway equals the IP address"
    end
    local dhcp = tvb(74, 1):uint()
    if dhcp > 1 then reasons[#reasons + 1] = "DHCP flag " .. dhcp end
    local name_ends = false
    for i = 35, 55 do
        if tvb(i, 1):uint() == 0 then name_ends = true end
    end
    if not name_ends then reasons[#reasons + 1] = "module name without its terminating zero" end
    -- With a random local port the module never uses the one in the block.
    if tvb(172, 1):uint() == 0 and tvb(173, 2):le_uint() == 0 then
        reasons[#reasons + 1] = "local port 0"
    end
    if tvb(179, 2):le_uint() == 0 then reasons[#reasons + 1] = "server port 0" end
    return reasons
end

local function parameter_block(tvb, tree, title)
    local block = tree:add(f.block, tvb(30, 204)):set_text(title)
    block:add(f.chip_type, tvb(30, 1))
    block:add(f.chip_subtype, tvb(31, 1))
    block:add(f.index, tvb(32, 1))
    block:add(f.block_hardware, tvb(33, 1))
    block:add(f.block_software, tvb(34, 1))
    add_text(block, f.module_name, tvb(35, 21))
    block:add(f.block_mac, tvb(56, 6))
    block:add(f.ip, tvb(62, 4))
    block:add(f.gateway, tvb(66, 4))
    block:add(f.mask, tvb(70, 4))
    block:add(f.dhcp, tvb(74, 1))
    block:add(f.second_port, tvb(104, 65))
    block:add(f.port_index, tvb(169, 1))
    block:add(f.port_enabled, tvb(170, 1))
    block:add(f.mode, tvb(171, 1))
    block:add(f.random_port, tvb(172, 1))
    block:add_le(f.local_port, tvb(173, 2))
    block:add(f.server_ip, tvb(175, 4))
    block:add_le(f.server_port, tvb(179, 2))
    block:add_le(f.baud, tvb(181, 4))
    block:add(f.data_bits, tvb(185, 1))
    block:add(f.stop_bits, tvb(186, 1))
    block:add(f.parity, tvb(187, 1))
    add_text(block, f.domain, tvb(199, 21))
    return block
end

-- Search reply: the module's address, its name and zero, and right after the counted data the
-- version byte (hardware << 4 | software).
local function search_reply(tvb, tree)
    tree:add(f.module_ip, tvb(30, 4))
    local room = tvb:len() - 34
    local name = zero_ended(tvb(34, room))
    local item = tree:add(f.module_name, tvb(34, math.min(#name + 1, room)), name)
    local counted = tvb(29, 1):uint()
    if counted ~= 4 + #name + 1 then
        item:add_proto_expert_info(fx.data_length, string.format(
            "Data length %d, but the address, the name and its zero take %d", counted, #name + 5))
        counted = #name + 5
    end
    if 30 + counted >= tvb:len() then return name end
    local version = tree:add(f.version, tvb(30 + counted, 1))
    version:add(f.hardware, tvb(30 + counted, 1))
    version:add(f.software, tvb(30 + counted, 1))
    return name
end

-- "84:C2:E4:01:0A:FF", without the vendor name Wireshark would put in front.
local function mac_text(range)
    return (hex_pairs(range):gsub(" ", ":"))
end

local function cfg_header(tvb, tree)
    local flag = add_text(tree, f.flag, tvb(0, 16))
    if tvb(0, 15):string() ~= "CH9121_CFG_FLAG" or tvb(15, 1):uint() ~= 0 then
        flag:add_proto_expert_info(fx.flag)
    end
    tree:add(f.code, tvb(16, 1))
    tree:add(f.mac, tvb(17, 6))
    tree:add(f.pc_mac, tvb(23, 6))
    tree:add(f.data_length, tvb(29, 1))
end

function cfg.dissector(tvb, pinfo, root)
    local length = tvb:len()
    if length < 6 or tvb(0, 6):string() ~= "CH9121" then return 0 end
    pinfo.cols.protocol = "ZK CFG"
    local tree = root:add(cfg, tvb())
    if length ~= config_length then tree:add_proto_expert_info(fx.length, string.format(
        "%d bytes, not 285: a module answers only 285-byte requests", length)) end
    if length < 30 then
        pinfo.cols.info = "Configuration datagram (truncated)"
        return length
    end
    cfg_header(tvb, tree)
    local code = tvb(16, 1):uint()
    local info = codes[code] or string.format("Code 0x%02X", code)
    local mac = "MAC " .. mac_text(tvb(17, 6))
    if length < 234 then
        pinfo.cols.info = info .. " " .. mac
        return length
    end
    if code == 0x84 then
        info = info .. " " .. tostring(tvb(30, 4):ipv4()) .. " " .. search_reply(tvb, tree)
    elseif code == 0x01 or code == 0x82 then
        parameter_block(tvb, tree, "Parameter block")
        info = info .. " IP " .. tostring(tvb(62, 4):ipv4())
    elseif code == 0x81 or code == 0xC1 then
        local block = parameter_block(tvb, tree, "Echoed parameter block")
        if code == 0xC1 then
            local reasons = refusal_reasons(tvb)
            local why = #reasons > 0 and table.concat(reasons, ", ") or "no reason visible in the block"
            block:add_proto_expert_info(fx.refused, "The module refused the write: " .. why)
            info = info .. " (" .. why .. ")"
        end
    elseif not codes[code] then
        tree:add_proto_expert_info(fx.unknown)
    end
    pinfo.cols.info = info .. " " .. mac
    return length
end

local udp_port = DissectorTable.get("udp.port")
udp_port:add(16006, hs3)
udp_port:add(50000, cfg)
udp_port:add(60000, cfg)

// The Wireshark dissector (tools/wireshark/zk.lua) run by tshark over a pcap of known frames:
// the HS3 frames written out in the protocol's documents, configuration datagrams laid out from
// the network module's known fields, and datagrams captured from zksim.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "wireshark/known_frames.h"
#include "wireshark/pcap_file.h"
#include "wireshark/zksim_refusals.h"

namespace zk::test {
namespace {

namespace fs = std::filesystem;

struct Expect
{
    std::string label;
    std::string field;
    std::string value;
};

// Each payload and reply field by name, with the checksum verdict.
const std::vector<Expect> hs3_fields = {
    {"volume write", "zk_hs3.signature", "HS3"},
    {"volume write", "zk_hs3.marker", "0xff"},
    {"volume write", "zk_hs3.length", "7"},
    {"volume write", "zk_hs3.reserved", "0x0000"},
    {"volume write", "zk_hs3.command", "0xa8"},
    {"volume write", "zk_hs3.operation", "0xc5"},
    {"volume write", "zk_hs3.kind", "request"},
    {"volume write", "zk_hs3.volume", "5"},
    {"volume write", "zk_hs3.checksum", "0x6e"},
    {"volume write", "zk_hs3.checksum.good", "1"},
    {"volume write", "_ws.col.Info", "Volume write volume=5"},
    {"id reply", "zk_hs3.kind", "reply"},
    {"id reply", "zk_hs3.controller_id", "300"},
    {"id reply", "zk_hs3.checksum.good", "1"},
    {"card count reply", "zk_hs3.read_sub", "0x01"},
    {"card count reply", "_ws.col.Info", "Card and fingerprint registry data Card count cards=12"},
    {"card count reply", "zk_hs3.card_count", "12"},
    {"card lookup", "zk_hs3.kind", "request"},
    {"card lookup", "zk_hs3.read_sub", "0x02"},
    {"card lookup", "zk_hs3.card", "1234567"},
    {"card register", "zk_hs3.write_sub", "0x00"},
    {"card register", "zk_hs3.card", "1234567"},
    {"timings write", "zk_hs3.screen_interval", "30"},
    {"timings write", "zk_hs3.warm_up", "60"},
    {"timings write", "zk_hs3.cool_down", "90"},
    {"codes write", "zk_hs3.baud", "9600"},
    {"codes write", "zk_hs3.parity", "0"},
    {"codes write", "zk_hs3.code_count", "0|0|0|0"},
    {"codes write", "zk_hs3.checksum.good", "1"},
    {"codes reply", "zk_hs3.kind", "reply"},
    {"codes reply", "zk_hs3.code_count", "2|0|0|0"},
    {"codes reply", "zk_hs3.code", "0a ff"},
    {"codes reply", "zk_hs3.checksum.good", "1"},
    {"mode ack", "zk_hs3.operation", "0x55"},
    {"mode ack", "zk_hs3.checksum.good", "1"},
    {"mode write", "zk_hs3.power_on_mode", "0x00"},
    {"fingerprint count read", "zk_hs3.kind", "request"},
    {"fingerprint count read", "zk_hs3.command", "0xa9"},
    {"enrol", "zk_hs3.write_sub", "0x01"},
    {"enrol", "zk_hs3.enrol_tag", "0x01"},
    {"pause", "zk_hs3.authorisation", "0x01"},
};

// The header, the block's named fields and the search reply's name and version.
const std::vector<Expect> config_fields = {
    {"search", "zk_cfg.flag", "CH9121_CFG_FLAG"},
    {"search", "zk_cfg.code", "0x04"},
    {"search", "zk_cfg.data_length", "0"},
    {"search reply", "zk_cfg.code", "0x84"},
    {"search reply", "zk_cfg.mac", "84:c2:e4:01:0a:ff"},
    {"search reply", "zk_cfg.module_ip", "192.168.1.200"},
    {"search reply", "zk_cfg.module_name", "ZK-NET"},
    {"search reply", "zk_cfg.version", "0x26"},
    {"search reply", "zk_cfg.version.hardware", "2"},
    {"search reply", "zk_cfg.version.software", "6"},
    {"search reply", "_ws.col.Info", "Search reply 192.168.1.200 ZK-NET MAC 84:C2:E4:01:0A:FF"},
    {"config reply", "zk_cfg.data_length", "204"},
    {"config reply", "zk_cfg.module_name", "ZK-NET"},
    {"config reply", "zk_cfg.ip", "192.168.1.200"},
    {"config reply", "zk_cfg.mask", "255.255.255.0"},
    {"config reply", "zk_cfg.gateway", "192.168.1.1"},
    {"config reply", "zk_cfg.server_ip", "192.168.1.100"},
    {"config reply", "zk_cfg.server_port", "16006"},
    {"write", "zk_cfg.code", "0x01"},
    {"write", "zk_cfg.ip", "192.168.1.50"},
    {"write", "zk_cfg.mode", "3"},
    {"write", "zk_cfg.local_port", "16006"},
    {"write", "zk_cfg.baud", "115200"},
    {"refused write", "zk_cfg.code", "0xc1"},
    {"refused write", "zk_cfg.pc_mac", "00:e0:4c:11:22:33"},
    {"refused write", "zk_cfg.mask", "255.0.255.0"},
    {"refused write", "_ws.col.Info",
     "Write refused (subnet mask not contiguous) MAC 84:C2:E4:01:0A:FF"},
    {"reset", "_ws.col.Info", "Reset to factory settings MAC 84:C2:E4:01:0A:FF"},
    {"reset reply", "_ws.col.Info", "Reset acknowledged MAC 84:C2:E4:01:0A:FF"},
};

// Expert information: only where something is wrong, and saying what.
const std::vector<Expect> experts = {
    {"volume write", "_ws.expert.message", ""},
    {"search reply", "_ws.expert.message", ""},
    {"config reply", "_ws.expert.message", ""},
    {"id reply, bad checksum", "zk_hs3.checksum.good", "0"},
    {"id reply, bad checksum", "_ws.expert.message", "Wrong checksum: 0x00, should be 0xB8"},
    {"mode ack cut to 9 bytes", "_ws.expert.message", "Length byte 5, but 4 bytes follow it"},
    {"refused write", "_ws.expert.message",
     "The module refused the write: subnet mask not contiguous"},
    {"refused gateway", "_ws.expert.message",
     "The module refused the write: gateway outside the subnet"},
    {"volume ack cut to 9 bytes", "_ws.expert.message",
     "Length byte 6, but 4 bytes follow it|Frame ends before offset 9"},
    {"240-byte search reply, name without end", "_ws.expert.message",
     "240 bytes, not 285: a module answers only 285-byte requests|Data length 255, but the "
     "address, the name and its zero take 211"},
    {"284 bytes", "_ws.expert.message",
     "284 bytes, not 285: a module answers only 285-byte requests"},
};

// What zksim sends today, read as it is.
const std::vector<Expect> zksim_fields = {
    {"zksim 2", "zk_cfg.module_ip", "192.168.1.200"},
    {"zksim 2", "zk_cfg.module_name", "ZK-NET"},
    {"zksim 2", "zk_cfg.data_length", "11"},
    {"zksim 2", "zk_cfg.version", "0x26"},
    {"zksim 4", "zk_cfg.data_length", "204"},
    {"zksim 4", "zk_cfg.mac", "84:c2:e4:00:00:01"},
    {"zksim 4", "zk_cfg.mask", "255.255.255.0"},
    {"zksim 4", "zk_cfg.server_port", "16006"},
    {"zksim 5", "zk_cfg.ip", "192.168.1.50"},
    {"zksim 6", "zk_cfg.code", "0x81"},
    {"zksim 8", "zk_hs3.volume", "5"},
    {"zksim 8", "zk_hs3.checksum.good", "1"},
    {"zksim 10", "zk_hs3.card_count", "0"},
    {"zksim 12", "zk_hs3.baud", "9600"},
    {"zksim 14", "zk_hs3.register_result", "0x01"},
};

// What tshark said: per labelled frame, each asked field's text (occurrences joined by "|").
struct Decoded
{
    std::map<std::string, std::map<std::string, std::string>> frames;
    std::string out;
    std::string err;
    int status = -1;
};

std::string slurp(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> split_tabs(const std::string& line)
{
    std::vector<std::string> out{""};
    for (char c : line) {
        if (c == '\t')
            out.emplace_back();
        else
            out.back() += c;
    }
    return out;
}

void write_pcap(const fs::path& file, const std::vector<Labelled>& frames)
{
    std::vector<UdpPacket> packets;
    for (const Labelled& f : frames)
        packets.push_back(f.packet);
    const Bytes pcap = pcap_file(packets);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(pcap.data()),
               static_cast<std::streamsize>(pcap.size()));
}

Decoded run_tshark(const std::vector<Labelled>& frames, const std::vector<std::string>& fields)
{
    const fs::path dir = fs::temp_directory_path() / ("zk_dissector_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    write_pcap(dir / "frames.pcap", frames);
    std::string command = std::string("'") + ZK_TSHARK + "' -n -r '" +
                          (dir / "frames.pcap").string() + "' -X lua_script:'" + ZK_DISSECTOR +
                          "' -T fields -E occurrence=a -E 'aggregator=|' -e frame.number";
    for (const std::string& field : fields)
        command += " -e " + field;
    command += " > '" + (dir / "out.txt").string() + "' 2> '" + (dir / "err.txt").string() + "'";

    Decoded decoded;
    decoded.status = std::system(command.c_str());
    decoded.out = slurp(dir / "out.txt");
    decoded.err = slurp(dir / "err.txt");
    fs::remove_all(dir);
    std::istringstream lines(decoded.out);
    std::string line;
    while (std::getline(lines, line)) {
        const std::vector<std::string> columns = split_tabs(line);
        auto& values = decoded.frames[frames.at(std::stoul(columns.at(0)) - 1).label];
        for (std::size_t i = 0; i < fields.size() && i + 1 < columns.size(); ++i)
            values[fields[i]] = columns[i + 1];
    }
    return decoded;
}

std::vector<std::string> fields_of(const std::vector<const std::vector<Expect>*>& tables)
{
    std::set<std::string> fields;
    for (const auto* table : tables)
        for (const Expect& e : *table)
            fields.insert(e.field);
    return {fields.begin(), fields.end()};
}

class dissector : public ::testing::Test
{
protected:
    // One tshark run for every case: each start of it costs about a second.
    static void SetUpTestSuite()
    {
        frames_ = hs3_frames();
        for (const std::vector<Labelled>& more :
             {config_datagrams(), zksim_capture(ZK_ZKSIM_CAPTURE)})
            frames_.insert(frames_.end(), more.begin(), more.end());
        for (const Refused& refused : zksim_refusals())
            frames_.push_back(refused.answer);
        decoded_ =
            run_tshark(frames_, fields_of({&hs3_fields, &config_fields, &experts, &zksim_fields}));
    }

    static void check(const std::vector<Expect>& table)
    {
        for (const Expect& e : table) {
            SCOPED_TRACE(e.label + ": " + e.field);
            ASSERT_TRUE(decoded_.frames.count(e.label)) << "no such frame in tshark's output";
            EXPECT_EQ(decoded_.frames.at(e.label).at(e.field), e.value);
        }
    }

    static inline std::vector<Labelled> frames_;
    static inline Decoded decoded_;
};

TEST_F(dissector, loads_and_decodes_every_frame_without_a_lua_error)
{
    EXPECT_EQ(decoded_.status, 0) << decoded_.err;
    // tshark exits 0 after a Lua error; the error shows as text in the output or on stderr.
    EXPECT_EQ(decoded_.out.find("Lua Error"), std::string::npos) << decoded_.out;
    EXPECT_EQ(decoded_.err.find("Lua"), std::string::npos) << decoded_.err;
    EXPECT_EQ(decoded_.frames.size(), frames_.size()) << decoded_.out;
    ASSERT_GE(zksim_capture(ZK_ZKSIM_CAPTURE).size(), 14u) << "the zksim capture did not load";
}

// No datagram, however cut, stops the dissector: a Lua error would hide the rest of the frame.
TEST_F(dissector, survives_every_truncation_of_every_frame)
{
    std::vector<Labelled> cut;
    for (const Labelled& frame : frames_) {
        for (std::size_t length = 0; length < frame.packet.payload.size(); ++length) {
            UdpPacket packet = frame.packet;
            packet.payload.resize(length);
            cut.push_back({frame.label + " cut to " + std::to_string(length), packet});
        }
    }
    const Decoded decoded = run_tshark(cut, {"_ws.expert.message"});
    EXPECT_EQ(decoded.status, 0) << decoded.err;
    EXPECT_EQ(decoded.out.find("Lua Error"), std::string::npos);
    EXPECT_EQ(decoded.err.find("Lua"), std::string::npos) << decoded.err;
    EXPECT_EQ(decoded.frames.size(), cut.size());
}

TEST_F(dissector, names_every_field_of_hs3_frames)
{
    check(hs3_fields);
}

TEST_F(dissector, names_the_fields_of_configuration_datagrams)
{
    check(config_fields);
}

TEST_F(dissector, reports_wrong_checksum_wrong_length_and_refused_writes)
{
    check(experts);
}

// The dissector keeps its own copy of the module's checks; zksim's decides, this keeps them one.
TEST_F(dissector, names_the_reasons_the_simulated_module_refused_each_write_for)
{
    for (const Refused& refused : zksim_refusals()) {
        SCOPED_TRACE(refused.answer.label);
        ASSERT_EQ(refused.answer.packet.payload.size(), 285u) << "zksim did not answer";
        const auto& fields = decoded_.frames.at(refused.answer.label);
        if (refused.reason.empty()) {
            EXPECT_EQ(fields.at("zk_cfg.code"), "0x81");
            EXPECT_EQ(fields.at("_ws.expert.message"), "");
        } else {
            EXPECT_EQ(fields.at("zk_cfg.code"), "0xc1");
            EXPECT_EQ(fields.at("_ws.expert.message"),
                      "The module refused the write: " + refused.reason);
        }
    }
}

TEST_F(dissector, reads_what_the_simulator_sends)
{
    check(zksim_fields);
}

} // namespace
} // namespace zk::test

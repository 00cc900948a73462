#include "cli/room_settings.h"

#include "base/json_reading.h"
#include "cli/table.h"
#include "cli/values.h"

namespace zk::cli {

namespace {

// The member at `path` ("timings.screen").
JsonAt member(const nlohmann::json& document, const std::string& path)
{
    JsonAt at(document);
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = path.find('.', start);
        at = at[path.substr(start, dot - start)];
        if (dot == std::string::npos) return at;
        start = dot + 1;
    }
}

// The member at `path` as the operator would have typed it for set ("9600", "odd"), so the
// same parsers check it: a backup edited by hand gets no value set would refuse.
std::string typed_at(const nlohmann::json& document, const std::string& path)
{
    const JsonAt at = member(document, path);
    if (at.value().is_string()) return at.text();
    // Only a number is printed back: a list or an object may be any size.
    if (!at.value().is_number()) at.refuse("expected a number or a text");
    return at.value().dump();
}

std::uint32_t number_at(const nlohmann::json& document, const std::string& path, std::uint32_t max)
{
    const JsonAt at = member(document, path);
    if (!at.value().is_number()) at.refuse("expected a number");
    return parse_number(at.value().dump(), path, max);
}

protocol::ProjectorCodes serial_from_json(const nlohmann::json& document)
{
    protocol::ProjectorCodes serial;
    serial.baud = parse_baud(typed_at(document, "serial.baud"), "serial.baud");
    serial.parity = parse_parity(member(document, "serial.parity").text(), "serial.parity");
    for (std::size_t i = 0; i < 4; ++i) {
        const std::string path = "serial." + std::string(code_names[i]);
        serial.codes[i] = parse_code(member(document, path).text(), path);
    }
    check_serial_fits(serial);
    return serial;
}

// A key a backup never holds is a typo, and what it meant to set would be restored from the
// default instead.
void refuse_unknown_keys(const nlohmann::json& document)
{
    const JsonAt root(document);
    root.only_keys({"format", "version", "host", "network", "id", "volume", "timings", "mode",
                    "serial", "cards", "fingerprints"});
    if (root.has("network"))
        root["network"].only_keys({"mac", "ip", "mask", "gateway", "server", "port"});
    if (root.has("timings")) root["timings"].only_keys({"screen", "warm_up", "cool_down"});
    if (root.has("serial"))
        root["serial"].only_keys(
            {"baud", "parity", code_names[0], code_names[1], code_names[2], code_names[3]});
}

RoomSettings room_from_json(const nlohmann::json& document)
{
    refuse_unknown_keys(document);
    RoomSettings room;
    room.id = static_cast<std::uint16_t>(number_at(document, "id", max_id));
    room.volume = static_cast<std::uint8_t>(number_at(document, "volume", max_volume));
    room.timings.screen =
        static_cast<std::uint8_t>(number_at(document, "timings.screen", max_seconds));
    room.timings.warm_up =
        static_cast<std::uint8_t>(number_at(document, "timings.warm_up", max_seconds));
    room.timings.cool_down =
        static_cast<std::uint8_t>(number_at(document, "timings.cool_down", max_seconds));
    room.swipe_card = parse_swipe_mode(member(document, "mode").text());
    room.serial = serial_from_json(document);
    return room;
}

protocol::ProjectorCodes serial_of(const protocol::ProjectorCodesData& data)
{
    protocol::ProjectorCodes serial{data.baud.value_or(0), data.parity.value_or(0), {}};
    for (std::size_t i = 0; i < data.codes.size() && i < 4; ++i)
        serial.codes[i] = data.codes[i];
    return serial;
}

// A read whose answer of type T goes into the room through `put`.
template <class T, class Put>
RoomRead read_of(protocol::Request request, std::string_view what, Put put)
{
    return {std::move(request), what, [put](const protocol::Reply& reply, RoomSettings& room) {
                const T* value = std::get_if<T>(&reply);
                if (value) put(*value, room);
                return value != nullptr;
            }};
}

} // namespace

const std::vector<RoomRead>& room_reads()
{
    using namespace protocol;
    static const std::vector<RoomRead> reads{
        read_of<ControllerIdData>(ReadControllerId{}, "the ID read",
                                  [](const auto& v, RoomSettings& r) { r.id = v.id; }),
        read_of<VolumeData>(ReadVolume{}, "the volume read",
                            [](const auto& v, RoomSettings& r) { r.volume = v.volume; }),
        read_of<TimingsData>(ReadTimings{}, "the timings read",
                             [](const auto& v, RoomSettings& r) { r.timings = v; }),
        read_of<SwipeModeData>(ReadSwipeMode{}, "the power-on mode read",
                               [](const auto& v, RoomSettings& r) { r.swipe_card = v.swipe_card; }),
        read_of<ProjectorCodesData>(
            ReadProjectorCodes{}, "the serial settings read",
            [](const auto& v, RoomSettings& r) { r.serial = serial_of(v); }),
        read_of<CardCount>(ReadCardCount{}, "the card count",
                           [](const auto& v, RoomSettings& r) { r.cards = v.count; }),
        read_of<FingerprintCount>(ReadFingerprintCount{}, "the fingerprint count",
                                  [](const auto& v, RoomSettings& r) { r.fingerprints = v.count; }),
    };
    return reads;
}

protocol::ProjectorCodes read_serial(Hs3Client& client)
{
    return serial_of(expect<protocol::ProjectorCodesData>(client, protocol::ReadProjectorCodes{},
                                                          "the serial settings read"));
}

RoomSettings read_room(Hs3Client& client)
{
    RoomSettings room;
    for (const RoomRead& read : room_reads()) {
        const std::optional<protocol::Reply> reply = client.ask(read.request);
        if (!reply || !read.take(*reply, room))
            throw Exit(exit_no_answer, "no answer from " + client.address() + " to " +
                                           std::string(read.what) + " (time-out)");
    }
    return room;
}

RoomsRead read_rooms(Hs3Batch& batch,
                     const std::vector<std::string>& addresses,
                     const std::function<void(std::size_t, std::size_t)>& progress)
{
    RoomsRead read;
    for (const std::string& address : addresses)
        read.rooms.emplace(address, RoomSettings{});
    const std::vector<RoomRead>& reads = room_reads();
    const std::size_t total = addresses.size() * reads.size();
    for (std::size_t step = 0; step < reads.size(); ++step) {
        std::vector<std::string> asked;
        for (const auto& [address, room] : read.rooms)
            asked.push_back(address);
        const std::map<std::string, protocol::Reply> replies =
            batch.ask_all(asked, reads[step].request);
        for (const std::string& address : asked) {
            const auto reply = replies.find(address);
            if (reply != replies.end() && reads[step].take(reply->second, read.rooms[address]))
                continue;
            read.rooms.erase(address);
            read.problems[address] = "no answer from " + address + " to " +
                                     std::string(reads[step].what) + " (time-out)";
        }
        progress(total - (reads.size() - step - 1) * read.rooms.size(), total);
    }
    return read;
}

nlohmann::ordered_json settings_json(const RoomSettings& room)
{
    nlohmann::ordered_json serial{{"baud", room.serial.baud},
                                  {"parity", parity_text(room.serial.parity)}};
    for (std::size_t i = 0; i < 4; ++i)
        serial[std::string(code_names[i])] = hex_bytes_text(room.serial.codes[i]);
    return {{"id", room.id},
            {"volume", room.volume},
            {"timings",
             {{"screen", room.timings.screen},
              {"warm_up", room.timings.warm_up},
              {"cool_down", room.timings.cool_down}}},
            {"mode", room.swipe_card ? "swipe" : "public"},
            {"serial", serial},
            {"cards", room.cards},
            {"fingerprints", room.fingerprints}};
}

RoomSettings settings_from_json(const nlohmann::json& document, std::string_view file)
{
    if (!document.is_object() || !document.contains("format") ||
        document["format"] != backup_format)
        refuse_input(std::string(file) + ": not a zkctl backup (format is not \"" +
                     std::string(backup_format) + "\")");
    // Whatever is wrong inside names the file, then the member (or the option-like field name
    // the value parsers of set use).
    try {
        if (number_at(document, "version", 0xFFFF) != backup_version)
            refuse_input("version " + document["version"].dump() +
                         " is not one this zkctl reads (" + std::to_string(backup_version) + ")");
        return room_from_json(document);
    } catch (const JsonError& error) {
        refuse_input(std::string(file) + ": " + error.what());
    } catch (const Exit& error) {
        refuse_input(std::string(file) + ": " + error.what());
    }
}

std::vector<PlannedWrite> restore_plan(const RoomSettings& room, bool keep_id)
{
    using namespace protocol;
    std::vector<PlannedWrite> plan;
    if (!keep_id) plan.push_back({"id", WriteControllerId{room.id}});
    plan.push_back({"volume", WriteVolume{room.volume}});
    plan.push_back({"timings", WriteTimings{room.timings.screen, room.timings.warm_up,
                                            room.timings.cool_down}});
    plan.push_back({"mode", WriteSwipeMode{room.swipe_card}});
    plan.push_back({"serial", WriteProjectorCodes{room.serial}});
    return plan;
}

std::string change_values(const FieldChange& change)
{
    const auto shown = [](const std::string& value) { return value.empty() ? "(none)" : value; };
    return shown(change.from) + " → " + shown(change.to);
}

std::vector<FieldChange>
restore_changes(const RoomSettings& now, const RoomSettings& wanted, bool keep_id)
{
    const auto rows_now = flat_rows(settings_json(now));
    const auto rows_wanted = flat_rows(settings_json(wanted));
    std::vector<FieldChange> changes;
    for (std::size_t i = 0; i < rows_wanted.size() && i < rows_now.size(); ++i) {
        const std::string& field = rows_wanted[i][0];
        const bool written =
            field != "cards" && field != "fingerprints" && !(keep_id && field == "id");
        if (written && rows_now[i][1] != rows_wanted[i][1])
            changes.push_back({field, rows_now[i][1], rows_wanted[i][1]});
    }
    return changes;
}

void check_serial_fits(const protocol::ProjectorCodes& serial)
{
    if (protocol::projector_codes_fit(serial.codes)) return;
    std::size_t bytes = 0;
    for (const Bytes& code : serial.codes)
        bytes += code.size();
    refuse_input("serial codes: " + std::to_string(bytes) +
                 " code bytes in all do not fit one request (at most " +
                 std::to_string(protocol::projector_code_capacity) + ")");
}

} // namespace zk::cli

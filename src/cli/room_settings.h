#pragma once
// Everything of a controller's command face that can be read back, as one value: what a backup
// holds and what a restore writes. Reading it takes several requests; the document form and
// the list of writes are pure.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/hs3_batch.h"
#include "cli/hs3_client.h"
#include "cli/outcome.h"
#include "protocol/replies.h"
#include "protocol/request.h"

namespace zk::cli {

inline constexpr int backup_version = 1;
inline constexpr std::string_view backup_format = "zkctl-backup";

struct RoomSettings
{
    std::uint16_t id = 0;
    std::uint8_t volume = 0;
    protocol::TimingsData timings;
    bool swipe_card = false;
    protocol::ProjectorCodes serial;
    std::uint16_t cards = 0;        // read only: the controller cannot list its cards
    std::uint16_t fingerprints = 0; // read only likewise
};

// The answer of type T to this request; throws Exit (no answer) naming `what` otherwise.
template <class T>
T expect(Hs3Client& client, const protocol::Request& request, std::string_view what)
{
    if (std::optional<protocol::Reply> reply = client.ask(request)) {
        if (const T* value = std::get_if<T>(&*reply)) return *value;
    }
    throw Exit(exit_no_answer,
               "no answer from " + client.address() + " to " + std::string(what) + " (time-out)");
}

// Serial settings and the four codes as the controller reports them.
protocol::ProjectorCodes read_serial(Hs3Client& client);

// One request of a room's reading, and where its answer goes.
struct RoomRead
{
    protocol::Request request;
    std::string_view what; // "the volume read", for the message when it gets no answer
    // Takes the answer into the room; false when it is not the answer wanted.
    std::function<bool(const protocol::Reply&, RoomSettings&)> take;
};

// Every readable setting's request, in the order they are read.
const std::vector<RoomRead>& room_reads();

// Every readable setting, one request after the other.
RoomSettings read_room(Hs3Client& client);

struct RoomsRead
{
    std::map<std::string, RoomSettings> rooms;   // by address: read whole
    std::map<std::string, std::string> problems; // by address: what got no answer
};

// Every readable setting of every address, each request sent to all of them at once; an address
// that leaves one unanswered is asked nothing more. `progress` hears (reads done, all reads).
RoomsRead read_rooms(Hs3Batch& batch,
                     const std::vector<std::string>& addresses,
                     const std::function<void(std::size_t, std::size_t)>& progress);

// The settings as a JSON object (without format, version and network).
nlohmann::ordered_json settings_json(const RoomSettings& room);

// The settings of a backup document; a missing or bad member is a usage error naming it.
RoomSettings settings_from_json(const nlohmann::json& document, std::string_view file);

struct PlannedWrite
{
    std::string what; // "volume", for the report
    protocol::Request request;
};

// The writes that give a controller these settings; the ID is left alone with `keep_id`.
std::vector<PlannedWrite> restore_plan(const RoomSettings& room, bool keep_id);

struct FieldChange
{
    std::string field; // "volume", "timings.warm_up", "serial.power_on"
    std::string from;  // as a backup writes it
    std::string to;
};

// "30 → 5" as a person reads a change; an empty code shows as "(none)", not as a blank.
std::string change_values(const FieldChange& change);

// What a restore of `wanted` changes on a controller that holds `now`, in the backup's order:
// the ID only without `keep_id`, never the card and fingerprint counts (they are not written).
std::vector<FieldChange>
restore_changes(const RoomSettings& now, const RoomSettings& wanted, bool keep_id);

// Throws a usage error when the codes do not fit one request.
void check_serial_fits(const protocol::ProjectorCodes& serial);

// The names of the four codes, in the controller's order.
inline constexpr std::string_view code_names[4] = {"power_on", "power_off", "video", "computer"};

} // namespace zk::cli

// get and set: the controller's ID, volume, timings, power-on mode and serial settings.
#include <array>

#include "cli/commands.h"
#include "cli/projector_commands.h"
#include "cli/room_settings.h"
#include "cli/values.h"
#include "protocol/code_text.h"

namespace zk::cli {

namespace {

using nlohmann::ordered_json;
using namespace protocol;

struct SettingInput
{
    std::string host, value;
    std::string screen, warm_up, cool_down;
    std::string baud, parity;
    std::array<std::string, 4> codes;
    std::array<bool, 4> code_given{};
    SerialSource source;
    bool text = false; // get serial --text: the codes also as command text
};

// "--power-on" for code 0 and so on.
std::string code_option(std::size_t code)
{
    std::string name = "--" + std::string(code_names[code]);
    std::replace(name.begin(), name.end(), '_', '-');
    return name;
}

ordered_json timings_json(const TimingsData& t)
{
    return {{"screen", t.screen}, {"warm_up", t.warm_up}, {"cool_down", t.cool_down}};
}

ordered_json serial_json(const ProjectorCodes& serial, bool text = false)
{
    ordered_json json{{"baud", serial.baud}, {"parity", parity_text(serial.parity)}};
    for (std::size_t i = 0; i < 4; ++i) {
        json[std::string(code_names[i])] = hex_bytes_text(serial.codes[i]);
        if (text)
            json[std::string(code_names[i]) + "_text"] = protocol::code_to_text(serial.codes[i]);
    }
    return json;
}

ordered_json get(Context& context, const std::string& what, const std::string& host, bool text)
{
    std::unique_ptr<Hs3Client> c = context.controller(host);
    if (what == "id")
        return {{"id", expect<ControllerIdData>(*c, ReadControllerId{}, "the ID read").id}};
    if (what == "volume")
        return {{"volume", expect<VolumeData>(*c, ReadVolume{}, "the volume read").volume}};
    if (what == "timings")
        return {
            {"timings", timings_json(expect<TimingsData>(*c, ReadTimings{}, "the timings read"))}};
    if (what == "mode")
        return {
            {"mode", expect<SwipeModeData>(*c, ReadSwipeMode{}, "the power-on mode read").swipe_card
                         ? "swipe"
                         : "public"}};
    return {{"serial", serial_json(read_serial(*c), text)}};
}

std::uint8_t byte_or(const std::string& text, std::string_view field, std::uint8_t current)
{
    return text.empty() ? current
                        : static_cast<std::uint8_t>(parse_number(text, field, max_seconds));
}

void set_timings(Context& context, const SettingInput& in)
{
    TimingsData t;
    for (const auto& [text, field] : {std::pair{in.screen, "--screen"},
                                      {in.warm_up, "--warm-up"},
                                      {in.cool_down, "--cool-down"}})
        byte_or(text, field, 0);
    if (in.screen.empty() && in.warm_up.empty() && in.cool_down.empty())
        refuse_input("set timings: give --screen, --warm-up or --cool-down");
    std::unique_ptr<Hs3Client> c = context.controller(in.host);
    if (in.screen.empty() || in.warm_up.empty() || in.cool_down.empty())
        t = expect<TimingsData>(*c, ReadTimings{}, "the timings read");
    t = {byte_or(in.screen, "--screen", t.screen), byte_or(in.warm_up, "--warm-up", t.warm_up),
         byte_or(in.cool_down, "--cool-down", t.cool_down)};
    expect<TimingsAck>(*c, WriteTimings{t.screen, t.warm_up, t.cool_down}, "the timings write");
    context.print_values(in.host, {{"timings", timings_json(t)}});
}

void set_serial(Context& context, const SettingInput& in)
{
    const std::optional<ProjectorCodes> base = serial_from_source(context, in.source);
    ProjectorCodes wanted = base.value_or(ProjectorCodes{});
    if (!in.baud.empty()) wanted.baud = parse_baud(in.baud);
    if (!in.parity.empty()) wanted.parity = parse_parity(in.parity);
    bool all_given = !in.baud.empty() && !in.parity.empty();
    for (std::size_t i = 0; i < 4; ++i) {
        if (in.code_given[i]) wanted.codes[i] = parse_code(in.codes[i], code_option(i));
        all_given = all_given && in.code_given[i];
    }
    all_given = all_given || base.has_value();
    check_serial_fits(wanted);
    std::unique_ptr<Hs3Client> c = context.controller(in.host);
    ProjectorCodes serial = all_given ? wanted : read_serial(*c);
    if (!in.baud.empty()) serial.baud = wanted.baud;
    if (!in.parity.empty()) serial.parity = wanted.parity;
    for (std::size_t i = 0; i < 4; ++i)
        if (in.code_given[i]) serial.codes[i] = wanted.codes[i];
    check_serial_fits(serial);
    expect<ProjectorCodesAck>(*c, WriteProjectorCodes{serial}, "the serial settings write");
    context.print_values(in.host, {{"serial", serial_json(serial)}});
}

void set(Context& context, const std::string& what, const SettingInput& in)
{
    if (what == "timings") return set_timings(context, in);
    if (what == "serial") return set_serial(context, in);
    if (what == "id") {
        const auto id = static_cast<std::uint16_t>(parse_number(in.value, "id", max_id));
        expect<ControllerIdAck>(*context.controller(in.host), WriteControllerId{id},
                                "the ID write");
        return context.print_values(in.host, {{"id", id}});
    }
    if (what == "volume") {
        const auto volume = static_cast<std::uint8_t>(parse_number(in.value, "volume", max_volume));
        expect<VolumeAck>(*context.controller(in.host), WriteVolume{volume}, "the volume write");
        return context.print_values(in.host, {{"volume", volume}});
    }
    const bool swipe = parse_swipe_mode(in.value);
    expect<SwipeModeAck>(*context.controller(in.host), WriteSwipeMode{swipe}, "the mode write");
    context.print_values(in.host, {{"mode", swipe ? "swipe" : "public"}});
}

constexpr std::array<std::pair<const char*, const char*>, 5> setting_names = {{
    {"id", "Controller ID, 0-65535"},
    {"volume", "System volume, 0-255"},
    {"timings", "Screen interval, projector warm-up and cool-down, seconds"},
    {"mode", "Power-on mode: swipe (a registered card powers on) or public"},
    {"serial", "Projector serial port (baud, parity) and its four codes as hex text"},
}};

void add_set_arguments(CLI::App& command, const std::string& what, SettingInput& in)
{
    if (what == "id" || what == "volume" || what == "mode")
        command.add_option(what, in.value, what == "mode" ? "swipe or public" : "New value")
            ->required();
    if (what == "timings") {
        command.add_option("--screen", in.screen, "Screen up/down interval, seconds (0-255)");
        command.add_option("--warm-up", in.warm_up, "Projector warm-up time, seconds (0-255)");
        command.add_option("--cool-down", in.cool_down,
                           "Projector cool-down time, seconds (0-255)");
    }
    if (what != "serial") return;
    add_serial_source_options(command, in.source);
    command.add_option("--baud", in.baud, "Baud rate (1200 ... 115200, 17200, 345600)");
    command.add_option("--parity", in.parity, "none, odd or even");
    for (std::size_t i = 0; i < 4; ++i) {
        const std::string name = code_option(i);
        command.add_option(name, in.codes[i], "The " + name.substr(2) + " code, e.g. \"7E 30 0D\"")
            ->each([&in, i](const std::string&) { in.code_given[i] = true; });
    }
}

} // namespace

void add_setting_commands(CLI::App& app, Context& context)
{
    auto in = std::make_shared<SettingInput>();
    CLI::App* get_group = app.add_subcommand("get", "Read one setting of a controller");
    CLI::App* set_group = app.add_subcommand("set", "Write one setting of a controller");
    get_group->require_subcommand(1);
    set_group->require_subcommand(1);
    for (const auto& [name, help] : setting_names) {
        const std::string what = name;
        CLI::App* reader = get_group->add_subcommand(what, help);
        add_host_option(*reader, in->host);
        if (what == "serial")
            reader->add_flag("--text", in->text, "Also show the codes as command text (PWR ON\\r)");
        reader->callback([&context, in, what] {
            context.print_values(in->host, get(context, what, in->host, in->text));
        });
        CLI::App* writer = set_group->add_subcommand(what, help);
        add_set_arguments(*writer, what, *in);
        add_host_option(*writer, in->host);
        writer->callback([&context, in, what] { set(context, what, *in); });
    }
}

} // namespace zk::cli

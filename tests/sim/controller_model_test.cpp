#include "sim/controller_model.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/hex.h"

namespace zk::sim {
namespace {

using test::from_hex;
using test::to_hex;

ControllerState known_state()
{
    ControllerState state;
    state.controller_id = 300;
    state.volume = 5;
    state.screen_interval = 10;
    state.warm_up = 30;
    state.cool_down = 60;
    state.projector = {9600, 0, {from_hex("0A FF"), {}, {}, {}}};
    for (std::uint32_t card = 1; card <= 12; ++card)
        state.cards.insert(card);
    state.fingerprints = 3;
    return state;
}

std::vector<std::string> frames(const Answer& answer)
{
    std::vector<std::string> out;
    for (const Outgoing& reply : answer.replies)
        out.push_back(to_hex(reply.datagram));
    return out;
}

struct Step
{
    const char* request;
    std::vector<std::string> replies;
};

// Runs the steps in order against one controller, as a conversation.
void converse(ControllerModel& model, const std::vector<Step>& steps)
{
    for (const Step& step : steps) {
        const Answer answer = model.handle(from_hex(step.request));
        EXPECT_TRUE(answer.understood) << step.request;
        EXPECT_EQ(frames(answer), step.replies) << step.request;
    }
}

TEST(controller_model, answers_every_read_with_the_reply_layout)
{
    ControllerModel model(known_state(), {1234567, 0, 100});
    converse(model,
             {
                 {"48 53 33 FF 06 00 00 A8 00 01 AF", {"48 53 33 FF 07 00 00 A8 00 01 05 AB"}},
                 {"48 53 33 FF 05 00 00 41 00 44", {"48 53 33 FF 09 00 00 41 00 02 0A 1E 3C 62"}},
                 {"48 53 33 FF 05 00 00 92 00 97", {"48 53 33 FF 07 00 00 92 00 01 2C B8"}},
                 {"48 53 33 FF 06 00 00 A5 00 00 A3",
                  {"48 53 33 FF 0B 00 00 A5 00 00 00 00 12 D6 87 ED"}},
                 {"48 53 33 FF 06 00 00 A5 00 01 A2", {"48 53 33 FF 08 00 00 A5 00 01 00 0C A0"}},
                 {"48 53 33 FF 05 00 00 A6 00 A3", {"48 53 33 FF 06 00 00 A6 00 02 A2"}},
                 {"48 53 33 FF 05 00 00 A9 00 AC", {"48 53 33 FF 07 00 00 A9 00 00 03 AD"}},
                 {"48 53 33 FF 05 00 00 45 00 40",
                  {"48 53 33 FF 19 00 00 45 00 00 25 80 00 08 01 CE CE 02 0A FF CE CE 00 CE CE 00 "
                   "CE CE 00 07"}},
             });
}

TEST(controller_model, writes_are_acknowledged_and_read_back)
{
    ControllerModel model(known_state(), {});
    converse(model,
             {
                 {"48 53 33 FF 07 00 00 A8 C5 01 07 6C", {"48 53 33 FF 06 00 00 A8 55 01 FA"}},
                 {"48 53 33 FF 06 00 00 A8 00 01 AF", {"48 53 33 FF 07 00 00 A8 00 01 07 A9"}},
                 {"48 53 33 FF 09 00 00 41 C5 02 0A 1E 3C A7", {"48 53 33 FF 05 00 00 41 55 11"}},
                 {"48 53 33 FF 07 00 00 92 C5 01 2C 7D", {"48 53 33 FF 05 00 00 92 55 C2"}},
                 {"48 53 33 FF 06 00 00 A6 C5 00 65", {"48 53 33 FF 05 00 00 A6 55 F6"}},
                 {"48 53 33 FF 05 00 00 A6 00 A3", {"48 53 33 FF 06 00 00 A6 00 00 A0"}},
                 {"48 53 33 FF 06 00 00 A4 C5 01 66", {"48 53 33 FF 06 00 00 A4 55 01 F6"}},
                 {"48 53 33 FF 06 00 00 A4 C5 00 67", {"48 53 33 FF 06 00 00 A4 55 00 F7"}},
                 {"48 53 33 FF 1A 00 00 45 C5 01 C2 00 02 08 01 CE CE 02 0A FF CE CE 00 CE CE 01 "
                  "05 CE CE 00 A1",
                  {"48 53 33 FF 05 00 00 45 55 15"}},
                 {"48 53 33 FF 05 00 00 45 00 40",
                  {"48 53 33 FF 1A 00 00 45 00 01 C2 00 02 08 01 CE CE 02 0A FF CE CE 00 CE CE 01 "
                   "05 CE CE 00 64"}},
             });
    EXPECT_EQ(model.state().volume, 7);
    EXPECT_TRUE(model.state().swipe_card_mode);
    EXPECT_FALSE(model.state().authorisation_paused);
    EXPECT_EQ(model.state().projector.baud, 115200u);
}

TEST(controller_model, registers_looks_up_and_deletes_cards_with_their_result_codes)
{
    ControllerState state;
    ControllerModel model(state, {});
    const std::string lookup = "48 53 33 FF 0A 00 00 A5 00 02 00 12 D6 87 EE";
    const std::string reg = "48 53 33 FF 0A 00 00 A5 C5 00 00 12 D6 87 29";
    const std::string del = "48 53 33 FF 0A 00 00 A5 C5 03 00 12 D6 87 2A";
    converse(model, {
                        {lookup.c_str(), {"48 53 33 FF 07 00 00 A5 00 02 00 A0"}}, // not registered
                        {reg.c_str(), {"48 53 33 FF 07 00 00 A5 55 00 01 F6"}},    // registered
                        {reg.c_str(), {"48 53 33 FF 07 00 00 A5 55 00 02 F5"}}, // already present
                        {lookup.c_str(), {"48 53 33 FF 07 00 00 A5 00 02 01 A1"}}, // found
                        {del.c_str(), {"48 53 33 FF 07 00 00 A5 55 03 01 F5"}},    // deleted
                        {del.c_str(), {"48 53 33 FF 07 00 00 A5 55 03 00 F4"}},    // not registered
                        {lookup.c_str(), {"48 53 33 FF 07 00 00 A5 00 02 00 A0"}},
                    });
    EXPECT_TRUE(model.state().cards.empty());
}

TEST(controller_model, enrolment_answers_four_steps_one_after_another)
{
    ControllerModel model(known_state(), {std::nullopt, 0, 250});
    const Answer answer = model.handle(from_hex("48 53 33 FF 07 00 00 A5 C5 01 01 67"));
    EXPECT_EQ(frames(answer), (std::vector<std::string>{"48 53 33 FF 08 00 00 A5 55 01 01 01 F9",
                                                        "48 53 33 FF 08 00 00 A5 55 01 02 01 FA",
                                                        "48 53 33 FF 08 00 00 A5 55 01 03 01 FB",
                                                        "48 53 33 FF 08 00 00 A5 55 01 04 01 FC"}));
    ASSERT_EQ(answer.replies.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(answer.replies[i].delay_ms, 250 * static_cast<int>(i + 1));
    EXPECT_TRUE(answer.state_changed);
    EXPECT_EQ(model.state().fingerprints, 4);
}

TEST(controller_model, a_failing_step_ends_enrolment_without_a_new_fingerprint)
{
    ControllerModel model(known_state(), {std::nullopt, 2, 10});
    const Answer answer = model.handle(from_hex("48 53 33 FF 07 00 00 A5 C5 01 01 67"));
    EXPECT_EQ(frames(answer), (std::vector<std::string>{"48 53 33 FF 08 00 00 A5 55 01 01 01 F9",
                                                        "48 53 33 FF 08 00 00 A5 55 01 02 00 FB"}));
    EXPECT_FALSE(answer.state_changed);
    EXPECT_EQ(model.state().fingerprints, 3);
}

TEST(controller_model, deletes_fingerprints_until_none_is_left)
{
    ControllerState state;
    state.fingerprints = 1;
    ControllerModel model(state, {});
    converse(model,
             {
                 {"48 53 33 FF 06 00 00 A5 C5 02 64", {"48 53 33 FF 07 00 00 A5 55 02 01 F4"}},
                 {"48 53 33 FF 06 00 00 A5 C5 02 64", {"48 53 33 FF 07 00 00 A5 55 02 00 F5"}},
                 {"48 53 33 FF 05 00 00 A9 00 AC", {"48 53 33 FF 07 00 00 A9 00 00 00 AE"}},
             });
}

TEST(controller_model, a_card_read_without_a_card_at_the_reader_gets_no_answer)
{
    ControllerModel model(known_state(), {});
    const Answer answer = model.handle(from_hex("48 53 33 FF 06 00 00 A5 00 00 A3"));
    EXPECT_TRUE(answer.understood);
    EXPECT_TRUE(answer.replies.empty());
}

TEST(controller_model, malformed_and_unknown_requests_are_ignored_without_change)
{
    const char* requests[] = {
        "",
        "48",
        "48 53 33 FF 05 00 00 A9",                         // cut short
        "48 53 33 FF 06 00 00 A8 00 01 AE",                // checksum wrong
        "48 53 33 FF 07 00 00 A8 00 01 AE",                // length byte wrong
        "48 53 34 FF 06 00 00 A8 00 01 AF",                // signature
        "48 53 33 FE 06 00 00 A8 00 01 AF",                // marker
        "48 53 33 FF 05 00 00 77 00 72",                   // unknown command
        "48 53 33 FF 06 00 00 A8 C5 01 6A",                // volume write without its value
        "48 53 33 FF 06 00 00 A4 C5 02 65",                // authorisation neither pause nor resume
        "48 53 33 FF 06 00 00 A6 C5 01 64",                // unknown power-on mode
        "48 53 33 FF 07 00 00 A5 C5 01 02 64",             // enrolment with another constant
        "48 53 33 FF 0B 00 00 45 C5 00 25 80 00 08 01 27", // codes without blocks
        "48 53 33 FF 0F 00 00 45 C5 00 25 80 00 08 01 CE CE 05 01 27", // block past the end
    };
    for (const char* request : requests) {
        ControllerModel model(known_state(), {1, 0, 1});
        const Answer answer = model.handle(from_hex(request));
        EXPECT_FALSE(answer.understood) << request;
        EXPECT_TRUE(answer.replies.empty()) << request;
        EXPECT_FALSE(answer.state_changed) << request;
        EXPECT_EQ(model.state(), known_state()) << request;
    }
}

} // namespace
} // namespace zk::sim

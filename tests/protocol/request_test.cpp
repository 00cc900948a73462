#include "protocol/request.h"

#include <gtest/gtest.h>

#include "protocol/answer_rule.h"
#include "protocol/hs3_frame.h"
#include "support/hex.h"

namespace zk::protocol {
namespace {

using zk::test::from_hex;
using zk::test::to_hex;

struct RequestCase
{
    Request request;
    const char* payload;
};

TEST(request, every_kind_encodes_to_its_payload_and_decodes_back)
{
    const RequestCase cases[] = {
        {ReadVolume{}, "A8 00 01"},
        {WriteVolume{5}, "A8 C5 01 05"},
        {ReadTimings{}, "41 00"},
        {WriteTimings{30, 60, 90}, "41 C5 02 1E 3C 5A"},
        {ReadControllerId{}, "92 00"},
        {WriteControllerId{300}, "92 C5 01 2C"},
        {SetAuthorisation{true}, "A4 C5 01"},
        {SetAuthorisation{false}, "A4 C5 00"},
        {AwaitCard{}, "A5 00 00"},
        {ReadCardCount{}, "A5 00 01"},
        {LookUpCard{3000004}, "A5 00 02 00 2D C6 C4"},
        {RegisterCard{3000004}, "A5 C5 00 00 2D C6 C4"},
        {DeleteCard{0xFFFFFFFF}, "A5 C5 03 FF FF FF FF"},
        {EnrolFingerprint{}, "A5 C5 01 01"},
        {DeleteFingerprint{}, "A5 C5 02"},
        {ReadSwipeMode{}, "A6 00"},
        {WriteSwipeMode{true}, "A6 C5 00"},
        {WriteSwipeMode{false}, "A6 C5 02"},
        {ReadFingerprintCount{}, "A9 00"},
        {ReadProjectorCodes{}, "45 00"},
        {WriteProjectorCodes{{9600, 0, {Bytes{0x50, 0x0D}, Bytes{}, Bytes{0x01}, Bytes{}}}},
         "45 C5 00 25 80 00 08 01 CE CE 02 50 0D CE CE 00 CE CE 01 01 CE CE 00"},
    };
    for (const RequestCase& c : cases) {
        SCOPED_TRACE(c.payload);
        EXPECT_EQ(to_hex(encode_request(c.request)), c.payload);
        EXPECT_EQ(decode_request(from_hex(c.payload)), std::optional<Request>(c.request));
    }
}

TEST(request, payloads_of_no_known_request_decode_to_nothing)
{
    const char* refused[] = {
        "",
        "A8",
        "A8 00 01 00",       // a read with a value
        "A8 C5 02 05",       // another volume channel
        "A8 55 01",          // an acknowledgement is no request
        "A4 C5 02",          // no such authorisation state
        "A5 C5 01 02",       // enrolment asks for finger 1 only
        "A5 00 02 00 2D C6", // card number cut short
        "A6 C5 01",          // no such power-on mode
        "45 C5 00 25 80 00 08 01 CE CE 02 50 0D CE CE 00 CE CE 01 01",    // three blocks
        "45 C5 00 25 80 00 08 01 CE CE 00 CE CE 00 CE CE 00 CE CE 00 00", // a byte after
        "45 C5 00 25 80 00 08 01 CE CF 00 CE CE 00 CE CE 00 CE CE 00",    // a bad mark
        "45 C5 00 25 80 00 08 01 CE CE 05 50 CE CE 00 CE CE 00 CE CE 00", // count too big
        "77 00",
    };
    for (const char* payload : refused) {
        SCOPED_TRACE(payload);
        EXPECT_EQ(decode_request(from_hex(payload)), std::nullopt);
    }
}

TEST(request, only_a_well_formed_frame_unwraps)
{
    EXPECT_EQ(to_hex(unwrap_frame(from_hex("48 53 33 FF 07 00 00 A8 C5 01 05 6E")).value()),
              "A8 C5 01 05");
    const char* refused[] = {
        "48 53 33 FF 07 00 00 A8 C5 01 05 6F", // checksum
        "48 53 33 FE 07 00 00 A8 C5 01 05 6E", // marker
        "48 53 33 FF 08 00 00 A8 C5 01 05 6F", // length byte
        "48 53 34 FF 07 00 00 A8 C5 01 05 6E", // signature
        "48 53 33 FF 04 00 00 A8 AC",          // a command without operation
    };
    for (const char* frame : refused) {
        SCOPED_TRACE(frame);
        EXPECT_EQ(unwrap_frame(from_hex(frame)), std::nullopt);
    }
}

struct Pairing
{
    Request request;
    Reply reply;
    bool answers;
};

TEST(answer_rule, a_reply_answers_only_the_request_it_belongs_to)
{
    const Pairing cases[] = {
        {ReadVolume{}, VolumeData{7}, true},
        {ReadVolume{}, VolumeAck{}, false},
        {ReadTimings{}, ControllerIdData{300}, false},
        {WriteVolume{7}, VolumeAck{}, true},
        {WriteVolume{7}, VolumeData{7}, false},
        {SetAuthorisation{true}, AuthorisationAck{true}, true},
        {SetAuthorisation{true}, AuthorisationAck{false}, false},
        {AwaitCard{}, CardRead{1}, true},
        {AwaitCard{}, CardCount{1}, false},
        {ReadCardCount{}, CardCount{1}, true},
        {LookUpCard{1}, CardLookup{true}, true},
        {LookUpCard{1234567}, CardCount{12}, false},
        {RegisterCard{1234567}, CardRegistrationAck{RegistrationResult::registered}, true},
        {RegisterCard{1}, CardDeletionAck{true}, false},
        {DeleteCard{1234567}, CardRegistrationAck{RegistrationResult::registered}, false},
        {DeleteCard{1}, CardDeletionAck{true}, true},
        {EnrolFingerprint{}, FingerprintEnrolmentAck{2, true}, true},
        {DeleteFingerprint{}, FingerprintEnrolmentAck{2, true}, false},
        {ReadSwipeMode{}, SwipeModeData{true}, true},
        {ReadSwipeMode{}, SwipeModeAck{}, false},
        {WriteSwipeMode{true}, SwipeModeAck{}, true},
        {ReadFingerprintCount{}, FingerprintCount{3}, true},
        {ReadProjectorCodes{}, ProjectorCodesAck{}, false},
        {WriteProjectorCodes{}, ProjectorCodesAck{}, true},
        {ReadTimings{}, TimingsData{}, true},
        {WriteTimings{}, TimingsAck{}, true},
        {ReadControllerId{}, ControllerIdData{}, true},
        {WriteControllerId{}, ControllerIdAck{}, true},
    };
    for (const Pairing& c : cases) {
        SCOPED_TRACE(request_name(c.request));
        EXPECT_EQ(answers(c.request, c.reply), c.answers);
    }
}

TEST(answer_rule, a_swipe_or_a_finger_is_waited_for_longer)
{
    EXPECT_GT(answer_wait(AwaitCard{}), answer_wait(ReadCardCount{}));
    EXPECT_GT(answer_wait(EnrolFingerprint{}), answer_wait(DeleteFingerprint{}));
    EXPECT_TRUE(more_answers_follow(FingerprintEnrolmentAck{3, true}));
    EXPECT_FALSE(more_answers_follow(FingerprintEnrolmentAck{4, true}));
    EXPECT_FALSE(more_answers_follow(FingerprintEnrolmentAck{2, false}));
}

} // namespace
} // namespace zk::protocol

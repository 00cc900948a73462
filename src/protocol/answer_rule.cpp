#include "protocol/answer_rule.h"

namespace zk::protocol {

namespace {

using namespace std::chrono_literals;

constexpr std::chrono::milliseconds usual_wait = 2s;
constexpr std::chrono::milliseconds person_wait = 15s;

template <class Kind> bool is(const Reply& reply)
{
    return std::holds_alternative<Kind>(reply);
}

// One overload per request kind, so a new kind cannot go without its answer.
struct AnsweredBy
{
    const Reply& r;
    bool operator()(const ReadVolume&) const { return is<VolumeData>(r); }
    bool operator()(const WriteVolume&) const { return is<VolumeAck>(r); }
    bool operator()(const ReadTimings&) const { return is<TimingsData>(r); }
    bool operator()(const WriteTimings&) const { return is<TimingsAck>(r); }
    bool operator()(const ReadControllerId&) const { return is<ControllerIdData>(r); }
    bool operator()(const WriteControllerId&) const { return is<ControllerIdAck>(r); }
    bool operator()(const SetAuthorisation& q) const
    {
        const auto* ack = std::get_if<AuthorisationAck>(&r);
        return ack && ack->paused == q.paused;
    }
    bool operator()(const AwaitCard&) const { return is<CardRead>(r); }
    bool operator()(const ReadCardCount&) const { return is<CardCount>(r); }
    bool operator()(const LookUpCard&) const { return is<CardLookup>(r); }
    bool operator()(const RegisterCard&) const { return is<CardRegistrationAck>(r); }
    bool operator()(const DeleteCard&) const { return is<CardDeletionAck>(r); }
    bool operator()(const EnrolFingerprint&) const { return is<FingerprintEnrolmentAck>(r); }
    bool operator()(const DeleteFingerprint&) const { return is<FingerprintDeletionAck>(r); }
    bool operator()(const ReadSwipeMode&) const { return is<SwipeModeData>(r); }
    bool operator()(const WriteSwipeMode&) const { return is<SwipeModeAck>(r); }
    bool operator()(const ReadFingerprintCount&) const { return is<FingerprintCount>(r); }
    bool operator()(const ReadProjectorCodes&) const { return is<ProjectorCodesData>(r); }
    bool operator()(const WriteProjectorCodes&) const { return is<ProjectorCodesAck>(r); }
};

} // namespace

bool answers(const Request& request, const Reply& reply)
{
    return std::visit(AnsweredBy{reply}, request);
}

bool waits_for_a_person(const Request& request)
{
    return std::holds_alternative<AwaitCard>(request) ||
           std::holds_alternative<EnrolFingerprint>(request);
}

std::chrono::milliseconds answer_wait(const Request& request)
{
    return waits_for_a_person(request) ? person_wait : usual_wait;
}

bool more_answers_follow(const Reply& reply)
{
    const auto* step = std::get_if<FingerprintEnrolmentAck>(&reply);
    return step && step->succeeded && step->step < 4;
}

} // namespace zk::protocol

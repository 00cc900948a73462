#pragma once
// Which reply answers which request, and how long to wait for it: decided once, here, for the
// settings window's watch, zkctl's client and the simulated controller alike.
#include <chrono>

#include "protocol/replies.h"
#include "protocol/request.h"

namespace zk::protocol {

// True when `reply` is the kind that answers `request` and, where a reply echoes a value of the
// request (the authorisation state asked for), carries the same value.
bool answers(const Request& request, const Reply& reply);

// How long the controller may take to answer: a card read waits for a card to be swiped and an
// enrolment step for a finger, so those wait longer than the rest.
std::chrono::milliseconds answer_wait(const Request& request);

// True for the requests answered only once a person has acted at the controller (a card swiped,
// a finger placed): no shorter time-out may cut their wait below answer_wait.
bool waits_for_a_person(const Request& request);

// True for an answer after which the same request is answered again: a successful enrolment
// step of one to three, after which the controller waits for the same finger once more.
bool more_answers_follow(const Reply& reply);

} // namespace zk::protocol

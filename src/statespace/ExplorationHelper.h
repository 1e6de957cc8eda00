// A second process that explores markings beside the generating one, so
// that a generation uses both cores where it has them. The net model keeps
// its firing state in the places and bindings themselves, so two threads
// could not fire at once; a copy of the process made when the exploration
// starts has the net to itself. It is sent batches of marking codes and
// answers, for each marking in turn, the requests its exploration made (the
// edge and the code of every successor), which the generating process then
// interns in the order of the batches: the store, the numbering and the
// edge lists come out as if it had explored every marking itself.
//
// The helper answers only what it explored without a fatal report and
// without writing a line. Where it stops short, the generating process
// explores the rest itself, so that every report and warning is its own and
// comes where it would without the helper; the helper is then gone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "statedata/DelayVal.h"

class Marking;

// In the generating process: makes the helper (false when none could be
// made); stops it and waits for its end.
bool StartExplorationHelper();
void StopExplorationHelper();
bool ExplorationHelperRunning();

// Sends the codes of these markings, to be explored in this order.
void SendToHelper(const std::vector<Marking*>& batch);
// Whether the answer to the oldest batch sent has begun to arrive.
bool HelperAnswerReady();

// The answer to a batch: for each of its first `explored` markings, the
// requests its exploration made, in order.
class HelperAnswer {
public:
    struct Request {
        DelayVal edge;
        std::uint64_t hash;
        const std::uint8_t* code;
    };
    std::size_t Explored() const { return explored; }
    // Reads the requests of the next marking into `requests`.
    void NextMarking(std::vector<Request>& requests);

private:
    friend bool ReceiveFromHelper(HelperAnswer& answer);
    std::vector<std::uint8_t> bytes;
    std::size_t explored = 0;
    std::size_t read = 0;
};
// Waits for the answer to the oldest batch sent. False when the helper
// ended without one (it is then stopped: its batches are to be explored by
// the caller, as are the markings of an answer that stops short).
bool ReceiveFromHelper(HelperAnswer& answer);

// In the helper: whether the exploration's requests are collected for the
// answer, and the collecting of one.
bool CollectingForHelper();
void CollectForHelper(const DelayVal& edge, const std::uint8_t* code, std::uint64_t hash);

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

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "statedata/DelayVal.h"
#include "statespace/InterningPipeline.h"

class Marking;

// In the generating process: makes the helper (false when none could be
// made); stops it and waits for its end.
bool StartExplorationHelper();
void StopExplorationHelper();
bool ExplorationHelperRunning();
// Gives back the memory of the answers, once no request read from one is
// needed any more (they outlive the helper that wrote them).
void ReleaseHelperAnswers();
// Each answer has a room of this many bytes (address space, taken as
// used); a helper whose answer would not fit stops short (see ReceiveFromHelper).
inline constexpr std::size_t kHelperAnswerRoom = std::size_t{128} << 20;
void GiveHelperAnswersRoomOf(std::size_t bytes);

// Whether the helper is running and may be sent another batch: at most two
// are out at once, given up ones included.
bool HelperTakesAnotherBatch();
// Sends the codes of these markings, to be explored in this order.
void SendToHelper(const std::vector<MarkingToExplore>& batch);
// Whether the answer to the oldest batch sent has begun to arrive.
bool HelperAnswerReady();
// Reads and drops the answers to given-up batches that have arrived.
void DropLateAnswers();

// What became of a batch's answer, see ReceiveFromHelper.
enum class HelperReply { kAnswered, kGone, kLate };

// The answer to a batch: for each of its first `explored` markings, the
// requests its exploration made, in order. Its requests (and the codes they
// point to) stay as they are until the next batch is sent.
class HelperAnswer {
public:
    struct Request {
        DelayVal edge;
        std::uint64_t hash;
        const std::uint8_t* code;
        InfOrder order;
    };
    std::size_t Explored() const { return explored; }
    // Reads the requests of the next marking into `requests`.
    void NextMarking(std::vector<Request>& requests);

private:
    friend HelperReply ReceiveFromHelper(HelperAnswer& answer, std::chrono::microseconds patience);
    const std::uint8_t* bytes = nullptr;
    std::size_t explored = 0;
    std::size_t read = 0;
};
// Waits for the answer to the oldest batch sent that is not given up, at
// most `patience` for it to begin. Answered: `answer` holds it (the caller
// explores the markings of one that stops short). Gone: the helper ended
// without one and is stopped; the caller explores its batches. Late: the
// batch is given up (its answer is dropped when it comes) and the caller
// explores it, so that a helper starved of the processor by other
// programs does not hold up the generation.
HelperReply ReceiveFromHelper(HelperAnswer& answer, std::chrono::microseconds patience);

// In the helper: whether the exploration's requests are collected for the
// answer, and the collecting of one.
bool CollectingForHelper();
void CollectForHelper(const DelayVal& edge, const std::uint8_t* code, std::uint64_t hash, InfOrder order);

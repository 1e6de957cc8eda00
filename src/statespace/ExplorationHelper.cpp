// The helper process of the generation, see ExplorationHelper.h. Batches
// travel over a socket pair (sends that fail never raise SIGPIPE) as a
// header, the number of markings and the bytes of their codes, then the
// codes. Answers are written into memory shared with the helper, in one of
// two rooms that the batches take in turn, and only their header goes over
// the socket: copying tens of megabytes of requests through the socket took
// a fifth of the helper's time.
#include "statespace/ExplorationHelper.h"

#include <poll.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <deque>

#include "foundation/Reporters.h"
#include "foundation/SocketTransfer.h"
#include "statespace/FiringTimeExplorer.h"
#include "statedata/Marking.h"
#include "statedata/MarkingCode.h"

namespace {

struct Header {
    std::uint32_t markings;
    std::uint32_t bytes;
};

// A request in an answer, followed by its InfOrder's set where that is not
// empty (most nets have none), then by its code.
struct RequestRecord {
    double value;
    std::uint64_t hash;
    std::int16_t transNo;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint32_t codeSize;
};
constexpr std::uint8_t kSameFiring = 1;
constexpr std::uint8_t kUnknownInfFollows = 2;

// A batch's answer is written into the room of its turn. Two rooms are
// enough: a batch is sent only when fewer than two are out, so the answer
// that last used its room has been read, and its requests interned, by then.
constexpr std::size_t kAnswerRooms = 2;
std::size_t roomBytes = kHelperAnswerRoom;
std::uint8_t* rooms = nullptr;                   // kAnswerRooms rooms, shared

std::uint8_t* Room(std::uint64_t turn)
{
    return rooms + turn % kAnswerRooms * roomBytes;
}

// The generating process's end.
int helperSocket = -1;
pid_t helperPid = -1;
std::uint64_t batchesSent = 0;
// The batches whose answers have not been read, oldest first.
struct Sent {
    std::uint32_t markings;
    bool givenUp;
    std::uint64_t turn;
};
std::deque<Sent> sent;

// The helper's state.
bool collecting = false;
int outputFile = -1;  // where the helper's stdout and stderr go
std::uint8_t* answer = nullptr;  // the room of the batch being explored
std::size_t answerBytes = 0;
std::size_t markingStart = 0;  // in answer: the count of the marking explored
std::uint32_t exploredInBatch = 0;

bool SendAnswer(std::uint32_t explored, int fd)
{
    Header h{explored, static_cast<std::uint32_t>(answerBytes)};
    return SendAll(fd, reinterpret_cast<const char*>(&h), sizeof h);
}

// The helper stops short: the markings explored before the current one are
// answered, and the generating process explores that one and the rest of
// the batch itself. After a fatal report that puts the report where it
// belongs; after an answer too large for its room, the generation goes on
// without the helper.
[[noreturn]] void StopShort()
{
    answerBytes = markingStart;
    SendAnswer(exploredInBatch, helperSocket);
    _exit(0);
}

void Append(const void* data, std::size_t size)
{
    if (size > roomBytes - answerBytes) StopShort();
    std::memcpy(answer + answerBytes, data, size);
    answerBytes += size;
}

bool WroteOutput()
{
    std::fflush(stdout);
    std::fflush(stderr);
    struct stat st {};
    return fstat(outputFile, &st) != 0 || st.st_size > 0;
}

[[noreturn]] void ServeBatches()
{
    std::vector<std::uint8_t> codes;
    Marking source;  // the requests' sources are the generating process's
    for (std::uint64_t turn = 0;; ++turn) {
        Header h{};
        if (!ReceiveAll(helperSocket, reinterpret_cast<char*>(&h), sizeof h)) _exit(0);
        codes.resize(h.bytes);
        if (!ReceiveAll(helperSocket, reinterpret_cast<char*>(codes.data()), h.bytes)) _exit(0);
        answer = Room(turn);
        answerBytes = 0;
        // Each marking: the set it fires in binding order, then its code.
        const std::uint8_t* code = codes.data();
        for (exploredInBatch = 0; exploredInBatch < h.markings; ++exploredInBatch) {
            markingStart = answerBytes;
            const std::uint32_t none = 0;
            Append(&none, sizeof none);
            KeptOrderSet unknownInf = 0;
            std::memcpy(&unknownInf, code, sizeof unknownInf);
            code += sizeof unknownInf;
            ExploreCode(code, source, unknownInf);
            code += CodeSize(code);
        }
        // A warning, or anything else written, is the generating process's
        // to write, in its place: it explores the batch again.
        if (WroteOutput()) {
            answerBytes = 0;
            SendAnswer(0, helperSocket);
            _exit(0);
        }
        if (!SendAnswer(h.markings, helperSocket)) _exit(0);
    }
}

[[noreturn]] void BecomeHelper(int socket, int output, pid_t parent)
{
    // The helper must not outlive the generation, and writes nothing of its
    // own: what it would write goes to a file it only measures.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(0);
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) std::signal(s, SIG_DFL);
    dup2(output, STDOUT_FILENO);
    dup2(output, STDERR_FILENO);
    outputFile = output;
    helperSocket = socket;
    collecting = true;
    SetFatalReportBarrier(StopShort);
    ServeBatches();
}

}  // namespace

void GiveHelperAnswersRoomOf(std::size_t bytes)
{
    ReleaseHelperAnswers();
    roomBytes = bytes;
}

bool StartExplorationHelper()
{
    if (!rooms) {
        void* shared = mmap(nullptr, kAnswerRooms * roomBytes, PROT_READ | PROT_WRITE,
                            MAP_SHARED | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        if (shared == MAP_FAILED) return false;
        rooms = static_cast<std::uint8_t*>(shared);
    }
    int fds[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) return false;
    int output = memfd_create("mosk-helper-output", MFD_CLOEXEC);
    if (output < 0) {
        close(fds[0]);
        close(fds[1]);
        return false;
    }
    // Nothing buffered may be written twice.
    std::fflush(nullptr);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        BecomeHelper(fds[1], output, parent);
    }
    close(fds[1]);
    close(output);
    if (pid < 0) {
        close(fds[0]);
        return false;
    }
    helperSocket = fds[0];
    helperPid = pid;
    batchesSent = 0;
    sent.clear();
    return true;
}

void StopExplorationHelper()
{
    if (helperPid < 0) return;
    close(helperSocket);
    helperSocket = -1;
    while (waitpid(helperPid, nullptr, 0) < 0 && errno == EINTR) {
    }
    helperPid = -1;
    sent.clear();
}

void ReleaseHelperAnswers()
{
    if (rooms) munmap(rooms, kAnswerRooms * roomBytes);
    rooms = nullptr;
}

bool ExplorationHelperRunning()
{
    return helperPid >= 0;
}

void SendToHelper(const std::vector<MarkingToExplore>& batch)
{
    static std::vector<std::uint8_t> message;
    message.assign(sizeof(Header), 0);
    for (const MarkingToExplore& m : batch) {
        const auto* unknownInf = reinterpret_cast<const std::uint8_t*>(&m.unknownInf);
        message.insert(message.end(), unknownInf, unknownInf + sizeof m.unknownInf);
        const std::uint8_t* code = m.marking->GetCode();
        message.insert(message.end(), code, code + CodeSize(code));
    }
    Header h{static_cast<std::uint32_t>(batch.size()),
             static_cast<std::uint32_t>(message.size() - sizeof(Header))};
    std::memcpy(message.data(), &h, sizeof h);
    sent.push_back(Sent{h.markings, false, batchesSent++});
    // A helper that is gone answers nothing: ReceiveFromHelper finds out.
    if (helperPid >= 0)
        SendAll(helperSocket, reinterpret_cast<const char*>(message.data()), message.size());
}

bool HelperTakesAnotherBatch()
{
    return helperPid >= 0 && sent.size() < kAnswerRooms;
}

namespace {

// Whether an answer has begun to arrive by `deadline`.
bool AnswerBegun(std::chrono::steady_clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() < 0) left = std::chrono::nanoseconds(0);
    const timespec wait{static_cast<time_t>(left.count() / 1000000000),
                        static_cast<long>(left.count() % 1000000000)};
    pollfd p{helperSocket, POLLIN, 0};
    int ready;
    while ((ready = ppoll(&p, 1, &wait, nullptr)) < 0 && errno == EINTR) {
    }
    return ready != 0;
}

// Reads the next answer's header and answers where its requests are; null
// when the helper ended without it (it is then stopped).
const std::uint8_t* ReadAnswer(Header& h)
{
    const Sent front = sent.front();
    sent.pop_front();
    const bool whole = ReceiveAll(helperSocket, reinterpret_cast<char*>(&h), sizeof h) &&
                       h.bytes <= roomBytes;
    const std::uint8_t* requests = whole ? Room(front.turn) : nullptr;
    // A helper that answered only part of a batch has ended.
    if (!whole || h.markings < front.markings) StopExplorationHelper();
    if (!whole) h.markings = 0;
    return requests;
}

// Drops the answers to given-up batches at the front of those sent, as
// they arrive until `deadline`; false when one has not by then.
bool DropLateAnswersBy(std::chrono::steady_clock::time_point deadline)
{
    while (helperPid >= 0 && !sent.empty() && sent.front().givenUp) {
        if (!AnswerBegun(deadline)) return false;
        Header h{};
        ReadAnswer(h);
    }
    return true;
}

}  // namespace

bool HelperAnswerReady()
{
    if (helperPid < 0) return true;
    pollfd p{helperSocket, POLLIN, 0};
    return poll(&p, 1, 0) > 0;
}

void DropLateAnswers()
{
    DropLateAnswersBy(std::chrono::steady_clock::now());
}

HelperReply ReceiveFromHelper(HelperAnswer& answer, std::chrono::microseconds patience)
{
    answer.explored = 0;
    answer.read = 0;
    const auto deadline = std::chrono::steady_clock::now() + patience;
    const bool earlierArrived = DropLateAnswersBy(deadline);
    auto mine = std::find_if(sent.begin(), sent.end(), [](const Sent& s) { return !s.givenUp; });
    if (helperPid < 0 || mine == sent.end()) {
        StopExplorationHelper();
        return HelperReply::kGone;
    }
    if (!earlierArrived || !AnswerBegun(deadline)) {
        mine->givenUp = true;
        return HelperReply::kLate;
    }
    Header h{};
    answer.bytes = ReadAnswer(h);
    if (!answer.bytes) return HelperReply::kGone;
    answer.explored = h.markings;
    return HelperReply::kAnswered;
}

void HelperAnswer::NextMarking(std::vector<Request>& requests)
{
    requests.clear();
    std::uint32_t count = 0;
    std::memcpy(&count, bytes + read, sizeof count);
    read += sizeof count;
    for (std::uint32_t k = 0; k < count; ++k) {
        RequestRecord r{};
        std::memcpy(&r, bytes + read, sizeof r);
        read += sizeof r;
        InfOrder order{0, (r.flags & kSameFiring) != 0};
        if (r.flags & kUnknownInfFollows) {
            std::memcpy(&order.unknownInf, bytes + read, sizeof order.unknownInf);
            read += sizeof order.unknownInf;
        }
        requests.push_back(Request{DelayVal(r.value, r.type, r.transNo), r.hash, bytes + read, order});
        read += r.codeSize;
    }
}

bool CollectingForHelper()
{
    return collecting;
}

void CollectForHelper(const DelayVal& edge, const std::uint8_t* code, std::uint64_t hash, InfOrder order)
{
    RequestRecord r{};
    r.flags = static_cast<std::uint8_t>((order.sameFiring ? kSameFiring : 0) |
                                        (order.unknownInf != 0 ? kUnknownInfFollows : 0));
    r.value = edge.GetDelayVal();
    r.hash = hash;
    r.transNo = edge.GetTransNo();
    r.type = static_cast<std::uint8_t>(edge.GetDelayType());
    r.codeSize = static_cast<std::uint32_t>(CodeSize(code));
    Append(&r, sizeof r);
    if (order.unknownInf != 0) Append(&order.unknownInf, sizeof order.unknownInf);
    Append(code, r.codeSize);
    std::uint32_t count = 0;
    std::memcpy(&count, answer + markingStart, sizeof count);
    ++count;
    std::memcpy(answer + markingStart, &count, sizeof count);
}

// The journal's handling of one connection: the bytes a peer sends, through
// the bounded line reader and the message parser the listener uses, into a
// journal record.
//
// The first input byte shapes the connection: how the bytes are cut into the
// pieces one receive call returns (bits 0-6 seed the sizes) and whether the
// peer closes at the end or the connection fails (bit 7). The rest is what
// the peer sends.
//
// Whatever the pieces, the same bytes must give the same outcome; a line is
// never longer, nor a message bigger, than the limits; and what parses holds
// together and travels again unchanged.

#include <algorithm>
#include <memory>
#include <optional>

#include "FuzzSupport.h"
#include "journal/Listener.h"
#include "journal/ResultProtocol.h"
#include "model/Cp1251.h"
#include "model/TestResult.h"

using namespace quilmo;
using namespace quilmo::journal;

namespace {

const TDateTime kNow{2024, 3, 5, 9, 15, 2, 0};
const std::string kPeer = "192.0.2.7";

// Limits small enough for inputs of a few kilobytes to reach them.
constexpr size_t kSmallLine = 96;
constexpr size_t kSmallMessage = 640;

enum class Cut { Whole, OneByte, Seeded };

// A connection delivering `bytes` in pieces, then closing or failing.
ReceiveFn Source(std::string_view bytes, Cut cut, uint8_t seed, bool failAtEnd)
{
    struct State {
        std::string_view bytes;
        size_t pos = 0;
        uint32_t random;
    };
    auto state = std::make_shared<State>(State{bytes, 0, seed * 2654435761u + 1});
    return [state, cut, failAtEnd](char* buffer, size_t capacity) -> std::ptrdiff_t {
        if (state->pos >= state->bytes.size())
            return failAtEnd ? -1 : 0;
        size_t n = capacity;
        if (cut == Cut::OneByte) {
            n = 1;
        } else if (cut == Cut::Seeded) {
            state->random = state->random * 1103515245u + 12345u;
            n = 1 + (state->random >> 16) % 23;
        }
        n = std::min({n, capacity, state->bytes.size() - state->pos});
        std::copy_n(state->bytes.data() + state->pos, n, buffer);
        state->pos += n;
        return static_cast<std::ptrdiff_t>(n);
    };
}

// Every line the reader gives before it ends, and whether it ended by abandoning.
struct Reading {
    std::vector<std::string> Lines;
    bool Abandoned = false;
    bool operator==(const Reading&) const = default;
};

// Reads up to `count` lines: enough for any message and a few more.
Reading ReadLines(LineReader& reader, size_t count)
{
    Reading reading;
    for (size_t i = 0; i < count; ++i) {
        auto line = reader.ReadLine();
        if (!line) {
            reading.Abandoned = true;
            break;
        }
        reading.Lines.push_back(std::move(*line));
    }
    return reading;
}

bool SameEvent(const std::optional<ReceivedEvent>& a, const std::optional<ReceivedEvent>& b)
{
    if (a.has_value() != b.has_value())
        return false;
    if (!a)
        return true;
    return a->kind == b->kind && a->Result == b->Result && a->Time == b->Time &&
           a->CompName == b->CompName && a->UserName == b->UserName && a->Text == b->Text &&
           a->PeerAddress == b->PeerAddress;
}

// Whether the peer's first line is `kind`: ended by CR LF, or by the close.
bool FirstLineIs(std::string_view bytes, std::string_view kind, bool failAtEnd)
{
    return bytes.substr(0, kind.size() + 2) == std::string(kind) + "\r\n" || (bytes == kind && !failAtEnd);
}

const char* Describe(const std::optional<ReceivedEvent>& e)
{
    if (!e)
        return "nothing";
    switch (e->kind) {
    case ReceivedEvent::Kind::Result:
        return "a result";
    case ReceivedEvent::Kind::Message:
        return "a message";
    default:
        return "a malformed result";
    }
}

std::optional<ReceivedEvent> Handle(std::string_view bytes, Cut cut, uint8_t seed, bool failAtEnd,
                                    size_t maxLine, size_t maxMessage)
{
    LineReader reader(Source(bytes, cut, seed, failAtEnd), maxLine, maxMessage);
    return ReadMessage(reader, kPeer, [] { return kNow; });
}

// The runner's record that would send these journal fields.
quilmo::TTestResult AsRunnerResult(const journal::TTestResult& j)
{
    quilmo::TTestResult r;
    r.UserName = j.UserName;
    r.CompName = j.CompName;
    r.CompUserName = j.CompUserName;
    r.TestTitle = j.TestTitle;
    r.TestFile = j.TestFile;
    r.TotalCount = j.TotalCount;
    r.AskedCount = j.AskedCount;
    r.RightCount = j.RightCount;
    r.WrongCount = j.WrongCount;
    r.NotAskedCount = j.NotAskedCount;
    r.Mark = j.Mark;
    r.StartTime = j.StartTime;
    r.EndTime = j.EndTime;
    r.Duration = j.Duration;
    r.EndMode = j.EndMode;
    r.ResultMask = j.ResultMask;
    r.TimeMask = j.TimeMask;
    r.FileCrc = j.FileCrc;
    return r;
}

// What a value becomes on the way out: a line break inside it is a blank.
std::string AsSent(std::string s)
{
    std::replace(s.begin(), s.end(), '\r', ' ');
    std::replace(s.begin(), s.end(), '\n', ' ');
    return s;
}

void CheckResult(const journal::TTestResult& r)
{
    fuzz::Check(r.RemoteIP == kPeer, "the record does not carry the peer's address", r.RemoteIP);
    fuzz::Check(r.ReceivedTime == kNow, "the record's receipt time is not the time it was read");
    const std::string mask = Utf8ToCp1251(r.ResultMask);
    fuzz::Check(r.MaskValues.size() == mask.size(), "MaskValues is not as long as ResultMask", mask);
    for (size_t i = 0; i < mask.size(); ++i) {
        const int32_t expected = mask[i] == '+' ? 1 : mask[i] == '*' ? -1 : 0;
        fuzz::Check(r.MaskValues[i] == expected, "a MaskValues entry does not match its character", mask);
    }

    // Sent again by a runner, the record reads back the same, line breaks
    // inside values aside.
    const std::vector<std::string> lines = EncodeLines(ResultLines(AsRunnerResult(r)));
    std::string wire;
    for (const std::string& line : lines)
        wire += line;
    const auto again = Handle(wire, Cut::Whole, 0, false, kMaxLineBytes, kMaxMessageBytes);
    fuzz::Check(again && again->kind == ReceivedEvent::Kind::Result, "a record sent again does not parse",
                wire);
    journal::TTestResult expected = r;
    for (std::string* s : {&expected.UserName, &expected.CompName, &expected.CompUserName,
                           &expected.TestTitle, &expected.TestFile, &expected.ResultMask, &expected.TimeMask})
        *s = AsSent(*s);
    expected.MaskValues = MaskValuesFromResultMask(Utf8ToCp1251(expected.ResultMask));
    fuzz::Check(again->Result == expected, "a record sent again reads back otherwise", wire);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t seed = data[0] & 0x7F;
    const bool failAtEnd = (data[0] & 0x80) != 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    // The reader alone: the same lines whatever the pieces, none past the limits.
    Reading readings[3];
    const Cut cuts[3] = {Cut::Whole, Cut::OneByte, Cut::Seeded};
    for (int i = 0; i < 3; ++i) {
        LineReader reader(Source(bytes, cuts[i], seed, failAtEnd), kSmallLine, kSmallMessage);
        readings[i] = ReadLines(reader, 24);
        size_t total = 0;
        for (const std::string& line : readings[i].Lines) {
            fuzz::Check(line.size() <= kSmallLine, "a line longer than the limit");
            total += line.size();
        }
        fuzz::Check(total <= kSmallMessage, "a message bigger than the limit");
    }
    fuzz::Check(readings[1] == readings[0], "one byte at a time reads other lines than all at once");
    fuzz::Check(readings[2] == readings[0], "pieces of other sizes read other lines than all at once");

    // The whole handling, with small limits and with the listener's own.
    const ListenerOptions listener;
    for (const auto& [maxLine, maxMessage] :
         {std::pair{kSmallLine, kSmallMessage}, std::pair{listener.MaxLineBytes, listener.MaxMessageBytes}}) {
        const auto whole = Handle(bytes, Cut::Whole, seed, failAtEnd, maxLine, maxMessage);
        const auto single = Handle(bytes, Cut::OneByte, seed, failAtEnd, maxLine, maxMessage);
        const auto seeded = Handle(bytes, Cut::Seeded, seed, failAtEnd, maxLine, maxMessage);
        fuzz::Check(SameEvent(single, whole), "one byte at a time gives another outcome than all at once",
                    std::string(Describe(single)) + " vs " + Describe(whole));
        fuzz::Check(SameEvent(seeded, whole), "pieces of other sizes give another outcome than all at once",
                    std::string(Describe(seeded)) + " vs " + Describe(whole));
        if (!whole)
            continue;
        switch (whole->kind) {
        case ReceivedEvent::Kind::Result:
            fuzz::Check(FirstLineIs(bytes, kKindResult, failAtEnd), "a result from a message that is not one");
            CheckResult(whole->Result);
            break;
        case ReceivedEvent::Kind::Message:
            fuzz::Check(FirstLineIs(bytes, kKindMessage, failAtEnd), "a message from one that is not a MESSAGE");
            fuzz::Check(whole->PeerAddress == kPeer && whole->Time == kNow,
                        "a message without its peer or its time");
            break;
        case ReceivedEvent::Kind::Malformed:
            fuzz::Check(FirstLineIs(bytes, kKindResult, failAtEnd),
                        "a malformed result from one that is not a RESULT");
            fuzz::Check(!whole->Reason.empty() && whole->FirstBytes.size() <= kFirstBytes &&
                            bytes.substr(0, whole->FirstBytes.size()) == whole->FirstBytes,
                        "a rejection without its reason or with bytes the peer did not send");
            break;
        }
    }
    return 0;
}

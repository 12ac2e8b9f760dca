#pragma once
// The two messages a runner sends to the journal, MESSAGE and RESULT: building
// their lines, reading lines off a connection, and turning a message into the
// journal's record. Lines travel as Windows-1251 text ended by CR LF.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/Regional.h"
#include "model/TestModel.h"

namespace quilmo {

struct TTestResult;  // the runner's record

namespace journal {

// The journal's record of one received result.
struct TTestResult {
    std::string UserName;
    std::string CompName;
    std::string CompUserName;
    std::string TestTitle;
    std::string TestFile;
    int32_t TotalCount = 0;
    int32_t AskedCount = 0;
    int32_t RightCount = 0;
    int32_t WrongCount = 0;
    int32_t NotAskedCount = 0;
    int32_t Mark = 0;
    TDateTime StartTime;
    TDateTime EndTime;
    int32_t Duration = 0;
    uint8_t EndMode = 0;
    TIntDynArray MaskValues;  // per task: 1 right, 0 wrong or unknown, -1 not shown
    std::string ResultMask;
    std::string TimeMask;
    std::string RemoteIP;     // the peer's dotted address as the journal saw it
    TDateTime ReceivedTime;   // when the journal started reading the result
    uint32_t FileCrc = 0;

    bool operator==(const TTestResult&) const = default;
};

inline constexpr std::string_view kKindMessage = "MESSAGE";
inline constexpr std::string_view kKindResult = "RESULT";

// What one connection may cost the journal. A RESULT is nineteen lines, most
// of them short; the masks grow with the number of tasks, so a line may be
// long, but not without bound.
inline constexpr size_t kMaxLineBytes = size_t(1) << 20;
inline constexpr size_t kMaxMessageBytes = size_t(4) << 20;

// "dd.mm.yyyy hh:nn:ss"; the time is left out at exactly midnight.
std::string WireDateTime(const TDateTime& dt);

// The values of the lines, UTF-8, without their CR LF.
std::vector<std::string> MessageLines(std::string_view userName, std::string_view compName,
                                      std::string_view compUserName, std::string_view text);
std::vector<std::string> ResultLines(const quilmo::TTestResult& result);

// Each value in Windows-1251 followed by CR LF: the bytes of one send call.
// A CR or LF inside a value would split it into two lines on the other side
// and shift every later line, so each becomes a blank.
std::vector<std::string> EncodeLines(const std::vector<std::string>& values);

// One entry per character: "+" 1, "*" -1, anything else 0.
TIntDynArray MaskValuesFromResultMask(std::string_view mask);

// Receives up to `capacity` bytes into `buffer`: the count received, 0 when the
// peer has closed, negative when the connection failed or stayed idle too long.
using ReceiveFn = std::function<std::ptrdiff_t(char* buffer, size_t capacity)>;

// Reads CR LF ended lines off a connection.
class LineReader {
public:
    explicit LineReader(ReceiveFn receive, size_t maxLineBytes = kMaxLineBytes,
                        size_t maxMessageBytes = kMaxMessageBytes);

    // The next line without its CR LF. Once the peer has closed, the bytes left
    // over form the last line and every later line is empty. nullopt when the
    // connection failed or timed out, or a line or the message (the lines
    // read so far, each with its CR LF) grew past its limit: the message is
    // then abandoned. Only the bytes of the message count, so the outcome is
    // the same however the connection splits them up.
    std::optional<std::string> ReadLine();

    // The first bytes the peer sent (up to kFirstBytes), for the record of a
    // rejected message.
    const std::string& FirstBytes() const { return head_; }
    // Whether the last failed ReadLine gave up on a line or message past its
    // limit (rather than on a failed or silent connection).
    bool OverLimit() const { return overLimit_; }
    // How many lines came from the peer; those after its close do not count.
    size_t LinesReceived() const { return lines_; }

private:
    // Whether a line of that many bytes (and its CR LF) keeps within the limits.
    bool Fits(size_t lineBytes);

    ReceiveFn receive_;
    size_t maxLine_;
    size_t maxMessage_;
    std::string buffer_;   // received, not yet returned
    size_t scanned_ = 0;   // bytes of buffer_ known to hold no CR LF
    size_t used_ = 0;      // bytes of the lines returned, CR LF included
    bool closed_ = false;
    bool overLimit_ = false;
    size_t lines_ = 0;
    std::string head_;     // the first bytes received
};

// How many of a connection's first bytes a rejected message keeps.
inline constexpr size_t kFirstBytes = 64;

// What one connection delivered.
struct ReceivedEvent {
    enum class Kind { Result, Message, Malformed };
    Kind kind = Kind::Malformed;
    TTestResult Result;        // Kind::Result
    TDateTime Time;            // Kind::Message, Kind::Malformed: when reading began
    std::string CompName;      // Kind::Message, Kind::Malformed: the sender's line 3 (if it came)
    std::string UserName;      // Kind::Message: line 2
    std::string Text;          // Kind::Message: line 5
    std::string PeerAddress;   // Kind::Message, Kind::Malformed
    std::string Reason;        // Kind::Malformed: why it was rejected, UTF-8
    std::string FirstBytes;    // Kind::Malformed: the first bytes as received
};

// Reads and parses one message. nullopt when there is nothing to report: an
// unknown first line, a connection closed at once, or one abandoned before it
// said what it was (and a MESSAGE abandoned half-way). A RESULT that is cut
// short or has a malformed strict field gives Kind::Malformed.
std::optional<ReceivedEvent> ReadMessage(LineReader& reader, const std::string& peerAddress,
                                         const std::function<TDateTime()>& now);

// The RESULT fields of lines 2 to 19, as received (Windows-1251 bytes):
// nullopt when a strict field is malformed, and then *reason (when given)
// names it.
std::optional<TTestResult> ParseResultFields(const std::vector<std::string>& lines,
                                             std::string* reason = nullptr);

}  // namespace journal
}  // namespace quilmo

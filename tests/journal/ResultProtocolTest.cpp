// The MESSAGE and RESULT lines, reading lines off a connection, and parsing.

#include <gtest/gtest.h>

#include <algorithm>

#include "journal/ResultProtocol.h"
#include "model/Cp1251.h"
#include "model/TestResult.h"

namespace quilmo::journal {
namespace {

// A session stopped after three of ten tasks, one answered right.
quilmo::TTestResult StoppedSession()
{
    quilmo::TTestResult r;
    r.UserName = "Иванов Пётр";
    r.CompName = "CLASS-PC-07";
    r.CompUserName = "pupil";
    r.TestTitle = "Дроби";
    r.TestFile = "/home/teacher/Дроби.tst";
    r.TotalCount = 10;
    r.AskedCount = 3;
    r.RightCount = 1;
    r.WrongCount = 2;
    r.NotAskedCount = 7;
    r.Mark = 2;
    r.MarkText = "зачет";
    r.StartTime = {2024, 3, 5, 9, 15, 2, 0};
    r.EndTime = {2024, 3, 5, 9, 20, 7, 0};
    r.Duration = 305;
    r.EndMode = EndStopped;
    r.MaskValues = {1, 0, 0, -1, -1, -1, -1, -1, -1, -1};
    r.ResultMask = "+--*******";
    r.TimeMask = "12;40;3;0;0;0;0;0;0;0";
    r.TimeValues = {12, 40, 3, 0, 0, 0, 0, 0, 0, 0};
    r.FileCrc = 4294967295u;
    return r;
}

// The same session as the wire carries it, written out by hand.
const std::vector<std::string> kStoppedSessionLines = {
    "RESULT", "Иванов Пётр", "CLASS-PC-07", "pupil", "2", "10", "3", "1", "2", "7",
    "05.03.2024 09:15:02", "05.03.2024 09:20:07", "305", "Дроби", "/home/teacher/Дроби.tst",
    "+--*******", "12;40;3;0;0;0;0;0;0;0", "2", "4294967295",
};

// Lines 2 to 19 in Windows-1251, with one line replaced.
std::vector<std::string> WireFields(int line = 0, const std::string& value = {})
{
    std::vector<std::string> fields;
    for (size_t i = 1; i < kStoppedSessionLines.size(); ++i)
        fields.push_back(Utf8ToCp1251(kStoppedSessionLines[i]));
    if (line >= 2)
        fields[static_cast<size_t>(line - 2)] = value;
    return fields;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line;
    return bytes;
}

// A connection that delivers `bytes` `step` bytes at a time, then closes, or
// fails (a time-out) when `failAtEnd` is set.
ReceiveFn Source(std::string bytes, size_t step, bool failAtEnd = false)
{
    auto data = std::make_shared<std::string>(std::move(bytes));
    auto pos = std::make_shared<size_t>(0);
    return [=](char* buffer, size_t capacity) -> std::ptrdiff_t {
        if (*pos >= data->size())
            return failAtEnd ? -1 : 0;
        const size_t n = std::min({step, capacity, data->size() - *pos});
        std::copy_n(data->data() + *pos, n, buffer);
        *pos += n;
        return static_cast<std::ptrdiff_t>(n);
    };
}

TDateTime Received() { return {2024, 3, 5, 9, 20, 9, 0}; }

std::optional<ReceivedEvent> Read(std::string bytes, size_t step = 4096)
{
    LineReader reader(Source(std::move(bytes), step));
    return ReadMessage(reader, "192.168.1.17", Received);
}

TEST(ResultProtocolTest, ResultLinesCarryTheRecordInWireOrder)
{
    EXPECT_EQ(ResultLines(StoppedSession()), kStoppedSessionLines);
}

TEST(ResultProtocolTest, MessageLines)
{
    EXPECT_EQ(MessageLines("Иванов", "CLASS-PC-07", "", "Начат тест"),
              (std::vector<std::string>{"MESSAGE", "Иванов", "CLASS-PC-07", "", "Начат тест"}));
}

TEST(ResultProtocolTest, WireDateTimeLeavesOutTheTimeOnlyAtMidnight)
{
    EXPECT_EQ(WireDateTime({2024, 3, 5, 9, 5, 2, 0}), "05.03.2024 09:05:02");
    EXPECT_EQ(WireDateTime({2024, 12, 31, 0, 0, 0, 0}), "31.12.2024");
    EXPECT_EQ(WireDateTime({2024, 12, 31, 0, 0, 1, 0}), "31.12.2024 00:00:01");
}

TEST(ResultProtocolTest, EncodedLinesAreWindows1251WithCrLfAndNoInnerLineBreaks)
{
    EXPECT_EQ(EncodeLines({"Пётр", "", "a\r\nb\nc"}),
              (std::vector<std::string>{"\xCF\xB8\xF2\xF0\r\n", "\r\n", "a  b c\r\n"}));
}

TEST(ResultProtocolTest, ResultTravelsIntact)
{
    // Delivered one byte at a time, so that every CR LF straddles two reads.
    const auto event = Read(Joined(EncodeLines(ResultLines(StoppedSession()))), 1);
    ASSERT_TRUE(event);
    ASSERT_EQ(event->kind, ReceivedEvent::Kind::Result);
    TTestResult expected;
    expected.UserName = "Иванов Пётр";
    expected.CompName = "CLASS-PC-07";
    expected.CompUserName = "pupil";
    expected.TestTitle = "Дроби";
    expected.TestFile = "/home/teacher/Дроби.tst";
    expected.TotalCount = 10;
    expected.AskedCount = 3;
    expected.RightCount = 1;
    expected.WrongCount = 2;
    expected.NotAskedCount = 7;
    expected.Mark = 2;
    expected.StartTime = {2024, 3, 5, 9, 15, 2, 0};
    expected.EndTime = {2024, 3, 5, 9, 20, 7, 0};
    expected.Duration = 305;
    expected.EndMode = 2;
    expected.MaskValues = {1, 0, 0, -1, -1, -1, -1, -1, -1, -1};
    expected.ResultMask = "+--*******";
    expected.TimeMask = "12;40;3;0;0;0;0;0;0;0";
    expected.RemoteIP = "192.168.1.17";
    expected.ReceivedTime = Received();
    expected.FileCrc = 4294967295u;
    EXPECT_EQ(event->Result, expected);
}

TEST(ResultProtocolTest, EachStrictFieldMalformedRejectsTheResult)
{
    const struct {
        int line;
        const char* value;
    } cases[] = {
        {5, "abc"}, {5, ""}, {5, "2.0"}, {5, "99999999999"},  // Mark
        {11, "5.3.24 09:15:02"}, {11, "31.02.2024"}, {11, ""},  // StartTime
        {12, "05.03.2024 25:00:00"}, {12, "05-03-2024"}, {12, ""},  // EndTime
        {18, "END"}, {18, ""},  // EndMode
        {19, "0xFF"}, {19, ""}, {19, "99999999999999999999"},  // FileCrc
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(ParseResultFields(WireFields(c.line, c.value)))
            << "line " << c.line << " = \"" << c.value << "\"";
    }
}

TEST(ResultProtocolTest, RejectedResultSaysWhyAndKeepsItsFirstBytes)
{
    const struct {
        int line;
        const char* reason;
    } cases[] = {
        {5, "неверное значение в строке 5 (оценка)"},
        {11, "неверное значение в строке 11 (время начала)"},
        {12, "неверное значение в строке 12 (время завершения)"},
        {18, "неверное значение в строке 18 (режим окончания)"},
        {19, "неверное значение в строке 19 (CRC файла)"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> lines = EncodeLines(kStoppedSessionLines);
        lines[static_cast<size_t>(c.line - 1)] = "x\r\n";
        const std::string bytes = Joined(lines);
        const auto event = Read(bytes, 5);
        ASSERT_TRUE(event) << c.line;
        EXPECT_EQ(event->kind, ReceivedEvent::Kind::Malformed);
        EXPECT_EQ(event->Reason, c.reason);
        EXPECT_EQ(event->FirstBytes, bytes.substr(0, kFirstBytes)) << "read five bytes at a time";
        EXPECT_EQ(event->PeerAddress, "192.168.1.17");
        EXPECT_EQ(event->Time, Received());
        EXPECT_EQ(event->CompName, "CLASS-PC-07") << "the sender, for the log line";
    }
    // A message shorter than its first-bytes record keeps all of it.
    const auto tiny = Read("RESULT\r\n");
    ASSERT_TRUE(tiny);
    EXPECT_EQ(tiny->CompName, "");
    EXPECT_EQ(tiny->Reason, "сообщение оборвано на строке 2");
    EXPECT_EQ(tiny->FirstBytes, "RESULT\r\n");
    // A line past its limit is named as such.
    LineReader reader(Source("RESULT\r\nИванов" + std::string(300, 'x') + "\r\n", 4096), 100, 1000);
    const auto tooLong = ReadMessage(reader, "10.0.0.1", Received);
    ASSERT_TRUE(tooLong);
    EXPECT_EQ(tooLong->kind, ReceivedEvent::Kind::Malformed);
    EXPECT_EQ(tooLong->Reason, "строка или сообщение длиннее допустимого в строке 2");
    // Cut after line 3: the sender is known.
    const auto cut = Read(Joined(EncodeLines({"RESULT", "Иванов", "PC-3"})));
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->Reason, "сообщение оборвано на строке 4");
    EXPECT_EQ(cut->CompName, "PC-3");
}

TEST(ResultProtocolTest, LenientFieldsMalformedReadAsZero)
{
    for (const int line : {6, 7, 8, 9, 10, 13}) {
        const auto r = ParseResultFields(WireFields(line, "abc"));
        ASSERT_TRUE(r) << "line " << line;
        const int32_t value = line == 6    ? r->TotalCount
                              : line == 7  ? r->AskedCount
                              : line == 8  ? r->RightCount
                              : line == 9  ? r->WrongCount
                              : line == 10 ? r->NotAskedCount
                                           : r->Duration;
        EXPECT_EQ(value, 0) << "line " << line;
    }
}

TEST(ResultProtocolTest, NumbersAndTimesAreReadAsTheJournalReadsThem)
{
    // EndMode keeps its low 8 bits, FileCrc its low 32; the start time is trimmed.
    EXPECT_EQ(ParseResultFields(WireFields(18, "261"))->EndMode, 5);
    EXPECT_EQ(ParseResultFields(WireFields(19, "255"))->FileCrc, 255u);
    EXPECT_EQ(ParseResultFields(WireFields(19, "4294967296"))->FileCrc, 0u);
    EXPECT_EQ(ParseResultFields(WireFields(19, "-1"))->FileCrc, 4294967295u);
    EXPECT_EQ(ParseResultFields(WireFields(11, " \t5.3.2024 9:15:02\t "))->StartTime,
              (TDateTime{2024, 3, 5, 9, 15, 2, 0}));
    EXPECT_EQ(ParseResultFields(WireFields(12, "5.3.2024"))->EndTime, (TDateTime{2024, 3, 5}));
    EXPECT_EQ(ParseResultFields(WireFields(5, "-3"))->Mark, -3);
}

TEST(ResultProtocolTest, MaskValuesFromTheMaskCharacters)
{
    EXPECT_EQ(MaskValuesFromResultMask("+-*x+ "), (TIntDynArray{1, 0, -1, 0, 1, 0}));
    EXPECT_EQ(MaskValuesFromResultMask(""), TIntDynArray{});
    const auto r = ParseResultFields(WireFields(16, "+?*\xC0"));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->MaskValues, (TIntDynArray{1, 0, -1, 0}));
    EXPECT_EQ(r->ResultMask, "+?*А");
}

TEST(ResultProtocolTest, MessageIsReadForTheLog)
{
    const auto event = Read(Joined(EncodeLines({"MESSAGE", "Иванов", "PC-3", "pupil", "Начат тест"})), 3);
    ASSERT_TRUE(event);
    EXPECT_EQ(event->kind, ReceivedEvent::Kind::Message);
    EXPECT_EQ(event->UserName, "Иванов");
    EXPECT_EQ(event->CompName, "PC-3");
    EXPECT_EQ(event->Text, "Начат тест");
    EXPECT_EQ(event->PeerAddress, "192.168.1.17");
    EXPECT_EQ(event->Time, Received());
}

TEST(ResultProtocolTest, UnknownOrMissingKindIsIgnored)
{
    EXPECT_FALSE(Read(""));                        // closed at once
    EXPECT_FALSE(Read("result\r\n"));              // case matters
    EXPECT_FALSE(Read(" RESULT\r\n"));             // no trimming
    EXPECT_FALSE(Read("GET / HTTP/1.0\r\n\r\n"));  // garbage
    EXPECT_FALSE(Read("\r\n"));
}

TEST(ResultProtocolTest, ResultCutShortIsMalformed)
{
    const std::vector<std::string> lines = EncodeLines(ResultLines(StoppedSession()));
    // Closed before each of lines 2 to 19: every later line reads empty and a
    // strict field fails.
    for (size_t cut = 1; cut < lines.size(); ++cut) {
        const auto event = Read(Joined({lines.begin(), lines.begin() + static_cast<long>(cut)}));
        ASSERT_TRUE(event) << cut;
        EXPECT_EQ(event->kind, ReceivedEvent::Kind::Malformed) << "cut before line " << cut + 1;
        EXPECT_EQ(event->Reason, "сообщение оборвано на строке " + std::to_string(cut + 1));
    }
    // The last line may end with the connection instead of CR LF.
    std::string unterminated = Joined(lines);
    unterminated.resize(unterminated.size() - 2);
    EXPECT_EQ(Read(unterminated)->kind, ReceivedEvent::Kind::Result);
    // A time-out before the end is a message cut short too.
    LineReader stalled(Source(Joined({lines.begin(), lines.begin() + 10}), 4096, true));
    const auto stalledEvent = ReadMessage(stalled, "", Received);
    EXPECT_EQ(stalledEvent->kind, ReceivedEvent::Kind::Malformed);
    EXPECT_EQ(stalledEvent->Reason, "сообщение оборвано на строке 11");
}

TEST(ResultProtocolTest, MessageCutShortReadsEmptyLinesButAStalledOneIsDropped)
{
    const auto closed = Read(Utf8ToCp1251("MESSAGE\r\nИванов\r\n"));
    ASSERT_TRUE(closed);
    EXPECT_EQ(closed->kind, ReceivedEvent::Kind::Message);
    EXPECT_EQ(closed->UserName, "Иванов");
    EXPECT_EQ(closed->Text, "");

    LineReader stalled(Source("MESSAGE\r\nX\r\n", 4096, true));
    EXPECT_FALSE(ReadMessage(stalled, "", Received));
}

TEST(LineReaderTest, LinesEndAtCrLfOnly)
{
    LineReader reader(Source("a\rb\nc\r\n\r\nlast", 2));
    EXPECT_EQ(reader.ReadLine(), "a\rb\nc");
    EXPECT_EQ(reader.ReadLine(), "");
    EXPECT_EQ(reader.ReadLine(), "last");
    EXPECT_EQ(reader.ReadLine(), "");  // after the close, empty for ever
    EXPECT_EQ(reader.ReadLine(), "");
}

TEST(LineReaderTest, LimitsAbandonTheMessage)
{
    // A line of exactly the limit passes, one byte more does not, whether its
    // CR LF comes or never does.
    EXPECT_EQ(LineReader(Source(std::string(8, 'x') + "\r\n", 3), 8, 100).ReadLine(), std::string(8, 'x'));
    EXPECT_FALSE(LineReader(Source(std::string(9, 'x') + "\r\n", 3), 8, 100).ReadLine());
    EXPECT_FALSE(LineReader(Source(std::string(1000, 'x'), 7), 8, 100).ReadLine());

    // Short lines that add up past the message limit.
    LineReader many(Source(std::string(40, 'y') + "\r\n" + std::string(40, 'y') + "\r\n" +
                               std::string(40, 'y') + "\r\n", 10),
                    64, 100);
    EXPECT_TRUE(many.ReadLine());
    EXPECT_TRUE(many.ReadLine());
    EXPECT_FALSE(many.ReadLine());

    // A connection that fails or stays silent.
    EXPECT_FALSE(LineReader(Source("no end", 4096, true)).ReadLine());
}

// Only the message's own lines count against its limit, so what the peer
// sends after them cannot change the outcome, whichever way the connection
// splits the bytes up.
TEST(LineReaderTest, OutcomeDoesNotDependOnHowTheBytesArrive)
{
    const std::string result = Joined(EncodeLines(ResultLines(StoppedSession())));
    const std::string trailing(600, 'z');
    const size_t limit = result.size() + 10;  // the result fits; with what follows it does not
    for (const size_t step : {size_t(1), size_t(7), size_t(4096)}) {
        LineReader reader(Source(result + trailing, step), 64, limit);
        const auto event = ReadMessage(reader, "192.168.1.17", Received);
        ASSERT_TRUE(event) << step;
        EXPECT_EQ(event->kind, ReceivedEvent::Kind::Result) << step;

        // The same for a line that the limit cuts off: the lines before it
        // are read, then the message is abandoned.
        LineReader lines(Source(std::string(40, 'a') + "\r\n" + std::string(40, 'b') + "\r\n" +
                                    std::string(40, 'c') + "\r\n",
                                step),
                         64, 90);
        EXPECT_EQ(lines.ReadLine(), std::string(40, 'a')) << step;
        EXPECT_EQ(lines.ReadLine(), std::string(40, 'b')) << step;
        EXPECT_FALSE(lines.ReadLine()) << step;
    }
}

}  // namespace
}  // namespace quilmo::journal

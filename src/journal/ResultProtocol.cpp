#include "journal/ResultProtocol.h"

#include <algorithm>
#include <cstring>

#include "model/Cp1251.h"
#include "model/TestResult.h"
#include "model/TextUtil.h"

namespace quilmo::journal {

namespace {

constexpr std::string_view kCrLf = "\r\n";

std::string Decimal(int64_t v) { return std::to_string(v); }

}  // namespace

std::string WireDateTime(const TDateTime& dt)
{
    if (dt.Hour == 0 && dt.Minute == 0 && dt.Second == 0 && dt.Millisecond == 0)
        return FormatDateTime("dd.mm.yyyy", dt);
    return FormatDateTime("dd.mm.yyyy hh:nn:ss", dt);
}

std::vector<std::string> MessageLines(std::string_view userName, std::string_view compName,
                                      std::string_view compUserName, std::string_view text)
{
    return {std::string(kKindMessage), std::string(userName), std::string(compName),
            std::string(compUserName), std::string(text)};
}

std::vector<std::string> ResultLines(const quilmo::TTestResult& r)
{
    return {
        std::string(kKindResult),
        r.UserName,
        r.CompName,
        r.CompUserName,
        Decimal(r.Mark),
        Decimal(r.TotalCount),
        Decimal(r.AskedCount),
        Decimal(r.RightCount),
        Decimal(r.WrongCount),
        Decimal(r.NotAskedCount),
        WireDateTime(r.StartTime),
        WireDateTime(r.EndTime),
        Decimal(r.Duration),
        r.TestTitle,
        r.TestFile,
        r.ResultMask,
        r.TimeMask,
        Decimal(r.EndMode),
        Decimal(r.FileCrc),
    };
}

std::vector<std::string> EncodeLines(const std::vector<std::string>& values)
{
    std::vector<std::string> lines;
    lines.reserve(values.size());
    for (const std::string& value : values) {
        std::string bytes = Utf8ToCp1251(value);
        std::replace(bytes.begin(), bytes.end(), '\r', ' ');
        std::replace(bytes.begin(), bytes.end(), '\n', ' ');
        bytes += kCrLf;
        lines.push_back(std::move(bytes));
    }
    return lines;
}

TIntDynArray MaskValuesFromResultMask(std::string_view mask)
{
    TIntDynArray values(mask.size(), 0);
    for (size_t i = 0; i < mask.size(); ++i) {
        if (mask[i] == '*')
            values[i] = -1;
        else if (mask[i] == '+')
            values[i] = 1;
    }
    return values;
}

// ---------------------------------------------------------------- reading lines

LineReader::LineReader(ReceiveFn receive, size_t maxLineBytes, size_t maxMessageBytes)
    : receive_(std::move(receive)), maxLine_(maxLineBytes), maxMessage_(maxMessageBytes)
{
}

std::optional<std::string> LineReader::ReadLine()
{
    char chunk[4096];
    for (;;) {
        // Resume the search one byte back: a CR may have ended the last chunk.
        const size_t from = scanned_ > 0 ? scanned_ - 1 : 0;
        const size_t end = buffer_.find(kCrLf, from);
        if (end != std::string::npos) {
            if (!Fits(end))
                return std::nullopt;
            std::string line = buffer_.substr(0, end);
            buffer_.erase(0, end + kCrLf.size());
            scanned_ = 0;
            used_ += end + kCrLf.size();
            ++lines_;
            return line;
        }
        scanned_ = buffer_.size();
        if (closed_) {
            // The lines after the peer's last one are empty and cost nothing.
            if (buffer_.empty())
                return std::string();
            if (!Fits(buffer_.size()))
                return std::nullopt;
            std::string rest;
            rest.swap(buffer_);
            scanned_ = 0;
            used_ += rest.size() + kCrLf.size();
            ++lines_;
            return rest;
        }
        // The line so far: a CR at its end may be the first half of its CR LF.
        // Judged before more arrives, so that a line past the limits is
        // given up on without waiting for its end.
        const size_t partial = buffer_.size() - (!buffer_.empty() && buffer_.back() == '\r' ? 1 : 0);
        if (!Fits(partial))
            return std::nullopt;
        const std::ptrdiff_t got = receive_(chunk, sizeof chunk);
        if (got < 0)
            return std::nullopt;
        if (got == 0) {
            closed_ = true;
            continue;
        }
        if (head_.size() < kFirstBytes)
            head_.append(chunk, std::min(static_cast<size_t>(got), kFirstBytes - head_.size()));
        buffer_.append(chunk, static_cast<size_t>(got));
    }
}

bool LineReader::Fits(size_t lineBytes)
{
    const bool fits = lineBytes <= maxLine_ && used_ + lineBytes + kCrLf.size() <= maxMessage_;
    if (!fits)
        overLimit_ = true;
    return fits;
}

// ---------------------------------------------------------------- parsing

std::optional<TTestResult> ParseResultFields(const std::vector<std::string>& lines, std::string* reason)
{
    auto reject = [reason](int line, const char* field) -> std::optional<TTestResult> {
        if (reason)
            *reason = "неверное значение в строке " + std::to_string(line) + " (" + field + ")";
        return std::nullopt;
    };
    if (lines.size() < 18) {
        if (reason)
            *reason = "сообщение короче 19 строк";
        return std::nullopt;
    }
    // lines[k] is line k + 2 of the message.
    auto text = [&](int line) { return Cp1251ToUtf8(lines[static_cast<size_t>(line - 2)]); };
    auto raw = [&](int line) -> std::string_view { return lines[static_cast<size_t>(line - 2)]; };
    auto lenient = [&](int line) { return StrToIntDef(raw(line), 0); };

    TTestResult r;
    r.UserName = text(2);
    r.CompName = text(3);
    r.CompUserName = text(4);
    const auto mark = ParseInt32(raw(5));
    if (!mark)
        return reject(5, "оценка");
    r.Mark = *mark;
    r.TotalCount = lenient(6);
    r.AskedCount = lenient(7);
    r.RightCount = lenient(8);
    r.WrongCount = lenient(9);
    r.NotAskedCount = lenient(10);
    const auto start = ParseDateTime(Trim(raw(11)));
    if (!start)
        return reject(11, "время начала");
    r.StartTime = *start;
    const auto end = ParseDateTime(raw(12));
    if (!end)
        return reject(12, "время завершения");
    r.EndTime = *end;
    r.Duration = lenient(13);
    r.TestTitle = text(14);
    r.TestFile = text(15);
    r.ResultMask = text(16);
    r.TimeMask = text(17);
    const auto endMode = ParseInt32(raw(18));
    if (!endMode)
        return reject(18, "режим окончания");
    r.EndMode = static_cast<uint8_t>(static_cast<uint32_t>(*endMode) & 0xFFu);
    const auto crc = ParseInt64(raw(19));
    if (!crc)
        return reject(19, "CRC файла");
    r.FileCrc = static_cast<uint32_t>(static_cast<uint64_t>(*crc) & 0xFFFFFFFFu);
    // The mask is built from the bytes: one entry per character as sent.
    r.MaskValues = MaskValuesFromResultMask(raw(16));
    return r;
}

std::optional<ReceivedEvent> ReadMessage(LineReader& reader, const std::string& peerAddress,
                                         const std::function<TDateTime()>& now)
{
    const auto kind = reader.ReadLine();
    if (!kind)
        return std::nullopt;

    if (*kind == kKindResult) {
        ReceivedEvent event;
        const TDateTime received = now();
        event.Time = received;
        event.PeerAddress = peerAddress;
        std::vector<std::string> lines;
        lines.reserve(18);
        for (int i = 0; i < 18; ++i) {
            auto line = reader.ReadLine();
            if (!line) {
                // Cut short: malformed.
                event.Reason = (reader.OverLimit() ? "строка или сообщение длиннее допустимого в строке "
                                                   : "сообщение оборвано на строке ") +
                               std::to_string(i + 2);
                event.FirstBytes = reader.FirstBytes();
                if (lines.size() >= 2)
                    event.CompName = Cp1251ToUtf8(lines[1]);
                return event;
            }
            lines.push_back(std::move(*line));
        }
        auto result = ParseResultFields(lines, &event.Reason);
        if (!result) {
            // The peer's close, not the empty line it left, is what went wrong.
            if (reader.LinesReceived() < 19)
                event.Reason = "сообщение оборвано на строке " + std::to_string(reader.LinesReceived() + 1);
            event.FirstBytes = reader.FirstBytes();
            event.CompName = Cp1251ToUtf8(lines[1]);
            return event;
        }
        result->ReceivedTime = received;
        result->RemoteIP = peerAddress;
        event.kind = ReceivedEvent::Kind::Result;
        event.Result = std::move(*result);
        return event;
    }

    if (*kind == kKindMessage) {
        std::string lines[4];
        for (std::string& line : lines) {
            auto read = reader.ReadLine();
            if (!read)
                return std::nullopt;
            line = std::move(*read);
        }
        ReceivedEvent event;
        event.kind = ReceivedEvent::Kind::Message;
        event.Time = now();
        event.UserName = Cp1251ToUtf8(lines[0]);
        event.CompName = Cp1251ToUtf8(lines[1]);
        event.Text = Cp1251ToUtf8(lines[3]);  // the account name on line 4 is not used
        event.PeerAddress = peerAddress;
        return event;
    }
    return std::nullopt;
}

}  // namespace quilmo::journal

#include "model/TextTestReader.h"

#include <cstdint>

#include "model/PicturePath.h"
#include "model/TextUtil.h"

namespace quilmo {

namespace {

constexpr size_t kMarksLine = 4;
constexpr size_t kFirstThreshold = 6;
constexpr size_t kBlockLines = 10;

Error LoadError() { return Error{kLoadError}; }

int32_t IntOrMinus1(std::string_view s) { return StrToIntDef(Trim(s), -1); }

// Items of a number list: one more than the separators; an item that is not a
// number reads as 0. Calls f for each item in order.
template <class F>
void ForEachListItem(std::string_view line, char separator, F&& f)
{
    for (;;) {
        const size_t cut = line.find(separator);
        f(StrToIntDef(Trim(line.substr(0, cut)), 0));
        if (cut == std::string_view::npos)
            return;
        line.remove_prefix(cut + 1);
    }
}

struct CountLine {
    int32_t Total = -1;
    int32_t Subset = 0;
};

CountLine ReadCountLine(std::string_view line, CountLineRule rule)
{
    CountLine count;
    const std::string_view trimmed = Trim(line);
    if (rule == CountLineRule::WithSubset) {
        const size_t open = trimmed.find('(');
        const size_t close = trimmed.find(')');
        if (open != std::string_view::npos && close != std::string_view::npos && close > open) {
            const int32_t total = IntOrMinus1(trimmed.substr(0, open));
            const int32_t subset = IntOrMinus1(trimmed.substr(open + 1, close - open - 1));
            if (total > 0 && subset > 0 && subset < total) {
                count.Total = total;
                count.Subset = subset;
            } else {
                count.Total = 0;
            }
            return count;
        }
    }
    count.Total = StrToIntDef(trimmed, -1);
    return count;
}

}  // namespace

void ParseAnswerLine(std::string_view line, TTask& task)
{
    task.Answers.fill(0);
    if (line.find(',') != std::string_view::npos) {
        task.TaskType = MultipleChoice;
        ForEachListItem(line, ',', [&](int32_t v) {
            if (v >= 1 && v <= 5)
                task.Answers[v - 1] = 1;
        });
    } else if (line.find('-') != std::string_view::npos) {
        task.TaskType = Ordering;
        int32_t place = 1;
        ForEachListItem(line, '-', [&](int32_t v) {
            if (v >= 1 && v <= 5)
                task.Answers[v - 1] = place++;
        });
    } else {
        task.TaskType = SingleChoice;
        const int32_t v = IntOrMinus1(line);
        if (v >= 1 && v <= 5)
            task.Answers[v - 1] = 1;
    }
}

namespace {

// Replaces every _CRLF_ by CR LF within s itself: the text only shrinks.
void UnescapeCrLfInPlace(std::string& s)
{
    constexpr std::string_view kMark = "_CRLF_";
    size_t from = s.find(kMark);
    if (from == std::string::npos)
        return;
    size_t to = from;
    while (from != std::string::npos) {
        s[to++] = '\r';
        s[to++] = '\n';
        from += kMark.size();
        const size_t next = s.find(kMark, from);
        const size_t end = next == std::string::npos ? s.size() : next;
        // The text up to the next mark moves down over the bytes saved.
        std::char_traits<char>::move(s.data() + to, s.data() + from, end - from);
        to += end - from;
        from = next;
    }
    s.resize(to);
}

// The parser asks its lines for two things: whether line i exists, and line i
// as UTF-8, each line at most once. A list the caller keeps is copied from, one
// handed over is moved from, and a text is decoded line by line as asked.
class KeptLines {
public:
    explicit KeptLines(const std::vector<std::string>& lines) : lines_(lines) {}
    bool Has(size_t i) const { return i < lines_.size(); }
    std::string Take(size_t i) const { return lines_[i]; }

private:
    const std::vector<std::string>& lines_;
};

class HandedLines {
public:
    explicit HandedLines(std::vector<std::string>& lines) : lines_(lines) {}
    bool Has(size_t i) const { return i < lines_.size(); }
    std::string Take(size_t i) { return std::move(lines_[i]); }

private:
    std::vector<std::string>& lines_;
};

class DecodedLines {
public:
    explicit DecodedLines(TextLines& lines) : lines_(lines) {}
    bool Has(size_t i) { return lines_.Has(i); }
    std::string Take(size_t i) { return lines_.Line(i); }

private:
    TextLines& lines_;
};

template <class Lines>
Expected<TTask> ReadTaskBlockFrom(Lines&& lines, size_t first, const std::string& pictureDir,
                                  PictureLookup& pictures)
{
    if (first > SIZE_MAX - kBlockLines || !lines.Has(first + kBlockLines - 2))
        return LoadError();
    TTask task;
    task.Question = lines.Take(first);
    UnescapeCrLfInPlace(task.Question);
    task.Prompt = lines.Take(first + 1);
    const std::string pictureLine = lines.Take(first + 2);
    const std::string_view picture = Trim(pictureLine);
    if (!picture.empty())
        task.ImageFile = pictureDir.empty() ? std::string(picture)
                                            : pictures.Resolve(pictureDir, std::string(picture));
    ParseAnswerLine(Trim(lines.Take(first + 3)), task);
    for (size_t v = 0; v < 5; ++v)
        task.Variants[v] = lines.Take(first + 4 + v);
    task.VariantCount = LastNonEmptyVariant(task.Variants);
    for (int32_t v = 0; v < task.VariantCount; ++v)
        UnescapeCrLfInPlace(task.Variants[v]);
    return task;
}

template <class Lines>
Expected<ParsedTest> ParseLines(Lines&& lines, const TextTestReadOptions& options)
{
    if (!lines.Has(kMarksLine))
        return LoadError();

    ParsedTest test;
    test.Title = lines.Take(0);
    test.Description = UnescapeCrLf(Trim(lines.Take(1)));
    const CountLine count = ReadCountLine(lines.Take(2), options.CountRule);
    test.TaskCount = count.Total;
    test.SubsetCount = count.Subset;

    const int32_t markCount = IntOrMinus1(lines.Take(kMarksLine));
    if (markCount < 0)
        return LoadError();
    // Every count is checked against the lines present before anything is
    // sized from it: a hostile count costs no more than the file itself.
    if (markCount > 0 && !lines.Has(kFirstThreshold + static_cast<size_t>(markCount) - 1))
        return LoadError();
    test.Marks.resize(static_cast<size_t>(markCount));
    for (int32_t k = 0; k < markCount; ++k)
        test.Marks[markCount - 1 - k] = IntOrMinus1(lines.Take(kFirstThreshold + k));

    if (test.TaskCount > 0) {
        const size_t firstBlock = kFirstThreshold + static_cast<size_t>(markCount);
        const size_t needed = firstBlock + kBlockLines * static_cast<size_t>(test.TaskCount);
        // The separator line of the first block is never read, but the last
        // line of the last block is; lines after it are never looked at.
        if (!lines.Has(needed - 1))
            return LoadError();
        test.Tasks.reserve(static_cast<size_t>(test.TaskCount));
        // One listing of the picture folder serves every picture line.
        PictureLookup pictures;
        for (int32_t k = 0; k < test.TaskCount; ++k) {
            auto task = ReadTaskBlockFrom(lines, firstBlock + kBlockLines * static_cast<size_t>(k) + 1,
                                          options.PictureDir, pictures);
            if (!task)
                return task.error();
            test.Tasks.push_back(std::move(task).value());
        }
    }
    return test;
}

}  // namespace

Expected<TTask> ReadTaskBlock(const std::vector<std::string>& lines, size_t first,
                              const std::string& pictureDir)
{
    PictureLookup pictures;
    return ReadTaskBlockFrom(KeptLines(lines), first, pictureDir, pictures);
}

Expected<TTask> ReadTaskBlock(TextLines& lines, size_t first, const std::string& pictureDir,
                              PictureLookup& pictures)
{
    return ReadTaskBlockFrom(DecodedLines(lines), first, pictureDir, pictures);
}

Expected<ParsedTest> ParseTestText(const std::vector<std::string>& lines,
                                   const TextTestReadOptions& options)
{
    return ParseLines(KeptLines(lines), options);
}

Expected<ParsedTest> ParseTestText(std::vector<std::string>&& lines, const TextTestReadOptions& options)
{
    return ParseLines(HandedLines(lines), options);
}

Expected<ParsedTest> ParseTestText(TextLines& lines, const TextTestReadOptions& options)
{
    return ParseLines(DecodedLines(lines), options);
}

void ApplyRandomSubset(ParsedTest& test, TRandom& random)
{
    if (test.SubsetCount <= 0)
        return;
    const size_t keep = static_cast<size_t>(test.SubsetCount);
    const size_t n = test.Tasks.size();
    if (keep < n) {
        // Removing at a drawn index from the shrinking list, done on a Fenwick
        // tree of the survivors so that large tests are not moved T - M times.
        std::vector<int32_t> tree(n + 1, 0);
        for (size_t i = 1; i <= n; ++i) {
            tree[i] += 1;
            const size_t parent = i + (i & (~i + 1));
            if (parent <= n)
                tree[parent] += tree[i];
        }
        size_t top = 1;
        while (top * 2 <= n)
            top *= 2;
        std::vector<char> removed(n, 0);
        for (size_t size = n; size > keep; --size) {
            // The survivor at 0-based rank r: descend to the last prefix
            // holding r survivors.
            int32_t r = random.Next(static_cast<int32_t>(size));
            size_t pos = 0;
            for (size_t step = top; step > 0; step /= 2) {
                if (pos + step <= n && tree[pos + step] <= r) {
                    pos += step;
                    r -= tree[pos];
                }
            }
            removed[pos] = 1;  // 1-based position pos + 1
            for (size_t i = pos + 1; i <= n; i += i & (~i + 1))
                tree[i] -= 1;
        }
        size_t out = 0;
        for (size_t i = 0; i < n; ++i)
            if (!removed[i]) {
                if (out != i)
                    test.Tasks[out] = std::move(test.Tasks[i]);
                ++out;
            }
        test.Tasks.resize(out);
    }
    // Equal to SubsetCount; the list size keeps the two in step should a
    // caller hand in fewer tasks than the count asked for.
    test.TaskCount = static_cast<int32_t>(test.Tasks.size());
}

}  // namespace quilmo

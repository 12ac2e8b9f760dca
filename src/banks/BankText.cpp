#include "banks/BankText.h"

#include <libxml/HTMLparser.h>

#include <cstring>

#include "banks/BankTask.h"
#include "model/TextUtil.h"

namespace quilmo {

std::optional<BankTextFormat> MoodleTextFormat(std::string_view name)
{
    if (name == "html")
        return BankTextFormat::Html;
    if (name == "moodle_auto_format")
        return BankTextFormat::MoodleAuto;
    if (name == "plain_text")
        return BankTextFormat::Plain;
    if (name == "markdown")
        return BankTextFormat::Markdown;
    return std::nullopt;
}

std::optional<BankTextFormat> GiftTextFormat(std::string_view name)
{
    if (name == "html")
        return BankTextFormat::Html;
    if (name == "moodle")
        return BankTextFormat::MoodleAuto;
    if (name == "plain")
        return BankTextFormat::Plain;
    if (name == "markdown")
        return BankTextFormat::Markdown;
    return std::nullopt;
}

namespace {

// Collects the text a browser would show, a piece at a time.
struct TextSink {
    std::string Out;
    std::vector<std::string> Pictures;
    bool NewlineBreaks = false;  // Moodle's auto format
    bool PendingSpace = false;
    bool AtLineStart = true;
    int Hidden = 0;     // inside script, style or title
    int Preformatted = 0;

    void Break()
    {
        Out += "\r\n";
        AtLineStart = true;
        PendingSpace = false;
    }
    void Block()
    {
        if (!AtLineStart)
            Break();
        PendingSpace = false;
    }
    void Characters(std::string_view s)
    {
        if (Hidden > 0)
            return;
        for (const char c : s) {
            if (c == '\n' && (NewlineBreaks || Preformatted > 0)) {
                Break();
                continue;
            }
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
                if (Preformatted > 0 && c != '\r') {
                    Out += c == '\t' ? ' ' : c;
                    AtLineStart = false;
                } else {
                    PendingSpace = true;
                }
                continue;
            }
            if (c == '\0')
                continue;
            if (PendingSpace && !AtLineStart)
                Out += ' ';
            PendingSpace = false;
            AtLineStart = false;
            Out += c;
        }
    }
};

bool IsBlockElement(std::string_view name)
{
    static constexpr const char* kBlocks[] = {
        "p",       "div",    "li",     "ul",      "ol",      "dl",     "dt",   "dd",   "h1",
        "h2",      "h3",     "h4",     "h5",      "h6",      "tr",     "table", "blockquote", "pre",
        "hr",      "section", "article", "header", "footer", "address", "figure", "figcaption",
        "form",    "fieldset", "nav",  "aside",   "main",    "caption", "center", "tbody", "thead"};
    for (const char* b : kBlocks)
        if (name == b)
            return true;
    return false;
}

bool IsHiddenElement(std::string_view name) { return name == "script" || name == "style" || name == "title"; }

std::string_view Name(const xmlChar* name) { return name ? reinterpret_cast<const char*>(name) : ""; }

void OnStart(void* ctx, const xmlChar* nameChars, const xmlChar** attributes)
{
    TextSink& sink = *static_cast<TextSink*>(ctx);
    const std::string_view name = Name(nameChars);
    if (IsHiddenElement(name)) {
        ++sink.Hidden;
        return;
    }
    if (sink.Hidden > 0)
        return;
    if (name == "br") {
        sink.Break();
        return;
    }
    if (name == "img") {
        for (const xmlChar** a = attributes; a && a[0]; a += 2)
            if (Name(a[0]) == "src" && a[1])
                sink.Pictures.emplace_back(Name(a[1]));
        return;
    }
    if (name == "td" || name == "th") {
        sink.PendingSpace = true;
        return;
    }
    if (IsBlockElement(name))
        sink.Block();
    if (name == "pre")
        ++sink.Preformatted;
}

void OnEnd(void* ctx, const xmlChar* nameChars)
{
    TextSink& sink = *static_cast<TextSink*>(ctx);
    const std::string_view name = Name(nameChars);
    if (IsHiddenElement(name)) {
        if (sink.Hidden > 0)
            --sink.Hidden;
        return;
    }
    if (sink.Hidden > 0)
        return;
    if (name == "pre" && sink.Preformatted > 0)
        --sink.Preformatted;
    if (IsBlockElement(name))
        sink.Block();
}

void OnCharacters(void* ctx, const xmlChar* chars, int length)
{
    TextSink& sink = *static_cast<TextSink*>(ctx);
    sink.Characters(std::string_view(reinterpret_cast<const char*>(chars), size_t(length)));
}

// The sink is the parser's user data: no state is global.
void ParseHtmlInto(std::string_view html, TextSink& sink)
{
    htmlSAXHandler sax;
    std::memset(&sax, 0, sizeof sax);
    sax.startElement = OnStart;
    sax.endElement = OnEnd;
    sax.characters = OnCharacters;
    sax.ignorableWhitespace = OnCharacters;
    sax.cdataBlock = nullptr;  // the content of script and style
    htmlParserCtxtPtr ctxt = htmlCreatePushParserCtxt(&sax, &sink, nullptr, 0, nullptr, XML_CHAR_ENCODING_UTF8);
    if (!ctxt)
        return;
    htmlCtxtUseOptions(ctxt, HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING);
    constexpr size_t kChunk = 1 << 20;
    size_t pos = 0;
    while (pos < html.size()) {
        const size_t n = std::min(kChunk, html.size() - pos);
        if (htmlParseChunk(ctxt, html.data() + pos, int(n), 0) != 0 && ctxt->disableSAX)
            break;
        pos += n;
    }
    htmlParseChunk(ctxt, nullptr, 0, 1);
    htmlFreeParserCtxt(ctxt);
}

// Lines lose the blanks at their ends, as a browser shows them, the text its
// empty lines at both ends; then no-break spaces become spaces.
std::string Finish(std::string text)
{
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find("\r\n", pos);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line(text.data() + pos, end - pos);
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        out.append(line);
        if (end < text.size())
            out += "\r\n";
        pos = end + 2;
    }
    return ReplaceAll(Trim(out), "\xC2\xA0", " ");
}

std::string PlainLines(std::string_view text) { return std::string(Trim(CrLfLineBreaks(text))); }

bool StartsListItem(std::string_view line)
{
    line = TrimLeft(line);
    if (line.size() >= 2 && (line[0] == '-' || line[0] == '*' || line[0] == '+') && line[1] == ' ')
        return true;
    size_t i = 0;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9')
        ++i;
    return i > 0 && i + 1 < line.size() && (line[i] == '.' || line[i] == ')') && line[i + 1] == ' ';
}

// Markdown as HTML, closely enough for reading its text: paragraphs, hard
// breaks, headings, list items on lines of their own, images and links,
// backslash escapes and bold markers; inline HTML passes through.
std::string MarkdownToHtml(std::string_view text)
{
    std::string html;
    html.reserve(text.size() + 16);
    bool inParagraph = false;
    size_t pos = 0;
    const std::string lines = PlainLines(text);
    std::string_view all(lines);
    while (pos <= all.size()) {
        size_t end = all.find("\r\n", pos);
        if (end == std::string_view::npos)
            end = all.size();
        std::string_view line = all.substr(pos, end - pos);
        pos = end + 2;
        if (Trim(line).empty()) {
            if (inParagraph)
                html += "</p>";
            inParagraph = false;
            if (end >= all.size())
                break;
            continue;
        }
        const bool hardBreak = line.size() >= 2 && line.substr(line.size() - 2) == "  ";
        std::string_view body = TrimLeft(line);
        const bool heading = !body.empty() && body[0] == '#';
        if (heading) {
            while (!body.empty() && body[0] == '#')
                body.remove_prefix(1);
            body = TrimLeft(body);
        }
        if (!inParagraph) {
            html += "<p>";
            inParagraph = true;
        } else if (heading || StartsListItem(line)) {
            html += "<br>";
        } else {
            html += ' ';
        }
        for (size_t i = 0; i < body.size(); ++i) {
            const char c = body[i];
            if (c == '\\' && i + 1 < body.size() && std::strchr("\\`*_{}[]()#+-.!<>&", body[i + 1])) {
                const char e = body[++i];
                html += e == '<' ? "&lt;" : e == '>' ? "&gt;" : e == '&' ? "&amp;" : std::string(1, e);
                continue;
            }
            if ((c == '*' || c == '_') && i + 1 < body.size() && body[i + 1] == c) {
                ++i;
                continue;
            }
            const bool image = c == '!' && i + 1 < body.size() && body[i + 1] == '[';
            if (c == '[' || image) {
                const size_t open = image ? i + 1 : i;
                const size_t close = body.find("](", open);
                const size_t paren = close == std::string_view::npos ? close : body.find(')', close + 2);
                if (paren != std::string_view::npos) {
                    const std::string_view label = body.substr(open + 1, close - open - 1);
                    std::string_view target = Trim(body.substr(close + 2, paren - close - 2));
                    if (const size_t blank = target.find(' '); blank != std::string_view::npos)
                        target = target.substr(0, blank);  // a title after the address
                    if (image) {
                        html += "<img src=\"";
                        html += ReplaceAll(target, "\"", "&quot;");
                        html += "\">";
                    } else {
                        html += label;
                    }
                    i = paren;
                    continue;
                }
            }
            html += c;
        }
        if (hardBreak)
            html += "<br>";
    }
    if (inParagraph)
        html += "</p>";
    return html;
}

}  // namespace

BankPlainText BankTextToPlain(std::string_view text, BankTextFormat format)
{
    BankPlainText result;
    if (format == BankTextFormat::Plain) {
        result.Text = PlainLines(text);
        return result;
    }
    std::string markdown;
    if (format == BankTextFormat::Markdown) {
        markdown = MarkdownToHtml(text);
        text = markdown;
    }
    TextSink sink;
    sink.NewlineBreaks = format == BankTextFormat::MoodleAuto;
    // Most texts hold no markup at all; they need no parser.
    if (text.find_first_of("<&") == std::string_view::npos)
        sink.Characters(text);
    else
        ParseHtmlInto(text, sink);
    result.Text = Finish(std::move(sink.Out));
    result.Pictures = std::move(sink.Pictures);
    return result;
}

std::string PlainToHtml(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    bool lineStart = true;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\0': break;
        case '\r':
        case '\n':
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out += "<br>";
            lineStart = true;
            continue;
        case ' ':
        case '\t': {
            // One blank between words stays a blank; any other would be
            // folded or trimmed by HTML, so it is a no-break space.
            const bool next = i + 1 < text.size() && text[i + 1] != ' ' && text[i + 1] != '\t' &&
                              text[i + 1] != '\r' && text[i + 1] != '\n';
            const bool single = !lineStart && next && (i == 0 || (text[i - 1] != ' ' && text[i - 1] != '\t'));
            out += single ? " " : "&nbsp;";
            lineStart = false;
            continue;
        }
        default: out += c; break;
        }
        lineStart = false;
    }
    return out;
}

}  // namespace quilmo

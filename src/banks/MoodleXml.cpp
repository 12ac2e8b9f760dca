#include "banks/MoodleXml.h"

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/SAX2.h>
#include <libxml/tree.h>

#include <charconv>
#include <memory>
#include <optional>
#include <cstdio>
#include <mutex>

#include "banks/BankPictures.h"
#include "banks/BankTask.h"
#include "banks/BankText.h"
#include "model/FileIO.h"
#include "model/PicturePath.h"
#include "model/TextUtil.h"
#include "model/UniquePictureNames.h"

namespace quilmo {

namespace {

// Nothing a bank names is ever fetched: no external entity, no DTD, from
// disk or from the network.
xmlParserInputPtr RefuseExternalEntity(const char*, const char*, xmlParserCtxtPtr) { return nullptr; }

void InitXml()
{
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        xmlSetExternalEntityLoader(RefuseExternalEntity);
    });
}

struct ParseGuard {
    bool EntityDeclared = false;
    bool TextTooLong = false;
    uint64_t MaxText = 0;
    uint64_t Text = 0;  // bytes of the text node being read
};

ParseGuard& GuardOf(void* ctx) { return *static_cast<ParseGuard*>(static_cast<xmlParserCtxtPtr>(ctx)->_private); }

// An entity declaration stops the parse at once: no entity of a bank is ever
// expanded, however it nests.
void OnEntityDecl(void* ctx, const xmlChar*, int, const xmlChar*, const xmlChar*, xmlChar*)
{
    auto* ctxt = static_cast<xmlParserCtxtPtr>(ctx);
    GuardOf(ctx).EntityDeclared = true;
    xmlStopParser(ctxt);
}

// One text node may not grow past the limit: the parser stops at once, so
// memory stays near the size of the file. True while the text still fits.
bool TextFits(void* ctx, int length)
{
    ParseGuard& guard = GuardOf(ctx);
    guard.Text += uint64_t(length);
    if (guard.Text <= guard.MaxText)
        return true;
    guard.TextTooLong = true;
    xmlStopParser(static_cast<xmlParserCtxtPtr>(ctx));
    return false;
}

void OnCharacters(void* ctx, const xmlChar* chars, int length)
{
    if (TextFits(ctx, length))
        xmlSAX2Characters(ctx, chars, length);
}

void OnCData(void* ctx, const xmlChar* chars, int length)
{
    if (TextFits(ctx, length))
        xmlSAX2CDataBlock(ctx, chars, length);
}

void OnStartElement(void* ctx, const xmlChar* localname, const xmlChar* prefix, const xmlChar* uri, int nbNamespaces,
                    const xmlChar** namespaces, int nbAttributes, int nbDefaulted, const xmlChar** attributes)
{
    GuardOf(ctx).Text = 0;
    xmlSAX2StartElementNs(ctx, localname, prefix, uri, nbNamespaces, namespaces, nbAttributes, nbDefaulted, attributes);
}

void OnEndElement(void* ctx, const xmlChar* localname, const xmlChar* prefix, const xmlChar* uri)
{
    GuardOf(ctx).Text = 0;
    xmlSAX2EndElementNs(ctx, localname, prefix, uri);
}

void Silent(void*, xmlErrorPtr) {}

std::string_view Chars(const xmlChar* s) { return s ? reinterpret_cast<const char*>(s) : ""; }

bool Is(const xmlNode* node, std::string_view name)
{
    return node->type == XML_ELEMENT_NODE && Chars(node->name) == name;
}

const xmlNode* Child(const xmlNode* node, std::string_view name)
{
    for (const xmlNode* c = node ? node->children : nullptr; c; c = c->next)
        if (Is(c, name))
            return c;
    return nullptr;
}

// The text and CDATA directly inside node.
std::string TextOf(const xmlNode* node)
{
    std::string out;
    for (const xmlNode* c = node ? node->children : nullptr; c; c = c->next)
        if ((c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) && c->content)
            out += Chars(c->content);
    return out;
}

std::string Attribute(const xmlNode* node, const char* name)
{
    std::string out;
    if (!node)
        return out;
    for (const xmlAttr* a = node->properties; a; a = a->next)
        if (Chars(a->name) == name)
            for (const xmlNode* c = a->children; c; c = c->next)
                if (c->content)
                    out += Chars(c->content);
    return out;
}

// A text element of Moodle's kind: its format attribute and its <text>.
BankPlainText FieldText(const xmlNode* field)
{
    if (!field)
        return {};
    const auto format = MoodleTextFormat(Attribute(field, "format"));
    return BankTextToPlain(TextOf(Child(field, "text")), format.value_or(BankTextFormat::Html));
}

double Fraction(const xmlNode* answer)
{
    const std::string text(Trim(Attribute(answer, "fraction")));
    double value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && ptr == text.data() + text.size() ? value : 0;
}

std::string PercentDecoded(std::string_view s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        auto hex = [](char c) {
            return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        };
        if (s[i] == '%' && i + 2 < s.size() && hex(s[i + 1]) >= 0 && hex(s[i + 2]) >= 0) {
            out += char(hex(s[i + 1]) * 16 + hex(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

// The file of the question text that a picture address names, or nullptr.
const xmlNode* FileFor(const xmlNode* questionText, std::string_view src)
{
    constexpr std::string_view kPluginFile = "@@PLUGINFILE@@/";
    if (src.substr(0, kPluginFile.size()) != kPluginFile)
        return nullptr;
    src.remove_prefix(kPluginFile.size());
    if (const size_t query = src.find('?'); query != std::string_view::npos)
        src = src.substr(0, query);
    const std::string wanted = PercentDecoded(src);
    const xmlNode* byBareName = nullptr;
    for (const xmlNode* c = questionText->children; c; c = c->next) {
        if (!Is(c, "file"))
            continue;
        const std::string name = Attribute(c, "name");
        std::string path = Attribute(c, "path");
        while (!path.empty() && path.front() == '/')
            path.erase(0, 1);
        if (path + name == wanted)
            return c;
        if (!byBareName && name == BareFileName(wanted))
            byBareName = c;
    }
    return byBareName;
}

struct QuestionReader {
    const BankLimits& Limits;
    UniquePictureNames TakenNames;  // clashing names get ~2, ~3, ...

    // The task, or the reason it is skipped.
    Expected<TTask> Read(const xmlNode* question, const std::string& type, const BankPlainText& text)
    {
        std::string prompt;
        for (const xmlNode* c = question->children; c && prompt.empty(); c = c->next)
            if (Is(c, "hint"))
                prompt = FieldText(c).Text;
        if (prompt.empty())
            prompt = FieldText(Child(question, "generalfeedback")).Text;

        std::vector<const xmlNode*> answers;
        for (const xmlNode* c = question->children; c; c = c->next)
            if (Is(c, "answer"))
                answers.push_back(c);

        Expected<TTask> task = Error{""};
        if (type == "multichoice") {
            std::vector<BankChoice> choices;
            for (const xmlNode* a : answers)
                choices.push_back({FieldText(a).Text, Fraction(a)});
            const std::string single = ToLowerUtf8(Trim(TextOf(Child(question, "single"))));
            const ChoiceRule rule =
                single == "true" || single == "1" ? ChoiceRule::SingleRight : ChoiceRule::EveryPositiveRight;
            task = BuildChoiceTask(text.Text, prompt, choices, rule);
        } else if (type == "truefalse") {
            // Verno first, Neverno second, whatever order the file lists them in.
            std::vector<BankChoice> choices{{"Верно", 0}, {"Неверно", 0}};
            for (size_t i = 0; i < answers.size(); ++i) {
                const std::string value = ToLowerUtf8(Trim(FieldText(answers[i]).Text));
                const size_t slot = value == "true" ? 0 : value == "false" ? 1 : i;
                if (slot < 2)
                    choices[slot].Fraction = Fraction(answers[i]);
            }
            task = answers.empty() ? Expected<TTask>(Error{kReasonNoAnswers})
                                   : BuildChoiceTask(text.Text, prompt, choices, ChoiceRule::SingleRight);
        } else if (type == "ordering") {
            std::vector<std::string> items;
            for (const xmlNode* a : answers)
                items.push_back(FieldText(a).Text);
            task = BuildOrderingTask(text.Text, prompt, items);
        } else {
            return Error{UnsupportedTypeReason(type)};
        }
        if (!task)
            return task;
        if (auto picture = Picture(Child(question, "questiontext"), text); !picture)
            return picture.error();
        else if (picture->has_value()) {
            task->ImageFile = TakenNames.Claim((*picture)->Name);
            (*picture)->Name = task->ImageFile;
            Pending = std::move(**picture);
            HasPending = true;
        }
        return task;
    }

    // The first embedded file the question text shows, ready for the runner.
    Expected<std::optional<BankPicture>> Picture(const xmlNode* questionText, const BankPlainText& text)
    {
        for (const std::string& src : text.Pictures) {
            const xmlNode* file = FileFor(questionText, src);
            if (!file)
                continue;
            const std::string name = Attribute(file, "name");
            if (Attribute(file, "encoding") != "base64")
                return Error{"картинка «" + name + "» записана не в base64"};
            auto bytes = DecodeBase64(TextOf(file));
            if (!bytes)
                return Error{"картинка «" + name + "» повреждена (неверный base64)"};
            auto picture = PrepareBankPicture(name, std::move(*bytes), Limits);
            if (!picture)
                return picture.error();
            return std::optional<BankPicture>(std::move(*picture));
        }
        return std::optional<BankPicture>();
    }

    BankPicture Pending;
    bool HasPending = false;
};

}  // namespace

Expected<BankImport> ReadMoodleXml(std::string_view bytes, const BankLimits& limits)
{
    if (bytes.size() > limits.MaxFileBytes || bytes.size() > size_t(INT32_MAX))
        return Error{"Файл Moodle XML слишком велик."};
    InitXml();
    xmlParserCtxtPtr ctxt = xmlCreateMemoryParserCtxt(bytes.data(), int(bytes.size()));
    if (!ctxt)
        return Error{"Файл Moodle XML не прочитан: не хватает памяти."};
    ParseGuard guard;
    guard.MaxText = limits.MaxTextBytes;
    ctxt->_private = &guard;
    ctxt->sax->entityDecl = OnEntityDecl;
    ctxt->sax->characters = OnCharacters;
    ctxt->sax->ignorableWhitespace = OnCharacters;
    ctxt->sax->cdataBlock = OnCData;
    ctxt->sax->startElementNs = OnStartElement;
    ctxt->sax->endElementNs = OnEndElement;
    ctxt->sax->serror = Silent;
    ctxt->sax->warning = nullptr;
    ctxt->sax->error = nullptr;
    xmlCtxtUseOptions(ctxt, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    xmlParseDocument(ctxt);
    xmlDocPtr doc = ctxt->myDoc;
    // libxml2 refuses a text node over 10 MB by stopping with an error but
    // leaves the document flagged well formed.
    const bool wellFormed = ctxt->wellFormed != 0 && ctxt->errNo == XML_ERR_OK;
    std::string problem;
    if (guard.EntityDeclared) {
        problem = "Файл Moodle XML не прочитан: в нём объявлены сущности (<!ENTITY>), такие файлы не читаются.";
    } else if (guard.TextTooLong) {
        problem = "Файл Moodle XML не прочитан: строка " + std::to_string(xmlSAX2GetLineNumber(ctxt)) +
                  ": слишком длинный текст (больше " + std::to_string(limits.MaxTextBytes / 1000000) + " МБ).";
    } else if (!wellFormed || !doc) {
        const xmlError* e = xmlCtxtGetLastError(ctxt);
        std::string message(Trim(e && e->message ? e->message : "неизвестная ошибка"));
        if (ctxt->errNo == XML_ERR_NO_MEMORY)
            message = "слишком длинный текст (" + message + ")";
        problem = "Файл Moodle XML не прочитан: строка " + std::to_string(e ? e->line : 0) + ": " + message;
    }
    ctxt->myDoc = nullptr;
    xmlFreeParserCtxt(ctxt);
    if (!problem.empty()) {
        if (doc)
            xmlFreeDoc(doc);
        return Error{problem};
    }
    std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)> owned(doc, xmlFreeDoc);

    const xmlNode* root = xmlDocGetRootElement(doc);
    if (!root || !Is(root, "quiz"))
        return Error{"Это не файл Moodle XML: в нём нет элемента <quiz>."};

    BankImport bank;
    QuestionReader reader{limits, {}, {}, false};
    size_t number = 0;
    for (const xmlNode* q = root->children; q; q = q->next) {
        if (!Is(q, "question"))
            continue;
        const std::string type = Attribute(q, "type");
        if (type == "category")
            continue;
        ++number;
        const BankPlainText text = FieldText(Child(q, "questiontext"));
        std::string name = OneLine(TextOf(Child(Child(q, "name"), "text")));
        if (name.empty())
            name = QuestionName(text.Text);
        reader.HasPending = false;
        auto task = reader.Read(q, type, text);
        if (!task) {
            bank.Skipped.push_back({number, name, task.error().Message});
            continue;
        }
        bank.Tasks.push_back(std::move(*task));
        if (reader.HasPending)
            bank.Pictures.push_back(std::move(reader.Pending));
    }
    return bank;
}

namespace {

void AppendEscaped(std::string& out, std::string_view s)
{
    for (const char c : s) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default:
            // Control characters other than tab and line ends are not XML.
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
                break;
            out += c;
        }
    }
}

void AppendCData(std::string& out, std::string_view s)
{
    std::string clean;
    clean.reserve(s.size());
    for (const char c : s)
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r')
            clean += c;
    out += "<![CDATA[";
    out += ReplaceAll(clean, "]]>", "]]]]><![CDATA[>");
    out += "]]>";
}

std::string PercentEncoded(std::string_view s)
{
    std::string out;
    for (const char ch : s) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
            c == '_' || c == '~') {
            out += char(c);
        } else {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", c);
            out += buf;
        }
    }
    return out;
}

void AppendTextElement(std::string& out, const char* element, const std::string& indent, std::string_view html)
{
    out += indent + "<" + element + " format=\"html\">\n" + indent + "  <text>";
    if (!html.empty())
        AppendCData(out, html);
    out += "</text>\n" + indent + "</" + element + ">\n";
}

}  // namespace

BankWriteResult WriteMoodleXml(const std::vector<TTask>& tasks, const std::string& category)
{
    std::string head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<quiz>\n";
    if (!Trim(category).empty()) {
        head += "  <question type=\"category\">\n    <category>\n      <text>";
        AppendEscaped(head, "$course$/" + OneLine(category));
        head += "</text>\n    </category>\n  </question>\n";
    }
    BankWriteResult result = WriteEachTask(tasks, nullptr, [](const TaskToWrite& t, BankWriteResult& result) {
        std::string& out = result.Bytes;
        const TTask& task = t.Task;
        const ExportTask* exported = &t.Answers;
        const size_t i = t.Number - 1;
        const std::string& name = t.Name;
        const bool ordering = exported->TaskType == Ordering;
        std::string pictureName, pictureBytes;
        if (const std::string path(Trim(task.ImageFile)); !path.empty()) {
            auto bytes = FileExists(path) ? ReadWholeFile(path, uint64_t(64) << 20) : Expected<std::string>(Error{""});
            if (bytes) {
                pictureName = BareFileName(path);
                pictureBytes = std::move(*bytes);
            } else {
                result.Notes.push_back({i + 1, name, "файл картинки «" + path + "» не прочитан, вопрос записан без неё"});
            }
        }

        out += std::string("  <question type=\"") + (ordering ? "ordering" : "multichoice") + "\">\n";
        out += "    <name>\n      <text>";
        AppendEscaped(out, name);
        out += "</text>\n    </name>\n";
        std::string html = "<p>" + PlainToHtml(task.Question) + "</p>";
        if (!pictureName.empty()) {
            html += "<p><img src=\"@@PLUGINFILE@@/" + PercentEncoded(pictureName) + "\" alt=\"\"></p>";
        }
        out += "    <questiontext format=\"html\">\n      <text>";
        AppendCData(out, html);
        out += "</text>\n";
        if (!pictureName.empty()) {
            out += "      <file name=\"";
            AppendEscaped(out, pictureName);
            out += "\" path=\"/\" encoding=\"base64\">" + EncodeBase64(pictureBytes) + "</file>\n";
        }
        out += "    </questiontext>\n";
        AppendTextElement(out, "generalfeedback", "    ", "");
        out += "    <defaultgrade>1</defaultgrade>\n    <penalty>0.3333333</penalty>\n    <hidden>0</hidden>\n";
        if (ordering) {
            out += "    <layouttype>VERTICAL</layouttype>\n    <selecttype>ALL</selecttype>\n"
                   "    <selectcount>0</selectcount>\n    <gradingtype>ABSOLUTE_POSITION</gradingtype>\n"
                   "    <showgrading>SHOW</showgrading>\n    <numberingstyle>none</numberingstyle>\n";
        } else {
            out += std::string("    <single>") + (exported->TaskType == SingleChoice ? "true" : "false") +
                   "</single>\n    <shuffleanswers>true</shuffleanswers>\n    <answernumbering>abc</answernumbering>\n";
        }
        AppendTextElement(out, "correctfeedback", "    ", "");
        AppendTextElement(out, "partiallycorrectfeedback", "    ", "");
        AppendTextElement(out, "incorrectfeedback", "    ", "");
        for (size_t a = 0; a < exported->Answers.size(); ++a) {
            const ExportAnswer& answer = exported->Answers[a];
            std::string fraction;
            if (ordering)
                fraction = std::to_string(a + 1);
            else if (exported->TaskType == SingleChoice)
                fraction = answer.Right ? "100" : "0";
            else  // any wrong answer chosen costs the whole mark, as in Quilmo
                fraction = answer.Right ? RightShare(exported->RightCount) : "-100";
            out += "    <answer fraction=\"" + fraction + "\" format=\"html\">\n      <text>";
            AppendCData(out, PlainToHtml(answer.Text));
            out += "</text>\n";
            AppendTextElement(out, "feedback", "      ", "");
            out += "    </answer>\n";
        }
        if (!Trim(task.Prompt).empty())
            AppendTextElement(out, "hint", "    ", PlainToHtml(OneLine(task.Prompt)));
        out += "  </question>\n";
    });
    result.Bytes = head + result.Bytes + "</quiz>\n";
    return result;
}

}  // namespace quilmo

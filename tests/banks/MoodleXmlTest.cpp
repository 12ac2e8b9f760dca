// Moodle XML banks: the hand-made sample, hostile files, writing, round trips.

#include <gtest/gtest.h>

#include <libxml/parser.h>

#include "banks/BankPictures.h"
#include "banks/BankTask.h"
#include "banks/MoodleXml.h"
#include "banks/BankTestSupport.h"
#include "model/PicturePath.h"
#include "support/TempFolder.h"

namespace quilmo {
namespace {

using testing::MakeTask;
using testing::ReadFixture;
using testing::TempFolder;

const std::string kGif = *DecodeBase64("R0lGODlhAQABAIAAAP///wAAACH5BAEAAAAALAAAAAABAAEAAAICRAEAOw==");

TEST(MoodleXmlTest, ReadsEveryMappingOfTheSample)
{
    const auto bank = ReadMoodleXml(ReadFixture("banks/sample.xml"));
    ASSERT_TRUE(bank) << bank.error().Message;
    const std::vector<TTask> expected = {
        MakeTask(SingleChoice, "Какой город — столица Франции?\r\nВыберите один\r\nответ.", "Город на Сене",
                 {"Лион", "Париж", "Марсель"}, {0, 1, 0, 0, 0}, "map one.jpg"),
        MakeTask(MultipleChoice, "Выберите чётные\r\nчисла", "Делятся на два", {"2 < 3", "3", "4, а не *5*"},
                 {1, 0, 1, 0, 0}),
        MakeTask(SingleChoice, "Земля плоская.", "", {"Верно", "Неверно"}, {0, 1, 0, 0, 0}),
        MakeTask(Ordering, "Расставьте по  росту", "", {"Мышь", "Кошка", "Слон"}, {1, 2, 3, 0, 0}),
        MakeTask(SingleChoice, "Что это?", "", {"Точка", "Круг"}, {1, 0, 0, 0, 0}, "dot.gif"),
        MakeTask(SingleChoice, "И это?", "", {"Тоже точка"}, {1, 0, 0, 0, 0}, "DOT~2.GIF"),
    };
    ASSERT_EQ(bank->Tasks.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(bank->Tasks[i], expected[i]) << "task " << i + 1;

    ASSERT_EQ(bank->Pictures.size(), 3u);
    EXPECT_EQ(bank->Pictures[0].Name, "map one.jpg");
    EXPECT_EQ(SniffPicture(bank->Pictures[0].Bytes), PictureFormat::Jpeg);
    EXPECT_EQ(bank->Pictures[1], (BankPicture{"dot.gif", kGif}));
    EXPECT_EQ(bank->Pictures[2], (BankPicture{"DOT~2.GIF", kGif}));

    const std::vector<SkippedQuestion> skipped = {
        {7, "Сочинение", "тип вопроса «essay» не переносится в Quilmo"},
        {8, "Шесть", kReasonTooManyAnswers},
        {9, "Пусто", kReasonNoText},
        {10, "Без ответа", kReasonNoRightAnswer},
        {11, "Два верных", kReasonSeveralRight},
        {12, "Пустой вариант", kReasonEmptyAnswer},
        {13, "Битая картинка", "картинка «bad.gif» повреждена (неверный base64)"},
        {14, "SVG", "картинка «a.svg» в формате, который Quilmo не показывает"},
        {15, "Плохое имя", "недопустимое имя картинки «../..»"},
        {16, "Пустой порядок", kReasonNoAnswers},
    };
    EXPECT_EQ(bank->Skipped, skipped);
}

struct HostileCase {
    const char* Name;
    std::string Xml;
    const char* MessagePart;
};

std::string Nested(int depth)
{
    std::string s = "<quiz>";
    for (int i = 0; i < depth; ++i)
        s += "<a>";
    for (int i = 0; i < depth; ++i)
        s += "</a>";
    return s + "</quiz>";
}

class MoodleXmlHostileTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(MoodleXmlHostileTest, IsRefusedWithAClearMessage)
{
    const auto bank = ReadMoodleXml(GetParam().Xml);
    ASSERT_FALSE(bank);
    EXPECT_NE(bank.error().Message.find(GetParam().MessagePart), std::string::npos) << bank.error().Message;
}

const std::string kLaughs =
    "<?xml version=\"1.0\"?>\n<!DOCTYPE quiz [\n<!ENTITY a \"aaaaaaaaaa\">\n"
    "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">\n<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">\n"
    "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">\n<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">\n]>\n"
    "<quiz><question type=\"multichoice\"><questiontext><text>&e;&e;&e;&e;</text></questiontext></question></quiz>";

INSTANTIATE_TEST_SUITE_P(
    Files, MoodleXmlHostileTest,
    ::testing::Values(
        HostileCase{"EntityExpansion", kLaughs, "сущности"},
        HostileCase{"ExternalEntity",
                    "<?xml version=\"1.0\"?><!DOCTYPE quiz [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>"
                    "<quiz><question type=\"essay\"><name><text>&x;</text></name></question></quiz>",
                    "сущности"},
        HostileCase{"ParameterEntity",
                    "<?xml version=\"1.0\"?><!DOCTYPE quiz [<!ENTITY % p SYSTEM \"http://127.0.0.1:1/x.dtd\"> %p;]>"
                    "<quiz/>",
                    "сущности"},
        HostileCase{"DeepNesting", Nested(100000), "Файл Moodle XML не прочитан"},
        HostileCase{"NotXml", "GIFT{=a ~b}", "строка 1"},
        HostileCase{"CutShort", "<quiz><question type=\"multichoice\"><questiontext>", "Файл Moodle XML не прочитан"},
        HostileCase{"OtherRoot", "<html><body/></html>", "<quiz>"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(MoodleXmlTest, AHundredMegabyteTextNodeIsRefused)
{
    const std::string xml =
        "<quiz><question type=\"multichoice\"><questiontext><text>" + std::string(100 << 20, 'x') + "</text></questiontext></question></quiz>";
    const auto bank = ReadMoodleXml(xml);
    ASSERT_FALSE(bank);
    EXPECT_NE(bank.error().Message.find("слишком длинный текст"), std::string::npos) << bank.error().Message;
}

TEST(MoodleXmlTest, AnExternalDtdIsNeverLoaded)
{
    TempFolder folder;
    const std::string dtd = folder.Write("secret.dtd", "<!ENTITY secret \"LEAK\">");
    const std::string xml = "<?xml version=\"1.0\"?><!DOCTYPE quiz SYSTEM \"" + dtd +
                            "\"><quiz><question type=\"multichoice\"><questiontext><text>&secret;</text>"
                            "</questiontext><single>true</single><answer fraction=\"100\"><text>a</text></answer>"
                            "</question></quiz>";
    // Had the DTD been read, the entity would be defined and the text "LEAK".
    const auto bank = ReadMoodleXml(xml);
    ASSERT_FALSE(bank);
    EXPECT_EQ(bank.error().Message, "Файл Moodle XML не прочитан: строка 1: Entity 'secret' not defined");
}

TEST(MoodleXmlTest, ATooBigFileIsRefusedBeforeParsing)
{
    BankLimits limits;
    limits.MaxFileBytes = 10;
    EXPECT_EQ(ReadMoodleXml("<quiz></quiz>", limits).error().Message, "Файл Moodle XML слишком велик.");
}

// The written bank parsed back with libxml2 alone, to look at its elements.
struct ParsedXml {
    xmlDocPtr Doc;
    explicit ParsedXml(const std::string& xml) : Doc(xmlReadMemory(xml.data(), int(xml.size()), nullptr, nullptr, XML_PARSE_NONET)) {}
    ~ParsedXml() { xmlFreeDoc(Doc); }
    std::vector<xmlNodePtr> Questions() const
    {
        std::vector<xmlNodePtr> out;
        for (xmlNodePtr q = xmlDocGetRootElement(Doc)->children; q; q = q->next)
            if (q->type == XML_ELEMENT_NODE)
                out.push_back(q);
        return out;
    }
};

std::string Prop(xmlNodePtr node, const char* name)
{
    xmlChar* v = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
    std::string s = v ? reinterpret_cast<const char*>(v) : "";
    xmlFree(v);
    return s;
}

xmlNodePtr ChildNamed(xmlNodePtr node, const char* name, int nth = 0)
{
    for (xmlNodePtr c = node->children; c; c = c->next)
        if (c->type == XML_ELEMENT_NODE && std::string(reinterpret_cast<const char*>(c->name)) == name && nth-- == 0)
            return c;
    return nullptr;
}

std::string Content(xmlNodePtr node)
{
    xmlChar* v = xmlNodeGetContent(node);
    std::string s = v ? reinterpret_cast<const char*>(v) : "";
    xmlFree(v);
    return s;
}

TEST(MoodleXmlTest, WritesEachTypeAsMoodleReadsIt)
{
    TempFolder folder;
    const std::string picture = folder.Write("my pic.gif", kGif);
    const std::vector<TTask> tasks = {
        MakeTask(SingleChoice, "2 < 3?", "Подумайте", {"Да", "Нет"}, {1, 0, 0, 0, 0}, picture),
        MakeTask(MultipleChoice, "Чётные", "", {"2", "3", "4"}, {1, 0, 1, 0, 0}),
        MakeTask(Ordering, "По порядку", "", {"Б", "В", "А"}, {2, 3, 1, 0, 0}),
        MakeTask(SingleChoice, "", "", {"x"}, {1, 0, 0, 0, 0}),
    };
    const BankWriteResult written = WriteMoodleXml(tasks, "Контрольная");
    EXPECT_EQ(written.Written, 3u);
    EXPECT_EQ(written.Skipped, (std::vector<SkippedQuestion>{{4, "", kReasonNoText}}));
    const ParsedXml xml(written.Bytes);
    ASSERT_NE(xml.Doc, nullptr);
    const auto questions = xml.Questions();
    ASSERT_EQ(questions.size(), 4u);
    EXPECT_EQ(Prop(questions[0], "type"), "category");
    EXPECT_EQ(Content(ChildNamed(ChildNamed(questions[0], "category"), "text")), "$course$/Контрольная");

    xmlNodePtr single = questions[1];
    EXPECT_EQ(Prop(single, "type"), "multichoice");
    EXPECT_EQ(Content(ChildNamed(single, "single")), "true");
    xmlNodePtr text = ChildNamed(single, "questiontext");
    EXPECT_EQ(Prop(text, "format"), "html");
    EXPECT_EQ(Content(ChildNamed(text, "text")), "<p>2 &lt; 3?</p><p><img src=\"@@PLUGINFILE@@/my%20pic.gif\" alt=\"\"></p>");
    xmlNodePtr file = ChildNamed(text, "file");
    EXPECT_EQ(Prop(file, "name"), "my pic.gif");
    EXPECT_EQ(Prop(file, "encoding"), "base64");
    EXPECT_EQ(DecodeBase64(Content(file)), kGif);
    EXPECT_EQ(Prop(ChildNamed(single, "answer", 0), "fraction"), "100");
    EXPECT_EQ(Prop(ChildNamed(single, "answer", 1), "fraction"), "0");
    EXPECT_EQ(Content(ChildNamed(ChildNamed(single, "hint"), "text")), "Подумайте");

    xmlNodePtr multiple = questions[2];
    EXPECT_EQ(Content(ChildNamed(multiple, "single")), "false");
    EXPECT_EQ(Prop(ChildNamed(multiple, "answer", 0), "fraction"), "50");
    EXPECT_EQ(Prop(ChildNamed(multiple, "answer", 1), "fraction"), "-100");
    EXPECT_EQ(Prop(ChildNamed(multiple, "answer", 2), "fraction"), "50");

    xmlNodePtr ordering = questions[3];
    EXPECT_EQ(Prop(ordering, "type"), "ordering");
    // Listed in the right order.
    EXPECT_EQ(Content(ChildNamed(ChildNamed(ordering, "answer", 0), "text")), "А");
    EXPECT_EQ(Content(ChildNamed(ChildNamed(ordering, "answer", 1), "text")), "Б");
    EXPECT_EQ(Content(ChildNamed(ChildNamed(ordering, "answer", 2), "text")), "В");
}

TEST(MoodleXmlTest, AMissingPictureIsNotedAndTheQuestionWritten)
{
    const BankWriteResult written =
        WriteMoodleXml({MakeTask(SingleChoice, "Q", "", {"a"}, {1, 0, 0, 0, 0}, "/nonexistent/p.gif")});
    EXPECT_EQ(written.Written, 1u);
    ASSERT_EQ(written.Notes.size(), 1u);
    EXPECT_NE(written.Notes[0].Reason.find("/nonexistent/p.gif"), std::string::npos);
    EXPECT_EQ(written.Bytes.find("<file"), std::string::npos);
}

TEST(MoodleXmlTest, QuilmoToMoodleXmlToQuilmoGivesTheSameTasks)
{
    TempFolder folder;
    const std::string picture = folder.Write("p.gif", kGif);
    const std::vector<TTask> tasks = {
        MakeTask(SingleChoice, "Две\r\nстроки & <знаки>", "Подсказка «в кавычках»", {"Один", "Два  пробела", "Три"},
                 {0, 0, 1, 0, 0}, picture),
        MakeTask(MultipleChoice, "  Отступ", "", {"a]]>b", "c", "d", "e", "f"}, {1, 1, 0, 1, 1}),
        MakeTask(MultipleChoice, "Один верный", "", {"x", "y"}, {0, 1, 0, 0, 0}),
        MakeTask(Ordering, "Порядок", "", {"1", "2", "3", "4"}, {1, 2, 3, 4, 0}),
    };
    const BankWriteResult written = WriteMoodleXml(tasks);
    ASSERT_EQ(written.Written, tasks.size());
    const auto bank = ReadMoodleXml(written.Bytes);
    ASSERT_TRUE(bank) << bank.error().Message;
    EXPECT_TRUE(bank->Skipped.empty());
    ASSERT_EQ(bank->Tasks.size(), tasks.size());
    for (size_t i = 0; i < tasks.size(); ++i) {
        TTask expected = tasks[i];
        expected.ImageFile = expected.ImageFile.empty() ? "" : BareFileName(expected.ImageFile);
        EXPECT_EQ(bank->Tasks[i], expected) << "task " << i + 1;
    }
    ASSERT_EQ(bank->Pictures.size(), 1u);
    EXPECT_EQ(bank->Pictures[0], (BankPicture{"p.gif", kGif}));
}

TEST(MoodleXmlTest, AnOrderingTaskComesBackListedInItsRightOrder)
{
    const auto bank = ReadMoodleXml(WriteMoodleXml({MakeTask(Ordering, "Q", "", {"b", "c", "a"}, {2, 3, 1, 0, 0})}).Bytes);
    ASSERT_TRUE(bank);
    ASSERT_EQ(bank->Tasks.size(), 1u);
    EXPECT_EQ(bank->Tasks[0], MakeTask(Ordering, "Q", "", {"a", "b", "c"}, {1, 2, 3, 0, 0}));
}

}  // namespace
}  // namespace quilmo

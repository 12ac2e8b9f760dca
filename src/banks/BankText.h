#pragma once
// The texts of a bank's questions and answers: from the formats banks store
// them in (HTML, Moodle's auto format, plain text, Markdown) to the plain text
// of a task, and from a task's plain text back to HTML.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quilmo {

enum class BankTextFormat { Html, MoodleAuto, Plain, Markdown };

// Moodle XML's format attribute: "html", "moodle_auto_format", "plain_text",
// "markdown"; nullopt for any other.
std::optional<BankTextFormat> MoodleTextFormat(std::string_view name);
// GIFT's marker names: "html", "moodle", "plain", "markdown".
std::optional<BankTextFormat> GiftTextFormat(std::string_view name);

struct BankPlainText {
    std::string Text;                  // CR LF line breaks, trimmed
    std::vector<std::string> Pictures; // the src of every <img>, in order
};

// HTML as a browser shows it: paragraphs, list items and other blocks start a
// new line, <br> is a line break, runs of white space are one space, entities
// are decoded (a no-break space becomes a space), other tags are dropped and
// the content of script and style is left out. Moodle's auto format is HTML in
// which a line break of the source is a line break; Markdown's paragraphs and
// hard breaks are line breaks; plain text stays as it is.
BankPlainText BankTextToPlain(std::string_view text, BankTextFormat format);

// A task's text as HTML that reads back as the same text: &, <, > and " as
// entities, line breaks as <br>, blanks that HTML would fold as &nbsp;.
std::string PlainToHtml(std::string_view text);

}  // namespace quilmo

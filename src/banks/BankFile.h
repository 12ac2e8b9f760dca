#pragma once
// Question-bank files as a whole: which kind a file is, reading one into
// tasks and pictures, writing tasks as one, and the report of an import.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "banks/QuestionBank.h"
#include "model/Expected.h"

namespace quilmo {

enum class BankKind { QuilmoTest, MoodleXml, Gift, Aiken };

// The kind of a file to import, by its extension (ignoring case): .xml Moodle
// XML, .gift GIFT, .aiken Aiken, .tst a Quilmo test; a .txt by its content
// (TxtFileKind). nullopt for any other extension.
std::optional<BankKind> BankKindOf(const std::string& path, std::string_view bytes);
// A .txt is a Quilmo test when its third line is a count ("T" or "T (M)") and
// its fourth line is "--------"; otherwise GIFT when it holds a "{", otherwise
// Aiken.
BankKind TxtFileKind(std::string_view bytes);
// The kind a file is written as, by its extension alone: .xml, .gift, .aiken.
std::optional<BankKind> BankKindForOutput(const std::string& path);

inline constexpr const char* kNotABank = "Это тест Quilmo, а не банк вопросов.";

// Reads a bank of the given kind (not QuilmoTest) from its bytes.
Expected<BankImport> ReadBank(BankKind kind, std::string_view bytes, const BankLimits& limits = {});

// Reads the file at path: its kind chosen by BankKindOf, then ReadBank. Fails
// with the reader's message, the system's text when the file cannot be read,
// kNotABank for a Quilmo test and "Не верный тип файла!" for an unknown
// extension. The pictures are not written anywhere (see WriteBankPictures).
Expected<BankImport> ReadBankFile(const std::string& path, const BankLimits& limits = {});

// Writes tasks as a bank of the given kind (not QuilmoTest); title names the
// category where the format has one.
BankWriteResult WriteBank(BankKind kind, const std::vector<TTask>& tasks, const std::string& title = {});

// What the teacher is told after an import: how many tasks were added from
// which file and every question skipped, with its reason.
std::string BankImportDoneText(size_t added, const std::string& path, const std::vector<SkippedQuestion>& skipped);

}  // namespace quilmo

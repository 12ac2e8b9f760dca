#include "editor/BankTransfer.h"

#include "banks/BankPictures.h"
#include "model/FileIO.h"
#include "model/PicturePath.h"

namespace quilmo {

Expected<std::optional<BankImport>> ReadImportBank(const std::string& path, const BankLimits& limits)
{
    auto bytes = ReadWholeFile(path, limits.MaxFileBytes);
    if (!bytes)
        return bytes.error();
    const std::optional<BankKind> kind = BankKindOf(path, *bytes);
    if (!kind)
        return Error{"Не верный тип файла!"};
    if (*kind == BankKind::QuilmoTest)
        return std::optional<BankImport>();
    auto bank = ReadBank(*kind, *bytes, limits);
    if (!bank)
        return bank.error();
    return std::optional<BankImport>(std::move(*bank));
}

std::string ImportPictureFolder(const std::string& testFile, const std::string& bankPath)
{
    const std::string folder = FolderOf(testFile.empty() ? bankPath : testFile);
    return folder.empty() ? "./" : folder;
}

Status WriteImportPictures(BankImport& bank, const std::string& testFile, const std::string& bankPath)
{
    if (bank.Tasks.empty() || bank.Pictures.empty())
        return Ok();
    return WriteBankPictures(bank, ImportPictureFolder(testFile, bankPath));
}

std::string BankExportDoneText(const std::string& path, const BankWriteResult& written)
{
    std::string text =
        "Экспортировано " + std::to_string(written.Written) + " заданий\r\nв файл: \"" + path + "\".";
    if (!written.Skipped.empty()) {
        text += "\r\nПропущено заданий: " + std::to_string(written.Skipped.size()) + ".";
        for (const SkippedQuestion& s : written.Skipped)
            text += "\r\n" + SkippedQuestionText(s);
    }
    for (const SkippedQuestion& note : written.Notes)
        text += "\r\nЗамечание: " + SkippedQuestionText(note);
    return text;
}

}  // namespace quilmo

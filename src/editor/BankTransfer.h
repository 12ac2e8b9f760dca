#pragma once
// The editor's way in and out of question banks: which files its import takes
// as banks, where their pictures go and what the teacher is told after an
// export.

#include <optional>
#include <string>

#include "banks/BankFile.h"
#include "model/Expected.h"

namespace quilmo {

// Reads the file chosen in the import dialog. nullopt when it is a Quilmo test
// (a .tst, or a .txt whose third line is a count and whose fourth is
// "--------"), which the test import reads; otherwise the bank it holds, or
// the reason it cannot be read ("Не верный тип файла!" for an extension no
// reader knows).
Expected<std::optional<BankImport>> ReadImportBank(const std::string& path, const BankLimits& limits = {});

// The folder an imported bank's pictures are written to, ending in '/': the
// edited test's, or, while it has no file yet, the bank's own.
std::string ImportPictureFolder(const std::string& testFile, const std::string& bankPath);

// Writes the pictures of a bank with tasks into that folder (see
// WriteBankPictures): on a failure none is left and bank is as it was.
Status WriteImportPictures(BankImport& bank, const std::string& testFile, const std::string& bankPath);

// "Экспортировано n заданий\r\nв файл: "path"." followed by every task left
// out and every remark, each with its reason.
std::string BankExportDoneText(const std::string& path, const BankWriteResult& written);

}  // namespace quilmo

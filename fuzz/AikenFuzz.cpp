// An Aiken bank as the import reads it. Every input gives a bank that holds
// together (see CheckBank) of single-choice tasks only; reading writes
// nothing; the tasks read, written as Aiken and read again, give the same
// text again.

#include "BankFuzzChecks.h"
#include "banks/Aiken.h"

using namespace quilmo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string folder = fuzz::ScratchFolder("aiken");
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Expected<BankImport> bank = Error{""};
    {
        fuzz::WriteGuard guard(folder + "nothing/");
        bank = ReadAiken(bytes);
    }
    fuzz::Check(bank.has_value(), "an Aiken text was refused", bank ? "" : bank.error().Message);
    fuzz::CheckBank(*bank);
    for (const TTask& t : bank->Tasks)
        fuzz::Check(t.TaskType == SingleChoice && t.Prompt.empty() && t.ImageFile.empty(), "an Aiken task that is more than one choice");
    const BankWriteResult first = WriteAiken(bank->Tasks);
    const auto again = ReadAiken(first.Bytes);
    fuzz::Check(again->Tasks.size() == first.Written, "a written task did not read back", first.Bytes);
    fuzz::Check(WriteAiken(again->Tasks).Bytes == first.Bytes, "writing what was read back gives other text", first.Bytes);
    return 0;
}

// A GIFT bank as the import reads it. Every input gives a bank that holds
// together (see CheckBank); reading writes nothing; the tasks read, written
// as GIFT and read again, all come back and then write the same text again.

#include "BankFuzzChecks.h"
#include "banks/Gift.h"

using namespace quilmo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string folder = fuzz::ScratchFolder("gift");
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Expected<BankImport> bank = Error{""};
    {
        fuzz::WriteGuard guard(folder + "nothing/");
        bank = ReadGift(bytes);
    }
    fuzz::Check(bank.has_value(), "a GIFT text was refused", bank ? "" : bank.error().Message);
    fuzz::CheckBank(*bank);
    fuzz::Check(bank->Pictures.empty(), "GIFT gave a picture");
    const std::vector<TTask> tasks = bank->Tasks;
    const BankWriteResult first = WriteGift(tasks);
    fuzz::Check(first.Written == tasks.size() && first.Skipped.empty(), "a task read could not be written");
    const auto again = ReadGift(first.Bytes);
    fuzz::Check(again->Skipped.empty() && again->Tasks.size() == tasks.size(), "a written task did not read back",
                first.Bytes);
    fuzz::Check(WriteGift(again->Tasks).Bytes == first.Bytes, "writing what was read back gives other text", first.Bytes);
    return 0;
}

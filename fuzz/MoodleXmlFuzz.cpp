// A Moodle XML bank as the import reads it. Every input is refused with a
// message or gives a bank that holds together (see CheckBank); reading
// writes nothing anywhere; the tasks read, written as Moodle XML and read
// again, all come back and then write the same bytes again.

#include "BankFuzzChecks.h"
#include "banks/MoodleXml.h"

using namespace quilmo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string folder = fuzz::ScratchFolder("moodle");
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Expected<BankImport> bank = Error{""};
    {
        fuzz::WriteGuard guard(folder + "nothing/");
        bank = ReadMoodleXml(bytes);
    }
    if (!bank) {
        fuzz::Check(!bank.error().Message.empty(), "a refusal without a message");
        return 0;
    }
    fuzz::CheckBank(*bank);
    const std::vector<TTask> tasks = fuzz::WithoutPictures(bank->Tasks);
    const BankWriteResult first = WriteMoodleXml(tasks);
    fuzz::Check(first.Written == tasks.size() && first.Skipped.empty(), "a task read could not be written");
    const auto again = ReadMoodleXml(first.Bytes);
    fuzz::Check(again.has_value(), "what was written does not read", again ? "" : again.error().Message);
    fuzz::Check(again->Skipped.empty() && again->Tasks.size() == tasks.size(), "a written task did not read back");
    fuzz::Check(WriteMoodleXml(again->Tasks).Bytes == first.Bytes, "writing what was read back gives other bytes");
    return 0;
}

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "model/Checksum.h"
#include "model/Cp1251.h"
#include "model/Crypt.h"
#include "model/Regional.h"
#include "model/TextUtil.h"
#include "support/TempFolder.h"

// The journal's workers decode and parse messages on threads of their own, all
// at once. The helpers they share must give every thread what one thread alone
// gets: no table built lazily without a lock, no shared scratch buffer. Run
// under ThreadSanitizer by make test-tsan.

namespace quilmo {
namespace {

struct Outcome {
    std::string Decoded;
    std::string Encoded;
    std::vector<std::string> Lines;
    std::optional<TDateTime> Date;
    std::string Formatted;
    bool SameIgnoringCase = false;
    uint32_t Crc = 0;
    uint32_t FileCrc = 0;
    std::string Deciphered;

    bool operator==(const Outcome&) const = default;
};

Outcome Work(const std::string& cp1251, const std::string& file)
{
    Outcome o;
    o.Decoded = Cp1251ToUtf8(cp1251);
    o.Encoded = Utf8ToCp1251(o.Decoded + " Ёжик №5");
    o.Lines = SplitLines(o.Decoded);
    o.Date = ParseDateTime(" 5.3.2024 7:08:09");
    if (o.Date)
        o.Formatted = FormatDateTime("dd.mm.yyyy hh:nn:ss", *o.Date);
    o.SameIgnoringCase = EqualsIgnoreCase("ПРИВЕТ, Мир", "привет, мИР");
    o.Crc = ChecksumBytes(cp1251);
    o.FileCrc = FileChecksum(file);
    o.Deciphered = TCrypt::Decipher(TCrypt::Encipher(cp1251, kLegacyKey), kLegacyKey);
    return o;
}

TEST(ConcurrentHelpersTest, EveryThreadGetsWhatOneThreadGets)
{
    testing::TempFolder folder;
    std::string bytes;
    for (int i = 0; i < 4096; ++i)
        bytes += static_cast<char>(i % 256 == 0x1A ? ' ' : i % 256);
    bytes += "\r\nRESULT\r\n";
    const std::string file = folder.Write("message.txt", bytes + bytes);

    const Outcome alone = Work(bytes, file);
    ASSERT_TRUE(alone.Date);
    EXPECT_EQ(alone.Formatted, "05.03.2024 07:08:09");
    EXPECT_TRUE(alone.SameIgnoringCase);
    EXPECT_EQ(alone.Deciphered, bytes);

    constexpr int kThreads = 8;
    constexpr int kRounds = 20;
    std::vector<int> mismatches(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            for (int r = 0; r < kRounds; ++r)
                if (!(Work(bytes, file) == alone))
                    ++mismatches[size_t(t)];
        });
    for (auto& thread : threads)
        thread.join();
    for (int t = 0; t < kThreads; ++t)
        EXPECT_EQ(mismatches[size_t(t)], 0) << "thread " << t;
}

}  // namespace
}  // namespace quilmo

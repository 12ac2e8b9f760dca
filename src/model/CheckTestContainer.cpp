#include "model/CheckTestContainer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>

#include "model/Cp1251.h"
#include "model/Crypt.h"
#include "model/FileIO.h"
#include "model/PicturePath.h"
#include "model/TextUtil.h"

namespace quilmo {

namespace {

constexpr size_t kChunk = size_t(256) << 10;
// The deciphered text may be as large as a text test file may be.
constexpr uint64_t kMaxTextBytes = uint64_t(256) << 20;
// The most deflate can compress: one byte of stream for 1032 bytes of data.
constexpr uint64_t kMaxDeflateRatio = 1032;

// Closes a descriptor when it goes out of scope.
class FileHandle {
public:
    explicit FileHandle(int fd = -1) : fd_(fd) {}
    ~FileHandle() { Reset(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    void Reset(int fd = -1)
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }
    int Release()
    {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

// Reads up to n bytes; fewer only at the end of the file. -1 on error.
ssize_t ReadFully(int fd, void* dst, size_t n)
{
    auto* p = static_cast<char*>(dst);
    size_t have = 0;
    while (have < n) {
        const ssize_t got = ::read(fd, p + have, n - have);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (got == 0)
            break;
        have += static_cast<size_t>(got);
    }
    return static_cast<ssize_t>(have);
}

void PutInt32(std::string& out, int32_t value)
{
    const auto v = static_cast<uint32_t>(value);
    const char bytes[4] = {char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF),
                           char((v >> 24) & 0xFF)};
    out.append(bytes, 4);
}

int32_t GetInt32(const unsigned char* b)
{
    return static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 |
                                uint32_t(b[3]) << 24);
}

// The body of a container, inflated on demand from the file. Every read is
// checked against the budget first, so no claimed length is ever allocated
// or waited for beyond it.
class InflateSource {
public:
    InflateSource(int fd, uint64_t budget) : fd_(fd), budget_(budget), in_(new unsigned char[kChunk])
    {
        ok_ = inflateInit(&zs_) == Z_OK;
    }
    ~InflateSource()
    {
        if (ok_)
            inflateEnd(&zs_);
    }
    InflateSource(const InflateSource&) = delete;
    InflateSource& operator=(const InflateSource&) = delete;

    // Bytes the body may still hold.
    uint64_t Remaining() const { return budget_ - produced_; }

    // Exactly n bytes, or false: a truncated or corrupt stream, or past the budget.
    bool Read(void* dst, size_t n)
    {
        if (!ok_ || n > Remaining())
            return false;
        auto* out = static_cast<unsigned char*>(dst);
        while (n > 0) {
            if (ended_)
                return false;
            const uInt step = static_cast<uInt>(std::min<size_t>(n, UINT_MAX));
            zs_.next_out = out;
            zs_.avail_out = step;
            if (!Inflate())
                return false;
            const size_t got = step - zs_.avail_out;
            out += got;
            n -= got;
            produced_ += got;
        }
        return true;
    }

    bool ReadInt32(int32_t& value)
    {
        unsigned char b[4];
        if (!Read(b, 4))
            return false;
        value = GetInt32(b);
        return true;
    }

    // Reads to the end of the stream, so that a damaged tail or checksum is
    // noticed; whatever follows the last entry counts against the budget.
    bool Finish()
    {
        unsigned char scratch[16384];
        while (!ended_) {
            const size_t step = std::min<uint64_t>(sizeof scratch, Remaining());
            if (step == 0) {
                // Only the end of the stream may still come.
                zs_.next_out = scratch;
                zs_.avail_out = 1;
                if (!Inflate() || zs_.avail_out == 0)
                    return false;
                continue;
            }
            zs_.next_out = scratch;
            zs_.avail_out = static_cast<uInt>(step);
            if (!Inflate())
                return false;
            produced_ += step - zs_.avail_out;
        }
        return true;
    }

private:
    // One inflate call that makes progress, reading input as needed.
    bool Inflate()
    {
        for (;;) {
            if (zs_.avail_in == 0 && !eof_) {
                const ssize_t got = ReadFully(fd_, in_.get(), kChunk);
                if (got < 0)
                    return false;
                if (got == 0)
                    eof_ = true;
                zs_.next_in = in_.get();
                zs_.avail_in = static_cast<uInt>(got);
            }
            const uInt before = zs_.avail_out;
            const int ret = inflate(&zs_, Z_NO_FLUSH);
            if (ret == Z_STREAM_END) {
                ended_ = true;
                return true;
            }
            if (ret == Z_OK) {
                if (zs_.avail_out != before || zs_.avail_out == 0)
                    return true;
                continue;  // input consumed without output yet
            }
            if (ret == Z_BUF_ERROR && zs_.avail_in == 0 && !eof_)
                continue;
            return false;  // corrupt data, or the file ended inside the stream
        }
    }

    int fd_;
    uint64_t budget_;
    uint64_t produced_ = 0;
    std::unique_ptr<unsigned char[]> in_;
    z_stream zs_{};
    bool ok_ = false;
    bool eof_ = false;
    bool ended_ = false;
};

// Compresses into a growing string at level 9.
class DeflateSink {
public:
    explicit DeflateSink(std::string& out) : out_(out) { ok_ = deflateInit(&zs_, 9) == Z_OK; }
    ~DeflateSink()
    {
        if (ok_)
            deflateEnd(&zs_);
    }
    DeflateSink(const DeflateSink&) = delete;
    DeflateSink& operator=(const DeflateSink&) = delete;

    bool Write(const void* data, size_t n)
    {
        auto* p = static_cast<const unsigned char*>(data);
        while (ok_ && n > 0) {
            const uInt step = static_cast<uInt>(std::min<size_t>(n, UINT_MAX));
            zs_.next_in = const_cast<unsigned char*>(p);
            zs_.avail_in = step;
            if (!Run(Z_NO_FLUSH))
                return false;
            p += step;
            n -= step;
        }
        return ok_;
    }
    bool Write(std::string_view s) { return Write(s.data(), s.size()); }
    bool WriteInt32(int32_t v)
    {
        std::string b;
        PutInt32(b, v);
        return Write(b);
    }
    bool Finish()
    {
        zs_.next_in = nullptr;
        zs_.avail_in = 0;
        return ok_ && Run(Z_FINISH);
    }

private:
    bool Run(int flush)
    {
        unsigned char buf[65536];
        for (;;) {
            zs_.next_out = buf;
            zs_.avail_out = sizeof buf;
            const int ret = deflate(&zs_, flush);
            if (ret == Z_STREAM_ERROR)
                return ok_ = false;
            out_.append(reinterpret_cast<const char*>(buf), sizeof buf - zs_.avail_out);
            if (flush == Z_FINISH ? ret == Z_STREAM_END : zs_.avail_in == 0 && zs_.avail_out != 0)
                return true;
        }
    }

    std::string& out_;
    z_stream zs_{};
    bool ok_ = false;
};

// Copies size bytes of the body into a new file in folder.
bool UnpackFile(InflateSource& body, const std::string& path, uint64_t size)
{
    // Never through a link that might point outside the folder.
    FileHandle fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!fd.Valid())
        return false;
    std::unique_ptr<char[]> buf(new char[std::min<uint64_t>(kChunk, std::max<uint64_t>(size, 1))]);
    while (size > 0) {
        const size_t step = static_cast<size_t>(std::min<uint64_t>(size, kChunk));
        if (!body.Read(buf.get(), step) || !WriteAll(fd.Get(), buf.get(), step))
            return false;
        size -= step;
    }
    return ::close(fd.Release()) == 0;
}

Error SystemError(int err) { return Error{SystemErrorText(err)}; }

}  // namespace

std::array<uint8_t, 16> EncodeModeBlock(const TModeConfig& mode)
{
    std::string ints;
    PutInt32(ints, mode.TimeLimitTest);
    PutInt32(ints, mode.TimeLimitTask);
    std::array<uint8_t, 16> block{mode.OrderTaskNormal, mode.OrderVariantNormal, mode.ModeEducation,
                                  mode.SaveResult,      mode.SendResult,         mode.SaveConfig,
                                  mode.ModeTimeLimit,   mode.Reserved};
    std::memcpy(block.data() + 8, ints.data(), 8);
    return block;
}

TModeConfig DecodeModeBlock(const std::array<uint8_t, 16>& b)
{
    TModeConfig mode;
    mode.OrderTaskNormal = b[0];
    mode.OrderVariantNormal = b[1];
    mode.ModeEducation = b[2];
    mode.SaveResult = b[3];
    mode.SendResult = b[4];
    mode.SaveConfig = b[5];
    mode.ModeTimeLimit = b[6];
    mode.Reserved = b[7];
    mode.TimeLimitTest = GetInt32(b.data() + 8);
    mode.TimeLimitTask = GetInt32(b.data() + 12);
    return mode;
}

bool IsSafeEmbeddedName(std::string_view name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    return name.find_first_of(std::string_view("/\\:\0", 4)) == std::string_view::npos;
}

CheckTestReadResult ReadCheckTest(const std::string& path,
                                  const std::function<Expected<std::string>()>& makeFolder,
                                  const CheckTestLimits& limits)
{
    CheckTestReadResult result;
    FileHandle fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.Valid())
        return result;

    // A file too short to hold the signature is no check test either.
    char signature[kCheckTestSignature.size()];
    if (ReadFully(fd.Get(), signature, sizeof signature) != ssize_t(sizeof signature) ||
        std::string_view(signature, sizeof signature) != kCheckTestSignature) {
        result.Status = CheckTestStatus::WrongSignature;
        return result;
    }

    // zlib's deflate packs at most 1032 bytes into one, so a body longer than
    // that allows for the bytes there are is a lie told by its lengths.
    struct stat st {};
    uint64_t budget = limits.MaxBodyBytes;
    if (::fstat(fd.Get(), &st) == 0 && st.st_size >= 0)
        budget = std::min<uint64_t>(budget, kMaxDeflateRatio * uint64_t(st.st_size) + 4096);
    InflateSource body(fd.Get(), budget);
    std::array<uint8_t, 16> block{};
    if (!body.Read(block.data(), block.size()))
        return result;
    result.Mode = DecodeModeBlock(block);

    int32_t length = 0;
    if (!body.Read(&result.Locked, 1) || !body.ReadInt32(length) || length < 0 ||
        uint64_t(length) > body.Remaining() || uint64_t(length) / 3 > kMaxTextBytes)
        return result;
    // Deciphered piece by piece as the digits arrive, so the digits are never
    // held whole. The text gets its room at once rather than being copied as
    // it grows; the length was checked against what the stream can hold.
    PieceDecipher text(kCheckTestKey, size_t(length) / 3);
    std::string digits(std::min<size_t>(size_t(length), kChunk), '\0');
    for (size_t have = 0; have < size_t(length);) {
        const size_t step = std::min<size_t>(size_t(length) - have, digits.size());
        if (!body.Read(digits.data(), step))
            return result;
        text.Put(std::string_view(digits.data(), step));
        have += step;
    }
    result.Text = text.Finish();

    int32_t count = 0;
    // Each entry needs at least its two lengths.
    if (!body.ReadInt32(count) || count < 0 || uint32_t(count) > limits.MaxFiles ||
        uint64_t(count) * 8 > body.Remaining())
        return result;

    auto folder = makeFolder();
    if (!folder)
        return result;
    result.Folder = *folder;

    for (int32_t i = 0; i < count; ++i) {
        int32_t nameLength = 0;
        if (!body.ReadInt32(nameLength) || nameLength < 0 ||
            uint32_t(nameLength) > limits.MaxNameBytes || uint64_t(nameLength) > body.Remaining())
            return result;
        std::string name(size_t(nameLength), '\0');
        if (!body.Read(name.data(), name.size()) || !IsSafeEmbeddedName(name))
            return result;
        int32_t size = 0;
        if (!body.ReadInt32(size) || size < 0 || uint64_t(size) > body.Remaining())
            return result;
        const std::string bareName = Cp1251ToUtf8(name);
        if (!UnpackFile(body, result.Folder + bareName, uint64_t(size)))
            return result;
        result.Files.push_back(bareName);
    }
    if (!body.Finish())
        return result;
    result.Status = CheckTestStatus::Read;
    return result;
}

Expected<std::string> BuildCheckTest(const TModeConfig& mode, uint8_t locked,
                                     const std::vector<std::string>& lines,
                                     const std::vector<SavedPicture>& pictures)
{
    const Error failed{kSaveCheckTestError};
    const std::string enciphered =
        TCrypt::Encipher(Utf8ToCp1251(JoinLinesCrLf(lines)), kCheckTestKey);
    if (enciphered.size() > size_t(INT32_MAX) || pictures.size() > size_t(INT32_MAX))
        return failed;

    std::string out(kCheckTestSignature);
    DeflateSink body(out);
    const auto block = EncodeModeBlock(mode);
    if (!body.Write(block.data(), block.size()) || !body.Write(&locked, 1) ||
        !body.WriteInt32(int32_t(enciphered.size())) || !body.Write(enciphered) ||
        !body.WriteInt32(int32_t(pictures.size())))
        return failed;

    std::unique_ptr<char[]> buf(new char[kChunk]);
    for (const SavedPicture& picture : pictures) {
        FileHandle fd(::open(picture.Path.c_str(), O_RDONLY | O_CLOEXEC));
        struct stat st {};
        if (!fd.Valid() || ::fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode) ||
            uint64_t(st.st_size) > uint64_t(INT32_MAX))
            return failed;
        const std::string name = Utf8ToCp1251(picture.Name);
        if (name.size() > size_t(INT32_MAX))
            return failed;
        if (!body.WriteInt32(int32_t(name.size())) || !body.Write(name) ||
            !body.WriteInt32(int32_t(st.st_size)))
            return failed;
        // Exactly the size announced: a file that shrinks meanwhile is an error.
        for (uint64_t left = uint64_t(st.st_size); left > 0;) {
            const size_t step = static_cast<size_t>(std::min<uint64_t>(left, kChunk));
            if (ReadFully(fd.Get(), buf.get(), step) != ssize_t(step) || !body.Write(buf.get(), step))
                return failed;
            left -= step;
        }
    }
    if (!body.Finish())
        return failed;
    return out;
}

Expected<std::string> MakeCheckTestFolder(const std::string& tempBase, const std::string& testDir,
                                          const std::string& guid)
{
    std::string base = tempBase.empty() ? testDir : tempBase;
    if (!base.empty() && base.back() != '/')
        base += '/';
    const std::string folder = base + guid;
    if (::mkdir(folder.c_str(), 0700) != 0) {
        const int err = errno;
        struct stat st {};
        if (err != EEXIST || ::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            return SystemError(err);
    }
    return folder + '/';
}

}  // namespace quilmo

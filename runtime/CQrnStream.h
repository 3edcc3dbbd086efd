// The binary stream objects save to and load from. Its error state is 0 while good, -3 after a short
// read (or unreadable data), -4 after a failed write; once it is not 0, every further read and write
// does nothing. CQrnMemoryStream keeps its bytes in memory and can be given a size limit, past which
// writes fail. A stream is used by one thread at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CQrnStream {
public:
    static constexpr int32_t kGood = 0;
    static constexpr int32_t kReadError = -3;
    static constexpr int32_t kWriteError = -4;

    virtual ~CQrnStream() = default;

    int32_t GetError() const noexcept { return error_; }
    void SetError(int32_t error) noexcept { if (error_ == kGood) error_ = error; }
    bool IsGood() const noexcept { return error_ == kGood; }

    // Reads exactly count bytes or sets the read error and returns false.
    bool Read(void* into, size_t count);
    // Writes count bytes or sets the write error and returns false.
    bool Write(const void* from, size_t count);

    bool ReadInt32(int32_t& value);
    bool WriteInt32(int32_t value);

protected:
    // Transfer the bytes; a short result is an error.
    virtual size_t ReadSome(void* into, size_t count) = 0;
    virtual bool WriteAll(const void* from, size_t count) = 0;

private:
    int32_t error_ = kGood;
};

class CQrnMemoryStream final : public CQrnStream {
public:
    static constexpr size_t kNoLimit = SIZE_MAX;

    explicit CQrnMemoryStream(size_t writeLimit = kNoLimit) : writeLimit_(writeLimit) {}
    explicit CQrnMemoryStream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

    const std::vector<uint8_t>& Bytes() const noexcept { return bytes_; }
    size_t ReadPosition() const noexcept { return readPos_; }
    void Rewind() noexcept { readPos_ = 0; }

protected:
    size_t ReadSome(void* into, size_t count) override;
    bool WriteAll(const void* from, size_t count) override;

private:
    std::vector<uint8_t> bytes_;
    size_t readPos_ = 0;
    size_t writeLimit_ = kNoLimit;
};

#pragma once
// The resources one job may use — a decode, the picture commands that follow it and
// the encode — whatever its input claims. The limits are one small struct with their
// defaults named here; decoders and transforms check them before they allocate, and
// every refusal names the limit it reached.
//
// A job is a scope (LbJob): while one is open on a thread, every picture block,
// selection or alpha plane, scratch row and library working buffer made on that
// thread is counted against its memory limit, and released to that job when freed
// (LbCharge), whenever and inside whichever job that happens. Outside a job each
// allocation is checked on its own against the same limits.
#include <cstdint>
#include <string>

// Bytes one job may hold at once: pictures, their copies, scratch rows and the
// working memory of the compression libraries.
inline constexpr uint64_t kLbMemoryLimit = uint64_t(1) << 30;
// Pixels in one picture (width x height). A 12000 x 9000 phone photo has 1.08e8.
inline constexpr uint64_t kLbPixelLimit = uint64_t(1) << 28;
// Pixels the frames of one animated picture may draw together before the frame
// asked for is reached (a frame is drawn even when its data ends early).
inline constexpr uint64_t kLbDrawnPixelLimit = uint64_t(1) << 29;
// Frames of one animated picture.
inline constexpr uint32_t kLbFrameLimit = 8192;
// Scans of one progressive JPEG (encoders write about 10).
inline constexpr uint32_t kLbScanLimit = 100;
// Samples all scans of one progressive JPEG may decode together: each scan walks its
// components whole however little data it has. A 12000 x 9000 progressive photo
// needs under 1.5e9.
inline constexpr uint64_t kLbScanSampleLimit = uint64_t(1) << 31;
// Bytes of one ancillary chunk or marker a decoder keeps (text, profiles).
inline constexpr uint32_t kLbChunkLimit = 8u << 20;

struct LbLimits {
    uint64_t memory = kLbMemoryLimit;
    uint64_t pixels = kLbPixelLimit;
    uint64_t drawnPixels = kLbDrawnPixelLimit;
    uint32_t frames = kLbFrameLimit;
    uint32_t scans = kLbScanLimit;
    uint64_t scanSamples = kLbScanSampleLimit;
    uint32_t chunkBytes = kLbChunkLimit;
};

// The limits in force on this thread: the open job's, else the process defaults.
const LbLimits& LbCurrentLimits();
// Changes the process defaults (tests and fuzz targets lower them).
void LbSetDefaultLimits(const LbLimits& limits);

// Counts bytes against the open job's memory limit. Take() fails, counting nothing,
// when the bytes do not fit (outside a job: when they alone exceed the limit).
// Give() returns bytes to the open job; it is for scopes that take and give in the
// same job (blocks that may outlive their job hold an LbCharge). Giving back more
// than the job holds is an accounting mistake: debug builds stop on it, release
// builds count down to zero.
bool LbBudgetTake(uint64_t bytes);
void LbBudgetGive(uint64_t bytes);
// Bytes still free in the open job (the whole limit outside one).
uint64_t LbBudgetLeft();

// The texts of the refusals, each naming the limit.
std::string LbMemoryLimitError(uint64_t wanted);
std::string LbPixelLimitError(uint64_t width, uint64_t height);
std::string LbCountLimitError(const char* what, uint64_t limit);

// The refusal of a picture of width x height pixels that needs `bytes`: over the pixel
// limit, else when fits() says the bytes do not fit the memory (fits() is asked only
// within the pixel limit, so it may take them). Each text follows its prefix; empty
// when the picture is accepted.
template <class Fits>
std::string LbPictureRefusal(uint64_t width, uint64_t height, uint64_t bytes, Fits&& fits, const char* pixelPrefix,
                             const char* memoryPrefix) {
    if (width * height > LbCurrentLimits().pixels) return pixelPrefix + LbPixelLimitError(width, height);
    if (!fits()) return memoryPrefix + LbMemoryLimitError(bytes);
    return {};
}

// One job: opened for the lifetime of the object, restoring the previous on close.
class LbJob {
public:
    explicit LbJob(const LbLimits& limits = LbCurrentLimits());
    ~LbJob();
    LbJob(const LbJob&) = delete;
    LbJob& operator=(const LbJob&) = delete;

private:
    friend class LbCharge;
    friend bool LbBudgetTake(uint64_t);
    friend void LbBudgetGive(uint64_t);
    friend uint64_t LbBudgetLeft();
    friend const LbLimits& LbCurrentLimits();
    void Release(uint64_t bytes);
    LbLimits m_limits;
    uint64_t m_used = 0;
    LbJob* m_previous = nullptr;
    uint64_t m_serial;  // tells this job from any other, also one at the same address later
};

// Bytes counted against the job that was open when they were taken, and given back
// to that job alone: a block made before a job opened, or that outlives its job,
// gives nothing to the job it happens to be freed in. Move-only; gives on
// destruction.
class LbCharge {
public:
    LbCharge() = default;
    LbCharge(LbCharge&& other) noexcept;
    LbCharge& operator=(LbCharge&& other) noexcept;
    LbCharge(const LbCharge&) = delete;
    LbCharge& operator=(const LbCharge&) = delete;
    ~LbCharge() { Give(); }

    // Gives back what it holds, then counts the bytes against the open job; false,
    // holding nothing, when they do not fit (as LbBudgetTake).
    bool Take(uint64_t bytes);
    // Gives the bytes back to their job if it is still open on this thread.
    void Give();
    uint64_t bytes() const { return m_bytes; }

private:
    uint64_t m_job = 0;  // serial of the job charged, 0 for none
    uint64_t m_bytes = 0;
};

// Bytes held for one scope (a scratch row, a decoder's table): taken on
// construction when they fit, given back on destruction.
class LbBudgetHold {
public:
    explicit LbBudgetHold(uint64_t bytes) : m_ok(m_charge.Take(bytes)) {}
    LbBudgetHold(const LbBudgetHold&) = delete;
    LbBudgetHold& operator=(const LbBudgetHold&) = delete;
    bool ok() const { return m_ok; }

private:
    LbCharge m_charge;
    bool m_ok;
};

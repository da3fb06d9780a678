#include "image/LbBudget.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <utility>

namespace {

LbLimits g_defaults;
thread_local LbJob* t_job = nullptr;
std::atomic<uint64_t> g_lastSerial{0};

}  // namespace

const LbLimits& LbCurrentLimits() { return t_job ? t_job->m_limits : g_defaults; }

void LbSetDefaultLimits(const LbLimits& limits) { g_defaults = limits; }

bool LbBudgetTake(uint64_t bytes) {
    if (bytes > LbBudgetLeft()) return false;
    if (t_job != nullptr) t_job->m_used += bytes;
    return true;
}

void LbBudgetGive(uint64_t bytes) {
    if (t_job != nullptr) t_job->Release(bytes);
}

void LbJob::Release(uint64_t bytes) {
    assert(bytes <= m_used && "more bytes given back to the job than it took");
    m_used -= std::min(bytes, m_used);
}

LbCharge::LbCharge(LbCharge&& other) noexcept
    : m_job(std::exchange(other.m_job, 0)), m_bytes(std::exchange(other.m_bytes, 0)) {}

LbCharge& LbCharge::operator=(LbCharge&& other) noexcept {
    if (this != &other) {
        Give();
        m_job = std::exchange(other.m_job, 0);
        m_bytes = std::exchange(other.m_bytes, 0);
    }
    return *this;
}

bool LbCharge::Take(uint64_t bytes) {
    Give();
    if (!LbBudgetTake(bytes)) return false;
    m_job = t_job != nullptr ? t_job->m_serial : 0;
    m_bytes = bytes;
    return true;
}

void LbCharge::Give() {
    // Only the job that counted the bytes takes them back; it may be an outer one
    // of the jobs open now, or already closed.
    for (LbJob* job = t_job; job != nullptr && m_job != 0; job = job->m_previous) {
        if (job->m_serial == m_job) {
            job->Release(m_bytes);
            break;
        }
    }
    m_job = 0;
    m_bytes = 0;
}

uint64_t LbBudgetLeft() {
    if (t_job == nullptr) return g_defaults.memory;
    return t_job->m_limits.memory - std::min(t_job->m_used, t_job->m_limits.memory);
}

std::string LbMemoryLimitError(uint64_t wanted) {
    return "needs " + std::to_string(wanted) + " bytes, beyond the memory limit of " +
           std::to_string(LbCurrentLimits().memory) + " bytes";
}

std::string LbPixelLimitError(uint64_t width, uint64_t height) {
    return "picture of " + std::to_string(width) + " x " + std::to_string(height) + " pixels is over the pixel limit of " +
           std::to_string(LbCurrentLimits().pixels) + " pixels";
}

std::string LbCountLimitError(const char* what, uint64_t limit) {
    return std::string("more than the limit of ") + std::to_string(limit) + " " + what;
}

LbJob::LbJob(const LbLimits& limits) : m_limits(limits), m_previous(t_job), m_serial(++g_lastSerial) { t_job = this; }

LbJob::~LbJob() { t_job = m_previous; }

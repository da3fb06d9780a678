#include "image/LbBudget.h"

#include <algorithm>

namespace {

LbLimits g_defaults;
thread_local LbJob* t_job = nullptr;

}  // namespace

const LbLimits& LbCurrentLimits() { return t_job ? t_job->m_limits : g_defaults; }

void LbSetDefaultLimits(const LbLimits& limits) { g_defaults = limits; }

bool LbBudgetTake(uint64_t bytes) {
    if (bytes > LbBudgetLeft()) return false;
    if (t_job != nullptr) t_job->m_used += bytes;
    return true;
}

void LbBudgetGive(uint64_t bytes) {
    // Blocks made before the job opened may be freed inside it: never below zero.
    if (t_job != nullptr) t_job->m_used -= std::min(bytes, t_job->m_used);
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

LbJob::LbJob(const LbLimits& limits) : m_limits(limits), m_previous(t_job) { t_job = this; }

LbJob::~LbJob() { t_job = m_previous; }

// Work shared among threads: consecutive slices of the rows of a table, each
// handled by its own thread, with results that do not depend on timing.
#include <algorithm>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

#include "app/borq.hpp"

namespace borq {

std::int32_t core_count() {
    return static_cast<std::int32_t>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
}

std::int32_t slice_count(std::int32_t n, std::int32_t rows_per_slice) {
    return std::clamp<std::int32_t>(n / std::max<std::int32_t>(rows_per_slice, 1), 1, std::max(most_threads, 1));
}

void run_slices(std::int32_t first, std::int32_t last, std::int32_t slices,
                const std::function<void(std::int32_t slice, std::int32_t first, std::int32_t last)>& work) {
    const std::int64_t rows = static_cast<std::int64_t>(last) - first + 1;
    if (rows <= 0) return;
    const auto count = static_cast<std::int32_t>(std::clamp<std::int64_t>(slices, 1, rows));
    // Slice s holds rows [bound(s), bound(s + 1) - 1].
    const auto bound = [&](std::int32_t s) { return static_cast<std::int32_t>(first + rows * s / count); };
    std::vector<std::exception_ptr> failures(static_cast<std::size_t>(count));
    const auto run_one = [&](std::int32_t s) {
        try {
            work(s, bound(s), bound(s + 1) - 1);
        } catch (...) {
            failures[static_cast<std::size_t>(s)] = std::current_exception();
        }
    };
    std::vector<std::thread> threads;
    threads.reserve(static_cast<std::size_t>(count));
    std::vector<std::int32_t> on_caller{0};
    for (std::int32_t s = 1; s < count; ++s) {
        try {
            threads.emplace_back(run_one, s);
        } catch (const std::system_error&) {
            on_caller.push_back(s);
        }
    }
    for (const std::int32_t s : on_caller) run_one(s);
    for (std::thread& t : threads) t.join();
    for (const std::exception_ptr& failure : failures)
        if (failure) std::rethrow_exception(failure);
}

}  // namespace borq

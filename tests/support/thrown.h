#pragma once
// What an action's failure says: its number (0 when it throws none) or its
// description. Only failures of type E are caught.
#include <cstdint>
#include <string>

#include "util/failure.h"

namespace lorvane::test {

template <class E = util::Failure, class F>
std::int32_t FailureNumber(F action) {
    try {
        action();
    } catch (const E& f) {
        return f.Number();
    }
    return 0;
}

template <class E = util::Failure, class F>
std::string FailureText(F action) {
    try {
        action();
    } catch (const E& f) {
        return f.Description();
    }
    return "(no failure)";
}

}  // namespace lorvane::test

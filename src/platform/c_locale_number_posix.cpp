#include <cerrno>
#include <clocale>
#include <cstdlib>

#include "platform/c_locale_number.h"
#include "util/failure.h"

namespace lorvane::platform {

double StrtodC(const char* text, char** end) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    if (!cLocale) throw util::FailureFromErrno(ENOMEM, "the C locale");  // its only way to fail
    return strtod_l(text, end, cLocale);
}

}  // namespace lorvane::platform

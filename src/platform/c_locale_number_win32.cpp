#include <cerrno>
#include <clocale>
#include <cstdlib>

#include "platform/c_locale_number.h"
#include "util/failure.h"

namespace lorvane::platform {

double StrtodC(const char* text, char** end) {
    static const _locale_t cLocale = _create_locale(LC_ALL, "C");
    if (!cLocale) throw util::FailureFromErrno(ENOMEM, "the C locale");  // its only way to fail
    return _strtod_l(text, end, cLocale);
}

}  // namespace lorvane::platform

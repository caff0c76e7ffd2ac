#include <cerrno>
#include <clocale>
#include <cstdlib>

#include "failure.h"
#include "text_util.h"

namespace lorvane {

double StrtodC(const char* text, char** end) {
    static const _locale_t cLocale = _create_locale(LC_ALL, "C");
    if (!cLocale) throw FailureFromErrno(ENOMEM, "the C locale");  // its only way to fail
    return _strtod_l(text, end, cLocale);
}

}  // namespace lorvane

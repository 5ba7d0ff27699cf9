// The date-pattern formatter: any pattern with any day number, in two
// locales, gives a bounded text and never crashes.
#include "core/common/dateformat.h"
#include "core/common/daynumber.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < sizeof(double))
        return 0;
    double day;
    std::memcpy(&day, data, sizeof day);
    const QString pattern = QString::fromUtf8(reinterpret_cast<const char *>(data) + sizeof day,
                                              static_cast<qsizetype>(size - sizeof day));
    static const QLocale us(QLocale::English, QLocale::UnitedStates);
    static const QLocale de(QLocale::German, QLocale::Germany);
    for (const QLocale &locale : {us, de}) {
        const QString text = formatDateTime(pattern, day, locale);
        // Each pattern character yields at most a long date's worth of text.
        if (text.size() > (pattern.size() + 1) * 64)
            std::abort();
        formatFloat(QStringLiteral("0.00"), day, locale);
    }
    (void)DayNumber::toDateTime(day);
    return 0;
}

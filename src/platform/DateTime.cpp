#include "platform/DateTime.h"

#include <QDateTime>

TDateTime Now()
{
    const QDateTime now = QDateTime::currentDateTime();
    const qint64 days = QDate(1899, 12, 30).daysTo(now.date());
    const double fraction = now.time().msecsSinceStartOfDay() / 86400000.0;
    return days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
}

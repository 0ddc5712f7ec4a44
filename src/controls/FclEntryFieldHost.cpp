#include "controls/FclEntryFieldHost.h"

#include <QDate>

int IFclEntryFieldHost::ControllerEpoch() const
{
    return CenturyEpochYear();
}

IFclEntryFieldHost& NullEntryFieldHost()
{
    static IFclEntryFieldHost host;
    return host;
}

int CenturyEpochYear()
{
    return QDate::currentDate().year() / 100 * 100;
}

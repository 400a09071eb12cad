#pragma once

// The walk over every item a script's binding modules registered, for the
// tests of each library's modules.

#include "script/zqClasses.h"
#include "script/zqEvents.h"
#include "script/zqScript.h"

#include <QStringList>

// The names of registered members and global items that nothing serves.
inline QStringList unserved(const TzqScript &script)
{
    QStringList names;
    auto served = [](TzqCustomVariable *member) {
        if (auto *method = dynamic_cast<TzqMethodHelper *>(member))
            return bool(method->CallMethod) || bool(method->ArrayCallEvent);
        if (auto *property = dynamic_cast<TzqPropertyHelper *>(member))
            return property->PropInfo || property->GetProp;
        if (auto *event = dynamic_cast<TzqEventHelper *>(member))
            return !event->SetSlot || bool(event->Factory); // else a published event
        return true;
    };
    for (int i = 0; i < script.Count(); ++i) {
        TzqScriptItem *item = script.Items(i);
        if (auto *cls = dynamic_cast<TzqClassVariable *>(item)) {
            for (int k = 0; k < cls->MemberCount(); ++k) {
                if (!served(cls->Members(k)))
                    names << cls->Name + u'.' + cls->Members(k)->Name;
            }
        } else if (auto *variable = item->AsVariable(); variable && !served(variable)) {
            names << variable->Name;
        }
    }
    return names;
}

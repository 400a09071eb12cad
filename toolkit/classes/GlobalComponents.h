#pragma once

// The application's top-level components: its forms and data modules.
// References written as "Form1.Table1" start their lookup here.  A
// registered component leaves the list by itself when it is freed.

#include <QString>

class TComponent;

namespace GlobalComponents {

void Add(TComponent *component);
void Remove(TComponent *component);

int Count();
TComponent *At(int index);
// The registered component of that name (case-insensitive), or nullptr.
TComponent *Find(const QString &name);

} // namespace GlobalComponents

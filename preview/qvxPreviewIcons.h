#pragma once

// The preview's button images (the report library's image list) as icons
// for tool buttons, menus and tabs.

#include <QIcon>

// The image of that index; an empty icon for a negative index.
QIcon qvxPreviewButtonIcon(int index);

#pragma once

// The preview's button images as icons for tool buttons, menus and tabs:
// the buttons' own images are drawn as vector images, sharp at every
// screen scale; the others come from the report library's image list.

#include <QIcon>

// The image of that index; an empty icon for a negative index.
QIcon qvxPreviewButtonIcon(int index);

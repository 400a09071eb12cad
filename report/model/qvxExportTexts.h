#pragma once

// The texts of the export filters and their dialogs (Russian, code page
// 1251): an XML resource document as TqvxResources::LoadFromString reads it,
// loaded into the resource store at start after the built-in texts.

#include <QByteArray>

QByteArray qvxExportTexts();

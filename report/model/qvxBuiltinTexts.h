#pragma once

// The report library's built-in resource texts (Russian, code page 1251):
// an XML resource document as TqvxResources::LoadFromString reads it.

#include <QByteArray>

QByteArray qvxBuiltinTexts();

#pragma once

// The longest text that scripts and formatting build: 64 M characters, so
// that a program that doubles, pads or inserts into a text raises an error it
// can catch before it exhausts memory.

#include <QtGlobal>

constexpr qint64 MaxTextLength = 64 * 1024 * 1024;

// Raises EOutOfMemory ("Text too long") when length exceeds MaxTextLength.
void CheckTextLength(qint64 length);
